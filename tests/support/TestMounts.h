#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <sys/mount.h>

// File systems made for a test (mounting needs root, as in the test rig); each is unmounted
// when it goes.

// A file system of `bytes` (tmpfs), for the disk that fills up, or a volume of its own.
class SmallFileSystem {
public:
    SmallFileSystem(const QString& folder, int bytes) : _folder(QFile::encodeName(folder)) {
        QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        _mounted = ::mount("tmpfs", _folder.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallFileSystem() {
        if (_mounted)
            ::umount2(_folder.constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool mounted() const { return _mounted; }

private:
    QByteArray _folder;
    bool _mounted = false;
};

// An existing folder made read-only in place (a read-only bind mount over itself): writing
// in it fails with EROFS even for root, as on a disk mounted read-only.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder) : _folder(QFile::encodeName(folder)) {
        _mounted =
            ::mount(_folder.constData(), _folder.constData(), nullptr, MS_BIND, nullptr) == 0;
        if (_mounted && ::mount(nullptr, _folder.constData(), nullptr,
                                MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            ::umount2(_folder.constData(), MNT_DETACH);
            _mounted = false;
        }
    }
    ~ReadOnlyFolder() {
        if (_mounted)
            ::umount2(_folder.constData(), MNT_DETACH);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool mounted() const { return _mounted; }

private:
    QByteArray _folder;
    bool _mounted = false;
};
