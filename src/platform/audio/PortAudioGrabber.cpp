// The capture layer on PortAudio.
//
// Threads. The main thread calls the grabber. PortAudio's input callback (real-time) converts
// each block to left-justified 32-bit samples, raises the per-channel peak atomics and, while
// capturing, pushes the block into a lock-free single-producer/single-consumer sample ring; it
// never locks, allocates or does I/O. While monitoring it also feeds a second ring that the
// playthrough output stream's callback plays at the channel volume. The writer thread
// (CaptureWriter) drains the sample ring into the movie file; only it touches the file.
//
// Files. MovieWriter writes the file head first (our leading atom with the sound format, a
// reserve, an open-ended mdat), appends sound, syncs at least twice a second, and on stop
// closes the mdat and appends the movie atom. A file being written is flock()ed, so that the
// repair at launch (RepairInterruptedMovies) skips it; a file left without a movie atom by a
// crash is completed by that repair from its leading atom. A write error (disk full, file size
// limit) completes the file for what reached the disk, and idle() and health() report it.
//
// Hand-over. Ring positions count frames exactly. stop() names the frame captured at that
// moment (for IMA rounded up to a whole packet) as the end of the file, the writer completes the
// file there once it has arrived and leaves what follows in the ring, and the input stays open
// and capturing for kKeepOpen. A startRecord() within kHandOverWindow begins the next file at
// that very frame, so consecutive files split the input without a sample lost or repeated (a
// snip); a later one begins at the frame captured when it is called, which the input callback
// marks. Pause stops the pushes (the stream keeps running), so a paused span leaves neither a
// gap nor a click in the file.
#include "platform/audio/PortAudioGrabber.h"

#include "platform/audio/AudioDevices.h"
#include "platform/audio/CaptureWriter.h"
#include "platform/audio/SoundSettingsDialog.h"
#include "platform/audio/SoundSources.h"
#include "platform/foundation/Log.h"
#include "platform/movie/MovieFile.h"
#include "platform/movie/MovieWriter.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
SoundFormat formatOf(const ChannelSettings& s) {
    SoundFormat f;
    f.codec = s.compression == ChannelSettings::Compression::Ima4 ? SoundCodec::Ima4
              : s.sampleBits == 24                                ? SoundCodec::In24
                                                                  : SoundCodec::Sowt;
    f.sampleRate = uint32_t(s.sampleRate);
    f.channels = uint16_t(s.channels);
    return f;
}

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

// Opens `path` and checks that no recording holds it. -1 when it cannot be opened (errno set)
// or is being recorded (errno EBUSY).
int openUnlocked(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    if (!MovieFile::tryLock(fd)) {
        ::close(fd);
        errno = EBUSY;
        return -1;
    }
    return fd;
}
} // namespace

PortAudioGrabber::PortAudioGrabber() {
    _keepOpenTimer.setSingleShot(true);
    _keepOpenTimer.setInterval(kKeepOpen);
    _keepOpenTimer.callOnTimeout([this] {
        if (!_previewing && !_recording && !_gate)
            closeStream();
    });
}

PortAudioGrabber::~PortAudioGrabber() {
    disposeChannel();
    _writer.reset();
    _stream.reset();
    _session.reset();
}

OSErr PortAudioGrabber::ready() const {
    if (!_initialized)
        return GrabberErr::badComponent;
    if (!_hasChannel)
        return GrabberErr::noChannel;
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::initialize() {
    if (_initialized)
        return GrabberErr::noErr;
    MovieWriter::ignoreFileSizeSignal(); // before any library writes a file
    auto session = std::make_unique<PortAudioLibrary::Session>();
    if (!session->ok())
        return GrabberErr::badComponent;
    _session = std::move(session);
    _initialized = true;
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::newSoundChannel() {
    if (!_initialized)
        return GrabberErr::badComponent;
    if (AudioDevices::inputNames().isEmpty() && SoundSources::shared().sources().isEmpty())
        return GrabberErr::noDevice;
    _hasChannel = true;
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::setChannelUsage(int usage) {
    if (OSErr e = ready())
        return e;
    if (usage & ~7)
        return GrabberErr::paramErr;
    _usage = usage;
    updateMonitor();
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::setChannelVolume(int volume) {
    if (OSErr e = ready())
        return e;
    if (volume < 0 || volume > 256)
        return GrabberErr::paramErr;
    _settings.monitorVolume = volume;
    updateMonitor();
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::setAdditionalSoundRates(const QByteArray& rates) {
    if (OSErr e = ready())
        return e;
    if (rates.size() % 4 != 0 || rates.size() > 4 * 32)
        return GrabberErr::paramErr;
    _additionalRates.clear();
    for (qsizetype at = 0; at < rates.size(); at += 4) {
        uint32_t fixed = 0;
        std::memcpy(&fixed, rates.constData() + at, 4); // 16.16, native byte order
        const int rate = int(fixed >> 16);
        if (rate >= 1000 && rate <= 65535 && !_additionalRates.contains(rate))
            _additionalRates.append(rate);
    }
    return GrabberErr::noErr;
}

bool PortAudioGrabber::hasInputDriver() const {
    return ready() == GrabberErr::noErr;
}

OSErr PortAudioGrabber::setLevelMetering(bool on) {
    if (OSErr e = ready())
        return e;
    _metering = on;
    for (auto& meter : _meters)
        meter.reset();
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::getChannelCount(int16_t* count) {
    if (OSErr e = ready())
        return e;
    if (!count)
        return GrabberErr::paramErr;
    *count = int16_t(_settings.channels);
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::getActiveLevels(int16_t levels[2]) {
    if (OSErr e = ready())
        return e;
    if (!levels)
        return GrabberErr::paramErr;
    double peaks[2] = {0, 0};
    if (_stream)
        _stream->takePeaks(peaks);
    const auto now = std::chrono::steady_clock::now();
    for (int ch = 0; ch < _settings.channels; ++ch)
        levels[ch] = int16_t(_metering ? _meters[ch].update(peaks[ch], now) : 0);
    return GrabberErr::noErr;
}

PortAudioGrabber::Route PortAudioGrabber::routeOf(const QString& input, bool* missing) {
    if (missing)
        *missing = false;
    Route route;
    if (!input.isEmpty()) {
        if (const auto source = SoundSources::shared().find(input);
            source && source->name == input) {
            route.source = input;
            return route;
        }
        route.device = AudioDevices::findInput(input);
        if (route.device >= 0)
            return route;
        if (missing)
            *missing = true;
    }
    route.device = AudioDevices::findInput(QString());
    return route;
}

OSErr PortAudioGrabber::openStream() {
    return openStreamFor(_settings);
}

OSErr PortAudioGrabber::openStreamFor(const ChannelSettings& settings) {
    bool missing = false;
    const Route route = routeOf(settings.inputDevice, &missing);
    if (missing)
        bvLog(QStringLiteral("input device \"%1\" not found, using the default input")
                  .arg(settings.inputDevice));
    if (route.device < 0 && route.source.isEmpty()) {
        closeStream();
        return GrabberErr::noDevice;
    }
    CaptureConfig config;
    config.device = route.device;
    config.source = route.source;
    config.sampleRate = settings.sampleRate;
    config.channels = settings.channels;
    config.wide = formatOf(settings).codec == SoundCodec::In24;
    if (_stream && _stream->config() == config && _stream->isRunning())
        return GrabberErr::noErr;
    closeStream();
    QString why;
    _stream = CaptureStream::open(config, &why);
    if (!_stream) {
        bvLog(QStringLiteral("couldn't open the input device: %1").arg(why));
        _deviceFailure = why;
        return GrabberErr::deviceFailed;
    }
    _deviceFailureLogged = false;
    _deviceFailure.clear();
    return GrabberErr::noErr;
}

void PortAudioGrabber::closeStream() {
    _keepOpenTimer.stop();
    _handOverFrame.reset();
    _stream.reset();
}

void PortAudioGrabber::waitForOwnFile(const QString& path) {
    // A recording of ours may still be syncing (and locked) for a moment after its stop; the
    // one being recorded now stays open, and is refused by whoever asked.
    if (_writer && !(_recording && QFileInfo(path) == QFileInfo(_recordedPath)))
        _writer->waitUntilClosed(path);
}

void PortAudioGrabber::keepOpenForAWhile() {
    _keepOpenTimer.start();
}

void PortAudioGrabber::updateMonitor() {
    if (!_stream)
        return;
    const bool on = (_usage & 2) && (_previewing || _recording);
    QString why;
    if (!_stream->setMonitor(on, _settings.monitorVolume, &why) && !_monitorFailureLogged) {
        bvLog(QStringLiteral("playthrough unavailable: %1").arg(why));
        _monitorFailureLogged = true;
    }
}

OSErr PortAudioGrabber::startPreview() {
    if (OSErr e = ready())
        return e;
    if (_recording)
        return GrabberErr::wrongState;
    if (_previewing)
        return GrabberErr::noErr;
    _keepOpenTimer.stop();
    if (OSErr e = openStream())
        return e;
    _stream->setCapturing(false);
    _handOverFrame.reset();
    _previewing = true;
    for (auto& meter : _meters)
        meter.reset();
    updateMonitor();
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::stop() {
    return stopRecordingAt(std::nullopt);
}

OSErr PortAudioGrabber::stopAtRecordedLength(int32_t ticks) {
    return stopRecordingAt(uint64_t(std::max(ticks, 0)) * uint64_t(_settings.sampleRate) / 60);
}

OSErr PortAudioGrabber::stopRecordingAt(std::optional<uint64_t> length) {
    if (!_initialized)
        return GrabberErr::badComponent;
    if (_previewing) {
        _previewing = false;
        updateMonitor();
        keepOpenForAWhile();
        return GrabberErr::noErr;
    }
    if (!_recording)
        return GrabberErr::noErr;

    // The file ends at the frame captured now (the writer waits the few milliseconds until it
    // arrives), for IMA at the next whole packet. While paused nothing is pushed: it ends at
    // what the ring holds.
    const int64_t now = captureClockNs();
    CaptureWriter::Stop at;
    const std::optional<uint64_t> silenceEnd = silenceEndFrame();
    if (length && !_paused)
        // Pauses push nothing, so the file's sound is its ring frames (and any lead-in).
        at.framesAfterStart = *length;
    else if (_paused && _heldAt)
        at.frame = *_heldAt;
    else if (_paused)
        at.frame = _stream->framesPushed();
    else if (silenceEnd)
        at.frame = *silenceEnd;
    else if (fileStartFrame())
        // What has been pushed was captured before now, whatever the estimate says.
        at.frame = std::max(_stream->frameAt(now).value_or(0), _stream->framesPushed());
    else
        at.framesAfterStart =
            uint64_t(std::max<int64_t>(0, framesInNs(now - _startNs, _settings.sampleRate)));
    _stream->setCapturing(true); // what follows belongs to the next file, if one comes
    // A source that delivers in bursts may still owe up to a burst of what was captured by now.
    const auto burst = std::chrono::milliseconds(_stream->longestDeliveryGapNs() / 1'000'000);
    const CaptureWriter::Result result =
        _writer->finish(at, std::chrono::milliseconds(1000) + burst);
    _lastHealth = health();
    _lastHealth.framesCaptured = result.leadInFrames + result.endFrame - result.startFrame;
    _recording = false;
    _paused = false;
    _heldAt.reset();
    _fileStart = result.startFrame;
    _handOverFrame = result.endFrame;
    _stoppedAt = std::chrono::steady_clock::now();
    // Sound after the end of this file is what starts the next one.
    _armFrom = result.endFrame;
    updateMonitor();
    if (!_gate)
        keepOpenForAWhile();
    if (result.error != 0) {
        bvLog(QStringLiteral("couldn't complete the recording %1: %2")
                  .arg(fileName(_recordedPath), result.errorText));
        return GrabberErr::fileError;
    }
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::pause(bool paused) {
    if (OSErr e = ready())
        return e;
    if (!_recording)
        return GrabberErr::wrongState;
    if (_gate && paused != _paused) {
        // Listening goes on through the pause: the file holds where the silence reached its
        // length (or now), and resumes with the pre-roll of the sound that ends the pause.
        if (paused) {
            const uint64_t at = silenceEndFrame().value_or(frameNow());
            _writer->hold(at);
            _heldAt = at;
            _armFrom = at;
        } else {
            uint64_t onset = 0;
            const std::optional<uint64_t> voice = voiceStartFrame(&onset);
            const uint64_t at = std::max(voice.value_or(frameNow()), _heldAt.value_or(0));
            _writer->resume(at);
            _segmentOnset = voice ? onset : at;
            _heldAt.reset();
        }
        _paused = paused;
        return GrabberErr::noErr;
    }
    _stream->setCapturing(!paused);
    _paused = paused;
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::idle() {
    if (OSErr e = ready())
        return e;
    if (_stream && (_previewing || _recording) && !_stream->isRunning()) {
        if (!_deviceFailureLogged)
            bvLog(QStringLiteral("the input device stopped delivering sound"));
        _deviceFailureLogged = true;
        return GrabberErr::deviceFailed;
    }
    if (_recording && _writer && _writer->status().error)
        return GrabberErr::fileError;
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::setDataOutput(const QString& path, int flags) {
    if (OSErr e = ready())
        return e;
    if (path.isEmpty() || !(flags & kSeqGrabToDisk))
        return GrabberErr::paramErr;
    if (_recording)
        return GrabberErr::wrongState;
    _dataOutput = path;
    return GrabberErr::noErr;
}

// There are no creator codes or scripts here; the flags ask for what we do anyway (an empty
// file, no movie, no resource fork).
OSErr PortAudioGrabber::createMovieFile(const QString& path, uint32_t, int, uint32_t) {
    if (path.isEmpty())
        return GrabberErr::paramErr;
    waitForOwnFile(path);
    const int fd = openUnlocked(path, O_RDWR | O_CREAT);
    if (fd < 0) {
        bvLog(QStringLiteral("couldn't create the movie file %1: %2")
                  .arg(fileName(path), errno == EBUSY ? QStringLiteral("it is being recorded")
                                                      : qt_error_string(errno)));
        return GrabberErr::fileError;
    }
    const bool ok = ::ftruncate(fd, 0) == 0;
    ::close(fd);
    return ok ? GrabberErr::noErr : GrabberErr::fileError;
}

OSErr PortAudioGrabber::deleteMovieFile(const QString& path) {
    // A recording in progress (here or in another process) is not deleted from under it.
    waitForOwnFile(path);
    const int fd = openUnlocked(path, O_RDONLY);
    if (fd < 0)
        return GrabberErr::fileError;
    const bool ok = ::unlink(QFile::encodeName(path).constData()) == 0;
    ::close(fd);
    return ok ? GrabberErr::noErr : GrabberErr::fileError;
}

OSErr PortAudioGrabber::setMaximumRecordTime(int32_t ticks) {
    if (OSErr e = ready())
        return e;
    if (ticks < 0)
        return GrabberErr::paramErr;
    _maximumRecordTicks = ticks;
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::startRecord() {
    _startFailure.clear();
    if (OSErr e = ready())
        return e;
    if (_recording || _previewing)
        return GrabberErr::wrongState;
    if (_dataOutput.isEmpty())
        return GrabberErr::noDataOutput;
    const CaptureStream* before = _stream.get();
    const bool handOver = _handOverFrame && _stream &&
                          std::chrono::steady_clock::now() - _stoppedAt <= kHandOverWindow;
    _keepOpenTimer.stop();
    if (OSErr e = openStream())
        return e;
    const bool seamless = handOver && _stream.get() == before;
    if (_gate && _stream.get() != before)
        applyGate();

    const SoundFormat format = formatOf(_settings);
    waitForOwnFile(_dataOutput);
    int code = 0;
    QString why;
    auto file = MovieWriter::create(_dataOutput, format, &code, &why);
    if (!file) {
        bvLog(
            QStringLiteral("couldn't create the recording %1: %2").arg(fileName(_dataOutput), why));
        _startFailure = why;
        keepOpenForAWhile();
        return GrabberErr::fileError;
    }
    // After a stop within the hand-over window the file continues at the very next frame;
    // otherwise it begins at the frame captured now.
    CaptureWriter::Start start;
    _startNs = captureClockNs();
    uint64_t onset = 0;
    if (const std::optional<uint64_t> voice = voiceStartFrame(&onset)) {
        // The pre-roll is in the ring already: the file begins with it.
        start.frame = *voice;
        _segmentOnset = onset;
        _startNs = std::min(_startNs, _stream->timeOfFrame(*voice).value_or(_startNs));
    } else if (seamless) {
        start.frame = *_handOverFrame;
    } else {
        start.mark = _stream->requestStartAt(_startNs);
    }
    if (_gate && !start.frame)
        _segmentOnset = frameNow();
    const uint64_t maxFrames =
        _maximumRecordTicks > 0 ? uint64_t(_maximumRecordTicks) * format.sampleRate / 60 : 0;
    if (!_writer)
        _writer = std::make_unique<CaptureWriter>();
    const auto& ring = _stream->ring();
    _overrunBaseline = ring->overruns();
    _lostBaseline = ring->lostElements();
    _writer->begin(std::move(file), ring, format.channels, format.framesPerPacket(), start,
                   maxFrames);
    _stream->setCapturing(true);
    _fileStart = start.frame;
    _startMark = start.mark;
    _recordedPath = _dataOutput;
    _handOverFrame.reset();
    _heldAt.reset();
    _recording = true;
    _paused = false;
    _lastHealth = {};
    for (auto& meter : _meters)
        meter.reset();
    updateMonitor();
    return GrabberErr::noErr;
}

std::optional<uint64_t> PortAudioGrabber::fileStartFrame() const {
    if (_fileStart)
        return _fileStart;
    const uint64_t marked =
        _startMark ? _startMark->frame.load(std::memory_order_acquire) : StartMark::kPending;
    if (marked == StartMark::kPending)
        return std::nullopt;
    return marked;
}

CaptureHealth PortAudioGrabber::health() const {
    if (!_recording)
        return _lastHealth;
    CaptureHealth h;
    const CaptureWriter::Status status = _writer->status();
    h.writeError = status.error ? GrabberErr::fileError : GrabberErr::noErr;
    h.writeErrorText = status.errorText;
    h.framesWritten = status.framesWritten;
    const auto& ring = _stream->ring();
    h.overruns = ring->overruns() - _overrunBaseline;
    h.lostFrames = (ring->lostElements() - _lostBaseline) / uint64_t(_settings.channels);
    const uint64_t pushed = _stream->framesPushed();
    const std::optional<uint64_t> start = fileStartFrame();
    h.framesCaptured = start && pushed > *start ? pushed - *start : 0;
    if (!_stream->isRunning())
        h.deviceError = GrabberErr::deviceFailed;
    return h;
}

QString PortAudioGrabber::missingInputDevice() const {
    if (!_session || _settings.inputDevice.isEmpty())
        return {};
    bool missing = false;
    routeOf(_settings.inputDevice, &missing);
    return missing ? _settings.inputDevice : QString();
}

void PortAudioGrabber::disposeChannel() {
    stopListening();
    if (_recording)
        stop();
    _previewing = false;
    closeStream();
    _hasChannel = false;
}

std::unique_ptr<SequenceGrabber> OpenDefaultGrabber() {
    return std::make_unique<PortAudioGrabber>();
}
