#include "app/CloseWhileRecording.h"

#include "app/BVController.h"
#include "app/DesktopNotices.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/workspace/DesktopNotifier.h"
#include "recording/QKRecorder.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {
const QString kStopAction = QStringLiteral("stop");
const QString kShowAction = QStringLiteral("show");
} // namespace

CloseWhileRecording::CloseWhileRecording(BVController& controller, QMainWindow& window)
    : QObject(&window), _controller(controller), _window(window),
      _quit([] { QCoreApplication::quit(); }) {
    connect(&controller, &BVController::interfaceStateChanged, this,
            &CloseWhileRecording::followState);
    // A quit (the menu, the bus, a signal) closes the windows first: those closes are not the
    // user's, and must not stop it.
    qApp->installEventFilter(this);
}

bool CloseWhileRecording::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::Quit) {
        _closing = true;
        // Should the quit be refused after all, the next close is the user's again.
        QTimer::singleShot(0, this, [this] { _closing = false; });
    }
    return QObject::eventFilter(watched, event);
}

CloseWhileRecording::~CloseWhileRecording() {
    removeIndicator();
}

QMessageBox* CloseWhileRecording::question() const {
    return _question;
}

bool CloseWhileRecording::somethingRuns() const {
    const QKRecorder* recorder = _controller.recorder();
    return (recorder && recorder->isRecording()) || _controller.scheduledRecording() ||
           _controller.voiceActivation().enabled;
}

QString CloseWhileRecording::whatRuns() const {
    const QKRecorder* recorder = _controller.recorder();
    if (recorder && recorder->isRecording())
        return BVLocalizedString("BackgroundRecording")
            .arg(QFileInfo(recorder->tempFile()).fileName());
    if (_controller.voiceActivation().enabled)
        return BVLocalizedString("BackgroundListening");
    return BVLocalizedString("BackgroundScheduled");
}

bool CloseWhileRecording::windowMayClose() {
    if (_closing || !somethingRuns())
        return true;
    if (_question) {
        _question->raise();
        return false;
    }
    _question =
        new QMessageBox(QMessageBox::Question, BVLocalizedString("CloseWhileRecordingTitle"),
                        whatRuns(), QMessageBox::Cancel, &_window);
    _question->setInformativeText(BVLocalizedString("CloseWhileRecordingQuestion"));
    _question->setWindowModality(Qt::WindowModal);
    _question->setAttribute(Qt::WA_DeleteOnClose);
    _keep = _question->addButton(BVLocalizedString("KeepRecordingInBackground"),
                                 QMessageBox::AcceptRole);
    _stop = _question->addButton(BVLocalizedString("StopAndQuit"), QMessageBox::DestructiveRole);
    _keep->setAccessibleDescription(BVLocalizedString("KeepRecordingInBackgroundHelp"));
    _stop->setAccessibleDescription(BVLocalizedString("StopAndQuitHelp"));
    _question->setDefaultButton(_keep);
    connect(_question, &QMessageBox::buttonClicked, this, [this](QAbstractButton* button) {
        if (button == _keep)
            keepInBackground();
        else if (button == _stop)
            stopAndQuit();
    });
    _question->open();
    return false;
}

void CloseWhileRecording::keepInBackground() {
    if (!somethingRuns()) { // it ended while the question was open
        stopAndQuit();
        return;
    }
    bvLog(QStringLiteral("the window closes; recording goes on in the background"));
    _background = true;
    QApplication::setQuitOnLastWindowClosed(false);
    _closing = true;
    _window.close();
    _closing = false;
    showIndicator();
}

void CloseWhileRecording::stopAndQuit() {
    stopWhatRuns();
    _closing = true;
    _quit();
}

void CloseWhileRecording::stopWhatRuns() {
    if (QKRecorder* recorder = _controller.recorder(); recorder && recorder->isRecording())
        recorder->doStop();
    // A schedule stays kept: should its moment pass before Brevoir runs again, the user is
    // told then. Listening ends with the program; it is switched on again at the next launch.
}

void CloseWhileRecording::stopFromBackground() {
    bvLog(QStringLiteral("stopped from the background"));
    _controller.cancelSchedule();
    if (_controller.voiceActivation().enabled) {
        VoiceActivation::Settings off = _controller.voiceActivation();
        off.enabled = false;
        _controller.setVoiceActivation(off);
    }
    stopWhatRuns();
    followState();
}

void CloseWhileRecording::showWindowAgain() {
    _background = false;
    removeIndicator();
    QApplication::setQuitOnLastWindowClosed(true);
    _window.show();
    _window.raise();
    _window.activateWindow();
}

void CloseWhileRecording::followState() {
    if (!_background)
        return;
    if (!somethingRuns()) {
        // Nothing is left to keep: quit as closing the window would have, once the notice of
        // how it ended (put together after this stop is handled) has gone out.
        _background = false;
        removeIndicator();
        QTimer::singleShot(0, this, &CloseWhileRecording::quitOnceNoticesSettled);
        return;
    }
    showIndicator(); // what runs may have changed: a scheduled start began recording
}

void CloseWhileRecording::quitOnceNoticesSettled() {
    DesktopNotices* notices = _controller.notices();
    if (!notices || !notices->isBusy())
        return _quit();
    connect(
        notices, &DesktopNotices::settled, this, [this] { _quit(); }, Qt::SingleShotConnection);
}

void CloseWhileRecording::showIndicator() {
    const QString text = whatRuns();
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!_tray) {
            _tray = new QSystemTrayIcon(QIcon(QStringLiteral(":/images/record.png")), this);
            auto* menu = new QMenu(&_window);
            menu->addAction(BVLocalizedString("BackgroundStop"), this,
                            &CloseWhileRecording::stopFromBackground);
            menu->addAction(BVLocalizedString("NoticeShow"), this,
                            &CloseWhileRecording::showWindowAgain);
            _tray->setContextMenu(menu);
            connect(_tray, &QSystemTrayIcon::activated, this,
                    &CloseWhileRecording::showWindowAgain);
            _tray->show();
        }
        _tray->setToolTip(text);
        return;
    }
    if (_notifier && text == _shownText)
        return; // shown already: the state changed, not what runs
    _shownText = text;
    if (!_notifier) {
        _notifier = new DesktopNotifier(this);
        connect(_notifier, &DesktopNotifier::actionInvoked, this,
                [this](uint id, const QString& key) {
                    if (id == 0 || id != _noticeId)
                        return;
                    if (key == kStopAction)
                        stopFromBackground();
                    else
                        showWindowAgain();
                });
    }
    DesktopNotifier::Message message;
    message.summary = BVLocalizedString("CFBundleName");
    message.body = text;
    message.resident = true;
    message.replacesId = _noticeId;
    message.actions = {{kStopAction, BVLocalizedString("BackgroundStop")},
                       {kShowAction, BVLocalizedString("NoticeShow")}};
    _notifier->notify(message, [this](uint id) {
        if (id != 0)
            _noticeId = id;
    });
}

void CloseWhileRecording::removeIndicator() {
    delete _tray;
    _tray = nullptr;
    if (_notifier && _noticeId != 0)
        _notifier->close(_noticeId);
    _noticeId = 0;
    _shownText.clear();
}
