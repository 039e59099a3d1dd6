#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/recording.h"
#include "common/command_failure.h"
#include "test_data.h"

namespace ritmova {
namespace {

std::string FailureOf(const std::function<void()>& call) {
    return testing::FailureReason(call, "no failure");
}

// Interval i (1-based) is i / 1000 + 0.5, so each value tells its beat.
TEST(WindowValuesTest, TakesTheBeatsFromTheFirstOn) {
    std::vector<float> recording;
    for (double i = 1; i <= 600; ++i) recording.push_back(static_cast<float>(i / 1000.0 + 0.5));
    for (std::size_t first : {1, 257, 345}) {
        const IntervalValues values = WindowValues(recording, first);
        EXPECT_EQ(values.front(), recording[first - 1]) << first;
        EXPECT_EQ(values.back(), recording[first + 254]) << first;
    }
    using Case = std::pair<std::size_t, std::string>;
    for (const auto& [first, reason] :
         {Case{0, "beat 0 does not exist: beats count from 1"},
          Case{346, "only 255 beats from beat 346 on, 256 needed"},
          Case{600, "only 1 beats from beat 600 on, 256 needed"},
          Case{601, "beat 601 is beyond the recording's 600 beats"}}) {
        EXPECT_EQ(FailureOf([&] { WindowValues(recording, first); }), reason);
    }
    EXPECT_EQ(WindowName("rec.int", 1), "rec.int");
    EXPECT_EQ(WindowName("rec.int", 257), "rec.int (beats 257-512)");
}

// SDNN as the pass gives it: divisor N - 1 around the mean, in single precision.
TEST(ExtraMeasuresTest, WorkedExamples) {
    // d = 1, 14, 2: squared deviations sum to 314/3, so SDSD^2 = 314/6 and SD1^2 = 314/12;
    // SDNN^2 = 242.75/3, so SD2^2 = 485.5/3 - 314/12 = 1628/12.
    const float sdnn = static_cast<float>(std::sqrt(242.75 / 3));
    const ExtraMeasures peer = ComputeExtraMeasures(std::vector<float>{10, 11, 25, 27}, sdnn);
    EXPECT_NEAR(*peer.sd1, std::sqrt(314.0 / 12.0), 1e-12);
    EXPECT_NEAR(*peer.sd2, std::sqrt(1628.0 / 12.0), 1e-5);
    // 1, 2, 1: SD1^2 = 1 and 2 SDNN^2 = 2/3, so SD2^2 would be negative.
    const ExtraMeasures peak =
        ComputeExtraMeasures(std::vector<float>{1, 2, 1}, std::sqrt(1 / 3.0f));
    EXPECT_EQ(peak.sd1, 1.0);
    EXPECT_EQ(peak.sd2, std::nullopt);
    // 60 / x: 120, 60, 80 and 40 beats per minute.
    const ExtraMeasures rates = ComputeExtraMeasures(std::vector<float>{0.5, 1, 0.75, 1.5}, 0);
    EXPECT_EQ(rates.meanHr, 75.0);
    EXPECT_EQ(rates.minHr, 40.0);
    EXPECT_EQ(rates.maxHr, 120.0);
    // 0.5, 1.0, ...: 128 differences of -0.5 and 127 of +0.5 around their mean -0.5/255 give
    // 65024/1020 in squares; over 254 and halved, SD1^2 = 32/255.
    std::vector<float> window;
    for (int i = 0; i < 256; ++i) window.push_back(i % 2 == 0 ? 0.5f : 1.0f);
    EXPECT_NEAR(*ComputeExtraMeasures(window, 0.25f).sd1, std::sqrt(32.0 / 255.0), 1e-14);
}

TEST(ExtraMeasuresTest, FailuresSayWhy) {
    using Case = std::pair<std::vector<float>, std::string>;
    for (const auto& [values, reason] :
         {Case{{0.8f, 0, 0.8f}, "interval 2 of the window is not above 0: it has no heart rate"},
          Case{{0.8f, 0.8f, -0.5f},
               "interval 3 of the window is not above 0: it has no heart rate"},
          Case{{0.8f, 0.9f}, "SD1 and SD2 need at least 3 intervals"}}) {
        EXPECT_EQ(FailureOf([&] { ComputeExtraMeasures(values, 1); }), reason);
    }
}

}  // namespace
}  // namespace ritmova
