#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "analysis/open_command.h"
#include "cli_run.h"
#include "recording_window.h"
#include "report/results_text.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::Lines;

using testing::CliRun;

// Runs ritmova-cli with `arguments` split at blanks.
CliRun Cli(const std::string& arguments, const std::string& input = "") {
    std::vector<std::string> words;
    std::istringstream stream(arguments);
    for (std::string word; stream >> word;) words.push_back(word);
    return testing::RunCli(words, input);
}

const std::string Example = testing::ExampleFile("nsr2db-nsr012.int");

TEST(CliTest, ReportIsExactlyWhatSaveResultsWrites) {
    testing::ScratchDir dir;
    AnalysisState state;
    testing::RecordingWindow window;
    window.choose(Example);
    PassValues pass;
    OpenCommand(state, window, pass);
    WriteReportFile(dir.file("saved.txt"), state.ReportText);

    const CliRun report = Cli("report " + Example);
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(report.out, testing::ReadAll(dir.file("saved.txt")));
    const CliRun summary = Cli("summary " + Example);
    EXPECT_EQ(summary.out, window.caption(LabelId::Label2));
}

TEST(CliTest, MarkovTextHasNoFinalLineBreak) {
    const CliRun run = Cli("markov " + Example);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, 28), "Zero-memory Markov process\r\n");
    EXPECT_EQ(run.out.substr(run.out.size() - 21), "Nakahama index: 0.350");
}

TEST(CliTest, FailuresGoToStderrWithStatusOne) {
    testing::ScratchDir dir;
    const std::string flat = dir.write("flat.int", Lines(testing::Constant(0.8)));
    const CliRun markov = Cli("markov " + flat);
    EXPECT_EQ(markov.status, 1);
    EXPECT_EQ(markov.out, "");
    EXPECT_EQ(
        markov.err,
        flat + ": no variability: all beats fall in one state, the Nakahama index is undefined\n");
    const CliRun missing = Cli("summary " + dir.file("missing.int"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, dir.file("missing.int") + ": No such file or directory\n");
}

struct UsageCase {
    const char* name;
    const char* arguments;
    const char* named;  // what the message names
};

class CliUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTest, IsAnErrorWithStatusTwoThatNamesTheCulprit) {
    const CliRun run = Cli(GetParam().arguments + (" " + Example));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    const std::string firstLine = run.err.substr(0, run.err.find('\n'));
    EXPECT_NE(firstLine.find(GetParam().named), std::string::npos) << firstLine;
}

INSTANTIATE_TEST_SUITE_P(
    , CliUsageTest,
    ::testing::Values(UsageCase{"UnknownCommand", "frobnicate", "frobnicate"},
                      UsageCase{"UnknownOption", "csv --bogus", "--bogus"},
                      UsageCase{"BadUnits", "csv --units min", "--units"},
                      UsageCase{"StepZero", "windows --step 0", "--step"},
                      UsageCase{"StartZero", "summary --start 0", "--start"},
                      UsageCase{"StartNotANumber", "json --start 1x", "--start"},
                      UsageCase{"StartForWindows", "windows --start 2", "--start"},
                      UsageCase{"ColumnZero", "csv --column 0", "--column"},
                      UsageCase{"RangeReversed", "artifacts --range 2,1", "--range"},
                      UsageCase{"RangeOneNumber", "artifacts --range 2", "--range"},
                      UsageCase{"BadFormat", "windows --format xml", "--format"},
                      UsageCase{"OutputForJson", "json -o x", "-o"},
                      UsageCase{"TwoFilesForReport", "report /dev/null", "FILE"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(CliTest, MissingFileOrCommandIsAUsageError) {
    EXPECT_EQ(Cli("json").status, 2);
    EXPECT_NE(Cli("json").err.find("FILE"), std::string::npos);
    EXPECT_EQ(Cli("").status, 2);
}

TEST(CliTest, HelpListsEveryCommandAndOption) {
    const CliRun help = Cli("csv --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, 18), "Usage: ritmova-cli");
    for (const char* item : {"report", "summary", "markov", "json", "csv", "windows", "artifacts",
                             "--units", "--skip-lines", "--column", "--start", "--range", "--step",
                             "--format", "--output", "--help", "--version"}) {
        const bool listed = help.out.find("\n  " + std::string(item) + " ") != std::string::npos ||
                            help.out.find(", " + std::string(item) + " ") != std::string::npos;
        EXPECT_TRUE(listed) << item;
    }
    EXPECT_EQ(Cli("--version").out.substr(0, 12), "ritmova-cli ");
}

TEST(CliTest, DashReadsStandardInputAndIsNamedDash) {
    const std::string input = testing::ReadAll(Example);
    const CliRun summary = Cli("summary -", input);
    EXPECT_EQ(summary.status, 0);
    std::string expected = Cli("summary " + Example).out;
    expected.replace(expected.find(Example), Example.size(), "-");
    EXPECT_EQ(summary.out, expected);
    EXPECT_EQ(Cli("json -", input).out.substr(0, 13), "[\n{\"file\":\"-\"");
    EXPECT_EQ(Cli("windows -", input).status, 0);
}

TEST(CliTest, ReportToAFileWritesItOrLeavesItUntouched) {
    testing::ScratchDir dir;
    const std::string out = dir.write("out.txt", "old");
    const CliRun saved = Cli("report " + Example + " -o " + out);
    EXPECT_EQ(saved.status, 0);
    EXPECT_EQ(saved.out, "");
    EXPECT_EQ(testing::ReadAll(out), Cli("report " + Example).out);

    dir.write("out.txt", "old");
    const std::string shortFile = dir.write("short.int", "0.8\n");
    const CliRun failed = Cli("report --output " + out + " " + shortFile);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, shortFile + ": only 1 values, 256 needed\n");
    EXPECT_EQ(testing::ReadAll(out), "old");
    const CliRun unwritable = Cli("report " + Example + " -o " + out + "/x");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.out, "");
    EXPECT_NE(unwritable.err.find(out + "/x"), std::string::npos);
}

// Lines first..first+count-1 (1-based) of a file of one value per line.
std::string LinesOf(const std::string& text, std::size_t first, std::size_t count) {
    std::istringstream stream(text);
    std::string lines;
    std::size_t number = 0;
    for (std::string line; std::getline(stream, line);) {
        if (++number >= first && number < first + count) lines += line + "\n";
    }
    return lines;
}

TEST(CliTest, StartAnalysesTheWindowFromThatBeatAndNamesIt) {
    testing::ScratchDir dir;
    const std::string window = dir.write("w.int", LinesOf(testing::ReadAll(Example), 257, 256));
    std::string expected = Cli("summary " + window).out;
    expected.replace(expected.find(window), window.size(), Example + " (beats 257-512)");
    EXPECT_EQ(Cli("summary --start 257 " + Example).out, expected);
    const CliRun late = Cli("csv --start 1746 " + Example);
    EXPECT_EQ(late.status, 1);
    EXPECT_EQ(late.err.substr(0, Example.size() + 2), Example + ": ");
    EXPECT_EQ(Cli("csv --start 1745 " + Example).status, 0);
}

// A value's text in milliseconds: the decimal point moved three places right.
std::string Milliseconds(const std::string& seconds) {
    std::string digits = seconds;
    const std::size_t point = digits.find('.');
    digits.erase(point, 1);
    digits.resize(std::max(digits.size(), point + 3), '0');
    digits.insert(point + 3, ".");
    return digits.substr(std::min(digits.find_first_not_of('0'), point + 2));
}

TEST(CliTest, MillisecondsHeadersAndColumnsGiveTheSameMeasures) {
    testing::ScratchDir dir;
    std::istringstream example(testing::ReadAll(Example));
    std::string ms;
    std::string table = "time;rr (ms)\n";
    int beat = 0;
    for (std::string line; std::getline(example, line);) {
        ms += Milliseconds(line) + "\n";
        table += std::to_string(++beat) + ";" + Milliseconds(line) + "\n";
    }
    const std::string msFile = dir.write("ms.int", ms);
    const std::string tableFile = dir.write("table.csv", table);
    const std::string polarFile =
        dir.write("polar.hrm", "[Params]\nVersion=106\n\n[HRData]\n" + ms);
    const std::string expected = Cli("csv " + Example).out;
    const auto measures = [](const std::string& csv, const std::string& file) {
        return csv.substr(csv.find(file) + file.size());
    };
    const CliRun millis = Cli("csv --units ms " + msFile);
    const CliRun automatic = Cli("csv --units auto " + msFile);
    const CliRun columns = Cli("csv --units ms --skip-lines 1 --column 2 " + tableFile);
    EXPECT_EQ(measures(millis.out, msFile), measures(expected, Example));
    EXPECT_EQ(automatic.out, millis.out);
    EXPECT_EQ(automatic.err, msFile + ": values taken as milliseconds (--units auto)\n");
    EXPECT_EQ(measures(columns.out, tableFile), measures(expected, Example));
    EXPECT_EQ(measures(Cli("csv " + polarFile).out, polarFile), measures(expected, Example));
    EXPECT_NE(Cli("json --units ms " + msFile).out.find(",\"units\":\"ms\"}"), std::string::npos);
}

}  // namespace
}  // namespace ritmova
