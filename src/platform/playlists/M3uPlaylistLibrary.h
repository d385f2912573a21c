#pragma once

#include "platform/media/AudioEncoders.h"
#include "platform/playlists/M3uPlaylistFile.h"
#include "platform/playlists/PlaylistComponent.h"

#include <QString>
#include <QStringList>

#include <optional>

// Playlists kept as M3U files in the user's music folder, as desktop players and music
// daemons read them: "<music>/Playlists/<name>.m3u", with the imported files beside it in
// "<music>/Playlists/<name>/". Imports copy a file, or convert it with an installed encoder; a
// file already in the folder is never replaced (the new one gets a numbered name). A playlist
// is the user's: its lines are kept byte for byte, new entries go after them, and one that
// cannot be read whole is never written. Its handlers:
//   create_playlist_named (name)                         -> 1 when made, 0 when it existed
//   get_tracks_for_playlist (name)                       -> the titles, or "no tracks found"
//   get_encoder_list ()                                  -> the encoders' titles
//   import_files_to_playlist (paths, name)               -> the number of files imported
//   import_files_to_playlist_with_conversion (paths, name, encoder title) -> the same
//   remove_tracks (titles)                               -> the number of entries removed
// A call fails with a reason for a name that cannot be a file name or whose files would go
// into or around a protected folder, a playlist that cannot be read whole or written, or an
// unknown encoder; an import that skips files answers its count and says why.
class M3uPlaylistLibrary : public PlaylistComponent {
public:
    static const QString kNoTracksFound; // "no tracks found"

    explicit M3uPlaylistLibrary(QString musicFolder);

    // The desktop's music folder (XDG), or ~/Music when it names none.
    static QString musicFolder();
    // Why a playlist cannot have this name, or empty when it can.
    static QString playlistNameProblem(const QString& name);

    QString playlistPath(const QString& name) const;
    QString importFolder(const QString& name) const;

    HandlerDescriptor executeAppleEvent(const HandlerEvent& event, QVariantMap* errorInfo) override;

private:
    struct Failure {
        QString message;
    };
    HandlerDescriptor createPlaylist(const QString& name, Failure* failure);
    HandlerDescriptor tracksOfPlaylist(const QString& name, Failure* failure);
    HandlerDescriptor importFiles(const QStringList& paths, const QString& name,
                                  const QString& encoderTitle, Failure* failure);
    HandlerDescriptor removeTracks(const QStringList& titles, Failure* failure);

    // Why the playlist of this name may not be used: its name, or its file or folder meeting a
    // protected folder. Empty when it may.
    QString placeProblem(const QString& name) const;
    // The playlist, read whole (the last reading again while the file is unchanged).
    M3uPlaylistFile& readPlaylist(const QString& name);

    QString _musicFolder;
    std::optional<M3uPlaylistFile> _lastRead;
};
