#pragma once

#include <span>

#include "standard/measured.h"

// The geometric measures of the histogram of the intervals in milliseconds.
namespace ritmova::standard {

inline constexpr double HistogramBinMs = 1000.0 / 128;  // 7.8125 ms
// The widest histogram TINN is worked out on, in bins (131 s of intervals).
inline constexpr std::size_t MaxHistogramBins = std::size_t{1} << 24;

// Bin k = floor(RR / 7.8125) holds RR. The HRV triangular index is N over the count of the
// modal bin (the first bin with the largest count). TINN = M - N of the triangle that is 0
// outside [N, M] and peaks at the modal bin's left edge with its count, fitted by least squares
// to the histogram with every bin at its left edge: N over the left edges of the bins left of
// the modal bin and one empty bin before the first occupied one, M likewise on the right, each
// side on its own, a tie going to the candidate nearest the mode. The squared errors are
// compared exactly, in integers.
struct GeometricMeasures {
    Measured triangularIndex;
    Measured tinnMs;
    Measured tinnNMs;  // the triangle's left and right ends
    Measured tinnMMs;
};
GeometricMeasures MeasureGeometric(std::span<const double> rrMs);

}  // namespace ritmova::standard
