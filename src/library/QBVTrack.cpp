// Stub until the library work lands.
#include "library/QBVTrack.h"

void QBVTrack::setName(const QString& name) { _name = name; }
void QBVTrack::setCategory(const QString& category) { _category = category; }
void QBVTrack::setSize(std::optional<quint64> size) { _size = size; }
void QBVTrack::setDate(std::optional<QDateTime> date) { _date = date; }
void QBVTrack::setDuration(std::optional<float> duration) { _duration = duration; }
void QBVTrack::setIsPlaying(bool playing) { _isPlaying = playing; }
const QPixmap* QBVTrack::currentlyPlayingImage() const { return nullptr; }
