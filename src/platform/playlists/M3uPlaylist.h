#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Extended M3U playlists: "#EXTM3U", then per track an "#EXTINF:<seconds>,<title>" line and
// its path, in UTF-8.
namespace M3uPlaylist {

struct Entry {
    QString path;     // as written: absolute, relative to the playlist, or a URL
    QString title;    // from #EXTINF, or the file's name without its extension
    int seconds = -1; // -1: unknown
    bool operator==(const Entry&) const = default;
};

// More entries than this in one file are not read.
constexpr size_t kMaxEntries = 100000;

// Reads a playlist from any writer: CR LF or LF line ends, a byte-order mark, comments and
// directives it does not know (skipped), "file://" URLs (made paths), bytes that are not UTF-8
// (replaced). Never fails; a file that is not a playlist gives its lines as paths.
std::vector<Entry> parse(const QByteArray& bytes);

// The file of the entries. Line breaks in titles become spaces; a path must not hold one.
QByteArray serialize(const std::vector<Entry>& entries);

} // namespace M3uPlaylist
