#include "platform/foundation/FilePath.h"

#include "platform/foundation/FileNames.h"

FilePath FilePath::fromString(const QString& path) {
    return FilePath(FileNames::encode(path));
}

FilePath FilePath::child(const QString& name) const {
    return childBytes(FileNames::encode(name));
}

FilePath FilePath::childBytes(const QByteArray& name) const {
    if (_bytes.isEmpty())
        return FilePath(name);
    if (_bytes.endsWith('/'))
        return FilePath(_bytes + name);
    return FilePath(_bytes + '/' + name);
}

QByteArray FilePath::fileNameBytes() const {
    QByteArray trimmed = _bytes;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const qsizetype slash = trimmed.lastIndexOf('/');
    return slash < 0 ? trimmed : trimmed.mid(slash + 1);
}

QString FilePath::fileName() const {
    return FileNames::decode(fileNameBytes());
}

FilePath FilePath::parent() const {
    QByteArray trimmed = _bytes;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const qsizetype slash = trimmed.lastIndexOf('/');
    if (slash < 0)
        return FilePath();
    if (slash == 0)
        return FilePath(QByteArray("/"));
    return FilePath(trimmed.left(slash));
}

QString FilePath::toString() const {
    return FileNames::decode(_bytes);
}

QString FilePath::display() const {
    return FileNames::displayName(toString());
}

bool FilePath::isWithin(const FilePath& folder) const {
    QByteArray base = folder._bytes;
    while (base.size() > 1 && base.endsWith('/'))
        base.chop(1);
    if (base.isEmpty())
        return false;
    if (_bytes == base)
        return true;
    if (base == "/")
        return _bytes.startsWith('/');
    return _bytes.startsWith(base) && _bytes.size() > base.size() && _bytes[base.size()] == '/';
}
