#pragma once

#include "analysis/window_analysis.h"
#include "common/measure_table.h"

namespace ritmova {

// Every measure of a window's analysis, once, in the order of the console tool's columns:
// the pass's, then the Markov analysis's, then those of the whole window. The JSON and CSV
// columns, the CSV headers and the trend view's strips are made from it.
MeasureTable<WindowAnalysis> WindowMeasures();

// The group of the Markov analysis's rows, which JSON gives inside its Markov object.
inline constexpr std::string_view MarkovGroup = "Markov";

}  // namespace ritmova
