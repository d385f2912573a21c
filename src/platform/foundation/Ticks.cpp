#include "platform/foundation/Ticks.h"

#include <chrono>

namespace {
std::function<int64_t()>& source() {
    static std::function<int64_t()> s;
    return s;
}

int64_t monotonicTicks() {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
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
