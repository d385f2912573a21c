#include "RecorderTestSupport.h"

#include "platform/foundation/Log.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstring>

namespace {
int statusValue(const Notification* n, const char* key) {
    return n ? n->userInfo.value(QLatin1String(key)).toInt() : -1;
}

int activeTimers(const QKRecorder& r) {
    int active = 0;
    for (const QTimer* timer : r.findChildren<QTimer*>())
        active += timer->isActive() ? 1 : 0;
    return active;
}
} // namespace

TEST_F(RecorderTest, InitConfiguresTheGrabberAndOffersTheExtraRates) {
    LogCapture log;
    recorder = QKRecorder::create(fakeGrabberFactory(grabber));
    ASSERT_NE(recorder, nullptr);
    EXPECT_EQ(grabber->calls, (QStringList{"initialize", "newSoundChannel", "setChannelUsage 3",
                                           "setChannelVolume 16", "setAdditionalSoundRates"}));
    ASSERT_EQ(grabber->rates.size(), 20);
    const int32_t expected[] = {8000 << 16, 11025 << 16, 16000 << 16, 22050 << 16, 32000 << 16};
    EXPECT_EQ(std::memcmp(grabber->rates.constData(), expected, sizeof expected), 0);
    EXPECT_EQ(recorder->tempFile(), TestEnvironment::home() + "/Desktop/soundz.mov");
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_FALSE(recorder->isPreviewing() || recorder->isRecording() || recorder->isPaused());
}

TEST_F(RecorderTest, EachFailingInitStepIsLoggedReleasesTheGrabberAndAnswersNone) {
    struct Step {
        const char* operation;
        const char* line;
        bool channelDisposed;
    };
    const Step steps[] = {
        {"initialize", "error: -2003 - couldn't initialize sequence grabber", false},
        {"newSoundChannel", "error: -2003 - couldn't create sound channel", false},
        {"setChannelUsage", "error: -2003 - couldn't initialize sound channel", true},
        {"setChannelVolume", "error: -2003 - couldn't set channel volume", true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.operation);
        auto state = std::make_shared<FakeGrabberState>();
        state->failures[step.operation] = GrabberErr::deviceFailed;
        LogCapture log;
        EXPECT_EQ(QKRecorder::create(fakeGrabberFactory(state)), nullptr);
        EXPECT_EQ(log.lines(), QStringList{step.line});
        EXPECT_EQ(state->count("disposeChannel"), step.channelDisposed ? 1 : 0);
        EXPECT_TRUE(state->destroyed);
        EXPECT_EQ(state->count("setAdditionalSoundRates"), 0);
    }

    // No grabber at all fails like a grabber that cannot be initialised.
    LogCapture log;
    EXPECT_EQ(QKRecorder::create([] { return std::unique_ptr<SequenceGrabber>(); }), nullptr);
    EXPECT_EQ(log.lines(), QStringList{"error: -2000 - couldn't initialize sequence grabber"});
}

TEST_F(RecorderTest, PreviewPollsAndReportsFromZero) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingStatusUpdate});
    LogCapture log;
    ASSERT_TRUE(r.doPreview());
    EXPECT_EQ(log.lines(), QStringList{"error: 0 channel count: 2"});
    EXPECT_EQ(grabber->calls,
              (QStringList{"setLevelMetering 1", "getChannelCount", "startPreview"}));
    ASSERT_NE(r.idleTimer(), nullptr);
    EXPECT_TRUE(r.idleTimer()->isActive());
    // No window shows the status: four times a second.
    EXPECT_EQ(r.idleTimer()->interval(), 250);

    advanceSeconds(2);
    r.doIdleProcessing(r.idleTimer());
    const Notification* status = spy.last(QKRecorderRecordingStatusUpdate);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->object, &r);
    EXPECT_EQ(statusValue(status, "time"), 120);
    EXPECT_EQ(statusValue(status, "left"), 40);
    EXPECT_EQ(statusValue(status, "right"), 12);

    // The timed length ends recordings, not a preview.
    r.setIsTimed(true);
    r.setTimedLength(60);
    advanceSeconds(1);
    r.doIdleProcessing(nullptr);
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(spy.count(QKRecorderRecordingStatusUpdate), 3);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "time"), 180);
    EXPECT_TRUE(r.isPreviewing());

    r.doPreviewStop();
    EXPECT_FALSE(r.isPreviewing());
    EXPECT_EQ(r.idleTimer(), nullptr);
    EXPECT_EQ(grabber->count("stop"), 1);
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(spy.count(QKRecorderRecordingStatusUpdate), 3);
}

TEST_F(RecorderTest, SixtySecondsWithTwoFiveSecondPausesReportFiftySeconds) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingStatusUpdate, QKRecorderRecordingDidStop});
    ASSERT_TRUE(r.doRecord());
    EXPECT_TRUE(r.isRecording());

    advanceSeconds(10);
    r.doPause();
    EXPECT_TRUE(r.isPaused());
    advanceSeconds(5);
    // While paused nothing is posted and the grabber gets no time.
    const int idles = grabber->count("idle");
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(spy.count(QKRecorderRecordingStatusUpdate), 0);
    EXPECT_EQ(grabber->count("idle"), idles);
    r.doPause();
    EXPECT_FALSE(r.isPaused());

    advanceSeconds(20);
    r.doPause();
    advanceSeconds(5);
    r.doPause();
    advanceSeconds(20);
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "time"), 3000);
    EXPECT_EQ(grabber->count("pause 1"), 2);
    EXPECT_EQ(grabber->count("pause 0"), 2);

    // A preview after that recording counts from 0 again.
    r.doStop();
    EXPECT_EQ(spy.count(QKRecorderRecordingDidStop), 1);
    ASSERT_TRUE(r.doPreview());
    advanceSeconds(1);
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "time"), 60);
}

TEST_F(RecorderTest, TimedLengthZeroReportsZeroThenStopsAtTheSecondPoll) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingStatusUpdate, QKRecorderRecordingDidStop});
    r.setIsTimed(true);
    r.setTimedLength(0);
    ASSERT_TRUE(r.doRecord());
    advanceSeconds(3);
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "time"), 0);
    EXPECT_TRUE(r.isRecording());
    EXPECT_EQ(spy.count(QKRecorderRecordingDidStop), 0);

    r.doIdleProcessing(nullptr);
    EXPECT_FALSE(r.isRecording());
    EXPECT_EQ(spy.count(QKRecorderRecordingDidStop), 1);
    EXPECT_EQ(spy.count(QKRecorderRecordingStatusUpdate), 1);
    EXPECT_EQ(grabber->count("stop"), 1);
    EXPECT_EQ(r.idleTimer(), nullptr);
}

TEST_F(RecorderTest, TimedCutOffFiresAtTheTimedLengthWithoutAPollAndWaitsOutPauses) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingStatusUpdate, QKRecorderRecordingDidStop});
    r.setIsTimed(true);
    r.setTimedLength(300);
    EXPECT_EQ(r.cutOffTimer(), nullptr);
    ASSERT_TRUE(r.doRecord());
    ASSERT_NE(r.cutOffTimer(), nullptr);
    EXPECT_TRUE(r.cutOffTimer()->isActive());
    EXPECT_TRUE(r.cutOffTimer()->isSingleShot());
    EXPECT_EQ(r.cutOffTimer()->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(r.cutOffTimer()->interval(), 5000);

    // A pause holds the cut-off back; resuming arms it for what remains.
    advanceSeconds(2);
    r.doPause();
    EXPECT_EQ(r.cutOffTimer(), nullptr);
    advanceSeconds(5);
    r.doPause();
    ASSERT_NE(r.cutOffTimer(), nullptr);
    EXPECT_EQ(r.cutOffTimer()->interval(), 3000);

    // Changing the length or switching the timer off while recording takes effect at once.
    r.setTimedLength(360);
    EXPECT_EQ(r.cutOffTimer()->interval(), 4000);
    r.setIsTimed(false);
    EXPECT_EQ(r.cutOffTimer(), nullptr);
    r.setIsTimed(true);
    r.setTimedLength(300);

    // A timer that fires early waits again for the rest.
    now += 3 * 60 - 1;
    r.doTimedCutOff();
    EXPECT_TRUE(r.isRecording());
    ASSERT_NE(r.cutOffTimer(), nullptr);
    EXPECT_EQ(r.cutOffTimer()->interval(), 17);

    now += 1;
    r.doTimedCutOff();
    EXPECT_FALSE(r.isRecording());
    EXPECT_EQ(r.cutOffTimer(), nullptr);
    EXPECT_EQ(r.idleTimer(), nullptr);
    EXPECT_EQ(spy.count(QKRecorderRecordingDidStop), 1);
    ASSERT_EQ(spy.count(QKRecorderRecordingStatusUpdate), 1);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "time"), 300);
    EXPECT_EQ(spy.received.back().name, QKRecorderRecordingDidStop);
    EXPECT_EQ(grabber->count("stop"), 1);
}

TEST_F(RecorderTest, TheCutOffTimerEndsARecordingThroughTheEventLoop) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingDidStop});
    r.setIsTimed(true);
    r.setTimedLength(0);
    ASSERT_TRUE(r.doRecord());
    QCoreApplication::processEvents();
    EXPECT_FALSE(r.isRecording());
    EXPECT_EQ(spy.count(QKRecorderRecordingDidStop), 1);
}

TEST_F(RecorderTest, TimedRecordingPausedWhileStoppingStopsAtTheFirstPollAfterResuming) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingDidStop});
    r.setIsTimed(true);
    r.setTimedLength(600);
    ASSERT_TRUE(r.doRecord());
    advanceSeconds(11);
    r.doIdleProcessing(nullptr); // reaches the length
    r.doPause();
    r.doIdleProcessing(nullptr);
    EXPECT_TRUE(r.isRecording());
    r.doPause();
    r.doIdleProcessing(nullptr);
    EXPECT_FALSE(r.isRecording());
    EXPECT_EQ(spy.count(QKRecorderRecordingDidStop), 1);
}

TEST_F(RecorderTest, LevelsAreZeroWhenIdleFailsAndRightIsZeroForOneChannel) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingStatusUpdate});
    ASSERT_TRUE(r.doRecord());
    grabber->failures["idle"] = GrabberErr::deviceFailed;
    LogCapture log;
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "left"), 0);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "right"), 0);
    EXPECT_EQ(grabber->count("getActiveLevels"), 0);
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_TRUE(r.isRecording());

    grabber->failures.remove("idle");
    grabber->channelCount = 1;
    grabber->levels[0] = 77;
    grabber->levels[1] = 55; // never written by a one-channel input
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "left"), 77);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "right"), 0);

    // No input driver: the levels are not read.
    grabber->hasDriver = false;
    const int reads = grabber->count("getActiveLevels");
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(grabber->count("getActiveLevels"), reads);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "left"), 0);
}

TEST_F(RecorderTest, RefusedStartsAndIdleStopsOrPausesDoNothing) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingDidStop, QKRecorderRecordingStatusUpdate});
    LogCapture log;
    r.doStop();
    r.doPause();
    r.doPreviewStop();
    EXPECT_TRUE(grabber->calls.isEmpty());
    EXPECT_TRUE(spy.received.empty());

    ASSERT_TRUE(r.doPreview());
    log.clear();
    grabber->calls.clear();
    EXPECT_FALSE(r.doRecord());
    EXPECT_FALSE(r.doPreview());
    r.doStop();
    r.doPause();
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_TRUE(grabber->calls.isEmpty());
    EXPECT_TRUE(r.isPreviewing());
    EXPECT_FALSE(QFileInfo::exists(r.tempFile()));
    r.doPreviewStop();

    ASSERT_TRUE(r.doRecord());
    log.clear();
    grabber->calls.clear();
    EXPECT_FALSE(r.doPreview());
    EXPECT_FALSE(r.doRecord());
    r.doPreviewStop();
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_TRUE(grabber->calls.isEmpty());
    EXPECT_TRUE(r.isRecording());
    EXPECT_EQ(spy.count(QKRecorderRecordingDidStop), 0);
}

TEST_F(RecorderTest, RecordReplacesTheFileAtItsPathAndCreatesItWhenMissing) {
    QKRecorder& r = makeRecorder();
    const QString path = r.tempFile();
    LogCapture log;
    ASSERT_TRUE(r.doRecord());
    EXPECT_EQ(log.lines(),
              (QStringList{"creating file", "  file is ok: 1", "error: 0 channel count: 2"}));
    EXPECT_EQ(
        grabber->calls,
        (QStringList{"deleteMovieFile " + path, "setDataOutput " + path + " 1",
                     "createMovieFile " + path + " 54564f44 -1 70000000", "setLevelMetering 1",
                     "getChannelCount", "setMaximumRecordTime 0", "startRecord"}));
    r.doStop();

    // An older file at the path is replaced: not created again, deleted, made afresh.
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older take");
    }
    log.clear();
    ASSERT_TRUE(r.doRecord());
    EXPECT_FALSE(log.contains("creating file"));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    r.doStop();
}

TEST_F(RecorderTest, UnresolvablePathEndsRecordBeforeAnyGrabberCall) {
    QKRecorder& r = makeRecorder();
    r.setTempFile(folder.filePath("no/such/folder/take.mov"));
    LogCapture log;
    EXPECT_FALSE(r.doRecord());
    EXPECT_EQ(log.lines(), (QStringList{"creating file", "  file is ok: 0",
                                        "error - couldn't convert path to file spec"}));
    EXPECT_TRUE(grabber->calls.isEmpty());
    EXPECT_EQ(r.idleTimer(), nullptr);
    EXPECT_FALSE(r.isRecording());
}

TEST_F(RecorderTest, FailedStartsAreLoggedCancelTheirTimerAndLeaveTheRecorderIdle) {
    QKRecorder& r = makeRecorder();
    struct Case {
        const char* operation;
        const char* line;
        bool record;
    };
    const Case cases[] = {
        {"startPreview", "error - couldn't start previewing", false},
        {"setDataOutput", "error - couldn't set data output", true},
        {"createMovieFile", "error - couldn't create movie file", true},
        {"startRecord", "error - couldn't start recording", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        grabber->failures.clear();
        grabber->failures[c.operation] = GrabberErr::deviceFailed;
        LogCapture log;
        EXPECT_FALSE(c.record ? r.doRecord() : r.doPreview());
        EXPECT_TRUE(log.contains(c.line));
        EXPECT_EQ(r.idleTimer(), nullptr);
        EXPECT_EQ(activeTimers(r), 0);
        EXPECT_FALSE(r.isPreviewing() || r.isRecording());
        // No empty recording is left for the list to show.
        EXPECT_FALSE(QFile::exists(r.tempFile()));
    }
    // A failed time limit is only logged.
    grabber->failures.clear();
    grabber->failures["setMaximumRecordTime"] = GrabberErr::paramErr;
    LogCapture log;
    EXPECT_TRUE(r.doRecord());
    EXPECT_TRUE(log.contains("error clearing time limit"));
    EXPECT_NE(r.idleTimer(), nullptr);
    EXPECT_EQ(activeTimers(r), 1);
}

TEST_F(RecorderTest, GrabberErrorsOnPauseAndStopAreLoggedWithTheirCode) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingDidStop});
    ASSERT_TRUE(r.doRecord());
    grabber->failures["pause"] = GrabberErr::wrongState;
    LogCapture log;
    r.doPause();
    EXPECT_EQ(log.lines(), QStringList{"error: -2004 - couldn't pause/unpause recording"});
    EXPECT_FALSE(r.isPaused());

    grabber->failures["stop"] = GrabberErr::fileError;
    r.doStop();
    EXPECT_TRUE(log.contains("error: -2006 - couldn't stop recording"));
    EXPECT_FALSE(r.isRecording());
    EXPECT_EQ(spy.count(QKRecorderRecordingDidStop), 1);
}

TEST_F(RecorderTest, SettingsExportCapturesTheChannelAndImportConfiguresIt) {
    QKRecorder& r = makeRecorder();
    grabber->channel.sampleRate = 22050;
    grabber->channel.channels = 1;
    QByteArray expected;
    ASSERT_EQ(PutUserDataIntoHandle(grabber->channel, &expected), 0);

    EXPECT_EQ(r.currentSoundSettings(), expected);
    EXPECT_EQ(grabber->count("getChannelSettings"), 1);
    EXPECT_EQ(r.currentSoundSettings(), expected); // the same record, not captured again
    EXPECT_EQ(grabber->count("getChannelSettings"), 1);

    r.setCurrentSoundSettings(QByteArray());
    EXPECT_EQ(r.currentSoundSettings(), expected);

    ChannelSettings other;
    other.sampleRate = 48000;
    other.sampleBits = 24;
    QByteArray otherBytes;
    ASSERT_EQ(PutUserDataIntoHandle(other, &otherBytes), 0);
    r.setCurrentSoundSettings(otherBytes);
    EXPECT_EQ(r.currentSoundSettings(), otherBytes);
    // Saved settings take effect at once, not at the next opening of the dialog.
    EXPECT_EQ(grabber->count("setChannelSettings"), 1);
    EXPECT_EQ(grabber->channel, other);

    // Bytes we did not write are refused; the settings stay.
    LogCapture log;
    r.setCurrentSoundSettings(QByteArray("not our settings"));
    EXPECT_EQ(r.currentSoundSettings(), otherBytes);
    EXPECT_EQ(log.lines(), QStringList{"error: -2007 - couldn't read channel settings"});

    grabber->dialogResult = GrabberErr::userCanceled;
    EXPECT_EQ(r.showSoundSettings(), 0);
    EXPECT_EQ(grabber->channel, other);
}

TEST_F(RecorderTest, ImportedSettingsWaitForARunningCaptureAndNameAMissingInput) {
    QKRecorder& r = makeRecorder();
    grabber->presentDevices = {"USB Mic"};
    struct Case {
        const char* device;
        bool whilePreviewing;
        QString missing;
    };
    const Case cases[] = {
        {"USB Mic", false, QString()},
        {"Headset (unplugged)", false, "Headset (unplugged)"},
        {"", false, QString()},
        {"USB Mic", true, QString()},
    };
    for (const Case& c : cases) {
        ChannelSettings stored;
        stored.inputDevice = QString::fromUtf8(c.device);
        stored.sampleRate = 22050;
        stored.channels = 1;
        QByteArray bytes;
        ASSERT_EQ(PutUserDataIntoHandle(stored, &bytes), 0);
        grabber->channel = ChannelSettings();
        if (c.whilePreviewing) {
            ASSERT_TRUE(r.doPreview());
        }
        LogCapture log;
        r.setCurrentSoundSettings(bytes);
        if (c.whilePreviewing) {
            // A running capture keeps its format; the settings apply once it stops.
            EXPECT_EQ(grabber->channel, ChannelSettings()) << c.device;
            r.doPreviewStop();
        }
        EXPECT_EQ(grabber->channel, stored) << c.device;
        // The stored choice is kept for when the device returns.
        EXPECT_EQ(r.currentSoundSettings(), bytes) << c.device;
        EXPECT_EQ(r.missingInputDevice(), c.missing) << c.device;
        EXPECT_EQ(log.contains(QStringLiteral("input device \"%1\" is not present; recording "
                                              "from the default input")
                                   .arg(c.missing)),
                  !c.missing.isEmpty())
            << c.device;
    }
}

TEST_F(RecorderTest, ExportWithoutReadableSettingsAnswersNone) {
    QKRecorder& r = makeRecorder();
    grabber->failures["getChannelSettings"] = GrabberErr::noChannel;
    EXPECT_TRUE(r.currentSoundSettings().isNull());
}

TEST_F(RecorderTest, SettingsDialogIsRefusedWhileRunningAndCapturesAfterwards) {
    QKRecorder& r = makeRecorder();
    ASSERT_TRUE(r.doPreview());
    grabber->calls.clear();
    EXPECT_EQ(r.showSoundSettings(), -1);
    EXPECT_EQ(grabber->count("settingsDialog"), 0);
    r.doPreviewStop();
    ASSERT_TRUE(r.doRecord());
    EXPECT_EQ(r.showSoundSettings(), -1);
    r.doStop();

    // Cancelled: 0, and the unchanged settings are captured.
    LogCapture log;
    grabber->dialogResult = GrabberErr::userCanceled;
    const ChannelSettings before = grabber->channel;
    EXPECT_EQ(r.showSoundSettings(), 0);
    EXPECT_TRUE(log.lines().isEmpty());
    QByteArray bytes;
    PutUserDataIntoHandle(before, &bytes);
    EXPECT_EQ(r.currentSoundSettings(), bytes);

    // Confirmed: the new choice is captured.
    grabber->dialogResult = GrabberErr::noErr;
    grabber->dialogChoice.sampleRate = 32000;
    EXPECT_EQ(r.showSoundSettings(), 0);
    PutUserDataIntoHandle(grabber->dialogChoice, &bytes);
    EXPECT_EQ(r.currentSoundSettings(), bytes);

    // A dialog that fails is logged; a capture that fails is answered.
    grabber->failures["settingsDialog"] = GrabberErr::deviceFailed;
    grabber->failures["getChannelSettings"] = GrabberErr::noChannel;
    grabber->failures["setChannelSettings"] = GrabberErr::badSettings;
    log.clear();
    EXPECT_EQ(r.showSoundSettings(), GrabberErr::noChannel);
    EXPECT_EQ(log.lines(), (QStringList{"error: -2007 - couldn't restore channel settings",
                                        "error: -2003 - problem with settings dialog",
                                        "error: -2001 - couldn't save channel settings"}));
}

TEST_F(RecorderTest, LostSoundIsReportedWhileTheRecordingGoesOn) {
    QKRecorder& r = makeRecorder();
    grabber->health.overruns = 4; // from an earlier recording
    NotificationSpy spy({QKRecorderCaptureProblem, QKRecorderRecordingDidStop});
    ASSERT_TRUE(r.doRecord());
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(spy.count(QKRecorderCaptureProblem), 0);

    grabber->health.overruns = 7;
    r.doIdleProcessing(nullptr);
    const Notification* problem = spy.last(QKRecorderCaptureProblem);
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->object, &r);
    EXPECT_EQ(problem->userInfo.value("overruns").toInt(), 3);
    EXPECT_FALSE(problem->userInfo.value("stopped").toBool());
    EXPECT_TRUE(problem->userInfo.value("message").toString().contains("3"));
    EXPECT_TRUE(r.isRecording());

    // Told once per new loss, not on every poll.
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(spy.count(QKRecorderCaptureProblem), 1);
    EXPECT_EQ(spy.count(QKRecorderRecordingDidStop), 0);
}

TEST_F(RecorderTest, AWriteErrorStopsTheRecordingAndSaysWhy) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy(
        {QKRecorderCaptureProblem, QKRecorderRecordingDidStop, QKRecorderRecordingStatusUpdate});
    ASSERT_TRUE(r.doRecord());
    r.doPause(); // also while paused
    grabber->health.writeError = GrabberErr::fileError;
    grabber->health.writeErrorText = "No space left on device";
    LogCapture log;
    r.doIdleProcessing(nullptr);
    EXPECT_FALSE(r.isRecording());
    EXPECT_EQ(grabber->count("stop"), 1);
    ASSERT_EQ(spy.received.size(), 2u);
    EXPECT_EQ(spy.received[0].name, QKRecorderRecordingDidStop);
    EXPECT_EQ(spy.received[1].name, QKRecorderCaptureProblem);
    EXPECT_TRUE(spy.received[1].userInfo.value("stopped").toBool());
    EXPECT_TRUE(
        spy.received[1].userInfo.value("message").toString().contains("No space left on device"));
    EXPECT_TRUE(log.contains("error: -2006 - couldn't write recording"));

    // Once stopped, the error is not reported again.
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(spy.count(QKRecorderCaptureProblem), 1);
}

TEST_F(RecorderTest, ALostInputDeviceEndsTheRecordingAndSaysWhy) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderCaptureProblem, QKRecorderRecordingDidStop});
    ASSERT_TRUE(r.doRecord());
    r.doIdleProcessing(nullptr);
    EXPECT_TRUE(r.isRecording());
    grabber->health.deviceError = GrabberErr::deviceFailed;
    LogCapture log;
    r.doIdleProcessing(nullptr);
    EXPECT_FALSE(r.isRecording());
    EXPECT_EQ(grabber->count("stop"), 1);
    ASSERT_EQ(spy.received.size(), 2u);
    EXPECT_EQ(spy.received[0].name, QKRecorderRecordingDidStop);
    EXPECT_TRUE(spy.received[1].userInfo.value("stopped").toBool());
    EXPECT_TRUE(spy.received[1].userInfo.value("message").toString().contains("went away"));
    EXPECT_TRUE(log.contains("error: -2003 - lost the input device"));
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(spy.count(QKRecorderCaptureProblem), 1);
}

TEST_F(RecorderTest, TickCounterWrapDoesNotDisturbElapsedTime) {
    QKRecorder& r = makeRecorder();
    NotificationSpy spy({QKRecorderRecordingStatusUpdate});
    now = 0xFFFFFFFFLL - 30; // 30 ticks before the 32-bit counter wraps
    ASSERT_TRUE(r.doRecord());
    advanceSeconds(1);
    r.doIdleProcessing(nullptr);
    EXPECT_EQ(statusValue(spy.last(QKRecorderRecordingStatusUpdate), "time"), 60);
}
