#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class QPixmap;

// One recording of the library: one per file of the "Recordings" folder. Announces a new name
// and a new category through notifications; never touches the disk itself.
// "None" is a null QString / an empty optional.
class QBVTrack {
public:
    QString name() const { return _name; }
    QString category() const { return _category; }
    std::optional<quint64> size() const { return _size; }
    std::optional<QDateTime> date() const { return _date; }
    std::optional<float> duration() const { return _duration; }
    bool isPlaying() const { return _isPlaying; }

    void setName(const QString& name);
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
};
