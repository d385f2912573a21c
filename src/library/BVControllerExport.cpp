// Exporting recordings: the window's folder dialog with its format menu and the progress
// dialog, and the script command. What is exported and how is RecordingExport's.
#include "app/BVController.h"

#include "library/NoteStore.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "library/RecordingExport.h"
#include "platform/foundation/Beep.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/playlists/TrackTitle.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QProgressDialog>
#include <QStandardPaths>

namespace {
const QString kExportFormatKey = QStringLiteral("ExportFormat");

// The folder dialog with a menu of the formats below its file type row.
QComboBox* addFormatMenu(QFileDialog* panel, const std::vector<AudioEncoder>& formats) {
    auto* menu = new QComboBox(panel);
    menu->setObjectName(QStringLiteral("exportFormatMenu"));
    for (const AudioEncoder& format : formats)
        menu->addItem(QStringLiteral("%1 (.%2)").arg(format.title, format.extension), format.title);
    const int remembered = menu->findData(Defaults::standard().stringForKey(kExportFormatKey));
    menu->setCurrentIndex(remembered >= 0 ? remembered : 0);
    if (auto* grid = qobject_cast<QGridLayout*>(panel->layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(BVLocalizedString("ExportRecordingFormat"), panel), row, 0);
        grid->addWidget(menu, row, 1);
    }
    return menu;
}
} // namespace

bool BVController::isExporting() const {
    return _exportJob != nullptr;
}

void BVController::exportRecordings(QObject*) {
    if (_exportJob) {
        tellUser(BVLocalizedString("ExportRunning"));
        return;
    }
    if (!_fileListArrayController || _fileListArrayController->selectedObjects().empty()) {
        Beep();
        return;
    }
    const std::vector<AudioEncoder> formats = RecordingExport::formats();
    if (formats.empty()) {
        tellUser(BVLocalizedString("ExportNoFormats"));
        return;
    }
    auto* panel = new QFileDialog(mainWindow, BVLocalizedString("ExportRecordingPanel"));
    panel->setObjectName(QStringLiteral("exportRecordingPanel"));
    panel->setOption(QFileDialog::DontUseNativeDialog);
    panel->setOption(QFileDialog::ShowDirsOnly);
    panel->setFileMode(QFileDialog::Directory);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    panel->setDirectory(QFileInfo(music).isDir() ? music : QDir::homePath());
    QComboBox* menu = addFormatMenu(panel, formats);
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::finished, this, [this, panel, menu](int result) {
        const QString folder = panel->selectedFiles().value(0);
        if (result != QDialog::Accepted || folder.isEmpty())
            return;
        const QString title = menu->currentData().toString();
        Defaults::standard().setObject(title, kExportFormatKey);
        if (const auto format = RecordingExport::formatWithTitle(title))
            exportSelectionTo(folder, *format);
    });
    panel->open();
}

void BVController::exportSelectionTo(const QString& folder, const AudioEncoder& format) {
    if (!_fileListArrayController)
        return;
    // A script may have started one while the dialog was open.
    if (_exportJob) {
        tellUser(BVLocalizedString("ExportRunning"));
        return;
    }
    // What is typed in the note view counts: its first line is the comment.
    storeShownNote();
    const NoteStore notes = noteStore();
    std::vector<RecordingExport::Item> items;
    for (const auto& track : _fileListArrayController->selectedObjects())
        items.push_back({pathToRecordingsFolder() + QLatin1Char('/') + track->name(),
                         TrackTitle::ofFileName(track->name()),
                         RecordingExport::commentOfNote(notes, track->name())});
    startExport(std::move(items), {folder, QString(), true}, format, {});
}

void BVController::startExport(std::vector<RecordingExport::Item> items,
                               const RecordingExport::Target& target, const AudioEncoder& format,
                               std::function<void(const QString&)> done) {
    bvLog(QStringLiteral("exporting %1 recording(s) as %2 to %3")
              .arg(items.size())
              .arg(format.title, FilePath::fromString(target.folder).display()));
    _exportJob = new RecordingExportJob(std::move(items), target, format, this);
    auto* progress = new QProgressDialog(mainWindow);
    progress->setObjectName(QStringLiteral("exportProgress"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setRange(0, _exportJob->count());
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    connect(progress, &QProgressDialog::canceled, _exportJob, &RecordingExportJob::cancel);
    connect(_exportJob, &RecordingExportJob::progressChanged, progress,
            [progress](int index, int count, const QString& title) {
                progress->setLabelText(
                    BVLocalizedString("ExportingRecording").arg(title).arg(index + 1).arg(count));
                progress->setValue(index);
            });
    connect(
        _exportJob, &RecordingExportJob::finished, this,
        [this, progress, done](const QStringList& written, const QString& problem, bool cancelled) {
            progress->deleteLater();
            _exportJob->deleteLater();
            _exportJob = nullptr;
            for (const QString& path : written)
                bvLog(QStringLiteral("exported %1").arg(FilePath::fromString(path).display()));
            QString refusal = problem;
            if (cancelled) {
                bvLog(QStringLiteral("export cancelled"));
                refusal = BVLocalizedString("ImportCancelled");
            } else if (!problem.isEmpty()) {
                bvLog(QStringLiteral("export failed: %1").arg(problem));
                tellUser(problem);
            }
            if (done)
                done(refusal);
        });
    _exportJob->start();
    progress->show();
}

void BVController::exportRecording(const QString& name, const QString& path,
                                   std::function<void(const QString&)> done) {
    if (_exportJob)
        return done(BVLocalizedString("ExportRunning"));
    std::shared_ptr<QBVTrack> track;
    if (QString refusal = recordingForScript(name, &track); !refusal.isEmpty())
        return done(refusal);
    RecordingExport::Target target;
    AudioEncoder format;
    if (QString refusal = RecordingExport::targetOfFile(path, &target, &format); !refusal.isEmpty())
        return done(refusal);
    storeShownNote();
    startExport({{pathToRecordingsFolder() + QLatin1Char('/') + name, TrackTitle::ofFileName(name),
                  RecordingExport::commentOfNote(noteStore(), name)}},
                target, format, std::move(done));
}
