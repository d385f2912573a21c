// The record, pause, snip and preview controls through the real widgets, with the recorder on
// the fake capture layer and a settable clock.
#include "../ControllerTestSupport.h"

#include "app/MessageBar.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Ticks.h"
#include "recording/QKRecorder.h"
#include "recording/ScriptCommands.h"
#include "support/TestEnvironment.h"
#include "ui_MainWindow.h"
#include "ui_TimerWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

class RecordingControlTest : public ControllerTest {
protected:
    void SetUp() override {
        now = 900'000;
        ControllerTest::SetUp();
        library = TestEnvironment::root() + QStringLiteral("/library-%1").arg(++runs);
        controller->setLibraryFolderOverride(library);
        QDir().mkpath(library);
        controller->applicationDidFinishLaunching();
    }

    Ui::MainWindow& w() { return ui->mainUi(); }
    MessageBar& bar() { return *controller->_messageBar; }
    // What the user does: clicking the record toggle.
    void clickRecord() { w().recordingButton->click(); }
    void poll() { recorder()->doIdleProcessing(nullptr); }
    QStringList listed() {
        QStringList names;
        for (const auto& track : controller->fileList())
            names << track->name();
        return names;
    }
    QStringList recordings() {
        return QDir(library + "/Recordings").entryList(QDir::Files, QDir::Name);
    }

    void expectIdleControls() {
        EXPECT_FALSE(controller->IsBVRecording);
        EXPECT_TRUE(w().previewButton->isEnabled());
        EXPECT_TRUE(w().settingsButton->isEnabled());
        EXPECT_TRUE(w().timerButton->isEnabled());
        EXPECT_FALSE(w().pauseRecordingButton->isEnabled());
        EXPECT_FALSE(w().pauseRecordingButton->isChecked());
        EXPECT_FALSE(w().snipButton->isEnabled());
        EXPECT_FALSE(w().recordingButton->isChecked());
        EXPECT_EQ(w().statusText->text(), "00:00:00.00");
    }
    void expectRecordingControls() {
        EXPECT_TRUE(controller->IsBVRecording);
        EXPECT_FALSE(w().previewButton->isEnabled());
        EXPECT_FALSE(w().settingsButton->isEnabled());
        EXPECT_FALSE(w().timerButton->isEnabled());
        EXPECT_TRUE(w().pauseRecordingButton->isEnabled());
        EXPECT_TRUE(w().snipButton->isEnabled());
        EXPECT_TRUE(w().recordingButton->isChecked());
    }

    static inline int runs = 0;
    QString library;
};

TEST_F(RecordingControlTest, RecordThenStopListsTheNewFile) {
    clickRecord();
    expectRecordingControls();
    ASSERT_TRUE(recorder()->isRecording());
    const QString name = QFileInfo(recorder()->tempFile()).fileName();
    EXPECT_TRUE(QRegularExpression(R"(^Recording \d{10}\.mov$)").match(name).hasMatch());
    EXPECT_EQ(QFileInfo(recorder()->tempFile()).path(), library + "/Recordings");

    LogCapture log;
    clickRecord(); // the toggle again: the recorder refuses to start and stops instead
    expectIdleControls();
    EXPECT_FALSE(recorder()->isRecording());
    EXPECT_EQ(listed(), QStringList{name});
    EXPECT_EQ(log.count("adding one file to list..."), 1);
}

TEST_F(RecordingControlTest, TimedRecordingEndsByItselfAndResetsTheControls) {
    ui->timerUi().timerCheckBox->setChecked(true);
    controller->setTimer(nullptr); // 00:00:00 -> length 0, which also turns the check box off
    ui->timerUi().timerCheckBox->setChecked(true);
    controller->toggleTimer(nullptr);
    clickRecord();
    expectRecordingControls();
    poll(); // reports the timed length
    EXPECT_TRUE(recorder()->isRecording());
    poll(); // stops
    expectIdleControls();
    EXPECT_EQ(listed().size(), 1);
}

TEST_F(RecordingControlTest, StopWhilePausedTurnsThePauseToggleOff) {
    clickRecord();
    w().pauseRecordingButton->click();
    EXPECT_TRUE(w().pauseRecordingButton->isChecked());
    EXPECT_TRUE(recorder()->isPaused());
    clickRecord();
    expectIdleControls();
}

TEST_F(RecordingControlTest, SnipWhileIdleStartsARecordingAndLeavesTheToggleOn) {
    w().snipButton->setEnabled(true); // a script or the toolbar can snip while idle
    controller->snipFile(nullptr);
    expectRecordingControls();
    EXPECT_TRUE(recorder()->isRecording());
}

TEST_F(RecordingControlTest, SnipEndsOneRecordingAndStartsTheNext) {
    clickRecord();
    const QString first = recorder()->tempFile();
    now += 60 * 65; // a minute later: a new name
    w().snipButton->click();
    expectRecordingControls();
    EXPECT_NE(recorder()->tempFile(), first);
    EXPECT_EQ(listed(), QStringList{QFileInfo(first).fileName()});
}

TEST_F(RecordingControlTest, StartWhilePreviewingIsRefusedAndPreviewGoesOn) {
    w().previewButton->click();
    ASSERT_TRUE(recorder()->isPreviewing());
    EXPECT_FALSE(w().recordingButton->isEnabled());
    controller->startRecording(nullptr);
    EXPECT_TRUE(recorder()->isPreviewing());
    EXPECT_FALSE(controller->IsBVRecording);
    EXPECT_FALSE(w().recordingButton->isChecked());
    w().previewButton->click();
    EXPECT_FALSE(recorder()->isPreviewing());
    EXPECT_TRUE(w().recordingButton->isEnabled());
}

TEST_F(RecordingControlTest, AFailedStartTurnsTheToggleBackOffAndSaysWhyUntilOneStarts) {
    grabber->failures["startRecord"] = GrabberErr::deviceFailed;
    clickRecord();
    EXPECT_FALSE(controller->IsBVRecording);
    EXPECT_FALSE(w().recordingButton->isChecked());
    EXPECT_EQ(bar().text(), "The recording could not start: the input device could not be started");
    ASSERT_EQ(bar().actionButtons().size(), 1);
    EXPECT_EQ(bar().actionButtons()[0]->text(), "Open Sound Settings…");

    // The next start that works clears it.
    grabber->failures.clear();
    clickRecord();
    EXPECT_TRUE(controller->IsBVRecording);
    EXPECT_TRUE(bar().text().isEmpty());
    EXPECT_TRUE(bar().isHidden());
    clickRecord();
}

TEST_F(RecordingControlTest, AFinishedRecordingIsSelectedUnlessANoteIsBeingTyped) {
    ui->window()->show();
    ui->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui->window()));
    clickRecord();
    clickRecord();
    ASSERT_EQ(controller->_fileListArrayController->selectedObjects().size(), 1u);
    const QString first = controller->_fileListArrayController->selectedObjects().front()->name();
    EXPECT_EQ(first, QFileInfo(recorder()->tempFile()).fileName());

    // Someone writing the first one's note while the next is recorded keeps writing there.
    w().notesTextView->setFocus();
    ASSERT_TRUE(w().notesTextView->hasFocus());
    clickRecord();
    now += 120;
    clickRecord();
    EXPECT_EQ(listed().size(), 2);
    ASSERT_EQ(controller->_fileListArrayController->selectedObjects().size(), 1u);
    EXPECT_EQ(controller->_fileListArrayController->selectedObjects().front()->name(), first);
}

TEST_F(RecordingControlTest, RecordWhileMonitoringOffersToStopMonitoringAndRecord) {
    w().previewButton->click();
    ASSERT_TRUE(recorder()->isPreviewing());
    // The toolbar's Record stays enabled while monitoring; its refusal says what to do.
    controller->startRecording(nullptr);
    EXPECT_FALSE(controller->IsBVRecording);
    ASSERT_EQ(bar().actionButtons().size(), 1);
    EXPECT_EQ(bar().actionButtons()[0]->text(), "Stop Monitoring and Record");
    bar().actionButtons()[0]->click();
    EXPECT_FALSE(recorder()->isPreviewing());
    EXPECT_FALSE(w().previewButton->isChecked());
    EXPECT_TRUE(controller->IsBVRecording);
    EXPECT_TRUE(w().recordingButton->isChecked());
    EXPECT_TRUE(bar().isHidden());
    clickRecord();
}

TEST_F(RecordingControlTest, ALibraryFolderDeletedWhileRunningIsMadeAgainAtTheNextRecording) {
    ASSERT_TRUE(QDir(library).removeRecursively());
    clickRecord();
    EXPECT_TRUE(controller->IsBVRecording);
    EXPECT_TRUE(QFileInfo(library + "/Recordings").isDir());
    EXPECT_TRUE(QFileInfo(library + "/Notes").isDir());
    clickRecord();
    EXPECT_EQ(recordings().size(), 1);
    EXPECT_EQ(listed(), recordings());
}

TEST_F(RecordingControlTest, ALibraryIsMadeWithItsParentsOrReportedWithPathAndReason) {
    // A library under a music folder that does not exist yet.
    const QString nested = library + "/no Music yet/Brevoir";
    controller->setLibraryFolderOverride(nested);
    controller->applicationDidFinishLaunching();
    EXPECT_TRUE(QFileInfo(nested + "/Recordings").isDir());
    EXPECT_TRUE(QFileInfo(nested + "/Notes").isDir());
    EXPECT_EQ(controller->libraryFolderProblem(), QString());
    clickRecord();
    EXPECT_TRUE(controller->IsBVRecording);
    clickRecord();

    // A library whose parent is a regular file cannot be made: launch and Record both say
    // where and why.
    QFile blocker(library + "/a file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString impossible = library + "/a file/Brevoir";
    controller->setLibraryFolderOverride(impossible);
    controller->applicationDidFinishLaunching();
    const QString where = impossible + " (Not a directory)";
    EXPECT_EQ(bar().text(), "The library folder cannot be used: " + where);
    ASSERT_EQ(bar().actionButtons().size(), 1);
    EXPECT_EQ(bar().actionButtons()[0]->text(), "Choose Another Folder…");
    clickRecord();
    EXPECT_FALSE(controller->IsBVRecording);
    EXPECT_EQ(bar().text(),
              "The recording could not start: the library folder cannot be used: " + where);
    // One message for one problem: the start's replaced the launch's.
    bar().closeButton()->click();
    EXPECT_TRUE(bar().isHidden());
}

TEST_F(RecordingControlTest, ARecordingNeverReplacesAnExistingFile) {
    clickRecord();
    const QString path = recorder()->tempFile();
    clickRecord();
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier recording");
    earlier.close();
    // Again, most likely within the same second: the name is taken, so another one is used.
    clickRecord();
    EXPECT_NE(recorder()->tempFile(), path);
    clickRecord();
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "an earlier recording");
}

TEST_F(RecordingControlTest, ScriptCommandsActLikeTheControls) {
    BVStopCommand stop;
    EXPECT_FALSE(stop.performDefaultImplementation().isValid()); // no result
    EXPECT_TRUE(recorder()->isRecording()); // with none running, stop starts one
    BVPauseCommand().performDefaultImplementation();
    EXPECT_TRUE(recorder()->isPaused());
    BVPauseCommand().performDefaultImplementation();
    BVStartCommand().performDefaultImplementation(); // stops the running one
    EXPECT_FALSE(recorder()->isRecording());
    BVPauseCommand().performDefaultImplementation(); // nothing runs: nothing happens
    EXPECT_FALSE(recorder()->isRecording());
    BVSnipCommand().performDefaultImplementation();
    EXPECT_TRUE(recorder()->isRecording());
    controller->handleStopRecordingCommand(nullptr);
    EXPECT_FALSE(controller->IsBVRecording);
    EXPECT_TRUE(recorder()->isRecording()); // the recorder itself was not asked to stop
}
