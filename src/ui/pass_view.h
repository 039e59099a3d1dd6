#pragma once

#include <string>

#include "analysis/window_analysis.h"
#include "measures/markov.h"
#include "ui/window_port.h"

namespace ritmova {

// What the main window holds of its analyses: the last pass's results, the Markov analysis
// of them, and the report that Save results writes.
struct WindowState {
    PassResults pass;
    MarkovResult markov;
    std::string reportText;

    bool operator==(const WindowState&) const = default;
};

// Runs the pass on `values` and shows it, the texts naming the window `fileName`: the
// tachogram, the spectrum axis caption, the summary, the report that Save results writes (now
// enabled), the spectrum and the Poincare plot with r. A failure throws CommandFailure with
// what the steps before it computed shown (the plots drawn so far stay); an undefined r fails
// after the Poincare plot's dots.
void AnalyseAndShow(WindowPort& window, WindowState& state, const IntervalValues& values,
                    const std::string& fileName);

// Analysis -> Markov: the analysis of the pass's series, its text in the panel, and the panel
// shown. When all beats fall in one state, throws CommandFailure with the text as far as it
// goes in the panel, which stays hidden.
void AnalyseAndShowMarkov(WindowPort& window, WindowState& state);

}  // namespace ritmova
