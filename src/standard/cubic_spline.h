#pragma once

#include <span>
#include <vector>

namespace ritmova::standard {

// The cubic spline through (x_i, y_i) with not-a-knot end conditions: the third derivative is
// continuous at the second and the last but one knot. Two knots give the line through them,
// three the parabola. Outside [x_1, x_n] the end pieces are extended.
class CubicSpline {
  public:
    // x strictly increasing, as many y as x, at least two knots, all finite; otherwise throws
    // CommandFailure.
    CubicSpline(std::span<const double> x, std::span<const double> y);

    double operator()(double at) const;
    // The spline at every point of `at`; quickest when `at` is sorted.
    std::vector<double> Sample(std::span<const double> at) const;
    // The spline at from + k / rate for k = 0, 1, … while below `below`.
    std::vector<double> SampleEvery(double from, double rate, double below) const;

  private:
    std::size_t PieceAt(double at, std::size_t hint) const;
    double OnPiece(std::size_t piece, double at) const;

    std::vector<double> knots_;
    std::vector<double> values_;
    std::vector<double> slopes_;  // the first derivative at each knot
    // Each piece's cubic and quadratic coefficients in (x − x_i); the linear one is the slope.
    std::vector<double> cubic_, quadratic_;
};

}  // namespace ritmova::standard
