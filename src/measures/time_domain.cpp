#include "measures/time_domain.h"

#include <cmath>

#include "common/checked.h"

namespace ritmova {

float RunningMean(std::span<const float, BeatCount> intervals) {
    float mean = 0;
    for (float value : intervals) mean = value / 256.0f + mean;
    return CheckedSingle(mean, "the mean interval");
}

namespace {

// The sums of SDNN, RMSSD and NN50 in one loop over the series: each keeps its own order of
// operations, and the three chains of additions overlap instead of running one after another.
struct SeriesSums {
    double squaredDeviations = 0;
    double squaredDifferences = 0;  // each divided by 255 before it is added
    std::int16_t nn50 = 0;
};

SeriesSums sumSeries(std::span<const float, BeatCount> rr, double mean) {
    SeriesSums sums;
    const double first = double{rr[0]} - mean;
    sums.squaredDeviations = first * first;
    for (std::size_t i = 1; i < BeatCount; ++i) {
        const double deviation = double{rr[i]} - mean;
        sums.squaredDeviations += deviation * deviation;
        const double difference = double{rr[i]} - double{rr[i - 1]};
        sums.squaredDifferences += difference * difference / 255.0;
        // NN50 compares the single-precision difference with the single-precision 0.05.
        const float step = std::fabs(rr[i] - rr[i - 1]);
        sums.nn50 = static_cast<std::int16_t>(sums.nn50 + (step > 0.05f ? 1 : 0));
    }
    return sums;
}

}  // namespace

TimeDomain ComputeTimeDomain(std::span<const float, BeatCount> intervals, float mean) {
    const SeriesSums sums = sumSeries(intervals, mean);
    TimeDomain values;
    values.sdnn = ToSingle(std::sqrt(sums.squaredDeviations / 255.0), "SDNN");
    values.rmssd = CheckedDouble(std::sqrt(sums.squaredDifferences), "RMSSD");
    values.nn50 = sums.nn50;
    values.pnn50 = static_cast<double>(values.nn50) / 255.0 * 100.0;
    return values;
}

}  // namespace ritmova
