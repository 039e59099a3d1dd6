#pragma once

#include <array>
#include <string>

#include "analysis/analysis_state.h"

namespace ritmova {

using IntervalValues = std::array<float, BeatCount>;

// Reads the first 256 numbers of an interval file: decimal numbers in seconds, separated by
// commas, blanks, tabs or line ends, with the period as decimal separator whatever the
// locale. Reading stops after the 256th value; the rest of the file is never read.
// Throws CommandFailure with a reason the user can read ("only 255 values, 256 needed",
// "line 3: 'abc' is not a number"); the caller names the file.
IntervalValues ReadIntervalFile(const std::string& path);

// The same rules over text already in memory.
IntervalValues ParseIntervals(std::string_view text);

}  // namespace ritmova
