#include "app/BVController.h"

#include "app/Application.h"
#include "app/DesktopNotices.h"
#include "itunes/QKTunesController.h"
#include "itunes/SyncCoordinator.h"
#include "library/BVMovieDurationFormatter.h"
#include "library/LibraryScanner.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/ValueTransformer.h"
#include "platform/media/MovieDuration.h"
#include "platform/media/PlaybackCheck.h"
#include "platform/movie/MovieRepair.h"
#include "platform/movie/RecordingJournal.h"
#include "recording/QKRecorder.h"

#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <sys/stat.h>

const QString sPreferencesKeyTwoWaySyncing = QStringLiteral("Do Two-Way Sync");
const QString sPreferencesKeySafeDelete = QStringLiteral("Move Files to Trash");
const QString sPreferencesKeyiTunesEncoding = QStringLiteral("iTunes Encoding");
const QString sPreferencesKeyPlaylistName = QStringLiteral("iTunes Playlist");
const QString sPreferencesKeyLibraryLocation = QStringLiteral("Library Location");
const QString sPreferencesKeyCategories = QStringLiteral("User Categories");

namespace {
BVController* sSharedInstance = nullptr;
BVController::RecorderFactory& recorderFactory() {
    static BVController::RecorderFactory factory;
    return factory;
}
} // namespace

void BVController::initialize() {
    static bool done = false;
    if (done)
        return;
    done = true;
    Defaults::standard().registerDefaults({
        {sPreferencesKeySafeDelete, QStringLiteral("YES")},
        {sPreferencesKeyPlaylistName, QStringLiteral("Brevoir")},
        {sPreferencesKeyTwoWaySyncing, QStringLiteral("NO")},
        {sPreferencesKeyCategories, QStringList{"General", "Home", "Work"}},
    });
    // Menu items titled "-" become separators: handled where menus are built (categories).
    ValueTransformer::setValueTransformerForName(std::make_shared<BVMovieDurationFormatter>(),
                                                 QStringLiteral("BVMovieDurationFormatter"));
}

BVController* BVController::sharedInstance() {
    return sSharedInstance;
}

void BVController::setRecorderFactory(RecorderFactory factory) {
    recorderFactory() = std::move(factory);
}

BVController::BVController() {
    _recorder = recorderFactory() ? recorderFactory()() : QKRecorder::create();
    followRecorderState();
    try {
        _iTunesController = std::make_unique<QKTunesController>();
    } catch (const std::runtime_error& problem) {
        // Without its playlist component the application runs without sync.
        bvLog(QString::fromUtf8(problem.what()));
    }

    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QKRecorderRecordingDidStop,
                       [this](const Notification& n) { handleRecordingDidStop(n); });
    center.addObserver(this, QKRecorderRecordingStatusUpdate,
                       [this](const Notification& n) { handleRecordingStatusUpdate(n); });
    center.addObserver(this, QStringLiteral("QBVTrackNameChangedNotification"),
                       [this](const Notification& n) { handleTrackNameChanged(n); });
    center.addObserver(this, QStringLiteral("QBVTrackCategoryChangedNotification"),
                       [this](const Notification& n) { handleTrackCategoryChanged(n); });
    center.addObserver(this, QStringLiteral("QBVTrackCategorySaveChangeNotification"),
                       [this](const Notification&) { scheduleCategoriesSave(); });
    center.addObserver(this, QStringLiteral("NSTableViewSelectionDidChangeNotification"),
                       [this](const Notification& n) { handleChangeInTableSelection(n); });
    center.addObserver(this, QStringLiteral("NSTableViewSelectionIsChangingNotification"),
                       [this](const Notification& n) { handleChangingTableSelection(n); });
    center.addObserver(this, QKRecorderCaptureProblem,
                       [this](const Notification& n) { handleCaptureProblem(n); });
    center.addObserver(this, QKRecorderVoiceDetected,
                       [this](const Notification&) { handleVoiceDetected(); });
    center.addObserver(this, QKRecorderSilenceDetected,
                       [this](const Notification&) { handleSilenceDetected(); });
    _notices = new DesktopNotices(*this);

    sSharedInstance = this;
}

BVController::~BVController() {
    bvLog(QStringLiteral("BVController - dealloc"));
    setDataDirectory(QString());
    _fileList.clear();
    // A sync still running stops before the bridge goes, and tells nobody here.
    if (_syncCoordinator)
        disconnect(_syncCoordinator.get(), nullptr, this, nullptr);
    _syncCoordinator.reset();
    _iTunesController.reset();
    _currentlyPlayingImage.reset();
    _recorder.reset();
    NotificationCenter::defaultCenter().removeObserver(this);
    if (sSharedInstance == this)
        sSharedInstance = nullptr;
}

void BVController::setRecorderForTesting(std::unique_ptr<QKRecorder> recorder) {
    _recorder = std::move(recorder);
    followRecorderState();
}

void BVController::followRecorderState() {
    // Pausing and resuming change no control of ours, but the words and the title follow.
    if (_recorder)
        connect(_recorder.get(), &QKRecorder::stateChanged, this, [this] { showRecordingState(); });
}

void BVController::awakeFromNib() {
    // The search field and the time display live in the toolbar; take them out of the window.
    if (searchField && searchField->parentWidget() && searchField->parentWidget()->layout())
        searchField->parentWidget()->layout()->removeWidget(searchField);
    if (timerView && timerView->parentWidget() && timerView->parentWidget()->layout())
        timerView->parentWidget()->layout()->removeWidget(timerView);
    IsBVRecording = false;
    if (mainWindow)
        buildToolbar();
    installSizeFormatter();
    restrictTimerFields();
    watchMainWindow();
    showRecordingState();
}

void BVController::setStatusDisplayHidden(bool hidden) {
    _statusDisplayHidden = hidden;
    updateStatusWatched();
}

void BVController::applicationDidFinishLaunching() {
    // A quit asked for while launching (SIGTERM) ends the launch at the next step.
    const std::atomic<bool>& quit = *Application::quitRequest();
    PrefRestore(this);
    setupLibraryFolder();
    // Recordings that a crash interrupted are completed before the library is scanned.
    repairInterruptedRecordings(&quit);
    if (quit.load())
        return;
    initializeFileListArray();
    if (quit.load())
        return;
    if (_fileListArrayController)
        _fileListArrayController->setContent(&_fileList);
    loadCategories();
    // What waits for its moment or for sound, once the library is ready to take recordings.
    restoreSchedule();
    restoreVoiceActivation();
}

void BVController::repairInterruptedRecordings(const std::atomic<bool>* stop) {
    reportRepairs(MovieRepair::repairAtLaunch(
        FilePath::fromString(pathToRecordingsFolder()).bytes(),
        (FilePath::fromString(pathToLibraryFolder()) / QLatin1String(RecordingJournal::kFileName))
            .bytes(),
        stop));
}

void BVController::repairUnfinishedRecordings(std::vector<ScannedEntry>& entries) {
    // A file that measures nothing may be an interrupted recording brought in from elsewhere
    // (the journal only knows this library's own recordings): it is checked now. One being
    // recorded is locked and passed over.
    MovieRepair::Report found;
    const FilePath folder = FilePath::fromString(pathToRecordingsFolder());
    for (ScannedEntry& entry : entries) {
        if (entry.kind != ScannedEntry::File || entry.duration > 0 ||
            _recordingsLeftAlone.contains(entry.name))
            continue;
        const MovieRepair::Report one =
            MovieRepair::repairFile(folder.bytes(), FileNames::encode(entry.name));
        found.repaired += one.repaired;
        found.leftAlone += one.leftAlone;
        if (!one.repaired.isEmpty()) {
            entry.duration = MovieDuration::durationOfFile((folder / entry.name).toString());
            struct stat info;
            if (::stat((folder / entry.name).c_str(), &info) == 0)
                entry.size = quint64(info.st_size);
        }
    }
    reportRepairs(found);
}

void BVController::reportRepairs(const MovieRepair::Report& repair) {
    // "Recovered" is said only of a file that now plays for as long as it says; the user learns
    // what a crash cost and what came back, not only the log.
    QStringList recovered;
    QList<MovieRepair::LeftAlone> leftAlone = repair.leftAlone;
    const FilePath folder = FilePath::fromString(pathToRecordingsFolder());
    for (const QByteArray& name : repair.repaired) {
        const QString file = FileNames::decode(name);
        const PlaybackCheck::Result played =
            PlaybackCheck::check(folder.childBytes(name).toString());
        if (!played.plays) {
            bvLog(QStringLiteral("repaired recording still does not play: %1 (%2)")
                      .arg(FileNames::displayName(file), played.problem));
            leftAlone.append(
                {name, BVLocalizedString("NotRecoveredStillBroken").arg(played.problem)});
            continue;
        }
        recovered << QStringLiteral("%1 (%2 s)")
                         .arg(FileNames::displayName(file),
                              QString::number(played.reportedSeconds, 'f', 2));
    }
    if (!recovered.isEmpty()) {
        tellUser((recovered.size() == 1 ? BVLocalizedString("RecoveredOneRecording")
                                        : BVLocalizedString("RecoveredRecordings"))
                     .arg(recovered.size())
                     .arg(recovered.join(QStringLiteral(", "))));
    }
    for (const MovieRepair::LeftAlone& file : leftAlone)
        _recordingsLeftAlone.insert(FileNames::decode(file.name));
    if (!leftAlone.isEmpty())
        tellUser(tr("Some recordings could not be repaired and were left as they are: %1")
                     .arg(MovieRepair::describe(leftAlone)));
}

void BVController::applicationWillTerminate() {
    // A sync stops at once; the file it was writing is removed.
    cancelSync(true);
    // A recording still running is completed first, so that quitting never loses it.
    if (_recorder && _recorder->isRecording())
        _recorder->doStop();
    // What was typed into the note view is kept, as when the selection moves on.
    storeShownNote();
    PrefSaveAction(this);
    saveCategories();
    RecordingJournal::endRun();
}
