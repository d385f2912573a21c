#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>

// Repair of recordings that a crash, a kill or a power loss interrupted: each becomes a playable
// movie of every whole frame that reached the disk. The repair never shortens a file and never
// writes inside its sound: it writes header fields and appends a movie atom. Files locked by a
// running recording, complete files and files that are not ours are left alone; a file of ours
// that cannot be repaired safely (read-only, damaged fields) is left as it is and named.
namespace MovieRepair {

struct LeftAlone {
    QByteArray name; // as the file system has it
    QString reason;
};

struct Report {
    QList<QByteArray> repaired;
    QList<LeftAlone> leftAlone;
    int filesOpened = 0;
    bool checkedAll = false; // every file of the folder was looked at
    bool stopped = false;    // *stop ended the check before every file was looked at
};

// Checks every file directly inside `folder` (the file system's bytes), in name order. A set
// *stop ends the check between two files.
Report repairFolder(const QByteArray& folder, const std::atomic<bool>* stop = nullptr);

// Checks one file of `folder` by name, as repairFolder does each of them.
Report repairFile(const QByteArray& folder, const QByteArray& name);

// The launch check: reads the recording journal at `journalPath`, checks the folder in full
// only when the journal says a recording may be unfinished, and begins this run's journal (see
// RecordingJournal, whose endRun() the caller calls at a clean quit).
Report repairAtLaunch(const QByteArray& folder, const QByteArray& journalPath,
                      const std::atomic<bool>* stop = nullptr);

// "NAME (reason), NAME (reason)" for one line to the user.
QString describe(const QList<LeftAlone>& files);

} // namespace MovieRepair

// Repairs every interrupted recording in the folder; answers how many were repaired.
int RepairInterruptedMovies(const QString& folder);
