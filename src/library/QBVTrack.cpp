#include "library/QBVTrack.h"

#include "app/BVController.h"
#include "categories/CategoryStore.h"
#include "platform/foundation/NotificationCenter.h"

namespace {
// None and the empty string are different values here.
bool sameValue(const QString& a, const QString& b) {
    return a.isNull() == b.isNull() && a == b;
}
} // namespace

void QBVTrack::setName(const QString& name) {
    if (sameValue(name, _name))
        return;
    if (!_name.isNull()) {
        _nameChangeRefused = false;
        NotificationCenter::defaultCenter().post(
            QStringLiteral("QBVTrackNameChangedNotification"), this,
            {{QStringLiteral("old name"), _name}, {QStringLiteral("new name"), name}});
        if (_nameChangeRefused)
            return;
    }
    _name = name;
}

void QBVTrack::setCategory(const QString& category) {
    if (sameValue(category, _category))
        return;
    // The edit entry as the category list offers it, in the user's language.
    if (category == CategoryStore::editEntry()) {
        NotificationCenter::defaultCenter().post(
            QStringLiteral("QBVTrackCategoryChangedNotification"), this);
        return;
    }
    if (category == CategoryStore::kSeparator)
        return; // the separator of the category menu
    _category = category;
    if (!_category.isNull()) {
        NotificationCenter::defaultCenter().post(
            QStringLiteral("QBVTrackCategorySaveChangeNotification"), this);
    }
}

void QBVTrack::setSize(std::optional<quint64> size) {
    _size = size;
}
void QBVTrack::setDate(std::optional<QDateTime> date) {
    _date = std::move(date);
}
void QBVTrack::setDuration(std::optional<float> duration) {
    _duration = duration;
}

void QBVTrack::setIsPlaying(bool playing) {
    if (playing != _isPlaying)
        _isPlaying = playing;
}

const QPixmap* QBVTrack::currentlyPlayingImage() const {
    if (!_isPlaying)
        return nullptr;
    BVController* controller = BVController::sharedInstance();
    return controller ? controller->currentlyPlayingImage() : nullptr;
}
