#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// One stretch of 50 ms of input, as the level history shows it: the peak and the RMS of all its
// samples relative to full scale, and whether a sample reached full scale (the input clipped).
struct LevelBlock {
    float peak = 0;
    float rms = 0;
    bool clipped = false;
};

// Cuts the input into LevelBlocks as it arrives, whatever the sizes of the pieces it comes in.
// Real-time safe: arithmetic only, no allocation.
class LevelBlockMeter {
public:
    static constexpr int kBlocksPerSecond = 20;

    // `wide`: 24-bit samples (full scale is 2^23 - 1); else 16-bit ones (full scale is 32767 or
    // -32768, which the 24-bit scale holds as multiples of 256).
    void configure(int rate, int channels, bool wide) {
        _framesPerBlock = uint32_t(std::max(1, rate / kBlocksPerSecond));
        _channels = std::max(1, channels);
        _clipMagnitude = wide ? 8388607 : 32767 * 256;
        _frames = 0;
        _peak = 0;
        _squares = 0;
        _clipped = false;
    }

    // Interleaved left-justified 32-bit samples (their top 24 bits count); `done` is called
    // with each block that completes.
    template <typename Done> void add(const int32_t* samples, size_t frames, Done&& done) {
        for (size_t f = 0; f < frames; ++f) {
            for (int c = 0; c < _channels; ++c) {
                const int64_t s = samples[f * size_t(_channels) + size_t(c)] >> 8;
                const int64_t magnitude = s < 0 ? -s : s;
                _peak = std::max(_peak, magnitude);
                _squares += double(s) * double(s);
                _clipped = _clipped || magnitude >= _clipMagnitude;
            }
            if (++_frames == _framesPerBlock) {
                constexpr double kFullScale = 8388608.0;
                LevelBlock block;
                block.peak = float(double(_peak) / kFullScale);
                block.rms =
                    float(std::sqrt(_squares / double(_frames * uint32_t(_channels))) / kFullScale);
                block.clipped = _clipped;
                done(block);
                _frames = 0;
                _peak = 0;
                _squares = 0;
                _clipped = false;
            }
        }
    }

private:
    uint32_t _framesPerBlock = 2205;
    int _channels = 2;
    int64_t _clipMagnitude = 32767 * 256;
    uint32_t _frames = 0;
    int64_t _peak = 0;
    double _squares = 0;
    bool _clipped = false;
};
