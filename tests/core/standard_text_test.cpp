// The standard analysis as text and as plots see it: values at the table's decimals, the
// summary and the clipboard table, the option texts, axis ticks, and the plots' own data.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>

#include "report/analysis_options.h"
#include "report/plot_scale.h"
#include "report/standard_rows.h"
#include "standard/measure_rows.h"
#include "standard/plot_data.h"
#include "standard/series.h"

namespace ritmova {
namespace {

using namespace standard;

struct FixedCase {
    double value;
    int decimals;
    const char* text;
};

class FixedTextTable : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedTextTable, RoundsTheStoredValue) {
    EXPECT_EQ(FixedText(GetParam().value, GetParam().decimals), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FixedTextTable,
    ::testing::Values(FixedCase{0.1 + 0.2, 2, "0.30"}, FixedCase{1234.5678, 0, "1235"},
                      FixedCase{2.675, 2, "2.67"},  // stored as 2.67499999...
                      FixedCase{-0.00004, 3, "0.000"}, FixedCase{-1.25, 1, "-1.2"},
                      FixedCase{105.40925533894598, 1, "105.4"}, FixedCase{std::nan(""), 2, ""}));

StretchResults Analysed(const std::vector<double>& rr, CorrectionSettings correction = {}) {
    const std::vector<double> times = BeatTimes(rr);
    const StretchPlan plan = PlanStretches(times, {});
    return AnalyseStretch(rr, plan.stretches.front(), {correction});
}

// Ten intervals alternating 800 and 1000 ms: mean 900, SD sqrt(100000 / 9) = 105.409,
// successive differences all 200, heart rates 75 and 60 bpm.
TEST(StandardRowTexts, WorkedSeriesReadsAsByHand) {
    const std::vector<StandardRowText> rows =
        StandardRowTexts(Analysed({800, 1000, 800, 1000, 800, 1000, 800, 1000, 800, 1000}));
    ASSERT_EQ(rows.size(), MeasureCount);
    const auto row = [&rows](MeasureId id) { return rows[static_cast<std::size_t>(id)]; };
    const std::pair<MeasureId, const char*> expected[] = {
        {MeasureId::MeanNn, "900.0"}, {MeasureId::Sdnn, "105.4"},   {MeasureId::Rmssd, "200.0"},
        {MeasureId::Nn50, "9"},       {MeasureId::Pnn50, "100.00"}, {MeasureId::MeanHr, "67.5"},
        {MeasureId::MaxHr, "75.0"},   {MeasureId::Cvnn, "0.1171"}};
    for (const auto& [id, text] : expected) EXPECT_EQ(row(id).value, text) << row(id).label;
    EXPECT_EQ(row(MeasureId::Sdnn).unit, "ms");
    EXPECT_EQ(row(MeasureId::Sdnn).group, "Time domain");
    EXPECT_TRUE(row(MeasureId::Sdann).value.empty());
    EXPECT_FALSE(row(MeasureId::Sdann).reason.empty());
}

// Every present value reads back within half its last place of the value; every absent one
// gives its reason.
TEST(StandardRowTexts, EachValueWithinHalfItsLastPlace) {
    std::vector<double> rr;
    for (int i = 0; i < 700; ++i)
        rr.push_back(850 + 60 * std::sin(i * 0.7) + 25 * std::cos(i * 0.05));
    const StretchResults results = Analysed(rr);
    const std::vector<StandardRowText> rows = StandardRowTexts(results);
    const auto table = StandardMeasureTable();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::optional<double> value = table[i].value(results);
        EXPECT_EQ(rows[i].value.empty(), !value) << table[i].key;
        EXPECT_EQ(rows[i].reason.empty(), value.has_value()) << table[i].key;
        if (!value) continue;
        double read = 0;
        std::from_chars(rows[i].value.data(), rows[i].value.data() + rows[i].value.size(), read);
        EXPECT_LE(std::fabs(read - *value), 0.5 * std::pow(10.0, -table[i].decimals) * (1 + 1e-12))
            << table[i].key;
    }
}

TEST(StandardResultsTsv, SummaryThenOneLinePerMeasure) {
    CorrectionSettings threshold;
    ParseCorrection("threshold:low", &threshold);
    std::vector<double> rr(400, 900);
    for (std::size_t i = 0; i < rr.size(); ++i) rr[i] += static_cast<double>(i % 7) * 10;
    rr[100] = 2500;  // one long interval, which the threshold replaces
    const StretchResults results = Analysed(rr, threshold);
    const std::string tsv = StandardResultsTsv(results, {"a\x1b.int", Units::Seconds, {}});
    const std::vector<SummaryLine> summary =
        StandardSummaryLines(results, {"a.int", Units::Seconds, {}});
    const auto lines = std::count(tsv.begin(), tsv.end(), '\n');
    EXPECT_EQ(static_cast<std::size_t>(lines), summary.size() + 2 + MeasureCount);
    EXPECT_EQ(tsv.find('\x1b'), std::string::npos);  // the name is quoted safely
    EXPECT_NE(tsv.find("Correction\tthreshold:low"), std::string::npos);
    EXPECT_NE(tsv.find("1 of 400 intervals corrected (0.25 %)"), std::string::npos);
    const std::size_t table = tsv.find("Group\tMeasure");
    ASSERT_NE(table, std::string::npos);
    std::size_t start = table;
    for (std::size_t end; (end = tsv.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_EQ(std::count(tsv.begin() + static_cast<std::ptrdiff_t>(start),
                             tsv.begin() + static_cast<std::ptrdiff_t>(end), '\t'),
                  4);
}

// A valid text of each option reads back to itself through the value it gives.
TEST(AnalysisOptions, CorrectionTextsRoundTrip) {
    for (const char* text : {"none", "auto", "threshold:very-low", "threshold:strong",
                             "threshold:0.3", "threshold:1e-05"}) {
        CorrectionSettings settings;
        ASSERT_EQ(ParseCorrection(text, &settings), "") << text;
        EXPECT_EQ(CorrectionText(settings), text);
    }
}

struct WholeCase {
    const char* text;
    unsigned long long minimum;
    std::optional<std::size_t> value;
};

class WholeNumberTable : public ::testing::TestWithParam<WholeCase> {};

// A refused text leaves the value as it was.
TEST_P(WholeNumberTable, ReadsOnlyWholeNumbersFromTheMinimum) {
    std::size_t value = 77;
    const std::string reason = ParseWholeNumber(GetParam().text, GetParam().minimum, &value);
    EXPECT_EQ(reason.empty(), GetParam().value.has_value());
    EXPECT_EQ(value, GetParam().value.value_or(77));
}

INSTANTIATE_TEST_SUITE_P(Texts, WholeNumberTable,
                         ::testing::Values(WholeCase{"0", 0, 0}, WholeCase{"12", 1, 12},
                                           WholeCase{"0", 1, {}}, WholeCase{"", 0, {}},
                                           WholeCase{"+3", 0, {}}, WholeCase{"-1", 0, {}},
                                           WholeCase{"3 ", 0, {}},
                                           WholeCase{"99999999999999999999999", 0, {}}));

TEST(AnalysisOptions, UnitsAndSecondsRefuseOtherTexts) {
    UnitsChoice units = UnitsChoice::Seconds;
    EXPECT_EQ(ParseUnits("ms", &units), "");
    EXPECT_EQ(units, UnitsChoice::Milliseconds);
    EXPECT_NE(ParseUnits("MS", &units), "");
    EXPECT_EQ(units, UnitsChoice::Milliseconds);
    std::optional<double> seconds;
    EXPECT_NE(ParseSeconds("-1", &seconds), "");
    EXPECT_FALSE(seconds);
    EXPECT_EQ(ParseSeconds("90.5", &seconds), "");
    EXPECT_EQ(seconds, 90.5);
}

}  // namespace
}  // namespace ritmova
