#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// Where sound rises above a threshold in the frames the capture callback pushes into its ring,
// for voice activation. The callback scans each block it pushed; the main thread reads where
// the latest run of sound began and where the last loud sample lies, in ring frames. A run
// begins at a loud sample that follows at least `silenceFrames` without one (or none at all),
// so the run that follows a recording's closing silence is always a run of its own. Lock-free:
// the callback is the only writer of what it publishes, the main thread of the settings.
class VoiceTrigger {
public:
    static constexpr uint64_t kNone = ~uint64_t(0);

    // Main thread. `threshold` is a magnitude on the callback's 24-bit scale (samples shifted
    // right by 8); 0 switches listening off. What was found before is forgotten.
    void configure(uint32_t threshold, uint64_t silenceFrames);
    void switchOff() { configure(0, 0); }
    bool isOn() const { return _threshold.load(std::memory_order_acquire) != 0; }

    // Callback thread: `frames` frames of left-justified 32-bit samples, interleaved, that were
    // pushed into the ring at `firstFrame`.
    void scan(const int32_t* samples, size_t frames, int channels, uint64_t firstFrame);

    // Either thread: the ring frame at which the latest run of sound began (kNone: none yet),
    // and the ring frame just after the latest loud sample (0: none yet).
    uint64_t runStart() const { return _runStart.load(std::memory_order_acquire); }
    uint64_t lastLoudEnd() const { return _lastLoudEnd.load(std::memory_order_acquire); }

private:
    std::atomic<uint32_t> _threshold{0};
    std::atomic<uint64_t> _silenceFrames{0};
    std::atomic<uint64_t> _generation{0};
    // The callback's own copy of the settings, taken when the generation changes.
    uint64_t _seenGeneration = 0;
    uint32_t _activeThreshold = 0;
    uint64_t _activeSilence = 0;
    bool _heardAny = false;
    std::atomic<uint64_t> _runStart{kNone};
    std::atomic<uint64_t> _lastLoudEnd{0};
};
