#include "analysis/trend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "cli/recording_analysis.h"
#include "spectral/band_measures.h"

namespace ritmova {
namespace {

// 1.0625, 1, 0.9375, 1 over and over: a wave of period 4 beats, in the HF band, whose
// values, sums and running mean are exact in binary.
std::vector<float> PeriodFour(std::size_t beats) {
    std::vector<float> intervals(beats);
    for (std::size_t i = 0; i < beats; ++i) intervals[i] = i % 2 ? 1.0f : i % 4 ? 0.9375f : 1.0625f;
    return intervals;
}

TrendSeries Trend(const std::vector<float>& intervals, std::size_t step) {
    return *ComputeTrend(intervals, FlagArtifacts(intervals), step);
}

TEST(TrendTest, WindowCountsAndDefaultSteps) {
    // beats, step, windows, and the default step for that many beats.
    for (const auto& [beats, step, windows, defaultStep] :
         {std::tuple<std::size_t, std::size_t, std::size_t, std::size_t>{255, 1, 0, 1},
          {300, 16, 3, 1},
          {8255, 1, 8000, 1},
          {8256, 16, 501, 16},
          {600'000, 64, 9372, 256},
          {10'000'000, 256, 39'062, 256}}) {
        EXPECT_EQ(TrendWindowCount(beats, step), windows) << beats << " beats, step " << step;
        EXPECT_EQ(DefaultTrendStep(beats), defaultStep) << beats << " beats";
    }
}

TEST(TrendTest, SameValuesGiveTheSameMeasuresInEveryWindow) {
    const TrendSeries trend = Trend(PeriodFour(268), 4);
    ASSERT_EQ(trend.points.size(), 4u);
    // Deviations 1/16, 0, -1/16, 0: SDNN^2 = 128 / 256 / 255; every difference is 1/16.
    const TrendMeasures& first = *trend.points[0].measures;
    EXPECT_EQ(first.meanRR, 1.0f);
    EXPECT_NEAR(first.sdnn, std::sqrt(0.5 / 255), 1e-7);
    EXPECT_NEAR(first.rmssd, 0.0625, 1e-9);
    EXPECT_TRUE(first.hfPercent > 99.8 && first.lfHf < 2e-3);  // the taper leaks a little
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(trend.points[i].firstBeat, 1 + 4 * i);
        EXPECT_EQ(trend.points[i].startMinutes, 4.0 * static_cast<double>(i) / 60);
        EXPECT_EQ(*trend.points[i].measures, first);
    }
    EXPECT_EQ(trend.totalMinutes, 268.0 / 60);
}

TEST(TrendTest, FirstWindowIsTheOpenPassOfTheFile) {
    const char* file = RITMOVA_EXAMPLES_DIR "/nsr2db-nsr012.int";
    const cli::RecordingAnalysis open = cli::AnalyseRecording(file);
    const AnalysisState& s = open.state;
    EXPECT_EQ(*Trend(ReadRecording(file).intervals, 256).points.at(0).measures,
              (TrendMeasures{s.MeanRR, s.SDNN, open.pass.timeDomain.RMSSD, LfHfRatio(s),
                             s.BandPercent[3]}));
}

TEST(TrendTest, FailedWindowIsAGapAndArtifactsAreMarked) {
    // Beats 257-512 do not vary, so their window has no spectrum; beat 600 is out of range.
    std::vector<float> intervals = PeriodFour(768);
    std::fill(intervals.begin() + 256, intervals.begin() + 512, 1.0f);
    intervals[599] = 2.5f;
    const TrendSeries trend = Trend(intervals, 256);
    ASSERT_EQ(trend.points.size(), 3u);
    EXPECT_TRUE(trend.points[0].measures && !trend.points[1].measures && trend.points[2].measures);
    EXPECT_EQ(trend.points[1].failure, "no power in the LF and HF bands");
    EXPECT_EQ(trend.points[2].artifacts, 1u);
    ASSERT_EQ(trend.artifacts.size(), 1u);
    EXPECT_TRUE(trend.artifacts[0].beat == 600 && trend.artifacts[0].minutes == 599.0 / 60);
}

TEST(TrendTest, ProgressReachesTheTotalAndFalseCancels) {
    const std::vector<float> intervals = PeriodFour(456);
    std::vector<std::size_t> told;
    const auto tell = [&told](std::size_t done, std::size_t) {
        told.push_back(done);
        return done < 128;
    };
    EXPECT_FALSE(ComputeTrend(intervals, FlagArtifacts(intervals), 1, tell));
    EXPECT_TRUE(ComputeTrend(intervals, FlagArtifacts(intervals), 2, tell));  // 101 windows
    EXPECT_EQ(told, (std::vector<std::size_t>{0, 64, 128, 0, 64, 101}));
}

}  // namespace
}  // namespace ritmova
