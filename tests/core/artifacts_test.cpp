#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/recording.h"
#include "common/command_failure.h"

namespace ritmova {
namespace {

// The flags as text, one character per interval: '.' none, 'R' range, 'M' Malik.
std::string FlagText(const std::vector<float>& intervals, ArtifactLimits limits = {}) {
    std::string text;
    for (ArtifactRule rule : FlagArtifacts(intervals, limits))
        text += rule == ArtifactRule::None ? '.' : rule == ArtifactRule::Range ? 'R' : 'M';
    return text;
}

const float Above2 = std::nextafter(2.0f, 3.0f), Below03 = std::nextafter(0.3f, 0.0f);
const float Above15 = std::nextafter(1.5f, 2.0f), Below1 = std::nextafter(1.0f, 0.0f);

struct ArtifactCase {
    const char* name;
    std::vector<float> intervals;
    const char* flags;
};

class FlagArtifactsTest : public ::testing::TestWithParam<ArtifactCase> {};

TEST_P(FlagArtifactsTest, FlagsAsWorkedOut) {
    EXPECT_EQ(FlagText(GetParam().intervals), GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(
    Series, FlagArtifactsTest,
    ::testing::Values(
        // The doubled interval differs by 100 %; the next is back at the reference.
        ArtifactCase{"MissedBeat", {0.8f, 0.8f, 1.6f, 0.8f, 0.8f}, "..M.."},
        // Both halves are 50 % below the reference, which stays 0.8.
        ArtifactCase{"ExtraBeat", {0.8f, 0.8f, 0.4f, 0.4f, 0.8f}, "..MM."},
        // The pause after the early beat is judged against 0.8, not against the early beat.
        ArtifactCase{"EctopicPair", {0.8f, 0.8f, 0.5f, 1.1f, 0.8f}, "..MM."},
        // The first in-range value is the first reference; 0.9 and 1.0 are within 20 %.
        ArtifactCase{"RangeRunAtStart", {0.2f, 0.25f, 2.5f, 0.8f, 0.9f, 1.0f}, "RRR..."},
        // 0.3 and 2.0 are inside; 0.3 after 1.9 breaks the 20 % rule.
        ArtifactCase{"RangeLimits", {2.0f, Above2, 1.9f, 0.3f, Below03, 0.3f}, ".R.MRM"},
        ArtifactCase{"NotANumber", {0.8f, std::nanf(""), 0.8f}, ".R."},
        // 1.25 to 1.5 and 1.25 to 1.0 are exactly 20 %, not above it.
        ArtifactCase{"ExactlyTwentyPercent", {1.25f, 1.5f, 1.25f, 1.0f}, "...."},
        ArtifactCase{"JustAboveTwentyPercent", {1.25f, Above15, 1.25f, Below1}, ".M.M"},
        // 1.2 is held as 1.20000005, just above 20 % over 1.0.
        ArtifactCase{"DecimalTwentyPercent", {1.0f, 1.2f, 0.8f}, ".M."},
        // 1.45 is judged against 1.0, as the flagged 1.5 never becomes the reference.
        ArtifactCase{"FlaggedNeverReference", {1.0f, 1.5f, 1.45f, 1.1f, 1.3f}, ".MM.."}),
    [](const auto& test) { return test.param.name; });

TEST(FlagArtifactsTest, OtherLimits) {
    EXPECT_EQ(FlagText({0.4f, 0.5f, 0.55f, 1.5f, 1.6f}, {0.5f, 1.5f}), "R..MR");
    EXPECT_THROW(FlagArtifacts(std::vector<float>{0.8f}, {2.0f, 0.3f}), CommandFailure);
}

}  // namespace
}  // namespace ritmova
