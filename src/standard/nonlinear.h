#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "standard/measured.h"

// The nonlinear measures of a series of normal-to-normal intervals in milliseconds: the Poincaré
// plot's axes, detrended fluctuation analysis and the two entropies.
namespace ritmova::standard {

// The Poincaré plot of RR_{i+1} against RR_i: sample SDs (divisor N - 2) of its N - 1 points
// across (SD1) and along (SD2) the identity line. Absent below 3 intervals.
struct PoincareMeasures {
    Measured sd1Ms;
    Measured sd2Ms;
    Measured sd2OverSd1;      // absent when SD1 is 0
    Measured ellipseAreaMs2;  // pi SD1 SD2
};
PoincareMeasures MeasurePoincare(std::span<const double> rrMs);

// One box size of the fluctuation function; log F against log n gives the exponents.
struct DfaPoint {
    int boxSize;
    double fluctuation;  // F(n), ms
};

// The box sizes each exponent is fitted over.
inline constexpr int DfaShortFirst = 4, DfaShortLast = 16, DfaLongFirst = 16, DfaLongLast = 64;

// alpha1 over box sizes 4..16, alpha2 over 16..64; sizes above N/2 are left out. An exponent is
// absent when fewer than 2 of its sizes remain or one of its F(n) is 0.
struct DfaMeasures {
    Measured alpha1;
    Measured alpha2;
    std::vector<DfaPoint> points;  // every size used, ascending, 16 once
};
DfaMeasures MeasureDfa(std::span<const double> rrMs);

inline constexpr int EntropyTemplateLength = 2;        // m
inline constexpr double EntropyToleranceFactor = 0.2;  // r = 0.2 SDNN

// Sample and approximate entropy with m = 2, r = 0.2 x SDNN, Chebyshev distance <= r. SampEn is
// absent when A or B is 0, ApEn below 3 intervals. The counts are exact.
struct EntropyMeasures {
    Measured sampen;
    Measured apen;
    std::int64_t matchesM = 0;   // B: pairs i < j of the first N - m templates of length m
    std::int64_t matchesM1 = 0;  // A: pairs i < j of the N - m templates of length m + 1
    double toleranceMs = 0;      // r
};
// sdnnMs is the series' sample SD (divisor N - 1); it must be finite and not negative.
EntropyMeasures MeasureEntropies(std::span<const double> rrMs, double sdnnMs);

}  // namespace ritmova::standard
