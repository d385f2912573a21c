// M3U playlist bytes from any writer: reading never fails, and what we write for the entries
// read is read back as the same entries.
#include "platform/playlists/M3uPlaylist.h"

#include <QByteArray>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    std::vector<M3uPlaylist::Entry> entries = M3uPlaylist::parse(bytes);
    if (entries.size() > M3uPlaylist::kMaxEntries)
        std::abort();
    // A title holds no line break once written.
    for (M3uPlaylist::Entry& entry : entries)
        entry.title.replace(u'\r', u' ');
    if (M3uPlaylist::parse(M3uPlaylist::serialize(entries)) != entries)
        std::abort();
    return 0;
}
