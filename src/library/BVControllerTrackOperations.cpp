// Track operations: showing the recordings folder, deleting recordings with their notes, and
// renaming a recording's file when its track is renamed.
#include "app/BVController.h"

#include "library/NoteStore.h"
#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QBVTrackTableModel.h"
#include "library/QKArrayController.h"
#include "library/ShownNote.h"
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
#include <QTextDocument>
#include <QTextEdit>

#include <cerrno>
#include <sys/stat.h>

namespace {
using TrackList = std::vector<std::shared_ptr<QBVTrack>>;

QString inFolder(const QString& folder, const QString& name) {
    return folder + QLatin1Char('/') + name;
}

void logFailedDelete(const QString& name, int error) {
    bvLog(QStringLiteral("failed to move %1 to the trash").arg(name));
    bvLog(QStringLiteral("tag: %1").arg(error));
}

QStringList namesOf(const TrackList& tracks) {
    QStringList names;
    names.reserve(qsizetype(tracks.size()));
    for (const auto& track : tracks)
        names << track->name();
    return names;
}

QString shown(const QString& name) {
    return FileNames::displayName(name);
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
    // The question is the text, not the title: attached dialogs rarely show a title.
    const QString question =
        selection.size() == 1
            ? BVLocalizedString("DeleteOneQuestion").arg(shown(selection.front()->name()))
            : BVLocalizedString("DeleteManyQuestion", int(selection.size()));
    auto* sheet = new QMessageBox(QMessageBox::Critical, BVLocalizedString("DeleteDialog"),
                                  question, QMessageBox::NoButton, mainWindow);
    sheet->setObjectName(QStringLiteral("deleteConfirmation"));
    sheet->setInformativeText(BVLocalizedString("CannotUndo"));
    QPushButton* deleteButton =
        sheet->addButton(BVLocalizedString("Delete"), QMessageBox::AcceptRole);
    QPushButton* cancelButton =
        sheet->addButton(BVLocalizedString("Cancel"), QMessageBox::RejectRole);
    // Enter keeps everything: deleting takes a click on Delete.
    sheet->setDefaultButton(cancelButton);
    sheet->setEscapeButton(cancelButton);
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

QString BVController::deleteTrack(const std::shared_ptr<QBVTrack>& track) {
    const QString name = track->name();
    const QString recordingPath = inFolder(pathToRecordingsFolder(), name);
    if (_qtPlayer && _qtPlayer->hasMovie() && _previouslyPlayedURL.toLocalFile() == recordingPath)
        soundStop(this);
    if (_fileListArrayController)
        _fileListArrayController->removeObject(track);
    else
        std::erase(_fileList, track);
    // Read for each track: the preference may change while a long delete runs.
    const bool toTrash = Defaults::standard().boolForKey(sPreferencesKeySafeDelete);
    const QByteArray path = FileNames::encodePath(recordingPath);
    FileOperations::Failure failure;
    if (!(toTrash ? FileOperations::moveToTrash(path, &failure)
                  : FileOperations::destroy(path, &failure))) {
        logFailedDelete(name, failure.error);
        // A recording that stays keeps its note; one that had gone already does not.
        if (failure.error != ENOENT) {
            const QString refusal =
                BVLocalizedString("CouldNotDeleteBecause").arg(shown(name), failure.reason);
            tellUser(refusal);
            return refusal;
        }
    }
    // A note being written by the worker goes only once it is whole.
    shownNote().finishWork();
    const NoteStore::Removed note =
        noteStore().removeAfterRecording(name, namesOf(_fileList), toTrash);
    // Tried for every track; a track without a note fails here quietly, as logged.
    if (note.outcome == NoteStore::Removed::Failed)
        logFailedDelete(NoteStore::noteFileName(name), note.error);
    else if (note.outcome == NoteStore::Removed::KeptFor)
        bvLog(QStringLiteral("kept the note %1: it is also the note of %2")
                  .arg(NoteStore::noteFileName(name), note.keptFor));
    return QString();
}

QString BVController::deleteRecording(const QString& name) {
    std::shared_ptr<QBVTrack> track;
    if (const QString refusal = recordingForScript(name, &track); !refusal.isEmpty())
        return refusal;
    const QString busy = busyReason(*track, true);
    if (!busy.isEmpty())
        return busy;
    if (const QString refusal = deleteTrack(track); !refusal.isEmpty())
        return refusal;
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
        // A note still being written moves only once it is whole.
        shownNote().finishWork();
        const NoteStore store = noteStore();
        const NoteStore::Renamed renamed =
            store.renameWithRecording(oldName, newName, namesOf(_fileList), [&] {
                FileOperations::Failure failure;
                if (FileOperations::renameWithoutReplacing(
                        FileNames::encodePath(inFolder(folder, oldName)),
                        FileNames::encodePath(inFolder(folder, newName)), &failure))
                    return QString();
                return failure.reason;
            });
        refusal = renamed.refusal;
        if (refusal.isEmpty()) {
            followRenamedNote(oldName, newName, renamed.noteMoved);
            // The database holds the new name at once, not only at the next change.
            scheduleCategoriesSave();
        }
    }
    _lastRenameRefusal = refusal;
    if (refusal.isEmpty())
        return;
    // The track keeps its name, so the list never shows a name without a file behind it.
    if (track)
        track->refuseNameChange();
    tellUser(BVLocalizedString("NotRenamedBecause").arg(FileNames::displayName(oldName), refusal));
}

void BVController::followRenamedNote(const QString& oldName, const QString& newName,
                                     bool noteMoved) {
    ShownNote& note = shownNote();
    if (!_notesTextView || note.name() != oldName)
        return;
    const NoteStore store = noteStore();
    // What the view holds is this recording's note under its new name, unless the note stayed
    // behind (with the recording it is shared with) and nothing was typed: then show its own.
    const bool viewHoldsItsNote = noteMoved || store.pathOf(oldName) == store.pathOf(newName) ||
                                  _notesTextView->document()->isModified();
    if (note.isLoading() || !viewHoldsItsNote)
        note.show(_notesTextView, store, newName);
    else
        note.follow(store, newName);
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
