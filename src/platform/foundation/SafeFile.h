#pragma once

#include "platform/foundation/FilePath.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// Reading and writing the files people keep, so that no file can hang or crash us and no
// failed write can cost what was there.
//
// Reading: a file is opened without blocking (a FIFO or a device under a file's name would
// otherwise hold us in open() or feed us for ever), must be a regular file, and is read up to
// the size fstat gave, never "until the end". Anything else is refused with a reason and left
// as it is.
//
// Writing: the new content goes to a file of its own beside the old one; every write and the
// fsync are checked, and only then does it take the old one's name. On any failure the old
// file is as it was and the caller has the reason.
namespace SafeFile {

struct Problem {
    int error = 0;  // errno, or 0 for a refusal of ours
    QString reason; // for people: names the file and what is wrong
};

// Opens `path` for reading. When `confinedTo` is given, the file reached (after every link)
// must lie inside that folder (after its links): a link leading out of it is refused. Answers
// a blocking, close-on-exec descriptor with the file's status in *info, or -1 with the reason;
// problem->error is ENOENT for a file that is not there.
int openForReading(const FilePath& path, Problem* problem, struct stat* info = nullptr,
                   const FilePath& confinedTo = {});

// Opens the regular file at `path` for reading and appending, creating it (with `mode` less the
// umask) when it is not there. Whatever stands in its place otherwise (a link, a folder, a
// FIFO, a device) is refused with the reason without being opened, and left as it is. Answers
// a blocking, close-on-exec descriptor with the file's status in *info, or -1.
int openForAppending(const FilePath& path, Problem* problem, struct stat* info = nullptr,
                     mode_t mode = 0644);

struct Contents {
    enum Status { Missing, Read, Refused };
    Status status = Missing;
    QByteArray bytes;
    Problem problem;     // when Refused (and Missing: ENOENT)
    struct stat info {}; // of the file read (when Read)
};
// The whole of a regular file, as long as fstat says it is and at most `maxBytes` (a larger
// file is refused unread).
Contents read(const FilePath& path, qint64 maxBytes, const FilePath& confinedTo = {});

// Reads at most `size` bytes from `fd` (a file shorter by now gives what it has).
bool readUpTo(int fd, qint64 size, QByteArray* bytes, Problem* problem, const FilePath& path);

// Replaces (or creates) the file at `path` with `bytes`, all or nothing. A path that is a
// link, a folder or anything but a regular file is refused and left as it is. The new file
// keeps the old one's permissions; a new one gets 0666 less the umask. Writing ignores
// SIGXFSZ from then on, so that a file size limit fails the write instead of ending the process.
bool replace(const FilePath& path, const QByteArray& bytes, Problem* problem);

// Creates the file at `path`, which must not exist, with `bytes`; every write and the fsync
// checked. On failure nothing is left at `path` (unless something else was there). With
// Sync::ByCaller the fsync is left to a caller that writes many files and then syncs them
// all at once (syncFileSystem), as one fsync per small file costs a disk flush each.
enum class Sync { Now, ByCaller };
bool createNew(const FilePath& path, const QByteArray& bytes, Problem* problem, mode_t mode = 0666,
               Sync sync = Sync::Now);
// Syncs everything written to the file system that holds `folder`, and the folder itself;
// false with the reason when a write did not reach the disk.
bool syncFileSystem(const FilePath& folder, Problem* problem);

// The permissions of a new file: 0666 less the umask, as every file we make gets.
mode_t newFileMode();

// Whether the file open at `fd` is locked for writing (flock) through another descriptor, as a
// recording is while it is written. Checked without waiting.
bool isLockedForWriting(int fd);

// The default action of SIGXFSZ ends the process: a write past a file size limit must fail
// instead, as on a full disk, so that the caller can keep what it has and say why. Every writer
// of ours calls this before it writes.
void ignoreFileSizeSignal();

// The reasons people are given, for callers that judge files themselves.
QString notARegularFileReason(const FilePath& path, mode_t mode);
QString systemReason(int error);

} // namespace SafeFile
