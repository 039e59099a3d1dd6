#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "measures/beat_series.h"

namespace ritmova {

// log(x) / log(2), both logarithms taken on each call.
double Log2(double x);

// The four-state Markov analysis of a window: states split at the mean and 0.98 SDNN either
// side of it, their counts and probabilities, the zero-memory entropy H0, the transition
// table, the first-order conditional entropy H1 and the Nakahama index (H0 - H1) / H0.
struct MarkovResult {
    float limitLow = 0;
    float limitMid = 0;
    float limitHigh = 0;
    std::array<std::int16_t, BeatCount> states{};  // 0..3, one per beat
    std::array<std::int16_t, 4> counts{};
    std::array<float, 4> probabilities{};
    float h0 = 0;
    std::array<std::array<std::int16_t, 4>, 4> transitionCounts{};  // [from][to]
    std::array<std::array<float, 4>, 4> transitionProbabilities{};
    float h1 = 0;
    std::optional<float> nakahamaIndex;  // absent when all beats fall in one state (H0 = 0)

    bool operator==(const MarkovResult&) const = default;
};

// Why the Nakahama index is absent.
inline constexpr const char* OneStateReason =
    "no variability: all beats fall in one state, the Nakahama index is undefined";

// The analysis of the intervals as read, with their mean and SDNN, into `result`. Throws
// CommandFailure when a state limit overflows, after the limits before it are set.
void AnalyseMarkov(std::span<const float, BeatCount> intervals, float mean, float sdnn,
                   MarkovResult& result);

}  // namespace ritmova
