#include "app/MainMenus.h"

#include "app/BVController.h"
#include "app/ToolbarStandIn.h"
#include "library/QBVTableView.h"
#include "library/QKArrayController.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/media/BVMovieView.h"
#include "recording/QKRecorder.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

namespace {
// The text editor that the Edit menu's standard items act on: the focused field or note.
QWidget* focusedEditor() {
    QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus))
        return focus;
    return nullptr;
}

bool isEnabledButton(const QPushButton* button) {
    return button && button->isEnabled();
}
} // namespace

MainMenus::MainMenus(Ui::MainWindow& ui, QMainWindow& window, BVController& controller)
    : QObject(&window), _ui(ui), _window(window), _controller(&controller) {
    connectFileAndEdit();
    connectViewAndHelp();
    connectRecordingAndPlayback();
    addSyncItem();
    for (QMenu* menu :
         {ui.menuFile, ui.menuEdit, ui.menuView, ui.menuRecording, ui.menuPlayback, ui.menuHelp})
        connect(menu, &QMenu::aboutToShow, this, &MainMenus::validate);
    connect(&controller, &BVController::interfaceStateChanged, this, &MainMenus::validate);
    connect(qApp, &QApplication::focusChanged, this, &MainMenus::validateEditItems);
    // As a window revalidates its controls after every event: each click or key the user
    // gives may have changed what can act, and the player ends on its own.
    qApp->installEventFilter(this);
    connect(ui.movieView, &BVMovieView::finished, this, &MainMenus::scheduleValidation);
    // At once, not later: a key that follows the one that selected (Space after an arrow key)
    // may arrive before the event loop comes round again.
    NotificationCenter::defaultCenter().addObserver(
        this, QStringLiteral("NSTableViewSelectionDidChangeNotification"),
        [this](const Notification&) { validate(); });
    validate();
}

MainMenus::~MainMenus() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void MainMenus::connectAction(QAction* item, void (BVController::*action)(QObject*)) {
    connect(item, &QAction::triggered, _controller, [this, item, action] {
        if (_controller)
            ((*_controller).*action)(item);
    });
}

void MainMenus::connectFileAndEdit() {
    connectAction(_ui.actionShowInFileManager, &BVController::revealInFinder);
    connectAction(_ui.actionExportRecording, &BVController::exportRecordings);
    connectAction(_ui.actionExportNote, &BVController::exportNote);
    connectAction(_ui.actionRename, &BVController::renameSelection);
    connectAction(_ui.actionDelete, &BVController::deleteFile);
    connect(_ui.actionQuit, &QAction::triggered, qApp, &QCoreApplication::quit,
            Qt::QueuedConnection);

    const std::pair<QAction*, const char*> standard[] = {
        {_ui.actionUndo, "undo"}, {_ui.actionRedo, "redo"},   {_ui.actionCut, "cut"},
        {_ui.actionCopy, "copy"}, {_ui.actionPaste, "paste"}, {_ui.actionSelectAll, "selectAll"},
    };
    for (const auto& [item, slot] : standard) {
        connect(item, &QAction::triggered, this, [slot] {
            if (QWidget* editor = focusedEditor())
                QMetaObject::invokeMethod(editor, slot);
        });
    }
    QLineEdit* search = _ui.searchField;
    connect(_ui.actionFind, &QAction::triggered, search, [search] {
        search->setFocus(Qt::ShortcutFocusReason);
        search->selectAll();
    });
    // Esc empties the search field, showing the whole library again.
    auto* clearSearch = new QAction(search);
    clearSearch->setShortcut(Qt::Key_Escape);
    clearSearch->setShortcutContext(Qt::WidgetShortcut);
    search->addAction(clearSearch);
    connect(clearSearch, &QAction::triggered, search, &QLineEdit::clear);
}

void MainMenus::connectViewAndHelp() {
    connect(_ui.actionShowToolbar, &QAction::toggled, this, [this](bool shown) {
        if (QToolBar* toolbar = _controller->toolbar())
            toolbar->setVisible(shown);
        // What the toolbar showed moves into the window, and back.
        _ui.toolbarStandIn->place();
    });
    connect(_ui.toolbarStandIn, &ToolbarStandIn::placed, this, &MainMenus::validate);
    connectAction(_ui.actionCustomizeToolbar, &BVController::runToolbarCustomizationPalette);
    connectAction(_ui.actionHelp, &BVController::launchHelp);
    connectAction(_ui.actionTellAFriend, &BVController::emailFriend);
    connectAction(_ui.actionAbout, &BVController::showAboutBox);
}

void MainMenus::connectRecordingAndPlayback() {
    // The items act like the buttons they stand for (toggles change their state first).
    connect(_ui.actionRecord, &QAction::triggered, _ui.recordingButton, &QAbstractButton::click);
    connect(_ui.actionPause, &QAction::triggered, _ui.pauseRecordingButton,
            &QAbstractButton::click);
    connect(_ui.actionSnip, &QAction::triggered, _ui.snipButton, &QAbstractButton::click);
    connect(_ui.actionMonitor, &QAction::triggered, _ui.previewButton, &QAbstractButton::click);
    connectAction(_ui.actionTimer, &BVController::showTimerWindow);
    connectAction(_ui.actionSoundSettings, &BVController::showSoundSettings);
    connectAction(_ui.actionPlayPause, &BVController::soundPlayPause);
    connectAction(_ui.actionStop, &BVController::soundStop);
    // Space plays only while the list has the focus: it still types in the note and the
    // search field, and presses a focused button.
    _ui.fileTableView->addAction(_ui.actionPlayPause);
}

void MainMenus::addSyncItem() {
    _syncItem = new QAction(BVLocalizedString("SyncMenuItem"), &_window);
    _syncItem->setObjectName(QStringLiteral("actionSync"));
    _syncItem->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    // Before the separator that sets Quit apart.
    const QList<QAction*> items = _ui.menuFile->actions();
    const qsizetype quit = items.indexOf(_ui.actionQuit);
    _ui.menuFile->insertAction(quit > 0 ? items[quit - 1] : _ui.actionQuit, _syncItem);
    connectAction(_syncItem, &BVController::handleSync);
}

void MainMenus::validate() {
    _validationScheduled = false;
    if (!_controller)
        return;
    const BVController& c = *_controller;
    const bool recording = c.IsBVRecording;
    const BVMovieView* player = c._qtPlayer;
    const bool playing = player && player->isPlaying();
    const bool loaded = player && player->hasMovie();
    const bool selection =
        c._fileListArrayController && !c._fileListArrayController->selectedObjects().empty();

    _ui.actionExportNote->setEnabled(selection && c._notesTextView &&
                                     c._notesTextView->document()->characterCount() > 1);
    _ui.actionExportRecording->setEnabled(selection && !c.isExporting());
    _ui.actionRename->setEnabled(selection);
    _ui.actionDelete->setEnabled(selection);
    _syncItem->setEnabled(!c.isSyncing());
    _ui.actionFind->setEnabled(_ui.searchField->isVisibleTo(&_window));
    QToolBar* toolbar = c.toolbar();
    const bool toolbarShown = toolbar && toolbar->isVisibleTo(&_window);
    _ui.actionShowToolbar->setChecked(toolbarShown);
    _ui.actionCustomizeToolbar->setEnabled(toolbarShown);

    _ui.actionRecord->setEnabled(c.recorder() && isEnabledButton(_ui.recordingButton) && !playing);
    _ui.actionPause->setEnabled(recording && isEnabledButton(_ui.pauseRecordingButton));
    _ui.actionSnip->setEnabled(recording && isEnabledButton(_ui.snipButton));
    _ui.actionMonitor->setEnabled(c.recorder() && isEnabledButton(_ui.previewButton));
    _ui.actionMonitor->setChecked(_ui.previewButton->isChecked());
    _ui.actionTimer->setEnabled(isEnabledButton(_ui.timerButton));
    _ui.actionSoundSettings->setEnabled(c.recorder() && isEnabledButton(_ui.settingsButton));
    _ui.actionPlayPause->setEnabled(!recording && (loaded || selection));
    _ui.actionStop->setEnabled(!recording && loaded);
    _controller->validateCategoriesMenu();
    validateEditItems();
}

void MainMenus::validateEditItems() {
    QWidget* editor = focusedEditor();
    bool undo = false, redo = false, selected = false, writable = false, text = false;
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        undo = line->isUndoAvailable();
        redo = line->isRedoAvailable();
        selected = line->hasSelectedText();
        writable = !line->isReadOnly();
        text = !line->text().isEmpty();
    } else if (auto* note = qobject_cast<QTextEdit*>(editor)) {
        undo = note->document()->isUndoAvailable();
        redo = note->document()->isRedoAvailable();
        selected = note->textCursor().hasSelection();
        writable = !note->isReadOnly();
        text = !note->document()->isEmpty();
    }
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    _ui.actionUndo->setEnabled(writable && undo);
    _ui.actionRedo->setEnabled(writable && redo);
    _ui.actionCut->setEnabled(writable && selected);
    _ui.actionCopy->setEnabled(selected);
    _ui.actionPaste->setEnabled(writable && clipboard && clipboard->hasText());
    _ui.actionSelectAll->setEnabled(text);
}

bool MainMenus::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
        scheduleValidation();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void MainMenus::scheduleValidation() {
    if (_validationScheduled)
        return;
    _validationScheduled = true;
    QTimer::singleShot(0, this, [this] {
        if (_validationScheduled && _controller)
            _controller->validateToolbar(); // which validates the menus too
    });
}
