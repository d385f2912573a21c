// The freedesktop trash written by our own code, with real files: names that are not UTF-8,
// a volume of its own (a tmpfs) with and without an administrator's trash, a full disk and a
// trash that cannot be written.
#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"
#include "platform/workspace/Trash.h"
#include "support/ReadOnlyFolder.h"
#include "support/SmallFileSystem.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool exists(const FilePath& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

void put(const FilePath& path, const QByteArray& bytes) {
    SafeFile::Problem problem;
    ASSERT_TRUE(SafeFile::replace(path, bytes, &problem)) << problem.reason.toStdString();
}

FilePath makeFolder(const FilePath& path) {
    std::filesystem::create_directories(path.bytes().toStdString());
    return path;
}

FilePath realPath(const FilePath& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? FilePath(QByteArray(real.get())) : FilePath();
}

// By bytes: Qt's listing cannot tell apart names that are not UTF-8.
size_t entriesIn(const FilePath& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(folder.bytes().toStdString()))
        ++count;
    return count;
}

// The Path= and DeletionDate= of a .trashinfo.
struct Info {
    QByteArray path;
    QByteArray date;
    bool whole = false;
};
Info readInfo(const FilePath& file) {
    Info info;
    const QList<QByteArray> lines = SafeFile::read(file, 1 << 16).bytes.split('\n');
    info.whole = lines.size() == 4 && lines[0] == "[Trash Info]" && lines[3].isEmpty();
    for (const QByteArray& line : lines) {
        if (line.startsWith("Path="))
            info.path = Trash::decodeInfoPath(line.mid(5));
        if (line.startsWith("DeletionDate="))
            info.date = line.mid(13);
    }
    return info;
}

const QDateTime kDeletedAt(QDate(2024, 3, 9), QTime(14, 5, 7));

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(Trash::homeTrash().bytes().toStdString());
        _folder = makeFolder(FilePath::fromString(TestEnvironment::root()) / "trash-test");
    }
    void TearDown() override { std::filesystem::remove_all(_folder.bytes().toStdString()); }
    FilePath _folder;
};

TEST_F(TrashTest, TheHomeTrashTakesEveryNameByItsBytesAndNeverReplacesAnEntry) {
    const QByteArray names[] = {
        "plain.mov",
        "take \xfe\xff.mov", // not UTF-8
        "100% & #1 ?.mov",   // characters a Path= must escape
        "new\nline\x01.mov", // control characters
        "\xc3\xbcn\xc3\xaf"
        "code.mov",       // UTF-8
        "Interview.rtfd", // a note folder
    };
    for (const QByteArray& name : names) {
        SCOPED_TRACE(name.toHex().toStdString());
        for (const char* from : {"one", "two"}) {
            const FilePath item = makeFolder(_folder / from).childBytes(name);
            if (name.endsWith(".rtfd")) {
                makeFolder(item);
                put(item / "TXT.rtf", "{\\rtf1 note}");
            } else {
                put(item, from);
            }
            Trash::Placement placement;
            Trash::Problem problem;
            ASSERT_TRUE(Trash::moveToTrash(item, &placement, &problem, kDeletedAt))
                << problem.reason.toStdString();
            EXPECT_FALSE(exists(item));
            EXPECT_EQ(placement.folder, Trash::homeTrash());
            EXPECT_TRUE(exists(placement.file));
            const Info info = readInfo(placement.info);
            EXPECT_TRUE(info.whole);
            EXPECT_EQ(info.path, realPath(_folder / from).childBytes(name).bytes());
            EXPECT_EQ(info.date, "2024-03-09T14:05:07");
            EXPECT_EQ(placement.info.fileNameBytes(),
                      placement.file.fileNameBytes() + ".trashinfo");
            // The second of the same name gets a name of its own; the first is untouched.
            if (QByteArray(from) == "two") {
                EXPECT_NE(placement.file.fileNameBytes(), name);
                EXPECT_TRUE(exists(Trash::homeTrash() / "files" / FilePath(name).fileName()));
            }
        }
    }
    // Nothing but the entries: no half-written info, no stray files.
    EXPECT_EQ(entriesIn(Trash::homeTrash() / "info"), 2 * std::size(names));
    EXPECT_EQ(entriesIn(Trash::homeTrash() / "files"), 2 * std::size(names));
}

TEST_F(TrashTest, AVolumeOfItsOwnUsesItsTopDirectoryTrashAsEveryDesktopLooksForIt) {
    const FilePath volume = _folder / "volume";
    SmallFileSystem mounted(volume.toString(), 1 << 20);
    REQUIRE_OR_SKIP_OUTSIDE_RIG(mounted.mounted(), "permission to mount a tmpfs (root)");
    const QByteArray uid = QByteArray::number(::getuid());
    const FilePath shared = volume / ".Trash";
    const FilePath own = volume.childBytes(".Trash-" + uid);

    struct Case {
        const char* what;
        std::function<void()> prepare;
        FilePath expected;
    };
    const Case cases[] = {
        {"no administrator's trash: our own is made", [] {}, own},
        {"a sticky .Trash: our folder in it",
         [&] {
             makeFolder(shared);
             ::chmod(shared.c_str(), 01777);
         },
         shared.childBytes(uid)},
        {"a .Trash that is not sticky is not used",
         [&] {
             makeFolder(shared);
             ::chmod(shared.c_str(), 0777);
         },
         own},
        {"a .Trash that is a link is not used",
         [&] {
             makeFolder(volume / "elsewhere");
             ::chmod((volume / "elsewhere").c_str(), 01777);
             ::symlink("elsewhere", shared.c_str());
         },
         own},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const FilePath& path : {shared, own, volume / "elsewhere"})
            std::filesystem::remove_all(path.bytes().toStdString());
        c.prepare();
        const FilePath item = makeFolder(volume / "sub").childBytes("take\xfe.mov");
        put(item, "sound");
        Trash::Placement placement;
        Trash::Problem problem;
        ASSERT_TRUE(Trash::moveToTrash(item, &placement, &problem, kDeletedAt))
            << problem.reason.toStdString();
        EXPECT_EQ(placement.folder, c.expected);
        EXPECT_TRUE(exists(c.expected / "files" / FilePath("take\xfe.mov").fileName()));
        // Relative to the top directory, so that the volume can be mounted anywhere.
        EXPECT_EQ(readInfo(placement.info).path, "sub/take\xfe.mov");
        EXPECT_FALSE(exists(Trash::homeTrash())) << "nothing is copied to the home trash";
    }
}

TEST_F(TrashTest, AFullDiskOrATrashThatCannotBeWrittenIsARefusalAndTheFileStaysWhereItWas) {
    // A full disk: the info cannot be written whole, so the file does not move.
    const FilePath volume = _folder / "full";
    SmallFileSystem full(volume.toString(), 64 * 1024);
    REQUIRE_OR_SKIP_OUTSIDE_RIG(full.mounted(), "permission to mount a tmpfs (root)");
    const FilePath first = volume / "first.mov";
    put(first, "first");
    Trash::Placement placement;
    Trash::Problem problem;
    ASSERT_TRUE(Trash::moveToTrash(first, &placement, &problem)) << problem.reason.toStdString();
    const FilePath kept = volume / "kept.mov";
    put(kept, "kept");
    {
        const int fd = ::open((volume / "filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        ::close(fd);
    }
    EXPECT_FALSE(Trash::moveToTrash(kept, &placement, &problem));
    EXPECT_EQ(problem.error, ENOSPC);
    EXPECT_FALSE(problem.reason.isEmpty());
    EXPECT_TRUE(exists(kept));
    EXPECT_EQ(QDir((placement.folder / "info").toString()).entryList(QDir::Files),
              QStringList{"first.mov.trashinfo"})
        << "no empty or half-written info is left";

    // A home trash that cannot be written: refused at once, with the reason.
    const FilePath item = _folder / "item.mov";
    put(item, "makes the home trash");
    ASSERT_TRUE(Trash::moveToTrash(item, nullptr, &problem)) << problem.reason.toStdString();
    put(item, "item");
    ReadOnlyFolder readOnly(Trash::homeTrash().toString());
    REQUIRE_OR_SKIP_OUTSIDE_RIG(readOnly.mounted(), "permission to bind-mount (root)");
    EXPECT_FALSE(Trash::moveToTrash(item, nullptr, &problem));
    EXPECT_EQ(problem.error, EROFS);
    EXPECT_TRUE(problem.reason.contains(Trash::homeTrash().display()))
        << problem.reason.toStdString();
    EXPECT_TRUE(exists(item));

    // A volume where no trash can be made at all.
    const FilePath sealed = _folder / "sealed";
    SmallFileSystem volumeOfItsOwn(sealed.toString(), 64 * 1024);
    put(sealed / "x.mov", "x");
    ReadOnlyFolder sealedReadOnly(sealed.toString());
    ASSERT_TRUE(sealedReadOnly.mounted());
    EXPECT_FALSE(Trash::moveToTrash(sealed / "x.mov", nullptr, &problem));
    EXPECT_FALSE(problem.reason.isEmpty());
    EXPECT_TRUE(exists(sealed / "x.mov"));
}

} // namespace
