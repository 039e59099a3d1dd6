#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "analysis/open_command.h"
#include "recording_window.h"
#include "report/results_text.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::Lines;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// Runs ritmova-cli with `arguments` (already quoted for the shell).
CliRun Cli(const std::string& arguments) {
    testing::ScratchDir dir;
    const std::string command = std::string(RITMOVA_CLI) + " " + arguments + " >" +
                                dir.file("out") + " 2>" + dir.file("err");
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), testing::ReadAll(dir.file("out")),
            testing::ReadAll(dir.file("err"))};
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

TEST(CliTest, JsonReportsEveryFileAndNullsTheUndefined) {
    testing::ScratchDir dir;
    const std::string flatR =
        dir.write("r.int", "1.00000012\n" + Lines(testing::Constant(1.0, 255)));
    const std::string shortFile = dir.write("short.int", Lines(testing::Constant(0.8, 10)));
    const CliRun run = Cli("json " + Example + " " + flatR + " " + shortFile);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, shortFile + ": only 10 values, 256 needed\n");
    EXPECT_EQ(run.out.substr(0, 2), "[\n");
    EXPECT_EQ(run.out.substr(run.out.size() - 3), "\n]\n");
    EXPECT_NE(run.out.find("{\"file\":\"" + Example +
                           "\",\"mean_rr\":0.87057465,\"sdnn\":0.024257364,"
                           "\"rmssd\":0.01420985271771073,\"nn50\":0,\"pnn50\":0,"),
              std::string::npos);
    EXPECT_NE(run.out.find("\"poincare_r\":0.8276119638509666,\"power_spectrum\":[0.0007722568,"),
              std::string::npos);
    EXPECT_NE(run.out.find("\"poincare_r\":null"), std::string::npos);
    EXPECT_NE(run.out.find("\"h0\":1.8651237"), std::string::npos);
    EXPECT_NE(run.out.find("\"nakahama_index\":null"), std::string::npos);  // the flat file
    EXPECT_NE(
        run.out.find("{\"file\":\"" + shortFile + "\",\"error\":\"only 10 values, 256 needed\"}"),
        std::string::npos);
}

TEST(CliTest, CsvHasOneRowPerFile) {
    testing::ScratchDir dir;
    const std::string odd = dir.write("a,\"b\".int", "");
    const CliRun run = Cli("csv " + Example + " '" + odd + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3);
    EXPECT_EQ(run.out.substr(0, 31), "file,mean_rr,sdnn,rmssd,nn50,pn");
    EXPECT_NE(run.out.find(Example + ",0.87057465,0.024257364,"), std::string::npos);
    EXPECT_NE(run.out.find(",0.35005993,\n"), std::string::npos);  // Nakahama index, no error
    const std::string quoted = "\"" + dir.file("a,\"\"b\"\".int") + "\"";
    EXPECT_NE(run.out.find(quoted + ",,,,,,,,,,,,,,,,,,,,,\"only 0 values, 256 needed\"\n"),
              std::string::npos);
}

TEST(CliTest, UsageErrorsExitWithTwo) {
    EXPECT_EQ(Cli("").status, 2);
    EXPECT_EQ(Cli("frobnicate " + Example).status, 2);
    EXPECT_EQ(Cli("report " + Example + " " + Example).status, 2);
    EXPECT_EQ(Cli("json").status, 2);
    const CliRun help = Cli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, 18), "Usage: ritmova-cli");
    EXPECT_EQ(Cli("--version").out.substr(0, 12), "ritmova-cli ");
}

}  // namespace
}  // namespace ritmova
