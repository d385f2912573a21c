#include "platform/foundation/SafeFile.h"

#include "platform/foundation/LocalizedString.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace SafeFile {

void ignoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

namespace {

bool fail(Problem* problem, int error, const QString& reason) {
    if (problem) {
        problem->error = error;
        problem->reason = reason;
    }
    return false;
}

bool failNotRead(Problem* problem, int error, const FilePath& path) {
    return fail(problem, error,
                BVLocalizedString("FileNotRead").arg(path.display(), systemReason(error)));
}

bool failNotWritten(Problem* problem, int error, const FilePath& path) {
    return fail(problem, error,
                BVLocalizedString("FileNotWritten").arg(path.display(), systemReason(error)));
}

// Where a descriptor's file really is, every link followed.
QByteArray pathOfDescriptor(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(link, target.data(), size_t(target.size()));
    if (length <= 0 || length >= target.size())
        return {};
    target.truncate(length);
    return target;
}

QByteArray realPathOf(const FilePath& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? QByteArray(resolved.get()) : QByteArray();
}

bool writeAll(int fd, const QByteArray& bytes, int* error) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::write(fd, data, size_t(left));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            *error = put < 0 ? errno : ENOSPC;
            return false;
        }
        data += put;
        left -= put;
    }
    return true;
}

mode_t currentUmask() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
        }
    }
    return 022;
}

// The status of a descriptor opened without blocking, which must be a regular file; otherwise
// it is closed and the answer is false.
bool keepIfRegular(int fd, const FilePath& path, struct stat* status, Problem* problem) {
    if (::fstat(fd, status) != 0) {
        failNotRead(problem, errno, path);
        ::close(fd);
        return false;
    }
    if (!S_ISREG(status->st_mode)) {
        fail(problem, 0, notARegularFileReason(path, status->st_mode));
        ::close(fd);
        return false;
    }
    return true;
}

int readyToUse(int fd, const struct stat& status, struct stat* info) {
    // Regular files never block; the flag goes so that callers read and write as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (info)
        *info = status;
    return fd;
}

// A new file beside `path` holding `bytes`, written and synced, not yet named: its
// descriptor, or -1. With O_TMPFILE it has no name at all until it is linked, so a crash
// leaves nothing behind; `temporary` is empty then.
int writeBeside(const FilePath& path, const QByteArray& bytes, mode_t mode, QByteArray* temporary,
                Problem* problem) {
    ignoreFileSizeSignal();
    const FilePath folder = path.parent().isEmpty() ? FilePath(QByteArray(".")) : path.parent();
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            failNotWritten(problem, errno, path);
            return -1;
        }
        *temporary = folder.childBytes(".bv-save-XXXXXX").bytes();
        fd = ::mkostemp(temporary->data(), O_CLOEXEC);
        if (fd < 0) {
            failNotWritten(problem, errno, path);
            return -1;
        }
    }
    int error = 0;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes, &error) || ::fsync(fd) != 0) {
        if (error == 0)
            error = errno;
        ::close(fd);
        if (!temporary->isEmpty())
            ::unlink(temporary->constData());
        failNotWritten(problem, error, path);
        return -1;
    }
    return fd;
}

} // namespace

mode_t newFileMode() {
    return 0666 & ~currentUmask();
}

bool isLockedForWriting(int fd) {
    // A shared lock is refused only while someone holds the file exclusively.
    int result;
    while ((result = ::flock(fd, LOCK_SH | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (result != 0)
        return errno == EWOULDBLOCK;
    ::flock(fd, LOCK_UN);
    return false;
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString notARegularFileReason(const FilePath& path, mode_t mode) {
    if (S_ISDIR(mode))
        return BVLocalizedString("FileIsAFolder").arg(path.display());
    if (S_ISLNK(mode))
        return BVLocalizedString("FileIsALink").arg(path.display());
    return BVLocalizedString("FileIsSpecial").arg(path.display());
}

int openForReading(const FilePath& path, Problem* problem, struct stat* info,
                   const FilePath& confinedTo) {
    // Non-blocking: open() of a FIFO with no writer would wait for one for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        failNotRead(problem, errno, path);
        return -1;
    }
    struct stat status;
    if (!keepIfRegular(fd, path, &status, problem))
        return -1;
    if (!confinedTo.isEmpty()) {
        const QByteArray base = realPathOf(confinedTo);
        const QByteArray reached = pathOfDescriptor(fd);
        if (base.isEmpty() || reached.isEmpty() || !FilePath(reached).isWithin(FilePath(base))) {
            fail(problem, 0,
                 BVLocalizedString("FileLinksOutside").arg(path.display(), confinedTo.display()));
            ::close(fd);
            return -1;
        }
    }
    return readyToUse(fd, status, info);
}

int openForAppending(const FilePath& path, Problem* problem, struct stat* info, mode_t mode) {
    ignoreFileSizeSignal();
    // Judged before opening: opening a device may already do something.
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        fail(problem, 0, notARegularFileReason(path, status.st_mode));
        return -1;
    }
    const int fd =
        ::open(path.c_str(),
               O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    if (fd < 0) {
        // Something took its place in the meantime: a link (ELOOP) or a folder (EISDIR).
        if (::lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
            fail(problem, 0, notARegularFileReason(path, status.st_mode));
        else
            failNotRead(problem, errno, path);
        return -1;
    }
    if (!keepIfRegular(fd, path, &status, problem))
        return -1;
    return readyToUse(fd, status, info);
}

bool readUpTo(int fd, qint64 size, QByteArray* bytes, Problem* problem, const FilePath& path) {
    bytes->resize(qsizetype(size));
    qint64 got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, bytes->data() + got, size_t(size - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            bytes->clear();
            return failNotRead(problem, errno, path);
        }
        if (n == 0)
            break; // shorter than it was a moment ago: what there is
        got += n;
    }
    bytes->truncate(qsizetype(got));
    return true;
}

Contents read(const FilePath& path, qint64 maxBytes, const FilePath& confinedTo) {
    Contents contents;
    struct stat& info = contents.info;
    const int fd = openForReading(path, &contents.problem, &info, confinedTo);
    if (fd < 0) {
        contents.status = contents.problem.error == ENOENT ? Contents::Missing : Contents::Refused;
        return contents;
    }
    contents.status = Contents::Refused;
    if (info.st_size > maxBytes) {
        fail(&contents.problem, EFBIG,
             BVLocalizedString("FileTooLarge")
                 .arg(path.display())
                 .arg(double(maxBytes) / (1024 * 1024), 0, 'f', 0));
    } else if (readUpTo(fd, info.st_size, &contents.bytes, &contents.problem, path)) {
        contents.status = Contents::Read;
    }
    ::close(fd);
    return contents;
}

bool replace(const FilePath& path, const QByteArray& bytes, Problem* problem) {
    mode_t mode = newFileMode();
    struct stat existing;
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode))
            return fail(problem, 0, notARegularFileReason(path, existing.st_mode));
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        return failNotWritten(problem, errno, path);
    }
    QByteArray temporary;
    const int fd = writeBeside(path, bytes, mode, &temporary, problem);
    if (fd < 0)
        return false;
    int error = 0;
    if (temporary.isEmpty()) {
        // Named for the moment it takes to rename it over the old file.
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const FilePath folder = path.parent().isEmpty() ? FilePath(QByteArray(".")) : path.parent();
        for (int attempt = 0; attempt < 100 && temporary.isEmpty(); ++attempt) {
            const QByteArray candidate =
                folder
                    .childBytes(".bv-save-" + QByteArray::number(::getpid()) + '-' +
                                QByteArray::number(attempt))
                    .bytes();
            if (::linkat(AT_FDCWD, link, AT_FDCWD, candidate.constData(), AT_SYMLINK_FOLLOW) == 0)
                temporary = candidate;
            else if (errno != EEXIST)
                break;
        }
        if (temporary.isEmpty())
            error = errno ? errno : EEXIST;
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        if (!temporary.isEmpty())
            ::unlink(temporary.constData());
        return failNotWritten(problem, error, path);
    }
    // The name change itself reaches the disk with its folder.
    const FilePath folder = path.parent().isEmpty() ? FilePath(QByteArray(".")) : path.parent();
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool createNew(const FilePath& path, const QByteArray& bytes, Problem* problem, mode_t mode,
               Sync sync) {
    ignoreFileSizeSignal();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0)
        return failNotWritten(problem, errno, path);
    int error = 0;
    if (!writeAll(fd, bytes, &error) || (sync == Sync::Now && ::fsync(fd) != 0)) {
        if (error == 0)
            error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        return failNotWritten(problem, error, path);
    }
    if (::close(fd) != 0) {
        error = errno;
        ::unlink(path.c_str());
        return failNotWritten(problem, error, path);
    }
    return true;
}

bool syncFileSystem(const FilePath& folder, Problem* problem) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return failNotWritten(problem, errno, folder);
    // syncfs reports the write errors of the whole file system since it was last asked.
    const bool synced = ::syncfs(fd) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced || failNotWritten(problem, error, folder);
}

} // namespace SafeFile
