#pragma once

#include <QString>

// A track's title and extension, read from its file name. The one reading of them for the
// list of files to import, the playlist's writer and its reader: a file once synced is always
// recognised by the title it was written with.
namespace TrackTitle {

// Text as a playlist keeps a title: bytes that are not UTF-8 shown as U+FFFD, line breaks as
// spaces, no blanks at either end. Cleaning a cleaned title changes nothing.
QString cleaned(const QString& text);

// The name without its extension, cleaned. A leading dot begins the name (".take.mov" is
// ".take", ".take" has no extension); a name whose title would be blank keeps its extension.
QString ofFileName(const QString& name);

// The extension without its dot; empty for "take", ".take" and "take.".
QString extensionOf(const QString& name);

} // namespace TrackTitle
