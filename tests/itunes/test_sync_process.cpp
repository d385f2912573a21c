// `brevoir --sync` through the real executable and the D-Bus Sync it calls.
#include "platform/foundation/FileNames.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"
#include "platform/playlists/M3uPlaylist.h"
#include "platform/playlists/RecordingFiles.h"
#include "recording/control/BrevoirProcess.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
QString playlistFile(BrevoirProcess& brevoir) {
    return brevoir.home() + "/Music/Playlists/Brevoir.m3u";
}

QByteArray bytesOf(const QString& path) {
    return SafeFile::read(FilePath::fromString(path), 1 << 26).bytes;
}

std::vector<M3uPlaylist::Entry> playlistOf(BrevoirProcess& brevoir) {
    return M3uPlaylist::parse(bytesOf(playlistFile(brevoir)));
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A real recording under a name of any bytes.
void record(BrevoirProcess& brevoir, const QString& name, double seconds = 1.0) {
    const QString made = brevoir.root() + "/made.mov";
    ASSERT_TRUE(RecordingFiles::writeRecording(made, seconds));
    QDir().mkpath(brevoir.recordingsFolder());
    ASSERT_EQ(::rename(made.toUtf8().constData(),
                       FilePath::fromString(brevoir.recordingsFolder() + "/" + name).c_str()),
              0);
}

// Another player's playlist, with every kind of line it may hold.
const QByteArray kForeign =
    "\xEF\xBB\xBF#EXTM3U\r\n#PLAYLIST:Evening\r\n#EXTINF:61,Morning notes\r\n"
    "#EXTGRP:talks\r\nMix/Morning notes.m4a\r\n# kept as written\r\n"
    "file:///music/with%20space.ogg\r\n/music/plain.mp3\r\n";
} // namespace

TEST(SyncProcess, SyncFromTheCommandLineWaitsForTheEndAndSaysWhyItFailed) {
    REQUIRE_AUDIO_RIG();
    const QString signal = writeSecondOfSignal(QStringLiteral("sync-signal.raw"));
    {
        BrevoirProcess brevoir(signal);
        for (const char* title : {"Recording 1765000001", "Recording 1765000002"})
            ASSERT_TRUE(RecordingFiles::writeRecording(
                brevoir.recordingsFolder() + "/" + title + ".mov", 2.0));
        ASSERT_TRUE(brevoir.startHeadless());
        QString out;
        QString err;
        // The files are there when the command returns.
        EXPECT_EQ(brevoir.client({"--sync"}, &out, &err), 0) << err.toStdString();
        EXPECT_EQ(playlistOf(brevoir).size(), 2u);
        EXPECT_EQ(brevoir.client({"--sync"}, &out, &err), 0) << err.toStdString();
        EXPECT_EQ(playlistOf(brevoir).size(), 2u) << "nothing imported twice";
        EXPECT_TRUE(brevoir.log().contains("Not adding track Recording 1765000002"));
        ASSERT_EQ(brevoir.client({"--quit"}), 0);
        EXPECT_EQ(brevoir.waitForExit(), 0);
    }
    {
        BrevoirProcess empty(signal);
        ASSERT_TRUE(empty.startHeadless());
        QString err;
        EXPECT_NE(empty.client({"--sync"}, nullptr, &err), 0);
        EXPECT_EQ(err.trimmed(), "brevoir: There are no recordings to sync.");
        ASSERT_EQ(empty.client({"--quit"}), 0);
        EXPECT_EQ(empty.waitForExit(), 0);
    }
}

TEST(SyncProcess, WithTheDefaultsTheUsersPlaylistAndLibraryAreKeptAndOddNamesSyncOnce) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal(QStringLiteral("sync-defaults.raw")));
    const QStringList names = {"Take 1 .mov", " lead.mov", FileNames::decode("bad\xFE.mov")};
    for (const QString& name : names)
        record(brevoir, name);
    QDir().mkpath(brevoir.home() + "/Music/Playlists");
    {
        QFile file(playlistFile(brevoir));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kForeign);
    }
    const mode_t saved = ::umask(022);
    const bool started = brevoir.startHeadless();
    ::umask(saved);
    ASSERT_TRUE(started);
    const QString library = brevoir.home() + "/Music/Brevoir";
    const QStringList libraryBefore = entriesOf(library);

    QString err;
    for (int run = 0; run < 2; ++run)
        EXPECT_EQ(brevoir.client({"--sync"}, nullptr, &err), 0) << err.toStdString();
    EXPECT_EQ(entriesOf(library), libraryBefore) << "nothing imported into the library";
    const QByteArray after = bytesOf(playlistFile(brevoir));
    EXPECT_TRUE(after.startsWith(kForeign)) << "every line of theirs, byte for byte";
    std::vector<M3uPlaylist::Entry> added = M3uPlaylist::parse(after);
    const size_t theirs = M3uPlaylist::parse(kForeign).size();
    ASSERT_EQ(added.size(), theirs + 3) << "each recording once over two syncs";
    added.erase(added.begin(), added.begin() + qsizetype(theirs));
    QStringList titles;
    for (const M3uPlaylist::Entry& entry : added) {
        titles << entry.title;
        EXPECT_TRUE(entry.path.startsWith(brevoir.home() + "/Music/Playlists/Brevoir/"));
        struct stat info;
        ASSERT_EQ(::stat(FilePath::fromString(entry.path).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0644) << "readable by others";
    }
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"Take 1", "bad\xEF\xBF\xBD", "lead"}));
    EXPECT_FALSE(after.mid(kForeign.size()).replace("\r\n", "").contains('\n'))
        << "in the playlist's own line endings";
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

TEST(SyncProcess, ARecordingInProgressIsSyncedWholeByTheSyncAfterItStops) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(
        writeSignalFile(QStringLiteral("sync-recording.raw"), makeTestSignal(44100 * 20)));
    record(brevoir, "Recording 1765000001.mov");
    ASSERT_TRUE(brevoir.startHeadless());
    QString path;
    ASSERT_EQ(brevoir.client({"--start"}, &path), 0);
    path = path.trimmed();
    const QString title = QFileInfo(path).completeBaseName();
    // A script's library command lists the file being recorded.
    ASSERT_EQ(brevoir.client({"--note", "Recording 1765000001.mov"}), 0);
    QString err;
    EXPECT_EQ(brevoir.client({"--sync"}, nullptr, &err), 0) << err.toStdString();
    EXPECT_TRUE(
        brevoir.log().contains("Not adding track " + title + " while it is being recorded"));
    EXPECT_EQ(playlistOf(brevoir).size(), 1u);

    ASSERT_EQ(brevoir.client({"--stop"}), 0);
    EXPECT_EQ(brevoir.client({"--sync"}, nullptr, &err), 0) << err.toStdString();
    const std::vector<M3uPlaylist::Entry> entries = playlistOf(brevoir);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].title, title);
    EXPECT_EQ(bytesOf(entries[1].path), bytesOf(path)) << "the complete recording";
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

TEST(SyncProcess, APlaylistThatCannotBeReadStopsTheSyncAndIsLeftAlone) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal(QStringLiteral("sync-folder.raw")));
    record(brevoir, "Recording 1765000001.mov");
    ASSERT_TRUE(QDir().mkpath(playlistFile(brevoir)));
    ASSERT_TRUE(brevoir.startHeadless());
    QString err;
    EXPECT_NE(brevoir.client({"--sync"}, nullptr, &err), 0);
    EXPECT_TRUE(err.contains(playlistFile(brevoir) + " is a folder")) << err.toStdString();
    EXPECT_TRUE(QFileInfo(playlistFile(brevoir)).isDir());
    EXPECT_TRUE(entriesOf(playlistFile(brevoir)).isEmpty());
    EXPECT_TRUE(entriesOf(brevoir.home() + "/Music/Playlists/Brevoir").isEmpty());
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}
