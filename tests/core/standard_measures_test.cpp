// The standard analysis's time-domain, heart-rate, 5-min and geometric measures against values
// worked out by hand, and the properties every stretch keeps.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "standard/five_minute.h"
#include "standard/geometric.h"
#include "standard/measure_rows.h"
#include "standard/stretch_analysis.h"
#include "standard/time_measures.h"

namespace ritmova::standard {
namespace {

double valueOf(const Measured& m) {
    EXPECT_TRUE(m.value.has_value()) << m.reason;
    return m.value.value_or(NAN);
}

// 800, 850, 780, 900, 820: mean 830; deviations -30 20 -50 70 -10 (squares sum 8800);
// differences 50 -70 120 -80 (squares sum 28200, mean 5, deviations 45 -75 115 -85 with
// squares summing to 28100); sorted 780 800 820 850 900, quartiles at positions 1 and 3.
const std::vector<double> Short{800, 850, 780, 900, 820};

struct HandCase {
    const char* name;
    Measured TimeDomain::*measure;
    double expected;
};

class TimeDomainByHand : public testing::TestWithParam<HandCase> {};

TEST_P(TimeDomainByHand, MatchesTheHandValue) {
    const TimeDomain t = MeasureTimeDomain(Short);
    EXPECT_NEAR(valueOf(t.*GetParam().measure), GetParam().expected,
                1e-12 * std::fabs(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    ShortSeries, TimeDomainByHand,
    testing::Values(
        HandCase{"mean", &TimeDomain::meanNnMs, 830},
        HandCase{"median", &TimeDomain::medianNnMs, 820},
        HandCase{"min", &TimeDomain::minNnMs, 780}, HandCase{"max", &TimeDomain::maxNnMs, 900},
        HandCase{"sdnn", &TimeDomain::sdnnMs, std::sqrt(8800.0 / 4)},
        HandCase{"cvnn", &TimeDomain::cvnn, std::sqrt(8800.0 / 4) / 830},
        HandCase{"rmssd", &TimeDomain::rmssdMs, std::sqrt(28200.0 / 4)},
        HandCase{"sdsd", &TimeDomain::sdsdMs, std::sqrt(28100.0 / 3)},
        HandCase{"cvsd", &TimeDomain::cvsd, std::sqrt(28200.0 / 4) / 830},
        HandCase{"nn50", &TimeDomain::nn50, 3},  // 50 itself is not above 50
        HandCase{"pnn50", &TimeDomain::pnn50, 75}, HandCase{"nn20", &TimeDomain::nn20, 4},
        HandCase{"pnn20", &TimeDomain::pnn20, 100}, HandCase{"iqr", &TimeDomain::iqrMs, 850 - 800}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TimeDomain, EvenCountsTakeMiddleMeansAndInterpolatedQuartiles) {
    // Sorted 700 800 1000 1300: median (800 + 1000) / 2; Q1 at position 0.75 = 775,
    // Q3 at 2.25 = 1075.
    const TimeDomain t = MeasureTimeDomain(std::vector<double>{1000, 700, 1300, 800});
    EXPECT_DOUBLE_EQ(valueOf(t.medianNnMs), 900);
    EXPECT_DOUBLE_EQ(valueOf(t.iqrMs), 1075 - 775);
}

TEST(TimeDomain, TooShortSeriesSayWhy) {
    const TimeDomain one = MeasureTimeDomain(std::vector<double>{800});
    EXPECT_DOUBLE_EQ(valueOf(one.meanNnMs), 800);
    EXPECT_FALSE(one.sdnnMs);
    EXPECT_FALSE(one.rmssdMs.reason.empty());
    const TimeDomain two = MeasureTimeDomain(std::vector<double>{800, 900});
    EXPECT_DOUBLE_EQ(valueOf(two.rmssdMs), 100);
    EXPECT_FALSE(two.sdsdMs);
    EXPECT_FALSE(two.sdsdMs.reason.empty());
}

TEST(HeartRate, IsSixtyThousandOverEachInterval) {
    // 60000 / 800, 60000 / 750, 60000 / 1000: 75, 80, 60; mean 215 / 3; SD from squared
    // deviations (10/3)² + (25/3)² + (35/3)² = 1950 / 9, over 2.
    const HeartRate h = MeasureHeartRate(std::vector<double>{800, 750, 1000});
    EXPECT_DOUBLE_EQ(valueOf(h.meanBpm), 215.0 / 3);
    EXPECT_DOUBLE_EQ(valueOf(h.sdBpm), std::sqrt(1950.0 / 9 / 2));
    EXPECT_DOUBLE_EQ(valueOf(h.minBpm), 60);
    EXPECT_DOUBLE_EQ(valueOf(h.maxBpm), 80);
}

// 399 intervals of 750 ms fill segment 0 (the 400th ends at 300 s, in segment 1); then 240 of
// 1250 ms (the last ends at 600 s, in segment 2), 400 of 750 ms (the last ends at 900 s, in the
// incomplete segment 3).
std::vector<double> threeSegments() {
    std::vector<double> rr(400, 750);
    rr.insert(rr.end(), 240, 1250);
    rr.insert(rr.end(), 400, 750);
    return rr;
}

// The sample SD by Σx² - n m², apart from the code's two passes.
double sampleSd(double sum, double sumSquares, double n) {
    return std::sqrt((sumSquares - sum * sum / n) / (n - 1));
}

TEST(FiveMinute, SegmentsAreCutByBeatTime) {
    const std::vector<double> rr = threeSegments();
    std::vector<double> times;
    double sum = 0;
    for (const double v : rr) times.push_back((sum += v) / 1000);
    const FiveMinuteMeasures f = MeasureFiveMinute(rr, times);
    EXPECT_EQ(f.completeSegments, 3u);
    // Segment 0: 399 x 750; 1: 750 and 239 x 1250; 2: 1250 and 399 x 750.
    const double means[3] = {750, (750 + 239 * 1250.0) / 240, (1250 + 399 * 750.0) / 400};
    const double sds[3] = {0, sampleSd(750 + 239 * 1250.0, 750.0 * 750 + 239 * 1250.0 * 1250, 240),
                           sampleSd(1250 + 399 * 750.0, 1250.0 * 1250 + 399 * 750.0 * 750, 400)};
    const double meanSum = means[0] + means[1] + means[2];
    const double meanSquares = means[0] * means[0] + means[1] * means[1] + means[2] * means[2];
    EXPECT_NEAR(valueOf(f.sdannMs), sampleSd(meanSum, meanSquares, 3), 1e-9);
    EXPECT_NEAR(valueOf(f.sdnnIndexMs), (sds[0] + sds[1] + sds[2]) / 3, 1e-9);
}

TEST(FiveMinute, AbsentWithTheReason) {
    std::vector<double> rr(599, 1000);  // ends at 599 s: one complete segment
    std::vector<double> times;
    for (std::size_t i = 1; i <= rr.size(); ++i) times.push_back(static_cast<double>(i));
    const FiveMinuteMeasures one = MeasureFiveMinute(rr, times);
    EXPECT_FALSE(one.sdannMs);
    EXPECT_NE(one.sdnnIndexMs.reason.find("2 needed"), std::string::npos);
    // 0.5 s, then one interval spanning segments 0 to 2, then 300 s of 1-s intervals.
    rr = {500, 599000};
    rr.insert(rr.end(), 300, 1000);
    times.clear();
    double sum = 0;
    for (const double v : rr) times.push_back((sum += v) / 1000);
    const FiveMinuteMeasures sparse = MeasureFiveMinute(rr, times);
    EXPECT_FALSE(sparse.sdannMs);
    EXPECT_NE(sparse.sdannMs.reason.find("holds 1 intervals"), std::string::npos);
}

// Intervals inside bins numbered from 100: counts[i] intervals in bin 100 + i.
std::vector<double> histogram(const std::vector<int>& counts) {
    std::vector<double> rr;
    for (std::size_t i = 0; i < counts.size(); ++i)
        rr.insert(rr.end(), static_cast<std::size_t>(counts[i]),
                  static_cast<double>(100 + i) * HistogramBinMs + 1);
    return rr;
}

struct TinnCase {
    const char* name;
    std::vector<int> counts;
    int leftBin, rightBin;  // N and M as bin numbers
    double triangularIndex;
};

class TinnByHand : public testing::TestWithParam<TinnCase> {};

TEST_P(TinnByHand, FitsTheTriangleWorkedOut) {
    const TinnCase& c = GetParam();
    const GeometricMeasures g = MeasureGeometric(histogram(c.counts));
    EXPECT_DOUBLE_EQ(valueOf(g.tinnNMs), c.leftBin * HistogramBinMs);
    EXPECT_DOUBLE_EQ(valueOf(g.tinnMMs), c.rightBin * HistogramBinMs);
    EXPECT_DOUBLE_EQ(valueOf(g.tinnMs), (c.rightBin - c.leftBin) * HistogramBinMs);
    EXPECT_DOUBLE_EQ(valueOf(g.triangularIndex), c.triangularIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Histograms, TinnByHand,
    testing::Values(
        // 1 3 6 2 1, mode 102 (Y 6). Left errors: N 101: 1 + 9 = 10; N 100: 1 + 0 = 1;
        // N 99: (1-2)² + (3-4)² = 2. Right: M 103: 4 + 1 = 5; M 104: (2-3)² + 1 = 2;
        // M 105: (2-4)² + (1-2)² = 5.
        TinnCase{"plain", {1, 3, 6, 2, 1}, 100, 104, 13.0 / 6},
        // 1 3 1 6 at 100..103. Left: N 102: 1 + 9 + 1 = 11; N 101: (1-3)² + 1 + 9 = 14;
        // N 100: (3-2)² + (1-4)² + 1 = 11; N 99: 0.25 + 0 + 12.25 = 12.5. The tie of 102 and
        // 100 goes to 102, nearest the mode; on the right there is only 104.
        TinnCase{"tie nearest the mode", {1, 3, 1, 6}, 102, 104, 11.0 / 6},
        // One occupied bin: the empty bins on either side.
        TinnCase{"one bin", {4}, 99, 101, 1},
        // Two equal largest counts: the first is the mode.
        TinnCase{"first largest", {5, 5}, 99, 102, 2}),
    [](const auto& test) {
        std::string name = test.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

// A series with beat-to-beat and slower variability, in ms.
std::vector<double> varied(std::size_t count) {
    std::vector<double> rr;
    for (std::size_t i = 0; i < count; ++i) {
        const auto x = static_cast<double>(i);
        rr.push_back(850 + 40 * std::sin(x / 3.1) + 25 * std::sin(x / 29) + 9 * std::sin(x * 7.31));
    }
    return rr;
}

TEST(StretchProperties, ALaterPlaceInTheRecordingChangesNothing) {
    const std::vector<double> rr = varied(900);
    const StretchResults early = AnalyseStretch(rr, {1, 900, 0, 0, 0}, {});
    const StretchResults late = AnalyseStretch(rr, {5001, 5900, 4000, 4765, 3}, {});
    for (std::size_t i = 0; i < MeasureCount; ++i) {
        EXPECT_EQ(early.measures[i].value, late.measures[i].value) << StandardMeasureTable()[i].key;
    }
}

TEST(StretchProperties, ScalingIntervalsScalesMillisecondMeasures) {
    const std::vector<double> rr = varied(700);
    std::vector<double> doubled;
    for (const double v : rr) doubled.push_back(2 * v);
    const StretchResults one = AnalyseStretch(rr, {1, 700, 0, 0, 0}, {});
    const StretchResults two = AnalyseStretch(doubled, {1, 700, 0, 0, 0}, {});
    const auto ratio = [&](MeasureId id) { return *two[id].value / *one[id].value; };
    for (const MeasureId id : {MeasureId::MeanNn, MeasureId::MedianNn, MeasureId::MinNn,
                               MeasureId::MaxNn, MeasureId::Sdnn, MeasureId::Rmssd, MeasureId::Sdsd,
                               MeasureId::Iqr, MeasureId::Sd1, MeasureId::Sd2})
        EXPECT_NEAR(ratio(id), 2, 1e-12)
            << StandardMeasureTable()[static_cast<std::size_t>(id)].key;
    for (const MeasureId id : {MeasureId::Cvnn, MeasureId::Cvsd, MeasureId::Sd2OverSd1})
        EXPECT_NEAR(ratio(id), 1, 1e-12);
    EXPECT_NEAR(ratio(MeasureId::MeanHr), 0.5, 1e-12);
}

TEST(MeasureTable, EveryKeyOnceEveryRowItsOwnMeasure) {
    const auto table = StandardMeasureTable();
    ASSERT_EQ(table.size(), MeasureCount);
    std::set<std::string_view> keys;
    StretchResults r;
    for (std::size_t i = 0; i < MeasureCount; ++i) {
        EXPECT_TRUE(keys.insert(table[i].key).second) << table[i].key;
        r.measures[i] = Measured::Of(static_cast<double>(i));
    }
    for (std::size_t i = 0; i < MeasureCount; ++i) EXPECT_EQ(table[i].value(r), double(i));
    EXPECT_EQ(table[static_cast<std::size_t>(MeasureId::Sdnn)].key, "sdnn_ms");
    EXPECT_EQ(table[static_cast<std::size_t>(MeasureId::SpectrumFirst) + 2].key, "lf_ms2");
    EXPECT_EQ(table[static_cast<std::size_t>(MeasureId::DfaAlpha1)].key, "dfa_alpha1");
    EXPECT_EQ(table[static_cast<std::size_t>(MeasureId::SampEn)].key, "sampen");
}

}  // namespace
}  // namespace ritmova::standard
