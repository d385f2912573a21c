#pragma once

#include "platform/media/AudioEncoders.h"
#include "platform/playlists/M3uPlaylist.h"
#include "platform/playlists/PlaylistComponent.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Playlists kept as M3U files in the user's music folder, as desktop players and music
// daemons read them: "<music>/Playlists/<name>.m3u", with the imported files in
// "<music>/<name>/". Imports copy a file, or convert it with an installed encoder; a file
// already in the folder is never replaced (the new one gets a numbered name). Its handlers:
//   create_playlist_named (name)                         -> 1 when made, 0 when it existed
//   get_tracks_for_playlist (name)                       -> the titles, or "no tracks found"
//   get_encoder_list ()                                  -> the encoders' titles
//   import_files_to_playlist (paths, name)               -> the number of files imported
//   import_files_to_playlist_with_conversion (paths, name, encoder title) -> the same
//   remove_tracks (titles)                               -> the number of entries removed
// A call fails with a reason for a name that cannot be a file name, a file that cannot be
// written, or an unknown encoder; an import that skips files answers its count and says why.
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

    std::vector<M3uPlaylist::Entry> readPlaylist(const QString& name, bool* exists) const;
    bool writePlaylist(const QString& name, const std::vector<M3uPlaylist::Entry>& entries,
                       QString* error) const;
    // Copies or converts one file into the folder; the entry it makes, or the reason.
    std::optional<M3uPlaylist::Entry> importOne(const QString& source, const QString& title,
                                                const QString& folder,
                                                const std::optional<AudioEncoder>& encoder,
                                                QString* error);

    QString _musicFolder;
};
