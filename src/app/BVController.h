#pragma once

#include "library/NoteFormats.h"
#include "library/RecordingExport.h"
#include "recording/RecordingSchedule.h"
#include "recording/VoiceActivation.h"

#include <QCache>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BVMovieView;
class CategoryDatabase;
class LevelHistoryView;
class QAction;
class QSplitter;
class QToolBar;
class MainInterface;
class NoteStore;
class ShownNote;
class QBVTableView;
class QBVTrack;
class QCheckBox;
class QComboBox;
class QDialog;
class QKArrayController;
class QKRecorder;
class MessageBar;
class QKTunesController;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPixmap;
class QProgressBar;
class QPushButton;
class QSlider;
class QTableView;
class QTextEdit;
class QTimer;
class QWidget;
class SyncCoordinator;
class DesktopNotices;
class RecordingTermsFields;
struct Notification;
struct ScannedEntry;
namespace MovieRepair {
struct Report;
}

// Preference keys.
extern const QString sPreferencesKeyTwoWaySyncing;   // "Do Two-Way Sync"
extern const QString sPreferencesKeySafeDelete;      // "Move Files to Trash"
extern const QString sPreferencesKeyiTunesEncoding;  // "iTunes Encoding"
extern const QString sPreferencesKeyPlaylistName;    // "iTunes Playlist"
extern const QString sPreferencesKeyLibraryLocation; // "Library Location"
extern const QString sPreferencesKeyCategories;      // "User Categories"

// Toolbar items that show a widget of the window.
extern const QString Item8ToolbarItemIdentifier;  // "Search"
extern const QString Item10ToolbarItemIdentifier; // "Time"

// The application controller: the hub that owns the recorder, the file list and every window
// and control of the interface. One per process. Its operations live in the folder of the
// subsystem they belong to (recording/, library/, playback/, app/ ...).
class BVController : public QObject {
    Q_OBJECT

public:
    // ---- app/: class set-up, creation, launch and quit ----
    static void initialize(); // class set-up; runs once, before the first instance
    static BVController* sharedInstance();
    // How init makes the recorder (tests put one on a fake capture layer); unset: the real one.
    using RecorderFactory = std::function<std::unique_ptr<QKRecorder>()>;
    static void setRecorderFactory(RecorderFactory factory);

    BVController();
    ~BVController() override;

    void awakeFromNib();
    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    // Completes the library's recordings that a crash interrupted (checking them all only when
    // the library's recording journal says one may be) and names those it left alone. A set
    // *stop ends it between two files.
    void repairInterruptedRecordings(const std::atomic<bool>* stop = nullptr);
    // The same for files a scan found that measure nothing (interrupted recordings copied in
    // from elsewhere): repaired where they can be, measured again, and the user told.
    void repairUnfinishedRecordings(std::vector<ScannedEntry>& entries);
    std::vector<std::shared_ptr<QBVTrack>>& fileList() { return _fileList; }

    // A library folder given on the command line: used for this run instead of the stored one,
    // and not stored.
    void setLibraryFolderOverride(const QString& path) { _libraryFolderOverride = path; }

    // ---- app/: preferences ----
    void PrefSaveAction(QObject* sender);
    void PrefRestore(QObject* sender);
    // Saved settings name an input that is not plugged in: says which one records instead.
    void tellAboutMissingInput();
    void setPlaylistName(QObject* sender);

    // ---- recording/: recording control ----
    void startRecording(QObject* sender);
    void pauseRecording(QObject* sender);
    void snipFile(QObject* sender);
    void togglePreview(QObject* sender);
    void showSoundSettings(QObject* sender);
    void handleRecordingDidStop(const Notification& notification);
    QString recordingStartFailureMessage() const;

    // ---- recording/: the input's gain on the sound server ----
    // 1.0 = 100 %; none when the input has no volume the sound server controls.
    std::optional<double> inputGain();
    // For the slider and scripts: why it was refused, or empty once set.
    QString setInputGainTo(double gain);
    void setInputGain(QObject* sender); // the recording area's slider
    // The slider follows the input's gain (changed here, in the mixer, by another input).
    void showInputGain();

    // ---- app/: what the user is told ----
    // A problem the user has to act on: its topic (a later message of the topic replaces an
    // earlier one, and resolving the topic takes it away) and what the message bar offers.
    struct UserProblem {
        enum class Remedy { None, ChooseLibraryFolder, OpenSoundSettings, StopMonitoringAndRecord };
        enum class Weight { Error, Warning, Information };
        QString topic;
        Remedy remedy = Remedy::None;
        Weight weight = Weight::Error;
    };
    static const QString LibraryFolderProblem; // the library folder cannot take recordings
    static const QString SoundInputProblem;    // the input cannot be recorded or monitored
    static const QString RecordingProblem;     // a recording could not start or went wrong
    // A passing message: the status bar shows it, wrapped, for as long as it takes to read it
    // (and the log keeps it).
    void tellUser(const QString& message);
    // A problem: the window's message bar shows it with the action that mends it until it is
    // resolved or dismissed. Without a window it goes to the status bar like any message.
    void tellUser(const QString& message, const UserProblem& problem);
    void problemResolved(const QString& topic);

    // ---- recording/: status display and timer ----
    void handleRecordingStatusUpdate(const Notification& notification);
    QString formatTimingString(int32_t ticks);
    void showTimerWindow(QObject* sender);
    void closeTimerWindow(QObject* sender);
    // The sheet's Cancel: the fields, the check box and the timer as they were when it opened.
    void cancelTimerWindow(QObject* sender);
    void setTimer(QObject* sender);
    void toggleTimer(QObject* sender);
    // The stored timer at launch: its fields are already in place; on is the stored toggle.
    void restoreTimer(bool on);
    void restrictTimerFields();

    // ---- recording/: a scheduled start ----
    // Arms a recording to start at `start` and last `lengthSeconds` (0: as the timer says);
    // answers why not, or empty. Kept in the preferences until it starts or is cancelled.
    QString scheduleRecording(const QDateTime& start, double lengthSeconds);
    void cancelSchedule();
    std::optional<RecordingSchedule::Plan> scheduledRecording() const;
    // At launch: arms the stored schedule, or tells that its moment passed meanwhile.
    void restoreSchedule();
    RecordingSchedule& recordingSchedule();
    // The timer sheet's OK: applies its start and voice activation fields, or says in the
    // sheet why not (false).
    bool applyTermsFields();

    // ---- recording/: voice activation ----
    // Applies and stores the settings (listening starts or stops); answers why not, or empty.
    QString setVoiceActivation(const VoiceActivation::Settings& settings);
    const VoiceActivation::Settings& voiceActivation() const { return _voiceActivation; }
    void restoreVoiceActivation();
    void handleVoiceDetected();
    void handleSilenceDetected();

    // ---- recording/: scripting additions ----
    void handleStartRecordingCommand(QObject* command);
    void handleStopRecordingCommand(QObject* command);
    void handlePauseRecordingCommand(QObject* command);
    void handleSnipRecordingCommand(QObject* command);
    // For scripts that want to know what happened: starts a recording (or finds the running
    // one) and puts its file in *path; answers why it could not start, or empty.
    QString startRecordingForScript(QString* path);
    // Stops the running recording and puts its complete file in *path; answers false when
    // none runs.
    bool stopRecordingForScript(QString* path);

    // ---- library/: folders and file list ----
    QString dataDirectory() const { return _dataDirectory; }
    void setDataDirectory(const QString& path);
    QString pathToLibraryFolder() const { return _dataDirectory; }
    QString pathToRecordingsFolder() const;
    QString pathToNotesFolder() const;
    void setupLibraryFolder();
    // Makes the library's folders again when they went missing since; a folder that cannot be
    // made is reported as at launch.
    void ensureLibraryFolder();
    // Why the library cannot take recordings ("PATH (reason)"), or empty.
    QString libraryFolderProblem() const;
    void initializeFileListArray();
    void updateFileList();
    // The "Recordings" folder changed under us (another program copied or removed files):
    // files that vanished leave the list, new ones are listed once whole.
    void handleRecordingsFolderChange();
    void syncLibraryLocationToPreferencesWindow();
    void doSetDataDirectory(QObject* sender);
    void locationOpenPanelDidEndReturnCodeContextInfo(const QString& chosenPath, int returnCode,
                                                      void* contextInfo);
    float getMovieDuration(const QString& path);

    // ---- library/: track operations and notes ----
    void revealInFinder(QObject* sender);
    void deleteFile(QObject* sender);
    // The delete confirmation's end: returnCode 1 deletes the tracks it carried.
    void sheetDidEndReturnCodeContextInfo(QWidget* sheet, int returnCode,
                                          const std::vector<std::shared_ptr<QBVTrack>>& tracks);
    void handleTrackNameChanged(const Notification& notification);
    void handleChangeInTableSelection(const Notification& notification);
    void handleChangingTableSelection(const Notification& notification);
    void exportNote(QObject* sender);
    // The export panel's end: returnCode 1 writes the note view's content to `path` in the
    // format of the chosen name filter.
    void exportSavePanelDidEndReturnCodeContextInfo(const QString& path, int returnCode,
                                                    const QString& nameFilter);
    // Starts editing the first selected track's name in the list.
    void renameSelection(QObject* sender);
    // Stores the note shown in the note view (on quit and when the window closes), under the
    // rule that an emptied note is never written.
    void storeShownNote();
    // The library's notes, and the note view's side of them.
    NoteStore noteStore() const;
    ShownNote& shownNote();

    // The same operations for scripts, by recording name. Each answers why it was refused, or
    // an empty string when it was done.
    QString renameRecording(const QString& oldName, const QString& newName);
    QString deleteRecording(const QString& name);
    // Notes answer through `answer` (why refused, or empty; and the note's text): at once for
    // small notes, later through the event loop for large ones, which are read and written
    // on the note worker so that the window keeps drawing.
    using NoteAnswer = std::function<void(const QString& refusal, const QString& note)>;
    void noteOfRecording(const QString& name, const QString& format, NoteAnswer answer);
    void setNoteOfRecording(const QString& name, const QString& content, const QString& format,
                            NoteAnswer answer);

    // ---- library/: time stamps in notes ----
    // The recording being recorded (else played) and the place in it, in seconds.
    struct Place {
        QString recording;
        double seconds = 0;
    };
    std::optional<Place> placeForTimeStamp() const;
    // Ctrl+M and the format bar's button: the place as a link at the note's cursor (or on a
    // line of its own, when another note is on show); why not, or empty.
    QString insertTimeStamp();
    // For scripts: a line "[00:12:31] text" at the end of the running recording's note; the
    // answer carries the line.
    void markRunningRecording(const QString& text, NoteAnswer answer);
    // A time stamp clicked in the note on show: plays its recording from there.
    void playFromTimeStamp(double seconds);

    // ---- categories/: the category store and "Database.plist" (CategoryDatabase) ----
    // Reads the library's database, makes the user list and the fixed entries, builds the
    // Categories menu and files the listed tracks.
    void loadCategories();
    // Writes the database now; answers why it could not, or empty.
    QString saveCategories();
    // A track's category changed: the database is written once control returns to the event
    // loop, so that a burst of assignments writes once.
    void scheduleCategoriesSave();
    // Before another library is opened: the pending write goes to this one, and the lists go.
    void unloadCategories();
    // Track name (exact: FileNames form) -> category, for every track that has one.
    QVariantMap mapTracksToCategories() const;
    void restoreCategoriesToTracks(const QVariantMap& mappings);
    int32_t countOfCategories() const;
    QString objectInCategoriesAtIndex(uint32_t index) const;
    // The user list followed by the fixed entries: what the category pop-up offers.
    QStringList categories() const;
    QStringList userCategories() const { return _categoriesDynamicItems; }

    // ---- categories/: the Categories menu and the editor ----
    void buildCategoriesMenu();
    // Checks the first selected recording's category and enables the items only while a
    // recording is selected.
    void validateCategoriesMenu();
    void changeCategory(QObject* sender);
    void editCategories(QObject* sender);
    void endEditCategories(QObject* sender);
    void addCategory(QObject* sender);
    void removeCategory(QObject* sender);
    int32_t numberOfRowsInTableView(QTableView* table) const;
    QString tableViewObjectValueForTableColumnRow(QTableView* table, int column, int row) const;
    void tableViewSetObjectValueForTableColumnRow(QTableView* table, const QString& value,
                                                  int column, int row);
    void handleTrackCategoryChanged(const Notification& notification);
    // For scripts: files a recording under one of the user's categories and writes the
    // database; answers why it was refused, or an empty string.
    QString setCategoryOfRecording(const QString& name, const QString& category);

    // ---- library/: export ----
    // File > Export Recording...: the selected recordings, converted into a folder the user
    // chooses, in the format chosen there (remembered).
    void exportRecordings(QObject* sender);
    // For scripts: converts `name` to exactly `path`, in the format of its extension; `done`
    // gets the refusal or why it failed, or an empty text once the file is written.
    void exportRecording(const QString& name, const QString& path,
                         std::function<void(const QString&)> done);
    bool isExporting() const;

    // ---- itunes/: sync ----
    // Copies the recordings the playlist lacks into it (the toolbar's and the menu's Sync, and
    // the script command); a refusal is told with syncRefused, the end with syncFinished.
    void handleSync(QObject* sender);
    // Starts a sync: why it was refused, or empty once it has started.
    QString syncRecordings();
    bool isSyncing() const;
    // What the running sync does, in English, for scripts; empty when none runs.
    QString syncProgress() const;
    // What may be synced, and the running sync (made on first use).
    SyncCoordinator& syncCoordinator();
    // Stops a running sync after the file in hand, or at once (quit), waiting for it.
    void cancelSync(bool immediately);
    // The playlist's track titles; none when it holds none.
    std::optional<QStringList> getTracksForPlaylist(const QString& name);
    QString fullUnixPathToAppleScriptPath(const QString& path);
    void iTunesOpenApplication(QObject* sender);
    void handleSyncItunesCommand(QObject* command);

    // ---- playback/: the player ----
    void soundPlayPause(QObject* sender);
    void soundDoubleClick(QObject* sender);
    void tableAction(QObject* sender);
    void soundStop(QObject* sender);
    void playFile(QObject* sender);
    // Tells the desktop what ended while the window was not looked at.
    DesktopNotices* notices() const { return _notices; }
    // Selects the recording `name` and plays it from `fromSeconds` (a notice's Play, a note's
    // time stamp); false when it is not listed or cannot be played.
    bool playRecording(const QString& name, double fromSeconds = 0);
    void doIdleProcessing(QTimer* timer);
    BVMovieView* qtPlayer() const { return _qtPlayer; }
    const QPixmap* currentlyPlayingImage();
    QUrl previouslyPlayedURL() const { return _previouslyPlayedURL; }
    void setPreviouslyPlayedURL(const QUrl& url);

    // ---- app/: toolbar and window ----
    QStringList toolbarDefaultItemIdentifiers() const;
    QStringList toolbarAllowedItemIdentifiers() const;
    QAction* toolbarItemForItemIdentifier(QToolBar* toolbar, const QString& identifier,
                                          bool willBeInserted = true);
    bool validateToolbarItem(QAction* item);
    // Enables and relabels the toolbar's items from the recording and playback state.
    void validateToolbar();
    QToolBar* toolbar() const { return _toolbar; }
    void runToolbarCustomizationPalette(QObject* sender);
    // The split view's delegate: the lower pane keeps its height, the upper one takes the rest.
    void splitViewResizeSubviewsWithOldSize(QSplitter* splitView, QSize oldSize);

    // ---- app/: About, help and mail ----
    void showAboutBox(QObject* sender);
    void launchHelp(QObject* sender);
    void emailFriend(QObject* sender);

    // Set when the application runs without a window: statuses are then not drawn and the
    // toolbar, which nobody sees, is not revalidated.
    void setStatusDisplayHidden(bool hidden);

    // Read by the toolbar validation and the scripting state.
    bool IsBVRecording = false;

signals:
    // The recording or playback state changed: menus follow the toolbar.
    void interfaceStateChanged();

signals:
    // A sync has ended: problem is empty, or what went wrong (or that it was cancelled).
    void syncFinished(const QString& problem);
    // A sync was asked for and could not start.
    void syncRefused(const QString& reason);

public: // outlets, connected by the interface (MainInterface::connectOutlets)
    QDialog* timerWindow = nullptr;
    QMainWindow* mainWindow = nullptr;
    QWidget* timerView = nullptr;
    QDialog* _preferencesPanel = nullptr;
    QDialog* _categoriesPanel = nullptr;
    QComboBox* _libraryLocationMenu = nullptr;
    QComboBox* _encodingSelectionMenu = nullptr;
    QLineEdit* _iTunesPlaylistName = nullptr;
    QBVTableView* fileTableView = nullptr;
    QLineEdit* searchField = nullptr;
    QLineEdit* _hourField = nullptr;
    QLineEdit* _minuteField = nullptr;
    QLineEdit* _secondField = nullptr;
    QTextEdit* _notesTextView = nullptr;
    QKArrayController* _fileListArrayController = nullptr;
    QPushButton* _settingsButton = nullptr;
    QPushButton* _pauseRecordingButton = nullptr;
    QPushButton* _recordingButton = nullptr;
    QPushButton* _snipButton = nullptr;
    QPushButton* _previewButton = nullptr;
    QPushButton* _buttonPlayPause = nullptr;
    QPushButton* _timerButton = nullptr;
    QCheckBox* _timerCheckBox = nullptr;
    RecordingTermsFields* _termsFields = nullptr; // the timer sheet's start and voice fields
    BVMovieView* _qtPlayer = nullptr;
    QLabel* _displayView = nullptr;
    QLabel* _statusText = nullptr;
    QLabel* _stateText = nullptr; // the state in words beside the clock
    QSlider* _inputGainSlider = nullptr;
    LevelHistoryView* _levelHistory = nullptr;
    QLabel* _inputGainText = nullptr;
    MessageBar* _messageBar = nullptr;
    QTableView* _categoriesTable = nullptr;
    QLabel* _syncStatusText = nullptr;
    QDialog* _syncStatusPanel = nullptr;
    QProgressBar* _syncStatusProgress = nullptr;

    // The recorder, or none when the sound input could not be set up.
    QKRecorder* recorder() const { return _recorder.get(); }

    // Replaces the recorder (tests inject one on a fake capture layer).
    void setRecorderForTesting(std::unique_ptr<QKRecorder> recorder);

private:
    std::vector<std::shared_ptr<QBVTrack>> _fileList;
    std::unique_ptr<QKRecorder> _recorder;
    std::unique_ptr<QKTunesController> _iTunesController;
    QString _dataDirectory;
    QStringList _categoriesStaticItems;
    QStringList _categoriesDynamicItems;
    CategoryDatabase* _categoryDatabase = nullptr; // a child, made when categories first load
    void reloadCategoriesTable();
    // Removes a category of the user list, its recordings going to the first one.
    void removeCategoryNamed(const QString& name);
    std::unique_ptr<QPixmap> _currentlyPlayingImage;
    QUrl _previouslyPlayedURL;
    QString _libraryFolderOverride;
    bool _statusDisplayHidden = false;
    QToolBar* _toolbar = nullptr;

    void buildToolbar();
    void followRecorderState();

    // ---- itunes/: what may be synced, and the running sync ----
    std::unique_ptr<SyncCoordinator> _syncCoordinator;
    void finishSync(const QString& problem);

    // ---- library/: the running export ----
    RecordingExportJob* _exportJob = nullptr; // a child while it runs
    void exportSelectionTo(const QString& folder, const AudioEncoder& format);
    void startExport(std::vector<RecordingExport::Item> items,
                     const RecordingExport::Target& target, const AudioEncoder& format,
                     std::function<void(const QString&)> done);

    // ---- library/: track operation helpers ----
    // The listed track of a name a script gave, or why there is none.
    QString recordingForScript(const QString& name, std::shared_ptr<QBVTrack>* track);
    // The same, with the note format a script named.
    QString noteRequestForScript(const QString& name, const QString& formatName,
                                 std::optional<NoteFormats::Format>* format,
                                 std::shared_ptr<QBVTrack>* track);
    // Why the track's file may not be renamed or deleted now (it is being recorded or
    // played), or empty.
    QString busyReason(const QBVTrack& track, bool forDelete) const;
    // Removes the track from the list and its recording, then its note, from the library;
    // answers why the recording could not go (its note then stays), or empty.
    QString deleteTrack(const std::shared_ptr<QBVTrack>& track);
    // After a rename: the note view follows the renamed recording's note.
    void followRenamedNote(const QString& oldName, const QString& newName, bool noteMoved);
    QString _lastRenameRefusal;
    ShownNote* _shownNote = nullptr; // made when first needed

    // Tells the user which recordings came back (only those that now play as long as they
    // say) and which were left as they are.
    void reportRepairs(const MovieRepair::Report& repair);
    QSet<QString> _recordingsLeftAlone; // named once; not checked again this run

    // ---- library/: following the folder ----
    QSet<QString> listedNames() const;
    // Lists the new files a scan found (a file that measures nothing is checked for repair
    // first).
    void listScannedEntries(std::vector<ScannedEntry> entries);
    void followRecordingsFolder();
    class FolderWatcher* _recordingsWatcher = nullptr;

    // ---- library/: private helpers ----
    QString firstUserCategory() const; // the category a newly listed track is filed under
    void installSizeFormatter();       // the size column's QKFileSizeFormatter

    // ---- app/: messages ----
    // The message bar's button for a remedy; none for Remedy::None.
    void runRemedy(UserProblem::Remedy remedy);
    // Why a start failed, as a problem of the right topic with its remedy.
    UserProblem recordingStartProblem() const;
    // The recording just finished becomes the selection, unless a note is being typed.
    void selectFinishedRecording(const QString& path);
    // Whether the note view holds the note of `name`, as stored or typed since, and takes typing.
    bool showsNoteOf(const QString& name);
    void appendTimeStampLine(const QString& name, double seconds, const QString& text,
                             std::function<void(const QString&)> done);

    // ---- recording/: schedule and voice activation ----
    DesktopNotices* _notices = nullptr;     // a child
    RecordingSchedule* _schedule = nullptr; // a child, made on first use
    QTimer* _countdownTimer = nullptr;
    // The length of the next recording started, in place of the timer's (a scheduled one).
    std::optional<int32_t> _nextRecordingTicks;
    bool _timerOverridden = false; // the running recording has such a length
    VoiceActivation::Settings _voiceActivation;
    void startScheduledRecording(const RecordingSchedule::Plan& plan);
    // Counts down on the clock while a schedule waits, and says so in the title.
    void followSchedule();
    void showCountdown();

    // ---- recording/: status display helpers ----
    void handleCaptureProblem(const Notification& notification);
    bool applyTimerFields(); // false: refused, the previous length stays
    struct TimerSheetFields {
        QString hours, minutes, seconds;
        bool on = false;
    };
    TimerSheetFields _timerSheetOpenedWith;
    void showTimerButtonImage(bool on);
    void styleStatusText();
    // The recorder polls at the display's rate only while the main window shows it.
    void watchMainWindow();
    void updateStatusWatched();
    // Nothing runs: an empty meter and 00:00:00.00.
    void clearStatusDisplay();
    // The recorder's state in words beside the clock and in the window title, for the time
    // last shown; redrawn only when the state or the whole second changes.
    void showRecordingState();
    void describeLevels(int left, int right);
    // Where the meter marks voice activation's threshold; -1 while it is off.
    int meterThreshold() const;
    // What the time text and the meter last showed, so that statuses arriving faster than
    // the display is worth redrawing are not drawn.
    struct StatusDisplay {
        bool styled = false;
        bool shown = false;
        int32_t shownAt = 0; // tick of the last drawing
        int left = -1;
        int right = -1;
        int32_t ticks = 0;        // the time last shown
        int shownState = -1;      // RecordingStateText::State last shown
        int64_t shownSecond = -1; // the whole second last put in the title
        int describedLevels = -1; // the meter's levels last told to screen readers
        // The meter's pictures of recent level pairs: a steady sound moves among a few dozen.
        QCache<quint64, QPixmap> meterPictures{64};
    };
    StatusDisplay _statusDisplay;
};
