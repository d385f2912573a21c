// M3U playlist bytes from any writer: reading never fails; what we write for the entries read
// is read back as the same entries; and appending to the file keeps every byte it held, with
// the new entries read back after its own.
#include "FuzzFiles.h"

#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"
#include "platform/playlists/M3uPlaylist.h"
#include "platform/playlists/M3uPlaylistFile.h"

#include <QByteArray>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    bool tooMany = false;
    std::vector<M3uPlaylist::Entry> entries = M3uPlaylist::parse(bytes, &tooMany);
    if (entries.size() > M3uPlaylist::kMaxEntries)
        std::abort();
    if (M3uPlaylist::parse(M3uPlaylist::serialize(entries)) != entries)
        std::abort();
    if (tooMany || entries.size() == M3uPlaylist::kMaxEntries)
        return 0;

    // Appending nothing changes nothing; appending an entry adds it after the file's own.
    if (!M3uPlaylist::appendix(bytes, {}).isEmpty())
        std::abort();
    const std::vector<M3uPlaylist::Entry> added = {
        {QStringLiteral("/music/Playlists/Brevoir/Take 1.mov"), QStringLiteral("Take 1"), 4}};
    const QByteArray appended = M3uPlaylist::appendix(bytes, added);
    std::vector<M3uPlaylist::Entry> expected = entries;
    expected.insert(expected.end(), added.begin(), added.end());
    if (M3uPlaylist::parse(bytes + appended) != expected)
        std::abort();

    // The same through the file on disk.
    const FilePath path(QByteArray::fromStdString(FuzzFiles::write("playlist.m3u", data, size)));
    M3uPlaylistFile file = M3uPlaylistFile::read(path);
    QString problem;
    if (file.state() != M3uPlaylistFile::State::Read || file.entries() != entries ||
        !file.append(added, &problem) ||
        SafeFile::read(path, qint64(size) + (1 << 20)).bytes != bytes + appended)
        std::abort();
    return 0;
}
