#include "measures/artifacts.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/command_failure.h"

namespace ritmova {
namespace {

// Written so that a value that is not a number is out of range too.
bool inRange(float value, const ArtifactLimits& limits) {
    return value >= limits.low && value <= limits.high;
}

bool breaksMalikRule(float value, float reference) {
    const double ref = reference;
    return std::fabs(double{value} - ref) > 0.2 * ref;
}

}  // namespace

std::vector<ArtifactRule> FlagArtifacts(std::span<const float> intervals, ArtifactLimits limits) {
    if (!(limits.low <= limits.high)) {
        throw CommandFailure("the artifact range's low limit is above its high limit");
    }
    std::vector<ArtifactRule> rules(intervals.size(), ArtifactRule::None);
    std::optional<float> reference;
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        const float value = intervals[i];
        if (!inRange(value, limits)) {
            rules[i] = ArtifactRule::Range;
        } else if (reference && breaksMalikRule(value, *reference)) {
            rules[i] = ArtifactRule::Malik;
        } else {
            reference = value;
        }
    }
    return rules;
}

std::size_t FlaggedCount(std::span<const ArtifactRule> flags) {
    return static_cast<std::size_t>(std::count_if(
        flags.begin(), flags.end(), [](ArtifactRule rule) { return rule != ArtifactRule::None; }));
}

}  // namespace ritmova
