// Status display and timer (stub until the recording engine lands).
#include "app/BVController.h"

#include <QString>

void BVController::handleRecordingStatusUpdate(const Notification&) {}
QString BVController::formatTimingString(int32_t) { return QStringLiteral("00:00:00.00"); }
void BVController::showTimerWindow(QObject*) {}
void BVController::closeTimerWindow(QObject*) {}
void BVController::setTimer(QObject*) {}
void BVController::toggleTimer(QObject*) {}
