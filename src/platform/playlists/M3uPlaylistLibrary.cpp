#include "platform/playlists/M3uPlaylistLibrary.h"

#include "platform/foundation/FileNames.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/SafeFile.h"
#include "platform/media/AudioFileEncoder.h"
#include "platform/playlists/FileImport.h"
#include "platform/playlists/TrackTitle.h"

#include <QDir>
#include <QStandardPaths>

#include <climits>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>

const QString M3uPlaylistLibrary::kNoTracksFound = QStringLiteral("no tracks found");

namespace {
QStringList textsOf(const HandlerDescriptor& list) {
    QStringList texts;
    for (int i = 1; i <= list.numberOfItems(); ++i)
        texts << list.descriptorAtIndex(i).stringValue();
    return texts;
}

HandlerDescriptor listOfTexts(const QStringList& texts) {
    HandlerDescriptor list = HandlerDescriptor::listDescriptor();
    for (const QString& text : texts)
        list.insertDescriptorAtIndex(HandlerDescriptor::descriptorWithString(text), 0);
    return list;
}

// The path with every link of the part that exists followed, so that a folder reached
// through a link is known for the folder it is.
FilePath resolved(const FilePath& path) {
    FilePath existing = path;
    QList<QByteArray> rest;
    while (!existing.isEmpty()) {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(existing.c_str(), nullptr),
                                                         &std::free);
        if (real) {
            FilePath result{QByteArray(real.get())};
            for (const QByteArray& name : rest)
                result = result.childBytes(name);
            return result;
        }
        const FilePath parent = existing.parent();
        if (parent == existing)
            break;
        rest.prepend(existing.fileNameBytes());
        existing = parent;
    }
    return path;
}

bool meets(const FilePath& a, const FilePath& b) {
    return a.isWithin(b) || b.isWithin(a);
}

// A folder for the playlist's files: made when missing, and a real folder.
bool makeFolder(const QString& folder, QString* problem) {
    const FilePath path = FilePath::fromString(folder);
    struct stat info;
    if (QDir().mkpath(folder) && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return true;
    *problem = BVLocalizedString("ImportFolderNotMade").arg(path.display());
    return false;
}
} // namespace

M3uPlaylistLibrary::M3uPlaylistLibrary(QString musicFolder)
    : _musicFolder(std::move(musicFolder)) {}

QString M3uPlaylistLibrary::musicFolder() {
    QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (music.isEmpty())
        music = QDir::homePath() + QStringLiteral("/Music");
    return music;
}

QString M3uPlaylistLibrary::playlistNameProblem(const QString& name) {
    if (name.trimmed().isEmpty())
        return BVLocalizedString("PlaylistNeedsName");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return BVLocalizedString("PlaylistNameInvalid").arg(name);
    if (name.contains(u'/'))
        return BVLocalizedString("PlaylistNameSlash");
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return BVLocalizedString("PlaylistNameControl");
    if (FileNames::encode(name).size() > 200)
        return BVLocalizedString("PlaylistNameTooLong");
    return {};
}

QString M3uPlaylistLibrary::playlistPath(const QString& name) const {
    return _musicFolder + QStringLiteral("/Playlists/") + name + QStringLiteral(".m3u");
}

QString M3uPlaylistLibrary::importFolder(const QString& name) const {
    return _musicFolder + QStringLiteral("/Playlists/") + name;
}

QString M3uPlaylistLibrary::placeProblem(const QString& name) const {
    if (const QString problem = playlistNameProblem(name); !problem.isEmpty())
        return problem;
    const FilePath folder = FilePath::fromString(importFolder(name));
    const FilePath playlist = FilePath::fromString(playlistPath(name));
    for (const QString& kept : protectedFolders()) {
        const FilePath protectedFolder = FilePath::fromString(kept);
        for (const FilePath& guarded : {protectedFolder, resolved(protectedFolder)}) {
            const bool filesMeet = meets(folder, guarded) || meets(resolved(folder), guarded);
            const bool playlistInside =
                playlist.isWithin(guarded) || resolved(playlist).isWithin(guarded);
            if (filesMeet || playlistInside)
                return BVLocalizedString("PlaylistFolderProtected")
                    .arg(name, (filesMeet ? folder : playlist).display(),
                         protectedFolder.display());
        }
    }
    return {};
}

HandlerDescriptor M3uPlaylistLibrary::executeAppleEvent(const HandlerEvent& event,
                                                        QVariantMap* errorInfo) {
    const QString handler = event.parameter(HandlerEvent::kSubroutineName).stringValue();
    const HandlerDescriptor arguments = event.parameter(HandlerEvent::kDirectObject);
    const auto text = [&](int index) { return arguments.descriptorAtIndex(index).stringValue(); };
    const auto list = [&](int index) { return textsOf(arguments.descriptorAtIndex(index)); };
    Failure failure;
    HandlerDescriptor result;
    if (event.eventClass != HandlerEvent::kSuiteClass ||
        event.eventID != HandlerEvent::kSubroutineID || !arguments.isList())
        failure.message = QStringLiteral("not a handler call");
    else if (handler == QLatin1String("create_playlist_named"))
        result = createPlaylist(text(1), &failure);
    else if (handler == QLatin1String("get_tracks_for_playlist"))
        result = tracksOfPlaylist(text(1), &failure);
    else if (handler == QLatin1String("get_encoder_list")) {
        QStringList titles;
        for (const AudioEncoder& encoder : availableAudioEncoders())
            titles << encoder.title;
        result = listOfTexts(titles);
    } else if (handler == QLatin1String("import_files_to_playlist"))
        result = importFiles(list(1), text(2), QString(), &failure);
    else if (handler == QLatin1String("import_files_to_playlist_with_conversion"))
        result = importFiles(list(1), text(2), text(3), &failure);
    else if (handler == QLatin1String("remove_tracks"))
        result = removeTracks(list(1), &failure);
    else
        failure.message = QStringLiteral("the playlists know no handler \"%1\"").arg(handler);
    if (!failure.message.isEmpty() && errorInfo) {
        errorInfo->insert(kErrorMessage, failure.message);
        errorInfo->insert(kErrorNumber, -1);
    }
    return result;
}

M3uPlaylistFile& M3uPlaylistLibrary::readPlaylist(const QString& name) {
    const FilePath path = FilePath::fromString(playlistPath(name));
    // A long playlist is read once for a sync's titles and its import.
    if (!_lastRead || _lastRead->path() != path || !_lastRead->isUnchangedOnDisk())
        _lastRead = M3uPlaylistFile::read(path);
    return *_lastRead;
}

HandlerDescriptor M3uPlaylistLibrary::createPlaylist(const QString& name, Failure* failure) {
    failure->message = placeProblem(name);
    if (!failure->message.isEmpty())
        return {};
    const FilePath path = FilePath::fromString(playlistPath(name));
    // Whatever stands there (a playlist, or something that cannot be one) is left to the read.
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0)
        return HandlerDescriptor::descriptorWithInt32(0);
    if (!makeFolder(_musicFolder + QStringLiteral("/Playlists"), &failure->message) ||
        !M3uPlaylistFile::create(path, &failure->message))
        return {};
    return HandlerDescriptor::descriptorWithInt32(1);
}

HandlerDescriptor M3uPlaylistLibrary::tracksOfPlaylist(const QString& name, Failure* failure) {
    failure->message = playlistNameProblem(name);
    if (!failure->message.isEmpty())
        return {};
    const M3uPlaylistFile& playlist = readPlaylist(name);
    if (playlist.state() == M3uPlaylistFile::State::Refused) {
        failure->message = playlist.problem();
        return {};
    }
    QStringList titles;
    titles.reserve(qsizetype(playlist.entries().size()));
    for (const M3uPlaylist::Entry& entry : playlist.entries())
        titles << entry.title;
    if (titles.isEmpty())
        titles << kNoTracksFound;
    return listOfTexts(titles);
}

HandlerDescriptor M3uPlaylistLibrary::importFiles(const QStringList& paths, const QString& name,
                                                  const QString& encoderTitle, Failure* failure) {
    failure->message = placeProblem(name);
    if (!failure->message.isEmpty())
        return {};
    std::optional<AudioEncoder> encoder;
    if (!encoderTitle.isEmpty()) {
        encoder = AudioFileEncoder::encoderWithTitle(encoderTitle);
        if (!encoder) {
            failure->message = BVLocalizedString("EncoderNotInstalled").arg(encoderTitle);
            return {};
        }
    }
    if (readPlaylist(name).state() == M3uPlaylistFile::State::Missing &&
        createPlaylist(name, failure).isNull())
        return {};
    // Only a playlist read whole, and writable in place, gets anything.
    M3uPlaylistFile& playlist = readPlaylist(name);
    const QString folder = importFolder(name);
    if (!playlist.checkWritable(&failure->message) || !makeFolder(folder, &failure->message))
        return {};
    FileImport::removeLeftovers(folder);
    QStringList skipped;
    int imported = 0;
    for (int i = 0; i < paths.size() && !cancelRequested(); ++i) {
        const QString& source = paths[i];
        const QString title = TrackTitle::ofFileName(source.mid(source.lastIndexOf(u'/') + 1));
        reportProgress({i + 1, int(paths.size()), title, encoder.has_value()});
        FileImport::Result result;
        // A playlist line cannot hold a line break.
        if (source.contains(u'\n') || source.contains(u'\r'))
            result.error = BVLocalizedString("ImportLineBreak");
        else
            result = FileImport::importInto(source, title, folder, encoder, abortFlag());
        if (result.path.isEmpty()) {
            if (!abortFlag()->load())
                skipped << QStringLiteral("%1 (%2)").arg(title, result.error);
            continue;
        }
        // Listed as soon as it is there; a file the playlist cannot list goes again, so that
        // the next sync brings it.
        const int seconds = result.seconds < 0 ? -1 : int(result.seconds + 0.5);
        if (!playlist.append({{result.path, title, seconds}}, &failure->message)) {
            ::unlink(FilePath::fromString(result.path).c_str());
            return HandlerDescriptor::descriptorWithInt32(imported);
        }
        ++imported;
    }
    if (!skipped.isEmpty())
        failure->message =
            BVLocalizedString("ImportNotImported").arg(skipped.join(QStringLiteral("; ")));
    return HandlerDescriptor::descriptorWithInt32(imported);
}

HandlerDescriptor M3uPlaylistLibrary::removeTracks(const QStringList& titles, Failure* failure) {
    int removed = 0;
    const QDir playlists(_musicFolder + QStringLiteral("/Playlists"));
    QStringList problems;
    for (const QString& fileName : playlists.entryList({QStringLiteral("*.m3u")}, QDir::Files)) {
        const FilePath path = FilePath::fromString(playlists.filePath(fileName));
        const SafeFile::Contents contents = SafeFile::read(path, M3uPlaylist::kMaxBytes);
        bool tooMany = false;
        const size_t before = contents.status == SafeFile::Contents::Read
                                  ? M3uPlaylist::parse(contents.bytes, &tooMany).size()
                                  : 0;
        if (contents.status != SafeFile::Contents::Read || tooMany) {
            problems << (tooMany ? BVLocalizedString("PlaylistTooManyEntries")
                                       .arg(path.display())
                                       .arg(M3uPlaylist::kMaxEntries)
                                 : contents.problem.reason);
            continue;
        }
        const QByteArray kept = M3uPlaylist::withoutEntries(
            contents.bytes, [&](const M3uPlaylist::Entry& e) { return titles.contains(e.title); });
        if (kept.size() == contents.bytes.size())
            continue;
        SafeFile::Problem problem;
        if (!SafeFile::replace(path, kept, &problem)) {
            problems << problem.reason;
            continue;
        }
        removed += int(before - M3uPlaylist::parse(kept).size());
    }
    failure->message = problems.join(u' ');
    return HandlerDescriptor::descriptorWithInt32(removed);
}
