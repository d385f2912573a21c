#include "app/MainInterface.h"

#include "app/BVController.h"
#include "app/BVSplitView.h"
#include "app/CloseWhileRecording.h"
#include "app/CustomizableToolbar.h"
#include "app/EmptyLibraryHint.h"
#include "app/MainMenus.h"
#include "app/WindowAccessibility.h"
#include "categories/CategoryListModel.h"
#include "categories/CategoryPopUpDelegate.h"
#include "library/NoteEditor.h"
#include "library/QBVTableView.h"
#include "library/QBVTrackTableModel.h"
#include "library/QKArrayController.h"
#include "platform/audio/SoundSources.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/ThemeColours.h"
#include "platform/media/AudioEncoders.h"
#include "ui_CategoryEditor.h"
#include "ui_MainWindow.h"
#include "ui_PreferencesPanel.h"
#include "ui_SyncStatusPanel.h"
#include "ui_TimerWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QSlider>

MainInterface::MainInterface()
    : _window(std::make_unique<QMainWindow>()), _mainUi(std::make_unique<Ui::MainWindow>()),
      _timerUi(std::make_unique<Ui::TimerWindow>()),
      _preferencesUi(std::make_unique<Ui::PreferencesPanel>()),
      _categoriesUi(std::make_unique<Ui::CategoryEditor>()),
      _syncStatusUi(std::make_unique<Ui::SyncStatusPanel>()) {
    _mainUi->setupUi(_window.get());
    // The first layout gives the list what the lower pane does not take; later resizes are
    // the controller's (connectWindow).
    _mainUi->splitView->setStretchFactor(0, 1);
    _mainUi->splitView->setStretchFactor(1, 0);
    _mainUi->splitView->setSizes({420, 220});
    // The panels are sheets of the main window: window-modal dialogs parented to it.
    _timer = std::make_unique<QDialog>(_window.get());
    _timerUi->setupUi(_timer.get());
    _timer->setWindowModality(Qt::WindowModal);
    ThemeColours::showAsNegative(_timerUi->timerMessage);
    _preferences = std::make_unique<QDialog>(_window.get());
    _preferencesUi->setupUi(_preferences.get());
    _categories = std::make_unique<QDialog>(_window.get());
    _categoriesUi->setupUi(_categories.get());
    _categories->setWindowModality(Qt::WindowModal);
    _syncStatus = std::make_unique<QDialog>(_window.get());
    _syncStatusUi->setupUi(_syncStatus.get());

    // The library folder pop-up: the folder's name first, then the item that changes it.
    auto* library = _preferencesUi->libraryLocationMenu;
    library->addItem(QString());
    library->insertSeparator(1);
    library->addItem(tr("Choose…"));

    auto* encoders = _preferencesUi->encodingSelectionMenu;
    encoders->addItem(tr("No Conversion"));
    for (const AudioEncoder& encoder : availableAudioEncoders())
        encoders->addItem(encoder.title, encoder.codecName);
}

MainInterface::~MainInterface() {
    NotificationCenter::defaultCenter().removeObserver(this);
    // The menus watch the whole application (focus, events, notifications) and read the
    // window's form: they go first, before closing the window moves the focus one last time.
    delete _menus;
    _menus = nullptr;
    // The list controller serves the table: it goes before the widgets it points at.
    delete _arrayController;
    // The dialogs are children of the window; release them before the window goes.
    _timer.reset();
    _preferences.reset();
    _categories.reset();
    _syncStatus.reset();
}

void MainInterface::connect(BVController& controller) {
    connectOutlets(controller);
    connectActions(controller);
    controller.awakeFromNib();
    connectWindow(controller);
    // Loading the interface makes double-click on the library table play.
    controller.tableAction(nullptr);
}

void MainInterface::connectOutlets(BVController& c) {
    Ui::MainWindow& ui = *_mainUi;
    c.timerWindow = _timer.get();
    c.mainWindow = _window.get();
    c.timerView = ui.timerView;
    c._preferencesPanel = _preferences.get();
    c._categoriesPanel = _categories.get();
    c._libraryLocationMenu = _preferencesUi->libraryLocationMenu;
    c._encodingSelectionMenu = _preferencesUi->encodingSelectionMenu;
    c._iTunesPlaylistName = _preferencesUi->iTunesPlaylistName;
    c.fileTableView = ui.fileTableView;
    c.searchField = ui.searchField;
    c._hourField = _timerUi->hourField;
    c._minuteField = _timerUi->minuteField;
    c._secondField = _timerUi->secondField;
    c._notesTextView = ui.notesTextView;
    c._settingsButton = ui.settingsButton;
    c._pauseRecordingButton = ui.pauseRecordingButton;
    c._recordingButton = ui.recordingButton;
    c._snipButton = ui.snipButton;
    c._previewButton = ui.previewButton;
    c._buttonPlayPause = ui.buttonPlayPause;
    c._timerButton = ui.timerButton;
    c._timerCheckBox = _timerUi->timerCheckBox;
    c._termsFields = _timerUi->termsFields;
    c._qtPlayer = ui.movieView;
    c._displayView = ui.displayView;
    c._statusText = ui.statusText;
    c._stateText = ui.stateText;
    c._inputGainSlider = ui.inputGainSlider;
    c._inputGainText = ui.inputGainText;
    c._levelHistory = ui.levelHistory;
    c._messageBar = ui.messageBar;
    c._categoriesTable = _categoriesUi->categoriesTable;
    c._syncStatusText = _syncStatusUi->syncStatusText;
    c._syncStatusPanel = _syncStatus.get();
    c._syncStatusProgress = _syncStatusUi->syncStatusProgress;

    // The list controller is an object of the interface, like the table it serves.
    auto* arrayController = new QKArrayController(_window.get());
    arrayController->tableView = ui.fileTableView;
    c._fileListArrayController = arrayController;
    _arrayController = arrayController;
    arrayController->awakeFromNib();
}

void MainInterface::connectActions(BVController& c) {
    Ui::MainWindow& ui = *_mainUi;
    auto button = [&c](QAbstractButton* b, void (BVController::*action)(QObject*)) {
        QObject::connect(b, &QAbstractButton::clicked, &c, [&c, b, action] { (c.*action)(b); });
    };

    button(ui.recordingButton, &BVController::startRecording);
    button(ui.pauseRecordingButton, &BVController::pauseRecording);
    button(ui.snipButton, &BVController::snipFile);
    button(ui.previewButton, &BVController::togglePreview);
    button(ui.settingsButton, &BVController::showSoundSettings);
    button(ui.timerButton, &BVController::showTimerWindow);
    button(ui.buttonPlayPause, &BVController::soundPlayPause);
    button(ui.playbackStopButton, &BVController::soundStop);

    QObject::connect(ui.actionPreferences, &QAction::triggered, _preferences.get(), &QDialog::show);
    // The input's gain: set as the slider moves, shown as the sound server has it.
    QObject::connect(ui.inputGainSlider, &QSlider::valueChanged, &c,
                     [&c, &ui] { c.setInputGain(ui.inputGainSlider); });
    QObject::connect(&SoundSources::shared(), &SoundSources::sourcesChanged, &c,
                     [&c] { c.showInputGain(); });

    // Timer sheet: the fields set the length, the check box arms, OK applies and saves.
    Ui::TimerWindow& t = *_timerUi;
    for (QLineEdit* field : {t.hourField, t.minuteField, t.secondField})
        QObject::connect(field, &QLineEdit::editingFinished, &c,
                         [&c, field] { c.setTimer(field); });
    button(t.timerCheckBox, &BVController::toggleTimer);
    QObject::connect(t.timerButtons, &QDialogButtonBox::accepted, &c,
                     [&c, &t] { c.closeTimerWindow(t.timerButtons); });
    // Cancel and Escape leave the timer as it was when the sheet opened.
    QObject::connect(t.timerButtons, &QDialogButtonBox::rejected, _timer.get(), &QDialog::reject);
    QObject::connect(_timer.get(), &QDialog::rejected, &c,
                     [&c, &t] { c.cancelTimerWindow(t.timerButtons); });

    // Preferences: the library pop-up's last item chooses another folder; the check boxes
    // write their keys directly.
    Ui::PreferencesPanel& p = *_preferencesUi;
    QObject::connect(p.libraryLocationMenu, &QComboBox::activated, &c, [&c, &p](int index) {
        if (index == p.libraryLocationMenu->count() - 1)
            c.doSetDataDirectory(p.libraryLocationMenu);
    });
    QObject::connect(p.iTunesPlaylistName, &QLineEdit::editingFinished, &c,
                     [&c, &p] { c.setPlaylistName(p.iTunesPlaylistName); });
    QObject::connect(p.preferencesButtons, &QDialogButtonBox::rejected, _preferences.get(),
                     &QDialog::hide);
    Defaults& store = Defaults::standard();
    p.safeDeleteCheckBox->setChecked(store.boolForKey(sPreferencesKeySafeDelete));
    p.twoWaySyncCheckBox->setChecked(store.boolForKey(sPreferencesKeyTwoWaySyncing));
    QObject::connect(p.safeDeleteCheckBox, &QCheckBox::toggled,
                     [](bool on) { Defaults::standard().setBool(on, sPreferencesKeySafeDelete); });
    QObject::connect(p.twoWaySyncCheckBox, &QCheckBox::toggled, [](bool on) {
        Defaults::standard().setBool(on, sPreferencesKeyTwoWaySyncing);
    });

    QObject::connect(ui.searchField, &QLineEdit::textChanged, c._fileListArrayController,
                     [&c, &ui] { c._fileListArrayController->search(ui.searchField); });

    connectTrackActions(c);
    connectCategoryActions(c);
}

void MainInterface::connectCategoryActions(BVController& c) {
    // The library table's category cell chooses from what the controller offers.
    _mainUi->fileTableView->setItemDelegateForColumn(
        QBVTrackTableModel::CategoryColumn,
        new CategoryPopUpDelegate([&c] { return c.categories(); }, _mainUi->fileTableView));

    // The editor's table asks the controller, its data source.
    Ui::CategoryEditor& e = *_categoriesUi;
    e.categoriesTable->setModel(new CategoryListModel(c, e.categoriesTable));
    e.categoriesTable->horizontalHeader()->setStretchLastSection(true);
    e.categoriesTable->verticalHeader()->hide();
    e.categoriesTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    e.categoriesTable->setSelectionMode(QAbstractItemView::SingleSelection);
    auto button = [&c](QAbstractButton* b, void (BVController::*action)(QObject*)) {
        QObject::connect(b, &QAbstractButton::clicked, &c, [&c, b, action] { (c.*action)(b); });
    };
    button(e.addCategoryButton, &BVController::addCategory);
    button(e.removeCategoryButton, &BVController::removeCategory);
    QObject::connect(e.categoryDone, &QDialogButtonBox::rejected, &c,
                     [&c, &e] { c.endEditCategories(e.categoryDone); });
}

void MainInterface::connectTrackActions(BVController& c) {
    Ui::MainWindow& ui = *_mainUi;
    auto menu = [&c](QAction* a, void (BVController::*action)(QObject*)) {
        QObject::connect(a, &QAction::triggered, &c, [&c, a, action] { (c.*action)(a); });
    };

    // The Delete key deletes only while the list has the focus, not while a note is typed.
    auto* deleteKey = new QAction(ui.fileTableView);
    deleteKey->setShortcut(QKeySequence::Delete);
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    ui.fileTableView->addAction(deleteKey);
    menu(deleteKey, &BVController::deleteFile);

    QBVTableView* table = ui.fileTableView;
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(table, &QWidget::customContextMenuRequested, &c, [&c, &ui, table](QPoint at) {
        if (!table->indexAt(at).isValid())
            return;
        QMenu rowMenu(table);
        QObject::connect(rowMenu.addAction(BVController::tr("Play")), &QAction::triggered, &c,
                         [&c, table] { c.soundDoubleClick(table); });
        rowMenu.addAction(ui.actionRename);
        rowMenu.addAction(ui.actionShowInFileManager);
        rowMenu.addAction(ui.actionExportRecording);
        rowMenu.addAction(ui.actionExportNote);
        rowMenu.addSeparator();
        rowMenu.addAction(ui.actionDelete);
        rowMenu.exec(table->viewport()->mapToGlobal(at));
    });

    ui.noteFormatBar->setEditor(ui.notesTextView);
    QObject::connect(ui.noteFormatBar, &NoteFormatBar::timeStampRequested, &c,
                     [&c] { c.insertTimeStamp(); });
    QObject::connect(ui.notesTextView, &BVNoteTextView::timeStampClicked, &c,
                     [&c](double seconds) { c.playFromTimeStamp(seconds); });
    // A note is written for one recording: with none or several selected, the note view is
    // read-only and says why, and its format bar rests.
    const auto showNoteTarget = [&c, &ui] {
        const int selected = c._fileListArrayController
                                 ? int(c._fileListArrayController->selectedObjects().size())
                                 : 0;
        ui.notesTextView->showSelectionCount(selected);
        ui.noteFormatBar->setEnabled(selected == 1);
    };
    NotificationCenter::defaultCenter().addObserver(
        this, QStringLiteral("NSTableViewSelectionDidChangeNotification"),
        [showNoteTarget, table = ui.fileTableView](const Notification& notification) {
            if (notification.object == table)
                showNoteTarget();
        });
    showNoteTarget();
    // A note being typed is stored when the window closes, before anything else goes.
    _window->installEventFilter(this);
    _closeGuard = new CloseWhileRecording(c, *_window);
    _controller = &c;
}

bool MainInterface::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _window.get() && event->type() == QEvent::Close && _controller) {
        _controller->storeShownNote();
        if (_closeGuard && !_closeGuard->windowMayClose()) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void MainInterface::connectWindow(BVController& c) {
    Ui::MainWindow& ui = *_mainUi;
    _menus = new MainMenus(ui, *_window, c);
    // The hint says there is nothing yet: not while the first recording is being made.
    auto* hint = new EmptyLibraryHint(ui.fileTableView,
                                      [&c] { return c.fileList().empty() && !c.IsBVRecording; });
    QObject::connect(&c, &BVController::interfaceStateChanged, hint, &EmptyLibraryHint::update);

    // The clock, the meter and search stay in the window while the toolbar does not show them.
    ui.toolbarStandIn->follow(qobject_cast<CustomizableToolbar*>(c.toolbar()), ui.timerView,
                              Item10ToolbarItemIdentifier, ui.searchField,
                              Item8ToolbarItemIdentifier);

    WindowAccessibility::setUp(ui);
    WindowAccessibility::setUp(*_timerUi);

    // The controller, the split view's delegate, lays the panes out.
    ui.splitView->setResizeDelegate([&c](QSplitter* view, QSize oldSize) {
        c.splitViewResizeSubviewsWithOldSize(view, oldSize);
    });
    // Space plays from the list: the list has the focus when the window opens.
    ui.fileTableView->setFocus(Qt::OtherFocusReason);
}
