#pragma once

#include "platform/foundation/FilePath.h"
#include "platform/playlists/M3uPlaylist.h"

#include <QString>

#include <sys/types.h>
#include <vector>

// A playlist file as it was read, whole, and the entries appended to it since. Its lines are
// never rewritten: new entries go after them, all or nothing (an append that fails leaves the
// file as it was), and only into the file that was read, unchanged since.
class M3uPlaylistFile {
public:
    enum class State { Missing, Read, Refused };

    // Reads the file without blocking: a regular file (reached through links or not) of at
    // most kMaxBytes and kMaxEntries; anything else is refused with the reason, unread.
    static M3uPlaylistFile read(const FilePath& path);
    // Makes an empty playlist (its header) where nothing is; false with the reason.
    static bool create(const FilePath& path, QString* problem);

    State state() const { return _state; }
    // Why the file was refused.
    const QString& problem() const { return _problem; }
    const std::vector<M3uPlaylist::Entry>& entries() const { return _entries; }
    const FilePath& path() const { return _path; }
    // The file read, as it was: the same file, with its size and time of change.
    bool isUnchangedOnDisk() const;

    // Whether entries can be appended: the file read is still there, unchanged, a regular file
    // that can be written in place (not through a link). False with the reason.
    bool checkWritable(QString* problem) const;
    // Appends the entries after the file's lines, synced. On any failure the file is cut back
    // to what it held, and *problem says why.
    bool append(const std::vector<M3uPlaylist::Entry>& entries, QString* problem);

private:
    // A descriptor for writing the file in place, or -1 with the reason.
    int openForAppend(QString* problem) const;
    QString changedReason() const;

    FilePath _path;
    State _state = State::Missing;
    QString _problem;
    std::vector<M3uPlaylist::Entry> _entries;
    // The file the next append must find, and how its bytes end.
    dev_t _device = 0;
    ino_t _inode = 0;
    qint64 _size = 0;
    qint64 _changedNs = 0;
    M3uPlaylist::Ending _ending;
};
