#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "standard/nonlinear.h"

namespace ritmova::standard {

namespace {

// Sample SD (divisor count - 1) of (rr[i+1] + sign rr[i]) / sqrt 2, two passes.
double PoincareAxisSd(std::span<const double> rr, double sign) {
    const std::size_t count = rr.size() - 1;
    const auto point = [&](std::size_t i) {
        return (rr[i + 1] + sign * rr[i]) / std::numbers::sqrt2;
    };
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum += point(i);
    const double mean = sum / static_cast<double>(count);
    double squares = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double deviation = point(i) - mean;
        squares += deviation * deviation;
    }
    return std::sqrt(squares / static_cast<double>(count - 1));
}

// The integrated series y_k = sum of (RR_i - mean) for i <= k.
std::vector<double> Profile(std::span<const double> rr) {
    double sum = 0;
    for (double value : rr) sum += value;
    const double mean = sum / static_cast<double>(rr.size());
    std::vector<double> profile(rr.size());
    double running = 0;
    for (std::size_t i = 0; i < rr.size(); ++i) profile[i] = running += rr[i] - mean;
    return profile;
}

// Sums over a box of the values less its first one, their squares and their products with the
// centred position.
struct BoxSums {
    double sum = 0, squares = 0, products = 0;
    void Add(double value, double position) {
        sum += value;
        squares += value * value;
        products += position * value;
    }
};

// Sum of squared residuals of the least-squares line through box[k] against k. The box's first
// value is subtracted and k is centred, so the sums stay small next to the residuals they give.
// Even and odd k have sums of their own: two chains of additions that overlap.
double BoxResidualSquares(std::span<const double> box) {
    const double origin = box[0];
    const double centre = static_cast<double>(box.size() - 1) / 2;
    BoxSums even, odd;
    std::size_t k = 0;
    for (; k + 1 < box.size(); k += 2) {
        even.Add(box[k] - origin, static_cast<double>(k) - centre);
        odd.Add(box[k + 1] - origin, static_cast<double>(k + 1) - centre);
    }
    if (k < box.size()) even.Add(box[k] - origin, static_cast<double>(k) - centre);
    const auto n = static_cast<double>(box.size());
    const double positionSquares = n * (n * n - 1) / 12;  // sum of (k - centre)^2
    const double sum = even.sum + odd.sum, products = even.products + odd.products;
    const double spread = even.squares + odd.squares - sum * sum / n;
    return std::max(0.0, spread - products * products / positionSquares);
}

// F(n): root of the mean over the floor(N/n) boxes of each box's mean squared residual.
double Fluctuation(std::span<const double> profile, int boxSize) {
    const auto size = static_cast<std::size_t>(boxSize);
    const std::size_t boxes = profile.size() / size;
    double sum = 0;
    for (std::size_t b = 0; b < boxes; ++b)
        sum += BoxResidualSquares(profile.subspan(b * size, size)) / static_cast<double>(size);
    return std::sqrt(sum / static_cast<double>(boxes));
}

// The least-squares slope of log F against log n over the points with sizes in [first, last].
Measured Exponent(const std::vector<DfaPoint>& points, int first, int last) {
    std::vector<DfaPoint> used;
    for (const DfaPoint& point : points)
        if (point.boxSize >= first && point.boxSize <= last) used.push_back(point);
    const std::string sizes = std::to_string(first) + ".." + std::to_string(last);
    if (used.size() < 2)
        return Measured::Absent("fewer than 2 box sizes of " + sizes + " fit in half the series");
    double meanX = 0, meanY = 0;
    for (const DfaPoint& point : used) {
        if (point.fluctuation == 0)
            return Measured::Absent("no fluctuation left at box size " +
                                    std::to_string(point.boxSize));
        meanX += std::log(point.boxSize);
        meanY += std::log(point.fluctuation);
    }
    meanX /= static_cast<double>(used.size());
    meanY /= static_cast<double>(used.size());
    double products = 0, squares = 0;
    for (const DfaPoint& point : used) {
        const double x = std::log(point.boxSize) - meanX;
        products += x * (std::log(point.fluctuation) - meanY);
        squares += x * x;
    }
    return Measured::Of(products / squares);
}

constexpr int ShortFirst = DfaShortFirst, ShortLast = DfaShortLast, LongFirst = DfaLongFirst,
              LongLast = DfaLongLast;

}  // namespace

PoincareMeasures MeasurePoincare(std::span<const double> rrMs) {
    if (rrMs.size() < 3) {
        const Measured absent = Measured::Absent("fewer than 3 intervals");
        return {absent, absent, absent, absent};
    }
    const double sd1 = PoincareAxisSd(rrMs, -1);
    const double sd2 = PoincareAxisSd(rrMs, 1);
    PoincareMeasures measures{Measured::Of(sd1), Measured::Of(sd2),
                              Measured::Absent("SD1 is 0: no beat-to-beat variation"),
                              Measured::Of(std::numbers::pi * sd1 * sd2)};
    if (sd1 > 0) measures.sd2OverSd1 = Measured::Of(sd2 / sd1);
    return measures;
}

DfaMeasures MeasureDfa(std::span<const double> rrMs) {
    DfaMeasures measures;
    if (!rrMs.empty()) {
        const std::vector<double> profile = Profile(rrMs);
        for (int size = ShortFirst; size <= LongLast && 2 * size <= std::ssize(rrMs); ++size)
            measures.points.push_back({size, Fluctuation(profile, size)});
    }
    measures.alpha1 = Exponent(measures.points, ShortFirst, ShortLast);
    measures.alpha2 = Exponent(measures.points, LongFirst, LongLast);
    return measures;
}

}  // namespace ritmova::standard
