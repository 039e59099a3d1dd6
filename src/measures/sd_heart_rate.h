#pragma once

#include <optional>
#include <span>

namespace ritmova {

// The Poincare plot's SD1 and SD2 and the heart rates of a window, in double precision from
// the single-precision intervals.
struct SdAndHeartRates {
    std::optional<double> sd1;  // always set: its square root's argument is a sum of squares
    std::optional<double> sd2;  // absent when 2 SDNN^2 - SD1^2 is negative
    double meanHr = 0;          // beats per minute
    double minHr = 0;
    double maxHr = 0;
};

// SD1 = SDSD / sqrt(2), SDSD being the standard deviation of the successive differences with
// divisor N - 2; SD2 = sqrt(2 SDNN^2 - SD1^2) with the pass's own `sdnn` (divisor N - 1).
// Heart rates are 60 / interval. Throws CommandFailure for fewer than 3 values, or a value
// that is 0 or negative, which has no heart rate.
SdAndHeartRates ComputeSdAndHeartRates(std::span<const float> values, float sdnn);

}  // namespace ritmova
