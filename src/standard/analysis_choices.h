#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "standard/correction.h"
#include "standard/stretch_analysis.h"

// The choices of an interactive standard analysis, as text a person types or a settings file
// keeps: times of the stretch, steps through 5-min segments, the correction and the spectra
// shown.
namespace ritmova::standard {

// A time from the recording's first beat as typed: seconds ("95", "95.5"), minutes and seconds
// ("1:35") or hours, minutes and seconds ("1:01:35"); blank space around it is ignored.
// Returns nullopt for a blank text (an open end). Throws CommandFailure for anything else,
// saying what is expected.
std::optional<double> ParseClockTime(std::string_view text);

// A time as ParseClockTime reads it back: "m:ss" below an hour, else "h:mm:ss", the seconds
// with as many decimals (up to 3) as they need.
std::string ClockText(double seconds);

// A stretch from `fromS` to `toS` (seconds).
using TimeRange = std::pair<double, double>;

// The next (`forward`) or previous complete segment of `lengthS` seconds of a recording of
// `durationS` seconds: segment k is [k L, (k + 1) L). From segment k the step goes to k ± 1;
// from a stretch that is no segment, to the segment holding its start (forward), or to the
// segment before it (back); from the whole recording (no start), to the first segment forward
// and the last back. Nullopt when there is no such segment.
std::optional<TimeRange> StepSegment(std::optional<double> fromS, std::optional<double> toS,
                                     double durationS, bool forward,
                                     double lengthS = DefaultSegmentSeconds);

// The corrections the window offers, in its order: none, each threshold level, automatic.
struct CorrectionChoice {
    std::string_view text;   // as ritmova-cli hrv --correct takes it, and the settings keep it
    std::string_view label;  // as the window shows it
    CorrectionSettings settings;
};
inline constexpr std::size_t CorrectionChoiceCount = 7;
extern const std::array<CorrectionChoice, CorrectionChoiceCount> CorrectionChoices;

// The index of the choice whose text is `text`; nullopt when none is.
std::optional<std::size_t> FindCorrectionChoice(std::string_view text);

// Which spectra the window shows, in SpectrumMethod order.
using SpectraShown = std::array<bool, SpectrumMethodCount>;
inline constexpr SpectraShown DefaultSpectraShown{true, true, false};
inline constexpr std::array<std::string_view, SpectrumMethodCount> SpectrumMethodNames{
    "welch", "lomb-scargle", "autoregressive"};

// "welch,lomb-scargle": the names of the spectra shown, comma-separated ("" for none).
std::string SpectraText(const SpectraShown& shown);
// The spectra a text of SpectraText names; nullopt when a name is unknown or repeated.
std::optional<SpectraShown> ParseSpectra(std::string_view text);

}  // namespace ritmova::standard
