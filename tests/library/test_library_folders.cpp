#include "library/LibraryFixture.h"
#include "library/QBVTrackTableModel.h"
#include "platform/foundation/Log.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>

#include <dirent.h>
#include <sys/stat.h>

namespace {

// The entries of a folder in the order the file system lists them.
QStringList directoryOrder(const QString& folder) {
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent* d = ::readdir(dir)) {
        const QString name = QFile::decodeName(d->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names << name;
    }
    ::closedir(dir);
    return names;
}

// The birth time where the file system keeps one, else the modification time.
QDateTime creationDate(const QString& path) {
    QProcess stat;
    stat.start(QStringLiteral("stat"), {QStringLiteral("--format=%W %Y"), path});
    EXPECT_TRUE(stat.waitForFinished());
    const QStringList times = QString::fromLatin1(stat.readAllStandardOutput()).split(' ');
    const qint64 birth = times.value(0).toLongLong();
    return QDateTime::fromSecsSinceEpoch(birth > 0 ? birth : times.value(1).toLongLong());
}

using LibraryFolders = LibraryFixture;

TEST_F(LibraryFolders, AFirstLaunchCreatesTheLibraryAndASecondFindsIt) {
    {
        LogCapture log;
        launch();
        EXPECT_EQ(controller->pathToLibraryFolder(), library);
        EXPECT_EQ(controller->pathToRecordingsFolder(), library + QStringLiteral("/Recordings"));
        EXPECT_EQ(controller->pathToNotesFolder(), library + QStringLiteral("/Notes"));
        const QStringList expected{QStringLiteral("creating library folder"),
                                   QStringLiteral("creating Recordings folder"),
                                   QStringLiteral("creating Notes folder")};
        QStringList seen = log.lines();
        seen.erase(std::remove_if(seen.begin(), seen.end(),
                                  [&expected](const QString& l) { return !expected.contains(l); }),
                   seen.end());
        EXPECT_EQ(seen, expected);
        EXPECT_TRUE(QFileInfo(recordings()).isDir());
        EXPECT_TRUE(QFileInfo(library + QStringLiteral("/Notes")).isDir());
        EXPECT_TRUE(listed().isEmpty());
        EXPECT_EQ(controller->_libraryLocationMenu->itemText(0), QStringLiteral("Library"));
    }
    quit();
    LogCapture log;
    launch();
    EXPECT_EQ(log.count(QStringLiteral("the library folder exists")), 1);
    EXPECT_EQ(log.count(QStringLiteral("the Recordings folder exists")), 1);
    EXPECT_EQ(log.count(QStringLiteral("the Notes folder exists")), 1);
    EXPECT_FALSE(log.contains(QStringLiteral("creating library folder")));
}

TEST_F(LibraryFolders, AMissingParentIsCreatedWithTheLibraryAndTheListStaysEmpty) {
    library = scratch(QStringLiteral("missing/Library"));
    LogCapture log;
    launch();
    EXPECT_TRUE(log.contains(QStringLiteral("creating library folder")));
    EXPECT_TRUE(log.contains(QStringLiteral("creating Recordings folder")));
    EXPECT_TRUE(log.contains(QStringLiteral("creating Notes folder")));
    EXPECT_TRUE(QFileInfo(scratch(QStringLiteral("missing/Library/Recordings"))).isDir());
    EXPECT_TRUE(QFileInfo(scratch(QStringLiteral("missing/Library/Notes"))).isDir());
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(LibraryFolders, TheFullScanListsRegularFilesInDirectoryOrder) {
    ASSERT_TRUE(QDir().mkpath(recordings() + QStringLiteral("/sub")));
    writeRecording(recordings() + QStringLiteral("/Recording 2.mov"), 2.0);
    writeRecording(recordings() + QStringLiteral("/Recording 1.mov"), 1.5);
    writeRecording(recordings() + QStringLiteral("/sub/inner.mov"));
    writeFile(recordings() + QStringLiteral("/.DS_Store"), "finder");
    writeFile(recordings() + QStringLiteral("/.localized"), "");
    writeFile(recordings() + QStringLiteral("/notes.txt"), "not a recording");
    writeFile(recordings() + QStringLiteral("/x.mov"), "text named like a movie");
    ASSERT_TRUE(QFile::link(recordings() + QStringLiteral("/Recording 1.mov"),
                            recordings() + QStringLiteral("/link.mov")));
    for (int i = 0; i < 20; ++i)
        writeFile(recordings() + QStringLiteral("/extra %1.m4a").arg(i), QByteArray(i, 'x'));

    LogCapture log;
    launch();

    QStringList expected;
    QStringList skipped;
    for (const QString& name : directoryOrder(recordings())) {
        if (name == QLatin1String("sub") || name == QLatin1String("link.mov") ||
            name == QLatin1String(".DS_Store"))
            skipped << QStringLiteral("skipping this item - ") + name;
        else
            expected << name;
    }
    EXPECT_EQ(listed(), expected); // not sorted: as the folder lists them
    QStringList skipLines = log.lines().filter(QStringLiteral("skipping this item - "));
    EXPECT_EQ(skipLines, skipped);

    const auto one = track(QStringLiteral("Recording 1.mov"));
    ASSERT_TRUE(one);
    EXPECT_NEAR(*one->duration(), 1.5, 0.001);
    EXPECT_EQ(*one->size(), quint64(QFileInfo(recordings() + "/Recording 1.mov").size()));
    EXPECT_EQ(one->date()->toSecsSinceEpoch(),
              creationDate(recordings() + "/Recording 1.mov").toSecsSinceEpoch());
    EXPECT_TRUE(one->category().isNull()); // no categories before the database is read
    EXPECT_FALSE(one->isPlaying());
    EXPECT_NEAR(*track(QStringLiteral("Recording 2.mov"))->duration(), 2.0, 0.001);
    EXPECT_EQ(*track(QStringLiteral("x.mov"))->duration(), 0.0f);
    EXPECT_EQ(*track(QStringLiteral("notes.txt"))->duration(), 0.0f);
    EXPECT_EQ(*track(QStringLiteral(".localized"))->size(), 0u);
    EXPECT_EQ(*track(QStringLiteral("extra 7.m4a"))->size(), 7u);
    // The list controller shows the very list the controller owns.
    EXPECT_EQ(list().content(), &controller->fileList());
    EXPECT_EQ(list().arrangedObjects().size(), controller->fileList().size());
}

TEST_F(LibraryFolders, TheIncrementalScanAddsOnlyNewFilesAndRefreshesNothing) {
    ASSERT_TRUE(QDir().mkpath(recordings()));
    writeRecording(recordings() + QStringLiteral("/kept.mov"), 1.0);
    writeRecording(recordings() + QStringLiteral("/gone.mov"), 1.0);
    launch();
    const auto kept = track(QStringLiteral("kept.mov"));
    ASSERT_TRUE(kept);
    kept->setCategory(QStringLiteral("Work"));
    const quint64 keptSize = *kept->size();

    // Behind the program's back: one file replaced by a longer one, one deleted, two new.
    writeRecording(recordings() + QStringLiteral("/kept.mov"), 3.0);
    ASSERT_TRUE(QFile::remove(recordings() + QStringLiteral("/gone.mov")));
    writeRecording(recordings() + QStringLiteral("/new.mov"), 2.0);
    writeFile(recordings() + QStringLiteral("/.DS_Store"), "finder");
    ASSERT_TRUE(QDir().mkdir(recordings() + QStringLiteral("/folder")));

    LogCapture log;
    controller->updateFileList();
    EXPECT_EQ(log.count(QStringLiteral("adding one file to list...")), 1);
    EXPECT_EQ(log.count(QStringLiteral("skipping this item - .DS_Store")), 1);
    EXPECT_EQ(log.count(QStringLiteral("skipping this item - folder")), 1);
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(listed().last(), QStringLiteral("new.mov"));
    EXPECT_TRUE(track(QStringLiteral("gone.mov"))); // a stale track stays
    EXPECT_EQ(track(QStringLiteral("kept.mov")), kept);
    EXPECT_EQ(*kept->size(), keptSize);
    EXPECT_NEAR(*kept->duration(), 1.0, 0.001);
    EXPECT_EQ(kept->category(), QStringLiteral("Work"));
    EXPECT_NEAR(*track(QStringLiteral("new.mov"))->duration(), 2.0, 0.001);
    EXPECT_TRUE(shown().contains(QStringLiteral("new.mov")));

    log.clear();
    controller->updateFileList();
    EXPECT_EQ(log.count(QStringLiteral("adding one file to list...")), 0);
}

TEST_F(LibraryFolders, AnUnreadableRecordingsFolderGivesAnEmptyList) {
    // Tests run as root, whom permissions do not stop: "Recordings" is made unreadable by
    // being a plain file, then a link to nowhere.
    ASSERT_TRUE(QDir().mkpath(library));
    writeFile(recordings(), "not a folder");
    {
        LogCapture log;
        launch();
        EXPECT_TRUE(log.contains(QStringLiteral("the Recordings folder exists")));
        EXPECT_TRUE(listed().isEmpty());
        controller->updateFileList();
        EXPECT_TRUE(listed().isEmpty());
    }
    quit();
    ASSERT_TRUE(QFile::remove(recordings()));
    ASSERT_TRUE(QFile::link(scratch(QStringLiteral("nowhere")), recordings()));
    LogCapture log;
    launch();
    EXPECT_TRUE(log.contains(QStringLiteral("creating Recordings folder")));
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(LibraryFolders, TheFolderPanelMovesTheLibraryOrLeavesItAlone) {
    ASSERT_TRUE(QDir().mkpath(recordings()));
    writeRecording(recordings() + QStringLiteral("/old.mov"));
    launch();
    QComboBox* menu = controller->_libraryLocationMenu;
    menu->setCurrentIndex(menu->count() - 1);

    controller->doSetDataDirectory(menu);
    auto* panel = controller->_preferencesPanel->findChild<QFileDialog*>();
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowModality(), Qt::WindowModal);
    EXPECT_EQ(panel->windowTitle(), QStringLiteral("Select"));
    EXPECT_EQ(panel->labelText(QFileDialog::Accept), QStringLiteral("Select"));
    EXPECT_EQ(panel->fileMode(), QFileDialog::Directory);
    EXPECT_EQ(QDir(panel->directory()).absolutePath(), QFileInfo(library).absolutePath());
    EXPECT_EQ(QFileInfo(panel->selectedFiles().value(0)).fileName(), QStringLiteral("Library"));

    panel->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(controller->pathToLibraryFolder(), library);
    EXPECT_EQ(listed(), QStringList{QStringLiteral("old.mov")});
    EXPECT_EQ(menu->currentIndex(), 0);
    EXPECT_EQ(menu->itemText(0), QStringLiteral("Library"));
    EXPECT_TRUE(controller->_preferencesPanel->isVisible());

    // Choosing a folder makes it the library, laid out and listed afresh.
    const QString elsewhere = scratch(QStringLiteral("Elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere + QStringLiteral("/Recordings")));
    writeRecording(elsewhere + QStringLiteral("/Recordings/there.mov"));
    controller->doSetDataDirectory(menu);
    panel = controller->_preferencesPanel->findChild<QFileDialog*>();
    ASSERT_TRUE(panel);
    panel->setDirectory(scratch(QString()));
    panel->selectFile(elsewhere);
    QMetaObject::invokeMethod(panel, "accept"); // the panel's own "Select" button
    EXPECT_EQ(controller->pathToLibraryFolder(), elsewhere);
    EXPECT_TRUE(QFileInfo(elsewhere + QStringLiteral("/Notes")).isDir());
    EXPECT_EQ(listed(), QStringList{QStringLiteral("there.mov")});
    EXPECT_EQ(shown(), QStringList{QStringLiteral("there.mov")});
    EXPECT_EQ(menu->itemText(0), QStringLiteral("Elsewhere"));
    EXPECT_TRUE(QFileInfo::exists(recordings() + QStringLiteral("/old.mov"))); // nothing moved
}

} // namespace
