// The window's commands over a whole recording, through the recording fake.
#include <gtest/gtest.h>

#include "analysis/recording_commands.h"
#include "common/command_failure.h"
#include "recording_window.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::Alternating;
using testing::Constant;
using testing::ToIntervals;

const std::string Ms = "values look like milliseconds: Analysis \u2192 Milliseconds reads them so";
const std::string Flat = "no variability: the spectrum, LF/HF and r show rounding noise";
const std::string AllFlagged =
    "256 artifacts in this window (100.0 %): the measures are unreliable";

TEST(PlausibilityHints, WarnOnlyWhenTheWindowLooksWrong) {
    const struct {
        std::vector<double> values;
        float sdnn;
        std::size_t artifacts;
        std::string hints;
    } cases[]{
        {Alternating(0.8, 0.9), 0.05f, 0, ""},
        {Constant(10), 0.05f, 0, ""},  // a median of 10 is not above it
        {Alternating(10, 10.5), 0.25f, 0, Ms},
        {Alternating(0.8, 0.9), 1e-5f, 12, ""},  // 12 of 256 are 4.7 %
        {Alternating(0.8, 0.9), 9.9e-6f, 0, Flat},
        {Alternating(0.8, 0.9), 0.05f, 13,
         "13 artifacts in this window (5.1 %): the measures are unreliable"},
        {Constant(800), 0, 256, Ms + "; " + Flat + "; " + AllFlagged},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlausibilityHints(ToIntervals(c.values), c.sdnn, c.artifacts), c.hints);
    }
}

// Beat b holds 0.8 or 0.85 plus b / 10000, so that a window shows where it starts; beats
// 300 and 301 are out of range.
std::string Recording600() {
    std::string text;
    for (int b = 1; b <= 600; ++b) {
        const double value = (b == 300 || b == 301) ? 2.5 : (b % 2 ? 0.8 : 0.85) + b / 1e4;
        text += testing::Lines({value});
    }
    return text;
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

TEST(RecordingCommands, MovesThroughTheRecordingAndFailuresChangeNothing) {
    Session s;
    s.open(Recording600());
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
              {'g', 0, 1, "beat 0 does not exist: beats count from 1"},
              {'g', 257, 257, ""}};
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(1, step.command) + std::to_string(step.beat));
        const AnalysisState before = s.state;
        const std::string summary = s.window.caption(LabelId::Label2);
        const auto run = [&] {
            if (step.command == 'n') s.commands.next();
            if (step.command == 'p') s.commands.previous();
            if (step.command == 'g') s.commands.goTo(step.beat);
        };
        if (!step.failure.empty()) {
            try {
                run();
                ADD_FAILURE() << "no failure";
            } catch (const CommandFailure& failure) {
                EXPECT_EQ(failure.what(), step.failure);
            }
            EXPECT_TRUE(s.state == before);
            EXPECT_EQ(s.window.caption(LabelId::Label2), summary);
        } else {
            run();
            const double first =
                (step.shown % 2 ? 0.8 : 0.85) + static_cast<double>(step.shown) / 1e4;
            EXPECT_FLOAT_EQ(s.state.RRSeriesAsRead[1], static_cast<float>(first));
            const std::string name = WindowName(s.folder.file("rec.int"), step.shown);
            EXPECT_NE(s.window.caption(LabelId::Label2).find("    " + name + "\r\n"),
                      std::string::npos);
            EXPECT_EQ(s.state.ReportText.substr(0, name.size() + 2), name + "\r\n");
        }
        EXPECT_EQ(s.commands.opened()->firstBeat, step.shown);
    }
    EXPECT_EQ(s.commands.windowField(),
              "rec.int \u00b7 beats 257-512 of 600 \u00b7 s \u00b7 2 artifacts");
    s.commands.next();
    EXPECT_EQ(s.commands.hints(), "the last beats are shown: the recording has 600 beats");
}

// What an Open reads, in which units, and what it says about it.
TEST(RecordingCommands, OpenReadsTheWholeRecordingInItsUnits) {
    const std::string milliseconds = testing::Lines(Alternating(800, 850, 600));
    const struct {
        std::string text;
        Units units;
        std::size_t beats;
        std::string field;
        std::string hints;
    } cases[]{
        {testing::Lines(Alternating(0.8, 0.85, 300)) + "abc\n", Units::Seconds, 256, "256 \u00b7 s",
         "only beats 1-256 are read: line 301: 'abc' is not a number"},
        {milliseconds, Units::Milliseconds, 600, "600 \u00b7 ms \u00b7 0 artifacts", ""},
        {milliseconds, Units::Seconds, 600, "600 \u00b7 s \u00b7 256 artifacts",
         Ms + "; " + AllFlagged},
    };
    for (const auto& c : cases) {
        Session s;
        s.open(c.text, c.units);
        EXPECT_EQ(s.commands.opened()->beats(), c.beats);
        EXPECT_NE(s.commands.windowField().find(c.field), std::string::npos)
            << s.commands.windowField();
        EXPECT_EQ(s.commands.hints(), c.hints);
    }
    // Milliseconds are the values the console tool reads with --units ms.
    Session s;
    s.open(milliseconds, Units::Milliseconds);
    const Recording expected = ParseRecording(milliseconds, {UnitsChoice::Milliseconds});
    for (int i = 1; i <= BeatCount; ++i)
        ASSERT_EQ(s.state.RRSeriesAsRead[i], expected.intervals[i - 1]);
}

}  // namespace
}  // namespace ritmova
