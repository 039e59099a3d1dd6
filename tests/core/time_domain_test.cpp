#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/time_domain.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::Alternating;
using testing::Constant;
using testing::ToIntervals;

// The state after the read step: the series as read and its running mean.
AnalysisState StateOf(const std::vector<double>& values) {
    AnalysisState state;
    const IntervalValues intervals = ToIntervals(values);
    for (int i = 1; i <= BeatCount; ++i)
        state.RRSeries[i] = intervals[static_cast<std::size_t>(i - 1)];
    state.MeanRR = RunningMean(intervals);
    return state;
}

TEST(TimeDomainTest, EqualValuesGiveTheSinglePrecisionRunningMean) {
    AnalysisState state = StateOf(Constant(0.8));
    // The running sum of 0.8f / 256 drifts above 0.8 in single precision.
    EXPECT_EQ(state.MeanRR, 0.8000019192695618f);
    const TimeDomainValues values = ComputeTimeDomain(state);
    EXPECT_NEAR(state.SDNN, 1.911e-6, 1e-9);
    EXPECT_EQ(values.RMSSD, 0.0);
    EXPECT_EQ(values.NN50, 0);
    EXPECT_EQ(values.PNN50, 0.0);
}

TEST(TimeDomainTest, AlternatingSeries) {
    AnalysisState state = StateOf(Alternating(0.5, 1.0));
    EXPECT_EQ(state.MeanRR, 0.75f);
    const TimeDomainValues values = ComputeTimeDomain(state);
    // Deviations are +-0.25: sum 16, divided by 255 (not 256).
    EXPECT_EQ(state.SDNN, static_cast<float>(std::sqrt(16.0 / 255.0)));
    EXPECT_NEAR(values.RMSSD, 0.5, 1e-15);
    EXPECT_EQ(values.NN50, 255);
    EXPECT_EQ(values.PNN50, 100.0);
}

struct PairCase {
    double first;
    double second;
    bool counts;
};

void PrintTo(const PairCase& c, std::ostream* out) {
    *out << c.first << " " << c.second;
}

class NN50ThresholdTest : public ::testing::TestWithParam<PairCase> {};

// The single-precision difference is compared with the single-precision 0.05.
TEST_P(NN50ThresholdTest, CountsOnlyDifferencesAboveFiveHundredths) {
    AnalysisState state = StateOf(Alternating(GetParam().first, GetParam().second));
    EXPECT_EQ(ComputeTimeDomain(state).NN50, GetParam().counts ? 255 : 0);
}

INSTANTIATE_TEST_SUITE_P(Pairs, NN50ThresholdTest,
                         ::testing::Values(PairCase{0.80, 0.75, true},   // 0.0500000119
                                           PairCase{1.00, 1.05, false},  // 0.0499999523
                                           PairCase{0.60, 0.65, false},
                                           PairCase{0.70, 0.80, true}));

TEST(TimeDomainTest, PNN50DividesBy255) {
    // 0.8, 0.9, 0.8, ... over the first 128 beats, then 0.8: 128 differences of 0.1 s.
    std::vector<double> values = Constant(0.8);
    for (std::size_t i = 1; i < 128; i += 2) values[i] = 0.9;
    AnalysisState state = StateOf(values);
    const TimeDomainValues measures = ComputeTimeDomain(state);
    EXPECT_EQ(measures.NN50, 128);
    EXPECT_EQ(measures.PNN50, 128.0 / 255.0 * 100.0);
    EXPECT_NE(measures.PNN50, 50.0);
}

}  // namespace
}  // namespace ritmova
