#include "platform/playlists/M3uPlaylistLibrary.h"

#include "platform/foundation/FileNames.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/media/AudioFileEncoder.h"
#include "platform/media/MovieDuration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

const QString M3uPlaylistLibrary::kNoTracksFound = QStringLiteral("no tracks found");

namespace {
constexpr qint64 kMaxPlaylistBytes = 64 * 1024 * 1024;
constexpr int kMaxNumberedNames = 10000;

QString errnoText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

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

// Copies in chunks, so that an abort is seen within one.
bool copyFile(int from, int to, const std::atomic<bool>* abort, QString* error) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        if (abort->load()) {
            *error = BVLocalizedString("ImportCancelled");
            return false;
        }
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *error = errnoText(errno);
            return false;
        }
        if (got == 0)
            return true;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer.data() + done, size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0) {
                *error = errnoText(errno);
                return false;
            }
            done += put;
        }
    }
}

// Gives the finished file at `temporary` its name in the folder: "TITLE.EXT", or "TITLE 2.EXT"
// and on when that is taken. Never replaces a file.
QString publish(const QByteArray& temporary, const QString& folder, const QString& title,
                const QString& extension, QString* error) {
    for (int number = 1; number <= kMaxNumberedNames; ++number) {
        const QString name = number == 1 ? title : QStringLiteral("%1 %2").arg(title).arg(number);
        const QString path = folder + QLatin1Char('/') + name + QLatin1Char('.') + extension;
        const QByteArray bytes = FileNames::encodePath(path);
        if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, bytes.constData(),
                        RENAME_NOREPLACE) == 0)
            return path;
        if (errno != EEXIST) {
            *error = errnoText(errno);
            return {};
        }
    }
    *error = BVLocalizedString("ImportTooManyNames");
    return {};
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
    return _musicFolder + QLatin1Char('/') + name;
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

std::vector<M3uPlaylist::Entry> M3uPlaylistLibrary::readPlaylist(const QString& name,
                                                                 bool* exists) const {
    QFile file(playlistPath(name));
    *exists = file.exists();
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<M3uPlaylist::Entry> entries = M3uPlaylist::parse(file.read(kMaxPlaylistBytes));
    // Paths relative to the playlist, as other writers may put them.
    const QDir folder = QFileInfo(file.fileName()).absoluteDir();
    for (M3uPlaylist::Entry& entry : entries)
        if (QDir::isRelativePath(entry.path) && !entry.path.contains(QLatin1String("://")))
            entry.path = folder.filePath(entry.path);
    return entries;
}

bool M3uPlaylistLibrary::writePlaylist(const QString& name,
                                       const std::vector<M3uPlaylist::Entry>& entries,
                                       QString* error) const {
    QDir().mkpath(_musicFolder + QStringLiteral("/Playlists"));
    QSaveFile file(playlistPath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(M3uPlaylist::serialize(entries)) < 0 ||
        !file.commit()) {
        *error =
            BVLocalizedString("PlaylistNotWritten").arg(playlistPath(name), file.errorString());
        return false;
    }
    return true;
}

HandlerDescriptor M3uPlaylistLibrary::createPlaylist(const QString& name, Failure* failure) {
    failure->message = playlistNameProblem(name);
    if (!failure->message.isEmpty())
        return {};
    if (QFile::exists(playlistPath(name)))
        return HandlerDescriptor::descriptorWithInt32(0);
    if (!writePlaylist(name, {}, &failure->message))
        return {};
    return HandlerDescriptor::descriptorWithInt32(1);
}

HandlerDescriptor M3uPlaylistLibrary::tracksOfPlaylist(const QString& name, Failure* failure) {
    failure->message = playlistNameProblem(name);
    if (!failure->message.isEmpty())
        return {};
    bool exists = false;
    QStringList titles;
    for (const M3uPlaylist::Entry& entry : readPlaylist(name, &exists))
        titles << entry.title;
    if (titles.isEmpty())
        titles << kNoTracksFound;
    return listOfTexts(titles);
}

std::optional<M3uPlaylist::Entry>
M3uPlaylistLibrary::importOne(const QString& source, const QString& title, const QString& folder,
                              const std::optional<AudioEncoder>& encoder, QString* error) {
    QByteArray temporary = FileNames::encodePath(folder + QStringLiteral("/.import-XXXXXX"));
    const int out = ::mkstemp(temporary.data());
    if (out < 0) {
        *error = errnoText(errno);
        return std::nullopt;
    }
    double seconds = -1;
    bool written = false;
    if (encoder) {
        ::close(out);
        const AudioFileEncoder::Result encoded = AudioFileEncoder::encodeFile(
            source, FileNames::decode(temporary), *encoder, title, abortFlag());
        written = encoded.ok;
        seconds = encoded.seconds;
        *error = encoded.error;
    } else {
        const int in = ::open(FileNames::encodePath(source).constData(), O_RDONLY | O_CLOEXEC);
        if (in < 0)
            *error = errnoText(errno);
        else
            written = copyFile(in, out, abortFlag(), error);
        if (in >= 0)
            ::close(in);
        if (::close(out) != 0 && written) {
            *error = errnoText(errno);
            written = false;
        }
    }
    if (!written) {
        ::unlink(temporary.constData());
        return std::nullopt;
    }
    const QString extension = encoder ? encoder->extension : QFileInfo(source).suffix();
    const QString path = publish(temporary, folder, title, extension, error);
    if (path.isEmpty()) {
        ::unlink(temporary.constData());
        return std::nullopt;
    }
    if (seconds < 0)
        seconds = MovieDuration::durationOfFile(path);
    return M3uPlaylist::Entry{path, title, int(std::lround(seconds))};
}

HandlerDescriptor M3uPlaylistLibrary::importFiles(const QStringList& paths, const QString& name,
                                                  const QString& encoderTitle, Failure* failure) {
    failure->message = playlistNameProblem(name);
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
    const QString folder = importFolder(name);
    if (!QDir().mkpath(folder)) {
        failure->message = BVLocalizedString("ImportFolderNotMade").arg(folder);
        return {};
    }
    bool exists = false;
    std::vector<M3uPlaylist::Entry> entries = readPlaylist(name, &exists);
    QStringList skipped;
    int imported = 0;
    for (int i = 0; i < paths.size() && !cancelRequested(); ++i) {
        const QString& source = paths[i];
        const QString title = FileNames::displayName(QFileInfo(source).completeBaseName());
        reportProgress({i + 1, int(paths.size()), title, encoder.has_value()});
        QString error;
        std::optional<M3uPlaylist::Entry> entry;
        // A playlist line cannot hold a line break.
        if (source.contains(u'\n') || source.contains(u'\r'))
            error = BVLocalizedString("ImportLineBreak");
        else
            entry = importOne(source, title, folder, encoder, &error);
        if (!entry) {
            if (!abortFlag()->load())
                skipped << QStringLiteral("%1 (%2)").arg(title, error);
            continue;
        }
        entries.push_back(*entry);
        // Written after every file, so that the playlist names every file that arrived.
        if (!writePlaylist(name, entries, &failure->message))
            return HandlerDescriptor::descriptorWithInt32(imported);
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
    for (const QFileInfo& file : playlists.entryInfoList({QStringLiteral("*.m3u")}, QDir::Files)) {
        const QString name = file.completeBaseName();
        bool exists = false;
        std::vector<M3uPlaylist::Entry> entries = readPlaylist(name, &exists);
        const size_t before = entries.size();
        std::erase_if(entries,
                      [&](const M3uPlaylist::Entry& e) { return titles.contains(e.title); });
        if (entries.size() == before)
            continue;
        if (!writePlaylist(name, entries, &failure->message))
            break;
        removed += int(before - entries.size());
    }
    return HandlerDescriptor::descriptorWithInt32(removed);
}
