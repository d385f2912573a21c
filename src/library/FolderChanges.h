#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

// Following the "Recordings" folder as other programs copy files into it and remove them.
namespace FolderChanges {

struct Changes {
    bool readable = false;  // false: nothing can be said (the folder is gone or shut)
    QStringList gone;       // listed names the folder no longer holds
    QSet<QString> settling; // new regular files still being written (changed very recently)
};

// How long a new file must have been left alone before it is taken to be complete.
constexpr int kSettleSeconds = 2;

// Compares the folder's entries (by bytes, names decoded as FileNames does) with the names
// listed. Files named in `ignored` (the one being recorded) are neither new nor settling.
Changes compare(const QString& folder, const QSet<QString>& listed, const QSet<QString>& ignored,
                const QDateTime& now);

} // namespace FolderChanges

// Watches one folder and tells of changes to its entries, gathered: the first change of a burst
// starts a short wait, and one notice at its end covers all that came meanwhile, so a copy of
// a hundred files costs a few scans, not a hundred. A folder that went away and came back is
// watched again.
class FolderWatcher : public QObject {
    Q_OBJECT

public:
    explicit FolderWatcher(QObject* parent = nullptr);

    // Empty: watch nothing. The same folder again is watched again if it had gone.
    void watch(const QString& folder);
    QString folder() const { return _folder; }
    // Tells again after `seconds`, for files that were still being written.
    void checkAgainIn(int seconds);

    static constexpr int kGatherMilliseconds = 250;

signals:
    void changed();

private:
    void gathered();

    QFileSystemWatcher _watcher;
    QTimer _gather;
    QString _folder;
};
