#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

// Extended M3U playlists: "#EXTM3U", then per track an "#EXTINF:<seconds>,<title>" line and
// its path, in UTF-8. Playlists belong to the user's other players too: what we add goes after
// the lines a file holds, which are never changed.
namespace M3uPlaylist {

struct Entry {
    QString path;     // as written: absolute, relative to the playlist, or a URL
    QString title;    // from #EXTINF, or the file's name without its extension
    int seconds = -1; // -1: unknown
    bool operator==(const Entry&) const = default;
};

// A playlist with more entries than this, or more bytes, is not read (nor ever written).
constexpr size_t kMaxEntries = 100000;
constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

// Reads a playlist from any writer: CR LF or LF line ends, a byte-order mark, comments and
// directives it does not know (skipped), "file://" URLs (made paths), bytes that are not UTF-8
// (kept in paths, replaced in titles). Never fails; a file that is not a playlist gives its
// lines as paths. Stops after kMaxEntries, setting *tooMany when there are more.
std::vector<Entry> parse(const QByteArray& bytes, bool* tooMany = nullptr);

// What appending needs to know of a file's bytes.
struct Ending {
    bool empty = true;
    bool crlf = false;   // its first line ends with CR LF
    bool open = false;   // its last line has no line break
    bool openCr = false; // ... and ends with a CR
};
Ending endingOf(const QByteArray& bytes);

// What to append to a file so that it reads as its own entries followed by `entries`: the
// header for an empty file, a line break when its last line has none, the file's own line
// ending. Titles are written cleaned; a path must not hold a line break. Nothing for no
// entries. After it, the file ends as `Ending{false, ending.crlf}` says.
QByteArray appendix(const Ending& ending, const std::vector<Entry>& entries);
QByteArray appendix(const QByteArray& existing, const std::vector<Entry>& entries);

// A new file of the entries.
QByteArray serialize(const std::vector<Entry>& entries);

// The file without the lines of the entries `remove` picks (an entry's #EXTINF line and its
// path); every other line stays as it was, byte for byte.
QByteArray withoutEntries(const QByteArray& bytes, const std::function<bool(const Entry&)>& remove);

} // namespace M3uPlaylist
