#include "platform/playlists/FileImport.h"

#include "platform/foundation/FileNames.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/SafeFile.h"
#include "platform/media/AudioFileEncoder.h"
#include "platform/media/MovieDuration.h"
#include "platform/playlists/TrackTitle.h"

#include <QScopeGuard>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {
constexpr int kMaxNumberedNames = 10000;
constexpr char kTemporaryPrefix[] = ".import-";
constexpr int kTemporaryRandom = 6; // mkstemp's XXXXXX

bool isOurTemporary(const char* name) {
    const size_t prefix = sizeof kTemporaryPrefix - 1;
    if (std::strncmp(name, kTemporaryPrefix, prefix) != 0 ||
        std::strlen(name) != prefix + kTemporaryRandom)
        return false;
    for (const char* c = name + prefix; *c; ++c) {
        if (!std::isalnum(static_cast<unsigned char>(*c)))
            return false;
    }
    return true;
}

// Copies `size` bytes (what fstat said the file holds) in chunks, so that an abort is seen
// within one.
bool copyFile(int from, int to, qint64 size, const std::atomic<bool>* abort, QString* error) {
    std::vector<char> buffer(1 << 20);
    for (qint64 copied = 0; copied < size;) {
        if (abort && abort->load()) {
            *error = BVLocalizedString("ImportCancelled");
            return false;
        }
        const ssize_t got = ::read(from, buffer.data(),
                                   size_t(std::min<qint64>(qint64(buffer.size()), size - copied)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *error = SafeFile::systemReason(errno);
            return false;
        }
        if (got == 0) {
            *error = BVLocalizedString("ImportFileShrank");
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer.data() + done, size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                *error = SafeFile::systemReason(put < 0 ? errno : ENOSPC);
                return false;
            }
            done += put;
        }
        copied += got;
    }
    return true;
}

// The name the file takes: its title, never hidden, with the extension when it has one.
QString nameOf(const QString& title, int number, const QString& extension) {
    QString stem = title;
    while (stem.startsWith(u'.'))
        stem.remove(0, 1);
    if (stem.isEmpty())
        stem = QStringLiteral("track");
    if (number > 1)
        stem += QStringLiteral(" %1").arg(number);
    return extension.isEmpty() ? stem : stem + u'.' + extension;
}

// Gives the finished temporary its name in the folder; never replaces a file.
QString publish(const FilePath& temporary, const FilePath& folder, const QString& stem,
                const QString& extension, bool numbered, QString* error) {
    for (int number = 1; number <= kMaxNumberedNames; ++number) {
        const FilePath path = folder / nameOf(stem, number, extension);
        if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
            return path.toString();
        if (errno != EEXIST) {
            *error = SafeFile::systemReason(errno);
            return {};
        }
        if (!numbered) {
            *error = BVLocalizedString("ImportNameTaken").arg(path.display());
            return {};
        }
    }
    *error = BVLocalizedString("ImportTooManyNames");
    return {};
}
} // namespace

FileImport::Result FileImport::importInto(const QString& source, const QString& title,
                                          const QString& folder,
                                          const std::optional<AudioEncoder>& encoder,
                                          const std::atomic<bool>* abort, const Options& options) {
    Result result;
    SafeFile::Problem problem;
    struct stat sourceInfo;
    // A link that leads out of the source's folder is not followed: what is imported is the
    // file that was listed there, not whatever a link put in its place names.
    const FilePath sourcePath = FilePath::fromString(source);
    const int in = SafeFile::openForReading(sourcePath, &problem, &sourceInfo, sourcePath.parent());
    if (in < 0) {
        result.error = problem.reason;
        return result;
    }
    int out = -1;
    const auto closeBoth = qScopeGuard([&] {
        ::close(in);
        if (out >= 0)
            ::close(out);
    });
    // A recording still being written would arrive cut short.
    if (SafeFile::isLockedForWriting(in)) {
        result.error = BVLocalizedString("ImportBeingWritten");
        return result;
    }
    const FilePath folderPath = FilePath::fromString(folder);
    QByteArray pattern = folderPath.childBytes(QByteArray(kTemporaryPrefix) + "XXXXXX").bytes();
    out = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (out < 0) {
        result.error = SafeFile::systemReason(errno);
        return result;
    }
    const FilePath temporary(pattern);
    // Held until the file has its name: a later sync leaves it alone meanwhile.
    ::flock(out, LOCK_EX);
    bool written = false;
    if (encoder) {
        const AudioFileEncoder::Result encoded = AudioFileEncoder::encodeFile(
            source, temporary.toString(), *encoder, title, abort, options.comment);
        written = encoded.ok;
        result.seconds = encoded.seconds;
        result.error = encoded.error;
    } else {
        written = copyFile(in, out, sourceInfo.st_size, abort, &result.error);
    }
    if (written && (::fchmod(out, SafeFile::newFileMode()) != 0 || ::fsync(out) != 0)) {
        result.error = SafeFile::systemReason(errno);
        written = false;
    }
    const QString extension = encoder ? encoder->extension : TrackTitle::extensionOf(source);
    if (written)
        result.path =
            publish(temporary, folderPath, options.fileStem.isEmpty() ? title : options.fileStem,
                    extension, options.numbered, &result.error);
    if (result.path.isEmpty()) {
        ::unlink(temporary.c_str());
        return result;
    }
    const int closed = ::close(std::exchange(out, -1));
    if (closed != 0) {
        result.error = SafeFile::systemReason(errno);
        ::unlink(FilePath::fromString(result.path).c_str());
        result.path.clear();
        return result;
    }
    if (result.seconds < 0)
        result.seconds = MovieDuration::durationOfFile(result.path);
    return result;
}

int FileImport::removeLeftovers(const QString& folder) {
    const FilePath folderPath = FilePath::fromString(folder);
    DIR* dir = ::opendir(folderPath.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isOurTemporary(entry->d_name))
            continue;
        const int fd = ::openat(::dirfd(dir), entry->d_name,
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        struct stat info;
        // Regular files that no running import holds.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) {
            ++removed;
            bvLog(QStringLiteral("removed %1, left by a sync that did not end")
                      .arg((folderPath.childBytes(entry->d_name)).display()));
        }
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}
