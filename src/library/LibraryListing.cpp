#include "library/LibraryListing.h"

#include "app/BVController.h"
#include "library/BVMovieDurationFormatter.h"
#include "library/LibraryScanner.h"
#include "library/QKFileSizeFormatter.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray escapedName(const QString& name) {
    QByteArray bytes = FileNames::displayName(name).toUtf8();
    bytes.replace('\\', "\\\\");
    bytes.replace('\t', "\\t");
    bytes.replace('\n', "\\n");
    bytes.replace('\r', "\\r");
    return bytes;
}

// The library the application would open: the stored one, else the default.
QString libraryToList(const QString& given) {
    if (!given.isEmpty())
        return given;
    const QString stored = Defaults::standard().stringForKey(sPreferencesKeyLibraryLocation);
    return stored.isEmpty() ? QDir::homePath() + QStringLiteral("/Music/Brevoir") : stored;
}

} // namespace

int runLibraryListing(const QString& libraryFolder, FILE* out) {
    const QString library = libraryToList(libraryFolder);
    if (!QFileInfo(library).isDir()) {
        std::fprintf(stderr, "brevoir: no library folder at %s\n",
                     QFile::encodeName(library).constData());
        return 1;
    }
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
        std::fprintf(out, "%s\t%llu\t%.3f\t%s\t%s\n", escapedName(entry.name).constData(),
                     static_cast<unsigned long long>(entry.size), double(entry.duration),
                     sizeText.constData(), durationText.constData());
    }
    return std::fflush(out) == 0 ? 0 : 1;
}
