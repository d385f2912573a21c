#include "platform/audio/CaptureStream.h"

#include "platform/audio/AudioDevices.h"
#include "platform/audio/PulseStreams.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"

#include <portaudio.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {
// About 50 ms per callback, a power of two for the ALSA period: fewer wake-ups of the device
// and sound-server threads keep recording nearly free of CPU.
unsigned long framesPerBufferFor(int rate) {
    unsigned long frames = 64;
    while (frames * 2 <= unsigned(rate) / 20)
        frames *= 2;
    return frames;
}

constexpr double kFullScale = 8388608.0; // peaks are kept on a 24-bit scale

void raise(std::atomic<uint32_t>& peak, uint32_t value) {
    uint32_t current = peak.load(std::memory_order_relaxed);
    while (value > current &&
           !peak.compare_exchange_weak(current, value, std::memory_order_relaxed)) {
    }
}

QString paError(PaError e) {
    return QString::fromUtf8(Pa_GetErrorText(e));
}
} // namespace

int64_t framesInNs(int64_t ns, int rate) {
    return int64_t(double(ns) * rate / 1e9);
}

int64_t nsOfFrames(uint64_t frames, int rate) {
    return int64_t(double(frames) * 1e9 / rate);
}

int64_t captureClockNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

CaptureStream::CaptureStream(const CaptureConfig& config)
    : _config(config), _framesPerBuffer(framesPerBufferFor(config.sampleRate)),
      _ring(std::make_shared<SampleRing>(size_t(config.sampleRate) * config.channels * 8)),
      _monitorRing(size_t(config.sampleRate) * config.channels / 2),
      _scratch(_framesPerBuffer * size_t(config.channels)),
      _monitorScratch(_framesPerBuffer * size_t(config.channels)) {
    _levelMeter.configure(config.sampleRate, config.channels, config.wide);
}

std::unique_ptr<CaptureStream> CaptureStream::open(const CaptureConfig& config, QString* error) {
    if (config.source.isEmpty() && !Pa_GetDeviceInfo(config.device)) {
        if (error)
            *error = QStringLiteral("no such input device");
        return nullptr;
    }
    std::unique_ptr<CaptureStream> stream(new CaptureStream(config));
    int device = config.device;
    if (isSoundServerInput(config)) {
        SoundServerConnection::Failure failure;
        stream->_lastCallbackNs.store(captureClockNs(), std::memory_order_relaxed);
        stream->_pulse =
            PulseStreams::open(config, stream->_framesPerBuffer, stream.get(), &failure);
        if (stream->_pulse)
            return stream;
        // A source lives only on the server, and a server that stalls would hold the ALSA
        // plugin's device too: only a device of ALSA's own can stand in.
        if (!config.source.isEmpty() || failure.timedOut) {
            device = failure.timedOut ? AudioDevices::firstHardwareInput() : -1;
            if (device < 0) {
                if (error)
                    *error = failure.reason;
                return nullptr;
            }
            stream->_notice =
                BVLocalizedString("SoundServerFallback")
                    .arg(failure.reason, QString::fromUtf8(Pa_GetDeviceInfo(device)->name));
            bvLog(QStringLiteral("%1; recording from %2 through ALSA instead")
                      .arg(failure.reason, QString::fromUtf8(Pa_GetDeviceInfo(device)->name)));
        }
        // Otherwise no server to talk to after all: the ALSA device may still work.
    }
    if (!stream->openDevice(device, error))
        return nullptr;
    return stream;
}

bool CaptureStream::openDevice(int device, QString* error) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    PaStreamParameters in{};
    in.device = device;
    in.channelCount = _config.channels;
    in.sampleFormat = _config.wide ? paInt32 : paInt16;
    in.suggestedLatency = info->defaultHighInputLatency;
    PaError e = Pa_OpenStream(&_input, &in, nullptr, _config.sampleRate, _framesPerBuffer,
                              paClipOff | paDitherOff, &CaptureStream::inputCallback, this);
    if (e == paNoError) {
        _lastCallbackNs.store(captureClockNs(), std::memory_order_relaxed);
        e = Pa_StartStream(_input);
        if (e != paNoError) {
            Pa_CloseStream(_input);
            _input = nullptr;
        }
    } else {
        _input = nullptr;
    }
    if (e != paNoError) {
        if (error)
            *error = paError(e);
        return false;
    }
    return true;
}

bool CaptureStream::isSoundServerInput(const CaptureConfig& config) {
    if (!config.source.isEmpty())
        return true;
    // BREVOIR_CAPTURE_PATH=alsa keeps the ALSA plugin's path, for comparing the two.
    if (qEnvironmentVariable("BREVOIR_CAPTURE_PATH") == QLatin1String("alsa"))
        return false;
    return AudioDevices::isSoundServerDevice(config.device);
}

CaptureStream::~CaptureStream() {
    // The main loop's thread ends before the rings it writes to.
    _pulse.reset();
    for (PaStream* s : {_input, _output}) {
        if (s) {
            Pa_AbortStream(s);
            Pa_CloseStream(s);
        }
    }
}

bool CaptureStream::openOutput(QString* error) {
    if (_pulse)
        return _pulse->startOutput(error);
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (!info) {
        if (error)
            *error = QStringLiteral("no output device");
        return false;
    }
    PaStreamParameters out{};
    out.device = device;
    out.channelCount = _config.channels;
    out.sampleFormat = paFloat32;
    out.suggestedLatency = info->defaultHighOutputLatency;
    PaError e = Pa_OpenStream(&_output, nullptr, &out, _config.sampleRate, _framesPerBuffer,
                              paClipOff | paDitherOff, &CaptureStream::outputCallback, this);
    if (e == paNoError) {
        e = Pa_StartStream(_output);
        if (e != paNoError)
            Pa_CloseStream(_output);
    }
    if (e != paNoError) {
        _output = nullptr;
        if (error)
            *error = paError(e);
        return false;
    }
    return true;
}

bool CaptureStream::setMonitor(bool on, int volume, QString* error) {
    _volume.store(std::clamp(volume, 0, 256), std::memory_order_relaxed);
    on = on && volume > 0;
    if (on && !_outputOpen && !_outputFailed)
        (openOutput(error) ? _outputOpen : _outputFailed) = true;
    _monitoring.store(on && _outputOpen, std::memory_order_release);
    return !on || _outputOpen;
}

void CaptureStream::takePeaks(double peaks[2]) {
    for (int ch = 0; ch < 2; ++ch)
        peaks[ch] = _peaks[ch].exchange(0, std::memory_order_relaxed) / kFullScale;
}

std::shared_ptr<const StartMark> CaptureStream::requestStartAt(int64_t ns) {
    _startMark->frame.store(StartMark::kPending, std::memory_order_relaxed);
    _startMark->leadIn.store(0, std::memory_order_relaxed);
    _startMark->requestedNs.store(ns, std::memory_order_release);
    return _startMark;
}

std::optional<uint64_t> CaptureStream::frameAt(int64_t ns) const {
    const int64_t offset = _ringClockOffsetNs.load(std::memory_order_acquire);
    if (offset == kNoOffset)
        return std::nullopt;
    const int64_t frame = framesInNs(ns - offset, _config.sampleRate);
    // Should the callbacks stall, do not wait for frames that may never come; but a source
    // that hands its sound over in bursts (a monitor behind a player's long buffer) owes up to
    // one burst at any moment.
    const uint64_t burst =
        uint64_t(framesInNs(_longestGapNs.load(std::memory_order_relaxed), _config.sampleRate));
    const uint64_t latest = framesPushed() + 2 * _framesPerBuffer + burst;
    return std::min(uint64_t(std::max<int64_t>(frame, 0)), latest);
}

std::optional<int64_t> CaptureStream::timeOfFrame(uint64_t frame) const {
    const int64_t offset = _ringClockOffsetNs.load(std::memory_order_acquire);
    if (offset == kNoOffset)
        return std::nullopt;
    return offset + nsOfFrames(frame, _config.sampleRate);
}

bool CaptureStream::isRunning() const {
    // A sound server that dies can leave the stream "active" with no callbacks ever again.
    const int64_t quietNs = captureClockNs() - _lastCallbackNs.load(std::memory_order_relaxed);
    const bool active = _pulse ? _pulse->isRunning() : _input && Pa_IsStreamActive(_input) == 1;
    return active && quietNs < kStallNs;
}

int CaptureStream::inputCallback(const void* input, void*, unsigned long frames,
                                 const PaStreamCallbackTimeInfo*, unsigned long, void* self) {
    if (input)
        static_cast<CaptureStream*>(self)->onInput(input, frames);
    return paContinue;
}

int CaptureStream::outputCallback(const void*, void* output, unsigned long frames,
                                  const PaStreamCallbackTimeInfo*, unsigned long, void* self) {
    static_cast<CaptureStream*>(self)->onOutput(static_cast<float*>(output), frames);
    return paContinue;
}

// Real-time thread: no locks, no allocation, no I/O.
void CaptureStream::onInput(const void* input, unsigned long frames) {
    const int64_t arrivedNs = captureClockNs();
    const int64_t gapNs = arrivedNs - _lastCallbackNs.load(std::memory_order_relaxed);
    // The wait before the very first block is the device starting, not a gap in delivery.
    if (_deviceFrames > 0 && gapNs > _longestGapNs.load(std::memory_order_relaxed) &&
        gapNs < kStallNs)
        _longestGapNs.store(gapNs, std::memory_order_relaxed);
    _lastCallbackNs.store(arrivedNs, std::memory_order_relaxed);
    const int channels = _config.channels;
    const bool capturing = _capturing.load(std::memory_order_acquire);
    const uint64_t firstFrame = framesPushed();
    const bool monitoring = _monitoring.load(std::memory_order_acquire);
    uint32_t peaks[2] = {0, 0};
    unsigned long done = 0;
    while (done < frames) {
        const unsigned long n = std::min(frames - done, _framesPerBuffer);
        const size_t samples = size_t(n) * channels;
        const size_t first = size_t(done) * channels;
        if (_config.wide) {
            const auto* in = static_cast<const int32_t*>(input) + first;
            std::copy(in, in + samples, _scratch.begin());
        } else {
            const auto* in = static_cast<const int16_t*>(input) + first;
            for (size_t i = 0; i < samples; ++i)
                _scratch[i] = int32_t(uint32_t(uint16_t(in[i])) << 16);
        }
        for (size_t i = 0; i < samples; ++i) {
            const int64_t s = _scratch[i] >> 8;
            peaks[i % size_t(channels)] =
                std::max(peaks[i % size_t(channels)], uint32_t(s < 0 ? -s : s));
        }
        // Blocks nobody takes are dropped once the ring is full.
        _levelMeter.add(_scratch.data(), n,
                        [this](const LevelBlock& block) { _levelBlocks.push(&block, 1); });
        if (capturing) {
            const uint64_t at = framesPushed();
            if (_ring->push(_scratch.data(), samples))
                _voice->scan(_scratch.data(), n, channels, at);
        }
        if (monitoring) {
            for (size_t i = 0; i < samples; ++i)
                _monitorScratch[i] = float(_scratch[i]) * (1.0f / 2147483648.0f);
            _monitorRing.push(_monitorScratch.data(), samples); // a full ring just skips
        }
        done += n;
    }
    for (int ch = 0; ch < channels; ++ch)
        raise(_peaks[ch], peaks[ch]);
    markBlock(firstFrame, frames, arrivedNs, capturing && framesPushed() == firstFrame + frames);
}

// Real-time thread: arithmetic and atomics only.
//
// Blocks reach the callback late by varying amounts (scheduling, the sound server's own
// packets) but never early, so the least late of them tells best when a frame was captured.
// The estimate follows the lower envelope of the lateness, allowed to rise slowly for a device
// clock that runs a little slow against ours.
void CaptureStream::markBlock(uint64_t firstFrame, unsigned long frames, int64_t arrivedNs,
                              bool pushed) {
    const int rate = _config.sampleRate;
    _deviceFrames += frames;
    const int64_t lateness = arrivedNs - nsOfFrames(_deviceFrames, rate);
    const int64_t allowance = nsOfFrames(frames, rate) / 2000; // 500 ppm of drift
    _deviceClockOffsetNs = _deviceClockOffsetNs == kNoOffset
                               ? lateness
                               : std::min(_deviceClockOffsetNs + allowance, lateness);
    if (!pushed)
        return;
    // Ring frames lag device frames by what was not pushed (preview, pauses, dropped blocks).
    const uint64_t endFrame = firstFrame + frames;
    const int64_t ringOffset =
        _deviceClockOffsetNs + nsOfFrames(_deviceFrames, rate) - nsOfFrames(endFrame, rate);
    _ringClockOffsetNs.store(ringOffset, std::memory_order_release);
    const int64_t requested = _startMark->requestedNs.load(std::memory_order_acquire);
    if (requested != 0) {
        const int64_t frame = framesInNs(requested - ringOffset, rate);
        const int64_t clamped = std::clamp<int64_t>(frame, int64_t(firstFrame), int64_t(endFrame));
        // Nothing was captured before the input's first block. When the input held its sound
        // back for longer than a device takes to start (a few blocks), the time asked for
        // before it becomes silence instead of a file that much shorter than the recording.
        const bool firstBlock = _deviceFrames == frames;
        const int64_t missing = firstBlock ? int64_t(firstFrame) - frame : 0;
        if (missing > int64_t(4 * _framesPerBuffer))
            _startMark->leadIn.store(uint64_t(std::min(missing, framesInNs(kStallNs, rate))),
                                     std::memory_order_relaxed);
        _startMark->frame.store(uint64_t(clamped), std::memory_order_release);
        _startMark->requestedNs.store(0, std::memory_order_relaxed);
    }
}

// Real-time thread of the output device.
void CaptureStream::onOutput(float* output, unsigned long frames) {
    const size_t channels = size_t(_config.channels);
    const size_t got = takePlaythrough(output, frames);
    if (got < frames)
        _priming = true; // ran dry: wait for a cushion again
    std::fill(output + got * channels, output + size_t(frames) * channels, 0.0f);
}

size_t CaptureStream::takePlaythrough(float* output, size_t frames) {
    const size_t channels = size_t(_config.channels);
    const size_t target = 2 * size_t(_framesPerBuffer) * channels;
    const size_t available = _monitorRing.readableCount();
    if (_priming && available >= target)
        _priming = false;
    if (_priming)
        return 0;
    // Keep the delay bounded when the input runs faster than the output.
    if (available > target + 4 * size_t(_framesPerBuffer) * channels)
        _monitorRing.discardTo(_monitorRing.readPosition() + (available - target));
    const size_t got = _monitorRing.pop(output, frames * channels);
    const float gain = float(_volume.load(std::memory_order_relaxed)) / 256.0f;
    for (size_t i = 0; i < got; ++i)
        output[i] *= gain;
    return got / channels;
}

size_t CaptureStream::playthroughFramesReady() const {
    return _monitorRing.readableCount() / size_t(_config.channels);
}
