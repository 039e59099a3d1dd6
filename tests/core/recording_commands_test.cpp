// The window's commands over a whole recording, through the recording fake.
#include <gtest/gtest.h>

#include "analysis/recording_commands.h"
#include "common/command_failure.h"
#include "recording_window.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::Alternating;

const std::string Ms = "values look like milliseconds: Analysis \u2192 Milliseconds reads them so";
const std::string Flat = "no variability: the spectrum, LF/HF and r show rounding noise";
const std::string Unreliable = " artifacts in this window (";

TEST(PlausibilityHints, WarnOnlyWhenTheWindowLooksWrong) {
    const auto hints = [](const std::vector<double>& values, float sdnn, std::size_t artifacts) {
        return PlausibilityHints(testing::ToIntervals(values), sdnn, artifacts);
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

struct Session {
    AnalysisState state;
    testing::RecordingWindow window;
    PassValues pass;
    RecordingCommands commands{state, window, pass};
    testing::ScratchDir folder;

    void open(const std::string& text, Units units = Units::Seconds) {
        window.choose(folder.write("rec.int", text));
        ASSERT_EQ(commands.open(units), OpenResult::Completed);
    }
};

// A move that fails leaves the window where it was, the Markov panel included.
TEST(RecordingCommands, MovesThroughTheRecording) {
    Session s;
    std::vector<double> values;
    for (std::size_t b = 1; b <= 600; ++b) values.push_back(beatValue(b));
    s.open(testing::Lines(values));
    const struct {
        char command;  // n: next, p: previous, g: go to `beat`
        std::size_t beat;
        std::size_t shown;
        std::string failure;
    } steps[]{{'n', 0, 257, ""},
              {'n', 0, 345, ""},
              {'n', 0, 345, "the last beats are shown: the recording has 600 beats"},
              {'p', 0, 89, ""},
              {'p', 0, 1, ""},
              {'p', 0, 1, "the first beats are shown"},
              {'g', 346, 1, "only 255 beats from beat 346 on, 256 needed"},
              {'g', 256, 256, ""},
              {'p', 0, 1, ""},
              {'g', 257, 257, ""}};
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(1, step.command) + std::to_string(step.beat));
        s.window.panelVisible = true;
        std::string failure;
        try {
            if (step.command == 'n') s.commands.next();
            if (step.command == 'p') s.commands.previous();
            if (step.command == 'g') s.commands.goTo(step.beat);
        } catch (const CommandFailure& f) {
            failure = f.what();
        }
        EXPECT_EQ(failure, step.failure);
        EXPECT_EQ(s.commands.opened()->firstBeat, step.shown);
        EXPECT_EQ(s.window.panelVisible, !step.failure.empty());
        EXPECT_FLOAT_EQ(s.state.RRSeriesAsRead[1], static_cast<float>(beatValue(step.shown)));
    }
    const std::string name = s.folder.file("rec.int") + " (beats 257-512)\r\n";
    EXPECT_NE(s.window.caption(LabelId::Label2).find("    " + name), std::string::npos);
    EXPECT_EQ(s.state.ReportText.substr(0, name.size()), name);
    EXPECT_EQ(s.commands.windowField(),
              "rec.int \u00b7 beats 257-512 of 600 \u00b7 s \u00b7 2 artifacts");
    s.commands.next();
    EXPECT_EQ(s.commands.hints(), "the last beats are shown: the recording has 600 beats");
    s.window.choose("");  // a cancelled Open: no hints of the window before
    EXPECT_EQ(s.commands.open(Units::Seconds), OpenResult::Cancelled);
    EXPECT_EQ(s.commands.hints(), "");
}

// What an Open reads, in which units, and what it says about it. 0.8 s is 0.8f however it
// is written, as the console tool reads it with --units ms.
TEST(RecordingCommands, OpenReadsTheWholeRecordingInItsUnits) {
    const struct {
        std::string text;
        Units units;
        std::string field;
        std::string hints;
    } cases[]{{testing::Lines(Alternating(0.8, 0.85, 300)) + "abc\n", Units::Seconds,
               "of 256 \u00b7 s", "only beats 1-256 are read: line 301: 'abc' is not a number"},
              {testing::Lines(Alternating(800, 850, 600)), Units::Milliseconds,
               "of 600 \u00b7 ms \u00b7 0 artifacts", ""}};
    for (const auto& c : cases) {
        Session s;
        s.open(c.text, c.units);
        EXPECT_EQ(s.state.RRSeriesAsRead[1], 0.8f);
        EXPECT_NE(s.commands.windowField().find(c.field), std::string::npos);
        EXPECT_EQ(s.commands.hints(), c.hints);
    }
}

}  // namespace
}  // namespace ritmova
