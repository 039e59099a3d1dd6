// Correction of artifacts: one planted artifact by each threshold level, the split of a missed
// beat and the merge of an extra one, and what the record says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/command_failure.h"
#include "standard/correction.h"

namespace ritmova::standard {
namespace {

// 800, 810, ..., 1090 ms with `added` ms on interval 10 (0-based). Around it the centred
// median is 910 (850..950 without 900, with the planted value above them all), so the planted
// value stands added - 10 ms from its median; every other interval stands at most 25 ms from
// its own (at the ends, where the window shrinks). The mean is 945 + added / 30.
std::vector<double> rampWithArtifact(double added) {
    std::vector<double> rr;
    for (int i = 0; i < 30; ++i) rr.push_back(800 + 10 * i);
    rr[10] += added;
    return rr;
}

struct ThresholdCase {
    const char* name;
    ThresholdLevel level;
    double seconds;
    double added;
    bool flagged;
};

class ThresholdCorrection : public testing::TestWithParam<ThresholdCase> {};

TEST_P(ThresholdCorrection, FlagsByTheScaledLevelAndDrawsTheSplineThrough) {
    const ThresholdCase& c = GetParam();
    const std::vector<double> rr = rampWithArtifact(c.added);
    const CorrectedSeries result =
        CorrectIntervals(rr, {CorrectionMethod::Threshold, c.level, c.seconds}, 101);
    const double mean = 945 + c.added / 30;
    EXPECT_NEAR(result.record.thresholdMs, c.seconds * mean, 1e-9);
    ASSERT_EQ(result.rrMs.size(), rr.size());
    if (!c.flagged) {
        EXPECT_TRUE(result.record.correctedBeats.empty());
        EXPECT_EQ(result.rrMs, rr);
        return;
    }
    EXPECT_EQ(result.record.correctedBeats, std::vector<std::size_t>{111});
    EXPECT_DOUBLE_EQ(result.record.correctedPercent, 100.0 / 30);
    EXPECT_FALSE(result.record.unreliable);
    // The spline through a straight line is that line.
    EXPECT_NEAR(result.rrMs[10], 900, 1e-9);
    for (std::size_t i = 0; i < rr.size(); ++i) {
        if (i != 10) {
            EXPECT_EQ(result.rrMs[i], rr[i]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ThresholdCorrection,
    testing::Values(
        // Thresholds: very strong 0.05 x 948.3 = 47.4 ms; strong 0.15 x 948.3 = 142.3 and
        // 0.15 x 951.7 = 142.8; very low 0.45 x 958.3 = 431.3 and 0.45 x 961.7 = 432.8;
        // custom 0.1 x 948.3 = 94.8.
        ThresholdCase{"very_strong_flags_90", ThresholdLevel::VeryStrong, 0.05, 100, true},
        ThresholdCase{"strong_leaves_90", ThresholdLevel::Strong, 0.15, 100, false},
        ThresholdCase{"strong_flags_190", ThresholdLevel::Strong, 0.15, 200, true},
        ThresholdCase{"very_low_leaves_390", ThresholdLevel::VeryLow, 0.45, 400, false},
        ThresholdCase{"very_low_flags_490", ThresholdLevel::VeryLow, 0.45, 500, true},
        ThresholdCase{"custom_leaves_90", ThresholdLevel::Custom, 0.1, 100, false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ThresholdCorrection, BeyondFivePercentIsUnreliable) {
    std::vector<double> rr = rampWithArtifact(400);
    rr[20] += 400;  // 2 of 30: 6.7 %
    const CorrectedSeries result =
        CorrectIntervals(rr, {CorrectionMethod::Threshold, ThresholdLevel::Medium, 0.25});
    EXPECT_EQ(result.record.correctedBeats, (std::vector<std::size_t>{11, 21}));
    EXPECT_TRUE(result.record.unreliable);
}

TEST(ThresholdCorrection, NothingLeftToDrawThroughFails) {
    const std::vector<double> values{800, 900};
    const std::vector<std::uint8_t> flags{1, 0};
    EXPECT_THROW(SplineReplaced(values, flags), CommandFailure);
}

// A sinus rhythm with breathing and beat-to-beat jitter.
std::vector<double> sinus(std::size_t count) {
    std::vector<double> rr;
    for (std::size_t i = 0; i < count; ++i) {
        const auto x = static_cast<double>(i);
        rr.push_back(900 + 30 * std::sin(x / 4) + 10 * std::sin(x * 7.31));
    }
    return rr;
}

TEST(AutomaticCorrection, SplitsAMissedBeatAndMergesAnExtraOne) {
    const std::vector<double> clean = sinus(200);
    // Beat 61 missed: intervals 61 and 62 (1-based) read as one. Beat 121 doubled: interval
    // 121 read as two, 30 % and 70 % of it.
    std::vector<double> rr(clean.begin(), clean.begin() + 60);
    rr.push_back(clean[60] + clean[61]);
    rr.insert(rr.end(), clean.begin() + 62, clean.begin() + 120);
    rr.push_back(0.3 * clean[120]);
    rr.push_back(0.7 * clean[120]);
    rr.insert(rr.end(), clean.begin() + 121, clean.end());

    const std::vector<BeatClass> classes = ClassifyBeats(rr);
    EXPECT_EQ(classes[60], BeatClass::Missed);
    EXPECT_EQ(classes[119], BeatClass::Extra);
    EXPECT_EQ(std::count(classes.begin(), classes.end(), BeatClass::Normal), 198);

    const CorrectedSeries result = CorrectIntervals(rr, {CorrectionMethod::Automatic, {}, 0});
    ASSERT_EQ(result.rrMs.size(), clean.size());
    const double half = (clean[60] + clean[61]) / 2;
    EXPECT_EQ(result.rrMs[60], half);
    EXPECT_EQ(result.rrMs[61], half);
    EXPECT_NEAR(result.rrMs[120], clean[120], 1e-9);
    const CorrectionRecord& record = result.record;
    EXPECT_EQ(record.rounds, 1);
    EXPECT_EQ(record.classCounts[static_cast<std::size_t>(BeatClass::Missed)], 1u);
    EXPECT_EQ(record.classCounts[static_cast<std::size_t>(BeatClass::Extra)], 1u);
    // The missed interval, and both halves of the doubled beat.
    EXPECT_EQ(record.correctedBeats, (std::vector<std::size_t>{61, 120, 121}));
    EXPECT_EQ(record.intervalsBefore, 200u);
    EXPECT_EQ(record.intervalsAfter, 200u);
}

TEST(AutomaticCorrection, APrematureBeatIsReplacedByTheSpline) {
    const std::vector<double> clean = sinus(200);
    std::vector<double> rr = clean;
    rr[80] -= 250;  // a premature beat: a short interval (dRRs far below -1, the next far above)
    rr[81] += 250;  // and the long one after it (dRRs far above 1 between two far below)
    const std::vector<BeatClass> classes = ClassifyBeats(rr);
    EXPECT_EQ(classes[80], BeatClass::Short);
    EXPECT_EQ(classes[81], BeatClass::Ectopic);
    EXPECT_EQ(std::count(classes.begin(), classes.end(), BeatClass::Normal), 198);
    const CorrectedSeries result = CorrectIntervals(rr, {CorrectionMethod::Automatic, {}, 0});
    ASSERT_EQ(result.rrMs.size(), rr.size());
    EXPECT_NEAR(result.rrMs[80], clean[80], 15);
    EXPECT_NEAR(result.rrMs[81], clean[81], 15);
    EXPECT_EQ(result.record.correctedBeats, (std::vector<std::size_t>{81, 82}));
}

TEST(AutomaticCorrection, ACleanSeriesIsLeftAlone) {
    const std::vector<double> rr = sinus(300);
    const CorrectedSeries result = CorrectIntervals(rr, {CorrectionMethod::Automatic, {}, 0});
    EXPECT_EQ(result.rrMs, rr);
    EXPECT_EQ(result.record.rounds, 0);
    EXPECT_TRUE(result.record.correctedBeats.empty());
}

}  // namespace
}  // namespace ritmova::standard
