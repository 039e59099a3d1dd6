#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "standard/nonlinear.h"
#include "standard/stretch_analysis.h"

// What the plots of the standard analysis draw beyond the results record: the intervals the
// measures saw, the histogram with its TINN triangle, and the DFA exponents' lines.
namespace ritmova::standard {

// The intervals of `stretch` as the analysis measured them: corrected as `settings` ask, else
// as they are. Throws CommandFailure when the correction cannot be made.
std::vector<double> AnalysedIntervals(std::span<const double> rrMs, const Stretch& stretch,
                                      const AnalysisSettings& settings);

// The histogram of the intervals in bins of HistogramBinMs (bin k holds k × 7.8125 ms up to the
// next), from the first occupied bin to the last; when that is more than `maxBins`, every
// `merged` neighbouring bins (the fewest that fit) count as one, from a multiple of `merged`.
struct PlotHistogram {
    double firstMs = 0;      // the left edge of the first bar
    double barMs = 0;        // HistogramBinMs × merged
    std::size_t merged = 1;  // bins per bar
    std::vector<std::size_t> counts;
};
PlotHistogram HistogramForPlot(std::span<const double> rrMs, std::size_t maxBins);

// The triangle TINN is measured by: 0 at nMs and mMs, the modal bin's count at its left edge.
struct TinnTriangle {
    double nMs = 0;
    double modeMs = 0;
    double mMs = 0;
    std::size_t modeCount = 0;
};
// Absent when TINN is (no intervals, or a histogram too wide).
std::optional<TinnTriangle> TinnTriangleOf(std::span<const double> rrMs);

// The least-squares line ln F = intercept + slope ln n over the DFA points with box sizes in
// [firstBox, lastBox], its slope being the exponent `alpha` measured there: it passes through
// the mean of their logarithms. Absent below 2 points.
struct DfaLine {
    double slope = 0;
    double intercept = 0;
    int firstBox = 0;  // the smallest and largest box size used
    int lastBox = 0;
};
std::optional<DfaLine> DfaFitLine(std::span<const DfaPoint> points, int firstBox, int lastBox,
                                  double alpha);

}  // namespace ritmova::standard
