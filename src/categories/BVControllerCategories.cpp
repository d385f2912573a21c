// Categories: the category store and editor come with their own work; until then the
// observers registered at creation do nothing.
#include "app/BVController.h"

void BVController::handleTrackCategoryChanged(const Notification&) {}
void BVController::loadCategories() {}
void BVController::saveCategories() {}
