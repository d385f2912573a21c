// Closing the window while recording: the question and its two answers, and the background
// indicator's Stop, on the real window under the offscreen platform.
#include "ControllerTestSupport.h"

#include "app/CloseWhileRecording.h"
#include "platform/foundation/LocalizedString.h"
#include "support/FakeNotificationServer.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

class CloseWhileRecordingTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        ASSERT_NE(recorder(), nullptr);
        guard = ui->closeGuard();
        ASSERT_NE(guard, nullptr);
        guard->setQuit([this] { ++quits; });
        window = ui->window();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    void TearDown() override {
        QApplication::setQuitOnLastWindowClosed(true);
        ControllerTest::TearDown();
    }
    void record() {
        controller->startRecording(nullptr);
        ASSERT_TRUE(recorder()->isRecording());
    }
    // Closes the window as its close button does; answers the question it asks.
    QMessageBox* closeAndAsk() {
        window->close();
        return guard->question();
    }

    CloseWhileRecording* guard = nullptr;
    QMainWindow* window = nullptr;
    int quits = 0;
};

TEST_F(CloseWhileRecordingTest, WithNothingRunningTheWindowClosesWithoutAQuestion) {
    EXPECT_EQ(closeAndAsk(), nullptr);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(CloseWhileRecordingTest, StopAndQuitEndsTheRecordingAndQuits) {
    record();
    QMessageBox* question = closeAndAsk();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(recorder()->isRecording());
    EXPECT_TRUE(question->isVisible());
    EXPECT_EQ(question->windowModality(), Qt::WindowModal);
    EXPECT_EQ(guard->keepButton()->text(), BVLocalizedString("KeepRecordingInBackground"));
    EXPECT_EQ(guard->stopButton()->text(), BVLocalizedString("StopAndQuit"));
    for (QPushButton* button : {guard->keepButton(), guard->stopButton()})
        EXPECT_FALSE(button->accessibleDescription().isEmpty());

    QTest::mouseClick(guard->stopButton(), Qt::LeftButton);
    EXPECT_FALSE(recorder()->isRecording());
    EXPECT_EQ(quits, 1);
}

TEST_F(CloseWhileRecordingTest, AQuitClosesTheWindowWithoutAsking) {
    record();
    // The menu's Quit, the bus's and a signal's all send this; the recording is completed as
    // Brevoir quits.
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(qApp, &quit);
    EXPECT_EQ(guard->question(), nullptr);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(CloseWhileRecordingTest, CancellingKeepsTheWindowAndTheRecording) {
    record();
    QMessageBox* question = closeAndAsk();
    ASSERT_NE(question, nullptr);
    QTest::keyClick(question, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(recorder()->isRecording());
    EXPECT_FALSE(guard->inBackground());
    EXPECT_EQ(quits, 0);
}

TEST_F(CloseWhileRecordingTest, KeepInTheBackgroundClosesTheWindowAndOffersStop) {
    REQUIRE_OR_SKIP_OUTSIDE_RIG(QDBusConnection::sessionBus().isConnected(), "a session bus");
    FakeNotificationServer server;
    ASSERT_TRUE(server.isServing());
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()); // the rig has no tray host
    record();
    ASSERT_NE(closeAndAsk(), nullptr);
    QTest::mouseClick(guard->keepButton(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(recorder()->isRecording());
    EXPECT_TRUE(guard->inBackground());
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    EXPECT_EQ(quits, 0);

    // A notice that stays, naming the recording, with Stop.
    QDeadlineTimer deadline(10000);
    while (server.notices.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_EQ(server.notices.size(), 1u);
    const FakeNotificationServer::Notice notice = server.notices[0];
    EXPECT_TRUE(notice.hints.value("resident").toBool());
    EXPECT_EQ(notice.timeout, 0);
    EXPECT_TRUE(notice.body.contains(QFileInfo(recorder()->tempFile()).fileName()));
    EXPECT_EQ(notice.actions.value(0), "stop");

    // Stop there ends the recording, and with nothing left to run, Brevoir.
    server.invokeAction(notice.id, "stop");
    deadline = QDeadlineTimer(10000);
    while (quits == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(recorder()->isRecording());
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(guard->inBackground());
    deadline = QDeadlineTimer(10000);
    while (server.closedIds.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(server.closedIds, std::vector<uint>{notice.id});
}

TEST_F(CloseWhileRecordingTest, ATimedRecordingEndingInTheBackgroundIsToldBeforeBrevoirQuits) {
    REQUIRE_OR_SKIP_OUTSIDE_RIG(QDBusConnection::sessionBus().isConnected(), "a session bus");
    FakeNotificationServer server;
    ASSERT_TRUE(server.isServing());
    QTemporaryDir folder;
    recorder()->setTempFile(folder.filePath("take.mov"));
    recorder()->setIsTimed(true);
    recorder()->setTimedLength(60);
    ASSERT_TRUE(recorder()->doRecord());
    ASSERT_NE(closeAndAsk(), nullptr);
    QTest::mouseClick(guard->keepButton(), Qt::LeftButton);
    ASSERT_TRUE(guard->inBackground());

    now += 90;
    recorder()->doIdleProcessing(nullptr); // reaches the length
    recorder()->doIdleProcessing(nullptr); // ends there
    ASSERT_FALSE(recorder()->isRecording());
    QDeadlineTimer deadline(10000);
    while (quits == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(quits, 1);
    // The indicator, then the recording's end: both out before the quit.
    ASSERT_EQ(server.notices.size(), 2u);
    EXPECT_EQ(server.notices[1].summary, BVLocalizedString("NoticeRecordingFinished"));
}
