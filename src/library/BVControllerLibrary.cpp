// Library folders and file list: where the library is, its layout on disk, and the scans that
// turn the "Recordings" folder into the file list.
#include "app/BVController.h"

#include "library/LibraryScanner.h"
#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "library/QKFileSizeFormatter.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/media/MovieDuration.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kLocationPanelName = QStringLiteral("libraryLocationPanel");

// Fields in the order every scan fills them: name, category, size, date, duration.
std::shared_ptr<QBVTrack> makeTrack(const ScannedEntry& entry, const QString& category) {
    auto track = std::make_shared<QBVTrack>();
    track->setName(entry.name);
    track->setCategory(category);
    track->setSize(entry.size);
    track->setDate(entry.date);
    track->setDuration(entry.duration);
    return track;
}

} // namespace

void BVController::setDataDirectory(const QString& path) {
    QString folder = path;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    _dataDirectory = folder;
}

QString BVController::pathToRecordingsFolder() const {
    return _dataDirectory.isNull() ? QString() : _dataDirectory + QStringLiteral("/Recordings");
}

QString BVController::pathToNotesFolder() const {
    return _dataDirectory.isNull() ? QString() : _dataDirectory + QStringLiteral("/Notes");
}

QString BVController::firstUserCategory() const {
    return _categoriesDynamicItems.value(0);
}

void BVController::installSizeFormatter() {
    if (fileTableView) {
        fileTableView->setFormatterForColumn(QStringLiteral("size"),
                                             std::make_shared<QKFileSizeFormatter>());
    }
}

namespace {
// Like `mkdir -p`: a library under a music folder that does not exist yet is made whole.
void makeFolderWithParents(const QByteArray& path) {
    if (::mkdir(path.constData(), 0777) == 0 || errno != ENOENT)
        return;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0)
        return;
    makeFolderWithParents(path.left(slash));
    ::mkdir(path.constData(), 0777);
}
} // namespace

void BVController::setupLibraryFolder() {
    if (_dataDirectory.isNull())
        return;
    const struct {
        QString path;
        QString exists;
        QString creating;
    } folders[] = {
        {pathToLibraryFolder(), QStringLiteral("the library folder exists"),
         QStringLiteral("creating library folder")},
        {pathToRecordingsFolder(), QStringLiteral("the Recordings folder exists"),
         QStringLiteral("creating Recordings folder")},
        {pathToNotesFolder(), QStringLiteral("the Notes folder exists"),
         QStringLiteral("creating Notes folder")},
    };
    for (const auto& folder : folders) {
        if (QFileInfo::exists(folder.path)) {
            bvLog(folder.exists);
            continue;
        }
        bvLog(folder.creating);
        // A failure leaves the list empty rather than stopping; it is reported below.
        makeFolderWithParents(QFile::encodeName(folder.path));
    }
    const QString problem = libraryFolderProblem();
    if (!problem.isEmpty())
        tellUser(BVLocalizedString("LibraryFolderUnusable").arg(problem));
}

QString BVController::libraryFolderProblem() const {
    if (_dataDirectory.isNull())
        return {};
    for (const QString& path : {pathToLibraryFolder(), pathToRecordingsFolder()}) {
        struct stat info = {};
        const QByteArray name = QFile::encodeName(path);
        int error = 0;
        if (::stat(name.constData(), &info) != 0)
            error = errno;
        else if (!S_ISDIR(info.st_mode))
            error = ENOTDIR;
        else if (::access(name.constData(), W_OK | X_OK) != 0)
            error = errno;
        if (error != 0)
            return QStringLiteral("%1 (%2)").arg(path,
                                                 QString::fromLocal8Bit(std::strerror(error)));
    }
    return {};
}

void BVController::initializeFileListArray() {
    _fileList.clear();
    std::vector<ScannedEntry> entries = scanRecordingsFolder(pathToRecordingsFolder());
    repairUnfinishedRecordings(entries);
    for (const ScannedEntry& entry : entries) {
        if (entry.kind != ScannedEntry::File) {
            logSkippedEntry(entry);
            continue;
        }
        _fileList.push_back(makeTrack(entry, firstUserCategory()));
    }
}

void BVController::updateFileList() {
    QSet<QString> listed;
    listed.reserve(qsizetype(_fileList.size()));
    for (const auto& track : _fileList)
        listed.insert(track->name());
    // Listed names are passed over silently: their tracks are not refreshed, and tracks whose
    // files have gone stay.
    std::vector<ScannedEntry> entries = scanRecordingsFolder(pathToRecordingsFolder(), listed);
    repairUnfinishedRecordings(entries);
    for (const ScannedEntry& entry : entries) {
        if (entry.kind != ScannedEntry::File) {
            logSkippedEntry(entry);
            continue;
        }
        const auto track = makeTrack(entry, firstUserCategory());
        // Added through the list controller, which appends it to the file list it serves.
        if (_fileListArrayController && _fileListArrayController->content() == &_fileList)
            _fileListArrayController->addObject(track);
        else
            _fileList.push_back(track);
        bvLog(QStringLiteral("adding one file to list..."));
    }
    if (_fileListArrayController)
        _fileListArrayController->rearrangeObjects();
}

void BVController::syncLibraryLocationToPreferencesWindow() {
    if (!_libraryLocationMenu)
        return;
    if (_libraryLocationMenu->count() == 0)
        _libraryLocationMenu->addItem(QString());
    const QString folder = pathToLibraryFolder();
    const QString name = QFileInfo(folder).fileName();
    _libraryLocationMenu->setItemText(0, name.isEmpty() ? folder : name);
    _libraryLocationMenu->setItemData(0, folder, Qt::ToolTipRole);
    _libraryLocationMenu->setCurrentIndex(0);
}

void BVController::doSetDataDirectory(QObject*) {
    if (_preferencesPanel) {
        if (auto* open = _preferencesPanel->findChild<QFileDialog*>(kLocationPanelName)) {
            open->raise();
            open->activateWindow();
            return;
        }
    }
    const QFileInfo current(pathToLibraryFolder());
    auto* panel =
        new QFileDialog(_preferencesPanel, BVLocalizedString("Select"), current.absolutePath());
    panel->setObjectName(kLocationPanelName);
    panel->setFileMode(QFileDialog::Directory);
    panel->setOption(QFileDialog::ShowDirsOnly, true);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setLabelText(QFileDialog::Accept, BVLocalizedString("Select"));
    panel->setWindowModality(Qt::WindowModal);
    panel->selectFile(current.fileName());
    connect(panel, &QFileDialog::finished, this, [this, panel](int result) {
        const QString chosen = panel->selectedFiles().value(0);
        panel->setObjectName(QString()); // a new panel may open while this one goes
        panel->deleteLater();
        locationOpenPanelDidEndReturnCodeContextInfo(chosen, result == QDialog::Accepted ? 1 : 0,
                                                     nullptr);
    });
    panel->open();
}

void BVController::locationOpenPanelDidEndReturnCodeContextInfo(const QString& chosenPath,
                                                                int returnCode, void*) {
    if (returnCode == 1 && !chosenPath.isEmpty()) {
        // The chosen folder itself becomes the library; the previous one stays as it was.
        // Its categories come from its own database, read as at launch.
        unloadCategories();
        setDataDirectory(QDir::cleanPath(QFileInfo(chosenPath).absoluteFilePath()));
        setupLibraryFolder();
        // New recordings go to this library's journal from now on, as after a launch.
        repairInterruptedRecordings();
        initializeFileListArray();
        if (_fileListArrayController)
            _fileListArrayController->setContent(&_fileList);
        loadCategories();
    }
    syncLibraryLocationToPreferencesWindow();
    if (_preferencesPanel) {
        if (auto* panel = _preferencesPanel->findChild<QFileDialog*>(kLocationPanelName))
            panel->close();
        _preferencesPanel->show();
        _preferencesPanel->raise();
        _preferencesPanel->activateWindow();
    }
}

float BVController::getMovieDuration(const QString& path) {
    return MovieDuration::durationOfFile(path);
}
