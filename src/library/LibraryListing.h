#pragma once

#include <QString>

#include <cstdio>

// `brevoir --list`: prints the tracks that the full scan of the library finds, in its order,
// one per line, tab-separated: name, size in bytes, duration in seconds (three decimals),
// size text, duration text. An empty folder argument means the stored or default library.
// Answers the process exit status.
int runLibraryListing(const QString& libraryFolder, FILE* out);
