// The window as a user reads it while things happen: what the recorder does, in words beside
// the clock and in the title; Record ready the moment playback ends; the clock, the meter and
// search still there without the toolbar.
#include "WindowFixture.h"
#include "platform/media/player/PlaybackTestSupport.h"
#include "support/TestEnvironment.h"

#include "app/CustomizableToolbar.h"
#include "app/ToolbarStandIn.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "platform/media/BVMovieView.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {
class WindowStateTest : public WindowFixture {};
} // namespace

TEST_F(WindowStateTest, TheStateIsToldInWordsBesideTheClockAndInTheTitle) {
    launch();
    ASSERT_NE(hint(), nullptr);
    const QString dash = QStringLiteral(" \u2014 ");
    struct Step {
        const char* what;
        std::function<void()> act;
        int32_t ticks; // time passing after the act, then a poll
        QString words, clock, title;
        bool hint;
    };
    const Step steps[] = {
        {"idle", [] {}, 0, "", "00:00:00.00", "Brevoir", true},
        // Monitoring counts no time: the clock stays at zero while the meter moves.
        {"monitoring", [&] { w().previewButton->click(); }, 150, "Monitoring", "00:00:00.00",
         "Monitoring" + dash + "Brevoir", true},
        {"monitoring ends", [&] { w().previewButton->click(); }, 0, "", "00:00:00.00", "Brevoir",
         true},
        // The first recording is not "nothing yet": the hint goes as soon as it starts.
        {"recording", [&] { w().recordingButton->click(); }, 72 * 60, "Recording", "00:01:12.00",
         "Recording" + dash + "00:01:12" + dash + "Brevoir", false},
        {"paused", [&] { w().pauseRecordingButton->click(); }, 600, "Paused", "00:01:12.00",
         "Paused" + dash + "00:01:12" + dash + "Brevoir", false},
        {"resumed", [&] { w().pauseRecordingButton->click(); }, 60, "Recording", "00:01:13.00",
         "Recording" + dash + "00:01:13" + dash + "Brevoir", false},
        {"stopped", [&] { w().recordingButton->click(); }, 0, "", "00:00:00.00", "Brevoir", false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        now += step.ticks;
        poll();
        EXPECT_EQ(w().stateText->text(), step.words);
        EXPECT_EQ(w().statusText->text(), step.clock);
        EXPECT_EQ(window().windowTitle(), step.title);
        EXPECT_EQ(!hint()->isHidden(), step.hint);
        // Screen readers hear the time in whole seconds and the state.
        EXPECT_EQ(w().statusText->accessibleDescription(), step.clock.left(9) + "00");
    }
    EXPECT_EQ(controller->fileList().size(), 1u);
}

TEST_F(WindowStateTest, RecordWorksOnTheFirstPressHoweverPlaybackEnds) {
    REQUIRE_AUDIO_RIG();
    PlaybackTestSupport::settleAudioOutput();
    ASSERT_TRUE(PlaybackTestSupport::makeSound(library + "/Recordings/Short.mov", 1.0));
    launch();
    QAction* record = w().actionRecord;
    struct Ending {
        const char* what;
        std::function<void()> end;
    };
    const Ending endings[] = {
        {"played to its end",
         [&] {
             ASSERT_TRUE(PlaybackTestSupport::waitUntil(
                 [&] { return !controller->qtPlayer()->hasMovie(); }, 10000));
         }},
        {"stopped", [&] { w().playbackStopButton->click(); }},
        {"paused", [&] { w().buttonPlayPause->click(); }},
        // Last: the recording is gone after it.
        {"its file removed by another program",
         [&] {
             ASSERT_TRUE(QFile::remove(library + "/Recordings/Short.mov"));
             ASSERT_TRUE(PlaybackTestSupport::waitUntil(
                 [&] { return !controller->qtPlayer()->hasMovie(); }, 10000));
             for (const auto& track : controller->fileList())
                 EXPECT_NE(track->name(), "Short.mov");
         }},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.what);
        controller->soundStop(nullptr);
        for (const auto& track : controller->fileList())
            if (track->name() == "Short.mov")
                controller->_fileListArrayController->setSelectedObjects({track});
        w().fileTableView->setFocus();
        w().buttonPlayPause->click();
        ASSERT_TRUE(controller->qtPlayer()->isPlaying());
        // As the window does after the click that started it.
        controller->validateToolbar();
        EXPECT_FALSE(record->isEnabled());
        EXPECT_FALSE(toolbar().itemWithIdentifier("Record")->isEnabled());

        ending.end();
        // At once, before anything else reaches the window.
        EXPECT_TRUE(record->isEnabled());
        EXPECT_TRUE(toolbar().itemWithIdentifier("Record")->isEnabled());
        QTest::keyClick(&window(), Qt::Key_R, Qt::ControlModifier);
        EXPECT_TRUE(controller->IsBVRecording);
        EXPECT_EQ(toolbar().itemWithIdentifier("Record")->text(), "Stop");
        QTest::keyClick(&window(), Qt::Key_R, Qt::ControlModifier);
        EXPECT_FALSE(controller->IsBVRecording);
    }
}

TEST_F(WindowStateTest, WithoutTheToolbarTheClockMeterAndSearchStayInTheWindow) {
    launch();
    ToolbarStandIn& standIn = *w().toolbarStandIn;
    const auto inToolbar = [&] {
        return w().timerView->parentWidget() == &toolbar() &&
               w().searchField->parentWidget() == &toolbar() && standIn.isHidden();
    };
    const auto inWindow = [&] {
        return w().timerView->parentWidget() == &standIn &&
               w().searchField->parentWidget() == &standIn && w().timerView->isVisible() &&
               w().searchField->isVisible() && standIn.isVisible();
    };
    ASSERT_TRUE(inToolbar());

    w().actionShowToolbar->trigger();
    EXPECT_TRUE(toolbar().isHidden());
    EXPECT_TRUE(inWindow());
    // Find goes to the field that shows.
    w().fileTableView->setFocus();
    ASSERT_TRUE(w().actionFind->isEnabled());
    QTest::keyClick(&window(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), w().searchField);
    // The time still runs there.
    w().recordingButton->click();
    now += 120;
    poll();
    EXPECT_EQ(w().statusText->text(), "00:00:02.00");
    w().recordingButton->click();

    w().actionShowToolbar->trigger();
    EXPECT_FALSE(toolbar().isHidden());
    EXPECT_TRUE(inToolbar());
    EXPECT_EQ(toolbar().widgetForAction(toolbar().itemWithIdentifier("Search")), w().searchField);

    // Taking the items out of the toolbar leaves them in the window as well.
    toolbar().removeItem(int(toolbar().itemIdentifiers().indexOf("Search")));
    toolbar().removeItem(int(toolbar().itemIdentifiers().indexOf("Time")));
    EXPECT_TRUE(inWindow());
    toolbar().restoreDefaults();
    EXPECT_TRUE(inToolbar());
}
