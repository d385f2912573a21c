#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// A path as the file system's bytes. Names travel through the program as QStrings in which a
// byte that is not UTF-8 is kept as an escape (FileNames); every path that reaches the system
// is made here, from those names, so that no byte is lost or changed on the way and two
// names that differ in one byte are two paths.
class FilePath {
public:
    FilePath() = default;
    explicit FilePath(QByteArray bytes) : _bytes(std::move(bytes)) {}
    // A path or name as the program keeps it (escaped bytes allowed).
    static FilePath fromString(const QString& path);

    // This path with one more component, a plain name (no "/").
    FilePath child(const QString& name) const;
    FilePath childBytes(const QByteArray& name) const;
    FilePath operator/(const QString& name) const { return child(name); }

    // The last component, and everything before it ("" for a bare name).
    QByteArray fileNameBytes() const;
    QString fileName() const;
    FilePath parent() const;

    const QByteArray& bytes() const { return _bytes; }
    const char* c_str() const { return _bytes.constData(); }
    bool isEmpty() const { return _bytes.isEmpty(); }
    // The lossless QString form (escapes for bytes that are not UTF-8).
    QString toString() const;
    // For people: escaped bytes shown as U+FFFD.
    QString display() const;

    // Whether this path is `folder` or lies below it, comparing components as written (no
    // link is resolved).
    bool isWithin(const FilePath& folder) const;

    bool operator==(const FilePath&) const = default;

private:
    QByteArray _bytes;
};

template <> struct std::hash<FilePath> {
    size_t operator()(const FilePath& path) const noexcept {
        return std::hash<std::string_view>()(
            std::string_view(path.bytes().constData(), size_t(path.bytes().size())));
    }
};
