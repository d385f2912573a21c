#pragma once

#include "platform/audio/SpscRing.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class AudioFileDecoder;
namespace PortAudioLibrary {
class Session;
}
typedef void PaStream;
struct PaStreamCallbackTimeInfo;

// Plays one media file through PortAudio. A decoder thread fills a lock-free ring buffer that
// the output callback drains; the callback never locks, allocates or does I/O. The output
// stream exists only while playing, so a paused or idle engine costs no CPU.
// Positions are in frames of the file's own sample rate (its time scale) and count what has
// been heard, not what has been decoded. All methods are for the main thread.
class PlaybackEngine {
public:
    PlaybackEngine();
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // Opens a file for playing at its start; false with *error (a user's words) otherwise.
    bool open(const QString& path, QString* error);

    // Plays from the current position (from the start again once the end was reached).
    bool start(QString* error);
    // Pauses at what has been heard so far.
    void stop();
    // Goes to a frame; playing goes on from there when it was playing.
    void seek(int64_t frame);

    bool isPlaying() const;
    // True once everything has been played (until the next seek or start).
    bool atEnd() const;
    int64_t position() const;
    int64_t duration() const; // 0 when the file does not tell
    int sampleRate() const { return _fileRate; }

    // Closes the output once the callback has played the end; call from a timer while
    // playing. Answers true when the end was reached.
    bool update();

    // The output device's name (for diagnostics).
    QString deviceName() const;

private:
    static int callback(const void* input, void* output, unsigned long frameCount,
                        const PaStreamCallbackTimeInfo* timeInfo, unsigned long statusFlags,
                        void* userData);
    static void streamFinished(void* userData);
    int render(float* output, unsigned long frameCount, const PaStreamCallbackTimeInfo* timeInfo);

    void decoderLoop();
    // Decodes into the ring until it holds at least `frames` frames, it is full or the file
    // ends. Caller holds _decoderMutex.
    void fill(size_t frames);
    bool playedOut() const;
    void closeStream();
    void relocate(int64_t outputFrame); // stream closed: decoder and ring to a new position
    int64_t heardOutputFrames() const;
    int64_t toFileFrames(int64_t outputFrames) const;
    int64_t toOutputFrames(int64_t fileFrames) const;

    std::unique_ptr<PortAudioLibrary::Session> _session;
    int _device = -1;
    int _fileRate = 0;
    int _outRate = 0;
    int _outChannels = 0;
    int64_t _durationFrames = 0; // output rate

    // Main thread.
    PaStream* _stream = nullptr;
    int64_t _startFrame = 0; // output frame where the current or next run begins
    bool _ended = false;
    mutable int64_t _lastHeard = 0;

    // Decoder thread (and the main thread while the stream is closed), under _decoderMutex.
    std::unique_ptr<AudioFileDecoder> _decoder;
    std::vector<float> _staging;
    size_t _stagingOffset = 0;
    std::mutex _decoderMutex;
    std::condition_variable _decoderWake;
    bool _quit = false;
    bool _streamRunning = false;
    std::thread _decoderThread;

    // Shared with the callback: lock-free only.
    SpscRing<float> _ring;
    std::atomic<bool> _decoderEnded{false};
    std::atomic<bool> _finished{false};
    std::atomic<int64_t> _consumed{0}; // frames played since _startFrame
    // The last buffer handed to the device, published under a sequence count (even when
    // consistent) so that the main thread reads its values together.
    std::atomic<uint32_t> _bufferSequence{0};
    std::atomic<int64_t> _bufferFirstFrame{0};
    std::atomic<int64_t> _bufferFrames{0};
    std::atomic<int64_t> _bufferDueAt{-1}; // steady-clock ns when its first frame is heard
    int64_t _latencyNanoseconds = 0;       // the stream's own figure, set before it starts
};
