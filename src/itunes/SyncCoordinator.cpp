#include "itunes/SyncCoordinator.h"

#include "itunes/QKTunesController.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/SafeFile.h"
#include "platform/playlists/BackgroundCall.h"
#include "platform/playlists/M3uPlaylistLibrary.h"
#include "platform/playlists/TrackTitle.h"

#include <QFileInfo>
#include <QSet>
#include <QTimer>

#include <unistd.h>

namespace {
// Long enough for a status text to be drawn before the next step.
constexpr int kPauseMs = 10;
// A log line names this many titles of a long list.
constexpr qsizetype kTitlesLogged = 20;

bool heldByWriter(const QString& path) {
    SafeFile::Problem problem;
    const int fd = SafeFile::openForReading(FilePath::fromString(path), &problem);
    if (fd < 0)
        return false; // the import says what is wrong with it
    const bool held = SafeFile::isLockedForWriting(fd);
    ::close(fd);
    return held;
}
} // namespace

struct SyncCoordinator::Run {
    Request request;
    bool cancelled = false;
    std::shared_ptr<Titles> titles = std::make_shared<Titles>();
    QStringList importing;
    QString importStatus;
    QString progress = QStringLiteral("preparing");
};

SyncCoordinator::SyncCoordinator(QKTunesController* bridge,
                                 std::function<QString()> fileBeingRecorded)
    : _bridge(bridge), _fileBeingRecorded(std::move(fileBeingRecorded)) {}

SyncCoordinator::~SyncCoordinator() {
    cancel(true);
}

QString SyncCoordinator::describe(const std::optional<QStringList>& texts) {
    if (!texts)
        return QStringLiteral("(null)");
    QStringList quoted;
    for (const QString& text : texts->mid(0, kTitlesLogged))
        quoted << QLatin1Char('"') + text + QLatin1Char('"');
    if (texts->size() > kTitlesLogged)
        quoted << QStringLiteral("... %1 more").arg(texts->size() - kTitlesLogged);
    return QLatin1Char('(') + quoted.join(QStringLiteral(", ")) + QLatin1Char(')');
}

std::optional<QStringList> SyncCoordinator::tracksOfPlaylist(QKTunesController& bridge,
                                                             const QString& name) {
    const QStringList tracks = bridge.getTracksForPlaylist(name);
    if (tracks.size() == 1 && tracks.first() == M3uPlaylistLibrary::kNoTracksFound)
        return std::nullopt;
    return tracks;
}

SyncCoordinator::Titles::Titles(std::optional<QStringList> titles) : list(std::move(titles)) {
    if (list)
        present = QSet<QString>(list->begin(), list->end());
}

SyncCoordinator::Selection SyncCoordinator::select(const QStringList& names, const Titles& titles,
                                                   const QString& recordingsFolder,
                                                   const QString& beingRecorded) {
    const QString held = describe(titles.list);
    const QSet<QString>& present = titles.present;
    Selection selection;
    for (const QString& name : names) {
        // The playlist's writer and reader know a file by the same title.
        const QString title = TrackTitle::ofFileName(name);
        bvLog(QStringLiteral("title = %1").arg(title));
        bvLog(QStringLiteral("tracks = %1").arg(held));
        if (present.contains(title)) {
            bvLog(QStringLiteral("Not adding track %1").arg(title));
            continue;
        }
        const QString path = recordingsFolder + QLatin1Char('/') + name;
        if (path == beingRecorded || heldByWriter(path)) {
            bvLog(QStringLiteral("Not adding track %1 while it is being recorded").arg(title));
            selection.leftOut << name;
            continue;
        }
        selection.imported << name;
    }
    return selection;
}

QString SyncCoordinator::start(const Request& request) {
    if (!_bridge)
        return BVLocalizedString("SyncUnavailable");
    if (_run) {
        bvLog(QStringLiteral("a sync is already running"));
        return BVLocalizedString("SyncRunning");
    }
    if (request.names.isEmpty()) {
        bvLog(QStringLiteral("no files to sync..."));
        return BVLocalizedString("SyncNoFiles");
    }
    bvLog(QStringLiteral("doing sync to iTunes..."));
    _run = std::make_unique<Run>();
    _run->request = request;
    _bridge->clearLastError();
    _bridge->clearCancel();
    const int generation = _generation;
    _bridge->setProgressObserver([this, generation](int index, int count, const QString& title,
                                                    bool converting) {
        // From the worker: told once the event loop gets to it.
        QMetaObject::invokeMethod(
            this,
            [=, this] {
                if (generation != _generation)
                    return;
                _run->progress =
                    QStringLiteral("%1 %2 of %3: %4")
                        .arg(converting ? QStringLiteral("converting") : QStringLiteral("copying"))
                        .arg(index)
                        .arg(count)
                        .arg(title);
                emit progressChanged(index, count, title, converting);
            },
            Qt::QueuedConnection);
    });
    emit started();
    emit statusChanged(BVLocalizedString("SyncBeginning"));
    afterPause(&SyncCoordinator::showPanel);
    return {};
}

void SyncCoordinator::afterPause(void (SyncCoordinator::*next)()) {
    const int generation = _generation;
    QTimer::singleShot(kPauseMs, this, [this, generation, next] {
        if (generation == _generation)
            (this->*next)();
    });
}

void SyncCoordinator::onWorker(std::function<void()> work, void (SyncCoordinator::*then)()) {
    const int generation = _generation;
    auto* call = new BackgroundCall(this);
    _worker = call;
    connect(call, &BackgroundCall::finished, this, [this, call, generation, then] {
        call->deleteLater();
        if (generation != _generation)
            return;
        _worker = nullptr;
        (this->*then)();
    });
    call->start(std::move(work));
}

bool SyncCoordinator::stoppedEarly() {
    if (_run->cancelled) {
        finish(BVLocalizedString("SyncCancelled"));
        return true;
    }
    // The playlist cannot be made or read whole: nothing is imported into it.
    if (const QString problem = _bridge->lastError(); !problem.isEmpty()) {
        finish(problem);
        return true;
    }
    return false;
}

void SyncCoordinator::showPanel() {
    if (stoppedEarly())
        return;
    emit panelWanted();
    emit statusChanged(
        QStringLiteral("%1 %2...").arg(BVLocalizedString("SyncConfigure"), _run->request.playlist));
    afterPause(&SyncCoordinator::makePlaylist);
}

void SyncCoordinator::makePlaylist() {
    if (stoppedEarly())
        return;
    // Copies never land in the library, nor in a folder that holds it.
    _bridge->setProtectedFolders({_run->request.libraryFolder});
    QKTunesController* bridge = _bridge;
    const QString playlist = _run->request.playlist;
    onWorker([bridge, playlist] { bridge->createPlaylist(playlist); },
             &SyncCoordinator::playlistMade);
}

void SyncCoordinator::playlistMade() {
    bvLog(QStringLiteral("Playlist: %1").arg(_run->request.playlist));
    if (stoppedEarly())
        return;
    emit statusChanged(BVLocalizedString("SyncRetrieving"));
    afterPause(&SyncCoordinator::readTitles);
}

void SyncCoordinator::readTitles() {
    if (stoppedEarly())
        return;
    QKTunesController* bridge = _bridge;
    const QString playlist = _run->request.playlist;
    const auto titles = _run->titles;
    onWorker([bridge, playlist, titles] { *titles = Titles(tracksOfPlaylist(*bridge, playlist)); },
             &SyncCoordinator::titlesRead);
}

void SyncCoordinator::titlesRead() {
    if (stoppedEarly())
        return;
    const Titles& titles = *_run->titles;
    bvLog(QStringLiteral("  contains tracks: %1").arg(describe(titles.list)));
    const Request& request = _run->request;
    const Selection selection = select(request.names, titles, request.recordingsFolder,
                                       _fileBeingRecorded ? _fileBeingRecorded() : QString());
    _run->importing = selection.imported;
    QString status = BVLocalizedString("SyncingFiles").arg(selection.imported.size());
    if (!selection.leftOut.isEmpty()) {
        QStringList shown;
        for (const QString& name : selection.leftOut)
            shown << FileNames::displayName(name);
        const QString note = BVLocalizedString("SyncLeftOut").arg(shown.join(QStringLiteral(", ")));
        status += QLatin1Char('\n') + note;
        emit leftOut(note);
    }
    _run->importStatus = status;
    afterPause(&SyncCoordinator::importSelection);
}

void SyncCoordinator::importSelection() {
    if (stoppedEarly())
        return;
    const Request& request = _run->request;
    emit statusChanged(_run->importStatus);
    bvLog(QStringLiteral("tracks to import:"));
    QStringList files;
    for (const QString& name : _run->importing) {
        bvLog(QStringLiteral(" - %1").arg(name));
        files << pathForComponent(request.recordingsFolder + QLatin1Char('/') + name);
    }
    // Called even with nothing to import, as the component may want to know.
    QKTunesController* bridge = _bridge;
    const QString playlist = request.playlist;
    const QString encoder = request.encoder;
    // A long playlist's titles are freed there too.
    std::shared_ptr<Titles> titles = std::move(_run->titles);
    onWorker(
        [bridge, files, playlist, encoder, titles]() mutable {
            titles.reset();
            if (encoder.isEmpty())
                bridge->importFilesToPlaylist(files, playlist);
            else
                bridge->importFilesToPlaylistWithEncoder(files, playlist, encoder);
        },
        &SyncCoordinator::imported);
}

void SyncCoordinator::imported() {
    if (!stoppedEarly())
        finish({});
}

void SyncCoordinator::cancel(bool immediately) {
    if (!_run)
        return;
    if (!_run->cancelled)
        bvLog(QStringLiteral("sync cancelled"));
    _run->cancelled = true;
    _bridge->cancelImport(immediately);
    if (!immediately)
        return;
    if (_worker)
        _worker->wait();
    finish(BVLocalizedString("SyncCancelled"));
}

void SyncCoordinator::finish(const QString& problem) {
    ++_generation;
    _worker = nullptr;
    _bridge->setProgressObserver({});
    _run.reset();
    emit finished(problem);
}

QString SyncCoordinator::progressDescription() const {
    return _run ? _run->progress : QString();
}

QString SyncCoordinator::pathForComponent(const QString& path) {
    // The playlist component takes absolute POSIX paths.
    if (path.isEmpty())
        return {};
    return QFileInfo(path).absoluteFilePath();
}
