#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class BVController;
class CloseWhileRecording;
class MainMenus;
class QDialog;
class QKArrayController;
class QMainWindow;
class QToolBar;

namespace Ui {
class MainWindow;
class TimerWindow;
class PreferencesPanel;
class CategoryEditor;
class SyncStatusPanel;
} // namespace Ui

// The interface descriptions of the application: loads the main window and its panels from
// their .ui files, connects the controller's outlets to the controls and the controls to the
// controller's actions (what loading the main interface does for the controller).
class MainInterface : public QObject {
    Q_OBJECT

public:
    MainInterface();
    ~MainInterface() override;

    // Outlets and actions, then the controller's awakeFromNib.
    void connect(BVController& controller);

    QMainWindow* window() const { return _window.get(); }
    QDialog* preferencesPanel() const { return _preferences.get(); }
    QToolBar* toolbar() const { return _toolbar; }
    MainMenus* menus() const { return _menus; }
    // What closing the window while recording asks.
    CloseWhileRecording* closeGuard() const { return _closeGuard; }
    Ui::MainWindow& mainUi() { return *_mainUi; }
    Ui::TimerWindow& timerUi() { return *_timerUi; }
    Ui::PreferencesPanel& preferencesUi() { return *_preferencesUi; }

private:
    void connectOutlets(BVController& controller);
    void connectActions(BVController& controller);
    void connectTrackActions(BVController& controller);
    void connectCategoryActions(BVController& controller);
    // Menus, shortcuts, the split view's delegate, the empty library's hint.
    void connectWindow(BVController& controller);
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::unique_ptr<QMainWindow> _window;
    CloseWhileRecording* _closeGuard = nullptr; // a child of the window
    std::unique_ptr<QDialog> _timer;
    std::unique_ptr<QDialog> _preferences;
    std::unique_ptr<QDialog> _categories;
    std::unique_ptr<QDialog> _syncStatus;
    std::unique_ptr<Ui::MainWindow> _mainUi;
    std::unique_ptr<Ui::TimerWindow> _timerUi;
    std::unique_ptr<Ui::PreferencesPanel> _preferencesUi;
    std::unique_ptr<Ui::CategoryEditor> _categoriesUi;
    std::unique_ptr<Ui::SyncStatusPanel> _syncStatusUi;
    QToolBar* _toolbar = nullptr;
    MainMenus* _menus = nullptr;
    QPointer<QKArrayController> _arrayController;
    QPointer<BVController> _controller;
};
