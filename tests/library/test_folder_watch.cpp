// The list follows the "Recordings" folder: what other programs copy in appears once whole,
// what they remove vanishes, and a burst of changes costs a few scans, not one each.
#include "library/FolderChanges.h"
#include "library/LibraryFixture.h"
#include "platform/media/player/PlaybackTestSupport.h"

#include <QSignalSpy>

#include <sys/stat.h>
#include <utime.h>

namespace {
class FolderWatch : public LibraryFixture {
protected:
    // A file written elsewhere an hour ago, as a finished copy is, ready to be moved in.
    QString finishedFile(const QString& name) {
        const QString path = scratch("outside/" + name);
        QDir().mkpath(scratch("outside"));
        writeFile(path, name.toUtf8());
        setAge(path, 3600);
        return path;
    }
    static void setAge(const QString& path, int seconds) {
        const time_t then = time(nullptr) - seconds;
        const struct utimbuf times = {then, then};
        ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
    }
    bool waitForList(const std::function<bool()>& condition) {
        return PlaybackTestSupport::waitUntil(condition, 10000);
    }
};
} // namespace

TEST(FolderChanges, NewFilesSettleBeforeTheyCountAndListedOnesThatWentAreGone) {
    QTemporaryDir folder;
    const QDateTime now = QDateTime::currentDateTime();
    const auto write = [&](const char* name, int age) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        const time_t then = now.toSecsSinceEpoch() - age;
        const struct utimbuf times = {then, then};
        ASSERT_EQ(::utime(QFile::encodeName(folder.filePath(name)).constData(), &times), 0);
    };
    write("listed.mov", 100);
    write("old new.mov", 100); // copied in some time ago: whole
    write("fresh.mov", 0);     // still being written
    write("recording.mov", 0); // ours, being recorded
    QDir(folder.path()).mkdir("a folder");
    const FolderChanges::Changes changes = FolderChanges::compare(
        folder.path(), {"listed.mov", "deleted.mov", "also gone.mov"}, {"recording.mov"}, now);
    EXPECT_TRUE(changes.readable);
    EXPECT_EQ(changes.gone, (QStringList{"also gone.mov", "deleted.mov"}));
    EXPECT_EQ(changes.settling, (QSet<QString>{"fresh.mov"}));

    // A folder that cannot be read says nothing: no file is taken for gone.
    const FolderChanges::Changes unreadable =
        FolderChanges::compare(folder.filePath("no such folder"), {"listed.mov"}, {}, now);
    EXPECT_FALSE(unreadable.readable);
    EXPECT_TRUE(unreadable.gone.isEmpty());
}

TEST_F(FolderWatch, FilesCopiedInAppearAndFilesRemovedVanishInAFewScans) {
    ASSERT_TRUE(QDir().mkpath(recordings()));
    for (const char* name : {"kept.mov", "to remove 1.mov", "to remove 2.mov"})
        writeFile(recordings() + "/" + name, name);
    launch();
    auto* watcher = controller->findChild<FolderWatcher*>("recordingsFolderWatcher");
    ASSERT_NE(watcher, nullptr);
    EXPECT_EQ(watcher->folder(), recordings());
    QSignalSpy scans(watcher, &FolderWatcher::changed);

    // Twenty files moved in at once, as a file manager does.
    for (int i = 0; i < 20; ++i) {
        const QString name = QStringLiteral("copied %1.mov").arg(i, 2, 10, QLatin1Char('0'));
        ASSERT_TRUE(QFile::rename(finishedFile(name), recordings() + "/" + name));
    }
    ASSERT_TRUE(waitForList([&] { return listed().size() == 23; })) << listed().size();
    EXPECT_LE(scans.size(), 3);

    // Two removed by another program leave the list; the others stay.
    scans.clear();
    ASSERT_TRUE(QFile::remove(recordings() + "/to remove 1.mov"));
    ASSERT_TRUE(QFile::remove(recordings() + "/to remove 2.mov"));
    ASSERT_TRUE(waitForList([&] { return listed().size() == 21; })) << listed().size();
    EXPECT_TRUE(listed().contains("kept.mov"));
    EXPECT_FALSE(listed().contains("to remove 1.mov"));
    EXPECT_EQ(list().arrangedObjects().size(), 21u);
    EXPECT_LE(scans.size(), 2);

    // A file still being written waits until it has been left alone, then is listed.
    const qsizetype before = scans.size();
    writeFile(recordings() + "/growing.mov", "part of it");
    ASSERT_TRUE(waitForList([&] { return scans.size() > before; }));
    EXPECT_FALSE(listed().contains("growing.mov"));
    ASSERT_TRUE(waitForList([&] { return listed().contains("growing.mov"); }));
    EXPECT_EQ(track("growing.mov")->size(), quint64(10));
}

TEST_F(FolderWatch, AFolderDeletedAndMadeAgainIsFollowedAgain) {
    ASSERT_TRUE(QDir().mkpath(recordings()));
    writeFile(recordings() + "/a.mov", "a");
    launch();
    ASSERT_TRUE(QDir(recordings()).removeRecursively());
    // Gone with its folder: nothing can be read, so the list keeps what it had...
    QSignalSpy scans(controller->findChild<FolderWatcher*>(), &FolderWatcher::changed);
    ASSERT_TRUE(waitForList([&] { return scans.size() >= 1; }));
    EXPECT_EQ(listed(), QStringList{"a.mov"});
    // ...until the folder is there again, made by the next recording, and read.
    controller->ensureLibraryFolder();
    ASSERT_TRUE(QFileInfo(recordings()).isDir());
    QFile::rename(finishedFile("b.mov"), recordings() + "/b.mov");
    ASSERT_TRUE(waitForList([&] { return listed() == QStringList{"b.mov"}; }))
        << listed().join(",").toStdString();
}
