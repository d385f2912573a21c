#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class QPixmap;

// One recording of the library: one per file of the "Recordings" folder. Announces a new name
// and a new category through notifications; never touches the disk itself.
// "None" is a null QString / an empty optional. Strings are values: setting a name or category
// equal to the one held does nothing and posts nothing.
class QBVTrack {
public:
    QString name() const { return _name; }
    QString category() const { return _category; }
    std::optional<quint64> size() const { return _size; }
    std::optional<QDateTime> date() const { return _date; }
    std::optional<float> duration() const { return _duration; }
    bool isPlaying() const { return _isPlaying; }

    // Replacing a name posts "QBVTrackNameChangedNotification" ("old name", "new name") while
    // the track still carries the old one; the first name posts nothing.
    void setName(const QString& name);
    // Sent by an observer of the name change when the file cannot follow: the track keeps its
    // old name.
    void refuseNameChange() { _nameChangeRefused = true; }
    // The edit entry ("Edit", translated) posts "QBVTrackCategoryChangedNotification" and keeps
    // the category; "-" (a menu separator) does nothing; a new category posts
    // "QBVTrackCategorySaveChangeNotification" once stored; clearing posts nothing.
    void setCategory(const QString& category);
    void setSize(std::optional<quint64> size);
    void setDate(std::optional<QDateTime> date);
    void setDuration(std::optional<float> duration);
    void setIsPlaying(bool playing);

    // The shared playing marker while this track plays, otherwise none.
    const QPixmap* currentlyPlayingImage() const;

private:
    QString _name;
    QString _category;
    std::optional<quint64> _size;
    std::optional<QDateTime> _date;
    std::optional<float> _duration;
    bool _isPlaying = false;
    bool _nameChangeRefused = false;
};
