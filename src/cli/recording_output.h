#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "cli/recording_analysis.h"

namespace ritmova::cli {

// Where a recording's windows are: the n-th (0-based) starts at beat 1 + n * step.
struct WindowPlan {
    std::size_t beats = 0;
    std::size_t step = 256;
    std::size_t count() const;  // complete 256-beat windows
    std::size_t firstBeat(std::size_t window) const { return 1 + window * step; }
    std::size_t unusedBeats() const;  // after the last complete window
};

// The windows command: one CSV row, or one JSON object, per window (`window` 0-based here,
// 1-based in the output); the analysis holds the window's first beat and start time.
std::string_view WindowsCsvHeader();
inline constexpr std::size_t WindowsLeadingColumns = 4;  // window .. start_s
// `fileField` is the file's CSV field as AppendCsvField writes it, made once per recording.
void AppendWindowCsvRow(std::string& out, std::string_view fileField, std::size_t window,
                        const RecordingAnalysis& analysis);
// JSON: an array of one object per recording, each holding the array of its windows.
void AppendWindowsJsonStart(std::string& out, const std::string& file, Units units,
                            const WindowPlan& plan);
void AppendWindowJson(std::string& out, std::size_t window, const RecordingAnalysis& analysis);
inline constexpr std::string_view WindowsJsonEnd = "\n]}";

// The artifacts command: every flagged interval of a recording.
std::string_view ArtifactsCsvHeader();
inline constexpr std::size_t ArtifactsCsvColumns = 3;  // beat, value, rule
void AppendArtifactsCsv(std::string& out, const std::string& file, std::span<const float> intervals,
                        std::span<const ArtifactRule> flags);
void AppendArtifactsJson(std::string& out, const std::string& file, Units units,
                         std::span<const float> intervals, std::span<const ArtifactRule> flags);

double FlaggedPercent(std::span<const ArtifactRule> flags);

}  // namespace ritmova::cli
