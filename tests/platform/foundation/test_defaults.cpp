#include "platform/foundation/Defaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

class DefaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(store().fileName());
        store().reloadForTesting();
    }
    Defaults& store() { return Defaults::standard(); }
};

TEST_F(DefaultsTest, FallbacksAnswerUntilAValueIsStoredAndNeverReachTheFile) {
    store().registerDefaults({{"iTunes Playlist", "Brevoir"},
                              {"Move Files to Trash", "YES"},
                              {"Do Two-Way Sync", "NO"},
                              {"User Categories", QStringList{"General", "Home", "Work"}}});
    EXPECT_EQ(store().stringForKey("iTunes Playlist"), "Brevoir");
    EXPECT_FALSE(store().hasStoredValue("iTunes Playlist"));
    EXPECT_EQ(store().stringArrayForKey("User Categories"),
              (QStringList{"General", "Home", "Work"}));

    store().setObject("Talks", "iTunes Playlist");
    EXPECT_EQ(store().stringForKey("iTunes Playlist"), "Talks");
    store().removeObject("iTunes Playlist");
    EXPECT_EQ(store().stringForKey("iTunes Playlist"), "Brevoir");

    store().setObject("00", "HourField");
    store().synchronize();
    QSettings file(store().fileName(), QSettings::IniFormat);
    EXPECT_EQ(file.value("HourField").toString(), "00");
    EXPECT_FALSE(file.contains("iTunes Playlist"));
    EXPECT_FALSE(file.contains("Move Files to Trash"));
    EXPECT_FALSE(file.contains("User Categories"));
}

TEST_F(DefaultsTest, BooleanReadsTakeYesAndNoStringsLikeStoredBooleans) {
    store().registerDefaults({{"Move Files to Trash", "YES"}, {"Do Two-Way Sync", "NO"}});
    EXPECT_TRUE(store().boolForKey("Move Files to Trash"));
    EXPECT_FALSE(store().boolForKey("Do Two-Way Sync"));
    EXPECT_FALSE(store().boolForKey("Absent"));

    store().setBool(false, "Move Files to Trash");
    store().setBool(true, "Do Two-Way Sync");
    store().synchronize();
    store().reloadForTesting(); // as a new process reads the file
    EXPECT_FALSE(store().boolForKey("Move Files to Trash"));
    EXPECT_TRUE(store().boolForKey("Do Two-Way Sync"));
    store().setObject("YES", "Stored Yes");
    EXPECT_TRUE(store().boolForKey("Stored Yes"));
    // Read as a number too, every spelling of a boolean is 1 or 0.
    for (const char* yes : {"YES", "yes", "true", "1"}) {
        store().setObject(yes, "Toggle");
        EXPECT_EQ(store().integerForKey("Toggle"), 1) << yes;
    }
    for (const char* no : {"NO", "false", "0"}) {
        store().setObject(no, "Toggle");
        EXPECT_EQ(store().integerForKey("Toggle"), 0) << no;
    }
}

// Something else under the settings file's name (a FIFO would hold the launch in open() for
// ever, a device feed it for ever): this run keeps its settings in memory, says why, and
// leaves the stand-in as it is.
TEST_F(DefaultsTest, ASettingsFileThatIsNoFileIsLeftAloneAndTheRunKeepsItsSettingsInMemory) {
    const QByteArray path = QFile::encodeName(store().fileName());
    QDir().mkpath(QFileInfo(store().fileName()).path());
    const auto makeFifo = [&] { return ::mkfifo(path.constData(), 0644) == 0; };
    const auto makeDevice = [&] { return ::symlink("/dev/zero", path.constData()) == 0; };
    const auto makeHuge = [&] {
        QFile file(store().fileName());
        return file.open(QIODevice::WriteOnly) && file.resize(64 << 20);
    };
    for (const auto& make : {std::function<bool()>(makeFifo), std::function<bool()>(makeDevice),
                             std::function<bool()>(makeHuge)}) {
        QFile::remove(store().fileName());
        ASSERT_TRUE(make());
        store().reloadForTesting();
        EXPECT_TRUE(store().problem().contains(store().fileName()))
            << store().problem().toStdString();
        store().setObject("kept", "Key");
        store().synchronize();
        EXPECT_EQ(store().stringForKey("Key"), "kept");
        struct stat info;
        ASSERT_EQ(::lstat(path.constData(), &info), 0);
        EXPECT_FALSE(S_ISREG(info.st_mode) && info.st_size != 64 << 20) << "replaced";
    }
    QFile::remove(store().fileName());
    store().reloadForTesting();
    EXPECT_TRUE(store().problem().isEmpty());
}

TEST_F(DefaultsTest, ValuesRoundTripThroughTheFile) {
    const QByteArray bytes("\x00\x01\xfe\xff settings", 13);
    store().setObject("Brevoir", "String");
    store().setInteger(-1, "Integer");
    store().setObject(QStringList{"One"}, "One Element");
    store().setObject(QStringList{"A", "B, with comma"}, "Array");
    store().setObject(bytes, "Data");
    store().synchronize();
    store().reloadForTesting();

    EXPECT_EQ(store().stringForKey("String"), "Brevoir");
    EXPECT_EQ(store().integerForKey("Integer"), -1);
    EXPECT_EQ(store().integerForKey("Absent"), 0);
    EXPECT_EQ(store().stringArrayForKey("One Element"), QStringList{"One"});
    EXPECT_EQ(store().stringArrayForKey("Array"), (QStringList{"A", "B, with comma"}));
    EXPECT_EQ(store().dataForKey("Data"), bytes);
    EXPECT_TRUE(store().dataForKey("String").isNull());
}
