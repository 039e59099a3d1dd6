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

float ComputeSDNN(const AnalysisState& state) {
    double sum = 0;
    for (int i = 1; i <= BeatCount; ++i) {
        const double deviation = double{state.RRSeries[i]} - double{state.MeanRR};
        sum += deviation * deviation;
    }
    return ToSingle(std::sqrt(sum / 255.0), "SDNN");
}

double ComputeRMSSD(const AnalysisState& state) {
    double sum = 0;
    for (int i = 2; i <= BeatCount; ++i) {
        const double difference = double{state.RRSeries[i]} - double{state.RRSeries[i - 1]};
        sum += difference * difference / 255.0;
    }
    return std::sqrt(sum);
}

std::int16_t CountNN50(const AnalysisState& state) {
    std::int16_t count = 0;
    for (int i = 2; i <= BeatCount; ++i) {
        const float difference = std::fabs(state.RRSeries[i] - state.RRSeries[i - 1]);
        if (difference > 0.05f) ++count;
    }
    return count;
}

}  // namespace

TimeDomainValues ComputeTimeDomain(AnalysisState& state) {
    state.SDNN = ComputeSDNN(state);
    TimeDomainValues values;
    values.RMSSD = CheckedDouble(ComputeRMSSD(state), "RMSSD");
    values.NN50 = CountNN50(state);
    values.PNN50 = static_cast<double>(values.NN50) / 255.0 * 100.0;
    return values;
}

}  // namespace ritmova
