#pragma once

#include <QString>

// Whether a media file really plays: its whole sound is decoded and measured against the length
// its header reports. For saying "recovered" only about a file that a player will play.
namespace PlaybackCheck {

struct Result {
    bool plays = false;
    double reportedSeconds = 0; // what the header says
    double decodedSeconds = 0;  // what decoding gave
    QString problem;            // when it does not play as reported: why, in plain words
};

// Decodes the whole file (on the calling thread: an hour of PCM takes about a second).
Result check(const QString& path);

} // namespace PlaybackCheck
