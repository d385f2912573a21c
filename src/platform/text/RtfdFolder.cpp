#include "platform/text/RtfdFolder.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/SafeFile.h"
#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace Rtfd {
namespace {

const QString kTextFile = QStringLiteral("TXT.rtf");
constexpr size_t kPicturesSyncedOneByOne = 16;

bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

bool failNotWritten(QString* error, const FilePath& path, int code) {
    return fail(
        error,
        BVLocalizedString("FileNotWritten").arg(path.display(), SafeFile::systemReason(code)));
}

FilePath realPath(const FilePath& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? FilePath(QByteArray(resolved.get())) : FilePath();
}

// Whether `path`, every link resolved, lies inside `folder` (also resolved).
bool staysWithin(const FilePath& path, const FilePath& folder) {
    const FilePath real = realPath(path);
    const FilePath base = realPath(folder);
    return !real.isEmpty() && !base.isEmpty() && real.isWithin(base);
}

void removeTree(const FilePath& path) {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path.bytes().toStdString()), ignored);
}

bool syncPath(const FilePath& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Puts the complete folder `built` in the place of `target`, which is a folder or nothing; on
// failure `target` is as it was.
bool replace(const FilePath& built, const FilePath& target, bool targetExists, QString* error) {
    if (!targetExists) {
        if (::renameat2(AT_FDCWD, built.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS)
            return failNotWritten(error, target, errno);
        if (::rename(built.c_str(), target.c_str()) == 0)
            return true;
        return failNotWritten(error, target, errno);
    }
    if (::renameat2(AT_FDCWD, built.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        removeTree(built); // now the old folder
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS)
        return failNotWritten(error, target, errno);
    // A file system without exchange: the old folder steps aside until the new one is named.
    const FilePath aside(built.bytes() + "-old");
    if (::rename(target.c_str(), aside.c_str()) != 0)
        return failNotWritten(error, target, errno);
    if (::rename(built.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::rename(aside.c_str(), target.c_str());
        return failNotWritten(error, target, code);
    }
    removeTree(aside);
    return true;
}

// A plain name of a file inside the folder: no way out of it, never the text itself.
bool isAttachmentName(const QString& name) {
    const bool control =
        std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; });
    return !name.isEmpty() && !control && !name.contains(u'/') && name != QLatin1String(".") &&
           name != QLatin1String("..") && name.compare(kTextFile, Qt::CaseInsensitive) != 0;
}

} // namespace

bool write(const QTextDocument& document, const FilePath& folder, QString* error,
           const FilePath& confinedTo, int* picturesLeftOut) {
    if (folder.fileNameBytes().isEmpty())
        return fail(error, BVLocalizedString("NoteHasNoName"));
    const FilePath parent = folder.parent().isEmpty() ? FilePath(QByteArray(".")) : folder.parent();
    struct stat info;
    if (::stat(parent.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return fail(error, BVLocalizedString("NoteFolderMissing").arg(parent.display()));
    if (!confinedTo.isEmpty() && !staysWithin(parent, confinedTo))
        return fail(
            error,
            BVLocalizedString("FileLinksOutside").arg(folder.display(), confinedTo.display()));
    bool exists = false;
    if (::lstat(folder.c_str(), &info) == 0) {
        // Replaced only when it is a real folder: nothing is ever written through a link.
        if (!S_ISDIR(info.st_mode)) {
            return fail(error, S_ISLNK(info.st_mode)
                                   ? BVLocalizedString("FileIsALink").arg(folder.display())
                                   : BVLocalizedString("NoteNotAFolder").arg(folder.display()));
        }
        exists = true;
    } else if (errno != ENOENT) {
        return failNotWritten(error, folder, errno);
    }

    std::vector<Rtf::Attachment> attachments;
    const QByteArray rtf =
        Rtf::write(document, Rtf::Images::Attachments, &attachments, picturesLeftOut);

    // Built beside the target, so that naming it is a rename within one file system.
    QByteArray pattern = parent.childBytes(".bv-note-XXXXXX").bytes();
    if (!::mkdtemp(pattern.data()))
        return failNotWritten(error, folder, errno);
    const FilePath built(pattern);
    SafeFile::Problem problem;
    // Each file is checked as it is written. A few are synced one by one; many reach the disk
    // with one sync of the file system, as a flush per picture would take minutes.
    const bool many = attachments.size() > kPicturesSyncedOneByOne;
    const SafeFile::Sync sync = many ? SafeFile::Sync::ByCaller : SafeFile::Sync::Now;
    bool written = SafeFile::createNew(built / kTextFile, rtf, &problem, 0644, sync);
    for (size_t i = 0; written && i < attachments.size(); ++i)
        written = SafeFile::createNew(built / attachments[i].fileName, attachments[i].bytes,
                                      &problem, 0644, sync);
    if (written && ::chmod(built.c_str(), 0755) != 0) {
        written = false;
        problem.reason = BVLocalizedString("FileNotWritten")
                             .arg(folder.display(), SafeFile::systemReason(errno));
    }
    if (written && many)
        written = SafeFile::syncFileSystem(built, &problem);
    else if (written && !syncPath(built))
        written = failNotWritten(&problem.reason, folder, errno);
    if (!written || !replace(built, folder, exists, error)) {
        if (!written && error)
            *error = problem.reason;
        removeTree(built);
        return false;
    }
    syncPath(parent);
    return true;
}

bool read(const FilePath& folder, QTextDocument* document, QString* error,
          const FilePath& confinedTo, Rtf::ReadReport* report) {
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0)
        return fail(
            error,
            BVLocalizedString("FileNotRead").arg(folder.display(), SafeFile::systemReason(errno)));
    if (!S_ISDIR(info.st_mode))
        return fail(error, BVLocalizedString("NoteNotAFolder").arg(folder.display()));
    if (!confinedTo.isEmpty() && !staysWithin(folder, confinedTo))
        return fail(
            error,
            BVLocalizedString("FileLinksOutside").arg(folder.display(), confinedTo.display()));
    // The text and the pictures come from inside the folder only.
    const SafeFile::Contents text = SafeFile::read(folder / kTextFile, kMaxFileSize, folder);
    if (text.status != SafeFile::Contents::Read)
        return fail(error, text.problem.reason);

    const auto attachment = [&folder](const QString& name) -> QByteArray {
        if (!isAttachmentName(name))
            return {};
        SafeFile::Contents bytes = SafeFile::read(folder / name, kMaxFileSize, folder);
        return bytes.status == SafeFile::Contents::Read ? bytes.bytes : QByteArray();
    };
    return Rtf::read(text.bytes, document, attachment, error, report);
}

qint64 textSize(const FilePath& folder) {
    struct stat info;
    if (::stat((folder / kTextFile).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return info.st_size;
}

} // namespace Rtfd
