// A start set for a moment of the clock and voice activation: the texts users type, the timer
// that waits on two clocks, what is kept across a restart, and the controller acting on both.
#include "ControllerTestSupport.h"

#include "platform/audio/VoiceTrigger.h"
#include "platform/foundation/Log.h"
#include "recording/RecordingSchedule.h"
#include "recording/RecordingStateText.h"
#include "recording/RecordingTermsFields.h"
#include "recording/VoiceActivation.h"
#include "ui_TimerWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {
QDateTime at(const char* text) {
    return QDateTime::fromString(QLatin1String(text), Qt::ISODate);
}
} // namespace

TEST(ScheduleTextTest, StartsAndLengthsAsUsersTypeThem) {
    const QDateTime now = at("2026-03-14T12:00:00");
    const struct {
        const char* text;
        std::optional<QDateTime> start;
    } starts[] = {
        {"14:00", at("2026-03-14T14:00:00")},
        {" 14:00:30 ", at("2026-03-14T14:00:30")},
        {"11:00", at("2026-03-15T11:00:00")}, // passed today: tomorrow
        {"12:00", now},                       // now is not yet passed
        {"Tomorrow 9:30", at("2026-03-15T09:30:00")},
        {"2026-03-20 08:15", at("2026-03-20T08:15:00")},
        {"2026-03-20T08:15:30", at("2026-03-20T08:15:30")},
        {"+90s", now.addSecs(90)},
        {"+1h30m", now.addSecs(5400)},
        {"@1700000000", QDateTime::fromSecsSinceEpoch(1700000000)},
        {"yesterday", std::nullopt},
        {"25:00", std::nullopt},
        {"tomorrow", std::nullopt},
        {"@-5", std::nullopt},
        {"+soon", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : starts)
        EXPECT_EQ(ScheduleText::parseStart(QLatin1String(c.text), now), c.start) << c.text;

    const struct {
        const char* text;
        std::optional<double> seconds;
    } lengths[] = {
        {"90", 90},
        {"90s", 90},
        {"2m", 120},
        {"1h30m", 5400},
        {"2.5s", 2.5},
        {"1:30", 90},
        {"1:02:03", 3723},
        {"1H", 3600},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1:2:3:4", std::nullopt},
        {"-5", std::nullopt},
        {"1:-2", std::nullopt},
        {"m", std::nullopt},
    };
    for (const auto& c : lengths)
        EXPECT_EQ(ScheduleText::parseDuration(QLatin1String(c.text)), c.seconds) << c.text;

    EXPECT_EQ(ScheduleText::shortStart(at("2026-03-14T14:00:00"), now),
              QLocale().toString(QTime(14, 0), QLocale::ShortFormat));
    EXPECT_TRUE(ScheduleText::shortStart(at("2026-03-16T14:00:00"), now)
                    .startsWith(QLocale().toString(QDate(2026, 3, 16), QStringLiteral("ddd"))));
}

class RecordingScheduleTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingSchedule::setWallClock([this] { return wallMs; });
    }
    void TearDown() override { RecordingSchedule::setWallClock(nullptr); }
    void pass(int64_t ms) { wallMs += ms; }
    int interval(const RecordingSchedule& s) const {
        return s.startTimer() && s.startTimer()->isActive() ? s.startTimer()->interval() : -1;
    }

    qint64 wallMs = 1'800'000'000'000;
};

TEST_F(RecordingScheduleTest, WaitsAMinuteAtATimeAndChecksTheWallClockAtEveryStep) {
    RecordingSchedule schedule;
    QSignalSpy due(&schedule, &RecordingSchedule::due);
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(wallMs + 150'000);
    ASSERT_EQ(schedule.arm({start, 2}), QString());
    EXPECT_EQ(interval(schedule), 60'000); // a minute at a time
    EXPECT_EQ(schedule.startTimer()->timerType(), Qt::PreciseTimer);

    pass(60'000);
    schedule.checkDue();
    EXPECT_EQ(interval(schedule), 60'000);
    pass(60'000);
    schedule.checkDue();
    EXPECT_EQ(interval(schedule), 30'000);
    EXPECT_EQ(schedule.millisecondsToStart(), 30'000);

    // A timer that fires early waits out the rest rather than starting before the moment.
    pass(29'900);
    schedule.checkDue();
    EXPECT_EQ(due.count(), 0);
    EXPECT_EQ(interval(schedule), 100);
    pass(100);
    schedule.checkDue();
    ASSERT_EQ(due.count(), 1);
    EXPECT_EQ(due[0][0].value<RecordingSchedule::Plan>(), (RecordingSchedule::Plan{start, 2}));
    EXPECT_FALSE(schedule.plan());
    schedule.checkDue(); // spent: once only
    EXPECT_EQ(due.count(), 1);
}

TEST_F(RecordingScheduleTest, AMachineThatSleptOrAClockSetAnewIsCaughtUpWith) {
    RecordingSchedule schedule;
    QSignalSpy due(&schedule, &RecordingSchedule::due);
    ASSERT_EQ(schedule.arm({QDateTime::fromMSecsSinceEpoch(wallMs + 3'600'000), 0}), QString());
    wallMs += 3'600'000; // asleep: the timer's minute had not yet passed
    schedule.checkDue();
    EXPECT_EQ(due.count(), 1);

    // Set back as the timer fires: the moment is the clock's, so the wait is measured again.
    ASSERT_EQ(schedule.arm({QDateTime::fromMSecsSinceEpoch(wallMs + 10'000), 0}), QString());
    wallMs -= 50'000;
    schedule.checkDue();
    EXPECT_EQ(due.count(), 1);
    EXPECT_EQ(interval(schedule), 60'000);
}

TEST_F(RecordingScheduleTest, RefusesWhatCannotBeArmedAndKeepsThePlanBefore) {
    RecordingSchedule schedule;
    const RecordingSchedule::Plan kept{QDateTime::fromMSecsSinceEpoch(wallMs + 5'000), 0};
    ASSERT_EQ(schedule.arm(kept), QString());
    const RecordingSchedule::Plan refused[] = {
        {QDateTime(), 0},
        {QDateTime::fromMSecsSinceEpoch(wallMs - 2'000), 0}, // passed
        {QDateTime::fromMSecsSinceEpoch(wallMs + 5'000), -1},
        {QDateTime::fromMSecsSinceEpoch(wallMs + 5'000), 1e12},
        {QDateTime::fromMSecsSinceEpoch(wallMs + 5'000), std::nan("")},
    };
    for (const auto& plan : refused) {
        EXPECT_FALSE(schedule.arm(plan).isEmpty()) << plan.start.toString().toStdString();
        EXPECT_EQ(schedule.plan(), kept);
    }
    // A command given for "now" that reaches us a moment late still starts.
    EXPECT_EQ(schedule.arm({QDateTime::fromMSecsSinceEpoch(wallMs - 500), 0}), QString());
    EXPECT_EQ(interval(schedule), 0);
    schedule.cancel();
    EXPECT_FALSE(schedule.plan());
    EXPECT_EQ(schedule.millisecondsToStart(), -1);
}

class RecordingTermsControllerTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        ASSERT_NE(recorder(), nullptr);
        recorder()->setTempFile(folder.filePath("take.mov"));
        RecordingSchedule::setWallClock([this] { return wallMs; });
    }
    void TearDown() override {
        RecordingSchedule::setWallClock(nullptr);
        ControllerTest::TearDown();
    }
    void poll() { recorder()->doIdleProcessing(nullptr); }
    QString stateText() const { return controller->_stateText->text(); }

    qint64 wallMs = QDateTime::currentMSecsSinceEpoch();
    QTemporaryDir folder;
};

TEST_F(RecordingTermsControllerTest, AScheduleCountsDownThenRecordsForItsLengthAndIsKept) {
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(wallMs + 90'000);
    ASSERT_EQ(controller->scheduleRecording(start, 2.5), QString());
    EXPECT_EQ(stateText(), RecordingStateText::words(
                               RecordingStateText::State::Scheduled,
                               ScheduleText::shortStart(start, QDateTime::currentDateTime())));
    EXPECT_EQ(controller->_statusText->text(), "00:01:30.00"); // the countdown
    EXPECT_EQ(
        RecordingSchedule::load(Defaults::standard()),
        (RecordingSchedule::Plan{QDateTime::fromSecsSinceEpoch(start.toSecsSinceEpoch()), 2.5}));
    // Voice activation waits for sound at no set moment: the two do not mix.
    VoiceActivation::Settings voice;
    voice.enabled = true;
    EXPECT_FALSE(controller->setVoiceActivation(voice).isEmpty());

    wallMs += 90'000;
    controller->recordingSchedule().checkDue();
    ASSERT_TRUE(recorder()->isRecording());
    EXPECT_EQ(recorder()->timedLength(), 150); // 2.5 s in ticks
    EXPECT_FALSE(controller->scheduledRecording());
    EXPECT_FALSE(RecordingSchedule::load(Defaults::standard()));
}

TEST_F(RecordingTermsControllerTest, AStoredScheduleIsArmedAgainOrToldWhenItsMomentPassed) {
    const QDateTime later = QDateTime::fromSecsSinceEpoch(wallMs / 1000 + 3600);
    RecordingSchedule::store(Defaults::standard(), RecordingSchedule::Plan{later, 60});
    controller->restoreSchedule();
    EXPECT_EQ(controller->scheduledRecording(), (RecordingSchedule::Plan{later, 60}));
    controller->cancelSchedule();
    EXPECT_FALSE(RecordingSchedule::load(Defaults::standard()));

    LogCapture log;
    RecordingSchedule::store(Defaults::standard(),
                             RecordingSchedule::Plan{later.addSecs(-7200), 60});
    controller->restoreSchedule();
    EXPECT_FALSE(controller->scheduledRecording());
    EXPECT_FALSE(recorder()->isRecording());
    EXPECT_FALSE(RecordingSchedule::load(Defaults::standard())); // told once, not again
    EXPECT_TRUE(log.lines().join('\n').contains("scheduled recording missed"))
        << log.lines().join('\n').toStdString();
}

TEST_F(RecordingTermsControllerTest, SoundStartsARecordingAndSilenceStopsOrPausesIt) {
    VoiceActivation::Settings voice;
    voice.enabled = true;
    voice.thresholdDb = -20;
    ASSERT_EQ(controller->setVoiceActivation(voice), QString());
    ASSERT_TRUE(grabber->listening);
    EXPECT_NEAR(grabber->gate.threshold, 0.1, 1e-9);
    EXPECT_EQ(grabber->gate.preRollSeconds, 0.5);
    EXPECT_EQ(grabber->gate.silenceSeconds, 3.0);
    EXPECT_EQ(stateText(), RecordingStateText::words(RecordingStateText::State::Listening));
    EXPECT_EQ(VoiceActivation::load(Defaults::standard()), voice);

    grabber->activity = {true, false};
    poll();
    ASSERT_TRUE(recorder()->isRecording());
    grabber->activity = {false, true};
    poll();
    EXPECT_FALSE(recorder()->isRecording());
    EXPECT_TRUE(recorder()->isListening()); // for the next burst

    voice.afterSilence = VoiceActivation::AfterSilence::Pause;
    ASSERT_EQ(controller->setVoiceActivation(voice), QString());
    grabber->activity = {true, false};
    poll();
    ASSERT_TRUE(recorder()->isRecording());
    grabber->activity = {false, true};
    poll();
    EXPECT_TRUE(recorder()->isPaused());
    grabber->activity = {true, false};
    poll();
    EXPECT_TRUE(recorder()->isRecording());
    EXPECT_FALSE(recorder()->isPaused()); // the same recording resumed

    // Switched off, the running recording goes on until it is stopped.
    voice.enabled = false;
    ASSERT_EQ(controller->setVoiceActivation(voice), QString());
    EXPECT_FALSE(grabber->listening);
    EXPECT_TRUE(recorder()->isRecording());
}

TEST(VoiceActivationTest, SettingsOutOfRangeAreRefusedAndHandEditedOnesStartOver) {
    VoiceActivation::Settings s;
    const struct {
        QVariantMap changes;
        bool accepted;
    } cases[] = {
        {{{"threshold", -30}, {"silence", 1.5}, {"preRoll", 1}, {"afterSilence", "Pause"}}, true},
        {{{"threshold", -61}}, false},
        {{{"threshold", 1}}, false},
        {{{"silence", 0.05}}, false},
        {{{"preRoll", 4}}, false},
        {{{"afterSilence", "sleep"}}, false},
        {{{"threshold", "loud"}}, false},
        {{{"colour", 3}}, false},
        {{{"enabled", true}}, true},
    };
    for (const auto& c : cases) {
        const VoiceActivation::Settings before = s;
        EXPECT_EQ(VoiceActivation::applyMap(c.changes, &s).isEmpty(), c.accepted)
            << QVariant(c.changes).toString().toStdString();
        if (!c.accepted) {
            EXPECT_EQ(s, before);
        }
    }
    EXPECT_EQ(VoiceActivation::toMap(s), (QVariantMap{{"enabled", true},
                                                      {"threshold", -30.0},
                                                      {"silence", 1.5},
                                                      {"preRoll", 1.0},
                                                      {"afterSilence", "pause"}}));
}

TEST(VoiceTriggerTest, ARunBeginsOnlyAfterTheSetSilence) {
    VoiceTrigger trigger;
    constexpr uint32_t kThreshold = 1000;
    trigger.configure(kThreshold, 10);
    std::vector<int32_t> samples(2 * 40, 0);
    auto loud = [&](size_t frame, int channel) {
        samples[2 * frame + size_t(channel)] = -int32_t(kThreshold + 1) * 256;
    };
    loud(5, 0);
    loud(8, 1);                                  // within the silence: the same run
    loud(25, 0);                                 // 17 frames after the last: a new run
    samples[2 * 30] = int32_t(kThreshold) * 256; // at the threshold is not above it
    trigger.scan(samples.data(), 20, 2, 100);
    EXPECT_EQ(trigger.runStart(), 105u);
    EXPECT_EQ(trigger.lastLoudEnd(), 109u);
    trigger.scan(samples.data() + 40, 20, 2, 120);
    EXPECT_EQ(trigger.runStart(), 125u);
    EXPECT_EQ(trigger.lastLoudEnd(), 126u);

    // Set anew, what was heard is forgotten; off, nothing is heard.
    trigger.configure(kThreshold, 10);
    trigger.scan(samples.data() + 40, 4, 2, 200);
    EXPECT_EQ(trigger.runStart(), VoiceTrigger::kNone);
    trigger.switchOff();
    EXPECT_FALSE(trigger.isOn());
    trigger.scan(samples.data(), 20, 2, 300);
    EXPECT_EQ(trigger.runStart(), VoiceTrigger::kNone);
}

TEST_F(RecordingTermsControllerTest, TheTimerSheetSchedulesAndSwitchesVoiceActivation) {
    RecordingTermsFields* fields = ui->timerUi().termsFields;
    ASSERT_NE(fields, nullptr);
    QLabel* message = ui->timerUi().timerMessage;
    controller->showTimerWindow(nullptr);
    EXPECT_FALSE(fields->startBox()->isChecked());
    EXPECT_FALSE(fields->startField()->isEnabled());
    EXPECT_EQ(fields->startField()->time().minute(), 0); // offered on the hour
    const QList<QWidget*> controls{fields->startBox(),     fields->startField(),
                                   fields->voiceBox(),     fields->thresholdField(),
                                   fields->silenceField(), fields->afterSilenceMenu(),
                                   fields->preRollField()};
    for (QWidget* control : controls) {
        EXPECT_FALSE(control->accessibleName().isEmpty());
        EXPECT_FALSE(control->accessibleDescription().isEmpty());
    }

    // A moment passed is refused in the sheet, which stays open.
    const QDateTime today = QDateTime::fromMSecsSinceEpoch(wallMs);
    QTest::mouseClick(fields->startBox(), Qt::LeftButton);
    fields->startField()->setDateTime(today.addSecs(-3600));
    controller->closeTimerWindow(nullptr);
    EXPECT_TRUE(controller->timerWindow->isVisible());
    EXPECT_FALSE(message->text().isEmpty());
    EXPECT_FALSE(controller->scheduledRecording());

    const QDateTime later(today.date().addDays(1), QTime(6, 30));
    fields->startField()->setDateTime(later);
    controller->closeTimerWindow(nullptr);
    EXPECT_FALSE(controller->timerWindow->isVisible());
    ASSERT_TRUE(controller->scheduledRecording());
    EXPECT_EQ(controller->scheduledRecording()->start, later);

    // Reopened, it shows the schedule; choosing voice activation there replaces it.
    controller->showTimerWindow(nullptr);
    EXPECT_TRUE(fields->startBox()->isChecked());
    EXPECT_EQ(fields->startField()->dateTime(), later);
    QTest::mouseClick(fields->voiceBox(), Qt::LeftButton);
    EXPECT_FALSE(fields->startBox()->isChecked());
    fields->thresholdField()->setValue(-30);
    fields->afterSilenceMenu()->setCurrentIndex(1);
    controller->closeTimerWindow(nullptr);
    EXPECT_FALSE(controller->timerWindow->isVisible());
    EXPECT_FALSE(controller->scheduledRecording());
    EXPECT_TRUE(controller->voiceActivation().enabled);
    EXPECT_EQ(controller->voiceActivation().thresholdDb, -30);
    EXPECT_EQ(controller->voiceActivation().afterSilence, VoiceActivation::AfterSilence::Pause);
    EXPECT_TRUE(grabber->listening);

    // And off again.
    controller->showTimerWindow(nullptr);
    QTest::mouseClick(fields->voiceBox(), Qt::LeftButton);
    controller->closeTimerWindow(nullptr);
    EXPECT_FALSE(controller->voiceActivation().enabled);
    EXPECT_FALSE(grabber->listening);
}
