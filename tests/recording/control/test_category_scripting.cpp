// Categories driven from another process: the list over D-Bus, filing a recording with the
// command-line client, --list showing it, odd names surviving relaunches, and writes that fail
// answered as failures, against the real running executable.
#include "BrevoirProcess.h"

#include "categories/CategoryDatabase.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/PropertyList.h"
#include "support/StandIns.h"
#include "support/TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Empty stand-in recordings under names given as the file system's bytes.
bool makeRecordingsByBytes(const QString& folder, const QList<QByteArray>& names) {
    if (!QDir().mkpath(folder))
        return false;
    for (const QByteArray& name : names) {
        const QByteArray path = QFile::encodeName(folder) + '/' + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const bool written = ::write(fd, QByteArray(4096, '\0').constData(), 4096) == 4096;
        ::close(fd);
        if (!written)
            return false;
    }
    return true;
}

// `--list`'s lines without their size and duration fields: name and category.
QStringList namesAndCategories(BrevoirProcess& brevoir) {
    QString out;
    brevoir.client({"--list"}, &out);
    QStringList lines;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
        lines << line.section('\t', 0, 0) + " = " + line.section('\t', 5, 5);
    lines.sort();
    return lines;
}

} // namespace

TEST(CategoryScripting, CategoriesAreListedAndSetFromAnotherProcessWithRefusals) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("quiet-categories.raw"));
    ASSERT_TRUE(makeRecordings(brevoir.recordingsFolder(), {"take.mov", "other.mov"}));
    QString out;
    QString err;
    EXPECT_NE(brevoir.client({"--set-category", "take.mov", "Business"}, &out, &err), 0);
    EXPECT_TRUE(err.contains("not running")) << err.toStdString();

    ASSERT_TRUE(brevoir.startHeadless());
    // The list over the instance's bus.
    const QString bus = brevoir.environment().value("DBUS_SESSION_BUS_ADDRESS");
    QDBusConnection connection = QDBusConnection::connectToBus(bus, "category-test");
    QDBusInterface remote("org.brevoir.Brevoir", "/org/brevoir/Brevoir", "org.brevoir.Brevoir",
                          connection);
    const QDBusReply<QStringList> categories = remote.call("Categories");
    ASSERT_TRUE(categories.isValid()) << categories.error().message().toStdString();
    EXPECT_EQ(categories.value(), (QStringList{"Personal", "Business", "Project1", "Project2"}));

    // Filed and written before the client returns.
    ASSERT_EQ(brevoir.client({"--set-category", "take.mov", "Business"}, &out, &err), 0)
        << err.toStdString();
    const QString database = brevoir.home() + "/Music/Brevoir/Database.plist";
    EXPECT_EQ(PropertyList::readDictionary(database).dictionary.value("category mappings"),
              QVariant(QVariantMap{{"take.mov", "Business"}}));

    // Refusals: a category not in the list, the fixed entries, an unknown recording.
    const QStringList refused[] = {
        {"--set-category", "take.mov", "Nope"}, {"--set-category", "take.mov", "-"},
        {"--set-category", "take.mov", "Edit"}, {"--set-category", "missing.mov", "Business"},
        {"--set-category", "take.mov"},
    };
    for (const QStringList& arguments : refused) {
        err.clear();
        EXPECT_NE(brevoir.client(arguments, &out, &err), 0) << arguments.join(' ').toStdString();
        EXPECT_FALSE(err.trimmed().isEmpty()) << arguments.join(' ').toStdString();
    }
    const QDBusMessage reply = remote.call("SetCategory", "other.mov", "Nope");
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(reply.errorName(), QStringLiteral("org.brevoir.Brevoir.Error.Refused"));

    // --list prints the category as the last field of the filed recording only.
    ASSERT_EQ(brevoir.client({"--list"}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("\t00:00:00.00\tBusiness\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("other.mov\t")) << out.toStdString();
    EXPECT_FALSE(out.contains("other.mov\t4096\t0.000\t4 KB\t00:00:00.00\t")) << out.toStdString();

    EXPECT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

TEST(CategoryScripting, OddlyNamedRecordingsKeepTheirCategoriesAcrossRelaunches) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("quiet-odd-names.raw"));
    const QString library = brevoir.home() + "/Music/Brevoir";
    ASSERT_TRUE(makeRecordingsByBytes(
        brevoir.recordingsFolder(),
        {"take\x01.mov", "bad\xff.mov", "bad\xfe.mov", "cr\r.mov", "plain.mov", "other.mov"}));
    // Names that are not UTF-8 cannot be given on the command line: their categories come from
    // the file, as a library made by an earlier run holds them.
    const QVariantMap seeded{{FileNames::decode("bad\xff.mov"), "Project1"},
                             {FileNames::decode("bad\xfe.mov"), "Project2"},
                             {"other.mov", "Personal"}};
    ASSERT_TRUE(PropertyList::writeDictionary(
        FilePath::fromString(library + "/Database.plist"),
        CategoryDatabase::dictionaryOf({"Personal", "Business", "Project1", "Project2"}, seeded),
        nullptr));

    ASSERT_TRUE(brevoir.startHeadless());
    QString out, err;
    EXPECT_EQ(brevoir.client({"--set-category", "take\x01.mov", "Business"}, &out, &err), 0)
        << err.toStdString();
    EXPECT_EQ(brevoir.client({"--set-category", "cr\r.mov", "Project1"}, &out, &err), 0)
        << err.toStdString();
    EXPECT_EQ(brevoir.client({"--set-category", "plain.mov", "Project2"}, &out, &err), 0)
        << err.toStdString();
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    ASSERT_EQ(brevoir.waitForExit(), 0);

    QVariantMap expected = seeded;
    expected.insert(QStringLiteral("take\x01.mov"), "Business");
    expected.insert(QStringLiteral("cr\r.mov"), "Project1");
    expected.insert("plain.mov", "Project2");
    const QStringList listed{"bad\uFFFD.mov = Project1", "bad\uFFFD.mov = Project2",
                             "cr\\r.mov = Project1",     "other.mov = Personal",
                             "plain.mov = Project2",     "take\x01.mov = Business"};
    for (int relaunch = 1; relaunch <= 2; ++relaunch) {
        SCOPED_TRACE(relaunch);
        ASSERT_TRUE(brevoir.startHeadless());
        EXPECT_EQ(namesAndCategories(brevoir), listed);
        ASSERT_EQ(brevoir.client({"--quit"}), 0);
        ASSERT_EQ(brevoir.waitForExit(), 0);
        const CategoryDatabase::Contents stored =
            CategoryDatabase::read(FilePath::fromString(library));
        EXPECT_EQ(stored.mappings, expected);
        EXPECT_TRUE(QDir(library).entryList({"Database.plist.*"}, QDir::AllEntries).isEmpty());
        EXPECT_FALSE(brevoir.log().contains("could not be read"));
    }
}

TEST(CategoryScripting, FilingFailsWithTheReasonWhenTheDatabaseCannotBeWritten) {
    REQUIRE_AUDIO_RIG();
    struct Case {
        const char* what;
        bool beforeLaunch; // the fault is in place when the instance starts
        const char* reason;
        std::function<bool(BrevoirProcess&, const QString& database)> fault;
    };
    const Case cases[] = {
        {"a folder takes its place", false, "is a folder",
         [](BrevoirProcess&, const QString& database) {
             return QFile::remove(database) && QDir().mkdir(database);
         }},
        {"a FIFO stands in its place", true, "pipe",
         [](BrevoirProcess&, const QString& database) {
             return StandIns::make(StandIns::Kind::Fifo, FilePath::fromString(database), {});
         }},
        {"the disk is full", false, "could not be written",
         [](BrevoirProcess& brevoir, const QString&) {
             return QProcess::execute(
                        "prlimit", {"--pid", QString::number(brevoir.pid()), "--fsize=1:1"}) == 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BrevoirProcess brevoir(writeSecondOfSignal("quiet-categories-fault.raw"));
        ASSERT_TRUE(makeRecordings(brevoir.recordingsFolder(), {"take.mov", "other.mov"}));
        const QString database = brevoir.home() + "/Music/Brevoir/Database.plist";
        if (c.beforeLaunch) {
            ASSERT_TRUE(c.fault(brevoir, database));
        }
        ASSERT_TRUE(brevoir.startHeadless()) << brevoir.log().toStdString();
        QString out, err;
        if (!c.beforeLaunch) {
            ASSERT_EQ(brevoir.client({"--set-category", "take.mov", "Business"}, &out, &err), 0)
                << err.toStdString();
            ASSERT_TRUE(c.fault(brevoir, database));
        }
        const QByteArray before = StandIns::describe(FilePath::fromString(database));
        for (const char* recording : {"take.mov", "other.mov"}) {
            err.clear();
            EXPECT_EQ(brevoir.client({"--set-category", recording, "Project1"}, &out, &err), 1);
            EXPECT_TRUE(err.startsWith("brevoir: ") && err.contains(c.reason)) << err.toStdString();
            EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        }
        ASSERT_EQ(brevoir.client({"--quit"}), 0);
        EXPECT_EQ(brevoir.waitForExit(), 0) << brevoir.log().toStdString();
        // What stands there is as it was; a file that was there holds the last good write.
        EXPECT_EQ(StandIns::describe(FilePath::fromString(database)), before);
        if (!c.beforeLaunch && QFileInfo(database).isFile()) {
            EXPECT_EQ(PropertyList::readDictionary(database).dictionary.value("category mappings"),
                      QVariant(QVariantMap{{"take.mov", "Business"}}));
        }
    }
}
