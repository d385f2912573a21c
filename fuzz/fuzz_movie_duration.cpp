// The duration reader on any bytes: an answer that is 0 or a length the file could hold.
#include "FuzzFiles.h"

#include "platform/media/MovieDuration.h"

#include <QString>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = QString::fromStdString(FuzzFiles::write("sound.mov", data, size));
    MovieDuration::readMovieHeader(path);
    const float seconds = MovieDuration::durationOfFile(path);
    if (!std::isfinite(seconds) || seconds < 0 || double(seconds) * 8 > double(size) + 1)
        std::abort();
    return 0;
}
