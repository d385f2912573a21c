#pragma once

#include <chrono>

// The input level meter's law: a peak of -60 dBFS or less shows as 0, full scale as 98 (the
// meter's width in points), linear in decibels between. A falling level decays at
// kDecayDbPerSecond so that the bars fall smoothly however often they are read.
namespace LevelMeter {
constexpr int kFullScale = 98;
constexpr double kFloorDb = -60.0;
constexpr double kDecayDbPerSecond = 20.0;

// `peak` is the magnitude relative to full scale (1.0 = 0 dBFS).
int levelForPeak(double peak);
double decibels(double peak); // kFloorDb for silence

// One channel's shown level.
class Channel {
public:
    // The level to show now, given the peak measured since the last read.
    int update(double peak, std::chrono::steady_clock::time_point now);
    void reset() { _shownDb = kFloorDb; }

private:
    double _shownDb = kFloorDb;
    std::chrono::steady_clock::time_point _last{};
};
} // namespace LevelMeter
