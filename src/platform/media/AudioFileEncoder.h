#pragma once

#include "platform/media/AudioEncoders.h"

#include <QString>

#include <atomic>
#include <optional>

// Converts a sound file with one of the installed encoders, in this process, into the
// container that encoder's files use, tagged with a title.
namespace AudioFileEncoder {

struct Result {
    bool ok = false;
    bool aborted = false; // *abort was set: nothing is left at the destination
    double seconds = 0;   // the length of what was encoded
    QString error;        // why it failed, in a user's words
};

// The encoder offered under a user-facing title ("AAC", "Apple Lossless" ...), if installed.
std::optional<AudioEncoder> encoderWithTitle(const QString& title);

// Decodes `source` and writes it encoded to `destination` (created or replaced), tagged with
// `title` and, when not empty, `comment`. On failure or abort the destination is removed.
// `abort` is read between frames, from any thread.
Result encodeFile(const QString& source, const QString& destination, const AudioEncoder& encoder,
                  const QString& title, const std::atomic<bool>* abort = nullptr,
                  const QString& comment = QString());

} // namespace AudioFileEncoder
