#include "app/BVController.h"
#include "app/MainInterface.h"
#include "library/NoteTimeStamps.h"
#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QBVTrackTableModel.h"
#include "library/QKArrayController.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/media/BVMovieView.h"
#include "platform/media/player/PlaybackTestSupport.h"
#include "recording/QKRecorder.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include <gtest/gtest.h>

using PlaybackTestSupport::makeSound;
using PlaybackTestSupport::waitUntil;

namespace {
const QString kZero = QStringLiteral("00:00:00.00");
const QString kFinished = QStringLiteral("sound finished playing");

class PlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        BVController::initialize();
        BVController::setRecorderFactory([] { return std::unique_ptr<QKRecorder>(); });
        PlaybackTestSupport::settleAudioOutput();
    }

    void SetUp() override {
        static int serial = 0;
        _library = TestEnvironment::home() + QStringLiteral("/Library %1").arg(++serial);
        ASSERT_TRUE(QDir().mkpath(_library + "/Recordings"));
        ASSERT_TRUE(makeSound(recording("Recording A.mov"), 2.0, defaultEncoding(), 440));
        ASSERT_TRUE(makeSound(recording("Recording B.mov"), 2.0, defaultEncoding(), 660));
        ASSERT_TRUE(makeSound(recording("Recording C.mov"), 0.5, defaultEncoding(), 880));
        _controller = std::make_unique<BVController>();
        _interface = std::make_unique<MainInterface>();
        _interface->connect(*_controller);
        _controller->setLibraryFolderOverride(_library);
        _controller->applicationDidFinishLaunching();
        _interface->window()->show();
        ASSERT_EQ(c()._fileListArrayController->arrangedObjects().size(), 3u);
    }

    void TearDown() override {
        if (_controller)
            _controller->soundStop(nullptr);
        _controller.reset();
        _interface.reset();
    }

    static QStringList defaultEncoding() {
        return {"-ar", "44100", "-ac", "2", "-c:a", "pcm_s16le"};
    }
    QString recording(const QString& name) const { return _library + "/Recordings/" + name; }
    BVController& c() { return *_controller; }
    BVMovieView& view() { return *c()._qtPlayer; }
    QString status() const { return _controller->_statusText->text(); }

    int rowOf(const QString& name) {
        const auto& rows = c()._fileListArrayController->arrangedObjects();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i]->name() == name)
                return int(i);
        return -1;
    }
    std::shared_ptr<QBVTrack> track(const QString& name) {
        const int row = rowOf(name);
        return row < 0 ? nullptr : c()._fileListArrayController->arrangedObjects()[size_t(row)];
    }
    QStringList marked() {
        QStringList names;
        for (const auto& t : c().fileList())
            if (t->isPlaying())
                names << t->name();
        return names;
    }
    void select(const QString& name) {
        ASSERT_TRUE(c()._fileListArrayController->setSelectionIndexes({rowOf(name)}));
    }
    // A real double-click on the recording's row, as the user gives it.
    void doubleClick(const QString& name) {
        QBVTableView* table = c().fileTableView;
        const QModelIndex index =
            table->model()->index(rowOf(name), QBVTrackTableModel::DateColumn);
        ASSERT_TRUE(index.isValid());
        const QPoint at = table->visualRect(index).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    }
    bool playing() { return view().isPlaying(); }
    qint64 position() { return view().currentTime(); }
    // Waits for the poll's end of playback.
    bool waitForFinish(const LogCapture& log, int timeoutMs) {
        return waitUntil([&] { return log.contains(kFinished); }, timeoutMs);
    }
    // Real time passes on the event loop (the poll keeps running meanwhile).
    void let(int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        waitUntil([&] { return clock.elapsed() >= milliseconds; }, milliseconds + 1000);
    }

    QString _library;
    std::unique_ptr<BVController> _controller;
    std::unique_ptr<MainInterface> _interface;
};
} // namespace

TEST_F(PlayerTest, PlayWithNothingSelectedOrLoadedEndsAtTheFirstPoll) {
    LogCapture log;
    c()._statusText->setText("00:01:02.03");
    c().soundPlayPause(nullptr);
    EXPECT_FALSE(playing());
    EXPECT_FALSE(c()._buttonPlayPause->icon().isNull()) << "the play/pause image is set";
    ASSERT_TRUE(waitForFinish(log, 1000));
    EXPECT_EQ(status(), kZero);
    EXPECT_FALSE(view().hasMovie());
    EXPECT_TRUE(marked().isEmpty());
    let(100);
    EXPECT_EQ(log.count(kFinished), 1) << "the poll ended with playback";
}

TEST_F(PlayerTest, ARecordingPlaysToItsEndInRealTimeShowingItsPosition) {
    REQUIRE_AUDIO_RIG();
    select("Recording A.mov");
    LogCapture log;
    QElapsedTimer clock;
    clock.start();
    c().soundPlayPause(nullptr);
    ASSERT_TRUE(playing()) << view().message().toStdString();
    EXPECT_EQ(marked(), QStringList{"Recording A.mov"});
    EXPECT_EQ(c().previouslyPlayedURL(), QUrl::fromLocalFile(recording("Recording A.mov")));
    EXPECT_EQ(view().timeScale(), 44100);
    // The list shows the marker beside the playing track.
    QAbstractItemModel* model = c().fileTableView->model();
    const QVariant marker =
        model->data(model->index(rowOf("Recording A.mov"), QBVTrackTableModel::PlayingColumn),
                    Qt::DecorationRole);
    EXPECT_FALSE(marker.value<QPixmap>().isNull());

    QStringList shown;
    std::vector<qint64> positions;
    ASSERT_TRUE(waitUntil(
        [&] {
            if (shown.isEmpty() || shown.back() != status())
                shown << status();
            if (playing())
                positions.push_back(position());
            return log.contains(kFinished);
        },
        5000, 2));
    const double seconds = clock.elapsed() / 1000.0;
    EXPECT_NEAR(seconds, 2.0, 0.2) << "2 s of recording takes about 2 s";
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << "never backwards";
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end() - 1)) << shown.join(' ').toStdString();
    EXPECT_GE(shown.size(), 50) << "the time display follows every few hundredths";
    EXPECT_TRUE(shown.contains("00:00:01.00") || shown.contains("00:00:01.01"));
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const QString& s) {
        return s >= "00:00:01.90";
    })) << "shown close to the end";
    // The end: unmarked, the time reset, the view empty.
    EXPECT_EQ(status(), kZero);
    EXPECT_TRUE(marked().isEmpty());
    EXPECT_FALSE(view().hasMovie());
    EXPECT_TRUE(
        model
            ->data(model->index(rowOf("Recording A.mov"), QBVTrackTableModel::PlayingColumn),
                   Qt::DecorationRole)
            .value<QPixmap>()
            .isNull());
    let(100);
    EXPECT_EQ(log.count(kFinished), 1);
}

TEST_F(PlayerTest, PlayPausePlayResumesWhereItPausedAndKeepsTheMark) {
    REQUIRE_AUDIO_RIG();
    select("Recording A.mov");
    LogCapture log;
    c().soundPlayPause(nullptr);
    ASSERT_TRUE(waitUntil([&] { return position() >= 44100 / 2; }, 3000));
    c().soundPlayPause(nullptr); // pause
    EXPECT_FALSE(playing());
    EXPECT_TRUE(view().hasMovie());
    const qint64 paused = position();
    const QString shownAtPause = status();
    EXPECT_EQ(marked(), QStringList{"Recording A.mov"});
    let(300);
    EXPECT_FALSE(log.contains(kFinished)) << "pausing stops the poll";
    EXPECT_EQ(position(), paused);
    EXPECT_EQ(status(), shownAtPause);

    select("Recording B.mov");   // a new selection does not replace the paused recording
    c().soundPlayPause(nullptr); // resume
    ASSERT_TRUE(playing());
    EXPECT_GE(position(), paused);
    EXPECT_LT(position(), paused + 44100 / 10) << "resumed, not restarted";
    EXPECT_EQ(view().moviePath(), recording("Recording A.mov"));
    EXPECT_EQ(marked(), QStringList{"Recording A.mov"});
    ASSERT_TRUE(waitForFinish(log, 4000));
    EXPECT_TRUE(marked().isEmpty());
}

TEST_F(PlayerTest, DoubleClickPlaysPausesAndSwitchesRecordingsMarkingOnlyTheOnePlaying) {
    REQUIRE_AUDIO_RIG();
    c().tableAction(nullptr); // sent again: still one double action
    doubleClick("Recording A.mov");
    ASSERT_TRUE(playing()) << view().message().toStdString();
    EXPECT_EQ(view().moviePath(), recording("Recording A.mov"));
    EXPECT_EQ(marked(), QStringList{"Recording A.mov"});
    ASSERT_TRUE(waitUntil([&] { return position() >= 44100 / 4; }, 2000));

    doubleClick("Recording A.mov"); // the one playing: pauses
    EXPECT_FALSE(playing());
    EXPECT_TRUE(view().hasMovie());
    EXPECT_GE(position(), 44100 / 4);
    EXPECT_EQ(marked(), QStringList{"Recording A.mov"});

    doubleClick("Recording A.mov"); // paused: plays it again from its start
    ASSERT_TRUE(playing());
    EXPECT_LT(position(), 44100 / 10);
    ASSERT_TRUE(waitUntil([&] { return position() >= 44100 / 4; }, 2000));

    doubleClick("Recording B.mov"); // another one: it plays from its start
    ASSERT_TRUE(playing());
    EXPECT_EQ(view().moviePath(), recording("Recording B.mov"));
    EXPECT_LT(position(), 44100 / 10);
    EXPECT_EQ(marked(), QStringList{"Recording B.mov"});
    EXPECT_EQ(c().previouslyPlayedURL(), QUrl::fromLocalFile(recording("Recording B.mov")));

    c().soundPlayPause(nullptr); // pause B, then double-click C
    doubleClick("Recording C.mov");
    ASSERT_TRUE(playing());
    EXPECT_EQ(marked(), QStringList{"Recording C.mov"});
    LogCapture log;
    ASSERT_TRUE(waitForFinish(log, 3000));
    EXPECT_TRUE(marked().isEmpty());
    EXPECT_EQ(status(), kZero);
}

TEST_F(PlayerTest, StopWhilePausedOrPlayingEmptiesTheView) {
    REQUIRE_AUDIO_RIG();
    select("Recording A.mov");
    c().soundPlayPause(nullptr);
    ASSERT_TRUE(waitUntil([&] { return status() > "00:00:00.30"; }, 3000));
    c().soundPlayPause(nullptr);
    LogCapture log;
    c().soundStop(nullptr);
    EXPECT_FALSE(view().hasMovie());
    EXPECT_FALSE(playing());
    EXPECT_TRUE(marked().isEmpty());
    EXPECT_EQ(status(), kZero);

    c().soundPlayPause(nullptr); // the selection plays again, from its start
    ASSERT_TRUE(playing());
    EXPECT_LT(position(), 44100 / 10);
    c().soundStop(nullptr);
    EXPECT_FALSE(view().hasMovie());
    EXPECT_TRUE(marked().isEmpty());
    let(100);
    EXPECT_FALSE(log.contains(kFinished)) << "stopping ends the poll";
}

TEST_F(PlayerTest, PlayFileStartsTheSelectionWithoutMarkOrPoll) {
    REQUIRE_AUDIO_RIG();
    select("Recording C.mov");
    LogCapture log;
    c()._statusText->setText("00:00:09.00");
    c().playFile(nullptr);
    ASSERT_TRUE(playing());
    EXPECT_TRUE(marked().isEmpty());
    EXPECT_TRUE(c().previouslyPlayedURL().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return !playing(); }, 3000));
    let(100);
    EXPECT_FALSE(log.contains(kFinished));
    EXPECT_EQ(status(), "00:00:09.00") << "the status text is not touched";
}

TEST_F(PlayerTest, AnUnplayableRecordingIsRefusedAndNothingElseChanges) {
    {
        QFile bad(recording("Recording broken.mov"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(8192, '\x7f'));
    }
    c().updateFileList();
    ASSERT_GE(rowOf("Recording broken.mov"), 0);
    select("Recording broken.mov");
    LogCapture log;
    c().soundPlayPause(nullptr);
    EXPECT_FALSE(view().hasMovie());
    EXPECT_TRUE(view().message().contains("Recording broken.mov"))
        << view().message().toStdString();
    EXPECT_TRUE(marked().isEmpty());
    EXPECT_TRUE(c().previouslyPlayedURL().isEmpty());
    let(100);
    EXPECT_FALSE(log.contains(kFinished)) << "no poll was started";
    if (!TestEnvironment::hasAudioRig())
        return;

    // While another recording plays, double-clicking the broken one leaves it playing.
    select("Recording A.mov");
    c().soundPlayPause(nullptr);
    ASSERT_TRUE(playing());
    doubleClick("Recording broken.mov");
    EXPECT_TRUE(playing());
    EXPECT_EQ(view().moviePath(), recording("Recording A.mov"));
    EXPECT_EQ(marked(), QStringList{"Recording A.mov"});
    const qint64 before = position();
    EXPECT_TRUE(waitUntil([&] { return position() > before + 44100 / 10; }, 2000))
        << "its poll still runs";
    EXPECT_TRUE(waitUntil([&] { return status() > "00:00:00.20"; }, 2000));
}

TEST_F(PlayerTest, ASoundSlowerThanSixtyFramesASecondShowsZero) {
    REQUIRE_AUDIO_RIG();
    ASSERT_TRUE(makeSound(recording("Recording slow.mov"), 1.0,
                          {"-ar", "50", "-ac", "1", "-c:a", "pcm_s16le"}));
    c().updateFileList();
    select("Recording slow.mov");
    LogCapture log;
    c().soundPlayPause(nullptr);
    ASSERT_TRUE(playing()) << view().message().toStdString();
    EXPECT_EQ(view().timeScale(), 50);
    QStringList shown;
    ASSERT_TRUE(waitUntil(
        [&] {
            shown << status();
            return log.contains(kFinished);
        },
        4000));
    EXPECT_EQ(shown.filter(kZero).size(), shown.size()) << shown.join(' ').toStdString();
}

// Playback and capture have streams of their own: a recording made while another plays keeps
// its length, and the playing one its pace.
TEST_F(PlayerTest, PlaysAtItsPaceWhileTheRecorderRecords) {
    REQUIRE_AUDIO_RIG();
    c().setRecorderForTesting(QKRecorder::create());
    ASSERT_NE(c().recorder(), nullptr);
    QElapsedTimer recordingClock;
    recordingClock.start();
    c().startRecording(nullptr);
    ASSERT_TRUE(c().recorder()->isRecording());

    select("Recording A.mov");
    LogCapture log;
    QElapsedTimer clock;
    clock.start();
    c().soundPlayPause(nullptr);
    ASSERT_TRUE(playing());
    std::vector<qint64> positions;
    ASSERT_TRUE(waitUntil(
        [&] {
            if (playing())
                positions.push_back(position());
            return log.contains(kFinished);
        },
        5000, 2));
    EXPECT_NEAR(clock.elapsed() / 1000.0, 2.0, 0.2);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_TRUE(c().recorder()->isRecording()) << "the recording went on throughout";

    c().startRecording(nullptr); // the toggle stops it
    const double recorded = recordingClock.elapsed() / 1000.0;
    ASSERT_FALSE(c().recorder()->isRecording());
    QString made;
    for (const auto& t : c().fileList())
        if (!QStringList{"Recording A.mov", "Recording B.mov", "Recording C.mov"}.contains(
                t->name()))
            made = t->name();
    ASSERT_FALSE(made.isEmpty()) << "the new recording is listed";
    EXPECT_NEAR(c().getMovieDuration(recording(made)), recorded, 0.3);

    // The new recording, as the recorder wrote it, plays to its end.
    select(made);
    log.clear();
    clock.restart();
    c().soundPlayPause(nullptr);
    ASSERT_TRUE(playing()) << view().message().toStdString();
    const double length = double(view().duration()) / double(view().timeScale());
    EXPECT_NEAR(length, recorded, 0.3);
    ASSERT_TRUE(waitForFinish(log, int(recorded * 1000) + 2000));
    EXPECT_NEAR(clock.elapsed() / 1000.0, length, 0.25);
}

TEST_F(PlayerTest, TheMarkerImageIsLoadedOnceAndEveryRequestIsLogged) {
    LogCapture log;
    const QPixmap* first = c().currentlyPlayingImage();
    const QPixmap* second = c().currentlyPlayingImage();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->size(), QSize(16, 16));
    EXPECT_EQ(log.count("imagePath = :/images/podcast.png"), 1);
    EXPECT_EQ(log.count("_currentlyPlayingImage = QPixmap(16x16)"), 2);

    auto a = track("Recording A.mov");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->currentlyPlayingImage(), nullptr);
    a->setIsPlaying(true);
    EXPECT_EQ(a->currentlyPlayingImage(), first);
}

TEST_F(PlayerTest, ATimeStampInTheNotePlaysItsRecordingFromThereAndCtrlMAddsOne) {
    select("Recording B.mov");
    QTextEdit* note = c()._notesTextView;
    ASSERT_FALSE(note->isReadOnly());
    QTextCursor cursor = note->textCursor();
    cursor.insertText("Chorus at ");
    NoteTimeStamps::insert(cursor, 1.5);
    note->setTextCursor(cursor);

    // A plain click on the stamp, as the user gives it.
    QTextCursor onStamp(note->document());
    onStamp.setPosition(QStringLiteral("Chorus at [0").size());
    const QPoint at = note->cursorRect(onStamp).center();
    QTest::mouseClick(note->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(waitUntil([&] { return playing(); }, 5000)) << view().message().toStdString();
    EXPECT_EQ(marked(), QStringList{"Recording B.mov"});
    EXPECT_GE(position(), view().timeScale() * 3 / 2);
    EXPECT_LT(position(), view().timeScale() * 2);

    // While it plays, Ctrl+M puts the place heard at the note's cursor.
    _interface->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(_interface->window()));
    note->setFocus();
    note->moveCursor(QTextCursor::End);
    QTest::keyClick(note, Qt::Key_M, Qt::ControlModifier);
    const QString text = note->toPlainText();
    EXPECT_TRUE(text.startsWith("Chorus at [00:00:01] [00:00:01] ")) << text.toStdString();
    QTextCursor added(note->document());
    added.setPosition(QStringLiteral("Chorus at [00:00:01] [0").size());
    const auto seconds = NoteTimeStamps::secondsOf(added.charFormat().anchorHref());
    ASSERT_TRUE(seconds);
    EXPECT_GE(*seconds, 1.5);

    // With nothing recording or playing there is no place to mark.
    c().soundStop(nullptr);
    EXPECT_EQ(c().insertTimeStamp(), BVLocalizedString("TimeStampNeedsAPlace"));
}
