#include "standard/template_matches.h"

#include <algorithm>
#include <cmath>

namespace ritmova::standard {

namespace {

using Index = std::int32_t;

// Counts of points per rank, with prefix sums in O(log n).
class RankCounts {
  public:
    explicit RankCounts(std::size_t ranks) : tree_(ranks + 1, 0) {}
    void Add(Index rank, Index amount) {
        for (auto i = static_cast<std::size_t>(rank) + 1; i < tree_.size(); i += i & (~i + 1))
            tree_[i] += amount;
    }
    // Points with rank in [first, last].
    Index Between(Index first, Index last) const { return Below(last + 1) - Below(first); }

  private:
    Index Below(Index rank) const {
        Index sum = 0;
        for (auto i = static_cast<std::size_t>(rank); i > 0; i &= i - 1) sum += tree_[i];
        return sum;
    }
    std::vector<Index> tree_;
};

// Template indices ordered by the rank of their first value (a stable counting sort).
std::vector<Index> OrderByFirstRank(const ToleranceRanks& ranks, std::size_t templates) {
    std::vector<Index> start(ranks.first.size() + 1, 0);
    for (std::size_t t = 0; t < templates; ++t) ++start[std::size_t(ranks.rank[t]) + 1];
    for (std::size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    std::vector<Index> order(templates);
    for (std::size_t t = 0; t < templates; ++t)
        order[std::size_t(start[std::size_t(ranks.rank[t])]++)] = static_cast<Index>(t);
    return order;
}

}  // namespace

ToleranceRanks RankWithinTolerance(std::span<const double> series, double tolerance) {
    std::vector<double> distinct(series.begin(), series.end());
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    ToleranceRanks ranks;
    ranks.rank.reserve(series.size());
    for (double value : series)
        ranks.rank.push_back(static_cast<Index>(
            std::lower_bound(distinct.begin(), distinct.end(), value) - distinct.begin()));
    // Both ends of the run only move up as the value does.
    const auto size = static_cast<Index>(distinct.size());
    ranks.first.resize(distinct.size());
    ranks.last.resize(distinct.size());
    Index low = 0, high = 0;
    for (Index k = 0; k < size; ++k) {
        const double value = distinct[std::size_t(k)];
        while (!(std::fabs(value - distinct[std::size_t(low)]) <= tolerance)) ++low;
        while (high + 1 < size && std::fabs(value - distinct[std::size_t(high + 1)]) <= tolerance)
            ++high;
        ranks.first[std::size_t(k)] = low;
        ranks.last[std::size_t(k)] = high;
    }
    return ranks;
}

// A sweep along the first rank keeps the templates whose first value matches in a window, and
// counts those among them whose second value matches.
std::vector<Index> PairMatchCounts(const ToleranceRanks& ranks, std::size_t templates) {
    const std::vector<Index> order = OrderByFirstRank(ranks, templates);
    const auto& rank = ranks.rank;
    const auto second = [&](std::size_t at) { return rank[std::size_t(order[at]) + 1]; };
    RankCounts window(ranks.first.size());
    std::vector<Index> counts(templates);
    std::size_t added = 0, removed = 0;
    for (std::size_t at = 0; at < templates; ++at) {
        const Index first = rank[std::size_t(order[at])];
        for (; added < templates && rank[std::size_t(order[added])] <= ranks.last[first]; ++added)
            window.Add(second(added), 1);
        for (; rank[std::size_t(order[removed])] < ranks.first[first]; ++removed)
            window.Add(second(removed), -1);
        const auto y = std::size_t(second(at));
        counts[std::size_t(order[at])] = window.Between(ranks.first[y], ranks.last[y]);
    }
    return counts;
}

namespace {

// In the sweep along the first rank, a template is a point at its first rank and has two
// queries: one at the highest first rank it matches (+) and one just below the lowest (-). A
// query counts the points before it whose second and third values match its template's.
struct SweepEvent {
    Index second, third;  // ranks of the template's second and third value
    Index owner;          // the query's template; -1 for a point
    Index sign;           // +1 or -1 for a query
};

bool BySecond(const SweepEvent& a, const SweepEvent& b) {
    return a.second < b.second;
}

// Events in the order of their first rank, points before queries at the same rank.
std::vector<SweepEvent> SweepEvents(const ToleranceRanks& ranks, std::size_t templates) {
    std::vector<std::pair<std::size_t, SweepEvent>> keyed;  // twice the rank, + 1 for a query
    keyed.reserve(3 * templates);
    for (std::size_t t = 0; t < templates; ++t) {
        const auto x = std::size_t(ranks.rank[t]);
        const Index second = ranks.rank[t + 1], third = ranks.rank[t + 2];
        keyed.push_back({2 * x, {second, third, -1, 0}});
        keyed.push_back({2 * std::size_t(ranks.last[x]) + 1, {second, third, Index(t), 1}});
        if (ranks.first[x] > 0)
            keyed.push_back({2 * std::size_t(ranks.first[x]) - 1, {second, third, Index(t), -1}});
    }
    std::vector<std::size_t> start(2 * ranks.first.size() + 1, 0);
    for (const auto& [key, event] : keyed) ++start[key + 1];
    for (std::size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    std::vector<SweepEvent> sorted(keyed.size());
    for (const auto& [key, event] : keyed) sorted[start[key]++] = event;
    return sorted;
}

// Divide and conquer over the sweep: the points of each earlier half are counted for the
// queries of the later half by a second sweep, along the second rank, that keeps the counts of
// the third ranks in its window; each level costs O(n log n).
class TripleCounter {
  public:
    TripleCounter(const ToleranceRanks& ranks, std::size_t templates)
        : ranks_(ranks),
          window_(ranks.first.size()),
          counts_(templates, 0),
          events_(SweepEvents(ranks, templates)),
          buffer_(events_.size()) {}

    std::vector<Index> Count() {
        Solve(0, events_.size());
        return std::move(counts_);
    }

  private:
    static constexpr std::size_t DirectSize = 32;

    // Counts within [begin, end) and leaves it ordered by second rank.
    void Solve(std::size_t begin, std::size_t end) {
        const auto at = [&](std::size_t i) { return events_.begin() + std::ptrdiff_t(i); };
        if (end - begin <= DirectSize) {
            CountDirectly(begin, end);
            std::sort(at(begin), at(end), BySecond);
            return;
        }
        const std::size_t middle = begin + (end - begin) / 2;
        Solve(begin, middle);
        Solve(middle, end);
        CountAcross(begin, middle, end);
        std::merge(at(begin), at(middle), at(middle), at(end),
                   buffer_.begin() + std::ptrdiff_t(begin), BySecond);
        std::copy(buffer_.begin() + std::ptrdiff_t(begin), buffer_.begin() + std::ptrdiff_t(end),
                  at(begin));
    }

    void CountDirectly(std::size_t begin, std::size_t end) {
        for (std::size_t q = begin; q < end; ++q) {
            const SweepEvent& query = events_[q];
            if (query.owner < 0) continue;
            Index matches = 0;
            for (std::size_t p = begin; p < q; ++p) {
                const SweepEvent& point = events_[p];
                matches += point.owner < 0 && Matches(query.second, point.second) &&
                           Matches(query.third, point.third);
            }
            counts_[std::size_t(query.owner)] += query.sign * matches;
        }
    }

    // Both halves are ordered by second rank, so the window of matching second ranks only
    // moves up.
    void CountAcross(std::size_t begin, std::size_t middle, std::size_t end) {
        std::size_t added = begin, removed = begin;
        const auto move = [&](std::size_t at, Index amount) {
            if (events_[at].owner < 0) window_.Add(events_[at].third, amount);
        };
        for (std::size_t q = middle; q < end; ++q) {
            const SweepEvent& query = events_[q];
            if (query.owner < 0) continue;
            const auto second = std::size_t(query.second), third = std::size_t(query.third);
            for (; added < middle && events_[added].second <= ranks_.last[second]; ++added)
                move(added, 1);
            for (; removed < added && events_[removed].second < ranks_.first[second]; ++removed)
                move(removed, -1);
            counts_[std::size_t(query.owner)] +=
                query.sign * window_.Between(ranks_.first[third], ranks_.last[third]);
        }
        for (; removed < added; ++removed) move(removed, -1);
    }

    bool Matches(Index centre, Index other) const {
        return ranks_.first[std::size_t(centre)] <= other &&
               other <= ranks_.last[std::size_t(centre)];
    }

    const ToleranceRanks& ranks_;
    RankCounts window_;
    std::vector<Index> counts_;
    std::vector<SweepEvent> events_, buffer_;
};

}  // namespace

std::vector<Index> TripleMatchCounts(const ToleranceRanks& ranks, std::size_t templates) {
    return TripleCounter(ranks, templates).Count();
}

}  // namespace ritmova::standard
