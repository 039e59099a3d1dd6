#pragma once

#include <array>
#include <string>

#include "analysis/window_analysis.h"

namespace ritmova {

// The values the summary and the report show, through their patterns, in the report's
// order: mean, SDNN, RMSSD, NN50, pNN50, VLF, LF, HF, total, LF%, HF%, LF/HF and the VLF,
// LF and HF peak frequencies.
using ResultTexts = std::array<std::string, 15>;
ResultTexts FormatResults(const PassResults& results);

// The 12-line summary shown under the spectrum; every line ends with CR LF. The file's name
// is quoted by SafeText, here and in the report, so that no name breaks a line or reaches a
// terminal as a control sequence.
std::string ResultsSummary(const ResultTexts& values, const std::string& fileName);

// The 16-line report: the file name, then "label:<TAB>value" lines, each ended by CR LF.
std::string BuildReportText(const ResultTexts& values, const std::string& fileName);

// The spectrum axis caption: the first five characters of the largest power's general text
// form, unless they would misstate its size (its exponent, integer digits or every significant
// digit cut off: " 1.69" of " 1.695011E-09"); then its two-digit exponent form, "1.7e-9".
std::string SpectrumCaption(float spectrumMax);

}  // namespace ritmova
