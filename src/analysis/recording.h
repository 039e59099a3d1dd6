#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/interval_file.h"

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
};

// Reads a whole recording by the same value rules as the 256-value reader. "-" reads
// standard input. A Polar HRM file (a [Params] header, intervals in ms under [HRData]) is
// recognised and read without options. Throws CommandFailure with a reason the user can read.
// Milliseconds convert as their text with the point moved three places left would, so the same
// recording in either unit gives the same floats. Auto takes milliseconds when the median of
// the values read as seconds is above 10. With `column`, every line that is not blank must
// hold a number in that column.
Recording ReadRecording(const std::string& path, const ReadOptions& options = {});
Recording ParseRecording(std::string_view text, const ReadOptions& options = {});

// Whether the file at `path` is a Polar HRM file by ReadRecording's rule: after a byte order
// mark, blank space and blank lines, its first text is "[Params]". False for standard input,
// which cannot be read twice, for anything but a regular file and for what cannot be read.
bool IsPolarFile(const std::string& path);

// The first 256 values of a file by ReadIntervalFile's rules, reasons and bounds, in `units`:
// milliseconds convert as ReadRecording converts them, so the values are the first 256 of
// the whole recording read in the same units.
IntervalValues ReadFirstValues(const std::string& path, Units units);

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

// The 256 values from `firstBeat` (1-based) on. Throws CommandFailure when fewer remain or
// `firstBeat` is 0.
IntervalValues WindowValues(std::span<const float> intervals, std::size_t firstBeat);

// The path as the texts show it: unchanged for the first window, else "path (beats A-B)".
std::string WindowName(const std::string& path, std::size_t firstBeat);

// Measures of one window beyond the 256-beat pass, in double precision from the
// single-precision intervals.
struct ExtraMeasures {
    std::optional<double> sd1;  // always set: its square root's argument is a sum of squares
    std::optional<double> sd2;  // absent when 2 SDNN^2 - SD1^2 is negative
    double meanHr = 0;          // beats per minute
    double minHr = 0;
    double maxHr = 0;
};

// SD1 = SDSD / sqrt(2), SDSD being the standard deviation of the successive differences with
// divisor N - 2; SD2 = sqrt(2 SDNN^2 - SD1^2) with the pass's own `sdnn` (divisor N - 1).
// Heart rates are 60 / interval. Throws CommandFailure for fewer than 3 values, or a value
// that is 0 or negative, which has no heart rate.
ExtraMeasures ComputeExtraMeasures(std::span<const float> values, float sdnn);

}  // namespace ritmova
