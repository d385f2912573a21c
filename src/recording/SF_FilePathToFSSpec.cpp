#include "recording/SF_FilePathToFSSpec.h"

#include <QDir>
#include <QFileInfo>

int16_t SF_FilePathToFSSpec(const QString& path, FSSpec* spec) {
    if (path.isEmpty() || !spec)
        return FileSpecErr::paramErr;
    const QFileInfo info(path);
    if (!info.exists())
        return FileSpecErr::fnfErr;
    if (info.isDir())
        return FileSpecErr::notAFileErr;
    spec->path = QDir::cleanPath(info.absoluteFilePath());
    return FileSpecErr::noErr;
}
