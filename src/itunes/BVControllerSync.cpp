// Sync: copies the library's recordings into the playlist, skipping those whose title it
// already holds. The playlist component's copying and converting runs on a worker, so the
// window stays live; everything else runs here, on the main thread.
#include "app/BVController.h"

#include "itunes/QKTunesController.h"
#include "itunes/SyncSession.h"
#include "library/QBVTrack.h"
#include "platform/foundation/Beep.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/playlists/M3uPlaylistLibrary.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QUrl>

namespace {
// Serves pending drawing and timers for 10 ms, so that a status text shows before the next
// step.
void pauseForDrawing() {
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
}

QString describe(const std::optional<QStringList>& tracks) {
    if (!tracks)
        return QStringLiteral("(null)");
    QStringList quoted;
    for (const QString& track : *tracks)
        quoted << QLatin1Char('"') + track + QLatin1Char('"');
    return QLatin1Char('(') + quoted.join(QStringLiteral(", ")) + QLatin1Char(')');
}
} // namespace

void BVController::handleSync(QObject*) {
    syncRecordings();
}

bool BVController::isSyncing() const {
    return _sync != nullptr;
}

QString BVController::syncRecordings() {
    if (!_iTunesController) {
        Beep();
        const QString reason = BVLocalizedString("SyncUnavailable");
        tellUser(reason);
        return reason;
    }
    if (_sync) {
        Beep();
        bvLog(QStringLiteral("a sync is already running"));
        return BVLocalizedString("SyncRunning");
    }
    if (_fileList.empty()) {
        Beep();
        bvLog(QStringLiteral("no files to sync..."));
        return BVLocalizedString("SyncNoFiles");
    }
    bvLog(QStringLiteral("doing sync to iTunes..."));
    _iTunesController->clearLastError();
    _sync = std::make_shared<SyncSession>(*_iTunesController, _syncStatusPanel, _syncStatusText,
                                          _syncStatusProgress);
    const std::shared_ptr<SyncSession> session = _sync;
    if (_syncStatusProgress)
        _syncStatusProgress->setRange(0, 0); // moving without a known length
    if (_syncStatusText)
        _syncStatusText->setText(BVLocalizedString("SyncBeginning"));
    pauseForDrawing();
    if (_syncStatusPanel) {
        _syncStatusPanel->setAttribute(Qt::WA_ShowWithoutActivating);
        _syncStatusPanel->show();
        _syncStatusPanel->raise();
    }
    const QString playlist = _iTunesPlaylistName ? _iTunesPlaylistName->text() : QString();
    if (_syncStatusText)
        _syncStatusText->setText(
            QStringLiteral("%1 %2...").arg(BVLocalizedString("SyncConfigure"), playlist));
    pauseForDrawing();
    _iTunesController->createPlaylist(playlist);
    bvLog(QStringLiteral("Playlist: %1").arg(playlist));
    if (_syncStatusText)
        _syncStatusText->setText(BVLocalizedString("SyncRetrieving"));
    pauseForDrawing();
    const std::optional<QStringList> tracks = getTracksForPlaylist(playlist);
    bvLog(QStringLiteral("  contains tracks: %1").arg(describe(tracks)));

    std::vector<std::shared_ptr<QBVTrack>> importList;
    for (const std::shared_ptr<QBVTrack>& track : _fileList) {
        const QString title = QFileInfo(track->name()).completeBaseName();
        bvLog(QStringLiteral("title = %1").arg(title));
        bvLog(QStringLiteral("tracks = %1").arg(describe(tracks)));
        if (tracks && tracks->contains(title, Qt::CaseSensitive)) {
            bvLog(QStringLiteral("Not adding track %1").arg(title));
            continue;
        }
        importList.push_back(track);
    }
    pauseForDrawing();
    if (_syncStatusText)
        _syncStatusText->setText(QStringLiteral("Syncing %1 files.").arg(importList.size()));
    bvLog(QStringLiteral("tracks to import:"));
    for (const std::shared_ptr<QBVTrack>& track : importList)
        bvLog(QStringLiteral(" - %1").arg(track->name()));
    // Cancelled (or quit) during a pause: nothing more to do.
    if (_sync != session || session->cancelled()) {
        if (_sync == session)
            finishSync();
        return {};
    }
    importTracksFromList(importList);
    return {};
}

std::optional<QStringList> BVController::getTracksForPlaylist(const QString& name) {
    if (!_iTunesController)
        return std::nullopt;
    const QStringList tracks = _iTunesController->getTracksForPlaylist(name);
    if (tracks.size() == 1 && tracks.first() == M3uPlaylistLibrary::kNoTracksFound)
        return std::nullopt;
    return tracks;
}

void BVController::importTracksFromList(const std::vector<std::shared_ptr<QBVTrack>>& tracks) {
    if (!_iTunesController)
        return;
    // One import at a time: the component has one set of files in hand.
    if (_sync && _sync->importStarted()) {
        Beep();
        return;
    }
    const QString playlist = _iTunesPlaylistName ? _iTunesPlaylistName->text() : QString();
    QString encoder;
    if (_encodingSelectionMenu && _encodingSelectionMenu->currentIndex() >= 0) {
        const QString title = _encodingSelectionMenu->currentText();
        // The "No Conversion" entry carries no encoder (its title is translated).
        const bool none = title == QLatin1String("no encoders found") ||
                          title == QLatin1String("No Conversion") ||
                          _encodingSelectionMenu->currentData().toString().isEmpty();
        if (!none)
            encoder = title;
    }
    QStringList files;
    for (const std::shared_ptr<QBVTrack>& track : tracks) {
        const QString path = fullUnixPathToAppleScriptPath(pathToRecordingsFolder() +
                                                           QLatin1Char('/') + track->name());
        if (!path.isNull())
            files << path;
    }
    // An import asked for outside a sync still runs as one, so that it has its worker.
    if (!_sync)
        _sync = std::make_shared<SyncSession>(*_iTunesController, _syncStatusPanel, _syncStatusText,
                                              _syncStatusProgress);
    // A sync cancelled at quit has ended already: its worker's late end must not end the next.
    SyncSession* session = _sync.get();
    connect(session, &SyncSession::importFinished, this, [this, session] {
        if (_sync.get() == session)
            finishSync();
    });
    QKTunesController* bridge = _iTunesController.get();
    _sync->runImport([bridge, files, playlist, encoder] {
        if (encoder.isEmpty())
            bridge->importFilesToPlaylist(files, playlist);
        else
            bridge->importFilesToPlaylistWithEncoder(files, playlist, encoder);
    });
}

void BVController::finishSync() {
    if (!_sync)
        return;
    const std::shared_ptr<SyncSession> session = std::move(_sync);
    session->detach();
    if (Defaults::standard().boolForKey(sPreferencesKeyTwoWaySyncing))
        bvLog(QStringLiteral("user wants two-way syncing..."));
    if (_syncStatusText)
        _syncStatusText->setText(QStringLiteral("Sync finished..."));
    if (_syncStatusProgress)
        _syncStatusProgress->setRange(0, 1);
    if (_syncStatusPanel)
        _syncStatusPanel->hide();
    const QString problem = session->cancelled()
                                ? BVLocalizedString("SyncCancelled")
                                : (_iTunesController ? _iTunesController->lastError() : QString());
    if (!problem.isEmpty())
        tellUser(problem);
    // The session may be inside its own signal: it goes once control is back in the loop.
    QTimer::singleShot(0, this, [session] {});
    emit syncFinished(problem);
}

void BVController::cancelSync(bool immediately) {
    if (!_sync)
        return;
    _sync->cancel(immediately);
    if (!immediately)
        return;
    _sync->waitForImport();
    finishSync();
}

QString BVController::fullUnixPathToAppleScriptPath(const QString& path) {
    // The playlist component takes absolute POSIX paths.
    if (path.isEmpty())
        return {};
    return QFileInfo(path).absoluteFilePath();
}

void BVController::iTunesOpenApplication(QObject*) {
    const QString path = M3uPlaylistLibrary::musicFolder();
    bvLog(QStringLiteral("path: %1").arg(path));
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void BVController::handleSyncItunesCommand(QObject*) {
    handleSync(nullptr);
}
