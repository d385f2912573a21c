#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A small file beside a folder of recordings that says whether any of them may be unfinished,
// so that the launch checks every recording only when one could need repair.
//
// It is a log of records, each ended by a NUL byte: "r" a run began, "q" it ended cleanly,
// "b" + name a recording began (synced before its first sound byte), "e" + name it was
// completed and synced. A run that did not end, a recording that began and was not completed,
// a journal that is missing, torn or unreadable: each means "check every file". Names are the
// file system's bytes.
namespace RecordingJournal {

// The journal's file name in the folder the caller keeps it in.
inline constexpr char kFileName[] = ".recording-journal";

struct Reading {
    bool needsCheck = true;       // every file of the folder must be checked before it is trusted
    QString why;                  // for the log, when needsCheck
    QList<QByteArray> unfinished; // recordings begun and not completed
};

// Launch: reads the journal at `journalPath`, then marks this run as going on and has every
// recording created directly in `folder` noted in the journal from now on. A second call ends
// the run of the first (as endRun does) before it begins its own.
Reading beginRun(const QByteArray& journalPath, const QByteArray& folder);
// After every file was checked: what the journal said before this run is settled. The journal
// is then rewritten small, unless another run (another process) is going on.
void checked();
// A clean end of the run (quit). Completions that come after it are still noted.
void endRun();

// For the writer of a recording: before the file is created (synced), and once it is complete
// and synced. Files outside the run's folder, or without a run, are not noted; answers whether
// the file was.
bool noteBegun(const QByteArray& filePath);
void noteCompleted(const QByteArray& filePath);

// Parses a journal's bytes (exposed for the fuzz target and tests).
Reading parse(const QByteArray& bytes);

} // namespace RecordingJournal
