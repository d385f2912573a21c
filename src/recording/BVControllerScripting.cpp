// The handlers that script commands send: each calls the action the interface uses.
#include "app/BVController.h"
#include "platform/foundation/NotificationCenter.h"

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
