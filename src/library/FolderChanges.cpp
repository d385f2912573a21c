#include "library/FolderChanges.h"

#include "platform/foundation/FileNames.h"
#include "platform/foundation/FilePath.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace FolderChanges {

Changes compare(const QString& folder, const QSet<QString>& listed, const QSet<QString>& ignored,
                const QDateTime& now) {
    Changes changes;
    DIR* dir = ::opendir(FilePath::fromString(folder).c_str());
    if (!dir)
        return changes;
    changes.readable = true;
    const int folderFd = ::dirfd(dir);
    const qint64 settledBefore = now.toSecsSinceEpoch() - kSettleSeconds;
    QSet<QString> present;
    while (const struct dirent* d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
            continue;
        const QString name = FileNames::decode(QByteArray(d->d_name));
        present.insert(name);
        if (listed.contains(name) || ignored.contains(name))
            continue;
        struct stat st = {};
        if (::fstatat(folderFd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_mtim.tv_sec > settledBefore)
            changes.settling.insert(name);
    }
    ::closedir(dir);
    for (const QString& name : listed) {
        if (!present.contains(name))
            changes.gone << name;
    }
    changes.gone.sort();
    return changes;
}

} // namespace FolderChanges

FolderWatcher::FolderWatcher(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("recordingsFolderWatcher"));
    _gather.setSingleShot(true);
    _gather.setInterval(kGatherMilliseconds);
    connect(&_gather, &QTimer::timeout, this, &FolderWatcher::gathered);
    // Not restarted by each change: a long burst is told every interval while it lasts.
    connect(&_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!_gather.isActive())
            _gather.start();
    });
}

void FolderWatcher::watch(const QString& folder) {
    // Again for the same folder: one that was deleted and made again is watched afresh.
    if (folder == _folder && (folder.isEmpty() || _watcher.directories().contains(folder)))
        return;
    if (!_watcher.directories().isEmpty())
        _watcher.removePaths(_watcher.directories());
    _folder = folder;
    _gather.stop();
    if (!folder.isEmpty())
        _watcher.addPath(folder);
}

void FolderWatcher::checkAgainIn(int seconds) {
    // A notice already on its way looks again itself.
    if (!_gather.isActive())
        _gather.start(seconds * 1000);
}

void FolderWatcher::gathered() {
    _gather.setInterval(kGatherMilliseconds);
    // A folder deleted and made again is a new folder to the system: watched afresh.
    if (!_folder.isEmpty() && !_watcher.directories().contains(_folder))
        _watcher.addPath(_folder);
    emit changed();
}
