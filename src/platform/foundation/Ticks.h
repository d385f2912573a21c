#pragma once

#include <cstdint>
#include <functional>

// The tick clock: 1/60 s since system start, from the monotonic clock, in signed 32-bit
// arithmetic (it wraps like the 32-bit counter it stands in for).
int32_t TickCount();

namespace Ticks {
// Replaces the clock (tests); the source answers ticks as a 64-bit count.
void setSource(std::function<int64_t()> source);
void resetSource();
// The same clock in nanoseconds, for timers that must fall within a tick: the monotonic clock
// itself, or a replaced source's ticks converted.
int64_t nanoseconds();
} // namespace Ticks
