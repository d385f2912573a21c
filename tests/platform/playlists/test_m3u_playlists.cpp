// M3U playlists: reading other writers' files, our own round trip, and the playlist library's
// refusals and names.
#include "platform/foundation/SafeFile.h"
#include "platform/movie/MovieWriter.h"
#include "platform/playlists/M3uPlaylist.h"
#include "platform/playlists/M3uPlaylistLibrary.h"
#include "platform/playlists/RecordingFiles.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Entry = M3uPlaylist::Entry;

namespace {
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

HandlerDescriptor texts(const QStringList& values) {
    HandlerDescriptor list = HandlerDescriptor::listDescriptor();
    for (const QString& value : values)
        list.insertDescriptorAtIndex(HandlerDescriptor::descriptorWithString(value), 0);
    return list;
}

// Calls a handler of the library with text arguments (a QStringList argument becomes a list).
HandlerDescriptor call(M3uPlaylistLibrary& library, const char* handler,
                       const QList<QVariant>& arguments, QString* error = nullptr) {
    HandlerDescriptor list = HandlerDescriptor::listDescriptor();
    for (const QVariant& argument : arguments)
        list.insertDescriptorAtIndex(
            argument.typeId() == QMetaType::QStringList
                ? texts(argument.toStringList())
                : HandlerDescriptor::descriptorWithString(argument.toString()),
            0);
    QVariantMap errorInfo;
    HandlerDescriptor result =
        library.callHandlerWithArgumentsErrorInfo(QString::fromLatin1(handler), list, &errorInfo);
    if (error)
        *error = errorInfo.value(PlaylistComponent::kErrorMessage).toString();
    return result;
}

QStringList textsOf(const HandlerDescriptor& list) {
    QStringList values;
    for (int i = 1; i <= list.numberOfItems(); ++i)
        values << list.descriptorAtIndex(i).stringValue();
    return values;
}
} // namespace

TEST(M3uPlaylist, ReadsOtherWritersFiles) {
    struct Case {
        const char* what;
        QByteArray bytes;
        std::vector<Entry> expected;
    };
    const Case cases[] = {
        {"CR LF, byte-order mark, directives and comments",
         "\xEF\xBB\xBF#EXTM3U\r\n#PLAYLIST:Mix\r\n\r\n# a comment\r\n#EXTINF:12,Morning "
         "notes\r\n#EXTGRP:talks\r\n/music/Mix/Morning notes.m4a\r\n",
         {{"/music/Mix/Morning notes.m4a", "Morning notes", 12}}},
        {"attributes, fractions, unknown length, no #EXTINF",
         "#EXTM3U\n#EXTINF:-1 tvg-id=\"x\",Radio, live\nhttp://example.org/stream\n"
         "#EXTINF:3.6,Täglich 日本\n/m/Täglich 日本.flac\n/m/plain name.mp3\n",
         {{"http://example.org/stream", "Radio, live", -1},
          {"/m/Täglich 日本.flac", "Täglich 日本", 4},
          {"/m/plain name.mp3", "plain name", -1}}},
        {"file URLs and a title left empty",
         "#EXTINF:5,\nfile:///m/with%20space.ogg\n",
         {{"/m/with space.ogg", "with space", 5}}},
        {"not a playlist at all",
         QByteArray("\0\0garbage", 9),
         {{QString::fromUtf8(QByteArray("\0\0garbage", 9)),
           QString::fromUtf8(QByteArray("\0\0garbage", 9)), -1}}},
        {"empty", "", {}},
        {"only a header", "#EXTM3U\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(M3uPlaylist::parse(c.bytes), c.expected);
    }
}

TEST(M3uPlaylist, WhatWeWriteReadsBackUnchanged) {
    const std::vector<Entry> entries = {
        {"/home/u/Music/Brevoir/Recording 1765000000.m4a", "Recording 1765000000", 61},
        {"/home/u/Music/Brevoir/Réunion à 9 h.flac", "Réunion à 9 h", 0},
        {"/home/u/Music/Brevoir/会議.opus", "会議", 3600},
    };
    const QByteArray bytes = M3uPlaylist::serialize(entries);
    EXPECT_TRUE(bytes.startsWith("#EXTM3U\n#EXTINF:61,Recording 1765000000\n/home/u/Music/"));
    EXPECT_EQ(M3uPlaylist::parse(bytes), entries);
    // A line break in a title cannot split an entry.
    const std::vector<Entry> broken = {{"/m/a.mp3", "two\nlines", 1}};
    EXPECT_EQ(M3uPlaylist::parse(M3uPlaylist::serialize(broken)),
              (std::vector<Entry>{{"/m/a.mp3", "two lines", 1}}));
}

TEST(M3uPlaylistLibrary, RefusesNamesThatAreNotFileNamesAndAnswersNoTracksFound) {
    const QString music = TestEnvironment::root() + QStringLiteral("/music-names");
    M3uPlaylistLibrary library(music);
    for (const char* name : {"", "   ", ".", "..", "a/b", "/", "line\nbreak"}) {
        SCOPED_TRACE(name);
        QString error;
        call(library, "create_playlist_named", {QString::fromUtf8(name)}, &error);
        EXPECT_FALSE(error.isEmpty());
        call(library, "import_files_to_playlist", {QStringList{}, QString::fromUtf8(name)}, &error);
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(QDir(music).exists()) << "a refused name writes nothing";

    QString error;
    EXPECT_EQ(textsOf(call(library, "get_tracks_for_playlist", {"Missing"}, &error)),
              QStringList{"no tracks found"});
    EXPECT_EQ(call(library, "create_playlist_named", {"Notes"}, &error).int32Value(), 1);
    EXPECT_EQ(call(library, "create_playlist_named", {"Notes"}, &error).int32Value(), 0);
    EXPECT_EQ(readAll(music + "/Playlists/Notes.m3u"), "#EXTM3U\n");
    EXPECT_EQ(textsOf(call(library, "get_tracks_for_playlist", {"Notes"}, &error)),
              QStringList{"no tracks found"});
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    call(library, "no_such_handler", {}, &error);
    EXPECT_FALSE(error.isEmpty());
}

TEST(M3uPlaylistLibrary, ImportsNeverReplaceAFileAndSkipWhatCannotBeRead) {
    const QString music = TestEnvironment::root() + QStringLiteral("/music-import");
    const QString recordings = TestEnvironment::root() + QStringLiteral("/recordings");
    ASSERT_TRUE(RecordingFiles::writeRecording(recordings + "/Réunion à 9 h.mov", 2.0));
    QDir().mkpath(music + "/Playlists/Talks");
    {
        QFile mine(music + "/Playlists/Talks/Réunion à 9 h.mov");
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
        mine.write("the user's own file");
    }
    M3uPlaylistLibrary library(music);
    QString error;
    const HandlerDescriptor imported =
        call(library, "import_files_to_playlist",
             {QStringList{recordings + "/Réunion à 9 h.mov", recordings + "/gone.mov"}, "Talks"},
             &error);
    EXPECT_EQ(imported.int32Value(), 1);
    EXPECT_TRUE(error.contains("gone")) << error.toStdString();

    EXPECT_EQ(readAll(music + "/Playlists/Talks/Réunion à 9 h.mov"), "the user's own file");
    const QString copy = music + "/Playlists/Talks/Réunion à 9 h 2.mov";
    EXPECT_EQ(readAll(copy), readAll(recordings + "/Réunion à 9 h.mov"));
    EXPECT_EQ(M3uPlaylist::parse(readAll(music + "/Playlists/Talks.m3u")),
              (std::vector<Entry>{{copy, "Réunion à 9 h", 2}}));
    EXPECT_EQ(textsOf(call(library, "get_tracks_for_playlist", {"Talks"})),
              QStringList{"Réunion à 9 h"});
    // Nothing half-written stays behind.
    EXPECT_EQ(QDir(music + "/Playlists/Talks").entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(M3uPlaylistLibrary, NeverWritesIntoOrAroundAProtectedFolder) {
    const QString root = TestEnvironment::root() + QStringLiteral("/protected");
    const QString music = root + "/Music";
    const QString recording = root + "/Recordings/Take.mov";
    ASSERT_TRUE(RecordingFiles::writeRecording(recording, 1.0));
    QDir().mkpath(root + "/Library");
    QDir().mkpath(music + "/Playlists");
    ASSERT_EQ(::symlink(QString(root + "/Library").toUtf8().constData(),
                        QString(music + "/Playlists/Linked").toUtf8().constData()),
              0);
    struct Case {
        const char* what;
        QString playlist;
        QString protectedFolder;
    };
    const Case cases[] = {
        {"the folder itself", "Talks", music + "/Playlists/Talks"},
        {"a folder inside it", "Talks", music + "/Playlists/Talks/Library"},
        {"a folder holding it and the playlist", "Talks", music + "/Playlists"},
        {"the folder reached through a link", "Linked", root + "/Library"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        M3uPlaylistLibrary library(music);
        library.setProtectedFolders({c.protectedFolder});
        QString error;
        call(library, "create_playlist_named", {c.playlist}, &error);
        EXPECT_TRUE(error.contains("would keep its files")) << error.toStdString();
        call(library, "import_files_to_playlist", {QStringList{recording}, c.playlist}, &error);
        EXPECT_TRUE(error.contains("would keep its files")) << error.toStdString();
        EXPECT_FALSE(QFile::exists(library.playlistPath(c.playlist)));
        EXPECT_FALSE(QDir(music + "/Playlists/Talks").exists());
        EXPECT_TRUE(QDir(root + "/Library").isEmpty());
    }
    // The library where it is by default, beside the playlists: nothing in it is touched.
    M3uPlaylistLibrary library(music);
    library.setProtectedFolders({music + "/Brevoir"});
    QString error;
    EXPECT_EQ(call(library, "import_files_to_playlist", {QStringList{recording}, "Brevoir"}, &error)
                  .int32Value(),
              1)
        << error.toStdString();
    EXPECT_TRUE(QFile::exists(music + "/Playlists/Brevoir/Take.mov"));
}

TEST(M3uPlaylistLibrary, ImportsAreReadableByOthersAndLeaveNothingHalfDone) {
    const QString music = TestEnvironment::root() + QStringLiteral("/music-modes");
    const QString recordings = TestEnvironment::root() + QStringLiteral("/recordings-modes");
    const QString folder = music + "/Playlists/Talks";
    QDir().mkpath(folder);
    // What syncs killed part-way left: ours goes, what is not ours or still held stays.
    for (const char* name : {".import-Ab12Cd", ".import-Zz99Yy", ".import-kept", "mine.mov"})
        RecordingFiles::writeRecording(folder + "/" + name, 0.1);
    const int held = ::open(QString(folder + "/.import-Zz99Yy").toUtf8().constData(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // A pipe and a recording still being written stand among the sources.
    QDir().mkpath(recordings);
    ASSERT_EQ(::mkfifo(QString(recordings + "/pipe.mov").toUtf8().constData(), 0644), 0);
    SoundFormat format;
    auto writing = MovieWriter::create(recordings + "/writing.mov", format);
    ASSERT_TRUE(writing);

    struct Case {
        mode_t umask;
        mode_t mode;
    };
    for (const Case c : {Case{022, 0644}, Case{027, 0640}}) {
        SCOPED_TRACE(c.umask);
        const QString source = recordings + QStringLiteral("/take %1.mov").arg(c.umask, 0, 8);
        ASSERT_TRUE(RecordingFiles::writeRecording(source, 1.0));
        const mode_t saved = ::umask(c.umask);
        M3uPlaylistLibrary library(music);
        QString error;
        QElapsedTimer clock;
        clock.start();
        const int imported =
            call(library, "import_files_to_playlist",
                 {QStringList{recordings + "/pipe.mov", recordings + "/writing.mov", source},
                  "Talks"},
                 &error)
                .int32Value();
        ::umask(saved);
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(imported, 1);
        EXPECT_TRUE(error.contains("pipe")) << error.toStdString();
        EXPECT_TRUE(error.contains("still being written")) << error.toStdString();
        struct stat info;
        const QString published = folder + QStringLiteral("/take %1.mov").arg(c.umask, 0, 8);
        ASSERT_EQ(::stat(published.toUtf8().constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, c.mode);
    }
    ::close(held);
    EXPECT_EQ(
        QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
        (QStringList{".import-Zz99Yy", ".import-kept", "mine.mov", "take 22.mov", "take 27.mov"}));
}

TEST(M3uPlaylistLibrary, AFileItsPlaylistCannotListIsTakenAwayAgain) {
    const QString music = TestEnvironment::root() + QStringLiteral("/music-limit");
    const QString recording = TestEnvironment::root() + QStringLiteral("/limit/Take.mov");
    ASSERT_TRUE(RecordingFiles::writeRecording(recording, 0.5, 22050, 1));
    QDir().mkpath(music + "/Playlists");
    // Longer than the recording, so that the copy fits under the limit and the entry does not.
    const QByteArray playlist = "#EXTM3U\n# " + QByteArray(200 * 1024, 'x') + "\n/m/a.mp3\n";
    {
        QFile file(music + "/Playlists/Talks.m3u");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(playlist);
    }
    M3uPlaylistLibrary library(music);
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limited = saved;
    limited.rlim_cur = rlim_t(playlist.size() + 10);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    QString error;
    const int imported =
        call(library, "import_files_to_playlist", {QStringList{recording}, "Talks"}, &error)
            .int32Value();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    EXPECT_EQ(imported, 0);
    EXPECT_TRUE(error.contains(SafeFile::systemReason(EFBIG))) << error.toStdString();
    EXPECT_EQ(readAll(music + "/Playlists/Talks.m3u"), playlist);
    EXPECT_TRUE(QDir(music + "/Playlists/Talks").isEmpty()) << "the copy went with its entry";
}
