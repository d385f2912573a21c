#include "app/DesktopNotices.h"

#include "app/BVController.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/workspace/DesktopNotifier.h"
#include "recording/QKRecorder.h"

#include <QFileInfo>
#include <QMainWindow>
#include <QTimer>

#include <cmath>

namespace {
constexpr int32_t kTicksPerSecond = 60;
const QString kShow = QStringLiteral("show");
const QString kPlay = QStringLiteral("play");

// Why it ended, in words; empty for a stop the user asked for.
QString endedBecause(const QString& reason) {
    if (reason == QLatin1String("timer"))
        return BVLocalizedString("NoticeEndedByTimer");
    if (reason == QLatin1String("silence"))
        return BVLocalizedString("NoticeEndedBySilence");
    if (reason == QLatin1String("write error"))
        return BVLocalizedString("NoticeEndedByWriteError");
    if (reason == QLatin1String("device lost"))
        return BVLocalizedString("NoticeEndedByDeviceLost");
    return {};
}

bool isFailure(const QString& reason) {
    return reason == QLatin1String("write error") || reason == QLatin1String("device lost");
}
} // namespace

DesktopNotices::DesktopNotices(BVController& controller)
    : QObject(&controller), _controller(controller) {
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QKRecorderRecordingDidStop,
                       [this](const Notification& n) { recordingDidStop(n); });
    center.addObserver(this, QKRecorderCaptureProblem,
                       [this](const Notification& n) { captureProblem(n); });
    connect(&controller, &BVController::syncFinished, this, &DesktopNotices::syncFinished);
}

DesktopNotices::~DesktopNotices() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

DesktopNotifier& DesktopNotices::notifier() {
    if (!_notifier) {
        _notifier = new DesktopNotifier(this);
        connect(_notifier, &DesktopNotifier::actionInvoked, this, &DesktopNotices::actionInvoked);
    }
    return *_notifier;
}

bool DesktopNotices::windowIsActive() const {
    const QMainWindow* window = _controller.mainWindow;
    return window && window->isVisible() && window->isActiveWindow();
}

void DesktopNotices::recordingDidStop(const Notification& notification) {
    const QString reason = notification.userInfo.value(QStringLiteral("reason")).toString();
    const QKRecorder* recorder = _controller.recorder();
    if (endedBecause(reason).isEmpty() || !recorder || notification.object != recorder)
        return;
    // Sent once the stop has been handled, so that a failure's reason posted after it joins.
    _pending = Pending{recorder->tempFile(), reason, {}};
    QTimer::singleShot(0, this, &DesktopNotices::sendRecordingNotice);
}

void DesktopNotices::captureProblem(const Notification& notification) {
    if (_pending && notification.userInfo.value(QStringLiteral("stopped")).toBool())
        _pending->problem = notification.userInfo.value(QStringLiteral("message")).toString();
}

void DesktopNotices::sendRecordingNotice() {
    if (!_pending)
        return;
    const Pending pending = *_pending;
    _pending.reset();
    if (windowIsActive()) {
        if (!isBusy())
            emit settled();
        return;
    }
    const float seconds = _controller.getMovieDuration(pending.path);
    const QString length = _controller.formatTimingString(
        int32_t(std::lround(std::max(0.0f, seconds) * kTicksPerSecond)));
    DesktopNotifier::Message message;
    message.critical = isFailure(pending.reason);
    message.summary = message.critical ? BVLocalizedString("NoticeRecordingFailed")
                                       : BVLocalizedString("NoticeRecordingFinished");
    message.body =
        BVLocalizedString("NoticeRecordingBody")
            .arg(QFileInfo(pending.path).fileName(), length,
                 pending.problem.isEmpty() ? endedBecause(pending.reason) : pending.problem);
    message.actions = {{kShow, BVLocalizedString("NoticeShow")},
                       {kPlay, BVLocalizedString("NoticePlay")}};
    bvLog(
        QStringLiteral("notice: %1 (%2)").arg(QFileInfo(pending.path).fileName(), pending.reason));
    ++_sending;
    notifier().notify(message, [this, path = pending.path](uint id) {
        _lastId = id;
        _lastPath = path;
        sent();
    });
}

void DesktopNotices::syncFinished(const QString& problem) {
    if (windowIsActive())
        return;
    DesktopNotifier::Message message;
    message.critical = !problem.isEmpty();
    message.summary = problem.isEmpty() ? BVLocalizedString("NoticeSyncFinished")
                                        : BVLocalizedString("NoticeSyncFailed");
    message.body = problem;
    message.actions = {{kShow, BVLocalizedString("NoticeShow")}};
    bvLog(QStringLiteral("notice: sync ended%1").arg(problem.isEmpty() ? "" : " with a problem"));
    ++_sending;
    notifier().notify(message, [this](uint id) {
        _lastId = id;
        _lastPath.clear();
        sent();
    });
}

void DesktopNotices::sent() {
    --_sending;
    if (!isBusy())
        emit settled();
}

void DesktopNotices::actionInvoked(uint id, const QString& key) {
    if (id == 0 || id != _lastId)
        return; // another program's notice, or one of ours long replaced
    if (QMainWindow* window = _controller.mainWindow) {
        window->show();
        window->raise();
        window->activateWindow();
    }
    if (key == kPlay && !_lastPath.isEmpty())
        _controller.playRecording(_lastPath);
}
