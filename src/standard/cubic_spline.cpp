#include "standard/cubic_spline.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "common/command_failure.h"

namespace ritmova::standard {

namespace {

std::vector<double> CheckedKnots(std::span<const double> x, std::span<const double> y) {
    if (x.size() != y.size()) throw CommandFailure("A spline needs as many values as knots.");
    if (x.size() < 2) throw CommandFailure("A spline needs at least two knots.");
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]))
            throw CommandFailure("A spline knot is not a finite number (knot " +
                                 std::to_string(i + 1) + ").");
        if (i > 0 && !(x[i] > x[i - 1]))
            throw CommandFailure("Spline knots must be strictly increasing (knot " +
                                 std::to_string(i + 1) + ").");
    }
    return {x.begin(), x.end()};
}

// Solves the tridiagonal system (lower, diag, upper; lower[0] and upper[n-1] unused) by Gaussian
// elimination with partial pivoting, as the not-a-knot end rows are not diagonally dominant.
std::vector<double> SolveTridiagonal(std::vector<double> lower, std::vector<double> diag,
                                     std::vector<double> upper, std::vector<double> rhs) {
    const std::size_t n = diag.size();
    std::vector<double> upper2(n, 0.0);  // fill-in of the second superdiagonal from row swaps
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (std::abs(lower[i + 1]) > std::abs(diag[i])) {  // swap rows i and i+1
            std::swap(diag[i], lower[i + 1]);
            std::swap(upper[i], diag[i + 1]);
            if (i + 2 < n) std::swap(upper2[i], upper[i + 1]);
            std::swap(rhs[i], rhs[i + 1]);
        }
        const double factor = lower[i + 1] / diag[i];
        diag[i + 1] -= factor * upper[i];
        if (i + 2 < n) upper[i + 1] -= factor * upper2[i];
        rhs[i + 1] -= factor * rhs[i];
    }
    for (std::size_t i = n; i-- > 0;) {
        double sum = rhs[i];
        if (i + 1 < n) sum -= upper[i] * rhs[i + 1];
        if (i + 2 < n) sum -= upper2[i] * rhs[i + 2];
        rhs[i] = sum / diag[i];
    }
    return rhs;
}

// The knot slopes of the not-a-knot spline with four knots or more.
std::vector<double> NotAKnotSlopes(std::span<const double> x, const std::vector<double>& step,
                                   const std::vector<double>& secant) {
    const std::size_t n = x.size();
    std::vector<double> lower(n, 0.0), diag(n, 0.0), upper(n, 0.0), rhs(n, 0.0);
    for (std::size_t i = 1; i + 1 < n; ++i) {  // continuity of the second derivative
        lower[i] = step[i];
        diag[i] = 2.0 * (step[i - 1] + step[i]);
        upper[i] = step[i - 1];
        rhs[i] = 3.0 * (step[i] * secant[i - 1] + step[i - 1] * secant[i]);
    }
    const double first = x[2] - x[0];
    diag[0] = step[1];
    upper[0] = first;
    rhs[0] =
        ((step[0] + 2.0 * first) * step[1] * secant[0] + step[0] * step[0] * secant[1]) / first;
    const double last = x[n - 1] - x[n - 3];
    const double h1 = step[n - 2], h2 = step[n - 3], s1 = secant[n - 2], s2 = secant[n - 3];
    diag[n - 1] = h2;
    lower[n - 1] = last;
    rhs[n - 1] = (h1 * h1 * s2 + (2.0 * last + h1) * h2 * s1) / last;
    return SolveTridiagonal(std::move(lower), std::move(diag), std::move(upper), std::move(rhs));
}

}  // namespace

CubicSpline::CubicSpline(std::span<const double> x, std::span<const double> y)
    : knots_(CheckedKnots(x, y)), values_(y.begin(), y.end()) {
    const std::size_t n = x.size();
    std::vector<double> step(n - 1), secant(n - 1);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        step[i] = x[i + 1] - x[i];
        secant[i] = (y[i + 1] - y[i]) / step[i];
    }
    if (n == 2) {
        slopes_ = {secant[0], secant[0]};
    } else if (n == 3) {  // the parabola's slopes
        const double curvature = (secant[1] - secant[0]) / (x[2] - x[0]);
        slopes_ = {secant[0] - curvature * step[0], secant[0] + curvature * step[0],
                   secant[0] + curvature * (step[0] + 2.0 * step[1])};
    } else {
        slopes_ = NotAKnotSlopes(x, step, secant);
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double bend = (slopes_[i] + slopes_[i + 1] - 2.0 * secant[i]) / step[i];
        cubic_.push_back(bend / step[i]);
        quadratic_.push_back((secant[i] - slopes_[i]) / step[i] - bend);
    }
}

// The piece [x_i, x_{i+1}) holding `at` (the end pieces beyond the ends), searched from `hint`
// first so that a sorted sweep walks forward.
std::size_t CubicSpline::PieceAt(double at, std::size_t hint) const {
    const std::size_t lastPiece = knots_.size() - 2;
    if (hint <= lastPiece && knots_[hint] <= at && (hint == lastPiece || at < knots_[hint + 1]))
        return hint;
    if (hint < lastPiece && knots_[hint + 1] <= at &&
        (hint + 1 == lastPiece || at < knots_[hint + 2]))
        return hint + 1;
    const auto above = std::upper_bound(knots_.begin(), knots_.end(), at);
    const auto index =
        static_cast<std::size_t>(std::max<std::ptrdiff_t>(above - knots_.begin(), 1));
    return std::min(index - 1, lastPiece);
}

double CubicSpline::OnPiece(std::size_t piece, double at) const {
    const double d = at - knots_[piece];
    return ((cubic_[piece] * d + quadratic_[piece]) * d + slopes_[piece]) * d + values_[piece];
}

double CubicSpline::operator()(double at) const {
    return OnPiece(PieceAt(at, 0), at);
}

std::vector<double> CubicSpline::Sample(std::span<const double> at) const {
    std::vector<double> out;
    out.reserve(at.size());
    std::size_t piece = 0;
    for (const double point : at) {
        piece = PieceAt(point, piece);
        out.push_back(OnPiece(piece, point));
    }
    return out;
}

std::vector<double> CubicSpline::SampleEvery(double from, double rate, double below) const {
    std::vector<double> out;
    if (from < below) out.reserve(static_cast<std::size_t>((below - from) * rate) + 1);
    std::size_t piece = 0;
    for (std::size_t k = 0;; ++k) {
        const double point = from + static_cast<double>(k) / rate;
        if (!(point < below)) break;
        piece = PieceAt(point, piece);
        out.push_back(OnPiece(piece, point));
    }
    return out;
}

}  // namespace ritmova::standard
