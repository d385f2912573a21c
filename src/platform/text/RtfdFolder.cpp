#include "platform/text/RtfdFolder.h"

#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Rtfd {
namespace {

constexpr qint64 kMaxFileSize = 64 << 20;
const QString kTextFile = QStringLiteral("TXT.rtf");

bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool syncPath(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0)
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

bool removeEntry(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

// Puts the complete folder `built` in the place of `target`, which may not exist yet; on
// failure `target` is as it was.
bool replace(const QString& built, const QString& target, QString* error) {
    const QByteArray from = QFile::encodeName(built);
    const QByteArray to = QFile::encodeName(target);
    struct stat existing;
    if (::lstat(to.constData(), &existing) != 0) {
        if (errno != ENOENT)
            return fail(error, QStringLiteral("Cannot use %1: %2").arg(target, systemError()));
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) ==
            0)
            return true;
        if (errno != EINVAL && errno != ENOSYS)
            return fail(error, QStringLiteral("Cannot write %1: %2").arg(target, systemError()));
        if (::rename(from.constData(), to.constData()) == 0)
            return true;
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(target, systemError()));
    }
    if (!S_ISDIR(existing.st_mode))
        return fail(error,
                    QStringLiteral("%1 is not a note folder; it was left as it is.").arg(target));
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0) {
        removeEntry(built); // now the old folder
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS)
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(target, systemError()));
    // A file system without exchange: the old folder steps aside until the new one is named.
    const QByteArray aside = from + "-old";
    if (::rename(to.constData(), aside.constData()) != 0)
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(target, systemError()));
    if (::rename(from.constData(), to.constData()) != 0) {
        const QString reason = systemError();
        ::rename(aside.constData(), to.constData());
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(target, reason));
    }
    removeEntry(QFile::decodeName(aside));
    return true;
}

} // namespace

bool write(const QTextDocument& document, const QString& folderPath, QString* error) {
    const QFileInfo target(folderPath);
    const QString parent = target.absolutePath();
    if (target.fileName().isEmpty())
        return fail(error, QStringLiteral("No name was given for the note."));
    if (!QFileInfo(parent).isDir())
        return fail(error, QStringLiteral("The folder %1 does not exist.").arg(parent));

    std::vector<Rtf::Attachment> attachments;
    const QByteArray rtf = Rtf::write(document, Rtf::Images::Attachments, &attachments);

    // Built beside the target, so that naming it is a rename within one file system.
    QTemporaryDir built(parent + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral("-XXXXXX"));
    if (!built.isValid())
        return fail(error,
                    QStringLiteral("Cannot write in %1: %2").arg(parent, built.errorString()));
    if (!writeFile(built.filePath(kTextFile), rtf, error))
        return false;
    for (const Rtf::Attachment& attachment : attachments) {
        if (!writeFile(built.filePath(attachment.fileName), attachment.bytes, error))
            return false;
    }
    ::chmod(QFile::encodeName(built.path()).constData(), 0755);
    if (!syncPath(built.path()))
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(folderPath, systemError()));
    if (!replace(built.path(), target.absoluteFilePath(), error))
        return false;
    built.setAutoRemove(false); // it has become the note
    syncPath(parent);
    return true;
}

bool read(const QString& folderPath, QTextDocument* document, QString* error) {
    const QFileInfo folder(folderPath);
    if (!folder.exists())
        return fail(error, QStringLiteral("%1 does not exist.").arg(folderPath));
    if (!folder.isDir())
        return fail(error, QStringLiteral("%1 is not a note folder.").arg(folderPath));
    QFile text(QDir(folderPath).filePath(kTextFile));
    if (!text.open(QIODevice::ReadOnly))
        return fail(error,
                    QStringLiteral("Cannot read %1: %2").arg(text.fileName(), text.errorString()));
    if (text.size() > kMaxFileSize)
        return fail(error, QStringLiteral("%1 is too large to be a note.").arg(text.fileName()));
    const QByteArray rtf = text.read(kMaxFileSize);

    const QDir dir(folderPath);
    // Attachments are files directly in the folder, never links out of it.
    const auto attachment = [&dir](const QString& name) -> QByteArray {
        const bool control =
            std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; });
        if (name.isEmpty() || control || name.contains(u'/') || name == QLatin1String(".") ||
            name == QLatin1String("..") || name.compare(kTextFile, Qt::CaseInsensitive) == 0)
            return {};
        const QFileInfo info(dir.filePath(name));
        if (info.isSymLink() || !info.isFile() || info.size() > kMaxFileSize)
            return {};
        QFile file(info.filePath());
        return file.open(QIODevice::ReadOnly) ? file.read(kMaxFileSize) : QByteArray();
    };
    return Rtf::read(rtf, document, attachment, error);
}

} // namespace Rtfd
