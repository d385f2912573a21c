// The user's playlists kept line for line: titles read one way everywhere, entries appended
// after the lines a file holds (all or nothing, on a full disk and past a size limit too), and
// files that cannot be read whole refused without blocking and left as they are.
#include "platform/foundation/FileNames.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"
#include "platform/playlists/M3uPlaylist.h"
#include "platform/playlists/M3uPlaylistFile.h"
#include "platform/playlists/TrackTitle.h"
#include "support/SmallFileSystem.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Entry = M3uPlaylist::Entry;

namespace {
// A playlist of another player's: every kind of line we must not touch.
const QByteArray kForeign =
    "\xEF\xBB\xBF#EXTM3U\r\n#PLAYLIST:Evening\r\n#EXTINF:61,Morning notes\r\n"
    "#EXTGRP:talks\r\nMix/Morning notes.m4a\r\n# kept as written\r\n"
    "file:///music/with%20space.ogg\r\n/music/plain.mp3\r\n";

QByteArray contentsOf(const FilePath& path) {
    return SafeFile::read(path, 1 << 26).bytes;
}

void put(const FilePath& path, const QByteArray& bytes) {
    SafeFile::Problem problem;
    ASSERT_TRUE(SafeFile::replace(path, bytes, &problem)) << problem.reason.toStdString();
}

std::vector<Entry> concatenated(std::vector<Entry> a, const std::vector<Entry>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
} // namespace

TEST(TrackTitle, OneTitleForTheImportListTheWriterAndTheReader) {
    struct Case {
        QString name;
        QString title;
        QString extension;
    };
    const Case cases[] = {
        {"Recording 1765000001.mov", "Recording 1765000001", "mov"},
        {"Take 1 .mov", "Take 1", "mov"},
        {" lead.mov", "lead", "mov"},
        {".hidden.mov", ".hidden", "mov"},
        {".hidden", ".hidden", ""},
        {"no extension", "no extension", ""},
        {"ends in a dot.", "ends in a dot", ""},
        {"two.dots.m4a", "two.dots", "m4a"},
        {" .mov", ".mov", "mov"},
        {FileNames::decode("bad\xFE.mov"), QString::fromUtf8("bad\xEF\xBF\xBD"), "mov"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(TrackTitle::ofFileName(c.name), c.title);
        EXPECT_EQ(TrackTitle::extensionOf(c.name), c.extension);
        // What the writer puts down, the reader gives back, and a file named so reads the same.
        const QByteArray written = M3uPlaylist::serialize({{"/m/" + c.name, c.title, 3}});
        EXPECT_EQ(M3uPlaylist::parse(written).at(0).title, c.title);
        EXPECT_EQ(M3uPlaylist::parse(FileNames::encode("/m/" + c.name)).at(0).title, c.title);
    }
}

TEST(M3uPlaylist, AppendedEntriesFollowEveryLineAsItWasInTheFilesOwnLineEndings) {
    const std::vector<Entry> added = {{"/music/Playlists/Brevoir/Take 1.mov", "Take 1", 4},
                                      {"/music/Playlists/Brevoir/Réunion.m4a", "Réunion", -1}};
    struct Case {
        const char* what;
        QByteArray bytes;
        QByteArray appended;
    };
    const Case cases[] = {
        {"another player's, CR LF", kForeign,
         "#EXTINF:4,Take 1\r\n/music/Playlists/Brevoir/Take 1.mov\r\n#EXTINF:-1,Réunion\r\n"
         "/music/Playlists/Brevoir/Réunion.m4a\r\n"},
        {"last line without its ending", "#EXTM3U\n/m/a.mp3",
         "\n#EXTINF:4,Take 1\n/music/Playlists/Brevoir/Take 1.mov\n#EXTINF:-1,Réunion\n"
         "/music/Playlists/Brevoir/Réunion.m4a\n"},
        {"CR LF cut after the CR", "#EXTM3U\r\n/m/a.mp3\r",
         "\n#EXTINF:4,Take 1\r\n/music/Playlists/Brevoir/Take 1.mov\r\n#EXTINF:-1,Réunion\r\n"
         "/music/Playlists/Brevoir/Réunion.m4a\r\n"},
        {"an #EXTINF waiting for its path", "#EXTM3U\n#EXTINF:9,orphan",
         "\n#EXTINF:4,Take 1\n/music/Playlists/Brevoir/Take 1.mov\n#EXTINF:-1,Réunion\n"
         "/music/Playlists/Brevoir/Réunion.m4a\n"},
        {"empty", "",
         "#EXTM3U\n#EXTINF:4,Take 1\n/music/Playlists/Brevoir/Take 1.mov\n#EXTINF:-1,Réunion\n"
         "/music/Playlists/Brevoir/Réunion.m4a\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray appended = M3uPlaylist::appendix(c.bytes, added);
        EXPECT_EQ(appended, c.appended);
        EXPECT_EQ(M3uPlaylist::parse(c.bytes + appended),
                  concatenated(M3uPlaylist::parse(c.bytes), added));
        EXPECT_EQ(M3uPlaylist::appendix(c.bytes, {}), QByteArray()) << "nothing to add, no change";
    }
    // Removing an entry takes its lines and no others.
    const QByteArray without = M3uPlaylist::withoutEntries(
        kForeign, [](const Entry& entry) { return entry.title == "Morning notes"; });
    EXPECT_EQ(without, "\xEF\xBB\xBF#EXTM3U\r\n#PLAYLIST:Evening\r\n# kept as written\r\n"
                       "file:///music/with%20space.ogg\r\n/music/plain.mp3\r\n");
}

TEST(M3uPlaylistFile, WhatCannotBeReadWholeIsRefusedAtOnceAndLeftAsItIs) {
    QTemporaryDir dir;
    const FilePath root = FilePath::fromString(dir.path());
    const FilePath fifo = root / "fifo.m3u";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const FilePath device = root / "zero.m3u";
    ASSERT_EQ(::symlink("/dev/zero", device.c_str()), 0);
    const FilePath folder = root / "folder.m3u";
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const FilePath huge = root / "huge.m3u";
    const int fd = ::open(huge.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::ftruncate(fd, M3uPlaylist::kMaxBytes + 1), 0); // sparse: costs nothing
    ::close(fd);
    QByteArray lines;
    for (size_t i = 0; i <= M3uPlaylist::kMaxEntries; ++i)
        lines += "/m/" + QByteArray::number(qulonglong(i)) + ".mp3\n";
    const FilePath crowded = root / "crowded.m3u";
    put(crowded, lines);

    struct Case {
        FilePath path;
        const char* reason;
    };
    const Case cases[] = {{fifo, "pipe"},
                          {device, "pipe, a device"},
                          {folder, "folder"},
                          {huge, "larger than"},
                          {crowded, "100000 entries"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.display().toStdString());
        struct stat before;
        ASSERT_EQ(::lstat(c.path.c_str(), &before), 0);
        QElapsedTimer clock;
        clock.start();
        M3uPlaylistFile file = M3uPlaylistFile::read(c.path);
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(file.state(), M3uPlaylistFile::State::Refused);
        EXPECT_TRUE(file.problem().contains(c.reason)) << file.problem().toStdString();
        EXPECT_TRUE(file.entries().empty());
        QString problem;
        EXPECT_FALSE(file.append({{"/m/new.mp3", "new", 1}}, &problem));
        EXPECT_EQ(problem, file.problem());
        struct stat after;
        ASSERT_EQ(::lstat(c.path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_size, before.st_size);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    }
    EXPECT_EQ(M3uPlaylistFile::read(root / "missing.m3u").state(), M3uPlaylistFile::State::Missing);
}

TEST(M3uPlaylistFile, AppendsAfterTheLinesItReadAndOnlyToTheFileItRead) {
    QTemporaryDir dir;
    const FilePath root = FilePath::fromString(dir.path());
    const FilePath path = root / "Brevoir.m3u";
    put(path, kForeign);
    M3uPlaylistFile file = M3uPlaylistFile::read(path);
    ASSERT_EQ(file.state(), M3uPlaylistFile::State::Read);
    ASSERT_EQ(file.entries().size(), 3u);
    const std::vector<Entry> first = {{"/music/Playlists/Brevoir/a.mov", "a", 1}};
    const std::vector<Entry> second = {{"/music/Playlists/Brevoir/b.mov", "b", 2}};
    QString problem;
    ASSERT_TRUE(file.append(first, &problem)) << problem.toStdString();
    ASSERT_TRUE(file.append(second, &problem)) << problem.toStdString();
    EXPECT_EQ(contentsOf(path),
              kForeign + M3uPlaylist::appendix(kForeign, concatenated(first, second)));
    EXPECT_EQ(file.entries().size(), 5u);

    // Another program's change since: nothing more is added, whatever took its place.
    const QByteArray theirs = contentsOf(path) + "/m/theirs.mp3\r\n";
    put(path, theirs);
    EXPECT_FALSE(file.checkWritable(&problem));
    EXPECT_FALSE(file.append(first, &problem));
    EXPECT_TRUE(problem.contains("changed")) << problem.toStdString();
    EXPECT_EQ(contentsOf(path), theirs);

    // A link in a playlist's place is read through but never written through.
    const FilePath target = root / "elsewhere.m3u";
    put(target, "#EXTM3U\n");
    const FilePath linked = root / "Linked.m3u";
    ASSERT_EQ(::symlink(target.c_str(), linked.c_str()), 0);
    M3uPlaylistFile throughLink = M3uPlaylistFile::read(linked);
    EXPECT_EQ(throughLink.state(), M3uPlaylistFile::State::Read);
    EXPECT_FALSE(throughLink.append(first, &problem));
    EXPECT_TRUE(problem.contains("link")) << problem.toStdString();
    EXPECT_EQ(contentsOf(target), "#EXTM3U\n");
}

TEST(M3uPlaylistFile, AFailedAppendLeavesThePlaylistAsItWas) {
    const QString folder = TestEnvironment::root() + "/small-music";
    SmallFileSystem small(folder, 64 * 1024);
    REQUIRE_OR_SKIP_OUTSIDE_RIG(small.mounted(), "permission to mount a tmpfs (root)");
    const FilePath path = FilePath::fromString(folder) / "Brevoir.m3u";
    std::vector<Entry> fifty;
    for (int i = 0; i < 50; ++i)
        fifty.push_back({QStringLiteral("/music/Playlists/Brevoir/Recording %1.mov").arg(i),
                         QStringLiteral("Recording %1").arg(i), 60});
    const QByteArray old = M3uPlaylist::serialize(fifty);
    put(path, old);
    const std::vector<Entry> tooLong = {{"/m/" + QString(96 * 1024, u'x'), "long", 1}};
    const std::vector<Entry> one = {{"/m/one.mov", "one", 1}};

    struct Case {
        const char* what;
        rlim_t sizeLimit; // 0: none
        std::vector<Entry> entries;
        int error;
    };
    const Case cases[] = {{"a full disk", 0, tooLong, ENOSPC},
                          {"a file size limit", rlim_t(old.size() + 10), one, EFBIG}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        M3uPlaylistFile file = M3uPlaylistFile::read(path);
        ASSERT_EQ(file.entries().size(), 50u);
        struct rlimit saved;
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        struct rlimit limited = saved;
        if (c.sizeLimit)
            limited.rlim_cur = c.sizeLimit;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        QString problem;
        const bool appended = file.append(c.entries, &problem);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
        EXPECT_FALSE(appended);
        EXPECT_TRUE(problem.contains(SafeFile::systemReason(c.error))) << problem.toStdString();
        EXPECT_EQ(contentsOf(path), old) << "all 50 entries, not a byte more";
        // Once there is room, the same file takes it.
        ASSERT_TRUE(file.append(one, &problem)) << problem.toStdString();
        EXPECT_EQ(M3uPlaylist::parse(contentsOf(path)).size(), 51u);
        put(path, old);
    }
}
