#pragma once

#include "platform/movie/MovieHeader.h"

#include <QString>

#include <cstdint>
#include <optional>

// Our movie files on disk: what state a file is in, and completing one. Shared by the writer
// (which completes its own file) and the repair at launch (which completes what a crash left).
namespace MovieFile {

struct Inspection {
    std::optional<MovieHeader::RecordingTag> tag; // none: not one of our recordings
    bool complete = false;                        // a whole movie atom is in the file
    uint64_t dataBytes = 0;                       // sound bytes present after the head
};

// Reads the head and walks the top-level atoms of an open file.
Inspection inspect(int fd);

// Completes an open file of ours holding `dataBytes` of sound: drops a partial last packet,
// closes the mdat and writes the movie atom after the data, or, when the file cannot grow (disk
// full, file size limit), a compact one into the reserve before the data. Syncs. Answers 0 or
// an errno value, with a readable reason in *error. Without `sync` the caller syncs later (a
// crash before that leaves the file repairable).
int complete(int fd, const MovieHeader::RecordingTag& tag, uint64_t dataBytes, QString* error,
             bool sync = true);

// Writes all of `bytes` at `offset`; answers 0 or errno. Retries short writes.
int writeAll(int fd, const char* bytes, size_t size, uint64_t offset);

// Takes the advisory lock that marks a file as being written; false when another open file
// (in this process or another) holds it.
bool tryLock(int fd);

} // namespace MovieFile
