// Sync: copies the library's recordings into the playlist, skipping those whose title it
// already holds. What may be synced, and the run itself, belong to SyncCoordinator; here the
// controls are read and the outcome told.
#include "app/BVController.h"

#include "itunes/QKTunesController.h"
#include "itunes/SyncCoordinator.h"
#include "itunes/SyncPanel.h"
#include "library/QBVTrack.h"
#include "platform/foundation/Beep.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/playlists/M3uPlaylistLibrary.h"
#include "recording/QKRecorder.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QUrl>

void BVController::handleSync(QObject*) {
    const QString refusal = syncRecordings();
    if (!refusal.isEmpty())
        emit syncRefused(refusal);
}

bool BVController::isSyncing() const {
    return _syncCoordinator && _syncCoordinator->isRunning();
}

QString BVController::syncProgress() const {
    return _syncCoordinator ? _syncCoordinator->progressDescription() : QString();
}

SyncCoordinator& BVController::syncCoordinator() {
    if (!_syncCoordinator) {
        _syncCoordinator =
            std::make_unique<SyncCoordinator>(_iTunesController.get(), [this]() -> QString {
                return _recorder && _recorder->isRecording() ? _recorder->tempFile() : QString();
            });
        new SyncPanel(*_syncCoordinator, _syncStatusPanel, _syncStatusText, _syncStatusProgress,
                      _syncCoordinator.get());
        connect(_syncCoordinator.get(), &SyncCoordinator::leftOut, this, &BVController::tellUser);
        connect(_syncCoordinator.get(), &SyncCoordinator::started, this,
                &BVController::interfaceStateChanged);
        connect(_syncCoordinator.get(), &SyncCoordinator::finished, this,
                &BVController::finishSync);
    }
    return *_syncCoordinator;
}

QString BVController::syncRecordings() {
    if (!_iTunesController) {
        Beep();
        const QString reason = BVLocalizedString("SyncUnavailable");
        tellUser(reason);
        return reason;
    }
    SyncCoordinator::Request request;
    request.libraryFolder = pathToLibraryFolder();
    request.recordingsFolder = pathToRecordingsFolder();
    for (const std::shared_ptr<QBVTrack>& track : _fileList)
        request.names << track->name();
    // Read from the field as it stands, saved or not.
    request.playlist = _iTunesPlaylistName ? _iTunesPlaylistName->text() : QString();
    if (_encodingSelectionMenu && _encodingSelectionMenu->currentIndex() >= 0) {
        const QString title = _encodingSelectionMenu->currentText();
        // The "No Conversion" entry carries no encoder (its title is translated).
        const bool none = title == QLatin1String("no encoders found") ||
                          title == QLatin1String("No Conversion") ||
                          _encodingSelectionMenu->currentData().toString().isEmpty();
        if (!none)
            request.encoder = title;
    }
    const QString refusal = syncCoordinator().start(request);
    if (!refusal.isEmpty())
        Beep();
    return refusal;
}

std::optional<QStringList> BVController::getTracksForPlaylist(const QString& name) {
    if (!_iTunesController)
        return std::nullopt;
    return SyncCoordinator::tracksOfPlaylist(*_iTunesController, name);
}

void BVController::finishSync(const QString& problem) {
    if (Defaults::standard().boolForKey(sPreferencesKeyTwoWaySyncing))
        bvLog(QStringLiteral("user wants two-way syncing..."));
    if (!problem.isEmpty())
        tellUser(problem);
    emit interfaceStateChanged();
    emit syncFinished(problem);
}

void BVController::cancelSync(bool immediately) {
    if (_syncCoordinator)
        _syncCoordinator->cancel(immediately);
}

QString BVController::fullUnixPathToAppleScriptPath(const QString& path) {
    return SyncCoordinator::pathForComponent(path);
}

void BVController::iTunesOpenApplication(QObject*) {
    const QString path = M3uPlaylistLibrary::musicFolder();
    bvLog(QStringLiteral("path: %1").arg(path));
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void BVController::handleSyncItunesCommand(QObject*) {
    handleSync(nullptr);
}
