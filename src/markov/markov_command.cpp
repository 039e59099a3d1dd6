#include "markov/markov_command.h"

#include <cmath>

#include "common/checked.h"
#include "markov/markov_panel.h"

namespace ritmova {

double Log2(double x) {
    return std::log(x) / std::log(2.0);
}

void ComputeStateLimits(AnalysisState& state) {
    const double halfWidth = CheckedDouble(double{state.SDNN} * 1.96 / 2.0, "the state limits");
    state.StateLimitLow = ToSingle(double{state.MeanRR} - halfWidth, "the lower state limit");
    state.StateLimitMid = state.MeanRR;
    state.StateLimitHigh = ToSingle(double{state.MeanRR} + halfWidth, "the upper state limit");
}

namespace {

// Below the low limit 0, else below the middle 1, else below the high limit 2, else 3: the
// state looked up from the three comparisons rather than found by jumps, since successive
// beats change state at random.
std::int16_t stateOf(const AnalysisState& state, float interval) {
    // Indexed by 4 * (below low) + 2 * (below middle) + (below high).
    static constexpr std::int16_t FirstLimitBelow[8] = {3, 2, 1, 1, 0, 0, 0, 0};
    const int index = 4 * (interval < state.StateLimitLow) + 2 * (interval < state.StateLimitMid) +
                      (interval < state.StateLimitHigh);
    return FirstLimitBelow[index];
}

// p * log2(1/p), with 1/p formed in single precision.
double entropyTerm(float p) {
    const float inverse = CheckedSingle(1.0f / p, "an entropy term");
    return double{p} * Log2(inverse);
}

std::size_t index(std::int16_t code) {
    return static_cast<std::size_t>(code);
}

}  // namespace

void QuantiseSeries(AnalysisState& state) {
    for (int i = 1; i <= BeatCount; ++i) {
        const std::int16_t code = stateOf(state, state.RRSeriesAsRead[i]);
        state.StateSequence[i] = code;
        ++state.StateCount[index(code)];
    }
}

void ResetMarkovResults(AnalysisState& state) {
    state.StateProbability.fill(0);
    state.TransitionCount = {};
    state.TransitionProbability = {};
    state.EntropyH0 = 0;
    state.EntropyH1 = 0;
    state.NakahamaIndex = 0;
}

void ComputeStateProbabilities(AnalysisState& state) {
    for (std::size_t s = 0; s < 4; ++s) {
        const float p = static_cast<float>(state.StateCount[s] / 256.0);
        state.StateProbability[s] = p;
        if (p > 0) state.EntropyH0 = static_cast<float>(state.EntropyH0 + entropyTerm(p));
    }
}

void CountTransitions(AnalysisState& state) {
    for (int i = 2; i <= BeatCount; ++i) {
        ++state.TransitionCount[index(state.StateSequence[i - 1])][index(state.StateSequence[i])];
    }
}

// Divided by the state's count among all 256 beats: the row of beat 256's state sums to
// (n - 1) / n, since the last beat has no successor.
void ComputeTransitionProbabilities(AnalysisState& state) {
    for (std::size_t from = 0; from < 4; ++from) {
        if (state.StateCount[from] <= 0) continue;
        for (std::size_t to = 0; to < 4; ++to) {
            state.TransitionProbability[from][to] =
                static_cast<float>(static_cast<double>(state.TransitionCount[from][to]) /
                                   static_cast<double>(state.StateCount[from]));
        }
    }
}

void ComputeEntropyH1(AnalysisState& state) {
    for (std::size_t from = 0; from < 4; ++from) {
        double rowEntropy = 0;
        for (float q : state.TransitionProbability[from]) {
            if (q > 0) rowEntropy += entropyTerm(q);
        }
        if (rowEntropy > 0) {
            state.EntropyH1 = static_cast<float>(state.EntropyH1 +
                                                 rowEntropy * double{state.StateProbability[from]});
        }
    }
}

void ComputeNakahamaIndex(AnalysisState& state) {
    if (state.EntropyH0 == 0) {
        throw CommandFailure(
            "no variability: all beats fall in one state, the Nakahama index is undefined");
    }
    state.NakahamaIndex = static_cast<float>((double{state.EntropyH0} - double{state.EntropyH1}) /
                                             double{state.EntropyH0});
}

namespace {

// The command's steps in order; the panel, when there is one, is written between them.
void runSteps(AnalysisState& state, MarkovPanel* panel) {
    state.StateCount.fill(0);
    ComputeStateLimits(state);
    QuantiseSeries(state);
    if (panel) panel->clear();
    ResetMarkovResults(state);
    ComputeStateProbabilities(state);
    CountTransitions(state);
    ComputeTransitionProbabilities(state);
    if (panel) panel->writeFirstBlock(state);
    ComputeEntropyH1(state);
    if (panel) panel->appendH1(state);
    ComputeNakahamaIndex(state);
    if (panel) panel->appendNakahamaAndShow(state);
}

}  // namespace

void RunMarkovAnalysis(AnalysisState& state) {
    runSteps(state, nullptr);
}

void MarkovCommand(AnalysisState& state, WindowPort& window) {
    MarkovPanel panel(window);
    runSteps(state, &panel);
}

}  // namespace ritmova
