// The desktop is told of a recording that ended by itself only while the window is not the
// active one, through a notification server of the test's own on the rig's session bus.
#include "ControllerTestSupport.h"

#include "app/DesktopNotices.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "recording/RecordingSchedule.h"
#include "support/FakeNotificationServer.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// Runs the event loop until cond holds, waking for events rather than for time.
bool processUntil(const std::function<bool()>& cond, int timeoutMs = 10000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}
} // namespace

class RecordingNoticesTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        ASSERT_NE(recorder(), nullptr);
        RecordingSchedule::setWallClock([this] { return wallMs; });
    }
    void TearDown() override {
        RecordingSchedule::setWallClock(nullptr);
        ControllerTest::TearDown();
    }
    // A recording of a second, started by a schedule and ended by its length.
    void recordASecondTimed() {
        ASSERT_EQ(controller->scheduleRecording(QDateTime::fromMSecsSinceEpoch(wallMs), 1), "");
        controller->recordingSchedule().checkDue();
        ASSERT_TRUE(recorder()->isRecording());
        now += 90;
        recorder()->doIdleProcessing(nullptr); // reaches the length
        recorder()->doIdleProcessing(nullptr); // ends there
        ASSERT_FALSE(recorder()->isRecording());
    }

    qint64 wallMs = QDateTime::currentMSecsSinceEpoch();
};

TEST_F(RecordingNoticesTest, ATimedRecordingThatEndsIsToldOnlyWhileTheWindowIsNotActive) {
    REQUIRE_OR_SKIP_OUTSIDE_RIG(QDBusConnection::sessionBus().isConnected(), "a session bus");
    FakeNotificationServer server;
    ASSERT_TRUE(server.isServing());
    LogCapture log;

    QMainWindow* window = ui->window();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    recordASecondTimed();
    QCoreApplication::processEvents();
    EXPECT_FALSE(log.lines().join('\n').contains("notice:"));

    // Another window takes the focus: the user looks elsewhere.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    recordASecondTimed();
    ASSERT_TRUE(processUntil([&] { return !server.notices.empty(); }));
    // Exactly one: the first recording, ended under the user's eyes, sent nothing before it.
    ASSERT_EQ(server.notices.size(), 1u);
    const FakeNotificationServer::Notice& notice = server.notices[0];
    EXPECT_EQ(notice.summary, BVLocalizedString("NoticeRecordingFinished"));
    EXPECT_TRUE(notice.body.startsWith(QFileInfo(recorder()->tempFile()).fileName() + " ("))
        << notice.body.toStdString();
    EXPECT_TRUE(notice.body.endsWith(BVLocalizedString("NoticeEndedByTimer")));
    EXPECT_EQ(notice.actions, (QStringList{"show", BVLocalizedString("NoticeShow"), "play",
                                           BVLocalizedString("NoticePlay")}));

    // Its Show brings the window back to the front.
    server.invokeAction(notice.id, "show");
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));

    // A stop the user asked for is not told, whatever window is active.
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    ASSERT_EQ(controller->scheduleRecording(QDateTime::fromMSecsSinceEpoch(wallMs), 0), "");
    controller->recordingSchedule().checkDue();
    recorder()->doStop();
    QCoreApplication::processEvents();
    server.invokeAction(9999, "show"); // a round trip through the bus
    QCoreApplication::processEvents();
    EXPECT_EQ(server.notices.size(), 1u);
}

TEST_F(RecordingNoticesTest, TheEndOfASyncIsToldWithWhatWentWrong) {
    REQUIRE_OR_SKIP_OUTSIDE_RIG(QDBusConnection::sessionBus().isConnected(), "a session bus");
    FakeNotificationServer server;
    ASSERT_TRUE(server.isServing());
    // No window shown: none is active.
    emit controller->syncFinished(QString());
    emit controller->syncFinished(QStringLiteral("The playlist could not be written."));
    ASSERT_TRUE(processUntil([&] { return server.notices.size() == 2; }));
    EXPECT_EQ(server.notices[0].summary, BVLocalizedString("NoticeSyncFinished"));
    EXPECT_EQ(server.notices[0].hints.value("urgency").toInt(), 1);
    EXPECT_EQ(server.notices[1].summary, BVLocalizedString("NoticeSyncFailed"));
    EXPECT_EQ(server.notices[1].body, "The playlist could not be written.");
    EXPECT_EQ(server.notices[1].hints.value("urgency").toInt(), 2);
    EXPECT_EQ(server.notices[1].actions, (QStringList{"show", BVLocalizedString("NoticeShow")}));
}
