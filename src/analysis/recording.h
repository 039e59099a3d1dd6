#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/interval_file.h"
#include "common/progress.h"
#include "measures/artifacts.h"

namespace ritmova {

// A whole recording: every interval of a file, in seconds at single precision, in file order.
// The 256-beat analysis runs unchanged on any window of it.

enum class Units { Seconds, Milliseconds };
enum class UnitsChoice { Seconds, Milliseconds, Auto };

// How a recording file is read.
struct ReadOptions {
    UnitsChoice units = UnitsChoice::Seconds;
    std::size_t skipLines = 0;  // header lines before the values
    std::size_t column = 0;     // 1-based field of each line; 0: every field is a value
    bool exact = false;         // also keep every value as the nearest double of its text
};

// More values than this is a failure with its reason.
inline constexpr std::size_t MaxRecordingValues = 10'000'000;
// A recording's text is read up to this many bytes, whatever the file holds; more is a
// failure, and so is a run of more than 16 MB of blank space. Room for the most values with
// long lines, such as time stamps in other columns.
inline constexpr std::size_t MaxRecordingBytes = std::size_t{256} << 20;

struct Recording {
    std::vector<float> intervals;  // seconds
    Units units = Units::Seconds;  // as the file held them
    // With ReadOptions::exact: each interval in milliseconds from the nearest double of its
    // text, for the standard analysis (a value in seconds times 1000, one multiplication).
    std::vector<double> milliseconds;
};

// Reads a whole recording by the same value rules as the 256-value reader. "-" reads
// standard input. A Polar HRM file (a [Params] header, intervals in ms under [HRData]) is
// recognised and read without options. Throws CommandFailure with a reason the user can read.
// Milliseconds convert as their text with the point moved three places left would, so the same
// recording in either unit gives the same floats. Auto takes milliseconds when the median of
// the values read as seconds is above 10. With `column`, every line that is not blank must
// hold a number in that column. With `progress`, reports the share of the file's bytes read
// and stops, throwing Cancelled, once it is cancelled.
Recording ReadRecording(const std::string& path, const ReadOptions& options = {},
                        Progress* progress = nullptr);
Recording ParseRecording(std::string_view text, const ReadOptions& options = {});

// A recording read as far as its values go: a failure after the first value ends the reading
// instead of failing it, and the values before it are the recording.
struct PartialRecording {
    Recording recording;
    std::string stopReason;  // the failure's reason ("line 1000: 'x' is not a number"), or empty
};
// ReadRecording's reading by the same rules, reasons and bounds, but for a failure after the
// first value; one before it (or no value at all) still throws. `progress` as ReadRecording's.
PartialRecording ReadRecordingUntilFailure(const std::string& path, const ReadOptions& options = {},
                                           Progress* progress = nullptr);
PartialRecording ParseRecordingUntilFailure(std::string_view text, const ReadOptions& options = {});

// Whether the file at `path` is a Polar HRM file by ReadRecording's rule: after a byte order
// mark, blank space and blank lines, its first text is "[Params]". False for standard input,
// which cannot be read twice, for anything but a regular file and for what cannot be read.
bool IsPolarFile(const std::string& path);

// The first 256 values of a file by ReadIntervalFile's rules, reasons and bounds, in `units`:
// milliseconds convert as ReadRecording converts them, so the values are the first 256 of
// the whole recording read in the same units.
IntervalValues ReadFirstValues(const std::string& path, Units units);

// The 256 values from `firstBeat` (1-based) on. Throws CommandFailure when fewer remain or
// `firstBeat` is 0.
IntervalValues WindowValues(std::span<const float> intervals, std::size_t firstBeat);

// The path as the texts show it: unchanged for the first window, else "path (beats A-B)".
std::string WindowName(const std::string& path, std::size_t firstBeat);

}  // namespace ritmova
