#include "analysis/time_domain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "test_data.h"

namespace ritmova {
namespace {

// The state after the read step: the series as read and its running mean.
AnalysisState StateOf(const std::vector<double>& values) {
    AnalysisState state;
    const IntervalValues intervals = testing::ToIntervals(values);
    for (int i = 1; i <= BeatCount; ++i) state.RRSeries[i] = intervals[std::size_t(i - 1)];
    state.MeanRR = RunningMean(intervals);
    return state;
}

// 0.8, 0.9, 0.8, ... over the first 128 beats, then 0.8: 128 differences of 0.1 s.
std::vector<double> HalfAlternating() {
    std::vector<double> values = testing::Constant(0.8);
    for (std::size_t i = 1; i < 128; i += 2) values[i] = 0.9;
    return values;
}

struct SeriesCase {
    const char* name;
    std::vector<double> values;
    float mean;
    double sdnn, rmssd;
    int nn50;
    double pnn50;
};

// SDNN divides by 255, RMSSD by 255 differences, pNN50 by 255.
const SeriesCase Cases[] = {
    // The running sum of 0.8f / 256 drifts 2^-19 above 0.8f in single precision.
    {"Constant", testing::Constant(0.8), 0.8000019192695618f,
     std::ldexp(std::sqrt(256.0 / 255.0), -19), 0, 0, 0},
    // Deviations of +-0.25: 256 squares of 1/16.
    {"Alternating", testing::Alternating(0.5, 1.0), 0.75f, std::sqrt(16.0 / 255.0), 0.5, 255, 100},
    // Mean 0.825, 192 deviations of 0.025 and 64 of 0.075; 128 differences of 0.1.
    {"HalfAlternating", HalfAlternating(), 0.825f, std::sqrt(0.48 / 255), std::sqrt(1.28 / 255),
     128, 50.19607843137255},
};

TEST(TimeDomainTest, MeasuresWorkedOutByHand) {
    for (const SeriesCase& c : Cases) {
        SCOPED_TRACE(c.name);
        AnalysisState state = StateOf(c.values);
        EXPECT_NEAR(state.MeanRR, c.mean, 2.5e-6);  // the running mean's drift
        const TimeDomainValues values = ComputeTimeDomain(state);
        EXPECT_NEAR(state.SDNN, c.sdnn, 1e-5 * c.sdnn);
        EXPECT_NEAR(values.RMSSD, c.rmssd, 1e-6);
        EXPECT_EQ(values.NN50, c.nn50);
        EXPECT_NEAR(values.PNN50, c.pnn50, 1e-12);
    }
}

// The single-precision difference must be above the single-precision 0.05: 0.8f - 0.75f is
// 0.0500000119, 1.05f - 1.0f 0.0499999523, and 0.1f is exactly twice 0.05f.
TEST(TimeDomainTest, NN50CountsOnlyDifferencesAboveFiveHundredths) {
    for (const auto& [first, second, counts] : {std::tuple{0.80, 0.75, true},
                                                {1.00, 1.05, false},
                                                {0.70, 0.80, true},
                                                {0.10, 0.05, false}}) {
        AnalysisState state = StateOf(testing::Alternating(first, second));
        EXPECT_EQ(ComputeTimeDomain(state).NN50, counts ? 255 : 0) << first << " " << second;
    }
}

}  // namespace
}  // namespace ritmova
