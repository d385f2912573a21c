#include "library/LibraryListing.h"

#include "app/BVController.h"
#include "categories/CategoryDatabase.h"
#include "library/BVMovieDurationFormatter.h"
#include "library/LibraryScanner.h"
#include "library/QKFileSizeFormatter.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// One line per track: backslashes and line or field breaks are written as escapes.
QByteArray escapedText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('\\', "\\\\");
    bytes.replace('\t', "\\t");
    bytes.replace('\n', "\\n");
    bytes.replace('\r', "\\r");
    return bytes;
}

QByteArray escapedName(const QString& name) {
    return escapedText(FileNames::displayName(name));
}

// The library the application would open: the stored one, else the default.
QString libraryToList(const QString& given) {
    if (!given.isEmpty())
        return given;
    const QString stored = Defaults::standard().stringForKey(sPreferencesKeyLibraryLocation);
    return stored.isEmpty() ? defaultLibraryFolder() : stored;
}

} // namespace

QString defaultLibraryFolder() {
    // The desktop's music folder (~/Music where it names none).
    QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (music.isEmpty())
        music = QDir::homePath() + QStringLiteral("/Music");
    return music + QStringLiteral("/Brevoir");
}

int runLibraryListing(const QString& libraryFolder, FILE* out) {
    const QString library = libraryToList(libraryFolder);
    if (!QFileInfo(library).isDir()) {
        std::fprintf(stderr, "brevoir: no library folder at %s\n",
                     QFile::encodeName(library).constData());
        return 1;
    }
    // Listing only reads: a database that cannot be read lists no categories.
    const CategoryDatabase::Contents categories =
        CategoryDatabase::read(FilePath::fromString(library));
    const QKFileSizeFormatter sizeFormatter;
    const BVMovieDurationFormatter durationFormatter;
    for (const ScannedEntry& entry :
         scanRecordingsFolder(library + QStringLiteral("/Recordings"))) {
        if (entry.kind != ScannedEntry::File) {
            logSkippedEntry(entry);
            continue;
        }
        const QByteArray sizeText = sizeFormatter.stringForObjectValue(entry.size).toUtf8();
        const QByteArray durationText =
            durationFormatter.transformedValue(entry.duration).toString().toUtf8();
        const QString category = CategoryDatabase::categoryOfRecording(categories, entry.name);
        const QByteArray categoryField =
            category.isEmpty() ? QByteArray() : '\t' + escapedText(category);
        std::fprintf(out, "%s\t%llu\t%.3f\t%s\t%s%s\n", escapedName(entry.name).constData(),
                     static_cast<unsigned long long>(entry.size), double(entry.duration),
                     sizeText.constData(), durationText.constData(), categoryField.constData());
    }
    return std::fflush(out) == 0 ? 0 : 1;
}
