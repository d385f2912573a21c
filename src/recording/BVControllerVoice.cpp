// Voice activation: the recorder listens, sound starts a recording (or resumes the one paused
// by silence), and the set silence stops or pauses it.
#include "app/BVController.h"

#include "platform/foundation/Defaults.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "recording/QKRecorder.h"

#include <QPushButton>

QString BVController::setVoiceActivation(const VoiceActivation::Settings& settings) {
    if (const QString problem = VoiceActivation::check(settings); !problem.isEmpty())
        return problem;
    if (settings.enabled) {
        if (!_recorder)
            return recordingStartFailureMessage();
        if (scheduledRecording())
            return BVLocalizedString("VoiceRefusedWhileScheduled");
        if (_recorder->isPreviewing())
            return BVLocalizedString("VoiceRefusedWhileMonitoring");
        if (_recorder->isRecording() && !_recorder->isListening())
            return BVLocalizedString("VoiceRefusedWhileRecording");
        if (!_recorder->doListen(VoiceActivation::gateOf(settings)))
            return BVLocalizedString("VoiceCouldNotListen").arg(_recorder->lastFailure());
        bvLog(QStringLiteral("voice activation on: %1 dBFS, %2 s of silence %3, %4 s before")
                  .arg(settings.thresholdDb)
                  .arg(settings.silenceSeconds)
                  .arg(settings.afterSilence == VoiceActivation::AfterSilence::Pause
                           ? QStringLiteral("pauses")
                           : QStringLiteral("stops"))
                  .arg(settings.preRollSeconds));
    } else if (_recorder && _recorder->isListening()) {
        // A recording that sound started goes on as any other, until it is stopped.
        _recorder->doListenStop();
        bvLog(QStringLiteral("voice activation off"));
    }
    _voiceActivation = settings;
    VoiceActivation::store(Defaults::standard(), settings);
    _statusDisplay.meterPictures.clear();
    _statusDisplay.shownState = -1;
    if (_recorder && !_recorder->isRecording() && !_recorder->isPreviewing())
        clearStatusDisplay(); // the meter shows the threshold, or no longer
    showRecordingState();
    emit interfaceStateChanged();
    return {};
}

void BVController::restoreVoiceActivation() {
    const VoiceActivation::Settings stored = VoiceActivation::load(Defaults::standard());
    _voiceActivation = stored;
    if (!stored.enabled)
        return;
    if (const QString refusal = setVoiceActivation(stored); !refusal.isEmpty()) {
        _voiceActivation.enabled = false;
        tellUser(BVLocalizedString("VoiceNotRestored").arg(refusal),
                 {SoundInputProblem, UserProblem::Remedy::OpenSoundSettings,
                  UserProblem::Weight::Warning});
    }
}

void BVController::handleVoiceDetected() {
    if (!_recorder || !_recorder->isListening())
        return;
    if (_recorder->isRecording() && _recorder->isPaused()) {
        pauseRecording(this);
        if (_pauseRecordingButton)
            _pauseRecordingButton->setChecked(_recorder->isPaused());
        return;
    }
    if (_recorder->isRecording())
        return;
    startRecording(this);
    if (_recordingButton)
        _recordingButton->setChecked(IsBVRecording);
}

void BVController::handleSilenceDetected() {
    if (!_recorder || !_recorder->isRecording() || _recorder->isPaused())
        return;
    if (_voiceActivation.afterSilence == VoiceActivation::AfterSilence::Pause) {
        pauseRecording(this);
        if (_pauseRecordingButton)
            _pauseRecordingButton->setChecked(_recorder->isPaused());
        return;
    }
    // Ends through the did-stop handler, as every other stop.
    _recorder->doStop(QKRecorder::StopReason::Silence);
}
