#include "platform/foundation/Ticks.h"

#include <chrono>

namespace {
std::function<int64_t()>& source() {
    static std::function<int64_t()> s;
    return s;
}

int64_t monotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int64_t monotonicTicks() {
    const int64_t ns = monotonicNanoseconds();
    constexpr int64_t perSecond = 1'000'000'000;
    return ns / perSecond * 60 + ns % perSecond * 60 / perSecond;
}
} // namespace

int32_t TickCount() {
    const int64_t ticks = source() ? source()() : monotonicTicks();
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ticks)));
}

void Ticks::setSource(std::function<int64_t()> s) {
    source() = std::move(s);
}
void Ticks::resetSource() {
    source() = nullptr;
}

int64_t Ticks::nanoseconds() {
    if (!source())
        return monotonicNanoseconds();
    const int64_t ticks = source()();
    constexpr int64_t perSecond = 1'000'000'000;
    return ticks / 60 * perSecond + ticks % 60 * perSecond / 60;
}
