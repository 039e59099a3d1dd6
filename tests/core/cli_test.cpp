#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "analysis/open_command.h"
#include "cli_run.h"
#include "recording_window.h"
#include "report/results_text.h"

namespace ritmova {
namespace {

using testing::CliRun;

// Runs ritmova-cli with `arguments` split at blanks.
CliRun Cli(const std::string& arguments, const std::string& input = "") {
    std::vector<std::string> words;
    std::istringstream stream(arguments);
    for (std::string word; stream >> word;) words.push_back(word);
    return testing::RunCli(words, input);
}

const std::string Example = testing::ExampleFile("nsr2db-nsr012.int");  // lines as 0.8828

// `text` with the first `name` in it replaced by `other`.
std::string Renamed(std::string text, const std::string& name, const std::string& other) {
    return text.replace(text.find(name), name.size(), other);
}

TEST(CliTest, ReportAndSummaryAreWhatTheWindowSavesAndShows) {
    testing::ScratchDir dir;
    AnalysisState state;
    testing::RecordingWindow window;
    window.choose(Example);
    PassValues pass;
    OpenCommand(state, window, pass);
    WriteReportFile(dir.file("saved.txt"), state.ReportText);
    const std::string saved = testing::ReadAll(dir.file("saved.txt"));
    EXPECT_EQ(Cli("report " + Example).out, saved);
    const CliRun summary = Cli("summary -", testing::ReadAll(Example));  // named -
    EXPECT_EQ(summary.status, 0);
    EXPECT_EQ(summary.out, Renamed(window.caption(LabelId::Label2), Example, "-"));

    const std::string out = dir.write("out.txt", "old");
    const std::string shortFile = dir.write("short.int", "0.8\n");
    const CliRun failed = Cli("report --output " + out + " " + shortFile);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, shortFile + ": only 1 values, 256 needed\n");
    EXPECT_EQ(testing::ReadAll(out), "old");
    const CliRun written = Cli("report " + Example + " -o " + out);
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(testing::ReadAll(out), saved);
    const CliRun unwritable = Cli("report " + Example + " -o " + out + "/x");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.out, "");
    EXPECT_NE(unwritable.err.find(out + "/x"), std::string::npos);
}

TEST(CliTest, MarkovTextHasNoFinalLineBreakAndAFailureGoesToStderr) {
    const CliRun run = Cli("markov " + Example);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, 28), "Zero-memory Markov process\r\n");
    EXPECT_EQ(run.out.substr(run.out.size() - 21), "Nakahama index: 0.350");
    testing::ScratchDir dir;
    const std::string flat = dir.write("flat.int", testing::Lines(testing::Constant(0.8)));
    const CliRun failed = Cli("markov " + flat);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(
        failed.err,
        flat + ": no variability: all beats fall in one state, the Nakahama index is undefined\n");
}

struct UsageCase {
    const char* name;
    const char* arguments;  // followed by a file unless `noFile`
    const char* named;      // what the message names
    bool noFile = false;
};

class CliUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTest, IsAnErrorWithStatusTwoThatNamesTheCulprit) {
    const CliRun run = Cli(GetParam().arguments + (GetParam().noFile ? "" : " " + Example));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    const std::string firstLine = run.err.substr(0, run.err.find('\n'));
    EXPECT_NE(firstLine.find(GetParam().named), std::string::npos) << firstLine;
}

INSTANTIATE_TEST_SUITE_P(
    , CliUsageTest,
    ::testing::Values(UsageCase{"UnknownCommand", "frobnicate", "frobnicate"},
                      UsageCase{"NoCommand", "", "subcommand", true},
                      UsageCase{"NoFile", "json", "FILE", true},
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

TEST(CliTest, StartAnalysesTheWindowFromThatBeatAndNamesIt) {
    testing::ScratchDir dir;
    const std::string window =
        dir.write("w.int", testing::ReadAll(Example).substr(256 * 7, 256 * 7));
    EXPECT_EQ(Cli("summary --start 257 " + Example).out,
              Renamed(Cli("summary " + window).out, window, Example + " (beats 257-512)"));
    const CliRun last = Cli("csv --start 1745 " + Example + " " + window);  // beats 1745-2000
    EXPECT_EQ(last.status, 1);
    EXPECT_EQ(last.err, window + ": beat 1745 is beyond the recording's 256 beats\n");
    EXPECT_NE(last.out.find("\n" + Example + ",0."), std::string::npos);  // measured
}

// The example in milliseconds: "0.8828" as "0882.8", and as the column of a table.
TEST(CliTest, MillisecondsHeadersAndColumnsGiveTheSameMeasures) {
    testing::ScratchDir dir;
    std::istringstream example(testing::ReadAll(Example));
    std::string ms;
    std::string table = "time;rr (ms)\n";
    for (std::string line; std::getline(example, line);) {
        ms += line.erase(1, 1).insert(4, ".") + "\n";
        table += "0:00;" + line + "\n";
    }
    const std::string msFile = dir.write("ms.int", ms);
    const std::string tableFile = dir.write("table.csv", table);
    const std::string polar = dir.write("polar.hrm", "[Params]\nVersion=106\n\n[HRData]\n" + ms);
    const CliRun automatic = Cli("csv --units auto " + Example + " " + msFile + " " + polar);
    EXPECT_EQ(automatic.status, 0);
    EXPECT_EQ(automatic.err, Example + ": values taken as seconds (--units auto)\n" + msFile +
                                 ": values taken as milliseconds (--units auto)\n" + polar +
                                 ": values taken as milliseconds (--units auto)\n");
    std::istringstream rows(automatic.out);
    std::vector<std::string> measures;
    for (std::string row; std::getline(rows, row);) measures.push_back(row.substr(row.find(',')));
    EXPECT_EQ(measures[2], measures[1]);
    EXPECT_EQ(measures[3], measures[1]);
    const std::string columns = Cli("csv --units ms --skip-lines 1 --column 2 " + tableFile).out;
    EXPECT_EQ(columns.substr(columns.find(tableFile) + tableFile.size()), measures[1] + "\n");
    const CliRun json = Cli("json --units ms -", ms);
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.substr(0, 13), "[\n{\"file\":\"-\"");
    EXPECT_NE(json.out.find(",\"units\":\"ms\"}"), std::string::npos);
}

}  // namespace
}  // namespace ritmova
