#pragma once

#include <cstdint>
#include <span>

#include "measures/beat_series.h"

namespace ritmova {

// The running mean of the intervals: each divided by 256 and added, in single precision at
// every step. Throws CommandFailure on overflow.
float RunningMean(std::span<const float, BeatCount> intervals);

struct TimeDomain {
    float sdnn = 0;  // divisor 255
    double rmssd = 0;
    std::int16_t nn50 = 0;
    double pnn50 = 0;

    bool operator==(const TimeDomain&) const = default;
};

// SDNN around `mean`, RMSSD, NN50 and pNN50 of the intervals. Throws CommandFailure when
// SDNN overflows single precision.
TimeDomain ComputeTimeDomain(std::span<const float, BeatCount> intervals, float mean);

}  // namespace ritmova
