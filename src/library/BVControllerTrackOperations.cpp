// Track operations: showing the recordings folder, deleting recordings with their notes, and
// renaming a recording's file when its track is renamed.
#include "app/BVController.h"

#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QBVTrackTableModel.h"
#include "library/QKArrayController.h"
#include "library/TrackNames.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/media/BVMovieView.h"
#include "platform/workspace/FileOperations.h"
#include "platform/workspace/FileViewer.h"
#include "recording/QKRecorder.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

#include <sys/stat.h>

namespace {
using TrackList = std::vector<std::shared_ptr<QBVTrack>>;

QString inFolder(const QString& folder, const QString& name) {
    return folder + QLatin1Char('/') + name;
}

// One delete operation on one file of the library; logs its failure as the list expects.
bool applyDelete(const QString& folder, const QString& name, bool toTrash, QString* reason) {
    const QByteArray path = FileNames::encodePath(inFolder(folder, name));
    FileOperations::Failure failure;
    const bool done = toTrash ? FileOperations::moveToTrash(path, &failure)
                              : FileOperations::destroy(path, &failure);
    if (done)
        return true;
    bvLog(QStringLiteral("failed to move %1 to the trash").arg(name));
    bvLog(QStringLiteral("tag: %1").arg(failure.error));
    if (reason)
        *reason = failure.reason;
    return false;
}
} // namespace

void BVController::revealInFinder(QObject*) {
    FileViewer::selectFile(pathToRecordingsFolder());
}

QString BVController::recordingForScript(const QString& name, std::shared_ptr<QBVTrack>* found) {
    if (!TrackNames::isPlainFileName(name))
        return BVLocalizedString("NotARecordingFileName").arg(name);
    // A file recorded or dropped a moment ago may not be listed yet.
    updateFileList();
    for (const auto& track : _fileList) {
        if (track->name() == name) {
            *found = track;
            return QString();
        }
    }
    return BVLocalizedString("NoRecordingNamed").arg(name);
}

QString BVController::busyReason(const QBVTrack& track, bool forDelete) const {
    const QString path = inFolder(pathToRecordingsFolder(), track.name());
    if (_recorder && _recorder->isRecording() && _recorder->tempFile() == path)
        return BVLocalizedString("BeingRecorded").arg(FileNames::displayName(track.name()));
    // The player stops for a delete; a rename would leave it holding a path that has gone.
    if (!forDelete && _qtPlayer && _qtPlayer->hasMovie() &&
        _previouslyPlayedURL.toLocalFile() == path)
        return BVLocalizedString("PlayingStopFirst").arg(FileNames::displayName(track.name()));
    return QString();
}

// ---- delete ----

void BVController::deleteFile(QObject*) {
    if (!_fileListArrayController)
        return;
    const TrackList selection = _fileListArrayController->selectedObjects();
    if (selection.empty())
        return;
    auto* sheet =
        new QMessageBox(QMessageBox::Critical, BVLocalizedString("DeleteDialog"),
                        BVLocalizedString("CannotUndo"), QMessageBox::NoButton, mainWindow);
    sheet->setObjectName(QStringLiteral("deleteConfirmation"));
    QPushButton* deleteButton =
        sheet->addButton(BVLocalizedString("Delete"), QMessageBox::AcceptRole);
    sheet->addButton(BVLocalizedString("Cancel"), QMessageBox::RejectRole);
    sheet->setDefaultButton(deleteButton);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    // The tracks travel with the sheet as they were when it opened.
    connect(sheet, &QMessageBox::finished, this, [this, sheet, deleteButton, selection] {
        const int returnCode = sheet->clickedButton() == deleteButton ? 1 : 0;
        sheetDidEndReturnCodeContextInfo(sheet, returnCode, selection);
    });
    sheet->open();
}

void BVController::sheetDidEndReturnCodeContextInfo(QWidget*, int returnCode,
                                                    const TrackList& tracks) {
    if (returnCode != 1)
        return;
    QStringList refused;
    for (const auto& track : tracks) {
        const QString busy = busyReason(*track, true);
        if (!busy.isEmpty()) {
            refused << busy;
            continue;
        }
        deleteTrack(track);
    }
    if (!refused.isEmpty())
        tellUser(BVLocalizedString("NotDeleted").arg(refused.join(QLatin1Char(' '))));
}

void BVController::deleteTrack(const std::shared_ptr<QBVTrack>& track) {
    const QString recordingPath = inFolder(pathToRecordingsFolder(), track->name());
    if (_qtPlayer && _qtPlayer->hasMovie() && _previouslyPlayedURL.toLocalFile() == recordingPath)
        soundStop(this);
    if (_fileListArrayController)
        _fileListArrayController->removeObject(track);
    else
        std::erase(_fileList, track);
    // Read for each track: the preference may change while a long delete runs.
    const bool toTrash = Defaults::standard().boolForKey(sPreferencesKeySafeDelete);
    QString reason;
    if (!applyDelete(pathToRecordingsFolder(), track->name(), toTrash, &reason)) {
        tellUser(BVLocalizedString("CouldNotDeleteBecause")
                     .arg(FileNames::displayName(track->name()), reason));
    }
    // Tried for every track; a track without a note fails here quietly, as logged.
    applyDelete(pathToNotesFolder(), TrackNames::noteFileName(track->name()), toTrash, nullptr);
}

QString BVController::deleteRecording(const QString& name) {
    std::shared_ptr<QBVTrack> track;
    if (const QString refusal = recordingForScript(name, &track); !refusal.isEmpty())
        return refusal;
    const QString busy = busyReason(*track, true);
    if (!busy.isEmpty())
        return busy;
    deleteTrack(track);
    struct stat info;
    if (::lstat(FileNames::encodePath(inFolder(pathToRecordingsFolder(), name)).constData(),
                &info) == 0)
        return BVLocalizedString("CouldNotDelete").arg(name);
    return QString();
}

// ---- rename ----

void BVController::handleTrackNameChanged(const Notification& notification) {
    const QString oldName = notification.userInfo.value(QStringLiteral("old name")).toString();
    const QString newName = notification.userInfo.value(QStringLiteral("new name")).toString();
    std::shared_ptr<QBVTrack> track;
    for (const auto& listed : _fileList) {
        if (listed.get() == notification.object)
            track = listed;
    }
    const QString folder = pathToRecordingsFolder();
    QString refusal = track ? busyReason(*track, false) : QString();
    if (refusal.isEmpty())
        refusal = TrackNames::renameRefusal(folder, newName);
    if (refusal.isEmpty()) {
        FileOperations::Failure failure;
        if (!FileOperations::renameWithoutReplacing(
                FileNames::encodePath(inFolder(folder, oldName)),
                FileNames::encodePath(inFolder(folder, newName)), &failure))
            refusal = failure.reason;
    }
    _lastRenameRefusal = refusal;
    if (refusal.isEmpty())
        return;
    // The track keeps its name, so the list never shows a name without a file behind it.
    if (track)
        track->refuseNameChange();
    tellUser(BVLocalizedString("NotRenamedBecause").arg(FileNames::displayName(oldName), refusal));
}

QString BVController::renameRecording(const QString& oldName, const QString& newName) {
    std::shared_ptr<QBVTrack> track;
    if (const QString refusal = recordingForScript(oldName, &track); !refusal.isEmpty())
        return refusal;
    if (newName == oldName)
        return QString();
    _lastRenameRefusal.clear();
    track->setName(newName);
    if (track->name() != newName)
        return _lastRenameRefusal.isEmpty() ? BVLocalizedString("NotRenamed") : _lastRenameRefusal;
    if (_fileListArrayController)
        _fileListArrayController->rearrangeObjects();
    return QString();
}

void BVController::renameSelection(QObject*) {
    if (!_fileListArrayController || !fileTableView)
        return;
    const QList<int> rows = _fileListArrayController->selectionIndexes();
    if (rows.isEmpty())
        return;
    const QModelIndex cell =
        fileTableView->model()->index(rows.first(), QBVTrackTableModel::NameColumn);
    fileTableView->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
    fileTableView->edit(cell);
}
