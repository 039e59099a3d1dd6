#include "measures/markov.h"

#include <cmath>

#include "common/checked.h"

namespace ritmova {

double Log2(double x) {
    return std::log(x) / std::log(2.0);
}

namespace {

void computeStateLimits(MarkovResult& r, float mean, float sdnn) {
    const double halfWidth = CheckedDouble(double{sdnn} * 1.96 / 2.0, "the state limits");
    r.limitLow = ToSingle(double{mean} - halfWidth, "the lower state limit");
    r.limitMid = mean;
    r.limitHigh = ToSingle(double{mean} + halfWidth, "the upper state limit");
}

// Below the low limit 0, else below the middle 1, else below the high limit 2, else 3: the
// state looked up from the three comparisons rather than found by jumps, since successive
// beats change state at random.
std::int16_t stateOf(const MarkovResult& r, float interval) {
    // Indexed by 4 * (below low) + 2 * (below middle) + (below high).
    static constexpr std::int16_t FirstLimitBelow[8] = {3, 2, 1, 1, 0, 0, 0, 0};
    const int index =
        4 * (interval < r.limitLow) + 2 * (interval < r.limitMid) + (interval < r.limitHigh);
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

void quantise(MarkovResult& r, std::span<const float, BeatCount> intervals) {
    for (std::size_t i = 0; i < BeatCount; ++i) {
        const std::int16_t code = stateOf(r, intervals[i]);
        r.states[i] = code;
        ++r.counts[index(code)];
    }
}

void computeStateProbabilities(MarkovResult& r) {
    for (std::size_t s = 0; s < 4; ++s) {
        const float p = static_cast<float>(r.counts[s] / 256.0);
        r.probabilities[s] = p;
        if (p > 0) r.h0 = static_cast<float>(r.h0 + entropyTerm(p));
    }
}

// Divided by the state's count among all 256 beats: the row of beat 256's state sums to
// (n - 1) / n, since the last beat has no successor.
void computeTransitions(MarkovResult& r) {
    for (std::size_t i = 1; i < BeatCount; ++i) {
        ++r.transitionCounts[index(r.states[i - 1])][index(r.states[i])];
    }
    for (std::size_t from = 0; from < 4; ++from) {
        if (r.counts[from] <= 0) continue;
        for (std::size_t to = 0; to < 4; ++to) {
            r.transitionProbabilities[from][to] =
                static_cast<float>(static_cast<double>(r.transitionCounts[from][to]) /
                                   static_cast<double>(r.counts[from]));
        }
    }
}

void computeEntropyH1(MarkovResult& r) {
    for (std::size_t from = 0; from < 4; ++from) {
        double rowEntropy = 0;
        for (float q : r.transitionProbabilities[from]) {
            if (q > 0) rowEntropy += entropyTerm(q);
        }
        if (rowEntropy > 0) {
            r.h1 = static_cast<float>(r.h1 + rowEntropy * double{r.probabilities[from]});
        }
    }
}

}  // namespace

void AnalyseMarkov(std::span<const float, BeatCount> intervals, float mean, float sdnn,
                   MarkovResult& result) {
    result = {};
    computeStateLimits(result, mean, sdnn);
    quantise(result, intervals);
    computeStateProbabilities(result);
    computeTransitions(result);
    computeEntropyH1(result);
    if (result.h0 != 0) {
        result.nakahamaIndex =
            static_cast<float>((double{result.h0} - double{result.h1}) / double{result.h0});
    }
}

}  // namespace ritmova
