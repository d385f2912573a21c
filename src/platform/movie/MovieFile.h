#pragma once

#include "platform/movie/MovieHeader.h"

#include <QString>

#include <cstdint>
#include <optional>

// Our movie files on disk: what state a file is in, and completing one. Shared by the writer
// (which completes its own file) and the repair at launch (which completes what a crash left).
namespace MovieFile {

struct Inspection {
    bool ours = false; // laid out as our recordings are; nothing else is ever changed
    std::optional<MovieHeader::RecordingTag> tag; // the sound format, when it can be trusted
    bool complete = false; // a whole movie atom is in the file: it is never changed
    // Why the file is left as it is although it is ours (fields that disagree with what is on
    // the disk, a structure that cannot be walked); empty when nothing is wrong.
    QString problem;
    uint64_t fileSize = 0;
    // For an interrupted file: the bytes after kDataOffset that its mdat is to hold (the movie
    // describes the whole packets among them), and whether a whole movie atom already follows
    // them, so that only the mdat needs closing.
    uint64_t dataBytes = 0;
    bool movieFollows = false;

    bool needsRepair() const { return tag && !complete && problem.isEmpty(); }
};

// Reads the head and walks the atoms of an open file; bounded in reads and time whatever the
// file holds.
Inspection inspect(int fd);

// Completes an open file of ours whose mdat is to hold `dataBytes` from kDataOffset: closes the
// mdat and writes a movie atom of the whole packets among them after everything in the file, or,
// when the file cannot grow (disk full, file size limit), a compact one into the reserve before
// the data. Never shortens the file or writes inside the sound: bytes past the data that are no
// sound (a movie atom torn by a crash) become a 'free' atom. Syncs. Answers 0 or an errno value,
// with a readable reason in *error. Without `sync` the caller syncs later (a crash before that
// leaves the file repairable).
int complete(int fd, const MovieHeader::RecordingTag& tag, uint64_t dataBytes, QString* error,
             bool sync = true);

// Closes the mdat of an interrupted file after `dataBytes`, where a whole movie atom already
// follows them. Syncs. Answers 0 or an errno value.
int closeData(int fd, uint64_t dataBytes, QString* error);

// Writes all of `bytes` at `offset`; answers 0 or errno. Retries short writes.
int writeAll(int fd, const char* bytes, size_t size, uint64_t offset);

// Takes the advisory lock that marks a file as being written; false when another open file
// (in this process or another) holds it.
bool tryLock(int fd);

} // namespace MovieFile
