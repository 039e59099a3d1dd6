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

// The 12-line summary shown under the spectrum; every line ends with CR LF. The file's name
// is quoted by SafeText, here and in the report, so that no name breaks a line or reaches a
// terminal as a control sequence.
std::string ResultsSummary(const ResultTexts& values, const std::string& fileName);

// The 16-line report: the file name, then "label:<TAB>value" lines, each ended by CR LF.
std::string BuildReportText(const ResultTexts& values, const std::string& fileName);

// Writes the report and one more CR LF to `path` by SaveFile's rules (report/file_save.h):
// a regular file is replaced atomically, a device or FIFO written as it is; a symbolic link
// stays a link and the file it points to is replaced. A failed save leaves an existing file
// as it was and no temporary file behind. The file at `recording`, the report's own, is never
// replaced. Throws CommandFailure with the reason, naming `path`.
void WriteReportFile(const std::string& path, const std::string& reportText,
                     const std::string& recording = "");

}  // namespace ritmova
