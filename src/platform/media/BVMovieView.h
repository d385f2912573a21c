#pragma once

#include <QString>
#include <QWidget>

// The movie view: plays one sound or movie file with a transport the user can drag to seek.
class BVMovieView : public QWidget {
    Q_OBJECT

public:
    explicit BVMovieView(QWidget* parent = nullptr);
    ~BVMovieView() override;

    // Loads a file; false (with a message shown in the view) when it cannot be decoded.
    bool setMovie(const QString& path);
    void clearMovie();
    bool hasMovie() const;
    QString moviePath() const;

    void start();
    void stop();
    bool isPlaying() const;
    qint64 currentTime() const; // in time-scale units, what has been heard
    qint64 timeScale() const;   // units per second (the audio's sample rate)
};
