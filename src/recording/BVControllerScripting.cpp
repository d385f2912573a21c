// The handlers that script commands send: each calls the action the interface uses.
#include "app/BVController.h"
#include "platform/foundation/NotificationCenter.h"
#include "recording/QKRecorder.h"

#include <QPushButton>

void BVController::handleStartRecordingCommand(QObject*) {
    startRecording(nullptr);
}

// Returns the controls to idle and refreshes the list without asking the recorder to stop.
void BVController::handleStopRecordingCommand(QObject*) {
    handleRecordingDidStop({});
}

void BVController::handlePauseRecordingCommand(QObject*) {
    pauseRecording(nullptr);
}

void BVController::handleSnipRecordingCommand(QObject*) {
    snipFile(nullptr);
}

QString BVController::startRecordingForScript(QString* path) {
    // Asked again while recording: the caller learns the running file, and nothing changes.
    if (!_recorder || !_recorder->isRecording()) {
        startRecording(nullptr);
        if (_recordingButton)
            _recordingButton->setChecked(IsBVRecording);
        if (!_recorder || !_recorder->isRecording())
            return recordingStartFailureMessage();
    }
    *path = _recorder->tempFile();
    return {};
}

bool BVController::stopRecordingForScript(QString* path) {
    if (!_recorder || !_recorder->isRecording())
        return false;
    *path = _recorder->tempFile();
    // The record toggle's own stop: the file is complete once it returns.
    startRecording(nullptr);
    return true;
}
