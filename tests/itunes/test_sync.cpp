// Sync through the real controller, widgets and playlist files: what it imports, what it
// skips, what the status panel says, cancelling, and running without a playlist component.
#include "app/ScriptingService.h"
#include "itunes/SyncCoordinator.h"
#include "library/LibraryFixture.h"
#include "platform/foundation/Beep.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/playlists/M3uPlaylist.h"
#include "platform/playlists/M3uPlaylistLibrary.h"
#include "platform/playlists/PlaylistComponent.h"
#include "platform/playlists/RecordingFiles.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QSignalSpy>
#include <QToolBar>

namespace {
class Sync : public LibraryFixture {
protected:
    void TearDown() override {
        LibraryFixture::TearDown();
        PlaylistComponents::restoreDefaults();
    }

    QString music() const { return M3uPlaylistLibrary::musicFolder(); }

    void record(const QString& title, double seconds = 1.0) {
        ASSERT_TRUE(RecordingFiles::writeRecording(recordings() + "/" + title + ".mov", seconds));
    }

    std::vector<M3uPlaylist::Entry> playlist(const QString& name) const {
        QFile file(music() + "/Playlists/" + name + ".m3u");
        return file.open(QIODevice::ReadOnly) ? M3uPlaylist::parse(file.readAll())
                                              : std::vector<M3uPlaylist::Entry>{};
    }
    // Sorted: Sync goes in the list's order, which is the folder's.
    QStringList titles(const QString& name) const {
        QStringList all;
        for (const auto& entry : playlist(name))
            all << entry.title;
        all.sort();
        return all;
    }

    // Runs Sync as the toolbar does; answers the status text as Sync hands over to the import,
    // and what the end reported.
    QString sync(QString* problem = nullptr) {
        QSignalSpy finished(controller.get(), &BVController::syncFinished);
        QSignalSpy status(&controller->syncCoordinator(), &SyncCoordinator::statusChanged);
        controller->handleSync(nullptr);
        EXPECT_TRUE(finished.count() > 0 || finished.wait(60000));
        if (problem && !finished.isEmpty())
            *problem = finished.first().first().toString();
        return status.isEmpty() ? QString() : status.last().first().toString();
    }

    // Lines of the log from `first` on.
    static QStringList from(const LogCapture& log, const QString& first) {
        const QStringList lines = log.lines();
        return lines.mid(lines.indexOf(first));
    }
};
} // namespace

TEST_F(Sync, ImportsWhatThePlaylistLacksAndNothingTwice) {
    for (const char* title : {"Recording 1765000001", "Recording 1765000002", "Réunion à 9 h"})
        record(title);
    launch();
    ASSERT_EQ(controller->_encodingSelectionMenu->currentIndex(), 0); // No Conversion

    LogCapture first;
    QString problem = "unset";
    EXPECT_EQ(sync(&problem), "Syncing 3 files.");
    EXPECT_EQ(problem, "");
    EXPECT_EQ(titles("Brevoir"),
              (QStringList{"Recording 1765000001", "Recording 1765000002", "Réunion à 9 h"}));
    for (const auto& entry : playlist("Brevoir")) {
        EXPECT_TRUE(entry.path.startsWith(music() + "/Playlists/Brevoir/"))
            << entry.path.toStdString();
        EXPECT_EQ(entry.seconds, 1);
        EXPECT_EQ(QFileInfo(entry.path).size(),
                  QFileInfo(recordings() + "/" + entry.title + ".mov").size());
    }
    EXPECT_EQ(from(first, "doing sync to iTunes...").mid(0, 6),
              (QStringList{"doing sync to iTunes...", "results: 1", "Playlist: Brevoir",
                           "results: 1", "track 1: no tracks found", "  contains tracks: (null)"}));
    EXPECT_EQ(controller->_syncStatusText->text(), "Sync finished...");
    EXPECT_FALSE(controller->_syncStatusPanel->isVisible());

    // Everything is there: the import is still called, with no files.
    LogCapture second;
    EXPECT_EQ(sync(), "Syncing 0 files.");
    EXPECT_EQ(second.count("Not adding track Réunion à 9 h"), 1);
    EXPECT_EQ(from(second, "tracks to import:").mid(0, 2),
              (QStringList{"tracks to import:", "results: 0"}));
    EXPECT_EQ(playlist("Brevoir").size(), 3u);

    record("Recording 1765000003");
    controller->updateFileList();
    LogCapture third;
    EXPECT_EQ(sync(), "Syncing 1 files.");
    EXPECT_EQ(from(third, "tracks to import:").mid(0, 3),
              (QStringList{"tracks to import:", " - Recording 1765000003.mov", "results: 1"}));
    EXPECT_EQ(titles("Brevoir").size(), 4);
    EXPECT_EQ(QDir(music() + "/Playlists/Brevoir").entryList(QDir::Files | QDir::Hidden).size(), 4);
}

TEST_F(Sync, TitlesMatchCaseSensitivelyInThePlaylistTheFieldNames) {
    record("Recording A");
    launch();
    struct Case {
        const char* playlist;
        const char* heldTitle;
        const char* status;
    };
    const Case cases[] = {{"Same case", "Recording A", "Syncing 0 files."},
                          {"Other case", "recording a", "Syncing 1 files."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playlist);
        QDir().mkpath(music() + "/Playlists");
        QFile file(music() + "/Playlists/" + c.playlist + ".m3u");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(M3uPlaylist::serialize({{"/elsewhere/x.mp3", c.heldTitle, 5}}));
        file.close();
        // Read from the field as it stands, saved or not.
        controller->_iTunesPlaylistName->setText(c.playlist);
        EXPECT_EQ(sync(), c.status);
    }
}

TEST_F(Sync, ConvertsWithTheChosenEncoderAndStopsCleanlyWhenCancelled) {
    for (const char* title : {"Long 1", "Long 2", "Long 3"})
        record(title, 60.0);
    launch();
    controller->_iTunesPlaylistName->setText("Long talks");
    QComboBox& encoders = *controller->_encodingSelectionMenu;
    ASSERT_GE(encoders.findText("FLAC"), 0);
    encoders.setCurrentIndex(encoders.findText("FLAC"));

    QSignalSpy finished(controller.get(), &BVController::syncFinished);
    QSignalSpy converting(&controller->syncCoordinator(), &SyncCoordinator::progressChanged);
    controller->handleSync(nullptr);
    ASSERT_TRUE(controller->isSyncing());
    ASSERT_TRUE(converting.wait(30000));
    // A second Sync while one runs is refused.
    const int beeps = beepCount();
    EXPECT_EQ(controller->syncRecordings(), BVLocalizedString("SyncRunning"));
    EXPECT_EQ(beepCount(), beeps + 1);
    // As quitting does: at once, and waiting for it.
    controller->cancelSync(true);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.first().first().toString(), BVLocalizedString("SyncCancelled"));
    EXPECT_FALSE(controller->isSyncing());

    const QStringList files =
        QDir(music() + "/Playlists/Long talks").entryList(QDir::Files | QDir::Hidden);
    EXPECT_LT(files.size(), 3);
    EXPECT_EQ(files.size(), qsizetype(playlist("Long talks").size())) << "no partial output";
    for (const QString& name : files)
        EXPECT_TRUE(name.endsWith(".flac")) << name.toStdString();

    // The next Sync converts the rest.
    EXPECT_EQ(sync(), QStringLiteral("Syncing %1 files.").arg(3 - files.size()));
    ASSERT_EQ(titles("Long talks"), (QStringList{"Long 1", "Long 2", "Long 3"}));
    const M3uPlaylist::Entry last = playlist("Long talks").back();
    const RecordingFiles::Probe probe = RecordingFiles::probe(last.path);
    EXPECT_EQ(probe.codec, "flac");
    EXPECT_EQ(probe.title, last.title);
    EXPECT_EQ(last.seconds, 60);
}

TEST_F(Sync, TheFileMenuSyncsAndScriptsSeeTheSyncRunning) {
    record("Recording A", 2.0);
    launch();
    controller->_iTunesPlaylistName->setText("Menu");
    // The toolbar's item gone, the menu still syncs, with its shortcut.
    controller->toolbar()->clear();
    auto* item = controller->mainWindow->findChild<QAction*>("actionSync");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence("Ctrl+Shift+S"));
    ScriptingService scripting(*controller);
    EXPECT_EQ(scripting.State(), "idle");
    QSignalSpy finished(controller.get(), &BVController::syncFinished);
    item->trigger();
    EXPECT_EQ(scripting.State(), "syncing");
    EXPECT_EQ(scripting.SyncProgress(), "preparing");
    EXPECT_FALSE(item->isEnabled()) << "one sync at a time";
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(scripting.State(), "idle");
    EXPECT_EQ(scripting.SyncProgress(), "");
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(titles("Menu"), QStringList{"Recording A"});

    // The script command starts the same sync and hears a refusal.
    QSignalSpy refused(controller.get(), &BVController::syncRefused);
    scripting.Sync();
    EXPECT_TRUE(controller->isSyncing());
    scripting.Sync();
    ASSERT_EQ(refused.size(), 1);
    EXPECT_EQ(refused.first().first().toString(), BVLocalizedString("SyncRunning"));
    ASSERT_TRUE(finished.wait(30000));
}

TEST_F(Sync, WithoutAPlaylistComponentTheAppRunsAndSyncSaysWhy) {
    record("Recording A");
    PlaylistComponents::setFactory(QStringLiteral("iTunesController.scpt"), {});
    LogCapture log;
    launch();
    EXPECT_TRUE(log.contains("There was a problem initializing the applescript."));
    EXPECT_EQ(controller->fileList().size(), 1u);
    const int beeps = beepCount();
    controller->handleSync(nullptr);
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_TRUE(log.contains(BVLocalizedString("SyncUnavailable")));
    EXPECT_FALSE(controller->_syncStatusPanel->isVisible());
}

TEST_F(Sync, AnEmptyLibraryBeepsAndShowsNoPanel) {
    launch();
    LogCapture log;
    const int beeps = beepCount();
    EXPECT_EQ(controller->syncRecordings(), BVLocalizedString("SyncNoFiles"));
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_EQ(log.lines(), QStringList{"no files to sync..."});
    EXPECT_FALSE(controller->_syncStatusPanel->isVisible());
}
