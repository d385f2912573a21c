#include "library/TrackNames.h"

#include "library/NoteStore.h"

#include "platform/foundation/FileNames.h"
#include "platform/foundation/LocalizedString.h"

#include <QCoreApplication>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {
long longestNameIn(const QString& folder) {
    const long limit = ::pathconf(FileNames::encodePath(folder).constData(), _PC_NAME_MAX);
    return limit > 0 ? limit : NAME_MAX;
}
} // namespace

bool TrackNames::holdsControlCharacter(const QString& name) {
    // The category database is XML, which cannot carry these (a carriage return only as a
    // reference that other programs turn into a line feed); lists and playlists are
    // line-based, so a line feed or tab in a name would break them too.
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if ((u >= 0x01 && u <= 0x1F) || u == 0x7F || u == 0xFFFE || u == 0xFFFF)
            return true;
    }
    return false;
}

bool TrackNames::isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

QString TrackNames::renameRefusal(const QString& folder, const QString& newName) {
    if (newName.trimmed().isEmpty())
        return BVLocalizedString("NameEmpty");
    if (newName.contains(QChar(0)))
        return BVLocalizedString("NameHoldsNul");
    if (!isPlainFileName(newName))
        return BVLocalizedString("NameNotPlain").arg(FileNames::displayName(newName));
    if (holdsControlCharacter(newName))
        return BVLocalizedString("NameHoldsControl");
    const long longest = longestNameIn(folder);
    if (FileNames::encode(newName).size() > longest ||
        FileNames::encode(NoteStore::noteFileName(newName)).size() > longest)
        return BVLocalizedString("NameTooLong").arg(longest);
    struct stat info;
    if (::lstat(FileNames::encodePath(folder + QLatin1Char('/') + newName).constData(), &info) == 0)
        return BVLocalizedString("NameTaken").arg(FileNames::displayName(newName));
    return QString();
}
