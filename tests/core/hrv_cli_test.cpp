// ritmova-cli hrv run as a user runs it, on real recordings: the JSON and CSV structure, the
// values against the core's analysis of the same stretch, segments, failures and usage errors.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <tuple>

#include "analysis/recording.h"
#include "output_checks.h"
#include "standard/measure_rows.h"
#include "test_data.h"

namespace ritmova {
namespace {

using CliRun = std::tuple<int, std::string, std::string>;  // exit status, stdout, stderr

CliRun Cli(const std::string& arguments) {
    testing::ScratchDir dir;
    std::string command = RITMOVA_CLI;
    std::istringstream stream(arguments);
    for (std::string word; stream >> word;) command += " '" + word + "'";
    command += " </dev/null >" + dir.file("out") + " 2>" + dir.file("err");
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), testing::ReadAll(dir.file("out")),
            testing::ReadAll(dir.file("err"))};
}

const std::string Real = std::string(RITMOVA_REAL_DATA_DIR) + "/chf2db-chf201.int";
const std::string Noisy = std::string(RITMOVA_REAL_DATA_DIR) + "/bartelshrv-noisy.int";

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::string Text(double value) {
    char buffer[32];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr};
}

TEST(HrvCliTest, JsonHoldsEveryMeasureOnceInItsGroupWithTheSettings) {
    const auto [status, out, err] = Cli("hrv --correct auto --spectrum " + Real);
    EXPECT_EQ(status, 0) << err;
    ASSERT_TRUE(fuzz::IsJson(out)) << out.substr(0, 200);
    for (const char* part :
         {"[\n{\"file\":", "\"settings\":{\"units\":\"s\"", "\"histogram_bin_ms\":7.8125",
          "\"stretch\":{\"first_beat\":1,\"last_beat\":2000,\"start_s\":0,",
          "\"correction\":{\"method\":\"automatic\",\"c1\":0.13,\"c2\":0.17,\"alpha\":5.2",
          "\"time_domain\":{\"mean_nn_ms\":", "\"reasons\":{",
          "\"spectrum\":{\"welch\":{\"frequency_hz\":[0,0.00390625,"})
        EXPECT_EQ(Count(out, part), 1u) << part;
    const auto table = standard::StandardMeasureTable();
    for (std::size_t i = 0; i < table.size(); ++i) {  // each group with its rows in one object
        const bool first = i == 0 || table[i - 1].group != table[i].group;
        const auto& group = *std::find_if(
            standard::MeasureGroups.begin(), standard::MeasureGroups.end(),
            [&](const standard::MeasureGroup& g) { return g.label == table[i].group; });
        const std::string key = "\"" + std::string(table[i].key) + "\":";
        EXPECT_EQ(Count(out, (first ? "\"" + std::string(group.key) + "\":{" : ",") + key), 1u)
            << key;
    }
}

TEST(HrvCliTest, CsvRowsAreTheTableKeysFlattenedWithTheCoreValues) {
    const auto [status, out, err] = Cli("hrv --format csv " + Real + " " + Noisy);
    EXPECT_EQ(status, 0) << err;
    ASSERT_TRUE(fuzz::IsCsv(out));
    const std::vector<std::string> lines = Split(out, '\n');
    ASSERT_EQ(lines.size(), 4u);  // header, two rows, the end
    const std::vector<std::string> header = Split(lines[0], ',');
    const auto table = standard::StandardMeasureTable();
    ASSERT_EQ(header.size(), 12 + table.size() + 1);
    EXPECT_EQ(header.back(), "error");
    for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(header[12 + i], table[i].key);

    ReadOptions exact;
    exact.exact = true;
    const Recording recording = ReadRecording(Real, exact);
    const standard::Stretch whole{1, 2000, 0, 0, 0};
    const standard::StretchResults core =
        standard::AnalyseStretch(recording.milliseconds, whole, {});
    const std::vector<std::string> row = Split(lines[1], ',');
    EXPECT_EQ(row[0], Real);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::optional<double> value = table[i].value(core);
        EXPECT_EQ(row[12 + i], value ? Text(*value) : "") << table[i].key;
    }
    EXPECT_EQ(row.back(), "");
}

TEST(HrvCliTest, SegmentsAreAnalysedOnTheirOwnAndTheIncompleteOneIsLeftOut) {
    // 1464.5 s: four complete 5-min segments, the last 264.9 s left out.
    const auto [status, out, err] = Cli("hrv --format csv --segments 5min " + Real);
    EXPECT_EQ(status, 0);
    const std::vector<std::string> lines = Split(out, '\n');
    ASSERT_EQ(lines.size(), 6u);
    for (std::size_t k = 1; k <= 4; ++k) EXPECT_EQ(Split(lines[k], ',')[1], std::to_string(k));
    EXPECT_NE(err.find("do not fill a segment and are left out"), std::string::npos) << err;
    // The same as the range from 300 to 600 s: the intervals that end in it.
    const std::vector<std::string> second = Split(lines[2], ',');
    const auto [fromStatus, from, fromErr] = Cli("hrv --format csv --from 300 --to 600 " + Real);
    const std::vector<std::string> alone = Split(Split(from, '\n')[1], ',');
    EXPECT_EQ(std::vector(alone.begin() + 2, alone.end()),
              std::vector(second.begin() + 2, second.end()));
}

// Record 100's intervals from the reference dump's beat samples: (s_{i+1} - s_i) / 360 s in ms.
std::vector<double> DumpedIntervalsMs() {
    std::vector<double> ms;
    for (long gap : testing::DumpedBeatGaps100()) ms.push_back(double(gap) / 360 * 1000);
    return ms;
}

TEST(HrvCliTest, AnEcgRecordIsAnalysedFromItsBeatSamplesAndNamedWithItsSource) {
    const std::string record = std::string(RITMOVA_ECG_DATA_DIR) + "/mitdb/100";
    const auto [status, out, err] = Cli("hrv --format csv --annotator atr " + record);
    EXPECT_EQ(status, 0) << err;
    const std::vector<double> ms = DumpedIntervalsMs();
    ASSERT_EQ(ms.size(), 2272u);
    EXPECT_EQ(ms[0], 293.0 / 360 * 1000);  // beats at samples 77 and 370
    const standard::StretchResults core =
        standard::AnalyseStretch(ms, standard::Stretch{1, ms.size(), 0, 0, 0}, {});
    const std::vector<std::string> row = Split(Split(out, '\n')[1], ',');
    EXPECT_EQ(row[0], "100 (atr)");
    EXPECT_EQ(row[3], "2272");  // last_beat
    const auto table = standard::StandardMeasureTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::optional<double> value = table[i].value(core);
        EXPECT_EQ(row[12 + i], value ? Text(*value) : "") << table[i].key;
    }
}

// A 23.5-hour annotation-only long-term record: the normal-to-normal intervals of rr, whole.
TEST(HrvCliTest, ALongTermRecordGivesItsNormalToNormalIntervals) {
    const std::string record = std::string(RITMOVA_ECG_DATA_DIR) + "/ltdb/14046";
    const auto [status, out, err] = Cli("hrv --annotator atr --nn " + record);
    EXPECT_EQ(status, 0) << err;
    ASSERT_TRUE(fuzz::IsJson(out)) << out.substr(0, 200);
    const std::size_t lines = Count(std::get<1>(Cli("rr --annotator atr --nn " + record)), "\n");
    EXPECT_GT(lines, 90000u);
    EXPECT_EQ(Count(out, "[\n{\"file\":\"14046 (atr)\","), 1u) << out.substr(0, 200);
    EXPECT_EQ(Count(out, ",\"last_beat\":" + std::to_string(lines) + ","), 1u);
    EXPECT_EQ(Count(out, "\"sdann_ms\":null"), 0u);
}

// 600 beats around 0.8 s; beats 151 and 401 missed (two intervals given as one) and one extra
// beat cutting interval 250 in two: 599 intervals read. Automatic correction splits the two
// long ones and merges the short pair back (600 analysed); the threshold method replaces
// intervals in place, so the count stays.
TEST(HrvCliTest, TheStretchCountsTheIntervalsAnalysedAfterCorrection) {
    std::vector<double> rr;
    for (int i = 0; i < 600; ++i) rr.push_back(0.8 + 0.03 * std::sin(i / 3.0));
    const double cut = rr[249];
    rr[249] = 0.4 * cut;
    rr.insert(rr.begin() + 250, 0.6 * cut);
    for (const std::size_t at : {401u, 150u}) {
        rr[at - 1] += rr[at];
        rr.erase(rr.begin() + static_cast<std::ptrdiff_t>(at));
    }
    testing::ScratchDir dir;
    const std::string file = dir.write("gaps.int", testing::Lines(rr));
    const struct {
        const char* correct;
        std::size_t analysed;
    } cases[] = {{"none", 599}, {"threshold:medium", 599}, {"auto", 600}};
    for (const auto& c : cases) {
        const auto [status, out, err] = Cli(std::string("hrv --correct ") + c.correct + " " + file);
        EXPECT_EQ(status, 0) << err;
        EXPECT_EQ(Count(out, "\"intervals\":599,\"intervals_analysed\":" +
                                 std::to_string(c.analysed) + "}"),
                  1u)
            << c.correct << ": " << out.substr(0, 400);
    }
}

TEST(HrvCliTest, AFailedFileGivesItsReasonAndTheOthersGoOn) {
    testing::ScratchDir dir;
    const std::string zero = dir.write("zero.int", "0.8\n0\n0.9\n");
    const auto [status, out, err] = Cli("hrv " + zero + " " + Real);
    EXPECT_EQ(status, 1);
    ASSERT_TRUE(fuzz::IsJson(out));
    EXPECT_EQ(Count(out, "\"error\":\"interval 2 (0 ms) is not above 0"), 1u) << out;
    EXPECT_EQ(Count(out, "\"mean_nn_ms\":"), 1u);
    EXPECT_NE(err.find("zero.int: interval 2"), std::string::npos);
}

TEST(HrvCliTest, TwoWorkersWriteWhatOneWould) {
    std::string many, single;
    for (int i = 0; i < 40; ++i) many += " " + (i % 3 == 0 ? Noisy : Real);
    for (int i = 0; i < 40; ++i) {
        const std::string file = i % 3 == 0 ? Noisy : Real;
        const std::string out = std::get<1>(Cli("hrv --format csv " + file));
        single += i == 0 ? out : out.substr(out.find('\n') + 1);
    }
    EXPECT_EQ(std::get<1>(Cli("hrv --format csv" + many)), single);
}

TEST(HrvCliTest, UsageErrorsNameTheOption) {
    for (const char* arguments :
         {"--segments 7x", "--segments 0min", "--correct threshold:huge", "--correct automatic",
          "--from -1", "--from 5 --to 1", "--range 0.3,2"}) {
        const auto [status, out, err] = Cli(std::string("hrv ") + arguments + " " + Real);
        EXPECT_EQ(status, 2) << arguments;
        EXPECT_EQ(out, "");
        const std::string option = Split(arguments, ' ')[0];
        EXPECT_NE(err.find(option == "--from" && Count(arguments, "--to") ? "--to" : option),
                  std::string::npos)
            << err;
    }
}

}  // namespace
}  // namespace ritmova
