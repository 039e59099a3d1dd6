#pragma once

#include <array>
#include <string>

#include "analysis/analysis_state.h"
#include "analysis/pass_values.h"

namespace ritmova {

// The values the summary and the report show, through their patterns, in the report's
// order: mean, SDNN, RMSSD, NN50, pNN50, VLF, LF, HF, total, LF%, HF%, LF/HF and the VLF,
// LF and HF peak frequencies. Throws CommandFailure when LF/HF is undefined (no HF power).
using ResultTexts = std::array<std::string, 15>;
ResultTexts FormatResults(const AnalysisState& state, const PassValues& pass);

// The 12-line summary shown under the spectrum; every line ends with CR LF.
std::string ResultsSummary(const ResultTexts& values, const std::string& fileName);

// The 16-line report: the file name, then "label:<TAB>value" lines, each ended by CR LF.
std::string BuildReportText(const ResultTexts& values, const std::string& fileName);

// Writes the report and one more CR LF to `path`, replacing the file atomically: the text goes
// to a new hidden file of a unique name in the same folder, is synced, then renamed over the
// file. An existing file keeps its permission bits; a symbolic link stays a link and the file
// it points to is replaced. A failed save leaves an existing file as it was and no temporary
// file behind. Throws CommandFailure with the reason, naming `path`.
void WriteReportFile(const std::string& path, const std::string& reportText);

// Writes `content` as it is to `path`, atomically, by WriteReportFile's rules.
void WriteWholeFile(const std::string& path, const std::string& content);

}  // namespace ritmova
