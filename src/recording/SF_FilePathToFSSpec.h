#pragma once

#include <QString>

#include <cstdint>

// A reference to an existing file: its absolute, cleaned path.
struct FSSpec {
    QString path;
};

// Result codes of SF_FilePathToFSSpec.
namespace FileSpecErr {
constexpr int16_t noErr = 0;
constexpr int16_t paramErr = -50;      // no path, or a relative path that cannot be made absolute
constexpr int16_t fnfErr = -43;        // nothing exists at the path
constexpr int16_t notAFileErr = -1302; // the path names a folder
} // namespace FileSpecErr

// Resolves a POSIX path to a reference to the existing file there. Answers 0 and fills *spec
// on success; a non-zero code, leaving *spec alone, when the path does not name a file.
int16_t SF_FilePathToFSSpec(const QString& path, FSSpec* spec);
