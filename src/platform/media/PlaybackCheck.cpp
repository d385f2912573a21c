#include "platform/media/PlaybackCheck.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/media/AudioFileDecoder.h"
#include "platform/media/MovieDuration.h"

#include <cmath>
#include <vector>

namespace PlaybackCheck {

Result check(const QString& path) {
    Result result;
    result.reportedSeconds = MovieDuration::durationOfFile(path);
    AudioFileDecoder decoder;
    QString error;
    if (!decoder.open(path, &error)) {
        result.problem = BVLocalizedString("DoesNotPlay").arg(error);
        return result;
    }
    // Counted at the file's own rate and layout, so that nothing is resampled.
    if (!decoder.setOutputFormat(decoder.channels(), decoder.sampleRate(), &error)) {
        result.problem = BVLocalizedString("DoesNotPlay").arg(error);
        return result;
    }
    int64_t frames = 0;
    std::vector<float> samples;
    while (decoder.decodeMore(samples)) {
        frames += int64_t(samples.size()) / decoder.channels();
        samples.clear();
    }
    frames += int64_t(samples.size()) / decoder.channels();
    result.decodedSeconds = double(frames) / decoder.sampleRate();
    // A packet's worth of slack for codecs that pad, and a percent for headers that round.
    const double slack = std::max(0.05, result.reportedSeconds * 0.01);
    result.plays = frames > 0 && std::abs(result.decodedSeconds - result.reportedSeconds) <= slack;
    if (!result.plays)
        result.problem = BVLocalizedString("PlaysOtherLength")
                             .arg(result.decodedSeconds, 0, 'f', 2)
                             .arg(result.reportedSeconds, 0, 'f', 2);
    return result;
}

} // namespace PlaybackCheck
