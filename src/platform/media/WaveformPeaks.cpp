#include "platform/media/WaveformPeaks.h"

#include "platform/media/AudioFileDecoder.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <mutex>

namespace WaveformPeaks {
namespace {
struct Kept {
    qint64 size = -1;
    QDateTime changed;
    std::shared_ptr<const Overview> overview;
};
std::mutex gMutex;
QHash<QString, Kept>& keptOverviews() {
    static QHash<QString, Kept> kept;
    return kept;
}
// A file's version as the cache tells them apart.
std::pair<qint64, QDateTime> versionOf(const QString& path) {
    const QFileInfo info(path);
    return {info.size(), info.lastModified()};
}
} // namespace

Overview compute(const QString& path, const std::atomic<bool>* cancel) {
    Overview overview;
    AudioFileDecoder decoder;
    if (!decoder.open(path, &overview.failure))
        return overview;
    // Every channel at the file's own rate: nothing is resampled or mixed away.
    overview.rate = decoder.sampleRate();
    const int channels = std::max(1, decoder.channels());
    if (!decoder.setOutputFormat(channels, overview.rate, &overview.failure))
        return overview;
    const int64_t expected = decoder.durationFrames();
    // Without a length up front the peaks are gathered finely and folded at the end.
    const int64_t perBucket =
        expected > 0 ? std::max<int64_t>(1, (expected + kBuckets - 1) / kBuckets) : 256;
    std::vector<float> peaks;
    peaks.reserve(expected > 0 ? size_t(kBuckets) : 4096);
    std::vector<float> samples;
    float peak = 0;
    int64_t inBucket = 0;
    int64_t frames = 0;
    while (true) {
        samples.clear();
        if (!decoder.decodeMore(samples))
            break;
        if (cancel && cancel->load(std::memory_order_relaxed))
            return {};
        const size_t count = samples.size() / size_t(channels);
        // A bucket's stretch at a time, in a plain loop the compiler vectorises.
        for (size_t f = 0; f < count;) {
            const size_t n = std::min<size_t>(count - f, size_t(perBucket - inBucket));
            const float* from = samples.data() + f * size_t(channels);
            const float* to = from + n * size_t(channels);
            // A float's magnitude bits order as the magnitudes do: an integer maximum, which
            // vectorises where a float one (NaN rules) does not.
            uint32_t loudest = 0;
            for (const float* x = from; x != to; ++x)
                loudest = std::max(loudest, std::bit_cast<uint32_t>(*x) & 0x7fffffffu);
            peak = std::max(peak, std::bit_cast<float>(loudest));
            inBucket += int64_t(n);
            f += n;
            if (inBucket == perBucket) {
                peaks.push_back(std::min(peak, 1.0f));
                peak = 0;
                inBucket = 0;
            }
        }
        frames += int64_t(count);
    }
    if (decoder.failed()) {
        overview.failure = decoder.failure();
        return overview;
    }
    if (inBucket > 0)
        peaks.push_back(std::min(peak, 1.0f));
    overview.frames = frames;
    // Exactly kBuckets stretches of the sound as it decoded: each takes the loudest of the fine
    // stretches it overlaps (a fine one may fall to two of them when there are fewer).
    overview.peaks.assign(kBuckets, 0.0f);
    const size_t fine = peaks.size();
    for (size_t b = 0; fine > 0 && b < size_t(kBuckets); ++b) {
        const size_t first = b * fine / kBuckets;
        const size_t last = std::max(first + 1, (b + 1) * fine / kBuckets);
        for (size_t k = first; k < last && k < fine; ++k)
            overview.peaks[b] = std::max(overview.peaks[b], peaks[k]);
    }
    return overview;
}

std::shared_ptr<const Overview> cached(const QString& path) {
    const auto [size, changed] = versionOf(path);
    std::lock_guard lock(gMutex);
    const auto it = keptOverviews().constFind(path);
    if (it == keptOverviews().cend() || it->size != size || it->changed != changed)
        return nullptr;
    return it->overview;
}

void keep(const QString& path, std::shared_ptr<const Overview> overview) {
    const auto [size, changed] = versionOf(path);
    std::lock_guard lock(gMutex);
    keptOverviews().insert(path, {size, changed, std::move(overview)});
}

} // namespace WaveformPeaks
