#pragma once

#include <optional>
#include <string>

#include "standard/stretch_analysis.h"

namespace ritmova::cli {

// What the hrv command analyses and how it writes it.
struct HrvOptions {
    standard::StretchChoice stretch;
    standard::AnalysisSettings analysis;
    bool json = true;
    bool densities = false;  // --spectrum
};

struct CommandLine;

// hrv: the standard analysis of every file, as JSON or CSV on stdout, the reasons on stderr.
// Returns the exit status: 0 when every file and stretch was analysed, 1 when any failed.
int RunHrv(const CommandLine& line);

}  // namespace ritmova::cli
