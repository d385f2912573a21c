// The library table's drag and drop: recordings leave as files, sound files dropped on the
// table are copied into the "Recordings" folder.
#include "library/QKArrayController.h"
#include "platform/foundation/LocalizedString.h"

#include "app/BVController.h"
#include "library/LibraryScanner.h"
#include "library/NoteStore.h"
#include "library/QBVTrack.h"
#include "platform/foundation/Log.h"
#include "platform/workspace/FileCopy.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QUrl>

#include <algorithm>

namespace {
const QStringList& acceptedExtensions() {
    static const QStringList extensions{QStringLiteral("mov"), QStringLiteral("mp3"),
                                        QStringLiteral("m4a")};
    return extensions;
}

QStringList droppedPaths(const QMimeData* pasteboard) {
    QStringList paths;
    for (const QUrl& url : pasteboard->urls()) {
        if (url.isLocalFile())
            paths << QDir::cleanPath(url.toLocalFile());
    }
    return paths;
}

void tellUserWhatWasLeftOut(QWidget* window, const QStringList& existing,
                            const QStringList& failed) {
    QStringList details;
    if (!existing.isEmpty()) {
        details
            << BVLocalizedString("DropAlreadyInLibrary").arg(existing.join(QLatin1String(", ")));
    }
    if (!failed.isEmpty())
        details << BVLocalizedString("DropCopyFailed").arg(failed.join(QLatin1String(", ")));
    auto* box = new QMessageBox(QMessageBox::Warning, BVLocalizedString("CFBundleName"),
                                BVLocalizedString("DropSomeNotCopied"), QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("dropCopyReport"));
    box->setInformativeText(details.join(QLatin1Char('\n')));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

// The names the dropped files get in "Recordings": their own, unless that would give a
// listed recording's note (Interview.mp3 beside Interview.mov) to the newcomer.
QStringList namesInLibrary(BVController& app, const QStringList& paths) {
    QStringList listed;
    for (const auto& track : app.fileList())
        listed << track->name();
    const NoteStore notes = app.noteStore();
    const FilePath recordings = FilePath::fromString(app.pathToRecordingsFolder());
    QStringList names;
    for (const QString& path : paths) {
        const QString wanted = QFileInfo(path).fileName();
        const QString name = notes.nameForNewRecording(wanted, listed, recordings);
        if (name != wanted)
            bvLog(QStringLiteral("copying %1 as %2: its note would be another recording's")
                      .arg(wanted, name));
        names << name;
        listed << name;
    }
    return names;
}

} // namespace

bool QKArrayController::tableViewWriteRowsWithIndexesToPasteboard(QBVTableView*,
                                                                  const QList<int>& rows,
                                                                  QMimeData* pasteboard) {
    BVController* app = BVController::sharedInstance();
    bvLog(QStringLiteral("fileList: ") + describeTracks(app ? app->fileList() : TrackList{}));
    const QString folder = app ? app->pathToRecordingsFolder() : QString();
    QList<int> ascending = rows;
    std::sort(ascending.begin(), ascending.end());
    ascending.erase(std::unique(ascending.begin(), ascending.end()), ascending.end());
    QStringList paths;
    QList<QUrl> urls;
    for (int row : ascending) {
        if (row < 0 || size_t(row) >= _arranged.size())
            continue;
        const QString path = folder + QLatin1Char('/') + _arranged[size_t(row)]->name();
        paths << path;
        urls << QUrl::fromLocalFile(path);
        bvLog(QStringLiteral("added path: ") + path);
    }
    bvLog(QStringLiteral("finished creating array..."));
    bvLog(QStringLiteral("paths: ") + describeStrings(paths));
    if (pasteboard) {
        pasteboard->clear();
        pasteboard->setUrls(urls);
    }
    return true;
}

Qt::DropAction QKArrayController::tableViewValidateDropProposedRowProposedDropOperation(
    QBVTableView* table, const DraggingInfo& info, int& row, TableViewDropOperation& operation) {
    // Rows dragged within the table are not dropped back on it.
    if (info.draggingSource && table &&
        (info.draggingSource == table || info.draggingSource == table->viewport()))
        return Qt::IgnoreAction;
    row = table && table->model() ? table->model()->rowCount() : int(_arranged.size());
    operation = TableViewDropOperation::Above;
    return Qt::CopyAction;
}

bool QKArrayController::tableViewAcceptDropRowDropOperation(QBVTableView*, const DraggingInfo& info,
                                                            int, TableViewDropOperation) {
    const QMimeData* pasteboard = info.draggingPasteboard;
    if (!pasteboard || !pasteboard->hasUrls())
        return true;
    const QStringList dropped = droppedPaths(pasteboard);
    bvLog(QStringLiteral("droppedFiles count: %1").arg(dropped.size()));
    bvLog(QStringLiteral("droppedFiles: ") + describeStrings(dropped));

    QStringList sources;
    QStringList names;
    for (const QString& path : dropped) {
        const QFileInfo file(path);
        if (!acceptedExtensions().contains(file.suffix())) // case-sensitive: "MOV" stays out
            continue;
        sources << path;
        names << file.fileName();
        bvLog(QStringLiteral("added file: ") + file.fileName());
    }
    if (sources.isEmpty())
        return true;
    bvLog(QStringLiteral("filesToCopy count: %1").arg(names.size()));
    bvLog(QStringLiteral("filesToCopy: ") + describeStrings(names));
    copyDroppedFiles(sources);
    return true;
}

void QKArrayController::copyDroppedFiles(const QStringList& paths) {
    BVController* app = BVController::sharedInstance();
    const QString destination = app ? app->pathToRecordingsFolder() : QString();
    // Each file is copied from its own folder.
    QStringList folders;
    for (const QString& path : paths) {
        const QString folder = QFileInfo(path).path();
        if (!folders.contains(folder)) {
            folders << folder;
            bvLog(QStringLiteral("source: ") + folder);
        }
    }
    bvLog(QStringLiteral("destination: ") + destination);
    bvLog(QStringLiteral("performing copy..."));

    auto* job = new FileCopyJob(paths, destination, this);
    if (app)
        job->setDestinationNames(namesInLibrary(*app, paths));
    ++_pendingCopies;
    if (QWidget* window = tableView ? tableView->window() : nullptr) {
        auto* progress =
            new QProgressDialog(BVLocalizedString("CopyingIntoLibrary", int(paths.size())),
                                BVLocalizedString("Cancel"), 0, 1000, window);
        progress->setObjectName(QStringLiteral("dropCopyProgress"));
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(500); // small copies end before it would show
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        progress->setValue(0);
        connect(progress, &QProgressDialog::canceled, job, &FileCopyJob::cancel);
        connect(job, &FileCopyJob::progressChanged, progress,
                [progress](qint64 copied, qint64 total) {
                    progress->setValue(total > 0 ? int(copied * 1000 / total) : 0);
                });
        connect(job, &FileCopyJob::finished, progress, &QObject::deleteLater);
    }
    connect(job, &FileCopyJob::finished, this, [this, job] { finishCopy(job); });
    job->start();
}

void QKArrayController::finishCopy(FileCopyJob* job) {
    QStringList existing;
    QStringList failed;
    for (const FileCopyJob::Result& result : job->results()) {
        const QString name = QFileInfo(result.source).fileName();
        switch (result.outcome) {
        case FileCopyJob::Outcome::Copied:
            break;
        case FileCopyJob::Outcome::Exists:
            existing << name;
            bvLog(QStringLiteral("not copied, already in the library: ") + result.source);
            break;
        case FileCopyJob::Outcome::NotAFile:
            bvLog(QStringLiteral("not copied, not a file: ") + result.source);
            break;
        case FileCopyJob::Outcome::Failed:
            failed << QStringLiteral("%1 (%2)").arg(name, result.error);
            bvLog(QStringLiteral("copy failed: %1 - %2").arg(result.source, result.error));
            break;
        case FileCopyJob::Outcome::Cancelled:
            bvLog(QStringLiteral("copy cancelled: ") + result.source);
            break;
        }
    }
    bvLog(QStringLiteral("copy completed"));
    --_pendingCopies;
    job->deleteLater();
    if (BVController* app = BVController::sharedInstance())
        app->updateFileList();
    if ((!existing.isEmpty() || !failed.isEmpty()) && tableView)
        tellUserWhatWasLeftOut(tableView->window(), existing, failed);
    emit dropCopyFinished();
}
