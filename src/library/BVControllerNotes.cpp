// Track operations and notes: the renaming, deleting and note handling come with their own
// work; until then the observers registered at creation do nothing.
#include "app/BVController.h"

void BVController::handleTrackNameChanged(const Notification&) {}
void BVController::handleChangeInTableSelection(const Notification&) {}
void BVController::handleChangingTableSelection(const Notification&) {}
