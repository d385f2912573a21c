// `brevoir --sync` through the real executable and the D-Bus Sync it calls.
#include "platform/playlists/M3uPlaylist.h"
#include "platform/playlists/RecordingFiles.h"
#include "recording/control/BrevoirProcess.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
std::vector<M3uPlaylist::Entry> playlistOf(BrevoirProcess& brevoir) {
    QFile file(brevoir.home() + "/Music/Playlists/Brevoir.m3u");
    return file.open(QIODevice::ReadOnly) ? M3uPlaylist::parse(file.readAll())
                                          : std::vector<M3uPlaylist::Entry>{};
}
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
