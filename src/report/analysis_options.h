#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/recording.h"
#include "standard/correction.h"

// The texts of the standard analysis's settings, as the console tool and the window's command
// line take them and as the outputs and reports name them. Each parser returns an empty text
// when the text is valid (and sets the value when given one), else why it is not.
namespace ritmova {

// --from, --to: seconds from the first beat, a number from 0 on.
std::string ParseSeconds(const std::string& text, std::optional<double>* seconds);

// --segments: "whole", or a length as "5min" or "300s" (a positive number, then min or s).
// Sets `segmentS` (nullopt for whole).
std::string ParseSegments(const std::string& text, std::optional<double>* segmentS);

// --correct: "none", "auto", "threshold:LEVEL" (very-low, low, medium, strong, very-strong) or
// "threshold:SECONDS" (a positive number).
std::string ParseCorrection(const std::string& text, standard::CorrectionSettings* settings);

// --units: s, ms or auto.
std::string ParseUnits(const std::string& text, UnitsChoice* units);

// --skip-lines (minimum 0), --column (minimum 1): a whole number in decimal digits.
std::string ParseWholeNumber(const std::string& text, unsigned long long minimum,
                             std::size_t* value);

// The correction as --correct names it: none, threshold:LEVEL, threshold:SECONDS, auto.
std::string CorrectionText(const standard::CorrectionSettings& settings);

}  // namespace ritmova
