// Status display (elapsed time and level meter), the capture-problem message and the timer.
#include "app/BVController.h"

#include "platform/audio/LevelMeter.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Ticks.h"
#include "recording/LevelHistoryView.h"
#include "recording/QKRecorder.h"
#include "recording/RecordingSchedule.h"
#include "recording/RecordingStateText.h"
#include "recording/RecordingTermsFields.h"

#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>

#include <QHash>

#include <algorithm>
#include <functional>
#include <limits>

namespace {
constexpr int kMeterWidth = 98;
constexpr int kBandHeight = 10;
constexpr int32_t kTicksPerHour = 216000;
constexpr int32_t kTicksPerMinute = 3600;
constexpr int32_t kTicksPerSecond = 60;
constexpr int32_t kDisplayIntervalTicks = 1;

const QImage& bundleImage(const QString& name) {
    static QHash<QString, QImage> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, QImage(QStringLiteral(":/images/") + name));
    return *it;
}

// Copies the leftmost `width` pixels of the picture's bottom 10 rows, no wider than the
// picture or the band, to the left edge with their bottom at `bottom`.
void drawBand(QPainter& painter, const QImage& picture, int width, int bottom) {
    if (width <= 0)
        return;
    const int top = picture.height() - kBandHeight;
    const QRect source = QRect(0, top, std::min(width, kMeterWidth), kBandHeight) & picture.rect();
    if (source.isEmpty())
        return;
    painter.drawImage(QRect(0, bottom - source.height(), source.width(), source.height()), picture,
                      source);
}

// 98 x 20: the upper band shows the first channel in "right.png", the lower band the second
// channel in "left.png"; what no bar covers stays transparent.
// `threshold` >= 0 marks voice activation's threshold across both bands, in the text colour.
QImage levelMeterImage(int left, int right, int threshold) {
    QImage meter(kMeterWidth, 2 * kBandHeight, QImage::Format_ARGB32_Premultiplied);
    meter.fill(Qt::transparent);
    QPainter painter(&meter);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    drawBand(painter, bundleImage(QStringLiteral("right.png")), left, kBandHeight);
    drawBand(painter, bundleImage(QStringLiteral("left.png")), right, 2 * kBandHeight);
    if (threshold >= 0) {
        const int x = std::clamp(threshold, 0, kMeterWidth - 1);
        painter.fillRect(QRect(x, 0, 1, 2 * kBandHeight), QPalette().color(QPalette::WindowText));
    }
    return meter;
}

// The meter's picture for a pair of levels, kept in `cache` rather than drawn and converted on
// every status.
QPixmap levelMeterPixmap(QCache<quint64, QPixmap>& cache, int left, int right, int threshold) {
    const quint64 key = quint64(std::clamp(threshold + 1, 0, 0xffff)) << 32 |
                        quint64(std::clamp(left, 0, 0xffff)) << 16 |
                        quint64(std::clamp(right, 0, 0xffff));
    if (const QPixmap* kept = cache.object(key))
        return *kept;
    QPixmap picture = QPixmap::fromImage(levelMeterImage(left, right, threshold));
    cache.insert(key, new QPixmap(picture));
    return picture;
}

// The leading integer of a field, read like strtol: leading blanks, an optional sign, digits;
// 0 when the text does not start with a number. Saturates far beyond any usable length.
qint64 leadingInteger(const QString& text) {
    constexpr qint64 kCap = 1'000'000'000'000;
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i)
        value = std::min(kCap, value * 10 + (text.at(i).unicode() - u'0'));
    return negative ? -value : value;
}

QString fieldText(const QLineEdit* field) {
    return field ? field->text() : QString();
}

// Follows whether the window is on screen as it is shown, hidden, minimised or restored.
class WindowShownWatcher : public QObject {
public:
    WindowShownWatcher(QWidget* window, std::function<void()> changed)
        : QObject(window), _window(window), _changed(std::move(changed)) {
        _shown = window->isVisible() && !window->isMinimized();
        window->installEventFilter(this);
    }
    bool shown() const { return _shown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched == _window &&
            (type == QEvent::Show || type == QEvent::Hide || type == QEvent::WindowStateChange)) {
            // A minimised window may stay "visible"; its hide event says it is not seen.
            const bool visible = type == QEvent::Hide   ? false
                                 : type == QEvent::Show ? true
                                                        : _window->isVisible();
            _shown = visible && !_window->isMinimized();
            _changed();
        }
        return false;
    }

private:
    QWidget* _window;
    std::function<void()> _changed;
    bool _shown = false;
};

} // namespace

void BVController::handleRecordingStatusUpdate(const Notification& notification) {
    const int left = notification.userInfo.value(QStringLiteral("left")).toInt();
    const int right = notification.userInfo.value(QStringLiteral("right")).toInt();
    // Only a recording counts time: while the input is just monitored the clock stays at zero,
    // so that it never looks as if something were being kept.
    const bool onlyMonitoring = notification.object == _recorder.get() && _recorder &&
                                (_recorder->isPreviewing() || _recorder->isListening()) &&
                                !_recorder->isRecording();
    const int32_t time =
        onlyMonitoring ? 0 : notification.userInfo.value(QStringLiteral("time")).toInt();
    if (bvLogDebugWanted())
        bvLogDebug(QStringLiteral("Left:%1 Right:%2").arg(left).arg(right));
    // Without a window (--headless) there is nothing to draw.
    if (_statusDisplayHidden)
        return;
    // Every block, also those of a status that is not drawn: the history has no gaps.
    if (_levelHistory && _recorder && notification.object == _recorder.get()) {
        const std::vector<LevelBlock>& blocks = _recorder->levelBlocks();
        _levelHistory->addBlocks(blocks.data(), blocks.size());
    }

    // The poll comes at the rate the display draws, and each status carries the peak since
    // the one before, so every status is drawn; only a burst within one tick is not.
    const int32_t now = TickCount();
    const int32_t sinceShown = static_cast<int32_t>(static_cast<uint32_t>(now) -
                                                    static_cast<uint32_t>(_statusDisplay.shownAt));
    if (_statusDisplay.shown && sinceShown >= 0 && sinceShown < kDisplayIntervalTicks)
        return;
    _statusDisplay.shown = true;
    _statusDisplay.shownAt = now;

    styleStatusText();
    const QString text = formatTimingString(time);
    if (_statusText)
        _statusText->setText(text);
    if (_displayView && (left != _statusDisplay.left || right != _statusDisplay.right ||
                         _displayView->pixmap().isNull())) {
        _displayView->setPixmap(
            levelMeterPixmap(_statusDisplay.meterPictures, left, right, meterThreshold()));
        _statusDisplay.left = left;
        _statusDisplay.right = right;
        describeLevels(left, right);
    }
    _statusDisplay.ticks = time;
    showRecordingState();
}

void BVController::showRecordingState() {
    using namespace RecordingStateText;
    const auto schedule = scheduledRecording();
    const State state =
        _recorder ? stateOf(_recorder->isPreviewing(), _recorder->isRecording(),
                            _recorder->isPaused(), _recorder->isListening(), schedule.has_value())
                  : State::Idle;
    const int64_t second = state == State::Idle ? 0 : std::max(0, _statusDisplay.ticks) / 60;
    if (int(state) == _statusDisplay.shownState && second == _statusDisplay.shownSecond)
        return;
    _statusDisplay.shownState = int(state);
    _statusDisplay.shownSecond = second;
    const QString when =
        schedule ? ScheduleText::shortStart(schedule->start, QDateTime::currentDateTime())
                 : QString();
    if (_stateText) {
        _stateText->setText(words(state, when));
        _stateText->setAccessibleDescription(words(state, when));
    }
    if (_statusText)
        _statusText->setAccessibleDescription(formatTimingString(int32_t(second * 60)));
    if (mainWindow)
        mainWindow->setWindowTitle(
            windowTitle(BVLocalizedString("CFBundleName"), state, _statusDisplay.ticks, when));
}

int BVController::meterThreshold() const {
    if (!_voiceActivation.enabled)
        return -1;
    return LevelMeter::levelForPeak(VoiceActivation::gateOf(_voiceActivation).threshold);
}

void BVController::describeLevels(int left, int right) {
    // In steps of a tenth, so that a screen reader is not told of every flicker.
    auto percent = [](int level) {
        return std::clamp(level, 0, kMeterWidth) * 10 / kMeterWidth * 10;
    };
    const int described = percent(left) * 1000 + percent(right);
    if (!_displayView || described == _statusDisplay.describedLevels)
        return;
    _statusDisplay.describedLevels = described;
    _displayView->setAccessibleDescription(
        BVLocalizedString("MeterLevels").arg(percent(left)).arg(percent(right)));
}

QString BVController::formatTimingString(int32_t ticks) {
    const int32_t hours = ticks / kTicksPerHour;
    const int32_t minutes = ticks / kTicksPerMinute - (ticks / kTicksPerHour) * 60;
    const int32_t seconds = ticks / kTicksPerSecond - (ticks / kTicksPerMinute) * 60;
    const int32_t sub = ticks - (ticks / kTicksPerSecond) * kTicksPerSecond;
    const int hundredths = static_cast<int>(sub / 60.0 * 100.0) % 100;
    if (bvLogDebugWanted())
        bvLogDebug(QStringLiteral("sub = %1, sub/60 = %2").arg(sub).arg(sub / 60));
    return QString::asprintf("%02d:%02d:%02d.%02d", hours, minutes, seconds, hundredths);
}

void BVController::showTimerWindow(QObject*) {
    // A sheet: window-modal on the main window, and this call returns at once.
    if (!timerWindow)
        return;
    if (!timerWindow->isVisible()) {
        _timerSheetOpenedWith = {fieldText(_hourField), fieldText(_minuteField),
                                 fieldText(_secondField),
                                 _timerCheckBox && _timerCheckBox->isChecked()};
        if (_termsFields)
            _termsFields->showState(scheduledRecording(), _voiceActivation,
                                    QDateTime::currentDateTime());
    }
    timerWindow->open();
}

void BVController::cancelTimerWindow(QObject*) {
    const TimerSheetFields& before = _timerSheetOpenedWith;
    const std::pair<QLineEdit*, QString> fields[] = {
        {_hourField, before.hours}, {_minuteField, before.minutes}, {_secondField, before.seconds}};
    for (const auto& [field, text] : fields)
        if (field)
            field->setText(text);
    applyTimerFields();
    if (_timerCheckBox)
        _timerCheckBox->setChecked(before.on);
    toggleTimer(this);
    if (timerWindow)
        timerWindow->hide();
}

void BVController::closeTimerWindow(QObject*) {
    if (!applyTimerFields() || !applyTermsFields()) {
        // Refused: the sheet stays, with its message, until the fields make sense or Cancel.
        if (timerWindow && !timerWindow->isVisible())
            timerWindow->open();
        return;
    }
    PrefSaveAction(this);
    if (timerWindow)
        timerWindow->hide();
}

void BVController::setTimer(QObject*) {
    applyTimerFields();
}

void BVController::restrictTimerFields() {
    // Digits only: a sign or a letter never reaches the timed length.
    for (QLineEdit* field : {_hourField, _minuteField, _secondField}) {
        if (field && !field->validator())
            field->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), field));
    }
}

void BVController::restoreTimer(bool on) {
    if (!applyTimerFields()) {
        // A stored length the sheet would refuse would end every recording at once: the timer
        // starts off, the fields start over, and the user hears of it this once.
        const QString stored =
            QStringLiteral("%1:%2:%3")
                .arg(fieldText(_hourField), fieldText(_minuteField), fieldText(_secondField));
        for (QLineEdit* field : {_hourField, _minuteField, _secondField})
            if (field)
                field->setText(QStringLiteral("0"));
        applyTimerFields();
        on = false;
        tellUser(BVLocalizedString("SavedTimerUnusable").arg(stored));
    }
    if (_timerCheckBox)
        _timerCheckBox->setChecked(on);
    toggleTimer(this);
}

void BVController::toggleTimer(QObject*) {
    const bool on = _timerCheckBox && _timerCheckBox->isChecked();
    if (_recorder)
        _recorder->setIsTimed(on);
    showTimerButtonImage(on);
}

// ---- helpers ----

bool BVController::applyTimerFields() {
    // Runs at launch (restoring the preferences), before any status arrives.
    styleStatusText();
    QLabel* message =
        timerWindow ? timerWindow->findChild<QLabel*>(QStringLiteral("timerMessage")) : nullptr;
    const qint64 hours = leadingInteger(fieldText(_hourField));
    const qint64 minutes = leadingInteger(fieldText(_minuteField));
    const qint64 seconds = leadingInteger(fieldText(_secondField));

    QString refusal;
    const qint64 ticks =
        hours * kTicksPerHour + minutes * kTicksPerMinute + seconds * kTicksPerSecond;
    if (hours < 0 || minutes < 0 || seconds < 0)
        refusal = BVLocalizedString("Hours, minutes and seconds cannot be negative.");
    else if (ticks > std::numeric_limits<int32_t>::max())
        refusal =
            BVLocalizedString("The timer can be at most 9942 hours, 3 minutes and 14 seconds.");
    if (!refusal.isEmpty()) {
        // The timer keeps the length it had.
        if (message)
            message->setText(refusal);
        return false;
    }
    if (message)
        message->clear();

    const auto length = static_cast<int32_t>(ticks);
    if (_recorder)
        _recorder->setTimedLength(length);
    if (length == 0) {
        if (_recorder)
            _recorder->setIsTimed(false);
        showTimerButtonImage(false);
        if (_timerCheckBox)
            _timerCheckBox->setChecked(false);
    }
    return true;
}

void BVController::showTimerButtonImage(bool on) {
    if (!_timerButton)
        return;
    _timerButton->setIcon(QIcon(on ? QStringLiteral(":/images/Interface_timer_on.png")
                                   : QStringLiteral(":/images/Interface_timer_off.png")));
}

void BVController::styleStatusText() {
    if (!_statusText || _statusDisplay.styled)
        return;
    _statusDisplay.styled = true;
    _statusText->setTextFormat(Qt::PlainText);
    // Fixed-width digits, and a fixed size: the digits do not jump, and a new text a hundred
    // times a second does not lay the toolbar out again.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (_statusText->font().pointSizeF() > 0)
        font.setPointSizeF(_statusText->font().pointSizeF());
    _statusText->setFont(font);
    const QFontMetrics metrics(font);
    const int margins = 2 * (_statusText->margin() + _statusText->frameWidth()) + 4;
    _statusText->setFixedSize(metrics.horizontalAdvance(QStringLiteral("000:00:00.00")) + margins,
                              std::max(_statusText->sizeHint().height(), metrics.height()));
    // The state in words is a caption to the clock: smaller, beneath it.
    if (_stateText && _stateText->font().pointSizeF() > 0) {
        QFont caption = _stateText->font();
        caption.setPointSizeF(caption.pointSizeF() * 0.85);
        _stateText->setFont(caption);
    }
    // Opaque, so that redrawing them does not repaint the toolbar beneath as well.
    _statusText->setAutoFillBackground(true);
    if (_displayView)
        _displayView->setAutoFillBackground(true);
}

void BVController::clearStatusDisplay() {
    if (_statusText)
        _statusText->setText(formatTimingString(0));
    if (_displayView)
        _displayView->setPixmap(
            levelMeterPixmap(_statusDisplay.meterPictures, 0, 0, meterThreshold()));
    _statusDisplay.left = 0;
    _statusDisplay.right = 0;
    describeLevels(0, 0);
    // The first status of the next run is drawn whenever it comes.
    _statusDisplay.shown = false;
    _statusDisplay.ticks = 0;
    showRecordingState();
}

void BVController::watchMainWindow() {
    if (!mainWindow)
        return;
    // The window may outlive the controller at quit.
    new WindowShownWatcher(mainWindow, [controller = QPointer<BVController>(this)] {
        if (controller)
            controller->updateStatusWatched();
    });
    updateStatusWatched();
}

void BVController::updateStatusWatched() {
    const WindowShownWatcher* watcher = nullptr;
    for (const QObject* child : mainWindow ? mainWindow->children() : QObjectList())
        if ((watcher = dynamic_cast<const WindowShownWatcher*>(child)))
            break;
    if (_recorder)
        _recorder->setStatusWatched(watcher && watcher->shown() && !_statusDisplayHidden);
}

void BVController::handleCaptureProblem(const Notification& notification) {
    const QString message = notification.userInfo.value(QStringLiteral("message")).toString();
    if (message.isEmpty())
        return;
    // What mends it: another folder (a full disk, a file that cannot be written) or another
    // input (the device went away); lost sound while recording goes on is a warning.
    const CaptureHealth health = _recorder ? _recorder->captureHealth() : CaptureHealth{};
    UserProblem problem{RecordingProblem};
    if (health.writeError != GrabberErr::noErr)
        problem.remedy = UserProblem::Remedy::ChooseLibraryFolder;
    else if (health.deviceError != GrabberErr::noErr)
        problem.remedy = UserProblem::Remedy::OpenSoundSettings;
    if (!notification.userInfo.value(QStringLiteral("stopped")).toBool())
        problem.weight = UserProblem::Weight::Warning;
    tellUser(message, problem);
}
