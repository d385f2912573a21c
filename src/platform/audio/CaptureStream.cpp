#include "platform/audio/CaptureStream.h"

#include <portaudio.h>

#include <algorithm>
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

CaptureStream::CaptureStream(const CaptureConfig& config)
    : _config(config), _framesPerBuffer(framesPerBufferFor(config.sampleRate)),
      _ring(std::make_shared<SampleRing>(size_t(config.sampleRate) * config.channels * 8)),
      _monitorRing(size_t(config.sampleRate) * config.channels / 2),
      _scratch(_framesPerBuffer * size_t(config.channels)),
      _monitorScratch(_framesPerBuffer * size_t(config.channels)) {}

std::unique_ptr<CaptureStream> CaptureStream::open(const CaptureConfig& config, QString* error) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(config.device);
    if (!info) {
        if (error)
            *error = QStringLiteral("no such input device");
        return nullptr;
    }
    std::unique_ptr<CaptureStream> stream(new CaptureStream(config));
    PaStreamParameters in{};
    in.device = config.device;
    in.channelCount = config.channels;
    in.sampleFormat = config.wide ? paInt32 : paInt16;
    in.suggestedLatency = info->defaultHighInputLatency;
    PaError e =
        Pa_OpenStream(&stream->_input, &in, nullptr, config.sampleRate, stream->_framesPerBuffer,
                      paClipOff | paDitherOff, &CaptureStream::inputCallback, stream.get());
    if (e == paNoError) {
        e = Pa_StartStream(stream->_input);
        if (e != paNoError) {
            Pa_CloseStream(stream->_input);
            stream->_input = nullptr;
        }
    } else {
        stream->_input = nullptr;
    }
    if (e != paNoError) {
        if (error)
            *error = paError(e);
        return nullptr;
    }
    return stream;
}

CaptureStream::~CaptureStream() {
    for (PaStream* s : {_input, _output}) {
        if (s) {
            Pa_AbortStream(s);
            Pa_CloseStream(s);
        }
    }
}

bool CaptureStream::openOutput(QString* error) {
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
    if (on && !_output && !_outputFailed && !openOutput(error))
        _outputFailed = true;
    _monitoring.store(on && _output, std::memory_order_release);
    return !on || _output;
}

void CaptureStream::takePeaks(double peaks[2]) {
    for (int ch = 0; ch < 2; ++ch)
        peaks[ch] = _peaks[ch].exchange(0, std::memory_order_relaxed) / kFullScale;
}

bool CaptureStream::isRunning() const {
    return _input && Pa_IsStreamActive(_input) == 1;
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
    const int channels = _config.channels;
    const bool capturing = _capturing.load(std::memory_order_acquire);
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
        if (capturing)
            _ring->push(_scratch.data(), samples);
        if (monitoring) {
            for (size_t i = 0; i < samples; ++i)
                _monitorScratch[i] = float(_scratch[i]) * (1.0f / 2147483648.0f);
            _monitorRing.push(_monitorScratch.data(), samples); // a full ring just skips
        }
        done += n;
    }
    for (int ch = 0; ch < channels; ++ch)
        raise(_peaks[ch], peaks[ch]);
}

// Real-time thread of the output device.
void CaptureStream::onOutput(float* output, unsigned long frames) {
    const size_t channels = size_t(_config.channels);
    const size_t wanted = size_t(frames) * channels;
    const size_t target = 2 * size_t(_framesPerBuffer) * channels;
    const size_t available = _monitorRing.readableCount();
    size_t got = 0;
    if (_priming && available >= target)
        _priming = false;
    if (!_priming) {
        // Keep the delay bounded when the input runs faster than the output.
        if (available > target + 4 * size_t(_framesPerBuffer) * channels)
            _monitorRing.discardTo(_monitorRing.readPosition() + (available - target));
        got = _monitorRing.pop(output, wanted);
        if (got < wanted)
            _priming = true; // ran dry: wait for a cushion again
    }
    const float gain = float(_volume.load(std::memory_order_relaxed)) / 256.0f;
    for (size_t i = 0; i < got; ++i)
        output[i] *= gain;
    std::fill(output + got, output + wanted, 0.0f);
}
