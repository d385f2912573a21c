#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/mount.h>

// An existing folder made read-only in place (a read-only bind mount over itself): writing
// in it fails with EROFS even for root, as on a disk mounted read-only; mounted back at the
// end. Mounting needs root, which the test rig has.
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
