#pragma once

#include <QObject>
#include <QString>

#include <functional>

class BackgroundCall;
class QDialog;
class QKTunesController;
class QLabel;
class QProgressBar;

// One running sync: the import on its worker, its progress in the status panel ("Converting 3
// of 12: NAME"), and the panel's Cancel. Lives from the start of a sync to its end.
class SyncSession : public QObject {
    Q_OBJECT

public:
    SyncSession(QKTunesController& bridge, QDialog* panel, QLabel* text, QProgressBar* progress);
    // Stops the import at once (its partial file removed) and waits for the worker.
    ~SyncSession() override;

    // Runs the import call on the worker; importFinished follows on this thread.
    void runImport(std::function<void()> import);
    bool importRunning() const;
    bool importStarted() const { return _worker != nullptr; }
    // After the file in hand, or at once; the import still ends with importFinished.
    void cancel(bool immediately);
    bool cancelled() const { return _cancelled; }
    // Blocks until the worker has ended.
    void waitForImport();
    // The sync has ended: the session lets go of the bridge, which may go before it does.
    void detach();

signals:
    void importFinished();

private:
    void showProgress(int index, int count, const QString& title, bool converting);

    QKTunesController& _bridge;
    QLabel* _text;
    QProgressBar* _progress;
    BackgroundCall* _worker = nullptr;
    bool _cancelled = false;
    bool _detached = false;
};
