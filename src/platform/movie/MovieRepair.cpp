// Repair at launch of recordings that a crash, a kill or a power loss interrupted.
//
// A recording file carries our leading atom (the sound format) before its mdat from the first
// moment, and its sound is synced at least twice a second, so a file without a movie atom can
// be completed later from what reached the disk: whole packets of sound, the mdat closed, the
// movie atom written. A file that a recording (in this or another process) still writes is
// locked and skipped; a file without our leading atom is never changed.
#include "platform/movie/MovieRepair.h"

#include "platform/foundation/Log.h"
#include "platform/movie/MovieFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {
// Answers whether the file was repaired.
bool repairFile(const QFileInfo& info) {
    const QByteArray native = QFile::encodeName(info.absoluteFilePath());
    const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool repaired = false;
    if (MovieFile::tryLock(fd)) {
        const MovieFile::Inspection found = MovieFile::inspect(fd);
        if (found.tag && !found.complete) {
            QString why;
            if (MovieFile::complete(fd, *found.tag, found.dataBytes, &why) == 0) {
                bvLog(QStringLiteral("repaired interrupted recording: %1").arg(info.fileName()));
                repaired = true;
            } else {
                bvLog(QStringLiteral("couldn't repair interrupted recording: %1 (%2)")
                          .arg(info.fileName(), why));
            }
        }
    }
    ::close(fd); // also releases the lock
    return repaired;
}
} // namespace

int RepairInterruptedMovies(const QString& folder) {
    if (folder.isEmpty())
        return 0;
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    int repaired = 0;
    for (const QFileInfo& info : files) {
        if (repairFile(info))
            ++repaired;
    }
    return repaired;
}
