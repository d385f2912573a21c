// Scripting additions: built with the scripting work.
#include "app/BVController.h"

void BVController::handleStartRecordingCommand(QObject*) {}
void BVController::handleStopRecordingCommand(QObject*) {}
void BVController::handlePauseRecordingCommand(QObject*) {}
void BVController::handleSnipRecordingCommand(QObject*) {}
