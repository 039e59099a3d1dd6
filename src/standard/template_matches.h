#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Exact counts of matching templates for the entropies, without comparing every pair. Two
// values match when std::fabs(a - b) <= r, the very comparison of the pairwise count; since
// rounding is monotonic, the values that match one value are a run of the sorted distinct
// values, so each template becomes a point of ranks and its matches a box of ranks around it.
namespace ritmova::standard {

struct ToleranceRanks {
    std::vector<std::int32_t> rank;   // of each value among the distinct values, ascending
    std::vector<std::int32_t> first;  // per distinct value: the lowest rank it matches
    std::vector<std::int32_t> last;   // and the highest
};
ToleranceRanks RankWithinTolerance(std::span<const double> series, double tolerance);

// For each of the first `templates` templates of length 2 (3), how many of those templates,
// itself included, match it in every position. Counting is O(n log n) (O(n log^2 n)).
std::vector<std::int32_t> PairMatchCounts(const ToleranceRanks& ranks, std::size_t templates);
std::vector<std::int32_t> TripleMatchCounts(const ToleranceRanks& ranks, std::size_t templates);

}  // namespace ritmova::standard
