#pragma once

#include <span>

#include "standard/measured.h"

// The long-term measures over 5-min segments of the beat-time axis.
namespace ritmova::standard {

inline constexpr double FiveMinuteSeconds = 300;

// Interval i belongs to segment floor(t_i / 300) (t in seconds from the beat before the first
// interval); only the complete segments 0 .. floor(t_N / 300) - 1 count. SDANN is the sample SD
// of their means, the SDNN index the mean of their sample SDs; both absent, with the reason,
// below 2 complete segments or when a segment holds fewer than 2 intervals.
struct FiveMinuteMeasures {
    Measured sdannMs;
    Measured sdnnIndexMs;
    std::size_t completeSegments = 0;
};
FiveMinuteMeasures MeasureFiveMinute(std::span<const double> rrMs, std::span<const double> timesS);

}  // namespace ritmova::standard
