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
                                                 CaptureStream* owner,
                                                 SoundServerConnection::Failure* failure) {
    std::unique_ptr<PulseStreams> streams(new PulseStreams(config, framesPerBuffer, owner));
    if (!streams->connect(failure))
        return nullptr;
    return streams;
}

bool PulseStreams::connect(SoundServerConnection::Failure* failure) {
    _server = SoundServerConnection::open("Brevoir", "bv-sound", failure);
    if (!_server)
        return false;
    SoundServerConnection::Lock lock(*_server);
    const pa_sample_spec spec = recordSpec(_config);
    _record = pa_stream_new(_server->context(), "Recording", &spec, nullptr);
    if (!_record) {
        failure->reason = _server->lastError();
        return false;
    }
    pa_stream_set_state_callback(_record, &PulseStreams::onStreamState, this);
    pa_stream_set_read_callback(_record, &PulseStreams::onReadable, this);
    // Blocks as long as PortAudio's: the server wakes us once per block, no more.
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.fragsize = uint32_t(_framesPerBuffer * bytesPerFrame(_config));
    // No source named: the default source, or the one PULSE_SOURCE names.
    const QByteArray source = _config.source.toUtf8();
    if (pa_stream_connect_record(_record, source.isEmpty() ? nullptr : source.constData(), &attr,
                                 PA_STREAM_ADJUST_LATENCY) != 0) {
        failure->reason = _server->lastError();
        return false;
    }
    return waitUntilReady(_record, failure);
}

bool PulseStreams::waitUntilReady(pa_stream* stream, SoundServerConnection::Failure* failure) {
    const bool answered = _server->waitLocked([stream] {
        const pa_stream_state_t state = pa_stream_get_state(stream);
        return state == PA_STREAM_READY || isEnded(state);
    });
    if (!answered) {
        failure->timedOut = true;
        failure->reason = QStringLiteral("the sound server did not open the stream within %1 s")
                              .arg(double(SoundServerConnection::deadline().count()) / 1000.0);
        return false;
    }
    if (pa_stream_get_state(stream) == PA_STREAM_READY)
        return true;
    failure->reason = _server->lastError();
    return false;
}

PulseStreams::~PulseStreams() {
    if (!_server)
        return;
    SoundServerConnection::Lock lock(*_server);
    for (pa_stream* stream : {_record, _playback}) {
        if (!stream)
            continue;
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
}

bool PulseStreams::startOutput(QString* error) {
    SoundServerConnection::Lock lock(*_server);
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_FLOAT32LE;
    spec.rate = uint32_t(_config.sampleRate);
    spec.channels = uint8_t(_config.channels);
    _playback = pa_stream_new(_server->context(), "Playthrough", &spec, nullptr);
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
        SoundServerConnection::Failure failure;
        ready = pa_stream_connect_playback(_playback, nullptr, &attr, PA_STREAM_ADJUST_LATENCY,
                                           nullptr, nullptr) == 0 &&
                waitUntilReady(_playback, &failure);
        if (!ready)
            *error = failure.reason.isEmpty() ? _server->lastError() : failure.reason;
    } else {
        *error = _server->lastError();
    }
    return ready;
}

bool PulseStreams::isRunning() const {
    SoundServerConnection::Lock lock(*_server);
    return _server->isReady() && _record && pa_stream_get_state(_record) == PA_STREAM_READY;
}

void PulseStreams::onStreamState(pa_stream*, void* self) {
    SoundServerConnection::signal(static_cast<PulseStreams*>(self)->_server.get());
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
