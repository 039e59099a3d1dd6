#pragma once

#include <cstddef>
#include <vector>

#include "analysis/recording.h"
#include "standard/stretch_analysis.h"

// What the HRV report shows of a recording, worked out without the toolkit: the standard
// analysis of one stretch, as `ritmova-cli hrv` gives it with the same settings, and the
// series its plots draw.
namespace ritmova {

// The stretch and the correction, as `ritmova-cli hrv` takes them (--from, --to, --correct).
struct HrvReportSettings {
    standard::StretchChoice stretch;  // no segments: the report shows one stretch
    standard::AnalysisSettings analysis;
};

struct HrvReportData {
    standard::StretchResults results;
    std::vector<double> timesS;              // the recording's beat times
    std::vector<double> analysedRrMs;        // the stretch's intervals as measured
    std::vector<std::size_t> artifactBeats;  // the recording's intervals flagged (1-based)
    std::size_t beats = 0;                   // intervals in the recording
    double durationS = 0;                    // the recording's
};

// Analyses `recording` (read with ReadOptions::exact) as `ritmova-cli hrv` would with these
// settings. Throws CommandFailure with the reason when it cannot: an interval not above 0, a
// stretch without intervals, a correction that fails.
HrvReportData AnalyseForReport(const Recording& recording, const HrvReportSettings& settings);

}  // namespace ritmova
