#pragma once

#include "platform/foundation/FilePath.h"

#include <QString>
#include <QStringList>

#include <functional>

class QTextDocument;

// The notes of one library. A recording's note is the folder "Notes/" + its name less the
// last extension + ".rtfd" (by bytes), so a note belongs to whichever listed recording maps to
// it; this store keeps that mapping exclusive (no rename or new file makes two listed
// recordings share a note) and moves and removes each note together with its recording.
// Reads are confined to the library folder and stay there whatever stands in a note's place;
// nothing is ever written through a link. Safe to use from a worker thread (it only touches
// files and the documents it is given).
class NoteStore {
public:
    NoteStore(const QString& libraryFolder, const QString& notesFolder);

    // The note's file name: "a.b.mov" -> "a.b.rtfd", "take" -> "take.rtfd", ".hidden" ->
    // ".hidden.rtfd".
    static QString noteFileName(const QString& recordingName);
    FilePath pathOf(const QString& recordingName) const;
    const FilePath& notesFolder() const { return _notes; }

    // The recordings of `listed`, other than `name`, that map to the same note as `name`:
    // a pair left from before notes were kept apart.
    static QStringList sharing(const QString& name, const QStringList& listed);

    // Why `oldName` may not become `newName` as far as notes go (another listed recording
    // already maps to the note `newName` would have), or empty.
    static QString renameRefusal(const QString& oldName, const QString& newName,
                                 const QStringList& listed);

    // The name a file arriving as `wanted` gets: `wanted` when it is listed already (it is not
    // copied again) or no listed recording maps to its note; else the first of "Stem 2.ext",
    // "Stem 3.ext" ... whose note nobody maps to and whose recording and note are not on disk.
    QString nameForNewRecording(const QString& wanted, const QStringList& listed,
                                const FilePath& recordingsFolder) const;

    // Renames a recording together with its note: the note moves first, never replacing
    // anything, then `moveRecording` renames the recording (answering why it could not, or
    // empty); when that fails the note goes back. A note another listed recording maps to
    // stays with that one. Nothing moves when the note cannot follow.
    struct Renamed {
        QString refusal; // empty: renamed
        bool noteMoved = false;
    };
    Renamed renameWithRecording(const QString& oldName, const QString& newName,
                                const QStringList& listed,
                                const std::function<QString()>& moveRecording) const;

    // After the recording `name` has gone: its note goes too, to the trash or for good, unless
    // a recording of `stillListed` maps to it.
    struct Removed {
        enum Outcome { Gone, KeptFor, Failed } outcome = Gone;
        QString keptFor; // KeptFor: the recording that keeps it
        int error = 0;   // Failed: errno (ENOENT when there was no note)
        QString reason;  // Failed: for people
    };
    Removed removeAfterRecording(const QString& name, const QStringList& stillListed,
                                 bool toTrash) const;

    // Loads the note of `name` into `document`.
    struct Loaded {
        enum Status { Missing, Read, Refused } status = Missing;
        QString reason;          // Refused: why, naming the file
        int picturesLeftOut = 0; // Read: pictures past what a note holds
    };
    Loaded load(const QString& name, QTextDocument* document) const;
    // Whether reading the note of `name` is long work, better done off the main thread.
    bool isLarge(const QString& name) const;
    // Stores the document as the note of `name`, atomically. False with the reason; pictures
    // past what a note holds are left out and counted.
    bool save(const QString& name, const QTextDocument& document, QString* reason,
              int* picturesLeftOut = nullptr) const;

    // Whether storing the document is long work (much text or many pictures).
    static bool isLarge(const QTextDocument& document);
    // Whether making a note of this text (HTML, Markdown, RTF or plain) is long work.
    static bool isLargeText(QStringView text);

private:
    FilePath _library;
    FilePath _notes;
};
