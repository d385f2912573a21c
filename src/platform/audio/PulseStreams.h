#pragma once

#include "platform/audio/CaptureStream.h"
#include "platform/audio/SoundServerConnection.h"

#include <QString>

#include <memory>
#include <vector>

struct pa_stream;

// Capture and playthrough on the sound server's own client library, for an input that is one of
// the sound server's sources (its default source unless one is named). One threaded main loop
// carries both streams, so a recording wakes one thread per block instead of the two device threads
// and two callback threads that the ALSA plugin and PortAudio need; the blocks are handed to the
// same CaptureStream code as PortAudio's callbacks (no locks, no allocation on that thread).
class PulseStreams {
public:
    // Connects and starts recording from the source the config names (its default source when
    // none is named) into `owner`, within the connection's deadline; null with the reason when
    // the server is not there, stalls, or has no such source.
    static std::unique_ptr<PulseStreams> open(const CaptureConfig& config,
                                              unsigned long framesPerBuffer, CaptureStream* owner,
                                              SoundServerConnection::Failure* failure);
    ~PulseStreams();
    PulseStreams(const PulseStreams&) = delete;
    PulseStreams& operator=(const PulseStreams&) = delete;

    // Starts the playthrough stream to the default sink; false with a reason.
    bool startOutput(QString* error);
    // False once the server or the record stream has gone.
    bool isRunning() const;

private:
    PulseStreams(const CaptureConfig& config, unsigned long framesPerBuffer, CaptureStream* owner);
    bool connect(SoundServerConnection::Failure* failure);
    // Waits (main loop locked, within the deadline) until the stream is ready or has failed.
    bool waitUntilReady(pa_stream* stream, SoundServerConnection::Failure* failure);
    void writePlaythrough();

    static void onStreamState(pa_stream* stream, void* self);
    static void onReadable(pa_stream* stream, size_t bytes, void* self);

    CaptureConfig _config;
    unsigned long _framesPerBuffer;
    CaptureStream* _owner;
    std::unique_ptr<SoundServerConnection> _server;
    pa_stream* _record = nullptr;
    pa_stream* _playback = nullptr;
    std::vector<char> _silence; // stands in for a hole the server reports in the recording
};
