// The json and csv outputs read back whole and checked, field by field, against the
// analysis of the same files through the core.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
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

// One file's analysis through the core, as the outputs must show it.
struct CoreAnalysis {
    AnalysisState state;
    PassValues pass;
    bool markovCompleted = false;
    ExtraMeasures extra;
    std::size_t artifacts = 0;
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
    a.artifacts = static_cast<std::size_t>(std::count_if(
        flags.begin(), flags.end(), [](ArtifactRule r) { return r != ArtifactRule::None; }));
    return a;
}

// A measure's value: absent (null), single or double precision, or a count.
using Value = std::variant<std::monostate, float, double, long>;

Value Optional(const std::optional<double>& value) {
    return value ? Value(*value) : Value();
}

// The flat measures of a JSON object (outside "markov") and CSV row, in column order.
const std::vector<std::string> FlatNames{"mean_rr",    "sdnn",       "rmssd",      "nn50",
                                         "pnn50",      "vlf",        "lf",         "hf",
                                         "total",      "lf_percent", "hf_percent", "lf_hf",
                                         "vlf_peak",   "lf_peak",    "hf_peak",    "spectrum_max",
                                         "poincare_r", "h0",         "h1",         "nakahama_index",
                                         "sd1",        "sd2",        "mean_hr",    "min_hr",
                                         "max_hr",     "artifacts"};

std::vector<Value> FlatMeasures(const CoreAnalysis& a) {
    const AnalysisState& s = a.state;
    return {s.MeanRR,
            s.SDNN,
            a.pass.timeDomain.RMSSD,
            long{a.pass.timeDomain.NN50},
            a.pass.timeDomain.PNN50,
            s.BandPower[1],
            s.BandPower[2],
            s.BandPower[3],
            s.BandPower[0],
            s.BandPercent[2],
            s.BandPercent[3],
            LfHfRatio(s),
            s.PeakFrequency[1],
            s.PeakFrequency[2],
            s.PeakFrequency[3],
            a.pass.SpectrumMax,
            Optional(a.pass.PoincareR),
            s.EntropyH0,
            s.EntropyH1,
            a.markovCompleted ? Value(s.NakahamaIndex) : Value(),
            Optional(a.extra.sd1),
            Optional(a.extra.sd2),
            a.extra.meanHr,
            a.extra.minHr,
            a.extra.maxHr,
            static_cast<long>(a.artifacts)};
}

// The number's text reads back to the value at the value's own precision; null when absent.
void ExpectValue(const Json& json, const Value& expected, const std::string& name) {
    std::visit(
        [&](auto value) {
            if constexpr (std::is_same_v<decltype(value), std::monostate>) {
                EXPECT_EQ(json.kind, Json::Kind::Null) << name;
            } else {
                ASSERT_EQ(json.kind, Json::Kind::Number) << name;
                decltype(value) read{};
                const char* end = json.text.data() + json.text.size();
                EXPECT_EQ(std::from_chars(json.text.data(), end, read).ptr, end) << name;
                EXPECT_EQ(read, value) << name << " = " << json.text;
            }
        },
        expected);
}

template <typename Range>
void ExpectArray(const Json& json, const Range& expected, const std::string& name) {
    ASSERT_EQ(json.items.size(), std::size(expected)) << name;
    std::size_t i = 0;
    for (const auto& value : expected) {
        using T = std::decay_t<decltype(value)>;
        const Value v = std::is_integral_v<T> ? Value(static_cast<long>(value)) : Value(value);
        ExpectValue(json.items[i++], v, name);
    }
}

void ExpectMarkov(const Json& json, const CoreAnalysis& a) {
    const AnalysisState& s = a.state;
    EXPECT_EQ(json.names, (std::vector<std::string>{"limits", "counts", "probabilities", "h0",
                                                    "transition_counts", "transition_probabilities",
                                                    "h1", "nakahama_index"}));
    ExpectArray(json["limits"], std::array{s.StateLimitLow, s.StateLimitMid, s.StateLimitHigh},
                "limits");
    ExpectArray(json["counts"], s.StateCount, "counts");
    ExpectArray(json["probabilities"], s.StateProbability, "probabilities");
    ExpectValue(json["h0"], s.EntropyH0, "h0");
    ExpectValue(json["h1"], s.EntropyH1, "h1");
    ExpectValue(json["nakahama_index"], a.markovCompleted ? Value(s.NakahamaIndex) : Value(),
                "nakahama_index");
    ASSERT_EQ(json["transition_counts"].items.size(), 4u);
    ASSERT_EQ(json["transition_probabilities"].items.size(), 4u);
    for (std::size_t from = 0; from < 4; ++from) {
        ExpectArray(json["transition_counts"].items[from], s.TransitionCount[from], "counts");
        ExpectArray(json["transition_probabilities"].items[from], s.TransitionProbability[from],
                    "probabilities");
    }
}

// Every member of a recording's object, in order, with its value.
void ExpectObject(const Json& json, const std::string& name, const CoreAnalysis& a) {
    std::vector<std::string> names{"file"};
    const std::vector<Value> flat = FlatMeasures(a);
    for (std::size_t i = 0; i < flat.size(); ++i) {
        if (i == 17) names.insert(names.end(), {"power_spectrum", "markov"});
        if (i < 17 || i > 19) names.push_back(FlatNames[i]);
    }
    names.push_back("units");
    EXPECT_EQ(json.names, names);
    EXPECT_EQ(json["file"].text, name);
    for (std::size_t i = 0; i < flat.size(); ++i) {
        if (i < 17 || i > 19) ExpectValue(json[FlatNames[i]], flat[i], FlatNames[i]);
    }
    ExpectArray(json["power_spectrum"], std::span(a.state.PowerSpectrum).subspan(1, 128),
                "power_spectrum");
    ExpectMarkov(json["markov"], a);
    EXPECT_EQ(json["units"].text, "s");
}

// CSV rows split into fields, quotes undone.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::vector<std::string>& row = rows.back();
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            row.back() += text[++i];
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            row.emplace_back();
        } else if (!quoted && c == '\n') {
            rows.emplace_back(1);
        } else {
            row.back() += c;
        }
    }
    EXPECT_EQ(rows.back(), std::vector<std::string>(1));  // the text ends with a line end
    rows.pop_back();
    return rows;
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
    const testing::CliRun json = testing::RunCli(arguments);
    arguments[0] = "csv";
    const testing::CliRun csv = testing::RunCli(arguments);
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(json.err, names[4] + ": " + reason + "\n");
    ASSERT_TRUE(testing::ValidUtf8(json.out) && testing::ValidUtf8(csv.out));

    const Json array = testing::ParseJson(json.out);
    const auto rows = ReadCsv(csv.out);
    ASSERT_EQ(array.items.size(), files.size());
    ASSERT_EQ(rows.size(), files.size() + 1);
    std::vector<std::string> header{"file"};
    header.insert(header.end(), FlatNames.begin(), FlatNames.end());
    header.push_back("error");
    EXPECT_EQ(rows[0], header);
    for (std::size_t f = 0; f + 1 < files.size(); ++f) {
        const CoreAnalysis a = AnalyseThroughCore(files[f]);
        ExpectObject(array.items[f], names[f], a);
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

    const testing::CliRun good = testing::RunCli({"csv", example, files[3]});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");
}

// Lines first..first+count-1 (1-based) of text with one value per line.
std::string LinesOf(const std::string& text, std::size_t first, std::size_t count) {
    std::size_t begin = 0;
    for (std::size_t line = 1; line < first; ++line) begin = text.find('\n', begin) + 1;
    std::size_t end = begin;
    for (std::size_t line = 0; line < count; ++line) end = text.find('\n', end) + 1;
    return text.substr(begin, end - begin);
}

TEST(CliOutputTest, EveryWindowIsTheCsvOfItsOwnFile) {
    testing::ScratchDir dir;
    const std::string example = testing::ExampleFile("nsr2db-nsr012.int");  // 2,000 beats
    const std::string text = testing::ReadAll(example);
    const Recording recording = ParseRecording(text);
    const std::vector<ArtifactRule> flags = FlagArtifacts(recording.intervals);
    const testing::CliRun csv = testing::RunCli({"windows", "--step", "300", example});
    const testing::CliRun json =
        testing::RunCli({"windows", example, "--format", "json", "--step", "300"});
    EXPECT_EQ(csv.status, 0);
    const auto rows = ReadCsv(csv.out);
    const Json windows = testing::ParseJson(json.out).items.at(0);
    EXPECT_EQ(windows["beats"].text, "2000");
    EXPECT_EQ(windows["unused_beats"].text, "244");  // beats 1757-2000 after window 6
    ASSERT_EQ(rows.size(), 7u);
    ASSERT_EQ(windows["windows"].items.size(), 6u);
    double start = 0;
    for (std::size_t w = 0; w < 6; ++w) {
        const std::size_t first = 1 + 300 * w;
        const std::string own = dir.write("w.int", LinesOf(text, first, 256));
        const auto expected = ReadCsv(testing::RunCli({"csv", own}).out).at(1);
        const auto& row = rows[w + 1];
        ASSERT_EQ(row.size(), expected.size() + 4);
        const std::vector<std::string> place{example, std::to_string(w + 1), std::to_string(first),
                                             std::to_string(first + 255)};
        EXPECT_EQ(std::vector(row.begin(), row.begin() + 4), place);
        EXPECT_EQ(std::stod(row[4]), start);
        for (std::size_t c = 1; c + 2 < expected.size(); ++c) EXPECT_EQ(row[c + 4], expected[c]);
        const auto windowFlags = std::span(flags).subspan(first - 1, 256);
        EXPECT_EQ(std::stoul(row[row.size() - 2]),  // artifacts as flagged in the whole recording
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
    const testing::CliRun json = testing::RunCli({"artifacts", file});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.err, file + ": warning: 5.3 % of the intervals are flagged as artifacts\n");
    const Json object = testing::ParseJson(json.out).items.at(0);
    EXPECT_EQ(object.names, (std::vector<std::string>{"file", "units", "beats", "flagged",
                                                      "percent", "intervals"}));
    EXPECT_EQ(object["beats"].text, "38");
    EXPECT_EQ(object["flagged"].text, "2");
    EXPECT_EQ(std::stod(object["percent"].text), 200.0 / 38);
    const std::vector<std::vector<std::string>> flagged{{file, "11", "2.5", "range", ""},
                                                        {file, "21", "1", "malik", ""}};
    for (std::size_t i = 0; i < 2; ++i) {
        const Json& interval = object["intervals"].items.at(i);
        EXPECT_EQ(interval["beat"].text, flagged[i][1]);
        EXPECT_EQ(interval["value"].text, flagged[i][2]);
        EXPECT_EQ(interval["rule"].text, flagged[i][3]);
    }
    const auto rows = ReadCsv(testing::RunCli({"artifacts", "--format", "csv", file}).out);
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{
                        {"file", "beat", "value", "rule", "error"}, flagged[0], flagged[1]}));
    values.insert(values.end(), {0.8, 0.8});  // 2 of 40: not more than 5 %
    const std::string longer = dir.write("b.int", testing::Lines(values));
    const testing::CliRun wider =
        testing::RunCli({"artifacts", "--format=csv", longer, "--range", "0.3,2.6"});
    EXPECT_EQ(wider.err, "");
    EXPECT_EQ(ReadCsv(wider.out).at(1),
              (std::vector<std::string>{longer, "11", "2.5", "malik", ""}));
}

}  // namespace
}  // namespace ritmova
