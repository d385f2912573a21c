// What a sync may copy and where, and the sync's run, on its own: the real playlist component
// over real files, and a recorder on the fake capture layer.
#include "../recording/FakeGrabber.h"
#include "itunes/QKTunesController.h"
#include "itunes/SyncCoordinator.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/SafeFile.h"
#include "platform/movie/MovieWriter.h"
#include "platform/playlists/M3uPlaylist.h"
#include "platform/playlists/M3uPlaylistLibrary.h"
#include "platform/playlists/RecordingFiles.h"
#include "recording/QKRecorder.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
class Coordinator : public ::testing::Test {
protected:
    void SetUp() override {
        PlaylistComponents::setFactory(QStringLiteral("iTunesController.scpt"), [this] {
            return std::make_unique<M3uPlaylistLibrary>(music());
        });
        bridge = std::make_unique<QKTunesController>();
        sync = std::make_unique<SyncCoordinator>(bridge.get(), [this] {
            return recorder && recorder->isRecording() ? recorder->tempFile() : QString();
        });
        QDir().mkpath(recordings());
    }
    void TearDown() override {
        sync.reset();
        bridge.reset();
        PlaylistComponents::restoreDefaults();
    }

    // As the defaults have it: the library in the music folder, the playlist "Brevoir".
    QString music() const { return _root.path() + "/Music"; }
    QString library() const { return music() + "/Brevoir"; }
    QString recordings() const { return library() + "/Recordings"; }
    QString imports() const { return music() + "/Playlists/Brevoir"; }

    // A real recording under a name of any bytes.
    void record(const QString& name, double seconds = 0.5) {
        const QString made = _root.path() + "/made.mov";
        ASSERT_TRUE(RecordingFiles::writeRecording(made, seconds, 22050, 1));
        ASSERT_EQ(::rename(made.toUtf8().constData(),
                           FilePath::fromString(recordings() + "/" + name).c_str()),
                  0);
    }

    // One sync to its end; what it reported, and its last status text in *status.
    QString run(const QStringList& names, QString* status = nullptr,
                const QString& playlist = QStringLiteral("Brevoir")) {
        QSignalSpy statuses(sync.get(), &SyncCoordinator::statusChanged);
        QSignalSpy finished(sync.get(), &SyncCoordinator::finished);
        const QString refusal = sync->start({library(), recordings(), names, playlist, {}});
        if (!refusal.isEmpty())
            return refusal;
        EXPECT_TRUE(finished.wait(30000));
        if (status && !statuses.isEmpty())
            *status = statuses.last().first().toString();
        return finished.isEmpty() ? QStringLiteral("(did not end)")
                                  : finished.first().first().toString();
    }

    std::vector<M3uPlaylist::Entry> playlist() const {
        return M3uPlaylist::parse(
            SafeFile::read(FilePath::fromString(music() + "/Playlists/Brevoir.m3u"), 1 << 20)
                .bytes);
    }
    static QStringList entries(const QString& folder) {
        return QDir(folder).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    std::unique_ptr<QKTunesController> bridge;
    std::unique_ptr<SyncCoordinator> sync;
    std::unique_ptr<QKRecorder> recorder;

private:
    QTemporaryDir _root;
};
} // namespace

TEST_F(Coordinator, WithTheDefaultsOddNamesAreSyncedOnceAndNothingLandsInTheLibrary) {
    const QStringList names = {"Take 1 .mov", " lead.mov", ".hidden.mov",
                               FileNames::decode("bad\xFE.mov"), "no extension"};
    for (const QString& name : names)
        record(name);
    const QStringList libraryBefore = entries(library());
    const mode_t saved = ::umask(022);
    QString status;
    EXPECT_EQ(run(names, &status), "");
    ::umask(saved);
    EXPECT_EQ(status, "Syncing 5 files.");
    EXPECT_EQ(run(names, &status), "");
    EXPECT_EQ(status, "Syncing 0 files.") << "each one once, over two syncs";

    EXPECT_EQ(entries(library()), libraryBefore);
    EXPECT_EQ(entries(imports()), (QStringList{"Take 1.mov", "bad\xEF\xBF\xBD.mov", "hidden.mov",
                                               "lead.mov", "no extension"}));
    QStringList titles;
    for (const M3uPlaylist::Entry& entry : playlist()) {
        titles << entry.title;
        struct stat info;
        ASSERT_EQ(::stat(FilePath::fromString(entry.path).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0644) << "readable by a daemon of its own";
    }
    EXPECT_EQ(titles,
              (QStringList{"Take 1", "lead", ".hidden", "bad\xEF\xBF\xBD", "no extension"}));
}

TEST_F(Coordinator, WhatIsBeingRecordedWaitsForTheNextSync) {
    record("Recording 1765000001.mov");
    // A recording the recorder writes, and one another writer holds locked.
    auto grabber = std::make_shared<FakeGrabberState>();
    recorder = QKRecorder::create(fakeGrabberFactory(grabber));
    ASSERT_TRUE(recorder);
    const QString recorded = recordings() + "/Recording 1765000002.mov";
    recorder->setTempFile(recorded);
    ASSERT_TRUE(recorder->doRecord());
    SoundFormat format;
    auto writer = MovieWriter::create(recordings() + "/Recording 1765000003.mov", format);
    ASSERT_TRUE(writer);
    const QStringList names = {"Recording 1765000001.mov", "Recording 1765000002.mov",
                               "Recording 1765000003.mov"};

    QSignalSpy leftOut(sync.get(), &SyncCoordinator::leftOut);
    QString status;
    EXPECT_EQ(run(names, &status), "");
    const QString note =
        BVLocalizedString("SyncLeftOut").arg("Recording 1765000002.mov, Recording 1765000003.mov");
    EXPECT_EQ(status, "Syncing 1 files.\n" + note);
    ASSERT_EQ(leftOut.size(), 1);
    EXPECT_EQ(leftOut.first().first().toString(), note);
    EXPECT_EQ(playlist().size(), 1u);

    // Once they are complete, the next sync takes them whole.
    recorder->doStop();
    ASSERT_TRUE(RecordingFiles::writeRecording(recorded, 1.0));
    ASSERT_EQ(writer->complete(), 0);
    writer.reset();
    EXPECT_EQ(run(names, &status), "");
    EXPECT_EQ(status, "Syncing 2 files.");
    ASSERT_EQ(playlist().size(), 3u);
    for (int i = 1; i < 3; ++i) {
        const M3uPlaylist::Entry& entry = playlist()[size_t(i)];
        EXPECT_EQ(QFileInfo(entry.path).size(), QFileInfo(recordings() + "/" + names[i]).size());
    }
}

TEST_F(Coordinator, NothingRunsInsideASyncAndAQuitStopsItBetweenSteps) {
    for (const char* name : {"a.mov", "b.mov", "c.mov"})
        record(name, 3.0);
    // Whatever the event loop serves during a sync (a bus call, a timer) runs at its top level,
    // never inside a step that waits.
    int deepest = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { deepest = std::max(deepest, QThread::currentThread()->loopLevel()); });
    probe.start(1);
    EXPECT_EQ(run({"a.mov", "b.mov", "c.mov"}), "");
    EXPECT_EQ(deepest, 1);

    // A quit arriving between two steps ends the sync there, with nothing half done.
    QDir(imports()).removeRecursively();
    QFile::remove(music() + "/Playlists/Brevoir.m3u");
    QSignalSpy finished(sync.get(), &SyncCoordinator::finished);
    QSignalSpy progress(sync.get(), &SyncCoordinator::progressChanged);
    ASSERT_EQ(sync->start({library(), recordings(), {"a.mov", "b.mov", "c.mov"}, "Brevoir", {}}),
              "");
    EXPECT_EQ(sync->start({library(), recordings(), {"a.mov"}, "Brevoir", {}}),
              BVLocalizedString("SyncRunning"));
    EXPECT_EQ(sync->progressDescription(), "preparing");
    ASSERT_TRUE(progress.wait(10000));
    EXPECT_TRUE(sync->progressDescription().startsWith("copying 1 of 3: "))
        << sync->progressDescription().toStdString();
    sync->cancel(true);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.first().first().toString(), BVLocalizedString("SyncCancelled"));
    EXPECT_FALSE(sync->isRunning());
    EXPECT_EQ(sync->progressDescription(), "");
    EXPECT_EQ(entries(imports()).size(), qsizetype(playlist().size())) << "no file half done";
}
