#include "standard/plot_data.h"

#include <algorithm>
#include <cmath>

#include "standard/geometric.h"

namespace ritmova::standard {
namespace {

std::int64_t binOf(double rrMs) {
    return static_cast<std::int64_t>(std::floor(rrMs / HistogramBinMs));
}

// The counts of bins of `merged` base bins from bar number `first` to `last`.
std::vector<std::size_t> countBars(std::span<const double> rrMs, std::int64_t first,
                                   std::int64_t last, std::int64_t merged) {
    std::vector<std::size_t> counts(static_cast<std::size_t>(last - first + 1), 0);
    for (const double rr : rrMs) {
        const std::int64_t bin = binOf(rr);
        const std::int64_t bar = (bin >= 0 ? bin : bin - merged + 1) / merged;  // floor
        ++counts[static_cast<std::size_t>(bar - first)];
    }
    return counts;
}

}  // namespace

std::vector<double> AnalysedIntervals(std::span<const double> rrMs, const Stretch& stretch,
                                      const AnalysisSettings& settings) {
    if (settings.correction.method == CorrectionMethod::None) return {rrMs.begin(), rrMs.end()};
    return CorrectIntervals(rrMs, settings.correction, stretch.firstBeat).rrMs;
}

PlotHistogram HistogramForPlot(std::span<const double> rrMs, std::size_t maxBins) {
    PlotHistogram h;
    h.barMs = HistogramBinMs;
    if (rrMs.empty() || maxBins == 0) return h;
    const auto [low, high] = std::minmax_element(rrMs.begin(), rrMs.end());
    const std::int64_t lowBin = binOf(*low), highBin = binOf(*high);
    const auto limit = static_cast<std::int64_t>(maxBins);
    std::int64_t merged = 1;
    const auto floorDiv = [](std::int64_t a, std::int64_t b) {
        return a >= 0 ? a / b : (a - b + 1) / b;
    };
    while (floorDiv(highBin, merged) - floorDiv(lowBin, merged) + 1 > limit) {
        merged = std::max<std::int64_t>(merged + 1, (highBin - lowBin + 1) / limit);
    }
    const std::int64_t first = floorDiv(lowBin, merged), last = floorDiv(highBin, merged);
    h.merged = static_cast<std::size_t>(merged);
    h.barMs = HistogramBinMs * static_cast<double>(merged);
    h.firstMs = static_cast<double>(first) * h.barMs;
    h.counts = countBars(rrMs, first, last, merged);
    return h;
}

std::optional<TinnTriangle> TinnTriangleOf(std::span<const double> rrMs) {
    const GeometricMeasures g = MeasureGeometric(rrMs);
    if (!g.tinnNMs || !g.tinnMMs) return std::nullopt;
    const auto [low, high] = std::minmax_element(rrMs.begin(), rrMs.end());
    const std::int64_t lowBin = binOf(*low);
    const std::vector<std::size_t> counts = countBars(rrMs, lowBin, binOf(*high), 1);
    const auto mode = std::max_element(counts.begin(), counts.end());  // the first largest
    const auto modeBin = lowBin + (mode - counts.begin());
    return TinnTriangle{*g.tinnNMs.value, static_cast<double>(modeBin) * HistogramBinMs,
                        *g.tinnMMs.value, *mode};
}

std::optional<DfaLine> DfaFitLine(std::span<const DfaPoint> points, int firstBox, int lastBox,
                                  double alpha) {
    DfaLine line{alpha, 0, 0, 0};
    double sumX = 0, sumY = 0;
    std::size_t used = 0;
    for (const DfaPoint& point : points) {
        if (point.boxSize < firstBox || point.boxSize > lastBox || !(point.fluctuation > 0))
            continue;
        if (used++ == 0) line.firstBox = point.boxSize;
        line.lastBox = point.boxSize;
        sumX += std::log(point.boxSize);
        sumY += std::log(point.fluctuation);
    }
    if (used < 2) return std::nullopt;
    line.intercept = (sumY - alpha * sumX) / static_cast<double>(used);
    return line;
}

}  // namespace ritmova::standard
