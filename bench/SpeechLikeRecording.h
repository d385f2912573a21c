#pragma once

#include "platform/movie/MovieWriter.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// Writes a recording of our own (16-bit stereo 44.1 kHz, as recorded by default) of
// speech-like material: a tone with noise, so that encoders have real work to do. The right
// channel is the left one inverted, so that a stereo encoder cannot fold the two.
inline bool writeSpeechLikeRecording(const QString& path, double seconds) {
    SoundFormat format;
    auto writer = MovieWriter::create(path, format);
    if (!writer)
        return false;
    const size_t frames = size_t(seconds * format.sampleRate);
    std::vector<int32_t> block;
    uint32_t noise = 2463534242u;
    for (size_t done = 0; done < frames;) {
        const size_t count = std::min<size_t>(frames - done, 8192);
        block.resize(count * 2);
        for (size_t i = 0; i < count; ++i) {
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            const double tone = std::sin(2 * M_PI * 440 * double(done + i) / format.sampleRate);
            const auto sample =
                int32_t((tone * 0.3 + (int32_t(noise) / 2147483648.0) * 0.05) * 2147483647.0);
            block[2 * i] = sample;
            block[2 * i + 1] = -sample;
        }
        if (!writer->append(block.data(), count))
            return false;
        done += count;
    }
    return writer->complete() == 0;
}
