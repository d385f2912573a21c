#include "platform/audio/PulseStreams.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace {
pa_sample_spec recordSpec(const CaptureConfig& config) {
    pa_sample_spec spec{};
    spec.format = config.wide ? PA_SAMPLE_S32LE : PA_SAMPLE_S16LE;
    spec.rate = uint32_t(config.sampleRate);
    spec.channels = uint8_t(config.channels);
    return spec;
}

size_t bytesPerFrame(const CaptureConfig& config) {
    return size_t(config.channels) * (config.wide ? 4 : 2);
}

bool isEnded(pa_stream_state_t state) {
    return state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED;
}
} // namespace

PulseStreams::PulseStreams(const CaptureConfig& config, unsigned long framesPerBuffer,
                           CaptureStream* owner)
    : _config(config), _framesPerBuffer(framesPerBuffer), _owner(owner),
      _silence(framesPerBuffer * bytesPerFrame(config), 0) {}

std::unique_ptr<PulseStreams> PulseStreams::open(const CaptureConfig& config,
                                                 unsigned long framesPerBuffer,
                                                 CaptureStream* owner, QString* error) {
    std::unique_ptr<PulseStreams> streams(new PulseStreams(config, framesPerBuffer, owner));
    if (!streams->connect(error))
        return nullptr;
    return streams;
}

QString PulseStreams::lastError() const {
    return QString::fromUtf8(pa_strerror(_context ? pa_context_errno(_context) : PA_ERR_UNKNOWN));
}

bool PulseStreams::connect(QString* error) {
    _loop = pa_threaded_mainloop_new();
    if (!_loop) {
        *error = QStringLiteral("the sound server's client could not be set up");
        return false;
    }
    pa_threaded_mainloop_set_name(_loop, "bv-sound");
    _context = pa_context_new(pa_threaded_mainloop_get_api(_loop), "Brevoir");
    if (!_context) {
        *error = QStringLiteral("the sound server's client could not be set up");
        return false;
    }
    pa_context_set_state_callback(_context, &PulseStreams::onContextState, this);
    if (pa_context_connect(_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pa_threaded_mainloop_start(_loop) < 0) {
        *error = lastError();
        return false;
    }
    pa_threaded_mainloop_lock(_loop);
    pa_context_state_t state;
    while ((state = pa_context_get_state(_context)) != PA_CONTEXT_READY &&
           PA_CONTEXT_IS_GOOD(state))
        pa_threaded_mainloop_wait(_loop);
    bool ready = state == PA_CONTEXT_READY;
    if (ready) {
        const pa_sample_spec spec = recordSpec(_config);
        _record = pa_stream_new(_context, "Recording", &spec, nullptr);
        ready = _record != nullptr;
    }
    if (ready) {
        pa_stream_set_state_callback(_record, &PulseStreams::onStreamState, this);
        pa_stream_set_read_callback(_record, &PulseStreams::onReadable, this);
        // Blocks as long as PortAudio's: the server wakes us once per block, no more.
        pa_buffer_attr attr{};
        attr.maxlength = uint32_t(-1);
        attr.fragsize = uint32_t(_framesPerBuffer * bytesPerFrame(_config));
        // No device: the default source, or the one PULSE_SOURCE names.
        ready = pa_stream_connect_record(_record, nullptr, &attr, PA_STREAM_ADJUST_LATENCY) == 0 &&
                waitUntilReady(_record, error);
    } else {
        *error = lastError();
    }
    pa_threaded_mainloop_unlock(_loop);
    return ready;
}

bool PulseStreams::waitUntilReady(pa_stream* stream, QString* error) {
    pa_stream_state_t state;
    while ((state = pa_stream_get_state(stream)) != PA_STREAM_READY && !isEnded(state))
        pa_threaded_mainloop_wait(_loop);
    if (state == PA_STREAM_READY)
        return true;
    *error = lastError();
    return false;
}

PulseStreams::~PulseStreams() {
    if (!_loop)
        return;
    pa_threaded_mainloop_lock(_loop);
    for (pa_stream* stream : {_record, _playback}) {
        if (!stream)
            continue;
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
    if (_context) {
        pa_context_set_state_callback(_context, nullptr, nullptr);
        pa_context_disconnect(_context);
        pa_context_unref(_context);
    }
    pa_threaded_mainloop_unlock(_loop);
    pa_threaded_mainloop_stop(_loop);
    pa_threaded_mainloop_free(_loop);
}

bool PulseStreams::startOutput(QString* error) {
    pa_threaded_mainloop_lock(_loop);
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_FLOAT32LE;
    spec.rate = uint32_t(_config.sampleRate);
    spec.channels = uint8_t(_config.channels);
    _playback = pa_stream_new(_context, "Playthrough", &spec, nullptr);
    bool ready = _playback != nullptr;
    if (ready) {
        pa_stream_set_state_callback(_playback, &PulseStreams::onStreamState, this);
        // No write callback: the sound is written as it is captured (onReadable), so the
        // playthrough costs no wake-ups of its own. The server asks for more only when a
        // quarter second has gone unfilled, which the input's packets never let happen.
        const uint32_t block = uint32_t(_framesPerBuffer * size_t(_config.channels) * 4);
        pa_buffer_attr attr{};
        attr.maxlength = uint32_t(-1);
        attr.tlength = 6 * block;
        attr.prebuf = 2 * block;
        attr.minreq = 5 * block;
        ready = pa_stream_connect_playback(_playback, nullptr, &attr, PA_STREAM_ADJUST_LATENCY,
                                           nullptr, nullptr) == 0 &&
                waitUntilReady(_playback, error);
    } else {
        *error = lastError();
    }
    pa_threaded_mainloop_unlock(_loop);
    return ready;
}

bool PulseStreams::isRunning() const {
    pa_threaded_mainloop_lock(_loop);
    const bool running = pa_context_get_state(_context) == PA_CONTEXT_READY && _record &&
                         pa_stream_get_state(_record) == PA_STREAM_READY;
    pa_threaded_mainloop_unlock(_loop);
    return running;
}

void PulseStreams::onContextState(pa_context*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulseStreams*>(self)->_loop, 0);
}

void PulseStreams::onStreamState(pa_stream*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulseStreams*>(self)->_loop, 0);
}

// The main loop's thread: hands each fragment to the capture code, as a device callback would.
void PulseStreams::onReadable(pa_stream* stream, size_t, void* self) {
    auto* streams = static_cast<PulseStreams*>(self);
    const size_t frameBytes = bytesPerFrame(streams->_config);
    const void* data = nullptr;
    size_t bytes = 0;
    while (pa_stream_peek(stream, &data, &bytes) == 0 && bytes > 0) {
        size_t frames = bytes / frameBytes;
        if (data) {
            streams->_owner->onInput(data, frames);
        } else {
            // A hole: the server lost sound here. Silence keeps the timeline true.
            while (frames > 0) {
                const size_t n = std::min<size_t>(frames, streams->_framesPerBuffer);
                streams->_owner->onInput(streams->_silence.data(), n);
                frames -= n;
            }
        }
        pa_stream_drop(stream);
    }
    streams->writePlaythrough();
}

// The main loop's thread: what the input just handed over goes straight on to the output.
void PulseStreams::writePlaythrough() {
    if (!_playback || pa_stream_get_state(_playback) != PA_STREAM_READY)
        return;
    const size_t frameBytes = size_t(_config.channels) * sizeof(float);
    const size_t writable = pa_stream_writable_size(_playback);
    if (writable == size_t(-1))
        return;
    // A block at a time: each write is a message to the server.
    const size_t frames = std::min(writable / frameBytes, _owner->playthroughFramesReady());
    if (frames < _framesPerBuffer)
        return;
    void* buffer = nullptr;
    size_t size = frames * frameBytes;
    if (pa_stream_begin_write(_playback, &buffer, &size) < 0 || !buffer)
        return;
    const size_t got = _owner->takePlaythrough(static_cast<float*>(buffer), size / frameBytes);
    if (got == 0) {
        pa_stream_cancel_write(_playback);
        return;
    }
    pa_stream_write(_playback, buffer, got * frameBytes, nullptr, 0, PA_SEEK_RELATIVE);
}
