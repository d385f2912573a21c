// Recording control: built with the recording-control work.
#include "app/BVController.h"

void BVController::startRecording(QObject*) {}
void BVController::pauseRecording(QObject*) {}
void BVController::snipFile(QObject*) {}
void BVController::togglePreview(QObject*) {}
void BVController::showSoundSettings(QObject*) {}
void BVController::handleRecordingDidStop(const Notification&) {}
