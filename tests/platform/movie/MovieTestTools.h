#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// Helpers of the movie and capture tests: deterministic sound, and the ffmpeg and ffprobe
// commands as the independent judges of our files.
namespace MovieTestTools {

// Deterministic pseudo-random 16-bit samples (xorshift), interleaved.
std::vector<int16_t> noise16(size_t samples, uint32_t seed);
// The same as raw little-endian bytes.
QByteArray toBytes(const std::vector<int16_t>& samples);
std::vector<int16_t> fromBytes(const QByteArray& bytes);

// The decoded sound of a movie file as raw samples in `format` ("s16le", "s24le"), or an
// empty array (with the reason in *error) when ffmpeg fails.
QByteArray decode(const QString& path, const char* format = "s16le", QString* error = nullptr);

struct Probe {
    bool ok = false;
    QString codec;
    int sampleRate = 0;
    int channels = 0;
    double duration = 0; // seconds
};
Probe probe(const QString& path);

// Where `needle` occurs in `haystack` (both interleaved samples, aligned to `channels`), or -1.
qsizetype findRun(const std::vector<int16_t>& haystack, const std::vector<int16_t>& needle,
                  int channels);

QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace MovieTestTools
