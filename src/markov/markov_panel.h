#pragma once

#include <string>

#include "analysis/analysis_state.h"
#include "platform/platform.h"

namespace ritmova {

// The Markov panel's text in Label5, written piece by piece as the command goes, so that a
// failure leaves exactly the text written so far.
class MarkovPanel {
  public:
    explicit MarkovPanel(WindowPort& window) : window_(window) {}

    void clear();
    // Lines 1 to 16: the states with their limits, counts and probabilities, H0 and the
    // transition probability table.
    void writeFirstBlock(const AnalysisState& state);
    // Lines 17 to 19: the H1 line between empty lines.
    void appendH1(const AnalysisState& state);
    // Line 20, the Nakahama index without a line break, then the panel is shown.
    void appendNakahamaAndShow(const AnalysisState& state);

  private:
    void set(const std::string& text);
    void append(const std::string& piece);
    void appendStateLines(const AnalysisState& state);
    void appendTransitionTable(const AnalysisState& state);

    WindowPort& window_;
};

}  // namespace ritmova
