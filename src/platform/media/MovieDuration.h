#pragma once

#include <QString>

#include <cstdint>

// The length of a movie or sound file: duration / time scale, computed in 32-bit float.
// Files that cannot be read as a movie (missing, a folder, not media, a QuickTime file whose
// movie header has not been written yet) measure 0, without complaint.
namespace MovieDuration {

float durationOfFile(const QString& path);

// What the top-level atoms of a QuickTime / MP4 file tell without a demuxer.
struct HeaderReading {
    enum Kind {
        NotQuickTime, // not laid out as atoms: ask the demuxer
        NoMovieYet,   // atoms, but no movie header (a recording still being written)
        Unusual,      // a movie header this reader does not take (fragments, compressed...)
        Found,        // duration and timeScale hold the movie header's values
    };
    Kind kind = NotQuickTime;
    uint64_t duration = 0;
    uint32_t timeScale = 0;
};

// Reads only the atom headers and the movie header ("mvhd"): a few small reads per file.
HeaderReading readMovieHeader(const QString& path);

// Through libavformat: the format's duration when it has a sound stream, 0 otherwise.
float durationThroughDemuxer(const QString& path);

} // namespace MovieDuration
