#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/recording.h"
#include "standard/stretch.h"
#include "standard/stretch_analysis.h"

// The standard analysis's results as text for the window's views, the report and the
// clipboard, made from the measure table (standard/measure_rows.h): a value shows the row's
// decimals of the number that `ritmova-cli hrv` writes in full.
namespace ritmova {

// One measure as a person reads it.
struct StandardRowText {
    std::string_view group;  // "Time domain", "Welch", ...
    std::string_view label;  // "SDNN"
    std::string value;       // "52.3"; empty when the measure is absent
    std::string_view unit;   // "ms"; empty when it has none
    std::string reason;      // why it is absent; empty when it is present
};

// Every row of the table, in its order.
std::vector<StandardRowText> StandardRowTexts(const standard::StretchResults& results);

// `value` correctly rounded to `decimals` places (0 for a whole number), no sign on a zero.
std::string FixedText(double value, int decimals);

// What was analysed and how, beside the results: the file's name as the outputs give it, the
// units its values were read in and the stretch asked for.
struct StandardSummaryInput {
    std::string_view file;
    Units units = Units::Seconds;
    standard::StretchChoice choice;
};

// A line of the summary above the results: "Stretch", "beats 1-1200, 0.0-900.2 s (...)".
struct SummaryLine {
    std::string label;
    std::string text;
};

// The file, the stretch, the settings the numbers depend on and the correction.
std::vector<SummaryLine> StandardSummaryLines(const standard::StretchResults& results,
                                              const StandardSummaryInput& input);

// The summary ("label<TAB>text" lines), a blank line, then a header and one line per
// measure: group, measure, value, unit, reason; lines end with LF. For the clipboard.
std::string StandardResultsTsv(const standard::StretchResults& results,
                               const StandardSummaryInput& input);

}  // namespace ritmova
