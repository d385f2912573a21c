#include "platform/movie/RecordingJournal.h"

#include "platform/foundation/FilePath.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/SafeFile.h"

#include <QHash>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RecordingJournal {
namespace {

const QByteArray kMagic = QByteArrayLiteral("brevoir recording journal 1");
// A journal this long is rewritten whatever it says; a healthy one stays far smaller.
constexpr qint64 kMaxBytes = 1024 * 1024;

struct Run {
    std::mutex mutex;
    int fd = -1;
    FilePath path;
    QByteArray folder;
    bool exclusive = false; // no other run holds the journal: it may be rewritten
    bool ended = false;     // the clean end is noted
};

Run& run() {
    static Run r;
    return r;
}

QByteArray record(char kind, const QByteArray& name = {}) {
    QByteArray bytes;
    bytes.reserve(name.size() + 2);
    bytes.append(kind);
    bytes.append(name);
    bytes.append('\0');
    return bytes;
}

bool appendTo(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray readAll(int fd, const FilePath& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size > kMaxBytes)
        return QByteArray("\xff", 1); // unreadable or far too long: parses as damaged
    QByteArray bytes;
    SafeFile::Problem problem;
    if (!SafeFile::readUpTo(fd, st.st_size, &bytes, &problem, path))
        return QByteArray("\xff", 1);
    return bytes;
}

// Opens the journal and takes the run's lock on it: exclusive when no other run holds it,
// shared otherwise. The file locked must still be the one at the path, since a run that
// rewrote the journal meanwhile put a new file there. -1 when the journal cannot be used.
int openLocked(const FilePath& path, bool* exclusive, QString* why) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        SafeFile::Problem problem;
        struct stat opened {};
        const int fd = SafeFile::openForAppending(path, &problem, &opened);
        if (fd < 0) {
            *why = problem.reason;
            return -1;
        }
        *exclusive = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (!*exclusive) {
            while (::flock(fd, LOCK_SH) != 0 && errno == EINTR) {
            }
        }
        struct stat now {};
        if (::lstat(path.c_str(), &now) == 0 && now.st_dev == opened.st_dev &&
            now.st_ino == opened.st_ino)
            return fd;
        ::close(fd);
    }
    *why = QStringLiteral("it keeps being replaced");
    return -1;
}

// Rewrites the journal as one run begun, all or nothing, and answers the descriptor the run
// goes on with: the new file's, locked shared, or `fd` itself when the old journal stays.
int rewrite(const FilePath& path, int fd) {
    SafeFile::Problem problem;
    if (!SafeFile::replace(path, record('j', kMagic) + record('r'), &problem)) {
        bvLog(QStringLiteral("couldn't rewrite the recording journal: %1").arg(problem.reason));
        // The old journal is whole: this run is noted in it as usual.
        appendTo(fd, record('r'));
        return fd;
    }
    bool exclusive = false;
    QString why;
    const int fresh = openLocked(path, &exclusive, &why);
    if (fresh < 0) {
        bvLog(QStringLiteral("couldn't reopen the recording journal: %1").arg(why));
        return fd;
    }
    ::flock(fresh, LOCK_SH);
    ::close(fd);
    return fresh;
}

QByteArray nameIn(const QByteArray& folder, const QByteArray& filePath) {
    const qsizetype slash = filePath.lastIndexOf('/');
    if (slash < 0 || filePath.left(slash) != folder)
        return {};
    return filePath.mid(slash + 1);
}

QByteArray withoutTrailingSlash(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

void endLocked(Run& r, bool clean) {
    if (r.fd < 0)
        return;
    if (clean && !r.ended && (!appendTo(r.fd, record('q')) || ::fdatasync(r.fd) != 0))
        bvLog(QStringLiteral("couldn't note the end of the run in the recording journal"));
    ::close(r.fd); // releases its lock
    r.fd = -1;
    r.path = FilePath();
    r.folder.clear();
    r.exclusive = false;
    r.ended = false;
}

} // namespace

Reading parse(const QByteArray& bytes) {
    Reading reading;
    if (bytes.isEmpty()) {
        reading.why = QStringLiteral("there is no recording journal yet");
        return reading;
    }
    if (!bytes.endsWith('\0')) {
        reading.why = QStringLiteral("the recording journal is torn");
        return reading;
    }
    qint64 runs = 0;
    QHash<QByteArray, int> open;
    qsizetype at = 0;
    bool first = true;
    while (at < bytes.size()) {
        const qsizetype end = bytes.indexOf('\0', at);
        const QByteArray entry = bytes.mid(at, end - at);
        at = end + 1;
        const char kind = entry.isEmpty() ? '\0' : entry[0];
        const QByteArray name = entry.mid(1);
        if (first != (kind == 'j') || (kind == 'j' && name != kMagic)) {
            reading.why = QStringLiteral("the recording journal is damaged");
            return reading;
        }
        first = false;
        switch (kind) {
        case 'j':
            break;
        case 'r':
            ++runs;
            break;
        case 'q':
            --runs;
            break;
        case 'b':
            ++open[name];
            break;
        case 'e':
            if (--open[name] <= 0)
                open.remove(name);
            break;
        default:
            reading.why = QStringLiteral("the recording journal is damaged");
            return reading;
        }
    }
    for (auto it = open.cbegin(); it != open.cend(); ++it)
        reading.unfinished << it.key();
    std::sort(reading.unfinished.begin(), reading.unfinished.end());
    if (runs > 0)
        reading.why = QStringLiteral("the last run did not end cleanly");
    else if (!reading.unfinished.isEmpty())
        reading.why = QStringLiteral("the recording journal names unfinished recordings");
    reading.needsCheck = runs > 0 || !reading.unfinished.isEmpty();
    return reading;
}

Reading beginRun(const QByteArray& journalPath, const QByteArray& folder) {
    Run& r = run();
    std::lock_guard lock(r.mutex);
    endLocked(r, true);
    const FilePath path(journalPath);
    bool exclusive = false;
    QString why;
    int fd = openLocked(path, &exclusive, &why);
    if (fd < 0) {
        // Whatever stands in its place is left alone; every recording is checked instead.
        Reading reading;
        reading.why = QStringLiteral("the recording journal cannot be used: %1").arg(why);
        return reading;
    }
    // Each run holds a shared lock for its life; whoever got it exclusively is alone.
    Reading reading = parse(readAll(fd, path));
    if (exclusive && !reading.needsCheck) {
        fd = rewrite(path, fd); // nothing to settle: start from a small journal
        exclusive = false;
    } else {
        appendTo(fd, record('r'));
    }
    r.fd = fd;
    r.path = path;
    r.exclusive = exclusive;
    r.folder = withoutTrailingSlash(folder);
    return reading;
}

void checked() {
    Run& r = run();
    std::lock_guard lock(r.mutex);
    if (r.fd < 0 || !r.exclusive)
        return;
    r.fd = rewrite(r.path, r.fd);
    ::flock(r.fd, LOCK_SH);
    r.exclusive = false;
}

void endRun() {
    Run& r = run();
    std::lock_guard lock(r.mutex);
    if (r.fd < 0 || r.ended)
        return;
    if (!appendTo(r.fd, record('q')) || ::fdatasync(r.fd) != 0)
        bvLog(QStringLiteral("couldn't note the end of the run in the recording journal"));
    r.ended = true;
    r.exclusive = false;
}

bool noteBegun(const QByteArray& filePath) {
    Run& r = run();
    std::lock_guard lock(r.mutex);
    const QByteArray name = r.fd < 0 ? QByteArray() : nameIn(r.folder, filePath);
    if (name.isEmpty())
        return false;
    if (!appendTo(r.fd, record('b', name)) || ::fdatasync(r.fd) != 0) {
        bvLog(QStringLiteral("couldn't note the recording in the recording journal: %1")
                  .arg(qt_error_string(errno)));
        return false;
    }
    return true;
}

void noteCompleted(const QByteArray& filePath) {
    Run& r = run();
    std::lock_guard lock(r.mutex);
    const QByteArray name = r.fd < 0 ? QByteArray() : nameIn(r.folder, filePath);
    if (!name.isEmpty())
        appendTo(r.fd, record('e', name));
}

} // namespace RecordingJournal
