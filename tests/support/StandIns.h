#pragma once

#include "platform/foundation/FilePath.h"

#include <QByteArray>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

// What can stand where a file of ours should be: Brevoir must refuse it without blocking,
// leave it as it is and never write through it.
namespace StandIns {

enum class Kind { Fifo, Device, Folder, LinkOutside, DanglingLink };

struct StandIn {
    Kind kind;
    const char* what;
};
inline constexpr StandIn kAll[] = {
    {Kind::Fifo, "a FIFO"},
    {Kind::Device, "a link to /dev/zero"},
    {Kind::Folder, "a folder"},
    {Kind::LinkOutside, "a link to a file outside"},
    {Kind::DanglingLink, "a link to nothing"},
};

// Makes the stand-in at `path`; a link outside leads to `outside`, a file of the caller's.
inline bool make(Kind kind, const FilePath& path, const FilePath& outside) {
    switch (kind) {
    case Kind::Fifo:
        return ::mkfifo(path.c_str(), 0644) == 0;
    case Kind::Device:
        return ::symlink("/dev/zero", path.c_str()) == 0;
    case Kind::Folder:
        return ::mkdir(path.c_str(), 0755) == 0;
    case Kind::LinkOutside:
        return ::symlink(outside.c_str(), path.c_str()) == 0;
    case Kind::DanglingLink:
        return ::symlink("nothing-here", path.c_str()) == 0;
    }
    return false;
}

// What is at `path`, without following a link: its type, and a link's target or a file's size,
// to check that it is left as it was.
inline QByteArray describe(const FilePath& path) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return "nothing";
    if (S_ISLNK(info.st_mode)) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        return "link to " + QByteArray(target, length > 0 ? length : 0);
    }
    return "mode " + QByteArray::number(info.st_mode & S_IFMT, 8) + " size " +
           QByteArray::number(qint64(S_ISREG(info.st_mode) ? info.st_size : 0));
}

} // namespace StandIns
