// The duration reader on any bytes: an answer that is 0 or a length the file could hold. What
// is no regular file under a recording's name measures 0, at once, and is left as it is.
#include "FuzzFiles.h"

#include "platform/media/MovieDuration.h"

#include <QString>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool standInsChecked = [] {
        for (size_t i = 0; i < FuzzFiles::kStandIns; ++i) {
            const QString standIn = QString::fromStdString(FuzzFiles::standIn(i));
            if (MovieDuration::durationOfFile(standIn) != 0 ||
                MovieDuration::readMovieHeader(standIn).kind !=
                    MovieDuration::HeaderReading::NotQuickTime)
                std::abort();
        }
        FuzzFiles::standInsIntact();
        return true;
    }();
    (void)standInsChecked;
    const QString path = QString::fromStdString(FuzzFiles::write("sound.mov", data, size));
    MovieDuration::readMovieHeader(path);
    const float seconds = MovieDuration::durationOfFile(path);
    if (!std::isfinite(seconds) || seconds < 0 || double(seconds) * 8 > double(size) + 1)
        std::abort();
    return 0;
}
