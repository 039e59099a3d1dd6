// The not-a-knot cubic spline: cubics reproduced, knots interpolated, values worked out by hand.
#include "standard/cubic_spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "common/command_failure.h"

namespace ritmova::standard {
namespace {

struct PolynomialCase {
    const char* name;
    std::vector<double> knots;
    std::vector<double> coefficients;  // c0 + c1 x + c2 x² + c3 x³
};

double Polynomial(const std::vector<double>& c, double x) {
    return c[0] + x * (c[1] + x * (c[2] + x * c[3]));
}

class SplineReproducesTest : public ::testing::TestWithParam<PolynomialCase> {};

// A polynomial of degree at most 3 (at most 1 on two knots, 2 on three) is its own spline,
// between the knots and beyond them.
TEST_P(SplineReproducesTest, PolynomialEverywhere) {
    const PolynomialCase& c = GetParam();
    std::vector<double> y;
    for (const double x : c.knots) y.push_back(Polynomial(c.coefficients, x));
    const CubicSpline spline(c.knots, y);
    const double from = c.knots.front() - 1.0, to = c.knots.back() + 1.0;
    for (int k = 0; k <= 200; ++k) {
        const double x = from + (to - from) * k / 200.0;
        const double expected = Polynomial(c.coefficients, x);
        EXPECT_NEAR(spline(x), expected, 1e-10 * (1.0 + std::abs(expected))) << c.name << " " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Knots, SplineReproducesTest,
    ::testing::Values(
        PolynomialCase{"line", {0.5, 2.0}, {3.0, -2.0, 0.0, 0.0}},
        PolynomialCase{"parabola", {-1.0, 0.25, 3.0}, {1.0, 0.5, -2.0, 0.0}},
        PolynomialCase{"cubic_on_four", {0.0, 1.0, 1.5, 4.0}, {-1.0, 2.0, 0.5, -0.75}},
        PolynomialCase{"cubic_on_five", {0.0, 0.1, 1.0, 2.7, 3.0}, {2.0, -1.0, 3.0, 0.25}},
        PolynomialCase{"cubic_uneven",
                       {10.0, 10.8, 11.3, 12.9, 13.0, 14.7, 16.0, 16.1},
                       {800.0, -30.0, 4.0, -0.125}},
        PolynomialCase{"cubic_beat_times",
                       {0.81, 1.62, 2.35, 3.21, 4.02, 4.75, 5.70, 6.44, 7.30},
                       {850.0, 12.0, -3.5, 0.4}}),
    [](const auto& tested) { return std::string(tested.param.name); });

// 0, 1, 0, 1, 0 at x = 0 … 4 is symmetric about x = 2, so S'(2) = 0; with the first two pieces one
// cubic through (0,0), (1,1), (2,0): S = x (x − 2)², and S(4 − x) = S(x).
TEST(CubicSplineTest, ValuesWorkedOutByHand) {
    const CubicSpline spline(std::vector<double>{0, 1, 2, 3, 4},
                             std::vector<double>{0, 1, 0, 1, 0});
    const struct {
        double x, expected;
    } cases[] = {{0.5, 1.125}, {1.5, 0.375}, {2.5, 0.375}, {3.5, 1.125}, {-1.0, -9.0}, {5.0, -9.0}};
    for (const auto& c : cases) EXPECT_NEAR(spline(c.x), c.expected, 1e-14) << c.x;
    // Three knots of x³ give the parabola through them, 3x² − 2x.
    const CubicSpline parabola(std::vector<double>{0, 1, 2}, std::vector<double>{0, 1, 8});
    EXPECT_NEAR(parabola(0.5), -0.25, 1e-15);
    EXPECT_NEAR(parabola(3.0), 21.0, 1e-13);
}

// On random knots and values, the spline passes through every knot, and sampling many points at
// once (sorted or not) gives the same values as one at a time.
TEST(CubicSplineTest, InterpolatesKnotsAndSamplesAlike) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> gap(0.3, 1.4), value(600.0, 1100.0);
    std::vector<double> x{0.0}, y{value(random)};
    for (int i = 1; i < 300; ++i) {
        x.push_back(x.back() + gap(random));
        y.push_back(value(random));
    }
    const CubicSpline spline(x, y);
    const std::vector<double> atKnots = spline.Sample(x);
    for (std::size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(atKnots[i], y[i], 1e-9) << i;
    std::vector<double> points{x.back() + 2.0, x[5] + 0.1, -3.0, x[200] + 0.2, x[201] - 0.01};
    const std::vector<double> sampled = spline.Sample(points);
    for (std::size_t i = 0; i < points.size(); ++i) EXPECT_EQ(sampled[i], spline(points[i])) << i;
    const std::vector<double> grid = spline.SampleEvery(x[3], 4.0, x.back());
    EXPECT_EQ(grid.size(), std::size_t(std::ceil((x.back() - x[3]) * 4.0)));
    for (std::size_t k = 0; k < grid.size(); k += 37)
        EXPECT_EQ(grid[k], spline(x[3] + double(k) / 4.0));
}

TEST(CubicSplineTest, RefusesBadKnots) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        std::vector<double> x, y;
    } cases[] = {{{1.0}, {2.0}},       {{1.0, 2.0}, {1.0}},  {{1.0, 1.0, 2.0}, {1, 2, 3}},
                 {{2.0, 1.0}, {1, 2}}, {{0.0, nan}, {1, 2}}, {{0.0, 1.0}, {1, nan}}};
    for (const auto& c : cases) EXPECT_THROW(CubicSpline(c.x, c.y), CommandFailure);
}

}  // namespace
}  // namespace ritmova::standard
