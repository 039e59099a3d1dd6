#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Correction of artifacts in a series of intervals in milliseconds, asked for explicitly:
// flagged intervals are replaced, split or merged, and the record says which.
namespace ritmova::standard {

enum class CorrectionMethod { None, Threshold, Automatic };
inline constexpr std::size_t CorrectionMethodCount = 3;
inline constexpr std::array<std::string_view, CorrectionMethodCount> CorrectionMethodNames{
    "none", "threshold", "automatic"};

// The threshold levels, in seconds at 60 beats per minute; Custom takes its own value.
enum class ThresholdLevel { VeryLow, Low, Medium, Strong, VeryStrong, Custom };
inline constexpr std::size_t ThresholdLevelCount = 6;
inline constexpr std::array<std::string_view, ThresholdLevelCount> ThresholdLevelNames{
    "very-low", "low", "medium", "strong", "very-strong", "custom"};
inline constexpr std::array<double, ThresholdLevelCount - 1> ThresholdLevelSeconds{0.45, 0.35, 0.25,
                                                                                   0.15, 0.05};

// The automatic method's constants (Lipponen and Tarvainen 2019).
struct AutomaticConstants {
    static constexpr double C1 = 0.13;
    static constexpr double C2 = 0.17;
    static constexpr double Alpha = 5.2;
    static constexpr std::size_t DeviationWindow = 91;  // beats, for the quartile deviations
    static constexpr std::size_t MedianWindow = 11;     // beats
    static constexpr int MaxRounds = 5;
};

// The threshold method's local median window, in intervals.
inline constexpr std::size_t ThresholdMedianWindow = 11;
// Beyond this share of corrected intervals, in %, the results are not to be relied on.
inline constexpr double UnreliablePercent = 5;

struct CorrectionSettings {
    CorrectionMethod method = CorrectionMethod::None;
    ThresholdLevel level = ThresholdLevel::Medium;
    double thresholdS = 0.25;  // at 60 beats per minute
};

// The kinds of beat the automatic method tells apart.
enum class BeatClass { Normal, Ectopic, Long, Short, Missed, Extra };
inline constexpr std::size_t BeatClassCount = 6;
inline constexpr std::array<std::string_view, BeatClassCount> BeatClassNames{
    "normal", "ectopic", "long", "short", "missed", "extra"};

// What a correction did. Beat numbers are those of the intervals in the recording (1-based).
struct CorrectionRecord {
    CorrectionSettings settings;
    double thresholdMs = 0;  // threshold: the level scaled by mean RR / 1 s
    int rounds = 0;          // automatic: the rounds whose corrections were applied
    std::array<std::size_t, BeatClassCount> classCounts{};  // automatic, over those rounds
    std::vector<std::size_t> correctedBeats;                // ascending, each once
    std::size_t intervalsBefore = 0;
    std::size_t intervalsAfter = 0;
    double correctedPercent = 0;  // corrected beats over intervalsBefore, in %
    bool unreliable = false;      // correctedPercent above UnreliablePercent
};

struct CorrectedSeries {
    std::vector<double> rrMs;
    CorrectionRecord record;
};

// Corrects the intervals by the method of `settings`; `firstBeat` is the recording's number of
// the first interval. Throws CommandFailure when fewer than 2 intervals would be left to draw
// the replacing spline through.
CorrectedSeries CorrectIntervals(std::span<const double> rrMs, const CorrectionSettings& settings,
                                 std::size_t firstBeat = 1);

// The median of the centred window of `width` values around each value, shrinking at the ends
// (only the values that exist within width / 2 on either side).
std::vector<double> LocalMedians(std::span<const double> values, std::size_t width);

// The flagged values replaced by the not-a-knot cubic spline through the others on the index
// axis (position in the series). Throws CommandFailure for fewer than 2 unflagged values.
std::vector<double> SplineReplaced(std::span<const double> values,
                                   std::span<const std::uint8_t> flagged);

// Automatic: the class of every interval in one round of classification.
std::vector<BeatClass> ClassifyBeats(std::span<const double> rrMs);

// Automatic: rounds of classification and correction, each on the series the round before
// left, while the number flagged falls (at most MaxRounds). Fills the series, the rounds, the
// class counts and the corrected beats of the record.
CorrectedSeries CorrectAutomatically(std::span<const double> rrMs, std::size_t firstBeat);

}  // namespace ritmova::standard
