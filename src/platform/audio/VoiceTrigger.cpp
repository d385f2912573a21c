#include "platform/audio/VoiceTrigger.h"

void VoiceTrigger::configure(uint32_t threshold, uint64_t silenceFrames) {
    _threshold.store(threshold, std::memory_order_relaxed);
    _silenceFrames.store(silenceFrames, std::memory_order_relaxed);
    _generation.fetch_add(1, std::memory_order_release);
}

// Real-time thread: arithmetic and atomics only.
void VoiceTrigger::scan(const int32_t* samples, size_t frames, int channels, uint64_t firstFrame) {
    const uint64_t generation = _generation.load(std::memory_order_acquire);
    if (generation != _seenGeneration) {
        _seenGeneration = generation;
        _activeThreshold = _threshold.load(std::memory_order_relaxed);
        _activeSilence = _silenceFrames.load(std::memory_order_relaxed);
        _heardAny = false;
        _runStart.store(kNone, std::memory_order_relaxed);
        _lastLoudEnd.store(0, std::memory_order_release);
    }
    if (_activeThreshold == 0)
        return;
    uint64_t lastLoudEnd = _lastLoudEnd.load(std::memory_order_relaxed);
    uint64_t runStart = _runStart.load(std::memory_order_relaxed);
    const size_t channelCount = size_t(channels);
    for (size_t frame = 0; frame < frames; ++frame) {
        bool loud = false;
        for (size_t ch = 0; ch < channelCount; ++ch) {
            const int64_t s = samples[frame * channelCount + ch] >> 8;
            loud = loud || (s < 0 ? -s : s) > int64_t(_activeThreshold);
        }
        if (!loud)
            continue;
        const uint64_t at = firstFrame + frame;
        if (!_heardAny || at >= lastLoudEnd + _activeSilence)
            runStart = at;
        _heardAny = true;
        lastLoudEnd = at + 1;
    }
    // The start first: a reader that sees the new end sees the run it belongs to.
    _runStart.store(runStart, std::memory_order_release);
    _lastLoudEnd.store(lastLoudEnd, std::memory_order_release);
}
