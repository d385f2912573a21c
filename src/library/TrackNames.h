#pragma once

#include <QString>

// What a recording's name may be, and the names that hang off it.
namespace TrackNames {

// A name of a file directly inside a folder: not empty, not "." or "..", no "/" and no NUL.
bool isPlainFileName(const QString& name);

// Whether a name holds a control character (or a noncharacter) that our files cannot keep.
// Recordings made by other programs may have such names; they are only refused as new names.
bool holdsControlCharacter(const QString& name);

// Why `newName` cannot become a recording's name in `folder`, for people; empty when it can.
// Refuses what is not a plain file name, control characters, what the file system cannot hold (for
// the recording or its note), and a name already taken in the folder.
QString renameRefusal(const QString& folder, const QString& newName);

} // namespace TrackNames
