// Reading and replacing files through SafeFile, with real stand-ins (FIFOs, devices, folders,
// links) and real failures (a full file system, a file size limit).
#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"
#include "support/SmallFileSystem.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QByteArray contentsOf(const FilePath& path) {
    SafeFile::Contents read = SafeFile::read(path, 1 << 20);
    return read.bytes;
}

void put(const FilePath& path, const QByteArray& bytes) {
    SafeFile::Problem problem;
    ASSERT_TRUE(SafeFile::replace(path, bytes, &problem)) << problem.reason.toStdString();
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

TEST(SafeFile, ReadingRefusesWhatIsNotARegularFileWithoutBlockingAndLeavesItAsItIs) {
    QTemporaryDir dir;
    const FilePath root = FilePath::fromString(dir.path());
    const FilePath library = root / "library";
    ASSERT_EQ(::mkdir(library.c_str(), 0755), 0);
    const FilePath outside = root / "outside.txt";
    put(outside, "secret");
    const FilePath inside = library / "inside.txt";
    put(inside, "ours");

    const FilePath fifo = library / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const FilePath device = library / "zero";
    ASSERT_EQ(::symlink("/dev/zero", device.c_str()), 0);
    const FilePath folder = library / "folder";
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const FilePath socketPath = library / "socket";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const FilePath linkOut = library / "link-out";
    ASSERT_EQ(::symlink(outside.c_str(), linkOut.c_str()), 0);
    const FilePath linkIn = library / "link-in";
    ASSERT_EQ(::symlink("inside.txt", linkIn.c_str()), 0);

    struct Case {
        FilePath path;
        SafeFile::Contents::Status status;
        const char* reasonHas;
        QByteArray bytes;
    };
    const Case cases[] = {
        {fifo, SafeFile::Contents::Refused, "pipe", {}},
        {device, SafeFile::Contents::Refused, "device", {}},
        {folder, SafeFile::Contents::Refused, "folder", {}},
        {socketPath, SafeFile::Contents::Refused, "socket", {}},
        {linkOut, SafeFile::Contents::Refused, "link", {}},
        {linkIn, SafeFile::Contents::Read, "", "ours"},
        {inside, SafeFile::Contents::Read, "", "ours"},
        {library / "missing", SafeFile::Contents::Missing, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.display().toStdString());
        const SafeFile::Contents read = SafeFile::read(c.path, 1 << 20, library);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.bytes, c.bytes);
        EXPECT_TRUE(read.problem.reason.contains(QLatin1String(c.reasonHas)))
            << read.problem.reason.toStdString();
        if (c.status == SafeFile::Contents::Refused) {
            EXPECT_TRUE(read.problem.reason.contains(c.path.display()));
        }
    }
    // Unconfined, a link is followed wherever it leads.
    EXPECT_EQ(SafeFile::read(linkOut, 1 << 20).bytes, "secret");
    // Nothing was moved or changed.
    EXPECT_EQ(entriesOf(library.toString()).size(), 7);
    EXPECT_EQ(contentsOf(outside), "secret");
    ::close(sock);
}

TEST(SafeFile, ReadingStopsAtTheSizeOnDiskAndRefusesWhatIsTooLarge) {
    QTemporaryDir dir;
    const FilePath path = FilePath::fromString(dir.filePath("big"));
    put(path, QByteArray(1000, 'x'));
    EXPECT_EQ(SafeFile::read(path, 1000).bytes.size(), 1000);
    const SafeFile::Contents refused = SafeFile::read(path, 999);
    EXPECT_EQ(refused.status, SafeFile::Contents::Refused);
    EXPECT_TRUE(refused.bytes.isEmpty());

    // A name that is not UTF-8 is a file of its own, read and written by its bytes (in a
    // folder that the test process removes by bytes at its end).
    const FilePath root = FilePath::fromString(TestEnvironment::root());
    const FilePath odd = root.childBytes("take\xfe.txt");
    const FilePath other = root.childBytes("take\xff.txt");
    put(odd, "fe");
    put(other, "ff");
    EXPECT_EQ(contentsOf(odd), "fe");
    EXPECT_EQ(contentsOf(other), "ff");
}

TEST(SafeFile, ReplacingKeepsTheOldFileWholeWhenTheDiskIsFullOrTheSizeLimitIsHit) {
    const QString folder = TestEnvironment::root() + "/small-fs";
    SmallFileSystem small(folder, 64 * 1024);
    REQUIRE_OR_SKIP_OUTSIDE_RIG(small.mounted(), "permission to mount a tmpfs (root)");
    const FilePath path = FilePath::fromString(folder) / "Database.plist";
    put(path, "old contents");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    SafeFile::Problem problem;
    EXPECT_FALSE(SafeFile::replace(path, QByteArray(256 * 1024, 'n'), &problem));
    EXPECT_EQ(problem.error, ENOSPC);
    EXPECT_TRUE(problem.reason.contains(path.display())) << problem.reason.toStdString();
    EXPECT_EQ(contentsOf(path), "old contents");
    EXPECT_EQ(entriesOf(folder), QStringList{"Database.plist"}) << "no temporary is left";

    // The writer is limited to 1 KiB per file.
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limited = saved;
    limited.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = SafeFile::replace(path, QByteArray(4096, 'n'), &problem);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    EXPECT_FALSE(written);
    EXPECT_EQ(problem.error, EFBIG);
    EXPECT_EQ(contentsOf(path), "old contents");
    EXPECT_EQ(entriesOf(folder), QStringList{"Database.plist"});

    // A write that fits replaces it, with its permissions kept.
    put(path, "new contents");
    EXPECT_EQ(contentsOf(path), "new contents");
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(SafeFile, ReplacingRefusesLinksAndFoldersAndNewFilesFollowTheUmask) {
    QTemporaryDir dir;
    const FilePath root = FilePath::fromString(dir.path());
    const FilePath target = root / "target";
    put(target, "target");
    const FilePath link = root / "link";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const FilePath folder = root / "folder";
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    for (const FilePath& path : {link, folder}) {
        SafeFile::Problem problem;
        EXPECT_FALSE(SafeFile::replace(path, "new", &problem));
        EXPECT_TRUE(problem.reason.contains(path.display())) << problem.reason.toStdString();
    }
    EXPECT_EQ(contentsOf(target), "target") << "nothing is written through a link";
    struct stat info;
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    const mode_t old = ::umask(027);
    put(root / "fresh", "fresh");
    ::umask(old);
    ASSERT_EQ(::stat((root / "fresh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    SafeFile::Problem problem;
    EXPECT_FALSE(SafeFile::createNew(target, "again", &problem));
    EXPECT_EQ(problem.error, EEXIST);
    EXPECT_EQ(contentsOf(target), "target");
}
