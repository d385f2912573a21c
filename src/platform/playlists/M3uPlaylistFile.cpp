#include "platform/playlists/M3uPlaylistFile.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/SafeFile.h"
#include "platform/playlists/TrackTitle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
qint64 changedNs(const struct stat& info) {
    return qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

int writeAllAt(int fd, const QByteArray& bytes, qint64 offset) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done),
                                     off_t(offset + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? errno : ENOSPC;
        done += put;
    }
    return 0;
}
} // namespace

M3uPlaylistFile M3uPlaylistFile::read(const FilePath& path) {
    M3uPlaylistFile file;
    file._path = path;
    const SafeFile::Contents contents = SafeFile::read(path, M3uPlaylist::kMaxBytes);
    if (contents.status != SafeFile::Contents::Read) {
        file._state =
            contents.status == SafeFile::Contents::Missing ? State::Missing : State::Refused;
        file._problem = contents.problem.reason;
        return file;
    }
    bool tooMany = false;
    file._entries = M3uPlaylist::parse(contents.bytes, &tooMany);
    if (tooMany) {
        file._entries.clear();
        file._state = State::Refused;
        file._problem = BVLocalizedString("PlaylistTooManyEntries")
                            .arg(path.display())
                            .arg(M3uPlaylist::kMaxEntries);
        return file;
    }
    file._state = State::Read;
    file._device = contents.info.st_dev;
    file._inode = contents.info.st_ino;
    file._size = contents.bytes.size();
    file._changedNs = changedNs(contents.info);
    file._ending = M3uPlaylist::endingOf(contents.bytes);
    return file;
}

bool M3uPlaylistFile::create(const FilePath& path, QString* problem) {
    SafeFile::Problem failure;
    if (SafeFile::createNew(path, M3uPlaylist::serialize({}), &failure))
        return true;
    *problem = failure.reason;
    return false;
}

bool M3uPlaylistFile::isUnchangedOnDisk() const {
    struct stat info;
    return _state == State::Read && ::stat(_path.c_str(), &info) == 0 && info.st_dev == _device &&
           info.st_ino == _inode && info.st_size == _size && changedNs(info) == _changedNs;
}

QString M3uPlaylistFile::changedReason() const {
    return BVLocalizedString("PlaylistChanged").arg(_path.display());
}

int M3uPlaylistFile::openForAppend(QString* problem) const {
    if (_state != State::Read) {
        *problem = _problem;
        return -1;
    }
    // Not through a link, and without waiting for whatever may have taken the file's place.
    const int fd = ::open(_path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        struct stat link;
        if (error == ELOOP && ::lstat(_path.c_str(), &link) == 0)
            *problem = SafeFile::notARegularFileReason(_path, link.st_mode);
        else if (error == ENOENT)
            *problem = changedReason();
        else
            *problem = BVLocalizedString("FileNotWritten")
                           .arg(_path.display(), SafeFile::systemReason(error));
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_dev != _device ||
        info.st_ino != _inode || info.st_size != _size) {
        *problem = changedReason();
        ::close(fd);
        return -1;
    }
    return fd;
}

bool M3uPlaylistFile::checkWritable(QString* problem) const {
    const int fd = openForAppend(problem);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool M3uPlaylistFile::append(const std::vector<M3uPlaylist::Entry>& entries, QString* problem) {
    if (entries.empty())
        return true;
    const int fd = openForAppend(problem);
    if (fd < 0)
        return false;
    SafeFile::ignoreFileSizeSignal();
    const QByteArray bytes = M3uPlaylist::appendix(_ending, entries);
    int error = writeAllAt(fd, bytes, _size);
    if (error == 0 && ::fdatasync(fd) != 0)
        error = errno;
    if (error != 0) {
        // What did get written goes again, so that the file holds its old lines alone.
        if (::ftruncate(fd, off_t(_size)) != 0 || ::fdatasync(fd) != 0)
            bvLog(QStringLiteral("could not cut %1 back to its %2 bytes: %3")
                      .arg(_path.display())
                      .arg(_size)
                      .arg(SafeFile::systemReason(errno)));
        ::close(fd);
        *problem =
            BVLocalizedString("FileNotWritten").arg(_path.display(), SafeFile::systemReason(error));
        return false;
    }
    struct stat info;
    if (::fstat(fd, &info) == 0)
        _changedNs = changedNs(info);
    ::close(fd);
    _size += bytes.size();
    _ending = M3uPlaylist::Ending{false, _ending.crlf, false, false};
    for (M3uPlaylist::Entry entry : entries) {
        entry.title = TrackTitle::cleaned(entry.title);
        _entries.push_back(std::move(entry));
    }
    return true;
}
