// A recording's windows, artifacts and trend, and the measures of a window's beats.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "analysis/recording.h"
#include "analysis/trend.h"
#include "common/command_failure.h"
#include "measures/sd_heart_rate.h"
#include "test_data.h"

namespace ritmova {
namespace {

// Interval i (1-based) is i / 1000 + 0.5, so each value tells its beat.
TEST(WindowValuesTest, TakesTheBeatsFromTheFirstOn) {
    std::vector<float> recording;
    for (double i = 1; i <= 600; ++i) recording.push_back(static_cast<float>(i / 1000.0 + 0.5));
    for (std::size_t first : {1, 257, 345}) {
        const std::span<const float> beats = std::span(recording).subspan(first - 1, 256);
        EXPECT_TRUE(std::ranges::equal(WindowValues(recording, first), beats)) << first;
    }
    using Case = std::pair<std::size_t, std::string>;
    for (const auto& [first, reason] :
         {Case{0, "beat 0 does not exist: beats count from 1"},
          Case{346, "only 255 beats from beat 346 on, 256 needed"},
          Case{600, "only 1 beats from beat 600 on, 256 needed"},
          Case{601, "beat 601 is beyond the recording's 600 beats"}}) {
        EXPECT_EQ(testing::FailureReason([&] { WindowValues(recording, first); }, ""), reason);
    }
    EXPECT_EQ(WindowName("rec.int", 1), "rec.int");
    EXPECT_EQ(WindowName("rec.int", 257), "rec.int (beats 257-512)");
}

// SDNN as the pass gives it: divisor N - 1 around the mean, in single precision.
TEST(SdAndHeartRatesTest, WorkedExamplesAndFailures) {
    // d = 1, 14, 2: squared deviations sum to 314/3, so SDSD^2 = 314/6 and SD1^2 = 314/12;
    // SDNN^2 = 242.75/3, so SD2^2 = 485.5/3 - 314/12 = 1628/12.
    const float sdnn = static_cast<float>(std::sqrt(242.75 / 3));
    const SdAndHeartRates peer = ComputeSdAndHeartRates(std::vector<float>{10, 11, 25, 27}, sdnn);
    EXPECT_NEAR(*peer.sd1, std::sqrt(314.0 / 12.0), 1e-12);
    EXPECT_NEAR(*peer.sd2, std::sqrt(1628.0 / 12.0), 1e-5);
    // 1, 2, 1: SD1^2 = 1 and 2 SDNN^2 = 2/3, so SD2^2 would be negative.
    const SdAndHeartRates peak =
        ComputeSdAndHeartRates(std::vector<float>{1, 2, 1}, std::sqrt(1 / 3.0f));
    EXPECT_EQ(peak.sd1, 1.0);
    EXPECT_EQ(peak.sd2, std::nullopt);
    // 60 / x: 120, 60, 80 and 40 beats per minute.
    const SdAndHeartRates rates = ComputeSdAndHeartRates(std::vector<float>{0.5, 1, 0.75, 1.5}, 0);
    EXPECT_TRUE(rates.meanHr == 75.0 && rates.minHr == 40.0 && rates.maxHr == 120.0);
    // 0.5, 1.0, ...: 128 differences of -0.5 and 127 of +0.5 around their mean -0.5/255 give
    // 65024/1020 in squares; over 254 and halved, SD1^2 = 32/255.
    std::vector<float> window;
    for (int i = 0; i < 256; ++i) window.push_back(i % 2 == 0 ? 0.5f : 1.0f);
    EXPECT_NEAR(*ComputeSdAndHeartRates(window, 0.25f).sd1, std::sqrt(32.0 / 255.0), 1e-14);
    using Case = std::pair<std::vector<float>, std::string>;
    for (const auto& [values, reason] :
         {Case{{0.8f, 0, 0.8f}, "interval 2 of the window is not above 0: it has no heart rate"},
          Case{{0.8f, 0.8f, -0.5f},
               "interval 3 of the window is not above 0: it has no heart rate"},
          Case{{0.8f, 0.9f}, "SD1 and SD2 need at least 3 intervals"}}) {
        EXPECT_EQ(testing::FailureReason([&] { ComputeSdAndHeartRates(values, 1); }, ""), reason);
    }
}

// The flags as text, one character per interval: '.' none, 'R' range, 'M' Malik.
std::string FlagText(const std::vector<float>& intervals, ArtifactLimits limits = {}) {
    std::string text;
    for (ArtifactRule rule : FlagArtifacts(intervals, limits))
        text += rule == ArtifactRule::None ? '.' : rule == ArtifactRule::Range ? 'R' : 'M';
    return text;
}

const float Above2 = std::nextafter(2.0f, 3.0f), Below03 = std::nextafter(0.3f, 0.0f);
const float Above15 = std::nextafter(1.5f, 2.0f), Below1 = std::nextafter(1.0f, 0.0f);

TEST(FlagArtifactsTest, FlagsAsWorkedOut) {
    const std::pair<std::vector<float>, const char*> cases[] = {
        // A missed beat: the doubled interval differs by 100 %; the next is back at the reference.
        {{0.8f, 0.8f, 1.6f, 0.8f, 0.8f}, "..M.."},
        // An extra beat: both halves are 50 % below the reference, which stays 0.8.
        {{0.8f, 0.8f, 0.4f, 0.4f, 0.8f}, "..MM."},
        // The pause after the early beat is judged against 0.8, not against the early beat.
        {{0.8f, 0.8f, 0.5f, 1.1f, 0.8f}, "..MM."},
        // The first in-range value is the first reference; 0.9 and 1.0 are within 20 %.
        {{0.2f, 0.25f, 2.5f, 0.8f, 0.9f, 1.0f}, "RRR..."},
        // 0.3 and 2.0 are inside; 0.3 after 1.9 breaks the 20 % rule.
        {{2.0f, Above2, 1.9f, 0.3f, Below03, 0.3f}, ".R.MRM"},
        {{0.8f, std::nanf(""), 0.8f}, ".R."},
        // 1.25 to 1.5 and 1.25 to 1.0 are exactly 20 %, not above it.
        {{1.25f, 1.5f, 1.25f, 1.0f}, "...."},
        {{1.25f, Above15, 1.25f, Below1}, ".M.M"},
        // 1.2 is held as 1.20000005, just above 20 % over 1.0.
        {{1.0f, 1.2f, 0.8f}, ".M."},
        // 1.45 is judged against 1.0, as the flagged 1.5 never becomes the reference.
        {{1.0f, 1.5f, 1.45f, 1.1f, 1.3f}, ".MM.."}};
    for (const auto& [intervals, flags] : cases) EXPECT_EQ(FlagText(intervals), flags) << flags;
    // Other limits; a low limit above the high one fails.
    EXPECT_EQ(FlagText({0.4f, 0.5f, 0.55f, 1.5f, 1.6f}, {0.5f, 1.5f}), "R..MR");
    EXPECT_THROW(FlagArtifacts(std::vector<float>{0.8f}, {2.0f, 0.3f}), CommandFailure);
}

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
    const std::size_t cases[][4] = {{255, 1, 0, 1},           {300, 16, 3, 1},
                                    {8255, 1, 8000, 1},       {8256, 16, 501, 16},
                                    {600'000, 64, 9372, 256}, {10'000'000, 256, 39'062, 256}};
    for (const auto& [beats, step, windows, defaultStep] : cases) {
        EXPECT_EQ(TrendWindowCount(beats, step), windows) << beats << " beats, step " << step;
        EXPECT_EQ(DefaultTrendStep(beats), defaultStep) << beats << " beats";
    }
}

TEST(TrendTest, SameValuesGiveTheSameMeasuresInEveryWindow) {
    const TrendSeries trend = Trend(PeriodFour(268), 4);
    ASSERT_EQ(trend.points.size(), 4u);
    // Deviations 1/16, 0, -1/16, 0: SDNN^2 = 128 / 256 / 255; every difference is 1/16.
    // The strips in their order: mean R-R, SDNN, RMSSD, LF/HF, HF %.
    const TrendValues& first = *trend.points[0].measures;
    EXPECT_EQ(first[0], 1.0);
    EXPECT_NEAR(first[1], std::sqrt(0.5 / 255), 1e-7);
    EXPECT_NEAR(first[2], 0.0625, 1e-9);
    EXPECT_TRUE(first[4] > 99.8 && first[3] < 2e-3);  // the taper leaks a little
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(trend.points[i].firstBeat, 1 + 4 * i);
        EXPECT_EQ(trend.points[i].startMinutes, 4.0 * static_cast<double>(i) / 60);
        EXPECT_EQ(*trend.points[i].measures, first);
    }
    EXPECT_EQ(trend.totalMinutes, 268.0 / 60);
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
