#include "library/LibraryScanner.h"

#include "library/QBVTrack.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/Log.h"
#include "platform/media/MovieDuration.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Measuring is mostly waiting on small reads; a handful of files is not worth the threads.
constexpr size_t kParallelFrom = 16;

QDateTime fromTimestamp(const struct statx_timestamp& t) {
    return QDateTime::fromMSecsSinceEpoch(t.tv_sec * 1000 + t.tv_nsec / 1000000, Qt::UTC);
}

// Size, dates and duration of a file named in the folder; false when it is no longer a
// regular file by the time it is looked at.
bool measure(int folderFd, const QString& folder, ScannedEntry& entry) {
    struct statx st = {};
    const QByteArray name = FileNames::encode(entry.name);
    if (::statx(folderFd, name.constData(), AT_SYMLINK_NOFOLLOW,
                STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME, &st) != 0 ||
        !S_ISREG(st.stx_mode))
        return false;
    entry.size = st.stx_size;
    entry.date =
        (st.stx_mask & STATX_BTIME) ? fromTimestamp(st.stx_btime) : fromTimestamp(st.stx_mtime);
    entry.duration = MovieDuration::durationOfFile(folder + QLatin1Char('/') + entry.name);
    return true;
}

bool isRegularFile(int folderFd, const struct dirent* d) {
    if (d->d_type != DT_UNKNOWN)
        return d->d_type == DT_REG;
    struct stat st = {};
    return ::fstatat(folderFd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
}

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

std::vector<ScannedEntry> scanRecordingsFolder(const QString& folder, const QSet<QString>& known) {
    std::vector<ScannedEntry> entries;
    DIR* dir = ::opendir(FileNames::encodePath(folder).constData());
    if (!dir)
        return entries;
    const int folderFd = ::dirfd(dir);
    while (const struct dirent* d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
            continue;
        ScannedEntry entry;
        // Lossless: a name that is not UTF-8 keeps its bytes, so that it is its own track and
        // can be opened again.
        entry.name = FileNames::decode(QByteArray(d->d_name));
        if (known.contains(entry.name))
            continue;
        if (!isRegularFile(folderFd, d))
            entry.kind = ScannedEntry::NotRegular;
        else if (entry.name == QLatin1String(".DS_Store"))
            entry.kind = ScannedEntry::Ignored;
        else
            entry.kind = ScannedEntry::File;
        entries.push_back(std::move(entry));
    }

    std::vector<ScannedEntry*> files;
    for (ScannedEntry& entry : entries) {
        if (entry.kind == ScannedEntry::File)
            files.push_back(&entry);
    }
    auto measureOne = [folderFd, &folder](ScannedEntry* entry) {
        if (!measure(folderFd, folder, *entry))
            entry->kind = ScannedEntry::NotRegular;
    };
    if (files.size() < kParallelFrom)
        std::for_each(files.begin(), files.end(), measureOne);
    else
        QtConcurrent::blockingMap(files, measureOne);
    ::closedir(dir);
    return entries;
}

void logSkippedEntry(const ScannedEntry& entry) {
    bvLog(QStringLiteral("skipping this item - ") + entry.name);
}

QString describeStrings(const QStringList& strings) {
    QStringList items;
    items.reserve(strings.size());
    for (const QString& s : strings)
        items << quoted(s);
    return QLatin1Char('(') + items.join(QLatin1String(", ")) + QLatin1Char(')');
}

QString describeTracks(const std::vector<std::shared_ptr<QBVTrack>>& tracks) {
    QStringList items;
    items.reserve(qsizetype(tracks.size()));
    for (const auto& track : tracks)
        items << QStringLiteral("<QBVTrack: %1>").arg(quoted(track ? track->name() : QString()));
    return QLatin1Char('(') + items.join(QLatin1String(", ")) + QLatin1Char(')');
}
