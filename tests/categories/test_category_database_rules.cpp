// CategoryDatabase on its own, with real files: every name reads back exactly, what stands in
// the file's place is left alone, and a failed write is answered every time and told once.
#include "CategoryFixture.h"

#include "platform/foundation/FileNames.h"
#include "support/StandIns.h"

#include <QSignalSpy>

#include <csignal>
#include <sys/resource.h>

namespace {

class CategoryDatabaseRules : public CategoryFixture {
protected:
    void SetUp() override {
        CategoryFixture::SetUp();
        ASSERT_TRUE(QDir().mkpath(library));
        folder = FilePath::fromString(library);
    }

    // A database whose writes store `categories` and `mappings`, telling into `told`.
    std::unique_ptr<CategoryDatabase> makeDatabase() {
        auto made = std::make_unique<CategoryDatabase>([this] {
            return CategoryDatabase::Snapshot{categories, mappings};
        });
        told = std::make_unique<QSignalSpy>(made.get(), &CategoryDatabase::problemToTell);
        return made;
    }
    QStringList toldTexts() const {
        QStringList texts;
        for (const QList<QVariant>& signal : *told)
            texts << signal.value(0).toString();
        return texts;
    }
    QStringList keptAside() const {
        return QDir(library).entryList({QStringLiteral("*.unreadable-*")}, QDir::AllEntries);
    }

    FilePath folder;
    QStringList categories{"Talks", "Songs", "Ü ♪ &"};
    QVariantMap mappings;
    std::unique_ptr<QSignalSpy> told;
};

} // namespace

TEST_F(CategoryDatabaseRules, EveryNameReadsBackExactlyAndOtherReadersSeeTheTextOnes) {
    struct Name {
        QString name;
        bool asText; // kept as a key of "category mappings"
    };
    std::vector<Name> names;
    for (char16_t c = 1; c < 0x20; ++c) {
        names.push_back({QStringLiteral("take %1.mov").arg(QChar(c)), c == '\t' || c == '\n'});
    }
    QString longName;
    for (int i = 0; i < 2000; ++i)
        longName += QChar(u"aü♪ &<"[i % 6]);
    names.push_back({QStringLiteral("cr\r.mov"), false});
    names.push_back({QStringLiteral("crlf\r\n.mov"), false});
    // Two names that differ in one byte that is not UTF-8 keep their own categories.
    names.push_back({FileNames::decode("Take \xe9t\xe9.mov"), false});
    names.push_back({FileNames::decode("Take \xe8t\xe9.mov"), false});
    names.push_back({QString::fromUtf8("Take \xef\xbf\xbdt\xef\xbf\xbd.mov"), true}); // U+FFFD
    names.push_back({longName, true});
    names.push_back({QStringLiteral("R&D <draft>.mov"), true});
    names.push_back({QStringLiteral("a.mov"), true});
    QVariantMap textual;
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(FileNames::encode(names[i].name).toHex().toStdString());
        EXPECT_EQ(CategoryDatabase::nameCanBeStoredAsText(names[i].name), names[i].asText);
        const QString category = categories.at(qsizetype(i % 3));
        mappings.insert(names[i].name, category);
        if (names[i].asText)
            textual.insert(names[i].name, category);
    }
    ASSERT_EQ(mappings.size(), qsizetype(names.size()));

    auto written = makeDatabase();
    EXPECT_EQ(written->open(folder).status, CategoryDatabase::Opened::Missing);
    EXPECT_EQ(written->write(), QString());
    // Two launches: each reads what the one before wrote, then writes it again.
    for (int launch = 0; launch < 2; ++launch) {
        SCOPED_TRACE(launch);
        auto again = makeDatabase();
        const CategoryDatabase::Opened opened = again->open(folder);
        ASSERT_EQ(opened.status, CategoryDatabase::Opened::Read);
        EXPECT_EQ(opened.contents.categories, categories);
        EXPECT_EQ(opened.contents.mappings, mappings);
        EXPECT_EQ(again->write(), QString());
        EXPECT_TRUE(keptAside().isEmpty());
        EXPECT_EQ(told->count(), 0);
    }
    // Another reader takes the file and finds the names it can hold, as they are.
    const QVariantMap other = readWithPython(database()).toMap();
    EXPECT_EQ(other.value("category mappings").toMap(), textual);
    EXPECT_EQ(other.value("categories").toStringList(), categories);
    // --list reads the same.
    const CategoryDatabase::Contents listed = CategoryDatabase::read(folder);
    for (const Name& n : names)
        EXPECT_EQ(CategoryDatabase::categoryOfRecording(listed, n.name), mappings.value(n.name));
}

TEST_F(CategoryDatabaseRules, WhatStandsInTheFilesPlaceIsLeftAloneAndNeverWrittenOver) {
    const FilePath outside = FilePath::fromString(scratch(QStringLiteral("elsewhere.plist")));
    const QVariantMap elsewhere = CategoryDatabase::dictionaryOf({"Mine"}, {{"x.mov", "Mine"}});
    ASSERT_TRUE(PropertyList::writeDictionary(outside, elsewhere, nullptr));
    const FilePath path = folder.childBytes(CategoryDatabase::kFileName);
    mappings = {{"a.mov", "Songs"}};
    for (const StandIns::StandIn& standIn : StandIns::kAll) {
        SCOPED_TRACE(standIn.what);
        ASSERT_TRUE(StandIns::make(standIn.kind, path, outside));
        const QByteArray before = StandIns::describe(path);
        auto db = makeDatabase();
        const CategoryDatabase::Opened opened = db->open(folder);
        // The defaults serve; the user hears why once.
        EXPECT_EQ(opened.status, CategoryDatabase::Opened::Unusable);
        EXPECT_FALSE(opened.contents.categories);
        EXPECT_FALSE(opened.contents.mappings);
        ASSERT_EQ(told->count(), 1);
        EXPECT_TRUE(toldTexts().first().contains(path.display()))
            << toldTexts().join("|").toStdString();
        // Every write is refused with the reason, and not told again.
        for (int attempt = 0; attempt < 3; ++attempt)
            EXPECT_EQ(db->write(), toldTexts().first());
        db->scheduleWrite();
        returnToEventLoop();
        db->close();
        EXPECT_EQ(told->count(), 1);
        EXPECT_EQ(StandIns::describe(path), before);
        EXPECT_TRUE(keptAside().isEmpty());
        EXPECT_EQ(CategoryDatabase::read(folder).mappings, std::nullopt);
        ASSERT_EQ(::remove(path.c_str()), 0);
    }
    EXPECT_EQ(PropertyList::readDictionary(outside).dictionary, elsewhere);
}

TEST_F(CategoryDatabaseRules, AFailedWriteIsAnsweredEveryTimeToldOnceAndLosesNothing) {
    const FilePath path = folder.childBytes(CategoryDatabase::kFileName);
    struct Fault {
        const char* what;
        const char* reasonHas;
        std::function<void()> begin;
        std::function<void()> end;
    };
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    const Fault faults[] = {
        {"a folder in its place", "folder",
         [&] {
             ASSERT_EQ(::remove(path.c_str()), 0);
             ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
         },
         [&] { ASSERT_EQ(::rmdir(path.c_str()), 0); }},
        {"a file size limit, as on a full disk", "could not be written",
         [&] {
             struct rlimit limited = saved;
             limited.rlim_cur = 16;
             ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
         },
         [&] { ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0); }},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        auto db = makeDatabase();
        db->open(folder);
        mappings = {{"a.mov", "Talks"}};
        ASSERT_EQ(db->write(), QString());
        const QVariantMap good = stored();

        fault.begin();
        mappings = {{"a.mov", "Songs"}};
        QStringList answers;
        for (int attempt = 0; attempt < 3; ++attempt)
            answers << db->write();
        db->scheduleWrite();
        returnToEventLoop();
        fault.end();
        for (const QString& answer : answers)
            EXPECT_TRUE(answer.contains(QLatin1String(fault.reasonHas))) << answer.toStdString();
        EXPECT_EQ(told->count(), 1);
        if (QLatin1String(fault.reasonHas) != QLatin1String("folder")) {
            EXPECT_EQ(stored(), good) << "the old file stays whole";
        }

        // Once it can be written, the next write stores what memory kept; a new failure is
        // news again.
        EXPECT_EQ(db->write(), QString());
        EXPECT_EQ(stored().value("category mappings").toMap(), (QVariantMap{{"a.mov", "Songs"}}));
        fault.begin();
        EXPECT_FALSE(db->write().isEmpty());
        fault.end();
        EXPECT_EQ(told->count(), 2);
        db->close();
    }
}

TEST_F(CategoryDatabaseRules, WritesAreCoalescedAndAPendingOneGoesToItsOwnLibrary) {
    int snapshots = 0;
    CategoryDatabase db([&] {
        ++snapshots;
        return CategoryDatabase::Snapshot{categories, mappings};
    });
    db.open(folder);
    mappings = {{"a.mov", "Talks"}};
    for (int i = 0; i < 5; ++i)
        db.scheduleWrite();
    EXPECT_TRUE(db.writePending());
    EXPECT_FALSE(QFile::exists(database()));
    returnToEventLoop();
    EXPECT_EQ(snapshots, 1);
    EXPECT_EQ(stored().value("category mappings").toMap(), mappings);

    // Opening another library first writes what is pending to this one.
    const QString other = scratch(QStringLiteral("Other"));
    ASSERT_TRUE(QDir().mkpath(other));
    mappings = {{"a.mov", "Songs"}};
    db.scheduleWrite();
    db.open(FilePath::fromString(other));
    EXPECT_EQ(stored().value("category mappings").toMap(), mappings);
    EXPECT_FALSE(QFile::exists(other + QStringLiteral("/Database.plist")));
    returnToEventLoop();
    EXPECT_EQ(snapshots, 2);
}
