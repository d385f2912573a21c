#include "recording/QKRecorder.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Ticks.h"
#include "recording/SF_FilePathToFSSpec.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <limits>

const QString QKRecorderRecordingStatusUpdate = QStringLiteral("QKRecorderRecordingStatusUpdate");
const QString QKRecorderRecordingDidStop = QStringLiteral("QKRecorderRecordingDidStop");
const QString QKRecorderCaptureProblem = QStringLiteral("QKRecorderCaptureProblem");
const QString QKRecorderVoiceDetected = QStringLiteral("QKRecorderVoiceDetected");
const QString QKRecorderSilenceDetected = QStringLiteral("QKRecorderSilenceDetected");

namespace {
constexpr int kSystemScript = -1;
constexpr int kPlaythroughVolume = 16; // 1/16 of full volume in 8.8 fixed point
constexpr int64_t kNanosecondsPerMillisecond = 1'000'000;
// More than a poll of the slowest kind brings (250 ms: five), with room for a late one.
constexpr size_t kMaxLevelBlocksPerPoll = 256;

int64_t ticksToNanoseconds(int32_t ticks) {
    return int64_t{ticks} * 1'000'000'000 / 60;
}

// Tick arithmetic wraps like the 32-bit counter it comes from.
int32_t tickSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
int32_t tickAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

QString expandTilde(const QString& path) {
    if (path == QLatin1String("~"))
        return QDir::homePath();
    if (path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}
} // namespace

std::unique_ptr<QKRecorder> QKRecorder::create(GrabberFactory openGrabber) {
    std::unique_ptr<QKRecorder> recorder(new QKRecorder(std::move(openGrabber)));
    if (!recorder->init())
        return nullptr;
    return recorder;
}

QKRecorder::QKRecorder(GrabberFactory openGrabber) : _openGrabber(std::move(openGrabber)) {
    _levelBlocks.reserve(kMaxLevelBlocksPerPoll);
}

QKRecorder::~QKRecorder() {
    cancelIdleTimer();
    cancelCutOff();
    // Quitting normally stops a recording through doStop first; should the
    // recorder go while still capturing, the grabber is stopped so the file is
    // completed.
    if (_seqGrabber && (_previewing || _recording))
        _seqGrabber->stop();
}

bool QKRecorder::init() {
    setTempFile(QStringLiteral("~/Desktop/soundz.mov"));
    _seqGrabber = _openGrabber ? _openGrabber() : nullptr;

    OSErr err = _seqGrabber ? _seqGrabber->initialize() : GrabberErr::badComponent;
    if (err != GrabberErr::noErr) {
        initFailed(err, QStringLiteral("couldn't initialize sequence grabber"));
        return false;
    }
    err = _seqGrabber->newSoundChannel();
    if (err != GrabberErr::noErr) {
        initFailed(err, QStringLiteral("couldn't create sound channel"));
        return false;
    }
    _soundChannel = true;
    err = _seqGrabber->setChannelUsage(kSeqGrabRecordAndPreview);
    if (err != GrabberErr::noErr) {
        initFailed(err, QStringLiteral("couldn't initialize sound channel"));
        return false;
    }
    // Fatal like the steps before it: initFailed has released the grabber, and a
    // recorder without one could only fail at every later request.
    err = _seqGrabber->setChannelVolume(kPlaythroughVolume);
    if (err != GrabberErr::noErr) {
        initFailed(err, QStringLiteral("couldn't set channel volume"));
        return false;
    }
    addRates();
    return true;
}

void QKRecorder::initFailed(OSErr error, const QString& message) {
    if (message.isNull())
        bvLog(QStringLiteral("error: %1").arg(error));
    else
        bvLog(QStringLiteral("error: %1 - %2").arg(error).arg(message));
    if (_soundChannel && _seqGrabber) {
        _seqGrabber->disposeChannel();
        _soundChannel = false;
    }
    _seqGrabber.reset();
}

void QKRecorder::addRates() {
    if (!_seqGrabber || !_soundChannel)
        return;
    static constexpr int32_t kRates[] = {8000, 11025, 16000, 22050, 32000};
    QByteArray block(sizeof(kRates), '\0');
    for (size_t i = 0; i < std::size(kRates); ++i) {
        const int32_t fixed = kRates[i] << 16; // 16.16 fixed point, native byte order
        std::memcpy(block.data() + i * sizeof(int32_t), &fixed, sizeof fixed);
    }
    _seqGrabber->setAdditionalSoundRates(block);
}

void QKRecorder::scheduleIdleTimer() {
    cancelIdleTimer();
    _timer = new QTimer(this);
    _timer->setInterval(_statusWatched ? kWatchedIntervalMs : kIdleIntervalMs);
    QTimer* timer = _timer;
    connect(timer, &QTimer::timeout, this, [this, timer] { doIdleProcessing(timer); });
    _timer->start();
}

void QKRecorder::cancelIdleTimer() {
    if (!_timer)
        return;
    _timer->stop();
    // The poll may be cancelling its own timer from inside its timeout.
    _timer->deleteLater();
    _timer = nullptr;
}

void QKRecorder::setStatusWatched(bool watched) {
    _statusWatched = watched;
    if (_timer)
        _timer->setInterval(watched ? kWatchedIntervalMs : kIdleIntervalMs);
}

void QKRecorder::setIsTimed(bool timed) {
    _isTimed = timed;
    armCutOff();
}

void QKRecorder::setTimedLength(int32_t ticks) {
    _timedLength = ticks;
    armCutOff();
}

int64_t QKRecorder::elapsedNanoseconds() const {
    return Ticks::nanoseconds() - _startNs - _pausedNs;
}

double QKRecorder::elapsedSeconds() const {
    if (!_recording)
        return 0;
    const int64_t until = _paused ? _pauseStartNs : Ticks::nanoseconds();
    return double(std::max<int64_t>(0, until - _startNs - _pausedNs)) / 1e9;
}

void QKRecorder::armCutOff() {
    cancelCutOff();
    if (!_recording || _paused || !_isTimed)
        return;
    const int64_t remaining =
        std::max<int64_t>(0, ticksToNanoseconds(_timedLength) - elapsedNanoseconds());
    _cutOffTimer = new QTimer(this);
    _cutOffTimer->setSingleShot(true);
    // A coarse timer may fire 5 % late: a second in a twenty-second recording.
    _cutOffTimer->setTimerType(Qt::PreciseTimer);
    connect(_cutOffTimer, &QTimer::timeout, this, [this] { doTimedCutOff(); });
    _cutOffTimer->start(static_cast<int>(
        std::min<int64_t>((remaining + kNanosecondsPerMillisecond / 2) / kNanosecondsPerMillisecond,
                          std::numeric_limits<int>::max())));
}

void QKRecorder::cancelCutOff() {
    if (!_cutOffTimer)
        return;
    _cutOffTimer->stop();
    // The cut-off may be cancelling its own timer from inside its timeout.
    _cutOffTimer->deleteLater();
    _cutOffTimer = nullptr;
}

void QKRecorder::doTimedCutOff() {
    if (!_recording || _paused || !_isTimed)
        return;
    // Timers count whole milliseconds; one that came early by more than that waits again.
    if (ticksToNanoseconds(_timedLength) - elapsedNanoseconds() > kNanosecondsPerMillisecond) {
        armCutOff();
        return;
    }
    // The last status reports exactly the timed length, as a poll reaching it does.
    if (!_doCleanUp)
        postStatus(_timedLength);
    _doCleanUp = true;
    doStop();
}

void QKRecorder::switchMeteringOn() {
    if (!_seqGrabber)
        return;
    _seqGrabber->setLevelMetering(true);
    int16_t count = 0;
    const OSErr err = _seqGrabber->getChannelCount(&count);
    bvLog(QStringLiteral("error: %1 channel count: %2").arg(err).arg(count));
}

bool QKRecorder::doListen(const VoiceGate& gate) {
    _lastFailure.clear();
    // While listening, new settings apply to the running recording too.
    if (_previewing || (_recording && !_listening))
        return false;
    if (!_seqGrabber || _seqGrabber->startListening(gate) != GrabberErr::noErr) {
        bvLog(QStringLiteral("error - couldn't listen to the input"));
        _lastFailure = QStringLiteral("the input device could not be started");
        return false;
    }
    _listening = true;
    switchMeteringOn();
    scheduleIdleTimer();
    emit stateChanged();
    return true;
}

void QKRecorder::doListenStop() {
    if (!_listening)
        return;
    _listening = false;
    if (_seqGrabber)
        _seqGrabber->stopListening();
    if (!_recording && !_previewing)
        cancelIdleTimer();
    if (_settingsPending)
        applySavedSettings();
    emit stateChanged();
}

bool QKRecorder::doPreview() {
    _lastFailure.clear();
    if (_previewing || _recording || _listening)
        return false;
    scheduleIdleTimer();
    switchMeteringOn();
    const OSErr err = _seqGrabber ? _seqGrabber->startPreview() : GrabberErr::badComponent;
    if (err != GrabberErr::noErr) {
        bvLog(QStringLiteral("error - couldn't start previewing"));
        _lastFailure = deviceFailure();
        cancelIdleTimer();
        return false;
    }
    _routeNoticePending = !_seqGrabber->routeNotice().isEmpty();
    _time = TickCount();
    _pauseTime = 0;
    _previewing = true;
    _doCleanUp = false;
    emit stateChanged();
    return true;
}

void QKRecorder::doPreviewStop() {
    if (!_previewing)
        return;
    const OSErr err = _seqGrabber ? _seqGrabber->stop() : GrabberErr::badComponent;
    if (err != GrabberErr::noErr)
        bvLog(QStringLiteral("error: %1 - couldn't stop previewing").arg(err));
    cancelIdleTimer();
    _time = 0;
    _previewing = false;
    if (_settingsPending)
        applySavedSettings();
    emit stateChanged();
}

bool QKRecorder::doRecord() {
    _lastFailure.clear();
    if (_previewing || _recording)
        return false;
    if (startRecording()) {
        emit stateChanged();
        return true;
    }
    // A start that failed leaves no empty "recording" behind for the list to show.
    if (_startOwnsFile)
        removeFailedStartFile();
    return false;
}

void QKRecorder::removeFailedStartFile() {
    _startOwnsFile = false;
    if (!QFile::exists(_tempFile))
        return;
    // Through the capture layer, which never deletes a file that is being recorded.
    const bool removed = _seqGrabber ? _seqGrabber->deleteMovieFile(_tempFile) == GrabberErr::noErr
                                     : QFile::remove(_tempFile);
    if (!removed)
        bvLog(QStringLiteral("couldn't remove the file of a failed start: %1").arg(_tempFile));
}

bool QKRecorder::startRecording() {
    // Whether the file at the path is this start's own: made here, or an older one replaced.
    _startOwnsFile = false;
    if (!QFile::exists(_tempFile)) {
        bvLog(QStringLiteral("creating file"));
        QFile file(_tempFile);
        const bool created = file.open(QIODevice::WriteOnly);
        file.close();
        bvLog(QStringLiteral("  file is ok: %1").arg(created ? 1 : 0));
        _startOwnsFile = created;
    }
    FSSpec spec;
    if (SF_FilePathToFSSpec(_tempFile, &spec) != FileSpecErr::noErr) {
        bvLog(QStringLiteral("error - couldn't convert path to file spec"));
        _lastFailure =
            QStringLiteral("the recording file could not be made in the Recordings folder");
        return false;
    }
    if (!_seqGrabber)
        return false;
    // Every recording starts on a fresh file.
    if (QFile::exists(_tempFile) && _seqGrabber->deleteMovieFile(spec.path) == GrabberErr::noErr)
        _startOwnsFile = true;
    if (_seqGrabber->setDataOutput(spec.path, kSeqGrabToDisk) != GrabberErr::noErr) {
        bvLog(QStringLiteral("error - couldn't set data output"));
        _lastFailure = QStringLiteral("the recording file could not be opened");
        return false;
    }
    if (_seqGrabber->createMovieFile(spec.path, kMovieCreator, kSystemScript,
                                     kCreateMovieFileFlags) != GrabberErr::noErr) {
        bvLog(QStringLiteral("error - couldn't create movie file"));
        _lastFailure = QStringLiteral("the recording file could not be created");
        return false;
    }
    scheduleIdleTimer();
    switchMeteringOn();
    if (_seqGrabber->setMaximumRecordTime(0) != GrabberErr::noErr)
        bvLog(QStringLiteral("error clearing time limit"));
    if (_seqGrabber->startRecord() != GrabberErr::noErr) {
        bvLog(QStringLiteral("error - couldn't start recording"));
        // The file is made only once the input runs: a full disk fails here too.
        const QString why = _seqGrabber->startFailureText();
        _lastFailure = why.isEmpty()
                           ? deviceFailure()
                           : QStringLiteral("the recording file could not be written: %1").arg(why);
        cancelIdleTimer();
        return false;
    }
    _time = TickCount();
    _startNs = Ticks::nanoseconds();
    // The file begins at a moment inside startRecord; the cut-off counts from there.
    if (const int64_t fileStart = _seqGrabber->recordStartNanoseconds();
        fileStart > 0 && fileStart <= _startNs)
        _startNs = fileStart;
    _pauseTime = 0;
    _pausedNs = 0;
    _paused = false;
    _previewing = false;
    _recording = true;
    _doCleanUp = false;
    _overrunsAtStart = _seqGrabber->health().overruns;
    _overrunsReported = _overrunsAtStart;
    _routeNoticePending = !_seqGrabber->routeNotice().isEmpty();
    armCutOff();
    return true;
}

QString QKRecorder::deviceFailure() const {
    const QString why = _seqGrabber ? _seqGrabber->deviceFailureText() : QString();
    return why.isEmpty() ? QStringLiteral("the input device could not be started")
                         : QStringLiteral("the input device could not be started: %1").arg(why);
}

void QKRecorder::doPause() {
    if (!_recording)
        return;
    OSErr err;
    if (_paused) {
        _pauseTime = tickAdd(_pauseTime, tickSub(TickCount(), _pauseTimeStart));
        _pausedNs += Ticks::nanoseconds() - _pauseStartNs;
        err = _seqGrabber ? _seqGrabber->pause(false) : GrabberErr::badComponent;
    } else {
        _pauseTimeStart = TickCount();
        _pauseStartNs = Ticks::nanoseconds();
        err = _seqGrabber ? _seqGrabber->pause(true) : GrabberErr::badComponent;
    }
    if (err != GrabberErr::noErr)
        bvLog(QStringLiteral("error: %1 - couldn't pause/unpause recording").arg(err));
    else
        _paused = !_paused;
    // The cut-off waits while paused and is armed again for what remains on resuming.
    armCutOff();
    emit stateChanged();
}

void QKRecorder::doStop(StopReason reason) {
    if (!_recording)
        return;
    if (_doCleanUp)
        reason = StopReason::Timer;
    _recording = false;
    _paused = false;
    // A recording that reached its timed length (by a poll or the cut-off timer) holds exactly
    // that length, however late the stop comes.
    const OSErr err = !_seqGrabber ? GrabberErr::badComponent
                      : _doCleanUp ? _seqGrabber->stopAtRecordedLength(_timedLength)
                                   : _seqGrabber->stop();
    if (err != GrabberErr::noErr)
        bvLog(QStringLiteral("error: %1 - couldn't stop recording").arg(err));
    // Listening goes on, and shows the input's level, between recordings.
    if (!_listening)
        cancelIdleTimer();
    cancelCutOff();
    _time = 0;
    _doCleanUp = false;
    if (_settingsPending)
        applySavedSettings();
    static const char* const kReasons[] = {"requested", "timer", "silence", "write error",
                                           "device lost"};
    NotificationCenter::defaultCenter().post(
        QKRecorderRecordingDidStop, this,
        {{QStringLiteral("reason"), QLatin1String(kReasons[int(reason)])}});
    emit stateChanged();
}

void QKRecorder::checkVoice() {
    if (!_listening || !_seqGrabber)
        return;
    const VoiceActivity activity = _seqGrabber->voiceActivity();
    if (activity.sound && (!_recording || _paused))
        NotificationCenter::defaultCenter().post(QKRecorderVoiceDetected, this);
    else if (activity.silence && _recording && !_paused)
        NotificationCenter::defaultCenter().post(QKRecorderSilenceDetected, this);
}

CaptureHealth QKRecorder::captureHealth() const {
    return _seqGrabber ? _seqGrabber->health() : CaptureHealth{};
}

bool QKRecorder::reportCaptureProblems() {
    if (_routeNoticePending && _seqGrabber && (_previewing || _recording)) {
        _routeNoticePending = false;
        NotificationCenter::defaultCenter().post(
            QKRecorderCaptureProblem, this,
            {{QStringLiteral("overruns"), 0},
             {QStringLiteral("message"), _seqGrabber->routeNotice()},
             {QStringLiteral("stopped"), false}});
    }
    if (!_recording || !_seqGrabber)
        return false;
    const CaptureHealth health = _seqGrabber->health();
    const qulonglong lost = health.overruns >= _overrunsAtStart
                                ? health.overruns - _overrunsAtStart
                                : health.overruns; // the layer started counting afresh
    if (health.writeError != GrabberErr::noErr) {
        bvLog(QStringLiteral("error: %1 - couldn't write recording").arg(health.writeError));
        const QString reason = health.writeErrorText.isEmpty()
                                   ? QStringLiteral("error %1").arg(health.writeError)
                                   : health.writeErrorText;
        // Stop first, so that the did-stop path lists what was written before the message
        // tells why the recording ended.
        doStop(StopReason::WriteError);
        NotificationCenter::defaultCenter().post(
            QKRecorderCaptureProblem, this,
            {{QStringLiteral("overruns"), lost},
             {QStringLiteral("message"),
              BVLocalizedString("Recording stopped: the file could not be written (%1).")
                  .arg(reason)},
             {QStringLiteral("stopped"), true}});
        return true;
    }
    if (health.deviceError != GrabberErr::noErr) {
        // The sound server went away or the device was unplugged: what reached the file is
        // kept, and a recording that can no longer grow ends now rather than at the next Stop.
        bvLog(QStringLiteral("error: %1 - lost the input device").arg(health.deviceError));
        doStop(StopReason::DeviceLost);
        NotificationCenter::defaultCenter().post(
            QKRecorderCaptureProblem, this,
            {{QStringLiteral("overruns"), lost},
             {QStringLiteral("message"),
              BVLocalizedString("Recording stopped: the sound input went away. What was "
                                "recorded until then is kept.")},
             {QStringLiteral("stopped"), true}});
        return true;
    }
    if (health.overruns > _overrunsReported) {
        _overrunsReported = health.overruns;
        bvLog(QStringLiteral("capture overruns: %1").arg(lost));
        NotificationCenter::defaultCenter().post(
            QKRecorderCaptureProblem, this,
            {{QStringLiteral("overruns"), lost},
             {QStringLiteral("message"),
              BVLocalizedString("Sound was lost while recording: %1 block(s) dropped so far "
                                "because the disk could not keep up.")
                  .arg(lost)},
             {QStringLiteral("stopped"), false}});
    }
    return false;
}

void QKRecorder::doIdleProcessing(QTimer*) {
    // A failed write ends the recording even while it is paused: the user learns it now.
    if (reportCaptureProblems())
        return;
    // Voice activation may start, resume, pause or stop a recording from here.
    checkVoice();
    if (_paused)
        return;
    if (!_previewing && !_recording && !_listening)
        return;
    if (_listening && !_recording) {
        postStatus(0);
        return;
    }
    if (_doCleanUp) {
        doStop();
        return;
    }

    int32_t elapsed = tickSub(tickSub(TickCount(), _time), _pauseTime);
    // A preview runs until it is stopped; the cut-off ends recordings only.
    if (_isTimed && _recording && elapsed >= _timedLength) {
        _doCleanUp = true;
        elapsed = _timedLength;
    }
    postStatus(elapsed);
}

void QKRecorder::postStatus(int32_t elapsed) {
    int16_t levels[2] = {0, 0};
    _levelBlocks.resize(kMaxLevelBlocksPerPoll);
    size_t blocks = 0;
    if (_seqGrabber && _seqGrabber->idle() == GrabberErr::noErr && _seqGrabber->hasInputDriver()) {
        _seqGrabber->getActiveLevels(levels);
        blocks = _seqGrabber->takeLevelBlocks(_levelBlocks.data(), _levelBlocks.size());
    }
    _levelBlocks.resize(blocks);

    // An observer that kept the previous map keeps it: assigning detaches first.
    _statusInfo[QStringLiteral("left")] = int(levels[0]);
    _statusInfo[QStringLiteral("right")] = int(levels[1]);
    _statusInfo[QStringLiteral("time")] = int(elapsed);
    NotificationCenter::defaultCenter().post(QKRecorderRecordingStatusUpdate, this, _statusInfo);
}

void QKRecorder::setTempFile(const QString& path) {
    _tempFile = expandTilde(path);
}
