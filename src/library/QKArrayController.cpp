// Stub until the library work lands.
#include "library/QKArrayController.h"

QKArrayController::QKArrayController(QObject* parent) : QObject(parent) {}
QKArrayController::~QKArrayController() = default;
void QKArrayController::awakeFromNib() {}
void QKArrayController::setContent(TrackList* content) { _content = content; }
void QKArrayController::addObject(const std::shared_ptr<QBVTrack>&) {}
void QKArrayController::removeObject(const std::shared_ptr<QBVTrack>&) {}
void QKArrayController::rearrangeObjects() {}
QKArrayController::TrackList QKArrayController::selectedObjects() const { return {}; }
QKArrayController::TrackList QKArrayController::arrangeObjects(const TrackList& l) const { return l; }
void QKArrayController::search(QObject*) {}
void QKArrayController::setSearchString(const QString& s) { searchString = s; }
