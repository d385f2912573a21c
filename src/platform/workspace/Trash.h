#pragma once

#include "platform/foundation/FilePath.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The desktop's trash as freedesktop.org lays it out for every desktop, written by bytes:
// the trash of the item's own file system (the home trash, or the volume's top-directory trash
// ".Trash/UID" or ".Trash-UID"), an "info/NAME.trashinfo" written whole first, then the item
// renamed into "files/NAME". Nothing is ever copied, replaced or retried without end.
namespace Trash {

struct Problem {
    int error = 0;  // errno, or 0 for a refusal of ours
    QString reason; // for people
};

// Where a trashed item went.
struct Placement {
    FilePath folder; // the trash: holds files/ and info/
    FilePath file;   // files/NAME
    FilePath info;   // info/NAME.trashinfo
};

// Moves `path` (a file, a folder or a link, which is not followed) into its file system's
// trash. On failure the item is where it was, no .trashinfo is left behind and *problem says
// why; a trash that cannot be written is refused at once.
bool moveToTrash(const FilePath& path, Placement* placement, Problem* problem,
                 const QDateTime& deletedAt = QDateTime::currentDateTime());

// The home trash: $XDG_DATA_HOME/Trash, or ~/.local/share/Trash.
FilePath homeTrash();

// The text of a .trashinfo: `path` percent-encoded byte by byte (absolute for the home trash,
// relative to the top directory for a volume's trash) and the local deletion time.
QByteArray trashInfo(const QByteArray& path, const QDateTime& deletedAt);
// The bytes of a percent-encoded Path= value; empty for a malformed one.
QByteArray decodeInfoPath(const QByteArray& value);

} // namespace Trash
