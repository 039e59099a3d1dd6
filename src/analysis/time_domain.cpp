#include "analysis/time_domain.h"

#include <cmath>

#include "common/checked.h"

namespace ritmova {

float RunningMean(const IntervalValues& values) {
    float mean = 0;
    for (float value : values) mean = value / 256.0f + mean;
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

SeriesSums sumSeries(const AnalysisState& state) {
    SeriesSums sums;
    const double mean = state.MeanRR;
    const double first = double{state.RRSeries[1]} - mean;
    sums.squaredDeviations = first * first;
    for (int i = 2; i <= BeatCount; ++i) {
        const double deviation = double{state.RRSeries[i]} - mean;
        sums.squaredDeviations += deviation * deviation;
        const double difference = double{state.RRSeries[i]} - double{state.RRSeries[i - 1]};
        sums.squaredDifferences += difference * difference / 255.0;
        // NN50 compares the single-precision difference with the single-precision 0.05.
        const float step = std::fabs(state.RRSeries[i] - state.RRSeries[i - 1]);
        sums.nn50 = static_cast<std::int16_t>(sums.nn50 + (step > 0.05f ? 1 : 0));
    }
    return sums;
}

}  // namespace

TimeDomainValues ComputeTimeDomain(AnalysisState& state) {
    const SeriesSums sums = sumSeries(state);
    state.SDNN = ToSingle(std::sqrt(sums.squaredDeviations / 255.0), "SDNN");
    TimeDomainValues values;
    values.RMSSD = CheckedDouble(std::sqrt(sums.squaredDifferences), "RMSSD");
    values.NN50 = sums.nn50;
    values.PNN50 = static_cast<double>(values.NN50) / 255.0 * 100.0;
    return values;
}

}  // namespace ritmova
