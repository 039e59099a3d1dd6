#pragma once

#include <array>
#include <string>
#include <string_view>

#include "measures/beat_series.h"

namespace ritmova {

// Reads the first 256 numbers of an interval file: decimal numbers in seconds, separated by
// commas, blanks, tabs or line ends, with the period as decimal separator whatever the
// locale. Reading stops after the 256th value; the rest of the file is never read, and the
// 256 values must lie within the first 16 MB. "-" reads standard input; pipes are read too.
// Throws CommandFailure with a reason the user can read ("only 255 values, 256 needed",
// "line 3: 'abc' is not a number", "is a folder"); the caller names the file. Text from the
// file is quoted safely (QuotedToken).
IntervalValues ReadIntervalFile(const std::string& path);

// The same rules over text already in memory.
IntervalValues ParseIntervals(std::string_view text);

// Throws CommandFailure unless `path` names a regular file: "is a folder" for a directory,
// "is not a regular file" for a FIFO, socket or device, the system's reason when it cannot be
// looked up. Uses stat() without opening, so that a FIFO never blocks the caller.
void RequireRegularFile(const std::string& path);

}  // namespace ritmova
