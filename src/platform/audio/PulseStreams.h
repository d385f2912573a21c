#pragma once

#include "platform/audio/CaptureStream.h"

#include <QString>

#include <memory>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;

// Capture and playthrough on the sound server's own client library, for an input that is the
// sound server's default source (the desktop's usual input). One threaded main loop carries
// both streams, so a recording wakes one thread per block instead of the two device threads and
// two callback threads that the ALSA plugin and PortAudio need; the blocks are handed to the
// same CaptureStream code as PortAudio's callbacks (no locks, no allocation on that thread).
class PulseStreams {
public:
    // Connects and starts recording from the default source into `owner`; null with a reason
    // when there is no sound server to talk to.
    static std::unique_ptr<PulseStreams> open(const CaptureConfig& config,
                                              unsigned long framesPerBuffer, CaptureStream* owner,
                                              QString* error);
    ~PulseStreams();
    PulseStreams(const PulseStreams&) = delete;
    PulseStreams& operator=(const PulseStreams&) = delete;

    // Starts the playthrough stream to the default sink; false with a reason.
    bool startOutput(QString* error);
    // False once the server or the record stream has gone.
    bool isRunning() const;

private:
    PulseStreams(const CaptureConfig& config, unsigned long framesPerBuffer, CaptureStream* owner);
    bool connect(QString* error);
    // Waits (main loop locked) until the stream is ready or has failed.
    bool waitUntilReady(pa_stream* stream, QString* error);
    QString lastError() const;
    void writePlaythrough();

    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onReadable(pa_stream* stream, size_t bytes, void* self);

    CaptureConfig _config;
    unsigned long _framesPerBuffer;
    CaptureStream* _owner;
    pa_threaded_mainloop* _loop = nullptr;
    pa_context* _context = nullptr;
    pa_stream* _record = nullptr;
    pa_stream* _playback = nullptr;
    std::vector<char> _silence; // stands in for a hole the server reports in the recording
};
