#pragma once

#include "platform/audio/CaptureStream.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class MovieWriter;

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

    // Writes the frames of `ring` from frame `startFrame` on into `file` (at most `maxFrames`;
    // 0: no limit). Frames before `startFrame` are dropped.
    void begin(std::unique_ptr<MovieWriter> file, std::shared_ptr<SampleRing> ring, int channels,
               uint64_t startFrame, uint64_t maxFrames);
    // Ends the file before frame `stopFrame` and completes it. Waits up to `wait` for those
    // frames to arrive; after that the file ends with what came. Answers 0 or an errno value,
    // with the reason.
    int finish(uint64_t stopFrame, std::chrono::milliseconds wait, QString* error);

    // Waits until the last file is synced, closed and unlocked (a stop answers before that).
    void waitUntilClosed();

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
    void fail(Job& job);

    mutable std::mutex _mutex;
    std::condition_variable _wake;
    std::condition_variable _finished;
    // Guarded by _mutex:
    std::unique_ptr<Job> _pending;
    bool _active = false;
    bool _fileOpen = false;
    std::optional<uint64_t> _stopFrame;
    bool _finishNow = false;
    bool _done = false;
    int _result = 0;
    QString _resultText;
    int _error = 0;
    QString _errorText;
    uint64_t _commands = 0;
    bool _quit = false;

    std::atomic<bool> _failed{false}; // mirrors _error != 0
    std::atomic<uint64_t> _framesWritten{0};
    std::thread _thread;
};
