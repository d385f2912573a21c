#pragma once

#include <QObject>
#include <QPointer>

class BVController;
class QAction;
class QMainWindow;
class QWidget;

namespace Ui {
class MainWindow;
}

// The main window's menus and keyboard shortcuts: connects each item to the controller's
// action and keeps every item (and the toolbar) enabled only while it can act, revalidating
// after each user action and whenever the recording or playback state changes.
class MainMenus : public QObject {
    Q_OBJECT

public:
    MainMenus(Ui::MainWindow& ui, QMainWindow& window, BVController& controller);
    ~MainMenus() override;

    // Enables, checks and relabels every item from the current state.
    void validate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectAction(QAction* item, void (BVController::*action)(QObject*));
    void connectFileAndEdit();
    void connectViewAndHelp();
    void connectRecordingAndPlayback();
    // File > Sync to Playlist, so that the window can sync without the toolbar's item.
    void addSyncItem();
    void validateEditItems();
    // Revalidates once control returns to the event loop, after the event that asked for it
    // has done its work; a burst of requests validates once.
    void scheduleValidation();

    Ui::MainWindow& _ui;
    QMainWindow& _window;
    QPointer<BVController> _controller;
    QAction* _syncItem = nullptr;
    bool _validationScheduled = false;
};
