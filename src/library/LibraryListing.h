#pragma once

#include <QString>

#include <cstdio>

// `brevoir --list`: prints the tracks that the full scan of the library finds, in its order,
// one per line, tab-separated: name, size in bytes, duration in seconds (three decimals),
// size text, duration text, then the category from the library's "Database.plist" when the
// recording has one (the field is left out otherwise). In names and categories, a backslash, tab,
// newline or carriage return is written as \\, \t, \n or \r, so that every track stays one line. An
// empty folder argument means the stored or default library. A missing library folder is reported
// on stderr. Answers the process exit status.
int runLibraryListing(const QString& libraryFolder, FILE* out);

// The library folder used when none is stored: "Brevoir" in the desktop's music folder.
QString defaultLibraryFolder();
