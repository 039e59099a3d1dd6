#pragma once

#include <cstdint>
#include <span>

#include "standard/measured.h"

// The time-domain measures of a series of normal-to-normal intervals in milliseconds, and the
// heart rate 60000 / RR in beats per minute.
namespace ritmova::standard {

struct TimeDomain {
    Measured meanNnMs, medianNnMs, minNnMs, maxNnMs;
    Measured sdnnMs;       // sample SD, divisor N - 1
    Measured cvnn;         // SDNN / mean
    Measured rmssdMs;      // over the N - 1 successive differences d_i = RR_{i+1} - RR_i
    Measured sdsdMs;       // sample SD of the signed differences, divisor N - 2
    Measured cvsd;         // RMSSD / mean
    Measured nn50, pnn50;  // |d| > 50 ms, strictly; the count over N - 1, in %
    Measured nn20, pnn20;
    Measured iqrMs;  // third minus first quartile, "type 7"
};
TimeDomain MeasureTimeDomain(std::span<const double> rrMs);

struct HeartRate {
    Measured meanBpm, sdBpm, minBpm, maxBpm;  // SD with divisor N - 1
};
// The intervals must be above 0.
HeartRate MeasureHeartRate(std::span<const double> rrMs);

// The mean and sample SD (divisor N - 1) of `values`, the mean first, then the squared
// deviations from it; the SD is absent below 2 values. At least one value.
struct MeanSd {
    double mean = 0;
    Measured sd;
};
MeanSd MeanAndSd(std::span<const double> values);

}  // namespace ritmova::standard
