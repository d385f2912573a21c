#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class BVController;
class DesktopNotifier;
class QMainWindow;
class QMessageBox;
class QPushButton;
class QSystemTrayIcon;

// Closing the window while something records (or waits for its moment, or listens for sound)
// asks whether it goes on in the background or stops and Brevoir quits. In the background the
// window is gone and the desktop shows what runs, with Stop: a status notifier item where a
// tray host exists, else a notification that stays. Once nothing runs any more, Brevoir quits
// as closing the window would have made it.
class CloseWhileRecording : public QObject {
    Q_OBJECT

public:
    CloseWhileRecording(BVController& controller, QMainWindow& window);
    ~CloseWhileRecording() override;

    // For the window's close event: true lets it close as always (nothing runs); false keeps
    // it while the question is asked.
    bool windowMayClose();

    QMessageBox* question() const;
    QPushButton* keepButton() const { return _keep; }
    QPushButton* stopButton() const { return _stop; }
    bool inBackground() const { return _background; }
    // What quitting does: QCoreApplication::quit, unless a test says otherwise.
    void setQuit(std::function<void()> quit) { _quit = std::move(quit); }

    // The background indicator's actions.
    void stopFromBackground();
    void showWindowAgain();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool somethingRuns() const;
    QString whatRuns() const;
    void keepInBackground();
    void stopAndQuit();
    void stopWhatRuns();
    void showIndicator();
    void removeIndicator();
    void followState();
    void quitOnceNoticesSettled();

    BVController& _controller;
    QMainWindow& _window;
    QPointer<QMessageBox> _question;
    QPushButton* _keep = nullptr;
    QPushButton* _stop = nullptr;
    bool _background = false;
    bool _closing = false; // the answer was to close: the next close event passes
    QSystemTrayIcon* _tray = nullptr;
    DesktopNotifier* _notifier = nullptr;
    uint _noticeId = 0;
    QString _shownText; // what the indicator says now
    std::function<void()> _quit;
};
