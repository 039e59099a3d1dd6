#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "analysis/recording.h"
#include "common/command_failure.h"

namespace ritmova {
namespace {

// The flags as text, one character per interval: '.' none, 'R' range, 'M' Malik.
std::string FlagText(const std::vector<float>& intervals, ArtifactLimits limits = {}) {
    std::string text;
    for (ArtifactRule rule : FlagArtifacts(intervals, limits)) {
        text += rule == ArtifactRule::None ? '.' : rule == ArtifactRule::Range ? 'R' : 'M';
    }
    return text;
}

float Above(float value) {
    return std::nextafter(value, 10.0f);
}
float Below(float value) {
    return std::nextafter(value, 0.0f);
}

struct ArtifactCase {
    const char* name;
    std::vector<float> intervals;
    const char* flags;
};

class FlagArtifactsTest : public ::testing::TestWithParam<ArtifactCase> {};

TEST_P(FlagArtifactsTest, FlagsAsWorkedOut) {
    EXPECT_EQ(FlagText(GetParam().intervals), GetParam().flags);
}

const float NaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Series, FlagArtifactsTest,
    ::testing::Values(
        ArtifactCase{"Empty", {}, ""},
        // The doubled interval differs by 100 %; the next one is back at the reference.
        ArtifactCase{"MissedBeat", {0.8f, 0.8f, 1.6f, 0.8f, 0.8f}, "..M.."},
        // Both halves are 50 % below the reference, which stays 0.8.
        ArtifactCase{"ExtraBeat", {0.8f, 0.8f, 0.4f, 0.4f, 0.8f}, "..MM."},
        // The compensatory pause is judged against 0.8, not against the early beat.
        ArtifactCase{"EctopicPair", {0.8f, 0.8f, 0.5f, 1.1f, 0.8f}, "..MM."},
        // The first in-range value is the first reference; 0.9 and 1.0 are within 20 %.
        ArtifactCase{"RangeRunAtStart", {0.2f, 0.25f, 2.5f, 0.8f, 0.9f, 1.0f}, "RRR..."},
        ArtifactCase{
            "RangeLimitsAreInside", {2.0f, Above(2.0f), 1.9f, 0.3f, Below(0.3f), 0.3f}, ".R.MRM"},
        ArtifactCase{"NotANumberIsOutOfRange", {0.8f, NaN, 0.8f}, ".R."},
        // 1.25 to 1.5 and 1.25 to 1.0 are exactly 20 %, not above it.
        ArtifactCase{"ExactlyTwentyPercent", {1.25f, 1.5f, 1.25f, 1.0f}, "...."},
        ArtifactCase{"JustAboveTwentyPercent", {1.25f, Above(1.5f), 1.25f, Below(1.0f)}, ".M.M"},
        // 1.2 is held as 1.20000005, just above 20 % over 1.0.
        ArtifactCase{"DecimalTwentyPercent", {1.0f, 1.2f, 0.8f}, ".M."},
        // A flagged interval never becomes the reference: 1.45 is judged against 1.0.
        ArtifactCase{"FlaggedNeverReference", {1.0f, 1.5f, 1.45f, 1.1f, 1.3f}, ".MM.."}),
    [](const auto& test) { return test.param.name; });

TEST(FlagArtifactsLimitsTest, OtherLimitsMoveTheRangeRule) {
    EXPECT_EQ(FlagText({0.4f, 0.5f, 0.55f, 1.5f, 1.6f}, {0.5f, 1.5f}), "R..MR");
}

TEST(FlagArtifactsLimitsTest, LowAboveHighFails) {
    EXPECT_THROW(FlagArtifacts(std::vector<float>{0.8f}, {2.0f, 0.3f}), CommandFailure);
}

}  // namespace
}  // namespace ritmova
