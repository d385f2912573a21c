#include "platform/workspace/FileOperations.h"

#include "platform/workspace/Trash.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool fail(FileOperations::Failure* failure, int error, const QString& reason = {}) {
    if (failure) {
        failure->error = error;
        failure->reason = reason.isEmpty() ? QString::fromLocal8Bit(std::strerror(error)) : reason;
    }
    return false;
}

bool exists(const QByteArray& path) {
    struct stat info;
    return ::lstat(path.constData(), &info) == 0;
}

} // namespace

QString FileOperations::homeTrashFolder() {
    return Trash::homeTrash().toString();
}

bool FileOperations::renameWithoutReplacing(const QByteArray& from, const QByteArray& to,
                                            Failure* failure) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return fail(failure, errno);
    // A file system without the flag: a hard link cannot replace either, then drop the old one.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return true;
    }
    if (errno == EEXIST)
        return fail(failure, errno);
    // Neither (FAT): check, then rename; the window between the two is all that is left.
    if (exists(to))
        return fail(failure, EEXIST);
    if (::rename(from.constData(), to.constData()) != 0)
        return fail(failure, errno);
    return true;
}

bool FileOperations::moveToTrash(const QByteArray& path, Failure* failure) {
    Trash::Problem problem;
    if (Trash::moveToTrash(FilePath(path), nullptr, &problem))
        return true;
    return fail(failure, problem.error ? problem.error : EIO, problem.reason);
}

bool FileOperations::destroy(const QByteArray& path, Failure* failure) {
    std::error_code error;
    const std::filesystem::path target(path.toStdString());
    if (!std::filesystem::exists(std::filesystem::symlink_status(target, error)))
        return fail(failure, error ? error.value() : ENOENT);
    std::filesystem::remove_all(target, error);
    if (error)
        return fail(failure, error.value());
    if (exists(path))
        return fail(failure, EIO);
    return true;
}
