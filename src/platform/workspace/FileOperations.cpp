#include "platform/workspace/FileOperations.h"

#include "platform/foundation/LocalizedString.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

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

// Whether a path lies inside a trash's "files" folder: the home trash or a volume's
// ".Trash-UID" / ".Trash/UID".
bool isInTrash(const QString& path) {
    const QString home = FileOperations::homeTrashFolder() + QStringLiteral("/files/");
    return path.startsWith(home) || path.contains(QStringLiteral("/.Trash-")) ||
           path.contains(QStringLiteral("/.Trash/"));
}
} // namespace

QString FileOperations::homeTrashFolder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/Trash");
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
    if (!exists(path))
        return fail(failure, errno);
    // Without its folders the trash would "succeed" by writing into the working directory.
    const QString trash = homeTrashFolder();
    for (const char* sub : {"/files", "/info"}) {
        const QString folder = trash + QLatin1String(sub);
        if (!QDir().mkpath(folder))
            return fail(failure, EACCES, BVLocalizedString("TrashFolderCannotBeMade").arg(folder));
        ::chmod(QFile::encodeName(trash).constData(), 0700);
    }
    const QString name = QFile::decodeName(path);
    QString inTrash;
    if (!QFile::moveToTrash(name, &inTrash))
        return fail(failure, EIO, BVLocalizedString("TrashRefused"));
    if (exists(path))
        return fail(failure, EIO, BVLocalizedString("TrashLeftInPlace"));
    if (!isInTrash(inTrash)) {
        // Put it back rather than leave it somewhere nobody would look.
        ::rename(QFile::encodeName(inTrash).constData(), path.constData());
        return fail(failure, EIO, BVLocalizedString("TrashMisplaced"));
    }
    return true;
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
