// Repair at launch of recordings that a crash, a kill or a power loss interrupted.
//
// A recording file carries our leading atom (the sound format, with a copy in the reserve)
// before its mdat from the first moment, and its sound is synced at least twice a second, so a
// file without a movie atom can be completed later from what reached the disk. The folder is
// read by bytes (a name need not be UTF-8), and each file is opened read-only, locked and
// inspected before anything is written; a file that a recording (in this or another process)
// still writes is locked and skipped.
#include "platform/movie/MovieRepair.h"

#include "platform/foundation/Log.h"
#include "platform/movie/MovieFile.h"
#include "platform/movie/RecordingJournal.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MovieRepair {
namespace {

QString display(const QByteArray& name) {
    return QFile::decodeName(name);
}

class Fd {
public:
    explicit Fd(int fd) : _fd(fd) {}
    ~Fd() {
        if (_fd >= 0)
            ::close(_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return _fd; }

private:
    int _fd;
};

void leaveAlone(Report& report, const QByteArray& name, const QString& reason) {
    bvLog(QStringLiteral("left recording as it is: %1 (%2)").arg(display(name), reason));
    report.leftAlone.append({name, reason});
}

void repairFile(int folderFd, const QByteArray& name, Report& report) {
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    Fd reading(::openat(folderFd, name.constData(), O_RDONLY | flags));
    if (reading.get() < 0) {
        if (errno != ELOOP) // a symbolic link is no recording of ours
            bvLog(
                QStringLiteral("couldn't read %1: %2").arg(display(name), qt_error_string(errno)));
        return;
    }
    ++report.filesOpened;
    struct stat st {};
    if (::fstat(reading.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    // The lock, held by this descriptor, keeps a recorder off the file while it is repaired.
    if (!MovieFile::tryLock(reading.get()))
        return; // being recorded
    const MovieFile::Inspection found = MovieFile::inspect(reading.get());
    if (!found.ours || (found.complete && found.problem.isEmpty()))
        return;
    if (!found.problem.isEmpty())
        return leaveAlone(report, name, found.problem);
    // Root may write anything; the owner's mode says whether the user wants it changed.
    if (!(st.st_mode & S_IWUSR))
        return leaveAlone(report, name, QStringLiteral("it is read-only"));

    Fd writing(::openat(folderFd, name.constData(), O_RDWR | flags));
    struct stat again {};
    if (writing.get() < 0 || ::fstat(writing.get(), &again) != 0 || again.st_ino != st.st_ino ||
        again.st_dev != st.st_dev)
        return leaveAlone(report, name,
                          QStringLiteral("it cannot be opened for writing (%1)")
                              .arg(qt_error_string(writing.get() < 0 ? errno : EBUSY)));
    QString why;
    const int e = found.movieFollows
                      ? MovieFile::closeData(writing.get(), found.dataBytes, &why)
                      : MovieFile::complete(writing.get(), *found.tag, found.dataBytes, &why);
    if (e != 0) {
        bvLog(QStringLiteral("couldn't repair interrupted recording: %1 (%2)")
                  .arg(display(name), why));
        report.leftAlone.append({name, why});
        return;
    }
    bvLog(QStringLiteral("repaired interrupted recording: %1").arg(display(name)));
    report.repaired.append(name);
}

} // namespace

Report repairFolder(const QByteArray& folder, const std::atomic<bool>* stop) {
    Report report;
    if (folder.isEmpty())
        return report;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return report;
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == ".." || entry->d_type == DT_DIR || entry->d_type == DT_LNK)
            continue;
        names.append(name);
    }
    std::sort(names.begin(), names.end());
    const int folderFd = ::dirfd(dir);
    for (const QByteArray& name : names) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            report.stopped = true;
            break;
        }
        repairFile(folderFd, name, report);
    }
    ::closedir(dir);
    report.checkedAll = !report.stopped;
    return report;
}

Report repairFile(const QByteArray& folder, const QByteArray& name) {
    Report report;
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return report;
    repairFile(folderFd, name, report);
    ::close(folderFd);
    return report;
}

Report repairAtLaunch(const QByteArray& folder, const QByteArray& journalPath,
                      const std::atomic<bool>* stop) {
    const RecordingJournal::Reading journal = RecordingJournal::beginRun(journalPath, folder);
    if (!journal.needsCheck)
        return {};
    bvLog(QStringLiteral("checking every recording: %1").arg(journal.why));
    Report report = repairFolder(folder, stop);
    if (report.checkedAll)
        RecordingJournal::checked();
    return report;
}

QString describe(const QList<LeftAlone>& files) {
    QStringList parts;
    for (const LeftAlone& file : files)
        parts << QStringLiteral("%1 (%2)").arg(display(file.name), file.reason);
    return parts.join(QStringLiteral(", "));
}

} // namespace MovieRepair

int RepairInterruptedMovies(const QString& folder) {
    return int(MovieRepair::repairFolder(QFile::encodeName(folder)).repaired.size());
}
