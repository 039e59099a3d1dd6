#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Which stretches of a recording are analysed: the whole, a time range, or consecutive
// segments of one length. Times are in seconds from the first beat of the recording, the beat
// before its first interval; interval i belongs where t_i, the time of the beat that ends it,
// falls.
namespace ritmova::standard {

inline constexpr double DefaultSegmentSeconds = 300;

struct StretchChoice {
    std::optional<double> fromS;     // interval i is in when fromS <= t_i
    std::optional<double> toS;       // and t_i < toS
    std::optional<double> segmentS;  // cut the stretch into segments of this length
};

// One stretch: its intervals are the recording's firstBeat .. lastBeat (1-based).
struct Stretch {
    std::size_t firstBeat = 1;
    std::size_t lastBeat = 0;
    double startS = 0;        // the time of the beat before its first interval
    double endS = 0;          // the time of the beat that ends its last interval
    std::size_t segment = 0;  // 1-based, 0 when the stretch is not a segment
    std::size_t intervals() const { return lastBeat + 1 - firstBeat; }
};

// The stretches to analyse, and what was left out at the end: the intervals of the last,
// incomplete segment (none when nothing was left out).
struct StretchPlan {
    std::vector<Stretch> stretches;
    std::optional<Stretch> leftOut;
};

// Segment k of a range starting at `from` holds the intervals with
// floor((t_i - from) / length) = k; the complete ones are k = 0 .. floor((end - from) /
// length) - 1, the end being the last beat's time, or `to` when that is earlier. Throws
// CommandFailure when the range holds no interval, or no complete segment.
StretchPlan PlanStretches(std::span<const double> timesS, const StretchChoice& choice);

}  // namespace ritmova::standard
