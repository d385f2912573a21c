#include "platform/audio/LevelMeter.h"

#include <algorithm>
#include <cmath>

namespace LevelMeter {

double decibels(double peak) {
    if (!(peak > 0))
        return kFloorDb;
    return std::max(kFloorDb, 20.0 * std::log10(peak));
}

int levelForPeak(double peak) {
    const double db = std::min(0.0, decibels(peak));
    return int(std::lround((db - kFloorDb) / -kFloorDb * kFullScale));
}

int Channel::update(double peak, std::chrono::steady_clock::time_point now) {
    const double measured = std::min(0.0, decibels(peak));
    double fallen = kFloorDb;
    if (_last.time_since_epoch().count() != 0) {
        const double seconds = std::chrono::duration<double>(now - _last).count();
        fallen = _shownDb - kDecayDbPerSecond * std::max(0.0, seconds);
    }
    _shownDb = std::max({measured, fallen, kFloorDb});
    _last = now;
    return int(std::lround((_shownDb - kFloorDb) / -kFloorDb * kFullScale));
}

} // namespace LevelMeter
