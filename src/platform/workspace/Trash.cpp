#include "platform/workspace/Trash.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/SafeFile.h"
#include "platform/workspace/FileOperations.h"

#include <QDir>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace Trash {
namespace {

// Names tried before a trash counts as having no free name: each try is one O_EXCL create.
constexpr int kMostVariants = 1000;

bool fail(Problem* problem, int error, const QString& reason) {
    if (problem) {
        problem->error = error;
        problem->reason = reason;
    }
    return false;
}

FilePath realPath(const FilePath& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? FilePath(QByteArray(resolved.get())) : FilePath();
}

// The device of `path`, or of the nearest folder above it that exists.
bool deviceOf(FilePath path, dev_t* device) {
    struct stat info;
    while (!path.isEmpty()) {
        if (::stat(path.c_str(), &info) == 0) {
            *device = info.st_dev;
            return true;
        }
        if (errno != ENOENT)
            return false;
        path = path.parent();
    }
    return false;
}

// The top directory of the file system that holds `folder` (a real path): the highest folder
// above it still on `device`.
FilePath topDirectoryOf(FilePath folder, dev_t device) {
    while (folder.bytes() != "/") {
        const FilePath up = folder.parent();
        struct stat info;
        if (up.isEmpty() || ::stat(up.c_str(), &info) != 0 || info.st_dev != device)
            break;
        folder = up;
    }
    return folder;
}

// A folder of the trash: made (0700) when missing; it must then be a real folder, never a
// link, and, in a volume's shared top directory, belong to us.
bool ensureFolder(const FilePath& folder, bool mustBeOurs, Problem* problem) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return fail(problem, errno,
                    BVLocalizedString("TrashNotWritable")
                        .arg(folder.display(), SafeFile::systemReason(errno)));
    }
    struct stat info;
    if (::lstat(folder.c_str(), &info) != 0)
        return fail(problem, errno,
                    BVLocalizedString("TrashNotWritable")
                        .arg(folder.display(), SafeFile::systemReason(errno)));
    if (!S_ISDIR(info.st_mode) || (mustBeOurs && info.st_uid != ::getuid()))
        return fail(problem, 0, BVLocalizedString("TrashFolderUnsafe").arg(folder.display()));
    return true;
}

// The folders above the home trash, made as `mkdir -p` would.
bool makeFolders(const FilePath& folder, Problem* problem) {
    struct stat info;
    if (folder.isEmpty() || ::stat(folder.c_str(), &info) == 0)
        return true;
    if (!makeFolders(folder.parent(), problem))
        return false;
    if (::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST)
        return true;
    return fail(problem, errno, BVLocalizedString("TrashFolderCannotBeMade").arg(folder.display()));
}

bool ensureTrash(const FilePath& trash, bool shared, Problem* problem) {
    return ensureFolder(trash, shared, problem) &&
           ensureFolder(trash / QStringLiteral("files"), shared, problem) &&
           ensureFolder(trash / QStringLiteral("info"), shared, problem);
}

// The trash of a volume other than the home trash's, and the top directory its Path= values
// are relative to.
bool volumeTrash(const FilePath& top, FilePath* trash, Problem* problem) {
    const QByteArray uid = QByteArray::number(::getuid());
    // Method 1: an administrator's sticky ".Trash" holding one folder per user.
    const FilePath shared = top.childBytes(".Trash");
    struct stat info;
    if (::lstat(shared.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX)) {
        *trash = shared.childBytes(uid);
        if (ensureTrash(*trash, true, nullptr))
            return true;
    }
    // Method 2: ".Trash-UID", made by us when it is missing.
    *trash = top.childBytes(".Trash-" + uid);
    return ensureTrash(*trash, true, problem);
}

QByteArray variantOf(const QByteArray& name, int n) {
    if (n == 1)
        return name;
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArray number = QByteArray::number(n);
    if (dot <= 0)
        return name + '.' + number;
    return name.left(dot) + '.' + number + name.mid(dot);
}

// Short enough that "NAME.trashinfo" is still a name the folder can hold.
QByteArray fittingName(QByteArray name, long longest) {
    const qsizetype room = qsizetype(longest) - qsizetype(sizeof ".trashinfo") - 4;
    if (name.size() <= room)
        return name;
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArray extension = dot > 0 && name.size() - dot < 16 ? name.mid(dot) : QByteArray();
    QByteArray stem = name.left(room - extension.size());
    // Not inside a UTF-8 sequence: the name stays readable.
    while (!stem.isEmpty() && (uchar(stem.back()) & 0xc0) == 0x80)
        stem.chop(1);
    if (!stem.isEmpty() && uchar(stem.back()) >= 0xc0)
        stem.chop(1);
    return stem + extension;
}

void syncFolder(const FilePath& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool isUnreserved(uchar c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

} // namespace

FilePath homeTrash() {
    // By bytes: a home whose name is not UTF-8 is still the home.
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    if (data.startsWith('/'))
        return FilePath(data) / QStringLiteral("Trash");
    QByteArray home = qgetenv("HOME");
    if (!home.startsWith('/'))
        home = QDir::homePath().toLocal8Bit();
    return FilePath(home).childBytes(".local").childBytes("share").childBytes("Trash");
}

QByteArray trashInfo(const QByteArray& path, const QDateTime& deletedAt) {
    QByteArray encoded;
    encoded.reserve(path.size() * 3);
    for (const char c : path) {
        if (isUnreserved(uchar(c))) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += QByteArray::number(uchar(c), 16).toUpper().rightJustified(2, '0');
        }
    }
    return "[Trash Info]\nPath=" + encoded + "\nDeletionDate=" +
           deletedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
           '\n';
}

QByteArray decodeInfoPath(const QByteArray& value) {
    QByteArray bytes;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            bytes += value[i];
            continue;
        }
        bool ok = false;
        const int byte = i + 2 < value.size() ? value.mid(i + 1, 2).toInt(&ok, 16) : 0;
        if (!ok)
            return {};
        bytes += char(byte);
        i += 2;
    }
    return bytes;
}

bool moveToTrash(const FilePath& path, Placement* placement, Problem* problem,
                 const QDateTime& deletedAt) {
    struct stat item;
    if (path.isEmpty() || ::lstat(path.c_str(), &item) != 0)
        return fail(problem, path.isEmpty() ? ENOENT : errno,
                    BVLocalizedString("FileNotRead")
                        .arg(path.display(), SafeFile::systemReason(errno ? errno : ENOENT)));
    const QByteArray name = path.fileNameBytes();
    // The folder the item is in, every link resolved: the trash and Path= follow the real place.
    const FilePath folder =
        realPath(path.parent().isEmpty() ? FilePath(QByteArray(".")) : path.parent());
    if (folder.isEmpty() || name.isEmpty() || name == "." || name == "..")
        return fail(problem, errno,
                    BVLocalizedString("FileNotRead")
                        .arg(path.display(), SafeFile::systemReason(errno ? errno : EINVAL)));
    const QByteArray absolute = folder.childBytes(name).bytes();

    // The home trash takes what is on its own file system; anything else goes to its volume's.
    FilePath trash = homeTrash();
    QByteArray infoPath = absolute;
    dev_t homeDevice = 0;
    if (deviceOf(trash, &homeDevice) && homeDevice == item.st_dev) {
        if (!makeFolders(trash.parent(), problem) || !ensureTrash(trash, false, problem))
            return false;
    } else {
        const FilePath top = topDirectoryOf(folder, item.st_dev);
        Problem why;
        if (!volumeTrash(top, &trash, &why))
            return fail(problem, why.error,
                        BVLocalizedString("NoTrashOnVolume").arg(path.display(), why.reason));
        infoPath = top.bytes() == "/" ? absolute.mid(1) : absolute.mid(top.bytes().size() + 1);
    }

    const QByteArray info = trashInfo(infoPath, deletedAt);
    const FilePath infoFolder = trash / QStringLiteral("info");
    const FilePath filesFolder = trash / QStringLiteral("files");
    long longest = ::pathconf(infoFolder.c_str(), _PC_NAME_MAX);
    if (longest <= 0)
        longest = NAME_MAX;
    const QByteArray stem = fittingName(name, longest);
    for (int n = 1; n <= kMostVariants; ++n) {
        const QByteArray candidate = variantOf(stem, n);
        const FilePath infoFile = infoFolder.childBytes(candidate + ".trashinfo");
        // The info first, whole and synced: a trash entry that the file manager cannot put back
        // is worse than a file left where it was.
        SafeFile::Problem written;
        if (!SafeFile::createNew(infoFile, info, &written, 0600)) {
            if (written.error == EEXIST)
                continue;
            return fail(problem, written.error,
                        BVLocalizedString("TrashNotWritable")
                            .arg(trash.display(), written.error
                                                      ? SafeFile::systemReason(written.error)
                                                      : written.reason));
        }
        syncFolder(infoFolder);
        const FilePath file = filesFolder.childBytes(candidate);
        FileOperations::Failure moved;
        if (!FileOperations::renameWithoutReplacing(path.bytes(), file.bytes(), &moved)) {
            ::unlink(infoFile.c_str());
            if (moved.error == EEXIST)
                continue;
            return fail(problem, moved.error,
                        BVLocalizedString("TrashMoveFailed").arg(path.display(), moved.reason));
        }
        syncFolder(filesFolder);
        struct stat left;
        if (::lstat(path.c_str(), &left) == 0)
            return fail(problem, EIO, BVLocalizedString("TrashLeftInPlace"));
        if (placement)
            *placement = {trash, file, infoFile};
        return true;
    }
    return fail(problem, EEXIST,
                BVLocalizedString("TrashNoFreeName").arg(trash.display(), path.display()));
}

} // namespace Trash
