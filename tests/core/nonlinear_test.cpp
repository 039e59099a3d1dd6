// The nonlinear measures: values worked out by hand, the fast counts and fits against the
// direct ones, and what scaling the series leaves unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/command_failure.h"
#include "standard/nonlinear.h"
#include "standard/template_matches.h"
#include "test_data.h"

namespace ritmova::standard {
namespace {

using Series = std::vector<double>;

// A real recording in milliseconds: each value in seconds times 1000.
Series RealSeries(const std::string& name) {
    std::ifstream in(std::string(RITMOVA_REAL_DATA_DIR) + "/" + name);
    Series rr;
    for (double seconds; in >> seconds;) rr.push_back(seconds * 1000);
    return rr;
}

double SampleSd(const Series& rr) {
    double sum = 0, squares = 0;
    for (double value : rr) sum += value;
    const double mean = sum / static_cast<double>(rr.size());
    for (double value : rr) squares += (value - mean) * (value - mean);
    return std::sqrt(squares / static_cast<double>(rr.size() - 1));
}

// Around 800 ms with a slow wave, in steps of `step` ms (none when 0).
Series RandomSeries(std::size_t size, double step, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 40);
    Series rr;
    for (std::size_t i = 0; i < size; ++i) {
        const double value = 800 + 60 * std::sin(double(i) / 50) + noise(random);
        rr.push_back(step > 0 ? std::round(value / step) * step : value);
    }
    return rr;
}

Series Scaled(Series rr, double factor) {
    for (double& value : rr) value *= factor;
    return rr;
}

TEST(PoincareTest, AxesWorkedOutByHand) {
    // Differences 10, -20, 30 (mean 20/3) and sums 1610, 1600, 1610, all over sqrt 2.
    const PoincareMeasures plot = MeasurePoincare(Series{800, 810, 790, 820});
    EXPECT_NEAR(*plot.sd1Ms.value, std::sqrt(950.0 / 3), 1e-12);
    EXPECT_NEAR(*plot.sd2Ms.value, std::sqrt(50.0 / 3), 1e-12);
    EXPECT_NEAR(*plot.sd2OverSd1.value, std::sqrt(50.0 / 950), 1e-14);
    EXPECT_NEAR(*plot.ellipseAreaMs2.value, std::numbers::pi * std::sqrt(950.0 * 50) / 3, 1e-10);

    const PoincareMeasures flat = MeasurePoincare(Series(5, 812.5));
    EXPECT_EQ(flat.sd1Ms.value, 0.0);
    EXPECT_EQ(flat.sd2OverSd1.reason, "SD1 is 0: no beat-to-beat variation");
    for (const Measured& absent : {MeasurePoincare(Series{800, 900}).sd1Ms,
                                   MeasurePoincare(Series{800, 900}).ellipseAreaMs2})
        EXPECT_EQ(absent.reason, "fewer than 3 intervals");
}

TEST(PoincareTest, ScalingScalesTheAxes) {
    const Series rr = RealSeries("mitdb-119.int");
    const PoincareMeasures plot = MeasurePoincare(rr), scaled = MeasurePoincare(Scaled(rr, 3.5));
    EXPECT_NEAR(*scaled.sd1Ms.value, 3.5 * *plot.sd1Ms.value, 1e-12 * *scaled.sd1Ms.value);
    EXPECT_NEAR(*scaled.sd2Ms.value, 3.5 * *plot.sd2Ms.value, 1e-12 * *scaled.sd2Ms.value);
    EXPECT_NEAR(*scaled.sd2OverSd1.value, *plot.sd2OverSd1.value, 1e-12);
    EXPECT_NEAR(*scaled.ellipseAreaMs2.value, 12.25 * *plot.ellipseAreaMs2.value,
                1e-12 * *scaled.ellipseAreaMs2.value);
}

// y = 0.5, 0, -0.5, 0 twice (times 100): each box's line leaves residuals .2 -.1 -.4 .3.
TEST(DfaTest, FluctuationWorkedOutByHandAndTooShortSeries) {
    const DfaMeasures eight = MeasureDfa(Series{900, 800, 800, 900, 900, 800, 800, 900});
    ASSERT_EQ(eight.points.size(), 1u);
    EXPECT_EQ(eight.points[0].boxSize, 4);
    EXPECT_NEAR(eight.points[0].fluctuation, std::sqrt(750.0), 1e-12);
    EXPECT_EQ(eight.alpha1.reason, "fewer than 2 box sizes of 4..16 fit in half the series");

    const struct {
        std::size_t size;
        std::size_t points;
        bool alpha1, alpha2;
    } cases[] = {{7, 0, false, false},  {10, 2, true, false},  {33, 13, true, false},
                 {34, 14, true, true},  {127, 60, true, true}, {128, 61, true, true},
                 {1000, 61, true, true}};
    for (const auto& c : cases) {
        const DfaMeasures dfa = MeasureDfa(RandomSeries(c.size, 0, 7));
        EXPECT_EQ(dfa.points.size(), c.points) << c.size;
        EXPECT_EQ(dfa.alpha1.value.has_value(), c.alpha1) << c.size;
        EXPECT_EQ(dfa.alpha2.value.has_value(), c.alpha2) << c.size;
    }
}

// A constant series integrates to the straight line y = 0: nothing is left to fluctuate.
TEST(DfaTest, StraightProfileHasNoExponent) {
    const DfaMeasures flat = MeasureDfa(Series(300, 812.5));
    EXPECT_EQ(flat.points.size(), 61u);
    EXPECT_EQ(flat.points[0].fluctuation, 0.0);
    EXPECT_EQ(flat.alpha1.reason, "no fluctuation left at box size 4");
    EXPECT_EQ(flat.alpha2.reason, "no fluctuation left at box size 16");
}

// F(n) for n = 4..min(64, N/2), each box's line from the normal equations in k = 1..n and its
// residuals summed.
std::map<int, double> DirectFluctuations(const Series& rr) {
    double mean = 0;
    for (double value : rr) mean += value / static_cast<double>(rr.size());
    Series profile{0};
    for (double value : rr) profile.push_back(profile.back() + (value - mean));
    std::map<int, double> fluctuations;
    for (std::size_t n = 4; n <= 64 && 2 * n <= rr.size(); ++n) {
        double total = 0;
        for (std::size_t b = 0; b < rr.size() / n; ++b) {
            double k1 = 0, k2 = 0, y1 = 0, ky = 0;
            for (std::size_t k = 1; k <= n; ++k) {
                const double y = profile[b * n + k];
                k1 += double(k), k2 += double(k * k), y1 += y, ky += double(k) * y;
            }
            const double slope = (double(n) * ky - k1 * y1) / (double(n) * k2 - k1 * k1);
            const double intercept = (y1 - slope * k1) / double(n);
            for (std::size_t k = 1; k <= n; ++k) {
                const double residual = profile[b * n + k] - (intercept + slope * double(k));
                total += residual * residual / double(n);
            }
        }
        fluctuations[int(n)] = std::sqrt(total / double(rr.size() / n));
    }
    return fluctuations;
}

// The slope of log F against log n over sizes [first, last] from the sums of x, y, x^2, xy.
double DirectExponent(const std::map<int, double>& fluctuations, int first, int last) {
    double n = 0, x1 = 0, y1 = 0, x2 = 0, xy = 0;
    for (auto at = fluctuations.lower_bound(first); at != fluctuations.upper_bound(last); ++at) {
        const double x = std::log(at->first), y = std::log(at->second);
        n += 1, x1 += x, y1 += y, x2 += x * x, xy += x * y;
    }
    return (n * xy - x1 * y1) / (n * x2 - x1 * x1);
}

TEST(DfaTest, FitsEqualDirectFitsAndScalingLeavesExponents) {
    Series drifting = RandomSeries(10000, 0, 5);  // a day's swing of 400 ms over its beats
    for (std::size_t i = 0; i < drifting.size(); ++i)
        drifting[i] += 400 * std::sin(double(i) * std::numbers::pi / double(drifting.size()));
    const Series series[] = {RandomSeries(3000, 0, 1),
                             RandomSeries(3000, 1000.0 / 128, 2),
                             drifting,
                             RealSeries("chf2db-chf201.int"),
                             RealSeries("mitdb-119.int"),
                             RealSeries("nsr2db-nsr012.int")};
    for (const Series& rr : series) {
        const DfaMeasures dfa = MeasureDfa(rr);
        const std::map<int, double> direct = DirectFluctuations(rr);
        ASSERT_EQ(dfa.points.size(), direct.size());
        for (const DfaPoint& point : dfa.points)
            EXPECT_NEAR(point.fluctuation, direct.at(point.boxSize), 1e-10 * point.fluctuation)
                << point.boxSize;
        EXPECT_NEAR(*dfa.alpha1.value, DirectExponent(direct, 4, 16), 1e-9);
        EXPECT_NEAR(*dfa.alpha2.value, DirectExponent(direct, 16, 64), 1e-9);
        const DfaMeasures scaled = MeasureDfa(Scaled(rr, 1000.0 / 7));
        EXPECT_NEAR(*scaled.alpha1.value, *dfa.alpha1.value, 1e-12);
        EXPECT_NEAR(*scaled.alpha2.value, *dfa.alpha2.value, 1e-12);
    }
}

// How many of the first `templates` templates of `length` values match each, itself included,
// by comparing every pair.
std::vector<std::int32_t> DirectMatchCounts(const Series& x, double r, std::size_t length,
                                            std::size_t templates) {
    std::vector<std::int32_t> counts(templates, 1);
    for (std::size_t i = 0; i < templates; ++i)
        for (std::size_t j = i + 1; j < templates; ++j) {
            std::size_t d = 0;
            while (d < length && std::fabs(x[i + d] - x[j + d]) <= r) ++d;
            if (d == length) ++counts[i], ++counts[j];
        }
    return counts;
}

// Phi from hand counts: {matches, number of templates with that many}, of `templates`.
double Phi(std::initializer_list<std::pair<int, int>> counts, int templates) {
    double sum = 0;
    for (const auto& [matches, times] : counts)
        sum += times * std::log(double(matches) / templates);
    return sum / templates;
}

struct HandCount {
    const char* name;
    Series series;
    double sdnnMs;  // r = 0.2 SDNN
    std::int64_t b, a;
    std::optional<double> sampen;
    double apen;
    const char* sampenReason;
};

// Ten values counted by hand; matches are |difference| <= r in both (all three) places.
const HandCount handCounts[] = {
    // r = 1. Length 2: (3,1)-(4,1), (1,4)-(1,5), (1,5)-(2,6); length 3 only (3,1,4)-(4,1,5). The
    // nine length-2 templates match 2 2 2 3 1 1 2 1 1 (self included), the eight of length 3
    // 2 1 2 1 1 1 1 1.
    {"Pi digits", Series{3, 1, 4, 1, 5, 9, 2, 6, 5, 3}, 5, 3, 1, std::log(3.0),
     Phi({{2, 4}, {3, 1}, {1, 4}}, 9) - Phi({{2, 2}, {1, 6}}, 8), ""},
    // r = 0.5: only equal templates match, (5,6) twice and (9,9) twice, but not the values after.
    {"No length-3 match", Series{5, 6, 1, 5, 6, 2, 9, 9, 9, 7}, 2.5, 2, 0, std::nullopt,
     Phi({{2, 4}, {1, 5}}, 9) - Phi({{1, 8}}, 8), "no two templates of 3 intervals match within r"},
    {"No match at all", Series{3, 1, 4, 1, 5, 9, 2, 6, 5, 3}, 2.5, 0, 0, std::nullopt,
     Phi({{1, 9}}, 9) - Phi({{1, 8}}, 8), "no two templates of 2 intervals match within r"},
    // r = 0.5: (1,2) x4 and (2,1) x4 in the first eight; (1,2) x5, (2,1) x4 of nine.
    {"Alternating", Series{1, 2, 1, 2, 1, 2, 1, 2, 1, 2}, 2.5, 12, 12, 0.0,
     Phi({{5, 5}, {4, 4}}, 9) - Phi({{4, 8}}, 8), ""},
    // r = 0: equal values still match.
    {"Constant", Series(10, 812.5), 0, 28, 28, 0.0, 0, ""},
};

class EntropyHandCountTest : public ::testing::TestWithParam<HandCount> {};

TEST_P(EntropyHandCountTest, CountsAndEntropies) {
    const HandCount& c = GetParam();
    const EntropyMeasures e = MeasureEntropies(c.series, c.sdnnMs);
    EXPECT_EQ(e.matchesM, c.b);
    EXPECT_EQ(e.matchesM1, c.a);
    EXPECT_EQ(e.sampen.value.has_value(), c.sampen.has_value());
    if (c.sampen) {
        EXPECT_NEAR(*e.sampen.value, *c.sampen, 1e-14);
    }
    EXPECT_EQ(e.sampen.reason, c.sampenReason);
    EXPECT_NEAR(*e.apen.value, c.apen, 1e-14);
}

INSTANTIATE_TEST_SUITE_P(TenValues, EntropyHandCountTest, ::testing::ValuesIn(handCounts),
                         [](const auto& param) {
                             std::string name = param.param.name;
                             std::erase(name, ' ');
                             std::erase(name, '-');
                             return name;
                         });

TEST(EntropyTest, ShortSeriesAndBadInput) {
    for (const Series& rr : {Series{}, Series{800, 810}}) {
        const EntropyMeasures e = MeasureEntropies(rr, 10);
        EXPECT_EQ(e.sampen.reason, "fewer than 3 intervals");
        EXPECT_EQ(e.apen.reason, "fewer than 3 intervals");
    }
    // Three intervals: one template of 3 and two of 2, the first of which SampEn takes alone.
    const EntropyMeasures three = MeasureEntropies(Series{800, 810, 805}, 5);
    EXPECT_EQ(three.sampen.reason, "no two templates of 2 intervals match within r");
    EXPECT_NEAR(*three.apen.value, std::log(0.5), 1e-15);
    EXPECT_EQ(testing::FailureReason(
                  [] {
                      MeasureEntropies(Series{800, 810, 805}, std::nan(""));
                  },
                  ""),
              "the entropies need a finite SDNN of 0 or more, not nan");
    EXPECT_EQ(testing::FailureReason(
                  [] {
                      MeasureEntropies(Series{800, INFINITY, 805}, 1);
                  },
                  ""),
              "the entropies need finite intervals, not inf");
}

struct CountCase {
    const char* name;
    Series series;
    std::optional<double> r;  // 0.2 SDNN when not given
};

Series Head(Series series, std::size_t size) {
    series.resize(std::min(size, series.size()));
    return series;
}

// Templates on a grid of 1/128 s with r a whole number of steps put many distances exactly on
// r; a wide r makes almost every template match, a narrow one almost none.
std::vector<CountCase> CountCases() {
    Series fewValues;
    std::mt19937 random(5);
    for (int i = 0; i < 800; ++i) fewValues.push_back(double(random() % 4));
    std::vector<CountCase> cases{
        {"Random", RandomSeries(1600, 0, 3), std::nullopt},
        {"QuantisedOnR", RandomSeries(800, 1000.0 / 128, 4), 2 * 1000.0 / 128},
        {"WideR", RandomSeries(800, 0, 6), 150},
        {"NarrowR", RandomSeries(800, 0, 8), 0.5},
        {"FourValues", fewValues, 1},
        {"FourValuesZeroR", fewValues, 0},
    };
    for (const char* name : {"chf2db-chf201.int", "mitdb-119.int", "bartelshrv-noisy.int"})
        cases.push_back({name, Head(RealSeries(name), 800), std::nullopt});
    return cases;
}

TEST(EntropyTest, FastCountsEqualDirectCounts) {
    for (CountCase& c : CountCases()) {
        SCOPED_TRACE(c.name);
        const double r = c.r.value_or(EntropyToleranceFactor * SampleSd(c.series));
        const ToleranceRanks ranks = RankWithinTolerance(c.series, r);
        const std::size_t size = c.series.size();
        EXPECT_EQ(PairMatchCounts(ranks, size - 1), DirectMatchCounts(c.series, r, 2, size - 1));
        EXPECT_EQ(TripleMatchCounts(ranks, size - 2), DirectMatchCounts(c.series, r, 3, size - 2));
    }
}

// Scaling by 4 is exact, so every comparison and count stays as it was.
TEST(EntropyTest, ScalingLeavesEntropies) {
    for (const Series& rr : {RealSeries("nsr2db-nsr012.int"), RandomSeries(2000, 0, 9)}) {
        const EntropyMeasures e = MeasureEntropies(rr, SampleSd(rr));
        const EntropyMeasures scaled = MeasureEntropies(Scaled(rr, 4), SampleSd(Scaled(rr, 4)));
        EXPECT_EQ(scaled.matchesM, e.matchesM);
        EXPECT_EQ(scaled.matchesM1, e.matchesM1);
        EXPECT_EQ(*scaled.sampen.value, *e.sampen.value);
        EXPECT_EQ(*scaled.apen.value, *e.apen.value);
    }
}

}  // namespace
}  // namespace ritmova::standard
