#include "library/NoteStore.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/text/RtfdFolder.h"
#include "platform/workspace/FileOperations.h"

#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

#include <cerrno>
#include <sys/stat.h>

namespace {

// A note whose text is larger is read on a worker thread: on a busy two-core machine the
// reader takes up to 50 ms for each 100 KB of RTF, and the window should not stop for longer
// than a frame or two.
constexpr qint64 kLargeNoteBytes = 128 * 1024;
// A document with more text or pictures is written on a worker thread (every picture is a
// file of its own, synced).
constexpr int kLargeDocumentCharacters = 128 * 1024;
constexpr int kLargeDocumentPictures = 16;
// How far the search for a free numbered name goes before the wanted name is kept (and the
// copy then says it is taken).
constexpr int kMostNumbers = 100000;

bool exists(const FilePath& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// "Stem 2.ext" for "Stem.ext"; the extension is what the note's name drops.
QString numbered(const QString& name, int number) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return name + QLatin1Char(' ') + QString::number(number);
    return name.left(dot) + QLatin1Char(' ') + QString::number(number) + name.mid(dot);
}

} // namespace

NoteStore::NoteStore(const QString& libraryFolder, const QString& notesFolder)
    : _library(FilePath::fromString(libraryFolder)), _notes(FilePath::fromString(notesFolder)) {}

QString NoteStore::noteFileName(const QString& recordingName) {
    const qsizetype dot = recordingName.lastIndexOf(QLatin1Char('.'));
    // A leading dot starts a hidden name, not an extension.
    const QString base = dot > 0 ? recordingName.left(dot) : recordingName;
    return base + QStringLiteral(".rtfd");
}

FilePath NoteStore::pathOf(const QString& recordingName) const {
    return _notes / noteFileName(recordingName);
}

QStringList NoteStore::sharing(const QString& name, const QStringList& listed) {
    const QString note = noteFileName(name);
    QStringList others;
    for (const QString& other : listed) {
        if (other != name && noteFileName(other) == note)
            others << other;
    }
    return others;
}

QString NoteStore::renameRefusal(const QString& oldName, const QString& newName,
                                 const QStringList& listed) {
    if (noteFileName(newName) == noteFileName(oldName))
        return QString(); // the note stays where it is, as does whoever shares it already
    QStringList others = sharing(newName, listed);
    others.removeAll(oldName);
    if (others.isEmpty())
        return QString();
    return BVLocalizedString("NoteWouldBeShared")
        .arg(FilePath::fromString(newName).display(),
             FilePath::fromString(others.first()).display());
}

QString NoteStore::nameForNewRecording(const QString& wanted, const QStringList& listed,
                                       const FilePath& recordingsFolder) const {
    if (listed.contains(wanted))
        return wanted;
    QSet<QString> taken;
    for (const QString& name : listed)
        taken.insert(noteFileName(name));
    if (!taken.contains(noteFileName(wanted)))
        return wanted;
    for (int number = 2; number <= kMostNumbers; ++number) {
        const QString candidate = numbered(wanted, number);
        if (!taken.contains(noteFileName(candidate)) && !exists(recordingsFolder / candidate) &&
            !exists(pathOf(candidate)))
            return candidate;
    }
    return wanted;
}

NoteStore::Renamed
NoteStore::renameWithRecording(const QString& oldName, const QString& newName,
                               const QStringList& listed,
                               const std::function<QString()>& moveRecording) const {
    Renamed renamed;
    const FilePath from = pathOf(oldName);
    const FilePath to = pathOf(newName);
    renamed.refusal = renameRefusal(oldName, newName, listed);
    if (!renamed.refusal.isEmpty())
        return renamed;
    // The note follows unless it stays put, is not there, or is also another recording's.
    const bool follows = from != to && sharing(oldName, listed).isEmpty() && exists(from);
    if (follows) {
        FileOperations::Failure failure;
        if (!FileOperations::renameWithoutReplacing(from.bytes(), to.bytes(), &failure)) {
            renamed.refusal =
                failure.error == EEXIST
                    ? BVLocalizedString("NoteInTheWay").arg(to.display())
                    : BVLocalizedString("NoteCannotFollow").arg(from.display(), failure.reason);
            return renamed;
        }
    }
    renamed.refusal = moveRecording();
    if (renamed.refusal.isEmpty()) {
        renamed.noteMoved = follows;
        return renamed;
    }
    if (follows) {
        FileOperations::Failure failure;
        if (!FileOperations::renameWithoutReplacing(to.bytes(), from.bytes(), &failure))
            renamed.refusal += QLatin1Char(' ') +
                               BVLocalizedString("NoteLeftAt").arg(to.display(), failure.reason);
    }
    return renamed;
}

NoteStore::Removed NoteStore::removeAfterRecording(const QString& name,
                                                   const QStringList& stillListed,
                                                   bool toTrash) const {
    Removed removed;
    if (const QStringList others = sharing(name, stillListed); !others.isEmpty()) {
        removed.outcome = Removed::KeptFor;
        removed.keptFor = others.first();
        return removed;
    }
    const QByteArray path = pathOf(name).bytes();
    FileOperations::Failure failure;
    const bool done = toTrash ? FileOperations::moveToTrash(path, &failure)
                              : FileOperations::destroy(path, &failure);
    if (!done) {
        removed.outcome = Removed::Failed;
        removed.error = failure.error;
        removed.reason = failure.reason;
    }
    return removed;
}

NoteStore::Loaded NoteStore::load(const QString& name, QTextDocument* document) const {
    Loaded loaded;
    const FilePath path = pathOf(name);
    if (!exists(path))
        return loaded;
    Rtf::ReadReport report;
    if (!Rtfd::read(path, document, &loaded.reason, _library, &report)) {
        loaded.status = Loaded::Refused;
        return loaded;
    }
    loaded.status = Loaded::Read;
    loaded.picturesLeftOut = report.picturesLeftOut;
    return loaded;
}

bool NoteStore::isLarge(const QString& name) const {
    return Rtfd::textSize(pathOf(name)) > kLargeNoteBytes;
}

bool NoteStore::save(const QString& name, const QTextDocument& document, QString* reason,
                     int* picturesLeftOut) const {
    return Rtfd::write(document, pathOf(name), reason, _library, picturesLeftOut);
}

bool NoteStore::isLargeText(QStringView text) {
    return text.size() > kLargeDocumentCharacters;
}

bool NoteStore::isLarge(const QTextDocument& document) {
    if (document.characterCount() > kLargeDocumentCharacters)
        return true;
    int pictures = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat() && ++pictures > kLargeDocumentPictures)
                return true;
        }
    }
    return false;
}
