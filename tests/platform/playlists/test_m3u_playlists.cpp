// M3U playlists: reading other writers' files, our own round trip, and the playlist library's
// refusals and names.
#include "platform/playlists/M3uPlaylist.h"
#include "platform/playlists/M3uPlaylistLibrary.h"
#include "platform/playlists/RecordingFiles.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

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
    QDir().mkpath(music + "/Talks");
    {
        QFile mine(music + "/Talks/Réunion à 9 h.mov");
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

    EXPECT_EQ(readAll(music + "/Talks/Réunion à 9 h.mov"), "the user's own file");
    const QString copy = music + "/Talks/Réunion à 9 h 2.mov";
    EXPECT_EQ(readAll(copy), readAll(recordings + "/Réunion à 9 h.mov"));
    EXPECT_EQ(M3uPlaylist::parse(readAll(music + "/Playlists/Talks.m3u")),
              (std::vector<Entry>{{copy, "Réunion à 9 h", 2}}));
    EXPECT_EQ(textsOf(call(library, "get_tracks_for_playlist", {"Talks"})),
              QStringList{"Réunion à 9 h"});
    // Nothing half-written stays behind.
    EXPECT_EQ(QDir(music + "/Talks").entryList(QDir::Files | QDir::Hidden).size(), 2);
}
