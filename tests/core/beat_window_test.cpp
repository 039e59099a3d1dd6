#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "analysis/recording.h"
#include "common/command_failure.h"

namespace ritmova {
namespace {

// Interval i (1-based) is i / 1000 + 0.5, so each value tells its beat.
std::vector<float> Numbered(std::size_t count) {
    std::vector<float> intervals;
    for (std::size_t i = 1; i <= count; ++i)
        intervals.push_back(static_cast<float>(static_cast<double>(i) / 1000.0 + 0.5));
    return intervals;
}

TEST(WindowValuesTest, TakesTheBeatsFromTheFirstOn) {
    const std::vector<float> recording = Numbered(600);
    for (std::size_t first : {std::size_t{1}, std::size_t{257}, std::size_t{345}}) {
        const IntervalValues values = WindowValues(recording, first);
        EXPECT_EQ(values.front(), recording[first - 1]) << first;
        EXPECT_EQ(values.back(), recording[first + 254]) << first;
    }
}

struct BadStart {
    const char* name;
    std::size_t firstBeat;
    const char* reason;
};

class WindowValuesFailureTest : public ::testing::TestWithParam<BadStart> {};

TEST_P(WindowValuesFailureTest, SaysWhy) {
    try {
        WindowValues(Numbered(600), GetParam().firstBeat);
        FAIL() << "no failure";
    } catch (const CommandFailure& failure) {
        EXPECT_STREQ(failure.what(), GetParam().reason);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Starts, WindowValuesFailureTest,
    ::testing::Values(BadStart{"Zero", 0, "beat 0 does not exist: beats count from 1"},
                      BadStart{"OneBeatShort", 346, "only 255 beats from beat 346 on, 256 needed"},
                      BadStart{"LastBeat", 600, "only 1 beats from beat 600 on, 256 needed"},
                      BadStart{"Beyond", 601, "beat 601 is beyond the recording's 600 beats"}),
    [](const auto& test) { return test.param.name; });

TEST(WindowNameTest, NamesTheBeatsBeyondTheFirstWindow) {
    EXPECT_EQ(WindowName("rec.int", 1), "rec.int");
    EXPECT_EQ(WindowName("rec.int", 257), "rec.int (beats 257-512)");
    EXPECT_EQ(WindowName("/data/a b.txt", 2), "/data/a b.txt (beats 2-257)");
}

// The pass's SDNN: divisor N - 1 around the mean, rounded to single precision.
float Sdnn(const std::vector<float>& values) {
    double mean = 0;
    for (float v : values) mean += v;
    mean /= static_cast<double>(values.size());
    double squares = 0;
    for (float v : values) squares += (v - mean) * (v - mean);
    return static_cast<float>(std::sqrt(squares / static_cast<double>(values.size() - 1)));
}

TEST(ExtraMeasuresTest, PeerCheck) {
    // d = 1, 14, 2: squared deviations sum to 314/3, so SDSD^2 = 314/6 and SD1^2 = 314/12;
    // SDNN^2 = 242.75/3, so SD2^2 = 485.5/3 - 314/12 = 1628/12.
    const std::vector<float> values{10, 11, 25, 27};
    const ExtraMeasures measures = ComputeExtraMeasures(values, Sdnn(values));
    EXPECT_NEAR(*measures.sd1, std::sqrt(314.0 / 12.0), 1e-12);
    EXPECT_NEAR(*measures.sd1, 5.115, 5e-4);
    EXPECT_NEAR(*measures.sd2, std::sqrt(1628.0 / 12.0), 1e-5);
    EXPECT_NEAR(*measures.sd2, 11.648, 5e-4);
}

TEST(ExtraMeasuresTest, WindowDividesBy254) {
    // 0.5, 1.0, ...: 128 differences of -0.5 and 127 of +0.5 around the mean -0.5/255 give
    // 65024/1020 in squares; over 254 and halved, SD1^2 = 32/255.
    std::vector<float> values;
    for (int i = 0; i < 256; ++i) values.push_back(i % 2 == 0 ? 0.5f : 1.0f);
    EXPECT_NEAR(*ComputeExtraMeasures(values, 0.25f).sd1, std::sqrt(32.0 / 255.0), 1e-14);
}

TEST(ExtraMeasuresTest, NegativeSquareLeavesSd2Absent) {
    // 1, 2, 1: SD1^2 = 1 and 2 SDNN^2 = 2/3.
    const std::vector<float> values{1, 2, 1};
    const ExtraMeasures measures = ComputeExtraMeasures(values, Sdnn(values));
    EXPECT_EQ(measures.sd1, 1.0);
    EXPECT_EQ(measures.sd2, std::nullopt);
}

TEST(ExtraMeasuresTest, ConstantSeriesHasZeroSpread) {
    const ExtraMeasures measures = ComputeExtraMeasures(std::vector<float>(256, 0.8f), 0);
    EXPECT_EQ(measures.sd1, 0.0);
    EXPECT_EQ(measures.sd2, 0.0);
}

TEST(ExtraMeasuresTest, HeartRates) {
    // 60 / x: 120, 60, 80 and 40 beats per minute.
    const ExtraMeasures measures = ComputeExtraMeasures(std::vector<float>{0.5, 1, 0.75, 1.5}, 0);
    EXPECT_EQ(measures.meanHr, 75.0);
    EXPECT_EQ(measures.minHr, 40.0);
    EXPECT_EQ(measures.maxHr, 120.0);
}

struct BadSeries {
    const char* name;
    std::vector<float> values;
    const char* reason;
};

class ExtraMeasuresFailureTest : public ::testing::TestWithParam<BadSeries> {};

TEST_P(ExtraMeasuresFailureTest, SaysWhy) {
    try {
        ComputeExtraMeasures(GetParam().values, 1);
        FAIL() << "no failure";
    } catch (const CommandFailure& failure) {
        EXPECT_STREQ(failure.what(), GetParam().reason);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Series, ExtraMeasuresFailureTest,
    ::testing::Values(BadSeries{"Zero",
                                {0.8f, 0, 0.8f},
                                "interval 2 of the window is not above 0: it has no heart rate"},
                      BadSeries{"Negative",
                                {0.8f, 0.8f, -0.5f},
                                "interval 3 of the window is not above 0: it has no heart rate"},
                      BadSeries{
                          "TwoValues", {0.8f, 0.9f}, "SD1 and SD2 need at least 3 intervals"}),
    [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace ritmova
