// The player: plays one recording at a time in the movie view, shows its position in the
// status text and marks the playing track in the library list.
#include "app/BVController.h"

#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "platform/foundation/Log.h"
#include "platform/media/BVMovieView.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cmath>

namespace {
// The player's poll. One per process, whichever controller started it. It reports status
// only, so a few times per display frame is plenty; firing on every pass of the event loop
// would hold a core.
QPointer<QTimer> _timer;
constexpr int kPollMilliseconds = 20;

void cancelTimer() {
    if (_timer) {
        _timer->stop();
        _timer->deleteLater(); // it may be the timer whose timeout is running now
    }
    _timer = nullptr;
}

void scheduleTimer(BVController* controller) {
    cancelTimer();
    auto* timer = new QTimer(controller);
    timer->setInterval(kPollMilliseconds);
    QObject::connect(timer, &QTimer::timeout, controller,
                     [controller, timer] { controller->doIdleProcessing(timer); });
    _timer = timer;
    timer->start();
}

std::shared_ptr<QBVTrack> firstSelectedTrack(const BVController& controller) {
    if (!controller._fileListArrayController)
        return nullptr;
    const auto selection = controller._fileListArrayController->selectedObjects();
    return selection.empty() ? nullptr : selection.front();
}

QUrl recordingURL(const BVController& controller, const QBVTrack& track) {
    return QUrl::fromLocalFile(QDir(controller.pathToRecordingsFolder()).filePath(track.name()));
}

void unmarkAllTracks(BVController& controller) {
    for (const auto& track : controller.fileList())
        track->setIsPlaying(false);
}

void rearrange(BVController& controller) {
    if (controller._fileListArrayController)
        controller._fileListArrayController->rearrangeObjects();
}

void showTicks(BVController& controller, int32_t ticks) {
    if (controller._statusText)
        controller._statusText->setText(controller.formatTimingString(ticks));
}

void showPlayPauseImage(BVController& controller) {
    if (controller._buttonPlayPause)
        controller._buttonPlayPause->setIcon(
            QIcon(QStringLiteral(":/images/Interface_play_pause.png")));
}

QString describeImage(const QPixmap* image) {
    if (!image)
        return QStringLiteral("(null)");
    return QStringLiteral("QPixmap(%1x%2)").arg(image->width()).arg(image->height());
}
} // namespace

void BVController::soundPlayPause(QObject*) {
    if (_qtPlayer && _qtPlayer->isPlaying()) {
        // Pause: the recording stays loaded at its position and stays marked.
        cancelTimer();
        _qtPlayer->stop();
        validateToolbar();
        return;
    }
    if (!(_qtPlayer && _qtPlayer->hasMovie())) {
        if (const auto track = firstSelectedTrack(*this)) {
            const QUrl url = recordingURL(*this, *track);
            // A file that cannot be played is refused in the view, and nothing else changes.
            if (_qtPlayer && !_qtPlayer->setMovie(url.toLocalFile()))
                return;
            setPreviouslyPlayedURL(url);
            track->setIsPlaying(true);
        }
    }
    if (_qtPlayer)
        _qtPlayer->start(); // a paused recording resumes where it stopped
    showPlayPauseImage(*this);
    rearrange(*this);
    scheduleTimer(this);
    validateToolbar();
}

void BVController::soundDoubleClick(QObject*) {
    const auto track = firstSelectedTrack(*this);
    if (!track)
        return;
    const QUrl url = recordingURL(*this, *track);
    if (_qtPlayer && _qtPlayer->hasMovie() && _qtPlayer->isPlaying() &&
        _previouslyPlayedURL.path() == url.path()) {
        // Double-clicking the recording that plays pauses it; it stays loaded and marked.
        cancelTimer();
        _qtPlayer->stop();
        validateToolbar();
        return;
    }
    // Loaded before anything else changes, so that a file that cannot be played leaves the
    // current one playing; loading the new one replaces (and silences) the old.
    if (_qtPlayer && !_qtPlayer->setMovie(url.toLocalFile()))
        return;
    cancelTimer();
    setPreviouslyPlayedURL(url);
    unmarkAllTracks(*this);
    track->setIsPlaying(true);
    if (_qtPlayer)
        _qtPlayer->start(); // a new movie starts at its beginning
    showPlayPauseImage(*this);
    rearrange(*this);
    scheduleTimer(this);
    validateToolbar();
}

void BVController::tableAction(QObject*) {
    if (!fileTableView)
        return;
    // Sent again, it still leaves one double action.
    QObject::disconnect(fileTableView, &QAbstractItemView::doubleClicked, this, nullptr);
    connect(fileTableView, &QAbstractItemView::doubleClicked, this,
            [this] { soundDoubleClick(fileTableView); });
}

void BVController::soundStop(QObject*) {
    cancelTimer();
    if (_qtPlayer) {
        _qtPlayer->stop();
        _qtPlayer->clearMovie();
    }
    unmarkAllTracks(*this);
    showTicks(*this, 0);
    rearrange(*this);
    validateToolbar();
}

void BVController::playFile(QObject*) {
    const auto track = firstSelectedTrack(*this);
    if (!track || !_qtPlayer)
        return;
    if (_qtPlayer->setMovie(recordingURL(*this, *track).toLocalFile()))
        _qtPlayer->start();
    validateToolbar();
}

bool BVController::playRecording(const QString& name, double fromSeconds) {
    if (!_fileListArrayController || !_qtPlayer)
        return false;
    for (const auto& track : _fileList) {
        if (track->name() != name)
            continue;
        _fileListArrayController->setSelectedObjects({track});
        const QUrl url = recordingURL(*this, *track);
        // The one playing already goes on from there; another is loaded first.
        if (!(_qtPlayer->hasMovie() && _previouslyPlayedURL.path() == url.path())) {
            if (!_qtPlayer->setMovie(url.toLocalFile()))
                return false;
            setPreviouslyPlayedURL(url);
            unmarkAllTracks(*this);
            track->setIsPlaying(true);
        }
        _qtPlayer->seek(
            qint64(std::llround(std::max(0.0, fromSeconds) * double(_qtPlayer->timeScale()))));
        if (!_qtPlayer->isPlaying())
            _qtPlayer->start();
        showPlayPauseImage(*this);
        rearrange(*this);
        scheduleTimer(this);
        validateToolbar();
        return true;
    }
    return false;
}

void BVController::doIdleProcessing(QTimer*) {
    if (_qtPlayer && _qtPlayer->isPlaying()) {
        const qint64 position = _qtPlayer->currentTime();
        const qint64 divisor = _qtPlayer->timeScale() / 60;
        // Below 60 units per second there are no whole ticks to count in.
        showTicks(*this, divisor > 0 ? int32_t(position / divisor) : 0);
        return;
    }
    bvLog(QStringLiteral("sound finished playing"));
    cancelTimer();
    if (_qtPlayer)
        _qtPlayer->clearMovie();
    unmarkAllTracks(*this);
    showTicks(*this, 0);
    rearrange(*this);
    if (mainWindow)
        mainWindow->update();
    // Record and the menus follow at once: nothing the user does has to come first.
    validateToolbar();
}

const QPixmap* BVController::currentlyPlayingImage() {
    if (!_currentlyPlayingImage) {
        const QString candidate = QStringLiteral(":/images/podcast.png");
        const QString imagePath = QFile::exists(candidate) ? candidate : QString();
        bvLog(QStringLiteral("imagePath = %1")
                  .arg(imagePath.isNull() ? QStringLiteral("(null)") : imagePath));
        if (!imagePath.isNull()) {
            auto image = std::make_unique<QPixmap>(imagePath);
            if (!image->isNull())
                _currentlyPlayingImage = std::move(image);
        }
    }
    // Asked for on every repaint of the marked row: a debug-level line.
    if (bvLogDebugWanted())
        bvLogDebug(QStringLiteral("_currentlyPlayingImage = %1")
                       .arg(describeImage(_currentlyPlayingImage.get())));
    return _currentlyPlayingImage.get();
}

void BVController::setPreviouslyPlayedURL(const QUrl& url) {
    if (url != _previouslyPlayedURL)
        _previouslyPlayedURL = url;
}
