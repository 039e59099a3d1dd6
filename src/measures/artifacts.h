#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ritmova {

// Artifact flags, one per interval.
enum class ArtifactRule : std::uint8_t { None, Range, Malik };

struct ArtifactLimits {
    float low = 0.3f;  // seconds
    float high = 2.0f;
};

// Range first: a value outside [low, high] (or not a number) is flagged Range. Then Malik's
// 20 % rule: an in-range value is flagged Malik when |RR(i) - RR(ref)| > 0.2 * RR(ref), RR(ref)
// being the last earlier unflagged value; the first in-range value starts as the reference.
// The comparison is in double precision from the single-precision values, so a step of
// exactly 20 % between values exact in binary (1.25 to 1.5) is not flagged, while 1.0 to 1.2
// is (1.2 is held as 1.20000005). Throws CommandFailure when low is above high.
std::vector<ArtifactRule> FlagArtifacts(std::span<const float> intervals,
                                        ArtifactLimits limits = {});

// The flagged intervals among `flags`.
std::size_t FlaggedCount(std::span<const ArtifactRule> flags);

}  // namespace ritmova
