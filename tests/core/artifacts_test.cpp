#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
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
}

TEST(FlagArtifactsTest, OtherLimits) {
    EXPECT_EQ(FlagText({0.4f, 0.5f, 0.55f, 1.5f, 1.6f}, {0.5f, 1.5f}), "R..MR");
    EXPECT_THROW(FlagArtifacts(std::vector<float>{0.8f}, {2.0f, 0.3f}), CommandFailure);
}

}  // namespace
}  // namespace ritmova
