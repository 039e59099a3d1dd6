// The window's commands, Open and the moves over a whole recording, through the recording
// fake.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/command_failure.h"
#include "recording_window.h"
#include "test_data.h"
#include "ui/recording_commands.h"

namespace ritmova {
namespace {

using testing::Alternating;
using testing::Lines;
using testing::RecordingWindow;

const std::string Example = testing::ExampleFile("nsr2db-nsr012.int");

// The example's results, worked out with an independent implementation of the pass and
// rounded by hand: mean 0.87057465, SDNN 0.024257364, RMSSD 0.0142099, NN50 0, VLF 0.10837077,
// LF 0.05620509, HF 0.014020398, total 0.17859626, LF% 80.03517, HF% 19.964828,
// LF/HF 4.0088086, peaks 4/256, 14/256 and 88/256.
std::string ExpectedSummary(const std::string& file) {
    return "Mean R-R value (sec) = .8706    SDNN = .0243    " + file +
           "\r\nRMSSD = .0142    NN50 =     pNN50 = .\r\n\r\n"
           "R-R Variability - Absolute Values (sec\u00b2/beat)\r\n"
           "VLF = .1084    LF = .0562    HF = .014    Total = .1786\r\n\r\n"
           "R-R Variability - Relative Values (%)\r\nLF = 80.0352    HF = 19.9648    LF/HF = 4.0088"
           "\r\n\r\nBand Peak Frequencies (cycles/beat)\r\nVLF = .0156    LF = .0547    HF = .3438"
           "\r\n\r\n";
}

std::string ExpectedReport(const std::string& file) {
    return file +
           "\r\nMean R-R value (sec):\t.8706\r\nSDNN                :\t.0243\r\n"
           "RMSSD               :\t.0142\r\nNN50                :\t\r\n"
           "pNN50               :\t.\r\nVLF-abs             :\t.1084\r\n"
           "LF-abs              :\t.0562\r\nHF-abs              :\t.014\r\n"
           "Total-abs           :\t.1786\r\nLF%                 :\t80.0352\r\n"
           "HF%                 :\t19.9648\r\nLF/HF               :\t4.0088\r\n"
           "VLF peak frequency  :\t.0156\r\nLF peak frequency   :\t.0547\r\n"
           "HF peak frequency   :\t.3438\r\n";
}

// The window, the state and the pass values as a command leaves them.
struct Pass {
    WindowState state;
    RecordingWindow window;
    RecordingCommands commands{state, window};
    testing::ScratchDir folder;

    OpenResult open(const std::string& file) {
        window.choose(file);
        return commands.open(Units::Seconds);
    }
    // Opens `text` as rec.int through the recording commands.
    void openText(const std::string& text, Units units = Units::Seconds) {
        window.choose(folder.write("rec.int", text));
        ASSERT_EQ(commands.open(units), OpenResult::Completed);
    }
};

TEST(OpenCommandTest, FillsSummaryReportAndPlots) {
    Pass pass;
    ASSERT_EQ(pass.open(Example), OpenResult::Completed);
    EXPECT_EQ(pass.window.caption(LabelId::Summary), ExpectedSummary(Example));
    EXPECT_EQ(pass.state.reportText, ExpectedReport(Example));
    EXPECT_EQ(pass.window.dialogs[0].filter,
              "Interval Files (*.int)|*.int|All Files (*.*)|*.*|ECG Records (*.hea *.edf)|"
              "*.hea;*.edf;*.EDF");
    EXPECT_EQ(pass.window.dialogs[0].filterIndex, 1);
    EXPECT_EQ(pass.window.screenClears, 1);
    EXPECT_EQ(pass.window.caption(LabelId::SpectrumTop), " .024");  // SpectrumMax 0.024953363
    EXPECT_TRUE(pass.window.saveEnabled);
    EXPECT_EQ(pass.state.pass.poincareR, 0.8276119638509666);
    // The tachogram spans 0 to 2 s; the spectrum its maximum.
    EXPECT_EQ(pass.window.pictures[0].calls[1], "scaleHeight -2");
    EXPECT_EQ(pass.window.pictures[1].calls[1], "scaleHeight -0.0249533635");
    EXPECT_EQ(pass.window.pictures[2].calls.back(), "print 'r =  .827611'");
    // The series is kept as read and mean-removed; the first value is 0.8828 s.
    EXPECT_EQ(pass.state.pass.seriesAsRead[1], 0.8828f);
    EXPECT_EQ(pass.state.pass.deviations[1], 0.8828f - pass.state.pass.meanRR);
}

// A second Open gives the results of a first.
TEST(OpenCommandTest, ResultsDependOnlyOnTheFile) {
    Pass fresh, reused;
    fresh.open(Example);
    reused.open(testing::ExampleFile("bartelshrv-rest.int"));
    reused.open(Example);
    EXPECT_TRUE(reused.state == fresh.state);
    EXPECT_EQ(reused.window.caption(LabelId::Summary), fresh.window.caption(LabelId::Summary));
}

// A cancelled dialog or a failed read leaves the state, the texts, the plots and Save results
// exactly as they were; a later Open works.
TEST(OpenCommandTest, CancelOrFailedReadChangesNothing) {
    testing::ScratchDir dir;
    const std::pair<std::string, std::string> cases[] = {
        {"", "cancelled"},
        {dir.file("missing.int"), "No such file or directory"},
        {dir.write("short.int", Lines(testing::Constant(0.8, 255))), "only 255 values, 256 needed"},
        {dir.write("bad.int", Lines(testing::Constant(0.8, 200)) + "x"),
         "line 201: 'x' is not a number"}};
    for (const auto& [path, reason] : cases) {
        Pass pass;
        pass.open(Example);
        const WindowState before = pass.state;
        const RecordingWindow windowBefore = pass.window;
        EXPECT_EQ(testing::FailureReason([&] { pass.open(path); }, "cancelled"), reason);
        EXPECT_TRUE(pass.state == before);
        EXPECT_EQ(pass.window.captions, windowBefore.captions);
        EXPECT_EQ(pass.window.captionWrites, windowBefore.captionWrites);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(pass.window.pictures[i].calls, windowBefore.pictures[i].calls);
        EXPECT_TRUE(pass.window.saveEnabled);
        EXPECT_EQ(pass.open(Example), OpenResult::Completed);
    }
}

// A pass that fails keeps what it drew before the failure and nothing after. Equal intervals
// of 1 s: the mean is exact, every power is 0 and the relative powers divide by zero; the
// tachogram and the spectrum caption are drawn. Only the first interval one unit in the last
// place apart: its share of the mean is lost in single precision, beats 2..256 deviate by
// exactly 0 and r is undefined once the dots are drawn.
TEST(OpenCommandTest, FailedPassKeepsWhatItDrewBefore) {
    Pass flat, still;
    const std::string flatFile = flat.folder.write("flat.int", Lines(testing::Constant(1.0)));
    EXPECT_EQ(testing::FailureReason([&] { flat.open(flatFile); }, ""),
              "no power in the LF and HF bands");
    EXPECT_EQ(flat.window.pictures[0].calls.size(), 11u + 256 + 9);
    EXPECT_EQ(flat.window.captions, (std::array<std::string, 8>{"", "", " 0"}));
    EXPECT_EQ(flat.state.reportText, "");
    EXPECT_FALSE(flat.window.saveEnabled);
    EXPECT_TRUE(flat.window.pictures[1].calls.empty() && flat.window.pictures[2].calls.empty());
    still.open(Example);  // whose r must not remain
    const std::string text = "1.00000012\n" + Lines(testing::Constant(1.0, 255));
    EXPECT_EQ(testing::FailureReason([&] { still.open(still.folder.write("r.int", text)); }, ""),
              "no variation between successive beats: r is undefined");
    EXPECT_FALSE(still.state.pass.poincareR);
    EXPECT_EQ(still.state.pass.meanRR, 1.0f);
    EXPECT_FALSE(still.state.reportText.empty());
    EXPECT_EQ(still.window.pictures[2].calls.size(), 256u);  // the clear and 255 points, no texts
    EXPECT_EQ(still.window.pictures[2].calls.back(), "point 1 1");
}

const std::string Ms = "values look like milliseconds: Analysis \u2192 Milliseconds reads them so";
const std::string Flat = "no variability: the spectrum, LF/HF and r show rounding noise";
const std::string Unreliable = " artifacts in this window (";

TEST(PlausibilityHints, WarnOnlyWhenTheWindowLooksWrong) {
    const auto hints = [](const std::vector<double>& values, float sdnn, std::size_t artifacts) {
        return PlausibilityHints(testing::ToIntervals(values), sdnn, artifacts, Units::Seconds);
    };
    const std::vector<double> plain = Alternating(0.8, 0.9);
    EXPECT_EQ(hints(plain, 0.05f, 0), "");
    EXPECT_EQ(hints(testing::Constant(10), 0.05f, 0), "");  // a median of 10 is not above it
    std::vector<double> twoLong = plain;  // the median of the values in order, not as read
    twoLong[127] = twoLong[128] = 800;
    EXPECT_EQ(hints(twoLong, 0.05f, 0), "");
    EXPECT_EQ(hints(Alternating(10, 10.5), 0.25f, 0), Ms);
    EXPECT_EQ(hints(plain, 1e-5f, 12), "");  // 12 of 256 are 4.7 %
    EXPECT_EQ(hints(plain, 9.9e-6f, 0), Flat);
    EXPECT_EQ(hints(plain, 0.05f, 13), "13" + Unreliable + "5.1 %): the measures are unreliable");
    EXPECT_EQ(hints(testing::Constant(800), 0, 256),
              Ms + "; " + Flat + "; 256" + Unreliable + "100.0 %): the measures are unreliable");
}

// Beat b holds 0.8 or 0.85 plus b / 10000, so that a window shows where it starts; beats
// 300 and 301 are out of range.
double beatValue(std::size_t b) {
    return (b == 300 || b == 301) ? 2.5 : (b % 2 ? 0.8 : 0.85) + static_cast<double>(b) / 1e4;
}

// A move that fails leaves the window where it was, the Markov panel included.
TEST(RecordingCommands, MovesThroughTheRecording) {
    Pass s;
    std::vector<double> values;
    for (std::size_t b = 1; b <= 600; ++b) values.push_back(beatValue(b));
    s.openText(Lines(values));
    // The command (n: next, p: previous, g: go to `beat`), the first beat shown, the failure.
    // clang-format off
    const struct { char command; std::size_t beat, shown; std::string failure; } steps[]{
        {'n', 0, 257, ""}, {'n', 0, 345, ""},
        {'n', 0, 345, "the last beats are shown: the recording has 600 beats"},
        {'p', 0, 89, ""}, {'p', 0, 1, ""}, {'p', 0, 1, "the first beats are shown"},
        {'g', 346, 1, "only 255 beats from beat 346 on, 256 needed"},
        {'g', 256, 256, ""}, {'p', 0, 1, ""}, {'g', 257, 257, ""}};
    // clang-format on
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(1, step.command) + std::to_string(step.beat));
        s.window.panelVisible = true;
        const int clears = s.window.screenClears;
        const std::string failure = testing::FailureReason(
            [&] {
                if (step.command == 'n') s.commands.next();
                if (step.command == 'p') s.commands.previous();
                if (step.command == 'g') s.commands.goTo(step.beat);
            },
            "");
        EXPECT_EQ(failure, step.failure);
        EXPECT_EQ(s.commands.opened()->firstBeat, step.shown);
        EXPECT_EQ(s.window.panelVisible, !step.failure.empty());
        EXPECT_EQ(s.window.screenClears - clears, step.failure.empty() ? 1 : 0);
        EXPECT_FLOAT_EQ(s.state.pass.seriesAsRead[1], static_cast<float>(beatValue(step.shown)));
    }
    const std::string name = s.folder.file("rec.int") + " (beats 257-512)\r\n";
    EXPECT_NE(s.window.caption(LabelId::Summary).find("    " + name), std::string::npos);
    EXPECT_EQ(s.state.reportText.substr(0, name.size()), name);
    EXPECT_EQ(s.commands.windowField(),
              "rec.int \u00b7 beats 257-512 of 600 \u00b7 s \u00b7 2 artifacts");
    s.commands.goTo(302);  // beats 300 and 301 just before the window are not its own
    EXPECT_EQ(s.commands.windowField(),
              "rec.int \u00b7 beats 302-557 of 600 \u00b7 s \u00b7 0 artifacts");
    s.commands.next();
    EXPECT_EQ(s.commands.hints(), "the last beats are shown: the recording has 600 beats");
    s.window.choose("");  // a cancelled Open: no hints of the window before
    EXPECT_EQ(s.commands.open(Units::Seconds), OpenResult::Cancelled);
    EXPECT_EQ(s.commands.hints(), "");
}

// What an Open reads, in which units, and what it says about it. 0.8 s is 0.8f however it
// is written, as the console tool reads it with --units ms.
TEST(RecordingCommands, OpenReadsTheWholeRecordingInItsUnits) {
    const std::string first300 = testing::Lines(Alternating(0.8, 0.85, 300));
    const struct {
        std::string text;
        Units units;
        std::string field;
        std::string hints;
        bool piped = false;  // read as standard input, which cannot be read a second time
    } cases[]{{first300 + "abc\n", Units::Seconds, "of 300 \u00b7 s",
               "reading stopped at line 301: 'abc' is not a number"},
              {testing::Lines(Alternating(800, 850, 600)), Units::Milliseconds,
               "of 600 \u00b7 ms \u00b7 0 artifacts", ""},
              {first300, Units::Seconds, "- \u00b7 beats 1-256 of 256",
               "only the first 256 values of standard input are read", true}};
    for (const auto& c : cases) {
        Pass s;
        const std::string file = s.folder.write("rec.int", c.text);
        ASSERT_TRUE(!c.piped || std::freopen(file.c_str(), "rb", stdin));
        s.window.choose(c.piped ? "-" : file);
        ASSERT_EQ(s.commands.open(c.units), OpenResult::Completed);
        EXPECT_EQ(s.state.pass.seriesAsRead[1], 0.8f);
        EXPECT_NE(s.commands.windowField().find(c.field), std::string::npos);
        EXPECT_EQ(s.commands.hints(), c.hints);
        s.commands.goTo(1);  // no "last beats" hint, even when they are the first
        EXPECT_EQ(s.commands.hints(), "");
    }
}

}  // namespace
}  // namespace ritmova
