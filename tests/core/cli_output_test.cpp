// The json and csv outputs read back whole and checked, field by field, against the
// analysis of the same files through the core.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <variant>

#include "analysis/open_command.h"
#include "analysis/recording.h"
#include "cli_run.h"
#include "common/command_failure.h"
#include "json_reader.h"
#include "markov/markov_command.h"
#include "platform/headless_window.h"
#include "spectral/band_measures.h"

namespace ritmova {
namespace {

using testing::Json;
using testing::RunCli;
using Rows = std::vector<std::vector<std::string>>;

// One file's analysis through the core, as the outputs must show it.
struct CoreAnalysis {
    AnalysisState state;
    PassValues pass;
    bool markovCompleted = false;
    ExtraMeasures extra;
    long artifacts = 0;
};

CoreAnalysis AnalyseThroughCore(const std::string& path) {
    CoreAnalysis a;
    const IntervalValues values = ReadIntervalFile(path);
    HeadlessWindow window;
    RunAnalysisPass(a.state, window, values, a.pass, PassOutput::MeasuresOnly);
    try {
        RunMarkovAnalysis(a.state);
        a.markovCompleted = true;
    } catch (const CommandFailure&) {
    }
    a.extra = ComputeExtraMeasures(values, a.state.SDNN);
    const std::vector<ArtifactRule> flags = FlagArtifacts(values);
    a.artifacts = 256 - std::count(flags.begin(), flags.end(), ArtifactRule::None);
    return a;
}

// A measure's value: absent (null), single or double precision, or a count.
using Value = std::variant<std::monostate, float, double, long>;

Value Optional(const std::optional<double>& value) {
    return value ? Value(*value) : Value();
}

// The CSV header; JSON holds h0, h1 and nakahama_index (columns 18-20) in "markov".
const std::string Header =
    "file,mean_rr,sdnn,rmssd,nn50,pnn50,vlf,lf,hf,total,lf_percent,hf_percent,lf_hf,vlf_peak,"
    "lf_peak,hf_peak,spectrum_max,poincare_r,h0,h1,nakahama_index,sd1,sd2,mean_hr,min_hr,"
    "max_hr,artifacts,error\n";

// The measures of a CSV row, in column order, as the core gives them.
std::vector<Value> Measures(const CoreAnalysis& a) {
    const AnalysisState& s = a.state;
    const TimeDomainValues& t = a.pass.timeDomain;
    const Value nakahama = a.markovCompleted ? Value(s.NakahamaIndex) : Value();
    std::vector<Value> m{s.MeanRR, s.SDNN, t.RMSSD, static_cast<long>(t.NN50), t.PNN50};
    m.insert(m.end(), {s.BandPower[1], s.BandPower[2], s.BandPower[3], s.BandPower[0]});
    m.insert(m.end(), {s.BandPercent[2], s.BandPercent[3], LfHfRatio(s)});
    m.insert(m.end(), {s.PeakFrequency[1], s.PeakFrequency[2], s.PeakFrequency[3]});
    m.insert(m.end(),
             {a.pass.SpectrumMax, Optional(a.pass.PoincareR), s.EntropyH0, s.EntropyH1, nakahama});
    m.insert(m.end(), {Optional(a.extra.sd1), Optional(a.extra.sd2), a.extra.meanHr, a.extra.minHr,
                       a.extra.maxHr, a.artifacts});
    return m;
}

// The number's text reads back to the value at the value's own precision; null when absent.
void ExpectValue(const Json& json, const Value& expected) {
    std::visit(
        [&](auto value) {
            if constexpr (std::is_same_v<decltype(value), std::monostate>) {
                EXPECT_EQ(json.kind, Json::Kind::Null);
            } else {
                decltype(value) read{};
                const char* end = json.text.data() + json.text.size();
                const bool whole = std::from_chars(json.text.data(), end, read).ptr == end;
                EXPECT_TRUE(json.kind == Json::Kind::Number && whole && read == value) << json.text;
            }
        },
        expected);
}

// The leaves of a JSON value, depth first.
void Leaves(const Json& json, std::vector<const Json*>& leaves) {
    if (json.items.empty()) leaves.push_back(&json);
    for (const Json& item : json.items) Leaves(item, leaves);
}

// CSV rows split into fields, quotes undone; the text must be CSV by RFC 4180.
Rows ReadCsv(const std::string& text) {
    EXPECT_TRUE(fuzz::IsCsv(text)) << text;
    Rows rows;
    std::vector<std::string> row(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && text[i + 1] == '"') {
            row.back() += text[++i];
        } else if (c == '"') {
            quoted = !quoted;
        } else if (quoted || (c != ',' && c != '\n')) {
            row.back() += c;
        } else if (c == ',') {
            row.emplace_back();
        } else {
            rows.push_back(std::exchange(row, std::vector<std::string>(1)));
        }
    }
    return rows;
}

// Every member of a recording's object, in order, with its value.
void ExpectObject(const Json& json, const std::string& file, const CoreAnalysis& a) {
    const AnalysisState& s = a.state;
    const std::vector<std::string> columns = ReadCsv(Header)[0];
    std::vector<std::string> names(columns.begin(), columns.begin() + 18);
    names.insert(names.end(), {"power_spectrum", "markov"});
    names.insert(names.end(), columns.begin() + 21, columns.end() - 1);
    names.push_back("units");
    EXPECT_EQ(json.names, names);
    EXPECT_EQ(json["markov"].names, ReadCsv("limits,counts,probabilities,h0,transition_counts,"
                                            "transition_probabilities,h1,nakahama_index\n")[0]);
    std::vector<Value> values = Measures(a);
    std::vector<Value> markov{s.StateLimitLow, s.StateLimitMid, s.StateLimitHigh};
    for (auto count : s.StateCount) markov.push_back(long{count});
    markov.insert(markov.end(), s.StateProbability.begin(), s.StateProbability.end());
    markov.push_back(values[17]);
    for (const auto& row : s.TransitionCount) {
        for (auto count : row) markov.push_back(long{count});
    }
    for (const auto& row : s.TransitionProbability)
        markov.insert(markov.end(), row.begin(), row.end());
    markov.insert(markov.end(), {values[18], values[19]});
    values.erase(values.begin() + 17, values.begin() + 20);
    values.insert(values.begin() + 17, markov.begin(), markov.end());
    values.insert(values.begin() + 17, s.PowerSpectrum.begin() + 1, s.PowerSpectrum.begin() + 129);
    std::vector<const Json*> leaves;
    Leaves(json, leaves);
    ASSERT_EQ(leaves.size(), values.size() + 2);
    EXPECT_EQ(leaves.front()->text, file);
    EXPECT_EQ(leaves.back()->text, "s");
    for (std::size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE("value " + std::to_string(i));
        ExpectValue(*leaves[i + 1], values[i]);
    }
}

TEST(CliOutputTest, JsonAndCsvHoldEveryFieldOfTheAnalysis) {
    testing::ScratchDir dir;
    const std::string example = testing::ExampleFile("nsr2db-nsr012.int");
    // A name with a quote, a backslash, a control byte and a byte that is not UTF-8.
    const std::string odd = dir.file("q\"b\\s\x01\xff.int");
    std::filesystem::copy_file(example, odd);
    const std::vector<std::string> files{
        example, odd,
        dir.write("flat-r.int", "1.00000012\n" + testing::Lines(testing::Constant(1.0, 255))),
        dir.write("alternating.int", testing::Lines(testing::Alternating(0.8, 0.9))),
        dir.write("bad.int", testing::Lines(testing::Constant(0.8, 9)) + "0.8\"\\\n")};
    const std::vector<std::string> names{example, dir.file("q\"b\\s\\x01\\xff.int"), files[2],
                                         files[3], files[4]};
    const std::string reason = "line 10: '0.8\"\\' is not a number";

    std::vector<std::string> arguments{"json"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    const testing::CliRun json = RunCli(arguments);
    arguments[0] = "csv";
    const testing::CliRun csv = RunCli(arguments);
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(json.err, names[4] + ": " + reason + "\n");

    const Json array = testing::ParseJson(json.out);
    const Rows rows = ReadCsv(csv.out);
    ASSERT_EQ(array.items.size(), files.size());
    ASSERT_EQ(rows.size(), files.size() + 1);
    const std::vector<std::string> header = ReadCsv(Header)[0];
    EXPECT_EQ(rows[0], header);
    for (std::size_t f = 0; f + 1 < files.size(); ++f) {
        SCOPED_TRACE(files[f]);
        ExpectObject(array.items[f], names[f], AnalyseThroughCore(files[f]));
        const auto& row = rows[f + 1];
        ASSERT_EQ(row.size(), header.size());
        EXPECT_EQ(row.front(), names[f]);
        EXPECT_EQ(row.back(), "");
        for (std::size_t c = 1; c + 1 < header.size(); ++c) {
            const Json& member = c >= 18 && c <= 20 ? array.items[f]["markov"][header[c]]
                                                    : array.items[f][header[c]];
            EXPECT_EQ(row[c], member.text) << header[c];  // empty where JSON has null
        }
    }
    const Json& failed = array.items.back();
    EXPECT_EQ(failed.names, (std::vector<std::string>{"file", "error"}));
    EXPECT_EQ(failed["error"].text, reason);
    std::vector<std::string> failedRow(header.size());
    failedRow.front() = names.back();
    failedRow.back() = reason;
    EXPECT_EQ(rows.back(), failedRow);
}

TEST(CliOutputTest, EveryWindowIsTheCsvOfItsOwnFile) {
    testing::ScratchDir dir;
    const std::string example = testing::ExampleFile("nsr2db-nsr012.int");  // 2,000 beats
    const std::string text = testing::ReadAll(example);
    const Recording recording = ParseRecording(text);
    const std::vector<ArtifactRule> flags = FlagArtifacts(recording.intervals);
    const testing::CliRun csv = RunCli({"windows", "--step", "300", "-"}, text);
    const testing::CliRun json = RunCli({"windows", example, "--format", "json", "--step", "300"});
    EXPECT_EQ(csv.status, 0);
    const Rows rows = ReadCsv(csv.out);
    const Json windows = testing::ParseJson(json.out).items.at(0);
    EXPECT_EQ(windows["beats"].text, "2000");
    EXPECT_EQ(windows["unused_beats"].text, "244");  // beats 1757-2000 after window 6
    ASSERT_EQ(rows.size(), 7u);
    ASSERT_EQ(windows["windows"].items.size(), 6u);
    std::vector<std::string> own{"csv"};
    for (std::size_t w = 0; w < 6; ++w) {  // a file of each window's 256 lines, 6 characters each
        own.push_back(dir.write("w" + std::to_string(w), text.substr(w * 300 * 7, 256 * 7)));
    }
    const testing::CliRun ownRun = RunCli(own);
    EXPECT_EQ(ownRun.status, 0);
    const Rows expected = ReadCsv(ownRun.out);
    double start = 0;
    for (std::size_t w = 0; w < 6; ++w) {
        SCOPED_TRACE("window " + std::to_string(w + 1));
        const std::size_t first = 1 + 300 * w;
        const auto& row = rows[w + 1];
        ASSERT_EQ(row.size(), expected[w + 1].size() + 4);
        const std::vector<std::string> place{"-", std::to_string(w + 1), std::to_string(first),
                                             std::to_string(first + 255)};
        EXPECT_EQ(std::vector(row.begin(), row.begin() + 4), place);
        EXPECT_EQ(std::stod(row[4]), start);
        for (std::size_t c = 1; c + 2 < expected[w + 1].size(); ++c) {
            EXPECT_EQ(row[c + 4], expected[w + 1][c]);
        }
        const auto windowFlags = std::span(flags).subspan(first - 1, 256);
        EXPECT_EQ(std::stol(row[row.size() - 2]),  // artifacts as flagged in the whole recording
                  256 - std::count(windowFlags.begin(), windowFlags.end(), ArtifactRule::None));
        const Json& object = windows["windows"].items[w];
        EXPECT_EQ(object.names[0], "window");
        for (std::size_t c = 1; c + 1 < rows[0].size(); ++c) {
            EXPECT_EQ(object[rows[0][c]].text, row[c]) << rows[0][c];
        }
        for (std::size_t i = first - 1; i < first + 299; ++i) start += recording.intervals[i];
    }
}

TEST(CliOutputTest, ArtifactsListsEveryFlaggedInterval) {
    testing::ScratchDir dir;
    // 38 beats of 0.8 s with one out of range (beat 11) and one step of more than 20 % (beat 21).
    std::vector<double> values = testing::Constant(0.8, 38);
    values[10] = 2.5;
    values[20] = 1.0;
    const std::string file = dir.write("a.int", testing::Lines(values));
    const testing::CliRun json = RunCli({"artifacts", file});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.err, file + ": warning: 5.3 % of the intervals are flagged as artifacts\n");
    const Json object = testing::ParseJson(json.out).items.at(0);
    EXPECT_EQ(object.names, (std::vector<std::string>{"file", "units", "beats", "flagged",
                                                      "percent", "intervals"}));
    EXPECT_EQ(object["intervals"].items.at(1).names,
              (std::vector<std::string>{"beat", "value", "rule"}));
    EXPECT_EQ(std::stod(object["percent"].text), 200.0 / 38);
    std::vector<const Json*> leaves;
    Leaves(object, leaves);
    std::vector<std::string> texts;
    for (const Json* leaf : leaves) texts.push_back(leaf->text);
    texts.erase(texts.begin() + 4);  // the percent
    EXPECT_EQ(texts, (std::vector<std::string>{file, "s", "38", "2", "11", "2.5", "range", "21",
                                               "1", "malik"}));
    // Under a range that holds 2.5, beat 11 is a step; 2 of 40 are not more than 5 %.
    values.insert(values.end(), {0.8, 0.8});
    const std::string longer = dir.write("b.int", testing::Lines(values));
    const testing::CliRun wider =
        RunCli({"artifacts", "--format=csv", longer, "--range", "0.3,2.6"});
    EXPECT_EQ(wider.err, "");
    EXPECT_EQ(ReadCsv(wider.out), (Rows{{"file", "beat", "value", "rule", "error"},
                                        {longer, "11", "2.5", "malik", ""},
                                        {longer, "21", "1", "malik", ""}}));
}

}  // namespace
}  // namespace ritmova
