#pragma once

#include <array>

namespace ritmova {

// The analysis takes 256 beats. The divisors 256 and 255 in the measures are fixed numbers,
// never counts.
inline constexpr int BeatCount = 256;

// The intervals of one window, in seconds, as read.
using IntervalValues = std::array<float, BeatCount>;

}  // namespace ritmova
