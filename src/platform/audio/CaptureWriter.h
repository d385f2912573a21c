#pragma once

#include "platform/audio/CaptureStream.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class MovieWriter;
class VoiceTrigger;

// The thread that moves captured sound from the sample ring into the movie file. It wakes four
// times a second (the audio callback cannot signal it without risking a lock; the ring holds
// seconds), appends what the ring holds, lets the movie writer sync it, and logs lost blocks. One
// file at a time: a file begins at an exact frame of the ring and ends at another, so that
// consecutive files split the input without losing or repeating a sample.
class CaptureWriter {
public:
    CaptureWriter();
    ~CaptureWriter(); // completes a file still being written, then joins the thread
    CaptureWriter(const CaptureWriter&) = delete;
    CaptureWriter& operator=(const CaptureWriter&) = delete;

    // Where a file begins: at an exact ring frame, or where the input callback marks it.
    struct Start {
        std::optional<uint64_t> frame;
        std::shared_ptr<const StartMark> mark; // when `frame` is empty
    };
    // Where it ends: before an exact frame (no earlier than its start), or when the file holds
    // `framesAfterStart` frames (a lead-in counted). Rounded up to a whole packet.
    struct Stop {
        std::optional<uint64_t> frame;
        uint64_t framesAfterStart = 0;
    };
    struct Result {
        int error = 0;     // 0 or an errno value
        QString errorText; // why, when it failed
        uint64_t startFrame = 0;
        uint64_t endFrame = 0;     // the file ended before this frame
        uint64_t leadInFrames = 0; // silence written before the start frame
    };

    // Writes the frames of `ring` from `start` on into `file` (at most `maxFrames`; 0: no
    // limit), in whole packets of `framesPerPacket`. Frames before the start are dropped.
    void begin(std::unique_ptr<MovieWriter> file, std::shared_ptr<SampleRing> ring, int channels,
               uint64_t framesPerPacket, Start start, uint64_t maxFrames);
    // Ends the file at `stop` and completes it. Waits up to `wait` for those frames to arrive;
    // after that the file ends with what came.
    Result finish(Stop stop, std::chrono::milliseconds wait);

    // A pause that lets the input flow on: the file takes the frames before `frame` and then
    // waits; resume() continues it with the frames from `frame` on (never from before the
    // hold), so that what lies between is left out without a click.
    void hold(uint64_t frame);
    void resume(uint64_t frame);

    // While no file is written (or the file waits in a hold), the ring keeps only its last
    // `frames` frames, so that it never fills while the input is listened to and a recording
    // can begin a little before the moment it was asked for. Null stops it.
    void keepRecent(std::shared_ptr<SampleRing> ring, int channels, uint64_t frames);

    // While voice activation listens, a file is written no further than `silenceFrames` past
    // the latest sound the trigger heard (or its start), so that a stop on silence can end it
    // exactly where the silence reached its length. Null lifts the limit.
    void limitToSilence(std::shared_ptr<const VoiceTrigger> trigger, uint64_t silenceFrames);

    // Waits until the file at `path` is synced, closed and unlocked (a stop answers before
    // that). Each file is followed on its own: after a snip the old file closing says nothing
    // about the new one.
    void waitUntilClosed(const QString& path);
    // Whether a file this writer began at `path` is still open.
    bool isOpen(const QString& path) const;

    struct Status {
        int error = 0;     // errno value of a failed write, 0 if none
        QString errorText; // readable reason
        uint64_t framesWritten = 0;
    };
    // Cheap enough for every poll: takes the lock only once a write has failed.
    Status status() const;

private:
    struct Job;
    void run();
    void drain(Job& job);
    static bool resolveStart(Job& job);
    static void resolveStop(Job& job);
    // Skips to where a hold ends once the file reached it; false while it waits in the hold.
    static bool passHold(Job& job, uint64_t keepElements);
    static void trim(SampleRing& ring, uint64_t keepElements, uint64_t notBefore);
    // The ring element a file listened for may be written up to (no limit when not).
    static uint64_t silenceLimit(const Job& job);
    // Writes the silence a file begins with; false when the file failed.
    bool writeLeadIn(Job& job);
    void fail(Job& job);

    mutable std::mutex _mutex;
    std::condition_variable _wake;
    std::condition_variable _finished;
    // Guarded by _mutex:
    std::unique_ptr<Job> _pending;
    bool _active = false;
    QStringList _openFiles; // one entry per file begun and not yet closed
    std::optional<Stop> _stop;
    bool _finishNow = false;
    bool _done = false;
    Result _result;
    int _error = 0;
    QString _errorText;
    uint64_t _commands = 0;
    bool _quit = false;
    uint64_t _serial = 0;          // of the file begun last
    std::vector<uint64_t> _bounds; // holds and resumes for that file, in order, not yet taken
    uint64_t _boundsGiven = 0;     // holds and resumes given for that file
    std::shared_ptr<SampleRing> _keepRing;
    uint64_t _keepElements = 0;
    std::shared_ptr<const VoiceTrigger> _silenceTrigger;
    uint64_t _silenceFrames = 0;

    std::atomic<bool> _failed{false}; // mirrors _error != 0
    std::atomic<uint64_t> _framesWritten{0};
    std::thread _thread;
};
