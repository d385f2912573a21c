// A scheduled start: Brevoir waits, counting down on the clock, and records from the moment
// the user chose, for the length they gave.
#include "app/BVController.h"

#include "platform/foundation/Defaults.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "recording/QKRecorder.h"
#include "recording/RecordingSchedule.h"
#include "recording/RecordingTermsFields.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

#include <cmath>

namespace {
constexpr int32_t kTicksPerSecond = 60;
constexpr int kCountdownIntervalMs = 1000;

QString describePlan(const RecordingSchedule::Plan& plan) {
    return plan.start.toString(Qt::ISODate) +
           (plan.lengthSeconds > 0 ? QStringLiteral(" for %1 s").arg(plan.lengthSeconds)
                                   : QString());
}
} // namespace

RecordingSchedule& BVController::recordingSchedule() {
    if (!_schedule) {
        _schedule = new RecordingSchedule(this);
        connect(_schedule, &RecordingSchedule::due, this,
                [this](const RecordingSchedule::Plan& plan) { startScheduledRecording(plan); });
    }
    return *_schedule;
}

QString BVController::scheduleRecording(const QDateTime& start, double lengthSeconds) {
    if (!_recorder)
        return recordingStartFailureMessage();
    if (_voiceActivation.enabled)
        return BVLocalizedString("ScheduleRefusedWhileListening");
    const RecordingSchedule::Plan plan{start, lengthSeconds};
    const QString refusal = recordingSchedule().arm(plan);
    if (!refusal.isEmpty())
        return refusal;
    RecordingSchedule::store(Defaults::standard(), plan);
    bvLog(QStringLiteral("recording scheduled at %1").arg(describePlan(plan)));
    followSchedule();
    return {};
}

void BVController::cancelSchedule() {
    if (!_schedule || !_schedule->plan())
        return;
    _schedule->cancel();
    RecordingSchedule::store(Defaults::standard(), std::nullopt);
    bvLog(QStringLiteral("scheduled recording cancelled"));
    followSchedule();
}

std::optional<RecordingSchedule::Plan> BVController::scheduledRecording() const {
    return _schedule ? _schedule->plan() : std::nullopt;
}

void BVController::restoreSchedule() {
    const std::optional<RecordingSchedule::Plan> stored =
        RecordingSchedule::load(Defaults::standard());
    if (!stored)
        return;
    const QString refusal = recordingSchedule().arm(*stored);
    if (!refusal.isEmpty()) {
        // Its moment came while Brevoir was not running: starting late would record what the
        // user did not ask for, so they are told instead.
        RecordingSchedule::store(Defaults::standard(), std::nullopt);
        bvLog(QStringLiteral("scheduled recording missed: %1").arg(describePlan(*stored)));
        tellUser(BVLocalizedString("ScheduleMissed")
                     .arg(QLocale().toString(stored->start, QLocale::ShortFormat)),
                 {RecordingProblem, UserProblem::Remedy::None, UserProblem::Weight::Warning});
        return;
    }
    followSchedule();
}

void BVController::startScheduledRecording(const RecordingSchedule::Plan& plan) {
    RecordingSchedule::store(Defaults::standard(), std::nullopt);
    followSchedule();
    if (_recorder && _recorder->isRecording()) {
        tellUser(BVLocalizedString("ScheduleFoundRecording"),
                 {RecordingProblem, UserProblem::Remedy::None, UserProblem::Weight::Information});
        return;
    }
    bvLog(QStringLiteral("starting the scheduled recording of %1").arg(describePlan(plan)));
    // The user asked for a recording at this moment: monitoring gives way to it.
    if (_recorder && _recorder->isPreviewing()) {
        if (_previewButton)
            _previewButton->setChecked(false);
        togglePreview(this);
    }
    if (plan.lengthSeconds > 0)
        _nextRecordingTicks = int32_t(std::llround(plan.lengthSeconds * kTicksPerSecond));
    startRecording(this);
    _nextRecordingTicks.reset();
    if (_recordingButton)
        _recordingButton->setChecked(IsBVRecording);
}

void BVController::followSchedule() {
    const bool waiting = _schedule && _schedule->plan();
    if (waiting && !_statusDisplayHidden) {
        if (!_countdownTimer) {
            _countdownTimer = new QTimer(this);
            _countdownTimer->setInterval(kCountdownIntervalMs);
            connect(_countdownTimer, &QTimer::timeout, this, [this] { showCountdown(); });
        }
        _countdownTimer->start();
    } else if (_countdownTimer) {
        _countdownTimer->stop();
    }
    showCountdown();
    emit interfaceStateChanged();
}

void BVController::showCountdown() {
    const bool busy = _recorder && (_recorder->isRecording() || _recorder->isPreviewing());
    if (!busy) {
        const qint64 ms = _schedule && _schedule->plan() ? _schedule->millisecondsToStart() : 0;
        // Whole seconds, rounded up: the clock reaches zero as the recording starts.
        _statusDisplay.ticks = int32_t(std::min<qint64>((ms + 999) / 1000, INT32_MAX / 60) * 60);
        if (_statusText)
            _statusText->setText(formatTimingString(_statusDisplay.ticks));
    }
    _statusDisplay.shownState = -1;
    showRecordingState();
}

bool BVController::applyTermsFields() {
    if (!_termsFields)
        return true;
    auto* message =
        timerWindow ? timerWindow->findChild<QLabel*>(QStringLiteral("timerMessage")) : nullptr;
    const auto refuse = [message](const QString& why) {
        if (message)
            message->setText(why);
        return false;
    };
    // Voice activation first: it off makes room for a schedule, and the other way round.
    const VoiceActivation::Settings voice = _termsFields->voiceSettings();
    if (!voice.enabled && voice != _voiceActivation)
        if (const QString why = setVoiceActivation(voice); !why.isEmpty())
            return refuse(why);
    const std::optional<QDateTime> start = _termsFields->start();
    const auto plan = scheduledRecording();
    if (!start)
        cancelSchedule();
    else if (!plan || plan->start != *start)
        if (const QString why = scheduleRecording(*start, 0); !why.isEmpty())
            return refuse(why);
    if (voice.enabled && voice != _voiceActivation)
        if (const QString why = setVoiceActivation(voice); !why.isEmpty())
            return refuse(why);
    return true;
}
