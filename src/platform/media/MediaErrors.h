#pragma once

#include <QString>

// FFmpeg's error codes in words a user can act on ("The file is damaged or is not a sound
// file.") instead of the library's own ("Invalid data found when processing input"), which go
// to the log.
namespace MediaErrors {
QString plainWords(int ffmpegError);
} // namespace MediaErrors
