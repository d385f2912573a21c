#pragma once

#include <QObject>
#include <QPointer>

class QDialog;
class QLabel;
class QProgressBar;
class SyncCoordinator;

// The sync's status panel: shows what the running sync says ("Converting 3 of 12: NAME") and
// hands the panel's Cancel (its button, the close box, Escape) to it.
class SyncPanel : public QObject {
    Q_OBJECT

public:
    SyncPanel(SyncCoordinator& sync, QDialog* panel, QLabel* text, QProgressBar* progress,
              QObject* parent = nullptr);

private:
    void started();
    void show();
    void showProgress(int index, int count, const QString& title, bool converting);
    void finished();

    SyncCoordinator& _sync;
    QPointer<QDialog> _panel;
    QPointer<QLabel> _text;
    QPointer<QProgressBar> _progress;
};
