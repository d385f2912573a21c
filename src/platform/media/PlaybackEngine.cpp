#include "platform/media/PlaybackEngine.h"

#include "platform/audio/PortAudioLibrary.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/media/AudioFileDecoder.h"

#include <QCoreApplication>

#include <portaudio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <pthread.h>

namespace {
// The output's buffering: generous, for few wake-ups while playing. Nothing here needs a quick
// answer beyond pause, which drops what is queued, and the position is corrected for it.
constexpr double kOutputLatency = 0.2;
// How much decoded sound the ring holds, and how much must be ready before the output opens.
constexpr double kRingSeconds = 0.75;
constexpr double kPrefillSeconds = 0.2;
// A reader that finds the published buffer mid-update tries again this often at most.
constexpr int kSequenceRetries = 100;

static_assert(std::atomic<int64_t>::is_always_lock_free);
static_assert(std::atomic<uint32_t>::is_always_lock_free);

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

int64_t steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// PortAudio's default output, unless that is a raw device while the sound server's "pulse"
// device is there (the server then shares the hardware with everything else).
int chooseOutputDevice() {
    const int fallback = Pa_GetDefaultOutputDevice();
    int pulse = -1;
    for (int i = 0; i < Pa_GetDeviceCount(); ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (info && info->maxOutputChannels > 0 && std::strcmp(info->name, "pulse") == 0)
            pulse = i;
    }
    if (fallback >= 0) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(fallback);
        const bool sharedDevice = info && (std::strcmp(info->name, "pulse") == 0 ||
                                           std::strcmp(info->name, "default") == 0);
        if (sharedDevice || pulse < 0)
            return fallback;
    }
    return pulse;
}

PaStreamParameters outputParameters(int device, int channels) {
    PaStreamParameters parameters{};
    parameters.device = device;
    parameters.channelCount = channels;
    parameters.sampleFormat = paFloat32;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    parameters.suggestedLatency =
        std::max(kOutputLatency, info ? info->defaultHighOutputLatency : 0);
    parameters.hostApiSpecificStreamInfo = nullptr;
    return parameters;
}
} // namespace

PlaybackEngine::PlaybackEngine() = default;

PlaybackEngine::~PlaybackEngine() {
    if (_stream)
        closeStream();
    if (_decoderThread.joinable()) {
        {
            std::lock_guard lock(_decoderMutex);
            _quit = true;
        }
        _decoderWake.notify_all();
        _decoderThread.join();
    }
    _decoder.reset();
    _session.reset();
}

bool PlaybackEngine::open(const QString& path, QString* error) {
    if (_decoder) {
        setError(error, BVLocalizedString("PlayerFileAlreadyOpen"));
        return false;
    }
    auto decoder = std::make_unique<AudioFileDecoder>();
    if (!decoder->open(path, error))
        return false;

    _session = std::make_unique<PortAudioLibrary::Session>();
    if (!_session->ok()) {
        setError(error, BVLocalizedString("SoundOutputUnusable"));
        return false;
    }
    _device = chooseOutputDevice();
    const PaDeviceInfo* info = _device >= 0 ? Pa_GetDeviceInfo(_device) : nullptr;
    if (!info || info->maxOutputChannels < 1) {
        setError(error, BVLocalizedString("NoSoundOutput"));
        return false;
    }
    _fileRate = decoder->sampleRate();
    _outChannels = std::clamp(decoder->channels(), 1, std::min(2, info->maxOutputChannels));
    // The file's own rate when the device takes it (no resampling), else the device's.
    const PaStreamParameters parameters = outputParameters(_device, _outChannels);
    _outRate = Pa_IsFormatSupported(nullptr, &parameters, _fileRate) == paFormatIsSupported
                   ? _fileRate
                   : int(info->defaultSampleRate);
    if (!decoder->setOutputFormat(_outChannels, _outRate, error))
        return false;
    _durationFrames = decoder->durationFrames();
    _ring.allocate(size_t(std::ceil(kRingSeconds * _outRate)) * size_t(_outChannels));
    _decoder = std::move(decoder);
    _decoderThread = std::thread([this] {
        pthread_setname_np(pthread_self(), "bv-decoder"); // for top and profilers
        decoderLoop();
    });
    return true;
}

void PlaybackEngine::decoderLoop() {
    const auto refill = std::chrono::milliseconds(std::clamp<int64_t>(
        int64_t(1000.0 * double(_ring.capacity() / size_t(_outChannels)) / _outRate / 4), 20, 250));
    std::unique_lock lock(_decoderMutex);
    while (!_quit) {
        fill(std::numeric_limits<size_t>::max());
        // While the output runs the ring is topped up a few times per ring length; otherwise
        // the thread sleeps until it is told of a new position or the start.
        if (_streamRunning)
            _decoderWake.wait_for(lock, refill);
        else
            _decoderWake.wait(lock);
    }
}

void PlaybackEngine::fill(size_t frames) {
    const size_t channels = size_t(_outChannels);
    const size_t wanted =
        frames > _ring.capacity() / channels ? _ring.capacity() : frames * channels;
    while (!_quit) {
        if (_stagingOffset < _staging.size()) {
            // Whole frames only, so that the callback always reads whole frames.
            const size_t room = _ring.writableCount() / channels * channels;
            const size_t count = std::min(_staging.size() - _stagingOffset, room);
            _stagingOffset += _ring.pushSome(_staging.data() + _stagingOffset, count);
            if (_stagingOffset < _staging.size())
                return; // the ring is full
        }
        if (_ring.readableCount() >= wanted || _decoderEnded.load(std::memory_order_relaxed))
            return;
        _staging.clear();
        _stagingOffset = 0;
        if (!_decoder->decodeMore(_staging)) {
            _decoderEnded.store(true, std::memory_order_release);
            return;
        }
    }
}

bool PlaybackEngine::start(QString* error) {
    if (!_decoder) {
        setError(error, BVLocalizedString("PlayerNoFileOpen"));
        return false;
    }
    update();
    if (_stream)
        return true;
    if (_ended)
        relocate(0); // played to the end: play again from the start
    {
        std::lock_guard lock(_decoderMutex);
        fill(size_t(kPrefillSeconds * _outRate));
    }
    _consumed.store(0, std::memory_order_relaxed);
    _bufferSequence.store(0, std::memory_order_relaxed);
    _bufferFirstFrame.store(0, std::memory_order_relaxed);
    _bufferFrames.store(0, std::memory_order_relaxed);
    _bufferDueAt.store(-1, std::memory_order_relaxed);
    _finished.store(false, std::memory_order_relaxed);

    const PaStreamParameters parameters = outputParameters(_device, _outChannels);
    PaStream* stream = nullptr;
    PaError result = Pa_OpenStream(&stream, nullptr, &parameters, _outRate,
                                   paFramesPerBufferUnspecified, paNoFlag, &callback, this);
    if (result != paNoError) {
        setError(error, QString::fromUtf8(Pa_GetErrorText(result)));
        return false;
    }
    const PaStreamInfo* info = Pa_GetStreamInfo(stream);
    _latencyNanoseconds = int64_t(1e9 * (info ? info->outputLatency : kOutputLatency));
    Pa_SetStreamFinishedCallback(stream, &streamFinished);
    result = Pa_StartStream(stream);
    if (result != paNoError) {
        Pa_CloseStream(stream);
        setError(error, QString::fromUtf8(Pa_GetErrorText(result)));
        return false;
    }
    _stream = stream;
    {
        std::lock_guard lock(_decoderMutex);
        _streamRunning = true;
    }
    _decoderWake.notify_all();
    return true;
}

void PlaybackEngine::stop() {
    if (!_stream)
        return;
    if (update())
        return; // already played to the end
    const int64_t heard = heardOutputFrames();
    closeStream();
    // What was queued but not heard is played again on resume.
    relocate(heard);
}

void PlaybackEngine::seek(int64_t frame) {
    if (!_decoder)
        return;
    int64_t target = std::max<int64_t>(0, toOutputFrames(frame));
    if (_durationFrames > 0)
        target = std::min(target, _durationFrames);
    const bool wasPlaying = isPlaying();
    if (_stream)
        closeStream();
    relocate(target);
    if (wasPlaying)
        start(nullptr);
}

bool PlaybackEngine::update() {
    if (_stream && playedOut()) {
        const int64_t end = _startFrame + _consumed.load(std::memory_order_acquire);
        closeStream();
        _startFrame = end;
        _lastHeard = end;
        _consumed.store(0, std::memory_order_relaxed);
        _ended = true;
    }
    return _ended;
}

bool PlaybackEngine::isPlaying() const {
    return _stream && !playedOut();
}

bool PlaybackEngine::atEnd() const {
    return _ended || (_stream && playedOut());
}

bool PlaybackEngine::playedOut() const {
    // The output has drained and, by its own timing, the last frame has been heard (a sound
    // server may report the drain while the end is still on its way to the speaker).
    return _finished.load(std::memory_order_acquire) &&
           heardOutputFrames() >= _startFrame + _consumed.load(std::memory_order_acquire);
}

int64_t PlaybackEngine::position() const {
    return toFileFrames(_stream ? heardOutputFrames() : _startFrame);
}

int64_t PlaybackEngine::duration() const {
    return toFileFrames(_durationFrames);
}

QString PlaybackEngine::deviceName() const {
    const PaDeviceInfo* info = _device >= 0 ? Pa_GetDeviceInfo(_device) : nullptr;
    return info ? QString::fromUtf8(info->name) : QString();
}

void PlaybackEngine::closeStream() {
    Pa_AbortStream(_stream);
    Pa_CloseStream(_stream);
    _stream = nullptr;
    std::lock_guard lock(_decoderMutex);
    _streamRunning = false;
}

void PlaybackEngine::relocate(int64_t outputFrame) {
    {
        // The callback is gone and the decoder thread waits on the mutex: both ends of the
        // ring may be reset.
        std::lock_guard lock(_decoderMutex);
        _decoder->seek(outputFrame);
        _ring.reset();
        _staging.clear();
        _stagingOffset = 0;
        _decoderEnded.store(false, std::memory_order_relaxed);
    }
    _decoderWake.notify_all(); // refill now, so that the next start finds sound ready
    _startFrame = outputFrame;
    _lastHeard = outputFrame;
    _consumed.store(0, std::memory_order_relaxed);
    _ended = false;
}

int64_t PlaybackEngine::heardOutputFrames() const {
    int64_t first = 0;
    int64_t count = 0;
    int64_t dueAt = -1;
    bool consistent = false;
    for (int attempt = 0; attempt < kSequenceRetries && !consistent; ++attempt) {
        const uint32_t before = _bufferSequence.load(std::memory_order_acquire);
        first = _bufferFirstFrame.load(std::memory_order_relaxed);
        count = _bufferFrames.load(std::memory_order_relaxed);
        dueAt = _bufferDueAt.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        consistent =
            (before & 1u) == 0 && _bufferSequence.load(std::memory_order_relaxed) == before;
    }
    int64_t heard = 0;
    if (!consistent) {
        // The callback was interrupted mid-update: estimate from the total and the latency.
        heard =
            _consumed.load(std::memory_order_acquire) - _latencyNanoseconds * _outRate / 1000000000;
    } else if (dueAt >= 0) {
        // The buffer's first frame reaches the ear at dueAt; frames follow at the output rate.
        const int64_t since = steadyNanoseconds() - dueAt;
        heard = first + int64_t(std::floor(double(since) * _outRate / 1e9));
        heard = std::min(heard, first + count);
    }
    heard = _startFrame + std::max<int64_t>(0, heard);
    _lastHeard = std::max(_lastHeard, heard); // never backwards
    return _lastHeard;
}

int64_t PlaybackEngine::toFileFrames(int64_t outputFrames) const {
    if (_outRate == _fileRate || _outRate <= 0)
        return outputFrames;
    return int64_t(double(outputFrames) * _fileRate / _outRate);
}

int64_t PlaybackEngine::toOutputFrames(int64_t fileFrames) const {
    if (_outRate == _fileRate || _fileRate <= 0)
        return fileFrames;
    return int64_t(double(fileFrames) * _outRate / _fileRate);
}

int PlaybackEngine::callback(const void*, void* output, unsigned long frameCount,
                             const PaStreamCallbackTimeInfo* timeInfo, unsigned long,
                             void* userData) {
    return static_cast<PlaybackEngine*>(userData)->render(static_cast<float*>(output), frameCount,
                                                          timeInfo);
}

void PlaybackEngine::streamFinished(void* userData) {
    static_cast<PlaybackEngine*>(userData)->_finished.store(true, std::memory_order_release);
}

// Runs on PortAudio's real-time thread: no locks, no allocation, no I/O.
int PlaybackEngine::render(float* output, unsigned long frameCount,
                           const PaStreamCallbackTimeInfo* timeInfo) {
    const size_t channels = size_t(_outChannels);
    // Read before the ring: when the decoder had ended, everything it wrote is visible.
    const bool decoderEnded = _decoderEnded.load(std::memory_order_acquire);
    const size_t samples = _ring.pop(output, size_t(frameCount) * channels);
    std::fill(output + samples, output + size_t(frameCount) * channels, 0.0f);
    const int64_t frames = int64_t(samples / channels);

    int64_t latency = _latencyNanoseconds;
    if (timeInfo && timeInfo->outputBufferDacTime > timeInfo->currentTime)
        latency = int64_t(1e9 * (timeInfo->outputBufferDacTime - timeInfo->currentTime));
    const int64_t first = _consumed.load(std::memory_order_relaxed);
    const uint32_t sequence = _bufferSequence.load(std::memory_order_relaxed);
    _bufferSequence.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    _bufferFirstFrame.store(first, std::memory_order_relaxed);
    _bufferFrames.store(frames, std::memory_order_relaxed);
    _bufferDueAt.store(steadyNanoseconds() + latency, std::memory_order_relaxed);
    _bufferSequence.store(sequence + 2, std::memory_order_release);
    _consumed.store(first + frames, std::memory_order_release);

    if (decoderEnded && frames < int64_t(frameCount))
        return paComplete; // played out once this buffer is heard
    return paContinue;
}
