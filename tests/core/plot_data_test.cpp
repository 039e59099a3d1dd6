// The scales and data of the standard analysis's plots: round ticks around the data, their
// labels, the columns of a long series, the histogram, TINN's triangle and the DFA lines.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "report/plot_scale.h"
#include "standard/geometric.h"
#include "standard/plot_data.h"

namespace ritmova {
namespace {

using namespace standard;

struct TickCase {
    double low, high;
    int maxTicks;
    double axisLow, axisHigh, step;
};

class NiceTicksTable : public ::testing::TestWithParam<TickCase> {};

// Worked by hand: the smallest of 1, 2, 5 × 10^k whose multiples around the data number at
// most maxTicks.
TEST_P(NiceTicksTable, SmallestRoundStepAroundTheData) {
    const TickCase& c = GetParam();
    const AxisTicks ticks = NiceTicks(c.low, c.high, c.maxTicks);
    EXPECT_DOUBLE_EQ(ticks.low, c.axisLow);
    EXPECT_DOUBLE_EQ(ticks.high, c.axisHigh);
    EXPECT_DOUBLE_EQ(ticks.step, c.step);
    EXPECT_LE(ticks.values.size(), static_cast<std::size_t>(std::max(2, c.maxTicks)));
    if (std::isfinite(c.low) && std::isfinite(c.high)) {
        EXPECT_LE(ticks.low, std::min(c.low, c.high));
        EXPECT_GE(ticks.high, std::max(c.low, c.high));
    }
    for (std::size_t i = 0; i < ticks.values.size(); ++i)
        EXPECT_NEAR(ticks.values[i], ticks.low + static_cast<double>(i) * ticks.step,
                    1e-9 * c.step);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, NiceTicksTable,
    ::testing::Values(TickCase{0, 1, 6, 0, 1, 0.2}, TickCase{3, 97, 6, 0, 100, 20},
                      TickCase{0.013, 0.041, 5, 0.01, 0.05, 0.01},
                      TickCase{700, 1200, 6, 700, 1200, 100}, TickCase{5, 5, 6, 4.5, 5.5, 0.5},
                      TickCase{-3, 7, 6, -5, 10, 5}, TickCase{97, 3, 6, 0, 100, 20},
                      TickCase{0, 2.4e7, 6, 0, 2.5e7, 5e6}, TickCase{0, 0, 6, -1, 1, 0.5},
                      TickCase{std::nan(""), 1, 6, 0, 1, 0.2}, TickCase{0, 1, 1, 0, 1, 1}));

struct TickTextCase {
    double value, step;
    const char* text;
};

class TickTextTable : public ::testing::TestWithParam<TickTextCase> {};

TEST_P(TickTextTable, AsManyDigitsAsTheStepNeeds) {
    EXPECT_EQ(TickText(GetParam().value, GetParam().step), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TickTextTable,
    ::testing::Values(TickTextCase{0.05, 0.01, "0.05"}, TickTextCase{1200, 100, "1200"},
                      TickTextCase{1.5, 0.5, "1.5"}, TickTextCase{0.001, 0.001, "0.001"},
                      TickTextCase{1.5e-4, 5e-5, "1.5e-4"}, TickTextCase{3e6, 1e6, "3e6"},
                      TickTextCase{2.5e7, 5e6, "2.5e7"}, TickTextCase{1e7, 5e6, "1e7"},
                      TickTextCase{-2e-5, 1e-5, "-2e-5"}, TickTextCase{-0.0, 0.1, "0.0"},
                      TickTextCase{0, 1e6, "0"}, TickTextCase{-20, 10, "-20"}));

TEST(ColumnRanges, EachColumnHoldsTheExtremesOfItsPoints) {
    const std::vector<double> x{0, 1, 2, 3, 4, 9};
    const std::vector<double> y{5, 1, 4, 2, 7, 100};
    const auto ranges = ColumnRanges(x, y, 0, 4, 3);  // columns [0, 4/3), [4/3, 8/3), [8/3, 4]
    ASSERT_EQ(ranges.size(), 3u);
    ASSERT_TRUE(ranges[0] && ranges[1] && ranges[2]);
    EXPECT_EQ(ranges[0]->low, 1);
    EXPECT_EQ(ranges[0]->high, 5);
    EXPECT_EQ(ranges[1]->low, 4);  // x = 2 alone
    EXPECT_EQ(ranges[1]->high, 4);
    EXPECT_EQ(ranges[2]->low, 2);  // x = 3 and 4, the end in the last column; 9 is outside
    EXPECT_EQ(ranges[2]->high, 7);
    EXPECT_FALSE(ColumnRanges(x, y, 10, 20, 4)[0]);
    EXPECT_TRUE(ColumnRanges(x, y, 0, 0, 4)[0] == std::nullopt);
}

// 800 and 801 ms fall in bin 102 (796.875 ms), 810 in 103, 830 in 106.
TEST(HistogramForPlot, BinsAndMergedBars) {
    const std::vector<double> rr{800, 801, 810, 830};
    const PlotHistogram fine = HistogramForPlot(rr, 100);
    EXPECT_DOUBLE_EQ(fine.firstMs, 796.875);
    EXPECT_EQ(fine.counts, (std::vector<std::size_t>{2, 1, 0, 0, 1}));
    const PlotHistogram coarse = HistogramForPlot(rr, 2);  // bars of 3 bins from bin 102
    EXPECT_EQ(coarse.merged, 3u);
    EXPECT_DOUBLE_EQ(coarse.barMs, 3 * HistogramBinMs);
    EXPECT_DOUBLE_EQ(coarse.firstMs, 796.875);
    EXPECT_EQ(coarse.counts, (std::vector<std::size_t>{3, 1}));
    EXPECT_TRUE(HistogramForPlot({}, 10).counts.empty());
}

// Every interval in one bin: the triangle stands on the empty bins either side of it.
TEST(TinnTriangleOf, OneBinStandsOnItsNeighbours) {
    const auto triangle = TinnTriangleOf(std::vector<double>(5, 800));
    ASSERT_TRUE(triangle);
    EXPECT_DOUBLE_EQ(triangle->nMs, 101 * HistogramBinMs);
    EXPECT_DOUBLE_EQ(triangle->modeMs, 102 * HistogramBinMs);
    EXPECT_DOUBLE_EQ(triangle->mMs, 103 * HistogramBinMs);
    EXPECT_EQ(triangle->modeCount, 5u);
    EXPECT_FALSE(TinnTriangleOf({}));
}

// The triangle's base is TINN, its apex the modal bin, whatever the series.
TEST(TinnTriangleOf, BaseIsTinnAroundTheMode) {
    std::vector<double> rr;
    for (int i = 0; i < 3000; ++i)
        rr.push_back(900 + 80 * std::sin(i * 0.37) * std::cos(i * 0.011));
    const auto triangle = TinnTriangleOf(rr);
    ASSERT_TRUE(triangle);
    EXPECT_DOUBLE_EQ(triangle->mMs - triangle->nMs, *MeasureGeometric(rr).tinnMs.value);
    EXPECT_LT(triangle->nMs, triangle->modeMs);
    EXPECT_GT(triangle->mMs, triangle->modeMs);
    const PlotHistogram h = HistogramForPlot(rr, 1000);
    EXPECT_EQ(triangle->modeCount, *std::max_element(h.counts.begin(), h.counts.end()));
}

// Points on F = 2 n^0.75: the line through them has intercept ln 2; sizes outside the range
// and zero fluctuations are left out.
TEST(DfaFitLine, PassesThroughAPowerLaw) {
    std::vector<DfaPoint> points;
    for (int n = 4; n <= 20; ++n) points.push_back({n, 2 * std::pow(n, 0.75)});
    points.push_back({5, 0.0});
    const auto line = DfaFitLine(points, 4, 16, 0.75);
    ASSERT_TRUE(line);
    EXPECT_NEAR(line->intercept, std::log(2.0), 1e-12);
    EXPECT_EQ(line->firstBox, 4);
    EXPECT_EQ(line->lastBox, 16);
    EXPECT_FALSE(DfaFitLine(points, 20, 64, 1.0));  // one point
}

TEST(AnalysedIntervals, CorrectionChangesOnlyTheCorrectedBeats) {
    std::vector<double> rr(60, 1000);
    for (std::size_t i = 0; i < rr.size(); ++i) rr[i] += static_cast<double>(i % 3) * 20;
    rr[30] = 3000;
    const Stretch stretch{11, 70, 0, 0, 0};  // intervals 11-70 of a recording
    EXPECT_EQ(AnalysedIntervals(rr, stretch, {}), rr);
    AnalysisSettings threshold;
    threshold.correction.method = CorrectionMethod::Threshold;
    const std::vector<double> corrected = AnalysedIntervals(rr, stretch, threshold);
    ASSERT_EQ(corrected.size(), rr.size());
    for (std::size_t i = 0; i < rr.size(); ++i) {
        if (i == 30) {
            EXPECT_LT(corrected[i], 1100);
        } else {
            EXPECT_EQ(corrected[i], rr[i]);
        }
    }
}

}  // namespace
}  // namespace ritmova
