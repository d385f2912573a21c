#pragma once

#include <QString>
#include <QWidget>

#include <atomic>
#include <memory>

class PlaybackEngine;
class WaveformView;
class QLabel;
class QSlider;
class QTimer;

// The movie view: plays one sound or movie file with a transport the user can drag to seek.
// Shows the file's name, the elapsed and total time, and why a file could not be loaded.
class BVMovieView : public QWidget {
    Q_OBJECT

public:
    explicit BVMovieView(QWidget* parent = nullptr);
    WaveformView* waveform() const { return _waveform; }
    ~BVMovieView() override;

    // Loads a file; false (with a message shown in the view) when it cannot be decoded, in
    // which case the movie loaded before, if any, stays as it was.
    bool setMovie(const QString& path);
    void clearMovie();
    bool hasMovie() const;
    QString moviePath() const;

    void start();
    void stop();
    bool isPlaying() const;
    qint64 currentTime() const; // in time-scale units, what has been heard
    qint64 timeScale() const;   // units per second (the audio's sample rate)
    qint64 duration() const;    // in time-scale units; 0 when the file does not tell
    void seek(qint64 time);     // in time-scale units

    // The message shown after a file was refused or the output failed; empty otherwise.
    QString message() const;

signals:
    // The loaded movie has played to its end.
    void finished();
    // The loaded movie's waveform overview is shown (worked out, or kept from before).
    void waveformShown();

private:
    void refresh();
    void showMessage(const QString& text);
    void seekToSlider();
    void showPosition(qint64 time);
    // The file's overview: kept, or worked out on a worker thread and shown when it is in.
    void showWaveformOf(const QString& path);
    void seekToFraction(double fraction);
    void step(int direction, bool longStep);

    std::unique_ptr<PlaybackEngine> _engine;
    QString _path;
    QLabel* _nameLabel = nullptr;
    QLabel* _messageLabel = nullptr;
    QLabel* _elapsedLabel = nullptr;
    QLabel* _totalLabel = nullptr;
    QSlider* _slider = nullptr;
    WaveformView* _waveform = nullptr;
    std::shared_ptr<std::atomic<bool>> _waveformCancel; // of the overview being worked out
    QTimer* _refreshTimer = nullptr;
};
