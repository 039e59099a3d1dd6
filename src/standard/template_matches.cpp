#include "standard/template_matches.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace ritmova::standard {

namespace {

using Index = std::int32_t;

// Counts of points per rank: within each block of ranks the running count up to each rank, and
// a Fenwick tree of the blocks small enough to stay in the nearest cache. A change rewrites the
// rest of one block in a vector loop; a count reads one running count and a few tree nodes.
class RankCounts {
  public:
    explicit RankCounts(std::size_t ranks)
        : running_(ranks + BlockSize, 0), blocks_(ranks / BlockSize + 2, 0) {}
    void Add(Index rank, Index amount) {
        const std::size_t block = std::size_t(rank) / BlockSize;
        for (std::size_t k = std::size_t(rank); k < (block + 1) * BlockSize; ++k)
            running_[k] += amount;
        for (std::size_t i = block + 1; i < blocks_.size(); i += i & (~i + 1)) blocks_[i] += amount;
    }
    // Points with rank in [first, last]. The two tree walks share their upper nodes, which
    // cancel, so each stops where they meet.
    Index Between(Index first, Index last) const {
        // Tree prefixes: the blocks before `last`'s, and those before `first`'s.
        std::size_t i = std::size_t(last) / BlockSize, j = std::size_t(first) / BlockSize;
        Index sum = running_[std::size_t(last)] -
                    (first % BlockSize == 0 ? 0 : running_[std::size_t(first) - 1]);
        while (i != j) {
            if (i > j)
                sum += blocks_[i], i &= i - 1;
            else
                sum -= blocks_[j], j &= j - 1;
        }
        return sum;
    }

  private:
    static constexpr std::size_t BlockSize = 8;

    std::vector<Index> running_;  // points in the rank's block at or below the rank
    std::vector<Index> blocks_;   // Fenwick tree: blocks_[i] sums the blocks (i - lowbit i, i]
};

// Items ordered by a rank of each, keeping the order of equal ones (a counting sort).
template <typename RankOf>
std::vector<Index> StableByRank(const std::vector<Index>& items, RankOf rankOf, std::size_t ranks) {
    std::vector<std::size_t> start(ranks + 1, 0);
    for (Index item : items) ++start[std::size_t(rankOf(item)) + 1];
    for (std::size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    std::vector<Index> sorted(items.size());
    for (Index item : items) sorted[start[std::size_t(rankOf(item))]++] = item;
    return sorted;
}

}  // namespace

ToleranceRanks RankWithinTolerance(std::span<const double> series, double tolerance) {
    std::vector<std::pair<double, Index>> sorted;  // each value with its place in the series
    sorted.reserve(series.size());
    for (std::size_t at = 0; at < series.size(); ++at) sorted.push_back({series[at], Index(at)});
    std::sort(sorted.begin(), sorted.end());
    ToleranceRanks ranks;
    ranks.rank.resize(series.size());
    std::vector<double> distinct;
    for (const auto& [value, at] : sorted) {
        if (distinct.empty() || distinct.back() != value) distinct.push_back(value);
        ranks.rank[std::size_t(at)] = Index(distinct.size() - 1);
    }
    // Both ends of the run only move up as the value does.
    const auto size = static_cast<Index>(distinct.size());
    ranks.first.resize(distinct.size());
    ranks.last.resize(distinct.size());
    Index low = 0, high = 0;
    for (Index k = 0; k < size; ++k) {
        const double value = distinct[std::size_t(k)];
        while (low < k && !(std::fabs(value - distinct[std::size_t(low)]) <= tolerance)) ++low;
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
    std::vector<Index> order(templates);
    for (std::size_t t = 0; t < templates; ++t) order[t] = Index(t);
    order = StableByRank(
        order, [&](Index t) { return ranks.rank[std::size_t(t)]; }, ranks.first.size());
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

// The sweep along the first rank: a template is a point at its first rank and has two queries,
// one at the highest first rank it matches (+) and one just below the lowest (-). A query counts
// the points at or below its rank whose second and third values match its template's.
struct SweepPoint {
    Index first, second, third;  // ranks of the template's values
    Index weight;                // how many templates have these ranks
};
struct SweepQuery {
    Index first;                    // the rank swept to
    Index secondFirst, secondLast;  // the ranks that match the template's second value
    Index thirdFirst, thirdLast;    // and its third
    Index owner;                    // the template; its complement ~owner for a - query
    Index partner;                  // the rank of the template's other query; -1 for none
};

// The sweep along the second rank: both ends of a query's window go up with the second rank.
std::int64_t SecondKey(const SweepPoint& point) {
    return point.second;
}
std::int64_t SecondKey(const SweepQuery& query) {
    return std::int64_t{query.secondFirst} << 32 | query.secondLast;
}
template <typename Event>
bool BySecond(const Event& a, const Event& b) {
    return SecondKey(a) < SecondKey(b);
}

// Stable counting sort by first rank.
template <typename Event>
std::vector<Event> ByFirst(const std::vector<Event>& events, std::size_t ranks) {
    std::vector<std::size_t> start(ranks + 1, 0);
    for (const Event& event : events) ++start[std::size_t(event.first) + 1];
    for (std::size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    std::vector<Event> sorted(events.size());
    for (const Event& event : events) sorted[start[std::size_t(event.first)]++] = event;
    return sorted;
}

// Templates with the same ranks throughout are one point with their number as its weight, so
// that series with few distinct values (rounded to a clock's ticks) count much fewer.
struct DistinctTemplates {
    std::vector<SweepPoint> points;  // ordered by first rank
    std::vector<Index> of;           // per template: its point
};

DistinctTemplates Distinct(const ToleranceRanks& ranks, std::size_t templates) {
    std::vector<Index> order(templates);
    for (std::size_t t = 0; t < templates; ++t) order[t] = Index(t);
    for (std::size_t place = 3; place-- > 0;)  // the last rank first
        order = StableByRank(
            order, [&](Index t) { return ranks.rank[std::size_t(t) + place]; }, ranks.first.size());
    DistinctTemplates distinct{{}, std::vector<Index>(templates)};
    for (Index t : order) {
        const auto at = std::size_t(t);
        const SweepPoint point{ranks.rank[at], ranks.rank[at + 1], ranks.rank[at + 2], 1};
        SweepPoint* last = distinct.points.empty() ? nullptr : &distinct.points.back();
        if (last && last->first == point.first && last->second == point.second &&
            last->third == point.third)
            ++last->weight;
        else
            distinct.points.push_back(point);
        distinct.of[at] = Index(distinct.points.size() - 1);
    }
    return distinct;
}

// Divide and conquer over the first rank: the points at or below a split rank are counted for
// the queries above it by a sweep along the second rank that keeps the counts of the third ranks
// in its window; each level costs O(n log n).
class TripleCounter {
  public:
    TripleCounter(const ToleranceRanks& ranks, std::size_t templates)
        : ranks_(ranks), window_(ranks.first.size()), distinct_(Distinct(ranks, templates)) {
        std::vector<SweepQuery> queries;
        for (std::size_t d = 0; d < distinct_.points.size(); ++d) {
            const SweepPoint& p = distinct_.points[d];
            const SweepQuery query{Last(p.first),     First(p.second), Last(p.second),
                                   First(p.third),    Last(p.third),   Index(d),
                                   First(p.first) - 1};
            queries.push_back(query);
            if (query.partner >= 0)
                queries.push_back({query.partner, query.secondFirst, query.secondLast,
                                   query.thirdFirst, query.thirdLast, ~Index(d), query.first});
        }
        points_ = distinct_.points;
        queries_ = ByFirst(queries, ranks.first.size());
        counts_.assign(points_.size(), 0);
    }

    std::vector<Index> Count() {
        pointBuffer_.resize(points_.size());
        queryBuffer_.resize(queries_.size());
        Solve({0, points_.size()}, {0, queries_.size()}, {-1, std::numeric_limits<Index>::max()});
        std::vector<Index> counts(distinct_.of.size());
        for (std::size_t t = 0; t < counts.size(); ++t)
            counts[t] = counts_[std::size_t(distinct_.of[t])];
        return counts;
    }

  private:
    struct Range {
        std::size_t begin, end;
    };
    struct Ranks {
        Index above, upTo;  // (above, upTo]
        bool Hold(Index rank) const { return above < rank && rank <= upTo; }
    };
    static constexpr std::size_t DirectSize = 1024;

    Index First(Index rank) const { return ranks_.first[std::size_t(rank)]; }
    Index Last(Index rank) const { return ranks_.last[std::size_t(rank)]; }
    void Add(const SweepQuery& query, Index matches) {
        if (query.owner >= 0)
            counts_[std::size_t(query.owner)] += matches;
        else
            counts_[std::size_t(~query.owner)] -= matches;
    }

    // Counts within the ranges, ordered by first rank, and leaves them ordered by second rank.
    // They hold every event with a first rank in `span`.
    void Solve(Range points, Range queries, Ranks span) {
        const std::size_t size = points.end - points.begin + queries.end - queries.begin;
        const bool none = points.begin == points.end || queries.begin == queries.end ||
                          points_[points.begin].first > queries_[queries.end - 1].first;
        const bool all = !none && points_[points.end - 1].first <= queries_[queries.begin].first;
        if (none || all || size <= DirectSize) {
            if (!none && !all) CountDirectly(points, queries);
            SortBySecond(points_, points);
            SortBySecond(queries_, queries);
            if (all) CountAcross(points, queries, span);
            return;
        }
        const Index split = SplitRank(points, queries);
        const Range lowPoints{points.begin, UpperBound(points_, points, split)};
        const Range lowQueries{queries.begin, UpperBound(queries_, queries, split)};
        Solve(lowPoints, lowQueries, {span.above, split});
        Solve({lowPoints.end, points.end}, {lowQueries.end, queries.end}, {split, span.upTo});
        CountAcross(lowPoints, {lowQueries.end, queries.end}, {split, span.upTo});
        Merge(points_, pointBuffer_, points, lowPoints.end);
        Merge(queries_, queryBuffer_, queries, lowQueries.end);
    }

    // The lowest rank at or below which half the events lie, short of the highest rank.
    Index SplitRank(Range points, Range queries) const {
        Index low = std::min(points_[points.begin].first, queries_[queries.begin].first);
        Index high = std::max(points_[points.end - 1].first, queries_[queries.end - 1].first) - 1;
        const std::size_t half = (points.end - points.begin + queries.end - queries.begin) / 2;
        while (low < high) {
            const Index middle = low + (high - low) / 2;
            const std::size_t below = UpperBound(points_, points, middle) - points.begin +
                                      UpperBound(queries_, queries, middle) - queries.begin;
            if (below >= half)
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }

    template <typename Event>
    static std::size_t UpperBound(const std::vector<Event>& events, Range range, Index rank) {
        const auto at = [&](std::size_t i) { return events.begin() + std::ptrdiff_t(i); };
        return std::size_t(
            std::upper_bound(at(range.begin), at(range.end), rank,
                             [](Index value, const Event& event) { return value < event.first; }) -
            events.begin());
    }

    template <typename Event>
    static void SortBySecond(std::vector<Event>& events, Range range) {
        std::sort(events.begin() + std::ptrdiff_t(range.begin),
                  events.begin() + std::ptrdiff_t(range.end), BySecond<Event>);
    }

    template <typename Event>
    static void Merge(std::vector<Event>& events, std::vector<Event>& buffer, Range range,
                      std::size_t middle) {
        const auto at = [&](std::size_t i) { return events.begin() + std::ptrdiff_t(i); };
        const auto into = buffer.begin() + std::ptrdiff_t(range.begin);
        std::merge(at(range.begin), at(middle), at(middle), at(range.end), into, BySecond<Event>);
        std::copy(into, into + std::ptrdiff_t(range.end - range.begin), at(range.begin));
    }

    // Each query against each point at or below its rank, in a loop that the compiler turns
    // into vector instructions.
    void CountDirectly(Range points, Range queries) {
        seconds_.clear();
        thirds_.clear();
        weights_.clear();
        std::size_t point = points.begin;
        for (std::size_t q = queries.begin; q < queries.end; ++q) {
            const SweepQuery& query = queries_[q];
            for (; point < points.end && points_[point].first <= query.first; ++point) {
                seconds_.push_back(points_[point].second);
                thirds_.push_back(points_[point].third);
                weights_.push_back(points_[point].weight);
            }
            const Index firstY = query.secondFirst, firstZ = query.thirdFirst;
            const auto spanY = std::uint32_t(query.secondLast - firstY);
            const auto spanZ = std::uint32_t(query.thirdLast - firstZ);
            Index matches = 0;
            for (std::size_t p = 0; p < seconds_.size(); ++p) {
                const bool inside = (std::uint32_t(seconds_[p] - firstY) <= spanY) &
                                    (std::uint32_t(thirds_[p] - firstZ) <= spanZ);
                matches += weights_[p] & -Index{inside};  // a mask, not a branch
            }
            Add(query, matches);
        }
    }

    // Every point against every query, both ordered by second rank, so that the window of
    // matching second ranks only moves up.
    void CountAcross(Range points, Range queries, Ranks span) {
        std::size_t added = points.begin, removed = points.begin;
        for (std::size_t q = queries.begin; q < queries.end; ++q) {
            const SweepQuery& query = queries_[q];
            if (span.Hold(query.partner)) continue;  // both queries count the same points
            for (; added < points.end && points_[added].second <= query.secondLast; ++added)
                window_.Add(points_[added].third, points_[added].weight);
            for (; removed < added && points_[removed].second < query.secondFirst; ++removed)
                window_.Add(points_[removed].third, -points_[removed].weight);
            Add(query, window_.Between(query.thirdFirst, query.thirdLast));
        }
        for (; removed < added; ++removed)
            window_.Add(points_[removed].third, -points_[removed].weight);
    }

    const ToleranceRanks& ranks_;
    RankCounts window_;
    DistinctTemplates distinct_;
    std::vector<Index> counts_;  // per distinct template
    std::vector<SweepPoint> points_, pointBuffer_;
    std::vector<SweepQuery> queries_, queryBuffer_;
    std::vector<Index> seconds_, thirds_, weights_;  // of the points counted directly
};

}  // namespace

std::vector<Index> TripleMatchCounts(const ToleranceRanks& ranks, std::size_t templates) {
    return TripleCounter(ranks, templates).Count();
}

}  // namespace ritmova::standard
