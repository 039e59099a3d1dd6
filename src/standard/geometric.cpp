#include "standard/geometric.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace ritmova::standard {
namespace {

__extension__ using Int128 = __int128;

// A least-squares error S / d², held as S and d² so that two compare exactly.
struct Error {
    Int128 scaled;   // S: the sum of squared differences times d²
    Int128 divisor;  // d²
};

// a < b, exactly: S_a / d_a² < S_b / d_b² by quotient and remainder, which keeps every
// product within 128 bits.
bool lessThan(const Error& a, const Error& b) {
    const Int128 qa = a.scaled / a.divisor;
    const Int128 qb = b.scaled / b.divisor;
    if (qa != qb) return qa < qb;
    return (a.scaled % a.divisor) * b.divisor < (b.scaled % b.divisor) * a.divisor;
}

Int128 sumOfSquaresBelow(std::int64_t d) {  // 1² + ... + (d - 1)²
    return Int128{d - 1} * d * (2 * d - 1) / 6;
}

// The bins' counts from one empty bin before the first occupied one to one after the last.
struct Histogram {
    std::vector<std::int64_t> counts;
    std::int64_t firstBin = 0;  // the bin number of counts[0]
    std::size_t mode = 0;       // index of the first largest count
};

// The candidate at distance d from the mode whose squared error is smallest; `scan` gives the
// candidates nearest first, with S(d) for each.
template <typename Scan>
std::int64_t bestDistance(Scan scan) {
    Error best{};
    std::int64_t bestD = 0;
    scan([&](std::int64_t d, Int128 scaled) {
        const Error error{scaled, Int128{d} * d};
        if (bestD == 0 || lessThan(error, best)) {
            best = error;
            bestD = d;
        }
    });
    return bestD;
}

// Bins at indices below `mode`: N = mode - d; S(d) = d² Σ h² - 2 d Y Σ h (j - N) + Y² Σ i².
std::int64_t leftDistance(const Histogram& h) {
    const auto p = static_cast<std::int64_t>(h.mode);
    const std::int64_t y = h.counts[h.mode];
    Int128 squares = 0;
    for (std::int64_t j = 0; j < p; ++j) squares += Int128{h.counts[j]} * h.counts[j];
    return bestDistance([&](auto consider) {
        Int128 count = 0;     // Σ h_j over N < j < mode
        Int128 weighted = 0;  // Σ j h_j there
        for (std::int64_t n = p - 1; n >= 0; --n) {
            const std::int64_t d = p - n;
            const Int128 moment = weighted - Int128{n} * count;  // Σ h_j (j - N)
            consider(d, Int128{d} * d * squares - 2 * Int128{d} * y * moment +
                            Int128{y} * y * sumOfSquaresBelow(d));
            count += h.counts[n];
            weighted += Int128{n} * h.counts[n];
        }
    });
}

// Bins above the mode: M = mode + d; S(d) = d² Σ h² - 2 d Y Σ h (M - j) + Y² Σ i².
std::int64_t rightDistance(const Histogram& h) {
    const auto p = static_cast<std::int64_t>(h.mode);
    const auto last = static_cast<std::int64_t>(h.counts.size()) - 1;
    const std::int64_t y = h.counts[h.mode];
    Int128 squares = 0;
    for (std::int64_t j = p + 1; j <= last; ++j) squares += Int128{h.counts[j]} * h.counts[j];
    return bestDistance([&](auto consider) {
        Int128 count = 0;
        Int128 weighted = 0;
        for (std::int64_t m = p + 1; m <= last; ++m) {
            const std::int64_t d = m - p;
            const Int128 moment = Int128{m} * count - weighted;  // Σ h_j (M - j)
            consider(d, Int128{d} * d * squares - 2 * Int128{d} * y * moment +
                            Int128{y} * y * sumOfSquaresBelow(d));
            count += h.counts[m];
            weighted += Int128{m} * h.counts[m];
        }
    });
}

std::int64_t binOf(double rrMs) {
    return static_cast<std::int64_t>(std::floor(rrMs / HistogramBinMs));
}

Histogram histogramOf(std::span<const double> rrMs, std::int64_t low, std::int64_t high) {
    Histogram h;
    h.firstBin = low - 1;
    h.counts.assign(static_cast<std::size_t>(high - low + 3), 0);
    for (const double rr : rrMs) ++h.counts[static_cast<std::size_t>(binOf(rr) - h.firstBin)];
    h.mode = static_cast<std::size_t>(std::max_element(h.counts.begin(), h.counts.end()) -
                                      h.counts.begin());
    return h;
}

// The largest count of any bin, by sorting the bins, for a histogram too wide to lay out.
std::int64_t largestCount(std::span<const double> rrMs) {
    std::vector<std::int64_t> bins(rrMs.size());
    std::transform(rrMs.begin(), rrMs.end(), bins.begin(), binOf);
    std::sort(bins.begin(), bins.end());
    std::int64_t largest = 0;
    for (std::size_t i = 0, run = 0; i < bins.size(); ++i) {
        run = (i > 0 && bins[i] == bins[i - 1]) ? run + 1 : 1;
        largest = std::max(largest, static_cast<std::int64_t>(run));
    }
    return largest;
}

}  // namespace

GeometricMeasures MeasureGeometric(std::span<const double> rrMs) {
    GeometricMeasures g;
    if (rrMs.empty()) {
        g.triangularIndex = g.tinnMs = g.tinnNMs = g.tinnMMs = Measured::Absent("no intervals");
        return g;
    }
    const auto [low, high] = std::minmax_element(rrMs.begin(), rrMs.end());
    const std::int64_t lowBin = binOf(*low);
    const std::int64_t highBin = binOf(*high);
    const auto n = static_cast<double>(rrMs.size());
    if (static_cast<double>(highBin - lowBin) + 3 > static_cast<double>(MaxHistogramBins)) {
        g.triangularIndex = Measured::Of(n / static_cast<double>(largestCount(rrMs)));
        g.tinnMs = g.tinnNMs = g.tinnMMs = Measured::Absent(
            "the intervals span more than " + std::to_string(MaxHistogramBins) + " bins");
        return g;
    }
    const Histogram h = histogramOf(rrMs, lowBin, highBin);
    g.triangularIndex = Measured::Of(n / static_cast<double>(h.counts[h.mode]));
    const auto modeBin = h.firstBin + static_cast<std::int64_t>(h.mode);
    const std::int64_t left = modeBin - leftDistance(h);
    const std::int64_t right = modeBin + rightDistance(h);
    g.tinnNMs = Measured::Of(static_cast<double>(left) * HistogramBinMs);
    g.tinnMMs = Measured::Of(static_cast<double>(right) * HistogramBinMs);
    g.tinnMs = Measured::Of(static_cast<double>(right - left) * HistogramBinMs);
    return g;
}

}  // namespace ritmova::standard
