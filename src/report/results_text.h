#pragma once

#include <string>

#include "analysis/analysis_state.h"
#include "analysis/pass_values.h"

namespace ritmova {

// The 12-line summary shown under the spectrum; every line ends with CR LF.
// Throws CommandFailure when LF/HF is undefined (no HF power).
std::string ResultsSummary(const AnalysisState& state, const PassValues& pass);

// The 16-line report: the file name, then "label:<TAB>value" lines, each ended by CR LF.
std::string BuildReportText(const AnalysisState& state, const PassValues& pass);

// Writes the report and one more CR LF to `path`, replacing the file atomically: a failed
// write leaves an existing file as it was. Throws CommandFailure with the reason.
void WriteReportFile(const std::string& path, const std::string& reportText);

}  // namespace ritmova
