#pragma once

#include "analysis/analysis_state.h"
#include "platform/platform.h"

namespace ritmova {

// log(x) / log(2), both logarithms taken on each call.
double Log2(double x);

// The Analysis menu's Markov: quantises RRSeriesAsRead into four states by limits at MeanRR
// and 0.98 SDNN either side of it, computes the state counts and probabilities, H0, the
// transition table, H1 and the Nakahama index, writes the panel text into Label5 piece by
// piece and shows the panel. Throws CommandFailure on a fault, with the text written so far
// left in Label5; when H0 is 0 that is at the Nakahama index, after the H1 line.
void MarkovCommand(AnalysisState& state, WindowPort& window);

// The same analysis without the panel: every Markov member of the state, as the command
// leaves them. Throws CommandFailure where the command would fail.
void RunMarkovAnalysis(AnalysisState& state);

// The steps, in the command's order; each writes only its own members. QuantiseSeries adds
// to StateCount, which the command clears first.
void ComputeStateLimits(AnalysisState& state);
void QuantiseSeries(AnalysisState& state);
void ResetMarkovResults(AnalysisState& state);
void ComputeStateProbabilities(AnalysisState& state);
void CountTransitions(AnalysisState& state);
void ComputeTransitionProbabilities(AnalysisState& state);
void ComputeEntropyH1(AnalysisState& state);
void ComputeNakahamaIndex(AnalysisState& state);

}  // namespace ritmova
