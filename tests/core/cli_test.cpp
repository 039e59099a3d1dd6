// ritmova-cli run as a user runs it: each output read back whole and checked against the
// analysis of the same files through the core or the window, each failure by its exit status
// and the reason on standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "analysis/recording.h"
#include "analysis/window_analysis.h"
#include "output_checks.h"
#include "recording_window.h"
#include "report/report_file.h"
#include "test_data.h"
#include "ui/recording_commands.h"

namespace ritmova {
namespace {

using testing::ReadAll;
using Texts = std::vector<std::string>;
using Rows = std::vector<Texts>;

using CliRun = std::tuple<int, std::string, std::string>;  // exit status, stdout, stderr

// Runs ritmova-cli with `arguments` split at blanks, each quoted ('' stands for an empty one),
// `input` on its standard input.
CliRun Cli(const std::string& arguments, const std::string& input = "") {
    testing::ScratchDir dir;
    std::string command = RITMOVA_CLI;
    std::istringstream stream(arguments);
    for (std::string word; stream >> word;) command += word == "''" ? " ''" : " '" + word + "'";
    command += " <" + dir.write("in", input) + " >" + dir.file("out") + " 2>" + dir.file("err");
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), ReadAll(dir.file("out")), ReadAll(dir.file("err"))};
}

// Runs a shell command line in which @CLI@ stands for ritmova-cli; what it writes on standard
// output and error is kept unless the line sends it elsewhere itself.
CliRun Shell(std::string line) {
    testing::ScratchDir dir;
    for (std::size_t at; (at = line.find("@CLI@")) != std::string::npos;) {
        line.replace(at, 5, RITMOVA_CLI);
    }
    const std::string command = "(" + line + ") >" + dir.file("out") + " 2>" + dir.file("err");
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), ReadAll(dir.file("out")), ReadAll(dir.file("err"))};
}

const std::string Example = testing::ExampleFile("nsr2db-nsr012.int");  // lines as 0.8828
const std::string MissingFile = "/nonexistent/missing.int";

const std::string CsvHeader =
    "file,mean_rr,sdnn,rmssd,nn50,pnn50,vlf,lf,hf,total,lf_percent,hf_percent,lf_hf,vlf_peak,"
    "lf_peak,hf_peak,spectrum_max,poincare_r,h0,h1,nakahama_index,sd1,sd2,mean_hr,min_hr,"
    "max_hr,artifacts,error\n";

// A value's text as the outputs write it: the shortest that reads back at its own precision.
template <typename T>
std::string Text(T value) {
    char buffer[32];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr};
}

std::string Text(const std::optional<double>& value) {
    return value ? Text(*value) : "";
}

// A top-level item of a JSON array: the texts of its leaves (strings unescaped, null empty as in
// CSV) and the members they are under (an array's items under its name), once for a run.
struct JsonItem {
    Texts names, texts;
};

std::vector<JsonItem> JsonItems(std::string_view json) {
    if (!fuzz::IsJson(json)) throw std::runtime_error("not JSON: " + std::string(json));
    std::vector<JsonItem> items;
    Texts names{""};  // the member each open array or object is under
    const auto leaf = [&](const std::string& text) {
        items.back().texts.push_back(text);
        Texts& members = items.back().names;
        if (members.empty() || members.back() != names.back()) members.push_back(names.back());
    };
    for (std::size_t at = 0; at < json.size(); ++at) {
        const char c = json[at];
        if (c == '{' || c == '[') {
            if (names.size() == 2) items.emplace_back();
            names.push_back(names.back());
        } else if (c == '}' || c == ']') {
            names.pop_back();
        } else if (c == '"') {
            std::string text;
            for (++at; json[at] != '"'; ++at) {
                if (json[at] == '\\') ++at;  // only \" and \\: names hold no raw control byte
                text += json[at];
            }
            if (json[at + 1] == ':') names.back() = text;
            if (json[at + 1] != ':') leaf(text);
        } else if (std::string_view(",: \n").find(c) == std::string_view::npos) {
            const std::size_t end = json.find_first_of(",]}\n", at);
            leaf(c == 'n' ? "" : std::string(json, at, end - at));
            at = end - 1;
        }
    }
    return items;
}

// CSV rows split into fields, quotes undone; the text must be CSV by RFC 4180.
Rows ReadCsv(const std::string& text) {
    EXPECT_TRUE(fuzz::IsCsv(text)) << text;
    Rows rows{Texts(1)};
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') quoted = !quoted;
        if (c == '"' && quoted && i > 0 && text[i - 1] == '"') rows.back().back() += c;  // ""
        if (c != '"' && (quoted || (c != ',' && c != '\n'))) rows.back().back() += c;
        if (c == ',' && !quoted) rows.back().emplace_back();
        if (c == '\n' && !quoted) rows.emplace_back(1);
    }
    rows.pop_back();
    return rows;
}

// `leading` fields, the rest of a CSV row of `size` fields empty but the last: `reason`.
Texts FailedRow(Texts leading, std::size_t size, const std::string& reason) {
    leading.resize(size - 1);
    leading.push_back(reason);
    return leading;
}

// A file's CSV row and JSON item texts as the core's analysis of its first 256 values gives them.
std::pair<Texts, Texts> ThroughCore(const std::string& path, const std::string& name) {
    PassResults p;
    const IntervalValues values = ReadIntervalFile(path);
    AnalysePass(values, p);
    MarkovResult m;
    AnalyseMarkov(p.beats(p.seriesAsRead), p.meanRR, p.timeDomain.sdnn, m);
    SdAndHeartRates extra;  // no heart rates for an interval of 0
    const bool rates = testing::FailureReason(
                           [&] { extra = ComputeSdAndHeartRates(values, p.timeDomain.sdnn); }, "")
                           .empty();
    const std::vector<ArtifactRule> flags = FlagArtifacts(values);
    const TimeDomain& t = p.timeDomain;
    const BandMeasures& b = p.bands;
    Texts row{name, Text(p.meanRR), Text(t.sdnn), Text(t.rmssd), Text(t.nn50), Text(t.pnn50)};
    for (int band : {1, 2, 3, 0}) row.push_back(Text(b.power[std::size_t(band)]));
    row.insert(row.end(), {Text(b.percent[2]), Text(b.percent[3]), Text(LfHfRatio(b))});
    for (int band : {1, 2, 3}) row.push_back(Text(b.peakFrequency[std::size_t(band)]));
    row.insert(row.end(),
               {Text(p.spectrumMax.value), Text(p.poincareR), Text(m.h0), Text(m.h1),
                m.nakahamaIndex ? Text(*m.nakahamaIndex) : "", Text(extra.sd1), Text(extra.sd2),
                Text(extra.meanHr), Text(extra.minHr), Text(extra.maxHr),
                Text(256 - std::count(flags.begin(), flags.end(), ArtifactRule::None)), ""});
    if (!rates) std::fill(row.end() - 7, row.end() - 2, "");
    Texts json(row.begin(), row.begin() + 18);  // the spectrum and the Markov tables follow
    const auto append = [&json](const auto& items) {
        for (auto value : items) json.push_back(Text(value));
    };
    append(std::span(p.powerSpectrum).subspan(1, 128));
    append(std::array{m.limitLow, m.limitMid, m.limitHigh});
    append(m.counts);
    append(m.probabilities);
    json.push_back(row[18]);
    for (const auto& counts : m.transitionCounts) append(counts);
    for (const auto& probabilities : m.transitionProbabilities) append(probabilities);
    json.insert(json.end(), row.begin() + 19, row.end() - 1);
    json.push_back("s");
    return {row, json};
}

TEST(CliTest, JsonAndCsvHoldEveryFieldOfTheAnalysis) {
    testing::ScratchDir dir;
    // A name with a quote, a backslash, a control byte and a byte that is not UTF-8.
    const std::string odd = dir.write("q\"b\\s\x01\xff.int", ReadAll(Example));
    const std::string bad =
        dir.write("bad.int", testing::Lines(testing::Constant(0.8, 9)) + "0.8\"\\\n");
    // The failed file first: nothing of it may stay for the files after it.
    const Texts files{
        bad, Example, odd,
        dir.write("flat-r.int", "1.00000012\n" + testing::Lines(testing::Constant(1.0, 255))),
        dir.write("alternating.int", testing::Lines(testing::Alternating(0.8, 0.9)))};
    const Texts names{bad, Example, dir.file("q\"b\\s\\x01\\xff.int"), files[3], files[4]};
    const std::string reason = "line 10: '0.8\"\\' is not a number";
    std::string list;
    for (const std::string& file : files) list += " " + file;
    const auto [jsonStatus, json, jsonErr] = Cli("json" + list);
    const auto [csvStatus, csv, csvErr] = Cli("csv --units auto" + list);  // each read whole
    EXPECT_EQ(jsonStatus + csvStatus, 2);
    EXPECT_EQ(jsonErr, bad + ": " + reason + "\n");
    std::string notes;  // none for the file that could not be read
    for (std::size_t f = 1; f < files.size(); ++f)
        notes += names[f] + ": values taken as seconds (--units auto)\n";
    EXPECT_EQ(csvErr, jsonErr + notes);

    const std::vector<JsonItem> items = JsonItems(json);
    const Rows rows = ReadCsv(csv);
    const Texts header = ReadCsv(CsvHeader)[0];
    EXPECT_EQ(rows[0], header);
    Texts members(header.begin(), header.begin() + 18);
    members.insert(members.end(),
                   {"power_spectrum", "limits", "counts", "probabilities", "h0",
                    "transition_counts", "transition_probabilities", "h1", "nakahama_index"});
    members.insert(members.end(), header.begin() + 21, header.end() - 1);
    members.push_back("units");
    for (std::size_t f = 1; f < files.size(); ++f) {
        SCOPED_TRACE(files[f]);
        const auto [row, object] = ThroughCore(files[f], names[f]);
        EXPECT_EQ(rows.at(f + 1), row);
        EXPECT_EQ(items.at(f).texts, object);
        EXPECT_EQ(items.at(f).names, members);
    }
    EXPECT_EQ(items.at(0).names, (Texts{"file", "error"}));
    EXPECT_EQ(items.at(0).texts, (Texts{bad, reason}));
    EXPECT_EQ(rows.at(1), FailedRow({bad}, header.size(), reason));
}

TEST(CliTest, EveryWindowIsAnalysedAsAFileOfItsOwnBeats) {
    testing::ScratchDir dir;
    // The example's 2,000 beats in lines of 7 characters; beat 301, window 2's first, is 0.
    const std::string text = ReadAll(Example).replace(300 * 7, 6, "0.0000");
    const std::string file = dir.write("r.int", text);
    EXPECT_EQ(std::get<0>(Cli("windows " + file)), 0);
    const std::string flat = dir.write("zero.int", testing::Lines(testing::Constant(0)));
    const std::string shortFile = dir.write("short.int", "0.8\n");
    const std::string noPower = "no power in the LF and HF bands";
    const std::string tooShort = "only 1 values, 256 needed";
    const auto [csvStatus, csv, csvErr] =
        Cli("windows --step 300 - " + flat + " " + shortFile, text);
    const auto [jsonStatus, json, jsonErr] =
        Cli("windows " + file + " --format json " + flat + " --step 300 " + shortFile);
    EXPECT_EQ(csvStatus + jsonStatus, 2);
    EXPECT_EQ(csvErr, flat + ": " + noPower + "\n" + shortFile + ": " + tooShort + "\n");
    const Rows rows = ReadCsv(csv);
    const Recording recording = ParseRecording(text);
    const std::vector<ArtifactRule> flags = FlagArtifacts(recording.intervals);
    Texts object{file, "2000", "s", "300", "244"};  // beats 1757-2000 after window 6 unused
    Texts members{"file", "beats", "units", "step", "unused_beats"};
    double start = 0;
    for (std::size_t w = 0; w < 6; ++w) {
        SCOPED_TRACE("window " + std::to_string(w + 1));
        const std::size_t first = 1 + 300 * w;
        const std::string own = dir.write("w", text.substr((first - 1) * 7, 256 * 7));
        Texts row = ThroughCore(own, "-").first;
        row.insert(row.begin() + 1, {std::to_string(w + 1), std::to_string(first),
                                     std::to_string(first + 255), Text(start)});
        const auto windowFlags = std::span(flags).subspan(first - 1, 256);  // of the whole
        row.end()[-2] =
            Text(256 - std::count(windowFlags.begin(), windowFlags.end(), ArtifactRule::None));
        EXPECT_EQ(rows.at(w + 1), row);
        object.insert(object.end(), row.begin() + 1, row.end() - 1);
        members.insert(members.end(), rows[0].begin() + 1, rows[0].end() - 1);
        for (std::size_t i = first - 1; i < first + 299; ++i) start += recording.intervals[i];
    }
    EXPECT_EQ(rows.at(7), FailedRow({flat, "1", "1", "256", "0"}, rows[0].size(), noPower));
    EXPECT_EQ(rows.at(8), FailedRow({shortFile}, rows[0].size(), tooShort));
    const std::vector<JsonItem> items = JsonItems(json);
    EXPECT_EQ(items.at(0).texts, object);
    EXPECT_EQ(items.at(0).names, members);
    EXPECT_EQ(items.at(1).texts,
              (Texts{flat, "256", "s", "300", "0", "1", "1", "256", "0", noPower}));
    EXPECT_EQ(items.at(2).texts, (Texts{shortFile, tooShort}));
}

TEST(CliTest, ArtifactsListsEveryFlaggedInterval) {
    testing::ScratchDir dir;
    // 38 beats of 0.8 s with one out of range (beat 11) and one step of more than 20 % (beat 21).
    std::vector<double> values = testing::Constant(0.8, 38);
    values[10] = 2.5;
    values[20] = 1.0;
    const std::string file = dir.write("a.int", testing::Lines(values));
    const auto [status, json, err] = Cli("artifacts " + file + " " + file);  // each in full
    EXPECT_EQ(status, 0);
    const std::string warning =
        file + ": warning: 5.3 % of the intervals are flagged as artifacts\n";
    EXPECT_EQ(err, warning + warning);
    const std::vector<JsonItem> items = JsonItems(json);
    EXPECT_EQ(items.at(1).texts, items.at(0).texts);
    EXPECT_EQ(items.at(0).names, (Texts{"file", "units", "beats", "flagged", "percent", "beat",
                                        "value", "rule", "beat", "value", "rule"}));
    EXPECT_EQ(items.at(0).texts, (Texts{file, "s", "38", "2", Text(200.0 / 38), "11", "2.5",
                                        "range", "21", "1", "malik"}));
    // Under a range that holds 2.5, beat 11 is a step; 2 of 40 are not more than 5 %.
    values.insert(values.end(), {0.8, 0.8});
    const std::string longer = dir.write("b.int", testing::Lines(values));
    const auto [csvStatus, csv, csvErr] =
        Cli("artifacts --format=csv --units auto " + longer + " --range 0.3,2.6 " + MissingFile);
    EXPECT_EQ(csvStatus, 1);
    EXPECT_EQ(csvErr, longer + ": values taken as seconds (--units auto)\n" + MissingFile + ": " +
                          std::strerror(ENOENT) + "\n");
    EXPECT_EQ(ReadCsv(csv), (Rows{{"file", "beat", "value", "rule", "error"},
                                  {longer, "11", "2.5", "malik", ""},
                                  {longer, "21", "1", "malik", ""},
                                  {MissingFile, "", "", "", std::strerror(ENOENT)}}));
}

TEST(CliTest, ReportSummaryAndMarkovAreWhatTheWindowSavesAndShows) {
    testing::ScratchDir dir;
    WindowState state;
    testing::RecordingWindow window;
    window.choose(Example);
    RecordingCommands(state, window).open(Units::Seconds);
    const std::string saved = dir.file("saved.txt");
    WriteReportFile(saved, state.reportText);
    EXPECT_EQ(Cli("report " + Example), (CliRun{0, ReadAll(saved), ""}));
    EXPECT_EQ(Cli("summary --start 1 --units auto " + Example),
              (CliRun{0, window.caption(LabelId::Summary),
                      Example + ": values taken as seconds (--units auto)\n"}));
    const std::string out = dir.write("out.txt", "old");
    const std::string shortFile = dir.write("short.int", "0.8\n");
    EXPECT_EQ(Cli("report --output " + out + " " + shortFile),
              (CliRun{1, "", shortFile + ": only 1 values, 256 needed\n"}));
    EXPECT_EQ(ReadAll(out), "old");
    EXPECT_EQ(Cli("report " + Example + " -o " + out), (CliRun{0, "", ""}));
    EXPECT_EQ(ReadAll(out), ReadAll(saved));
    EXPECT_EQ(Cli("report " + Example + " -o " + out + "/x"),
              (CliRun{1, "", "cannot write " + out + "/x: " + std::strerror(ENOTDIR) + "\n"}));

    const std::string markov = std::get<1>(Cli("markov " + Example));  // no final line break
    EXPECT_EQ(markov.substr(0, 28), "Zero-memory Markov process\r\n");
    EXPECT_EQ(markov.substr(markov.size() - 21), "Nakahama index: 0.350");
    const std::string flat = dir.write("flat.int", testing::Lines(testing::Constant(0.8)));
    EXPECT_EQ(Cli("markov " + flat),
              (CliRun{1, "",
                      flat + ": no variability: all beats fall in one state, the Nakahama "
                             "index is undefined\n"}));
}

TEST(CliTest, AUsageErrorNamesTheCulpritThenShowsTheUsageThatHelpShows) {
    // Cases "the culprit the message names: the arguments", F standing for a file.
    std::istringstream cases(
        "frobnicate: frobnicate F|subcommand: |FILE: json|--bogus: csv --bogus F|"
        "--units: csv --units min F|--step: windows --step 0 F|--start: summary --start 0 F|"
        "--start: json --start 1x F|--start: windows --start 2 F|--column: csv --column 0 F|"
        "LOW must be below HIGH: artifacts --range 2,1 F|--range: artifacts --range 2 F|"
        "give two numbers, LOW,HIGH: artifacts --range ,2 F|"
        "give two numbers, LOW,HIGH: artifacts --range 0.5, F|"
        "HIGH must be below 1e30: csv --range 0.3,1e30 F|LOW must be above 0: csv --range 0,1 F|"
        "--format: windows --format xml F|json does not take the option -o: json -o x F|"
        "summary does not take the option --step: summary --step 1 F|"
        "report does not take the option --format: report F --format csv|"
        "not an empty one: report -o '' F|FILE: report /dev/null F|"
        "FILE: summary F F|standard input is read once: csv - F -|"
        "standard input is read once: windows - -");
    const auto [helpStatus, help, helpErr] = Cli("csv --help");
    EXPECT_EQ(helpStatus, 0);
    for (std::string arguments; std::getline(cases, arguments, '|');) {
        SCOPED_TRACE(arguments);
        const std::string culprit = arguments.substr(0, arguments.find(": "));
        arguments.erase(0, culprit.size() + 2);
        if (arguments.ends_with(" F")) arguments.replace(arguments.size() - 1, 1, Example);
        const auto [status, out, err] = Cli(arguments);
        EXPECT_EQ(status, 2);
        EXPECT_EQ(out, "");
        EXPECT_NE(err.substr(0, err.find('\n')).find(culprit), std::string::npos) << err;
        EXPECT_EQ(err.substr(err.find('\n') + 1), help);
    }
    EXPECT_EQ(std::get<1>(Cli("--version")).substr(0, 12), "ritmova-cli ");
}

TEST(CliTest, StartAnalysesTheWindowFromThatBeatAndNamesIt) {
    testing::ScratchDir dir;
    const std::string window = dir.write("w.int", ReadAll(Example).substr(256 * 7, 256 * 7));
    std::string named = std::get<1>(Cli("summary " + window));
    named.replace(named.find(window), window.size(), Example + " (beats 257-512)");
    EXPECT_EQ(std::get<1>(Cli("summary --start 257 " + Example)), named);
    const auto [status, out, err] = Cli("csv --start 1745 " + Example + " " + window);
    EXPECT_EQ(status, 1);  // the example's beats 1745-2000 measured, the window's file too short
    EXPECT_EQ(err, window + ": beat 1745 is beyond the recording's 256 beats\n");
}

// A batch of more files than the tool may hold open at once: each file is closed when read.
TEST(CliTest, ManyFilesInOneBatchAreEachClosed) {
    testing::ScratchDir dir;
    std::string command = "ulimit -n 64 && " + std::string(RITMOVA_CLI) + " csv";
    Rows expected = ReadCsv(CsvHeader);
    for (int i = 0; i < 100; ++i) {
        const std::string file = dir.write(std::to_string(i) + ".int", "x\n");
        command += " " + file;
        expected.push_back(FailedRow({file}, expected[0].size(), "line 1: 'x' is not a number"));
    }
    const std::string out = dir.file("out");
    EXPECT_EQ(WEXITSTATUS(std::system((command + " >" + out + " 2>/dev/null").c_str())), 1);
    EXPECT_EQ(ReadCsv(ReadAll(out)), expected);
}

// A name of control bytes, a line end, a direction override and a byte that is not UTF-8
// keeps every text's lines, as SafeText writes it; in CSV, a name that a spreadsheet would
// take for a formula is text.
TEST(CliTest, FileNamesAreQuotedSafelyInEveryText) {
    testing::ScratchDir dir;
    const std::string odd = dir.write("a\nb\x1b[31m\xe2\x80\xae\xff.int", ReadAll(Example));
    const std::string shown = dir.file("a\\x0ab\\x1b[31m\\xe2\\x80\\xae\\xff.int");
    const auto [status, summary, err] = Shell("@CLI@ summary '" + odd + "'");
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(fuzz::IsTextOfLines(summary, 12, false)) << summary;
    EXPECT_TRUE(summary.substr(0, summary.find('\r')).ends_with("    " + shown));
    EXPECT_EQ(Shell("@CLI@ report -o '" + odd + ".txt' '" + odd + "'"), (CliRun{0, "", ""}));
    const std::string report = ReadAll(odd + ".txt");
    EXPECT_TRUE(fuzz::IsTextOfLines(report, 17, true)) << report;
    EXPECT_EQ(report.substr(0, report.find('\r')), shown);
    for (const char* name : {"=1+1.int", "@x.int", "+1.int"}) dir.write(name, ReadAll(Example));
    const Rows rows = ReadCsv(std::get<1>(
        Shell("cd " + dir.file("") + " && @CLI@ csv =1+1.int @x.int +1.int - <+1.int")));
    EXPECT_EQ((Texts{rows.at(1)[0], rows.at(2)[0], rows.at(3)[0], rows.at(4)[0]}),
              (Texts{"'=1+1.int", "'@x.int", "'+1.int", "-"}));
    EXPECT_EQ(Texts(rows[3].begin() + 1, rows[3].end()), Texts(rows[4].begin() + 1, rows[4].end()));
}

// A write to standard output that fails (a full disk, a closed output) is told, with status 1.
TEST(CliTest, WriteErrorsOnStandardOutputAreToldWithStatus1) {
    const std::string full =
        "ritmova-cli: write error: " + std::string(std::strerror(ENOSPC)) + "\n";
    for (const char* command :
         {"json", "csv", "windows", "artifacts", "summary", "report", "markov"}) {
        EXPECT_EQ(Shell("@CLI@ " + std::string(command) + " " + Example + " >/dev/full"),
                  (CliRun{1, "", full}))
            << command;
    }
    EXPECT_EQ(Shell("@CLI@ --help >/dev/full"), (CliRun{1, "", full}));
    EXPECT_EQ(
        Shell("@CLI@ csv " + Example + " >&-"),
        (CliRun{1, "", "ritmova-cli: write error: " + std::string(std::strerror(EBADF)) + "\n"}));
}

// report -o never replaces the recording it reads, by its name or as standard input; a file
// size limit fails the save with its reason and leaves no temporary file.
TEST(CliTest, ReportNeverReplacesItsRecordingNorLeavesATemporary) {
    testing::ScratchDir dir;
    const std::string in = dir.write("in.int", ReadAll(Example)), out = dir.file("out.txt");
    const std::string refused = "cannot replace " + in + ": it is the recording analysed\n";
    EXPECT_EQ(Cli("report -o " + in + " " + in), (CliRun{1, "", refused}));
    EXPECT_EQ(Shell("@CLI@ report -o " + in + " - <" + in), (CliRun{1, "", refused}));
    EXPECT_EQ(ReadAll(in), ReadAll(Example));
    EXPECT_EQ(
        Shell("sh -c 'ulimit -f 0; @CLI@ report -o " + out + " " + in + "; echo $?' 2>&1 | cat"),
        (CliRun{0, "cannot write " + out + ": " + std::strerror(EFBIG) + "\n1\n", ""}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("")),
                            std::filesystem::directory_iterator()),
              1);
}

// The example in milliseconds: "0.8828" as "0882.8", and as the column of a table.
TEST(CliTest, MillisecondsHeadersAndColumnsGiveTheSameMeasures) {
    testing::ScratchDir dir;
    std::istringstream example(ReadAll(Example));
    std::string ms;
    std::string table = "time;rr (ms)\n";
    for (std::string line; std::getline(example, line);) {
        ms += line.erase(1, 1).insert(4, ".") + "\n";
        table += "0:00;" + line + "\n";
    }
    const std::string msFile = dir.write("ms.int", ms);
    const std::string tableFile = dir.write("table.csv", table);
    // A Polar HRM file behind a byte order mark and blank lines.
    const std::string polar =
        dir.write("polar.hrm", "\xEF\xBB\xBF\r\n \n[Params]\nVersion=106\n\n[HRData]\n" + ms);
    const auto [status, csv, err] = Cli("csv --units auto " + Example + " " + msFile + " " + polar);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(err, Example + ": values taken as seconds (--units auto)\n" + msFile +
                       ": values taken as milliseconds (--units auto)\n" + polar +
                       ": values taken as milliseconds (--units auto)\n");
    EXPECT_EQ(std::get<0>(Cli("summary " + polar)), 0);  // read whole at the default options too
    const std::string columns =
        std::get<1>(Cli("csv --units ms --skip-lines 1 --column 2 " + tableFile));
    const Rows rows = ReadCsv(csv + columns.substr(CsvHeader.size()));
    for (std::size_t r = 2; r <= 4; ++r)
        EXPECT_EQ(Texts(rows.at(r).begin() + 1, rows.at(r).end()),
                  Texts(rows.at(1).begin() + 1, rows.at(1).end()));
    const Texts json = JsonItems(std::get<1>(Cli("json --units ms -", ms))).at(0).texts;
    EXPECT_EQ(json.front() + json.back(), "-ms");
}

}  // namespace
}  // namespace ritmova
