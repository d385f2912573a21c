#pragma once

#include "platform/audio/SequenceGrabber.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QTimer;

extern const QString QKRecorderRecordingStatusUpdate; // "QKRecorderRecordingStatusUpdate"
extern const QString QKRecorderRecordingDidStop;      // "QKRecorderRecordingDidStop"
// Posted while a recording runs when sound is being lost, the file cannot be written or the
// input device went away.
// User info: "overruns" (blocks lost in this recording so far), "message" (for the user) and
// "stopped" (true when the recording was ended because of it).
extern const QString QKRecorderCaptureProblem; // "QKRecorderCaptureProblem"
// Posted by the poll while listening: sound rose with no recording running (or the running one
// paused), and a running recording has had its silence. No user info.
extern const QString QKRecorderVoiceDetected;   // "QKRecorderVoiceDetected"
extern const QString QKRecorderSilenceDetected; // "QKRecorderSilenceDetected"

// The capture engine: preview, record into a movie file at a given path, pause, stop; polls
// the grabber, measures elapsed ticks and levels, and posts its notifications.
class QKRecorder : public QObject {
    Q_OBJECT

public:
    using GrabberFactory = std::function<std::unique_ptr<SequenceGrabber>()>;

    // The poll's period while previewing or recording. The capture layer moves sound on its
    // own threads, so the poll only feeds the status display: while a window shows it, at the
    // rate the display draws (each status carries the peak since the previous one, so none is
    // missed); with no window shown, four times a second, which keeps the log and scripts'
    // status current and costs next to nothing. Ten draws a second keep the meter lively; a draw
    // of the meter and clock costs the main thread about 0.7 ms under X, so twenty a second
    // would cost about twice what arecord spends on the whole recording.
    static constexpr int kWatchedIntervalMs = 100;
    static constexpr int kIdleIntervalMs = 250;

    // init: the recorder, or none when the grabber cannot be set up (the reason is logged).
    static std::unique_ptr<QKRecorder> create(GrabberFactory openGrabber = OpenDefaultGrabber);
    ~QKRecorder() override;

    bool doPreview();
    void doPreviewStop();
    bool doRecord();
    void doPause();
    // Why a recording ended; "QKRecorderRecordingDidStop" carries it as "reason" ("requested",
    // "timer", "silence", "write error", "device lost").
    enum class StopReason { Requested, Timer, Silence, WriteError, DeviceLost };
    void doStop(StopReason reason = StopReason::Requested);
    // Voice activation: listens to the input (polling it and showing its level) until
    // doListenStop, recording or not; refused while previewing or recording.
    bool doListen(const VoiceGate& gate);
    void doListenStop();
    bool isListening() const { return _listening; }
    void doIdleProcessing(QTimer* timer);
    // Ends a timed recording the moment its elapsed time reaches the timed length, without
    // waiting for a poll; fired by the cut-off timer.
    void doTimedCutOff();

    // Whether a window shows the status display now; sets the poll's period.
    void setStatusWatched(bool watched);
    bool isStatusWatched() const { return _statusWatched; }

    int32_t showSoundSettings();
    QByteArray currentSoundSettings();               // null: none
    void setCurrentSoundSettings(const QByteArray&); // null: nothing happens
    QByteArray convertUserDataToNSData();
    void writeNSDataToUserData(const QByteArray& data);
    // The input the settings name when it is not present now (the default input records
    // instead), or empty.
    QString missingInputDevice() const;
    // The input's gain on the sound server (1.0 = 100 %); none when it has no volume the
    // server controls.
    std::optional<double> inputGain();
    // Sets it; the capture layer's code (noGainControl, paramErr, deviceFailed) or noErr.
    OSErr setInputGain(double gain);
    // The 50 ms level blocks that arrived for the status being posted (read them inside the
    // status notification; the next poll replaces them).
    const std::vector<LevelBlock>& levelBlocks() const { return _levelBlocks; }

    QString tempFile() const { return _tempFile; }
    void setTempFile(const QString& path);
    bool isTimed() const { return _isTimed; }
    void setIsTimed(bool timed);
    int32_t timedLength() const { return _timedLength; }
    void setTimedLength(int32_t ticks);

    bool isPreviewing() const { return _previewing; }
    bool isRecording() const { return _recording; }
    bool isPaused() const { return _paused; }
    // Why the last doPreview or doRecord failed, for the user; empty when it did not.
    QString lastFailure() const { return _lastFailure; }
    // Seconds recorded so far in the running recording, pauses excluded; 0 when none runs.
    double elapsedSeconds() const;

    // The running idle timer, or none.
    QTimer* idleTimer() const { return _timer; }
    // The single-shot timer armed for the moment a timed recording reaches its length, or
    // none (not timed, paused, or not recording).
    QTimer* cutOffTimer() const { return _cutOffTimer; }
    // What the capture layer reports about lost blocks and write errors.
    CaptureHealth captureHealth() const;

signals:
    // Previewing, recording or pausing began or ended (for scripts, which are told of each
    // change instead of asking).
    void stateChanged();

private:
    explicit QKRecorder(GrabberFactory openGrabber);
    bool init();
    void initFailed(OSErr error, const QString& message);
    void addRates();

    // doRecord's steps after the refusal; false when the start failed.
    bool startRecording();
    void removeFailedStartFile();
    // Why the input could not be started, for the user.
    QString deviceFailure() const;
    void scheduleIdleTimer();
    void cancelIdleTimer();
    // Elapsed recording time on the fine clock, pauses excluded.
    int64_t elapsedNanoseconds() const;
    void armCutOff();
    void cancelCutOff();
    // Idles the grabber, reads the levels and posts the status for the given elapsed ticks.
    void postStatus(int32_t elapsed);
    void switchMeteringOn();
    // Configures the channel from the saved settings, or once the running capture stops.
    void applySavedSettings();
    // Tells the user about lost sound, a failed write or a lost device; answers true when it
    // ended the recording.
    bool reportCaptureProblems();
    // Tells what voice activation should do now, by notification.
    void checkVoice();

    GrabberFactory _openGrabber;
    std::unique_ptr<SequenceGrabber> _seqGrabber;
    bool _soundChannel = false;
    bool _previewing = false;
    bool _recording = false;
    bool _paused = false;
    bool _isTimed = false;
    int32_t _timedLength = 0;
    QString _tempFile;
    QTimer* _timer = nullptr;
    ChannelSettings _data;
    bool _userDataSaved = false;
    int32_t _time = 0;
    int32_t _pauseTime = 0;
    int32_t _pauseTimeStart = 0;
    bool _doCleanUp = false;
    bool _listening = false;
    bool _statusWatched = false;
    bool _settingsPending = false; // saved settings wait for the running capture to stop
    QTimer* _cutOffTimer = nullptr;
    // The same moments as _time, _pauseTime and _pauseTimeStart on the fine clock, so that
    // the cut-off falls within a millisecond rather than a tick of the timed length.
    int64_t _startNs = 0;
    int64_t _pausedNs = 0;
    int64_t _pauseStartNs = 0;
    QString _lastFailure;
    bool _startOwnsFile = false;   // the file at _tempFile was made or replaced by this start
    uint64_t _overrunsAtStart = 0; // the layer's count when the recording began
    uint64_t _overrunsReported = 0;
    // The status notification's user info, updated in place: a poll a hundred times a second
    // then allocates nothing.
    QVariantMap _statusInfo;
    std::vector<LevelBlock> _levelBlocks; // room kept: a poll allocates nothing
    // The capture layer took another input than the one asked for: told at the next poll,
    // after the start has been reported.
    bool _routeNoticePending = false;
};
