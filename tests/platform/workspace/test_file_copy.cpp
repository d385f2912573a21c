#include "platform/workspace/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Outcome = FileCopyJob::Outcome;

class FileCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(_root.path()).mkpath(QStringLiteral("a")));
        ASSERT_TRUE(QDir(_root.path()).mkpath(QStringLiteral("b")));
        ASSERT_TRUE(QDir(_root.path()).mkpath(QStringLiteral("library/Recordings")));
    }

    QString path(const QString& relative) const { return _root.filePath(relative); }
    QString destination() const { return path(QStringLiteral("library/Recordings")); }

    QString write(const QString& relative, const QByteArray& bytes) const {
        QFile file(path(relative));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return file.fileName();
    }

    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Everything in the library folder, hidden entries included: a copy leaves nothing else.
    QStringList libraryContents() const {
        QStringList all;
        for (const QString& folder : {path(QStringLiteral("library")), destination()}) {
            all << QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                          QDir::NoDotAndDotDot);
        }
        return all;
    }

    static void run(FileCopyJob& job) {
        QSignalSpy finished(&job, &FileCopyJob::finished);
        job.start();
        ASSERT_TRUE(finished.wait(30000));
        ASSERT_TRUE(job.isFinished());
    }

    QTemporaryDir _root;
};

TEST_F(FileCopyTest, CopiesFromEachFilesOwnFolderKeepingNameModeAndTime) {
    const QByteArray sound(3 * 1024 * 1024 + 17, 'S');
    const QString one = write(QStringLiteral("a/one.mov"), sound);
    const QString two = write(QStringLiteral("b/two.m4a"), "two");
    ::chmod(QFile::encodeName(two).constData(), 0640);
    QFile(one).setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)),
                           QFileDevice::FileModificationTime);

    FileCopyJob job({one, two}, destination());
    QSignalSpy progress(&job, &FileCopyJob::progressChanged);
    run(job);

    ASSERT_EQ(job.results().size(), 2u);
    EXPECT_EQ(job.results()[0].outcome, Outcome::Copied);
    EXPECT_EQ(job.results()[1].outcome, Outcome::Copied);
    EXPECT_EQ(job.results()[0].destination, destination() + QStringLiteral("/one.mov"));
    EXPECT_EQ(read(destination() + QStringLiteral("/one.mov")), sound);
    EXPECT_EQ(read(destination() + QStringLiteral("/two.m4a")), QByteArray("two"));
    EXPECT_EQ(QFileInfo(destination() + QStringLiteral("/one.mov")).lastModified(),
              QFileInfo(one).lastModified());
    struct stat st = {};
    ASSERT_EQ(
        ::stat(QFile::encodeName(destination() + QStringLiteral("/two.m4a")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(job.totalBytes(), sound.size() + 3);
    EXPECT_EQ(job.copiedBytes(), sound.size() + 3);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(0).toLongLong(), sound.size() + 3);
    // The sources stay where they were.
    EXPECT_TRUE(QFile::exists(one));
    EXPECT_EQ(libraryContents(),
              (QStringList{QStringLiteral("Recordings"), QStringLiteral("one.mov"),
                           QStringLiteral("two.m4a")}));
}

TEST_F(FileCopyTest, NeverReplacesAFileAndSkipsWhatIsNoFile) {
    write(QStringLiteral("library/Recordings/same.mov"), "the library's own");
    const QString same = write(QStringLiteral("a/same.mov"), "a dropped one");
    ASSERT_TRUE(QDir(path(QStringLiteral("a"))).mkdir(QStringLiteral("folder.mov")));
    const QString twin = write(QStringLiteral("b/twin.mp3"), "first");
    const QString twinToo = write(QStringLiteral("a/twin.mp3"), "second");

    FileCopyJob job({same, path(QStringLiteral("a/folder.mov")), path(QStringLiteral("a/gone.mov")),
                     twin, twinToo},
                    destination());
    run(job);

    ASSERT_EQ(job.results().size(), 5u);
    EXPECT_EQ(job.results()[0].outcome, Outcome::Exists);
    EXPECT_EQ(job.results()[1].outcome, Outcome::NotAFile);
    EXPECT_EQ(job.results()[2].outcome, Outcome::Failed);
    EXPECT_FALSE(job.results()[2].error.isEmpty());
    EXPECT_EQ(job.results()[3].outcome, Outcome::Copied);
    EXPECT_EQ(job.results()[4].outcome, Outcome::Exists);
    EXPECT_EQ(read(destination() + QStringLiteral("/same.mov")), QByteArray("the library's own"));
    EXPECT_EQ(read(destination() + QStringLiteral("/twin.mp3")), QByteArray("first"));
    EXPECT_EQ(libraryContents(),
              (QStringList{QStringLiteral("Recordings"), QStringLiteral("same.mov"),
                           QStringLiteral("twin.mp3")}));
}

TEST_F(FileCopyTest, ACancelledCopyLeavesNothingBehind) {
    const QString big = write(QStringLiteral("a/big.mov"), QByteArray(1 << 20, 'B'));
    const QString next = write(QStringLiteral("a/next.mov"), "next");
    FileCopyJob job({big, next}, destination());
    // The user cancels once the first chunk has been written.
    job.setChunkHookForTesting(
        [&job](qint64 copied) {
            if (copied >= 64 * 1024)
                job.cancel();
            return true;
        },
        64 * 1024);
    run(job);

    ASSERT_EQ(job.results().size(), 2u);
    EXPECT_EQ(job.results()[0].outcome, Outcome::Cancelled);
    EXPECT_EQ(job.results()[1].outcome, Outcome::Cancelled);
    EXPECT_EQ(libraryContents(), QStringList{QStringLiteral("Recordings")});
}

TEST_F(FileCopyTest, AFailedWriteLeavesNothingBehind) {
    const QString big = write(QStringLiteral("a/big.mov"), QByteArray(1 << 20, 'B'));
    const QString small = write(QStringLiteral("a/small.mov"), "small");
    FileCopyJob job({big, small}, destination());
    // The disk fills up halfway through the big file.
    job.setChunkHookForTesting([](qint64 copied) { return copied < 512 * 1024; }, 128 * 1024);
    run(job);

    ASSERT_EQ(job.results().size(), 2u);
    EXPECT_EQ(job.results()[0].outcome, Outcome::Failed);
    EXPECT_EQ(job.results()[1].outcome, Outcome::Copied);
    EXPECT_EQ(libraryContents(),
              (QStringList{QStringLiteral("Recordings"), QStringLiteral("small.mov")}));
}

TEST_F(FileCopyTest, AMissingDestinationFailsEveryFile) {
    const QString one = write(QStringLiteral("a/one.mov"), "one");
    FileCopyJob job({one}, path(QStringLiteral("nowhere/Recordings")));
    run(job);
    ASSERT_EQ(job.results().size(), 1u);
    EXPECT_EQ(job.results()[0].outcome, Outcome::Failed);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("nowhere"))));
}

} // namespace
