#include "recording/ScriptCommands.h"

#include "app/BVController.h"

#include <QVariant>

QVariant BVStartCommand::performDefaultImplementation() {
    if (BVController* delegate = BVController::sharedInstance())
        delegate->handleStartRecordingCommand(this);
    return {};
}

QVariant BVStopCommand::performDefaultImplementation() {
    if (BVController* delegate = BVController::sharedInstance())
        delegate->handleStartRecordingCommand(this);
    return {};
}

QVariant BVPauseCommand::performDefaultImplementation() {
    if (BVController* delegate = BVController::sharedInstance())
        delegate->handlePauseRecordingCommand(this);
    return {};
}

QVariant BVSnipCommand::performDefaultImplementation() {
    if (BVController* delegate = BVController::sharedInstance())
        delegate->handleSnipRecordingCommand(this);
    return {};
}

QVariant BVSyncItunesCommand::performDefaultImplementation() {
    if (BVController* delegate = BVController::sharedInstance())
        delegate->handleSyncItunesCommand(this);
    return {};
}
