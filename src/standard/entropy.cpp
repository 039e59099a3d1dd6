#include <cmath>
#include <string>

#include "common/command_failure.h"
#include "standard/nonlinear.h"
#include "standard/template_matches.h"

namespace ritmova::standard {

static_assert(EntropyTemplateLength == 2, "the match counts take templates of 2 and 3 intervals");

namespace {

// Phi: the mean over the templates of ln(matches / templates).
double MeanLogMatchShare(const std::vector<std::int32_t>& counts) {
    const auto templates = static_cast<double>(counts.size());
    double sum = 0;
    for (std::int32_t count : counts) sum += std::log(static_cast<double>(count) / templates);
    return sum / templates;
}

// Pairs i < j among the templates whose counts, self included, are given.
std::int64_t MatchingPairs(const std::vector<std::int32_t>& counts) {
    std::int64_t sum = 0;
    for (std::int32_t count : counts) sum += count;
    return (sum - std::ssize(counts)) / 2;
}

Measured SampleEntropy(std::int64_t pairsM, std::int64_t pairsM1) {
    if (pairsM == 0) return Measured::Absent("no two templates of 2 intervals match within r");
    if (pairsM1 == 0) return Measured::Absent("no two templates of 3 intervals match within r");
    return Measured::Of(-std::log(static_cast<double>(pairsM1) / static_cast<double>(pairsM)));
}

void CheckInput(std::span<const double> rrMs, double sdnnMs) {
    if (!std::isfinite(sdnnMs) || sdnnMs < 0)
        throw CommandFailure("the entropies need a finite SDNN of 0 or more, not " +
                             std::to_string(sdnnMs));
    for (double value : rrMs)
        if (!std::isfinite(value))
            throw CommandFailure("the entropies need finite intervals, not " +
                                 std::to_string(value));
}

}  // namespace

EntropyMeasures MeasureEntropies(std::span<const double> rrMs, double sdnnMs) {
    CheckInput(rrMs, sdnnMs);
    EntropyMeasures measures;
    measures.toleranceMs = EntropyToleranceFactor * sdnnMs;
    const std::size_t size = rrMs.size();
    if (size < 3) {
        measures.sampen = measures.apen = Measured::Absent("fewer than 3 intervals");
        return measures;
    }
    const ToleranceRanks ranks = RankWithinTolerance(rrMs, measures.toleranceMs);
    // ApEn takes all N - 1 templates of 2 intervals, SampEn the first N - 2: the last one's
    // matches with the others are taken off.
    const std::vector<std::int32_t> pairCounts = PairMatchCounts(ranks, size - 1);
    const std::vector<std::int32_t> tripleCounts = TripleMatchCounts(ranks, size - 2);
    measures.matchesM = MatchingPairs(pairCounts) - (pairCounts.back() - 1);
    measures.matchesM1 = MatchingPairs(tripleCounts);
    measures.sampen = SampleEntropy(measures.matchesM, measures.matchesM1);
    measures.apen = Measured::Of(MeanLogMatchShare(pairCounts) - MeanLogMatchShare(tripleCounts));
    return measures;
}

}  // namespace ritmova::standard
