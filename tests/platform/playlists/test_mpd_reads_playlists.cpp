// Our playlists as a music player we did not write reads them: MPD, with its music and
// playlist folders on the music folder.
#include "platform/playlists/M3uPlaylistLibrary.h"
#include "platform/playlists/RecordingFiles.h"
#include "support/TestEnvironment.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
class Mpd {
public:
    // As its own user when we may start it so (`user`), as music daemons usually run.
    Mpd(const QString& music, const QString& user) : _root(TestEnvironment::root() + "/mpd") {
        QDir().mkpath(_root);
        ::chmod(_root.toUtf8().constData(), 0777); // its database and socket
        QFile conf(_root + "/mpd.conf");
        if (!conf.open(QIODevice::WriteOnly))
            return;
        conf.write(QStringLiteral("music_directory \"%1\"\nplaylist_directory \"%1/Playlists\"\n"
                                  "db_file \"%2/database\"\nbind_to_address \"%2/socket\"\n"
                                  "audio_output {\n type \"null\"\n name \"none\"\n}\n")
                       .arg(music, _root)
                       .toUtf8());
        if (!user.isEmpty())
            conf.write(QStringLiteral("user \"%1\"\n").arg(user).toUtf8());
        conf.close();
        _daemon.setProcessChannelMode(QProcess::MergedChannels);
        _daemon.start(QStringLiteral("mpd"), {QStringLiteral("--no-daemon"), conf.fileName()});
    }
    ~Mpd() {
        _daemon.terminate();
        _daemon.waitForFinished(5000);
    }

    // `mpc ARGS` against this daemon; its output, or a null string when it failed.
    QString mpc(const QStringList& arguments) {
        QProcess mpc;
        mpc.start(QStringLiteral("mpc"), QStringList{"--host", _root + "/socket"} + arguments);
        if (!mpc.waitForFinished(30000) || mpc.exitCode() != 0)
            return {};
        return QString::fromUtf8(mpc.readAllStandardOutput());
    }

    // Until the daemon answers (each try is a whole mpc run) or 20 s have gone.
    bool waitUntilAnswering() {
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            if (_daemon.state() == QProcess::NotRunning)
                return false;
            if (!mpc({QStringLiteral("status")}).isNull())
                return true;
            _daemon.waitForReadyRead(100);
        }
        return false;
    }

    QString output() { return QString::fromUtf8(_daemon.readAll()); }

    // The user the daemon reads the files as.
    uid_t uid() const {
        QFile status(QStringLiteral("/proc/%1/status").arg(_daemon.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return uid_t(-1);
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Uid:"))
                return uid_t(line.mid(4).simplified().split(' ').value(1).toUInt());
        return uid_t(-1);
    }

private:
    QString _root;
    QProcess _daemon;
};
} // namespace

TEST(PlaylistsInMpd, MpdListsThePlaylistWithItsTitlesAndLengthsAfterTheUsersOwnEntries) {
    REQUIRE_OR_SKIP_OUTSIDE_RIG(!QStandardPaths::findExecutable("mpd").isEmpty() &&
                                    !QStandardPaths::findExecutable("mpc").isEmpty(),
                                "mpd and mpc (scripts/setup.sh installs them)");
    // Where a daemon of its own user can reach the files: folders others may pass through.
    const mode_t savedMask = ::umask(022);
    ::chmod(TestEnvironment::root().toUtf8().constData(), 0711);
    const QString music = TestEnvironment::root() + "/Music";
    const QString recordings = TestEnvironment::root() + "/Recordings";
    const QStringList titles = {"Recording 1765000001", "Réunion à 9 h", "Interview"};
    const double seconds[] = {2.0, 3.0, 5.0};
    QStringList files;
    for (int i = 0; i < titles.size(); ++i) {
        files << recordings + "/" + titles[i] + ".mov";
        ASSERT_TRUE(RecordingFiles::writeRecording(files.last(), seconds[i]));
    }
    // The user's own playlist of that name, as another player wrote it (without a byte-order
    // mark, which MPD would take for part of a path).
    ASSERT_TRUE(RecordingFiles::writeRecording(music + "/Mix/Evening talk.mov", 4.0));
    QDir().mkpath(music + "/Playlists");
    const QByteArray theirs = "#EXTM3U\r\n#PLAYLIST:Evening\r\n#EXTINF:4,Evening talk\r\n"
                              "#EXTGRP:talks\r\nMix/Evening talk.mov\r\n";
    {
        QFile file(music + "/Playlists/Brevoir.m3u");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(theirs);
    }
    M3uPlaylistLibrary library(music);
    HandlerDescriptor names = HandlerDescriptor::listDescriptor();
    for (const QString& file : files)
        names.insertDescriptorAtIndex(HandlerDescriptor::descriptorWithString(file), 0);
    HandlerDescriptor arguments = HandlerDescriptor::listDescriptor();
    arguments.insertDescriptorAtIndex(names, 1);
    arguments.insertDescriptorAtIndex(HandlerDescriptor::descriptorWithString("Brevoir"), 2);
    arguments.insertDescriptorAtIndex(HandlerDescriptor::descriptorWithString("FLAC"), 3);
    QVariantMap error;
    const int imported = library
                             .callHandlerWithArgumentsErrorInfo(
                                 "import_files_to_playlist_with_conversion", arguments, &error)
                             .int32Value();
    ::umask(savedMask);
    ASSERT_EQ(imported, 3)
        << error.value(PlaylistComponent::kErrorMessage).toString().toStdString();

    Mpd mpd(music, ::geteuid() == 0 ? QStringLiteral("nobody") : QString());
    ASSERT_TRUE(mpd.waitUntilAnswering()) << mpd.output().toStdString();
    if (::geteuid() == 0) {
        EXPECT_EQ(mpd.uid(), 65534u) << "reading as nobody";
    }
    ASSERT_FALSE(mpd.mpc({"--wait", "update"}).isNull());
    EXPECT_EQ(mpd.mpc({"lsplaylists"}).split('\n', Qt::SkipEmptyParts), QStringList{"Brevoir"});
    EXPECT_EQ(mpd.mpc({"-f", "[%title%|%file%] = %time%", "playlist", "Brevoir"})
                  .split('\n', Qt::SkipEmptyParts),
              (QStringList{"Mix/Evening talk.mov = 0:04", "Recording 1765000001 = 0:02",
                           "Réunion à 9 h = 0:03", "Interview = 0:05"}))
        << mpd.output().toStdString();
}
