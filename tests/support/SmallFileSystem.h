#pragma once

#include <QDir>
#include <QString>

#include <sys/mount.h>

// A file system of `bytes` (tmpfs) mounted on `folder`, for the disk that fills up; unmounted
// at the end. Mounting needs root, which the test rig has.
class SmallFileSystem {
public:
    SmallFileSystem(const QString& folder, int bytes) : _folder(folder) {
        QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        _mounted = ::mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0,
                           options.constData()) == 0;
    }
    ~SmallFileSystem() {
        if (_mounted)
            ::umount2(_folder.toLocal8Bit().constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool mounted() const { return _mounted; }

private:
    QString _folder;
    bool _mounted = false;
};
