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

// --segments: "whole", or a length as "5min" or "300s" (a positive number, then min or s).
// Sets `segmentS` (nullopt for whole) when given; returns an empty text, or why the text is not
// a length.
std::string ParseSegments(const std::string& text, std::optional<double>* segmentS);

// --correct: "none", "auto", "threshold:LEVEL" (very-low, low, medium, strong, very-strong) or
// "threshold:SECONDS" (a positive number). Sets `settings` when given; returns an empty text,
// or why the text is not a correction.
std::string ParseCorrection(const std::string& text, standard::CorrectionSettings* settings);

struct CommandLine;

// hrv: the standard analysis of every file, as JSON or CSV on stdout, the reasons on stderr.
// Returns the exit status: 0 when every file and stretch was analysed, 1 when any failed.
int RunHrv(const CommandLine& line);

}  // namespace ritmova::cli
