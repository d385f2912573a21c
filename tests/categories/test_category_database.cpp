// "Database.plist": files of other property-list writers load, what we write other readers
// read, damaged files are kept aside, writes are coalesced, each library keeps its own, and a
// write that fails is reported.
#include "CategoryFixture.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"

#include <QDirIterator>

#include <random>

namespace {

QStringList keptAside(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("Database.plist.unreadable-*")}, QDir::Files);
}

const QStringList kDefaults{"Personal", "Business", "Project1", "Project2"};

// plistutil's binary form of an XML property list.
QByteArray binaryOf(const QByteArray& xml) {
    QProcess plistutil;
    plistutil.start(QStringLiteral("plistutil"), {"-f", "bin"});
    plistutil.write(xml);
    plistutil.closeWriteChannel();
    plistutil.waitForFinished(30000);
    return plistutil.readAllStandardOutput();
}

} // namespace

TEST_F(CategoryFixture, FilesOfOtherWritersLoadAndWhatWeWriteTheyReadBack) {
    // Keys in any order, extra keys, a version of another type, entities, non-ASCII names.
    const QByteArray json = R"({"extra": [1, 2], "category mappings": {
        "a.mov": "R&D <draft>", "b.mov": "", "ü – 音.mov": "Übungen ♪", "gone.mov": "Talks"},
        "application version": 7, "categories": ["Übungen ♪", "R&D <draft>", "Talks"]})";
    const QByteArray handWritten = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
  <dict>
      <key>categories</key>
      <array>
         <string>&#xDC;bungen &#x266A;</string>
         <string>R&amp;D &lt;draft&gt;</string>
         <string>Talks</string>
      </array>
      <key>category mappings</key>
      <dict>
         <key>a.mov</key>   <string>R&amp;D &lt;draft&gt;</string>
         <key>b.mov</key>   <string></string>
         <key>ü – 音.mov</key> <string>Übungen ♪</string>
      </dict>
      <key>application version</key> <integer>7</integer>
  </dict>
</plist>
)";
    const struct { const char* writer; } cases[] = {{"xml"}, {"hand"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writer);
        makeRecordings({"a.mov", "b.mov", "c.mov", QStringLiteral("ü – 音.mov")});
        if (QByteArray(c.writer) == "hand")
            writeFile(database(), handWritten);
        else
            writeWithPython(database(), json, c.writer);
        launch();
        EXPECT_EQ(controller->userCategories(), (QStringList{"Übungen ♪", "R&D <draft>", "Talks"}));
        // "" gives the first category; a recording without an entry stays unfiled.
        EXPECT_EQ(trackCategories(),
                  (QStringList{"R&D <draft>", "Übungen ♪", "<none>", "Übungen ♪"}));
        EXPECT_TRUE(told().isEmpty()) << told().toStdString();

        // Written back: another reader sees our list, the mappings of the listed recordings
        // only, and the version as the string "100".
        controller->applicationWillTerminate();
        const QVariantMap expected{
            {"application version", "100"},
            {"categories", QVariantList{"Übungen ♪", "R&D <draft>", "Talks"}},
            {"category mappings", QVariantMap{{"a.mov", "R&D <draft>"},
                                              {"b.mov", "Übungen ♪"},
                                              {"ü – 音.mov", "Übungen ♪"}}}};
        EXPECT_EQ(readWithPython(database()).toMap(), expected);
        const QByteArray ours = [&] {
            QFile f(database());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        EXPECT_TRUE(ours.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist"));
        EXPECT_TRUE(ours.contains("<plist version=\"1.0\">"));

        // plistutil reads it too: through its binary form and back to XML, nothing changes.
        const QString binary = scratch(QStringLiteral("ours.bplist"));
        const QString again = scratch(QStringLiteral("again.plist"));
        ASSERT_EQ(QProcess::execute(QStringLiteral("plistutil"),
                                    {"-i", database(), "-o", binary, "-f", "bin"}),
                  0);
        ASSERT_EQ(QProcess::execute(QStringLiteral("plistutil"),
                                    {"-i", binary, "-o", again, "-f", "xml"}),
                  0);
        EXPECT_EQ(PropertyList::readDictionary(again).dictionary, expected);
        quit();
        QDir(library).removeRecursively();
    }
}

TEST_F(CategoryFixture, DamagedFilesGiveTheDefaultsAndAreKeptAsideUntouched) {
    const QByteArray valid = PropertyList::xmlFromDictionary(CategoryDatabase::dictionaryOf(
        {"Talks", "Songs"}, {{"a.mov", "Talks"}, {"b.mov", "Songs"}}));
    QByteArray garbage(3000, '\0');
    std::mt19937 random(7);
    for (char& byte : garbage)
        byte = char(random());
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"truncated", valid.left(valid.size() / 2)},
        {"empty", QByteArray()},
        {"an array at the top", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array>"
                                "<string>Talks</string></array></plist>"},
        {"categories not a list",
         "<plist version=\"1.0\"><dict><key>categories</key><string>Talks</string></dict></plist>"},
        {"a mapping to a number", "<plist version=\"1.0\"><dict><key>category mappings</key><dict>"
                                  "<key>a.mov</key><integer>3</integer></dict></dict></plist>"},
        {"a number in the list", "<plist version=\"1.0\"><dict><key>categories</key><array>"
                                 "<integer>3</integer></array></dict></plist>"},
        {"binary garbage", garbage},
        {"a truncated binary list", QByteArray("bplist00") + garbage.left(40)},
        {"a binary list (not read)", binaryOf(valid)},
        {"an unknown element", "<plist version=\"1.0\"><dict><key>categories</key><array>"
                               "<set/></array></dict></plist>"},
        {"a name by its bytes given as text",
         "<plist version=\"1.0\"><dict><key>category mappings by name bytes</key><array><dict>"
         "<key>name</key><string>a.mov</string><key>category</key><string>Talks</string>"
         "</dict></array></dict></plist>"},
        {"a raw control character", "<plist version=\"1.0\"><dict><key>category mappings</key>"
                                    "<dict><key>a\x01.mov</key><string>Talks</string></dict>"
                                    "</dict></plist>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        makeRecordings({"a.mov", "b.mov"});
        writeFile(database(), c.bytes);
        launch();
        EXPECT_EQ(controller->userCategories(), kDefaults);
        EXPECT_EQ(trackCategories(), (QStringList{"<none>", "<none>"}));
        // The damaged file is beside the new one, byte for byte, and the user was told.
        const QStringList kept = keptAside(library);
        ASSERT_EQ(kept.size(), 1);
        QFile keptFile(library + QLatin1Char('/') + kept.first());
        ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
        EXPECT_EQ(keptFile.readAll(), c.bytes);
        EXPECT_TRUE(told().contains(kept.first())) << told().toStdString();

        track(QStringLiteral("a.mov"))->setCategory(QStringLiteral("Business"));
        returnToEventLoop();
        EXPECT_EQ(stored().value("category mappings").toMap(),
                  (QVariantMap{{"a.mov", "Business"}}));
        quit();
        QDir(library).removeRecursively();
    }
}

TEST_F(CategoryFixture, ReaderSurvivesThousandsOfMutatedFiles) {
    QVariantMap mappings;
    for (int i = 0; i < 40; ++i)
        mappings.insert(QStringLiteral("Recording %1.mov").arg(i), i % 2 ? "Talks" : "Ü ♪ &");
    const QByteArray xml = PropertyList::xmlFromDictionary(
        CategoryDatabase::dictionaryOf({"Talks", "Ü ♪ &", "-"}, mappings));
    const QString pythonPath = scratch(QStringLiteral("python.plist"));
    writeWithPython(pythonPath,
                    R"({"categories": ["R&D <x>", "\u00fc \u266a"], "n": -3, "r": 1.5, "t": true,
                        "category mappings": {"a.mov": "R&D <x>"}, "nested": [[{"k": []}]]})",
                    "xml");
    QFile pythonFile(pythonPath);
    ASSERT_TRUE(pythonFile.open(QIODevice::ReadOnly));
    const QByteArray seeds[] = {xml, pythonFile.readAll()};
    ASSERT_TRUE(PropertyList::dictionaryFromBytes(seeds[1]));

    std::mt19937 random(20240611);
    int parsed = 0;
    int refused = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes = seeds[round % 2];
        const int edits = 1 + int(random() % 8);
        for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
            const auto at = qsizetype(random() % quint32(bytes.size()));
            switch (random() % 5) {
            case 0:
                bytes[at] = char(random());
                break;
            case 1:
                bytes.truncate(at);
                break;
            case 2:
                bytes.insert(at, bytes.mid(qsizetype(random() % quint32(bytes.size())), 64));
                break;
            case 3:
                bytes.remove(at, qsizetype(random() % 32));
                break;
            default:
                bytes[at] = char(bytes[at] ^ (1 << (random() % 8)));
                break;
            }
        }
        const std::optional<QVariantMap> dictionary = PropertyList::dictionaryFromBytes(bytes);
        if (dictionary)
            ++parsed, (void)CategoryDatabase::contentsOfDictionary(*dictionary);
        else
            ++refused;
    }
    // Both outcomes were exercised.
    EXPECT_GT(parsed, 50);
    EXPECT_GT(refused, 50);
}

TEST_F(CategoryFixture, TheStoreAtLaunchAndAtQuit) {
    // No file: the four defaults and the fixed entries; recordings stay unfiled; the file is
    // written at quit.
    makeRecordings({"a.mov", "b.mov"});
    launch();
    EXPECT_EQ(controller->userCategories(), kDefaults);
    EXPECT_EQ(controller->countOfCategories(), 6);
    EXPECT_EQ(controller->objectInCategoriesAtIndex(4), QStringLiteral("-"));
    EXPECT_EQ(controller->objectInCategoriesAtIndex(5), CategoryStore::editEntry());
    EXPECT_EQ(trackCategories(), (QStringList{"<none>", "<none>"}));
    returnToEventLoop();
    EXPECT_FALSE(QFile::exists(database()));
    controller->applicationWillTerminate();
    EXPECT_EQ(stored(), CategoryDatabase::dictionaryOf(kDefaults, {}));
    quit();

    // An empty list stays empty: nothing is filed, the pop-up offers only the fixed entries,
    // and a new recording joins unfiled. The restore writes once, later.
    writeFile(database(), PropertyList::xmlFromDictionary(
                              {{"categories", QVariantList{}},
                               {"category mappings", QVariantMap{{"a.mov", ""}, {"x.mov", "Y"}}},
                               {"note", "kept until the next write"}}));
    launch();
    EXPECT_TRUE(controller->userCategories().isEmpty());
    EXPECT_EQ(controller->categories(), (QStringList{"-", CategoryStore::editEntry()}));
    EXPECT_EQ(trackCategories(), (QStringList{"<none>", "<none>"}));
    makeRecordings({"c.mov"});
    controller->updateFileList();
    EXPECT_TRUE(track("c.mov")->category().isNull());
    quit();

    // A burst of assignments is written once control returns to the event loop; unknown names
    // are gone from that write.
    writeFile(database(),
              PropertyList::xmlFromDictionary(
                  {{"categories", QVariantList{"Talks"}},
                   {"category mappings", QVariantMap{{"a.mov", "Talks"}, {"gone.mov", "Talks"}}},
                   {"note", "kept until the next write"}}));
    launch();
    EXPECT_TRUE(stored().contains("note"));
    returnToEventLoop();
    EXPECT_EQ(stored(), CategoryDatabase::dictionaryOf({"Talks"}, {{"a.mov", "Talks"}}));
}

TEST_F(CategoryFixture, ChangingTheLibraryKeepsBothDatabases) {
    const QString other = scratch(QStringLiteral("Other"));
    ASSERT_TRUE(QDir().mkpath(other + QStringLiteral("/Recordings")));
    writeFile(other + QStringLiteral("/Recordings/o.mov"), "o");
    const QVariantMap otherDatabase =
        CategoryDatabase::dictionaryOf({"Lectures", "Songs"}, {{"o.mov", "Songs"}});
    writeFile(other + QStringLiteral("/Database.plist"),
              PropertyList::xmlFromDictionary(otherDatabase));

    makeRecordings({"a.mov"});
    launch();
    track("a.mov")->setCategory(QStringLiteral("Business")); // written later, to this library
    controller->locationOpenPanelDidEndReturnCodeContextInfo(other, 1, nullptr);
    EXPECT_EQ(stored(), CategoryDatabase::dictionaryOf(kDefaults, {{"a.mov", "Business"}}));
    EXPECT_EQ(controller->userCategories(), (QStringList{"Lectures", "Songs"}));
    EXPECT_EQ(trackCategories(), QStringList{"Songs"});
    returnToEventLoop();
    EXPECT_EQ(PropertyList::readDictionary(other + QStringLiteral("/Database.plist")).dictionary,
              otherDatabase);

    // And back: the first library's file was never touched by the second's list.
    controller->locationOpenPanelDidEndReturnCodeContextInfo(library, 1, nullptr);
    EXPECT_EQ(controller->userCategories(), kDefaults);
    EXPECT_EQ(trackCategories(), QStringList{"Business"});
}

TEST_F(CategoryFixture, ARenamedRecordingIsStoredUnderItsNewNameAtTheNextWrite) {
    makeRecordings({"a.mov", "b.mov"});
    writeFile(database(), PropertyList::xmlFromDictionary(CategoryDatabase::dictionaryOf(
                              kDefaults, {{"a.mov", "Business"}, {"b.mov", "Personal"}})));
    launch();
    returnToEventLoop();
    ASSERT_EQ(controller->renameRecording("a.mov", "renamed.mov"), QString());
    // A rename asks for the same coalesced write as a category change.
    controller->scheduleCategoriesSave();
    returnToEventLoop();
    EXPECT_EQ(stored().value("category mappings").toMap(),
              (QVariantMap{{"renamed.mov", "Business"}, {"b.mov", "Personal"}}));
}

TEST_F(CategoryFixture, AWriteThatFailsIsTheScriptsErrorAndIsToldOnce) {
    makeRecordings({"a.mov", "b.mov"});
    launch();
    ASSERT_EQ(controller->setCategoryOfRecording("a.mov", "Business"), QString());
    const QVariantMap before = stored();

    // Something else takes the file's place while the library is open.
    ASSERT_TRUE(QFile::remove(database()));
    ASSERT_TRUE(QDir().mkdir(database()));
    LogCapture log;
    const QString refusal = controller->setCategoryOfRecording("b.mov", "Project1");
    EXPECT_TRUE(refusal.contains(QLatin1String("folder"))) << refusal.toStdString();
    EXPECT_EQ(track("b.mov")->category(), QStringLiteral("Project1")) << "memory keeps it";
    track("a.mov")->setCategory(QStringLiteral("Project2"));
    returnToEventLoop();
    EXPECT_FALSE(controller->setCategoryOfRecording("a.mov", "Personal").isEmpty());
    controller->applicationWillTerminate();
    EXPECT_EQ(told(), refusal);
    EXPECT_EQ(log.count(refusal), 1) << log.lines().join('\n').toStdString();

    // Once the folder is gone, the next write stores everything memory kept.
    ASSERT_TRUE(QDir().rmdir(database()));
    EXPECT_EQ(controller->saveCategories(), QString());
    EXPECT_NE(stored(), before);
    EXPECT_EQ(stored().value("category mappings").toMap(),
              (QVariantMap{{"a.mov", "Personal"}, {"b.mov", "Project1"}}));
}

TEST_F(CategoryFixture, ACategoryNameTheFileCannotKeepIsRefused) {
    launch();
    const QString refused[] = {QStringLiteral("Tab\x01"), QStringLiteral("line\rend"),
                               QStringLiteral("x") + QChar(0xDCFF)};
    for (const QString& name : refused) {
        controller->tableViewSetObjectValueForTableColumnRow(controller->_categoriesTable, name, 0,
                                                             1);
        EXPECT_EQ(controller->userCategories(), kDefaults);
        EXPECT_EQ(told(), BVLocalizedString("CategoryNameRefused"));
    }
    controller->tableViewSetObjectValueForTableColumnRow(controller->_categoriesTable,
                                                         QStringLiteral("Work ♪"), 0, 1);
    EXPECT_EQ(controller->userCategories(),
              (QStringList{"Personal", "Work ♪", "Project1", "Project2"}));
}
