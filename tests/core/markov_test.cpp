#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/open_command.h"
#include "common/command_failure.h"
#include "markov/markov_command.h"
#include "recording_window.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::RecordingWindow;

// A state with the given series as read, mean 1.0 and SDNN 1.0: the limits are then
// 0.02, 1.0 and 1.98, so 0.0, 0.5, 1.5 and 2.0 fall in states 1 to 4.
AnalysisState WithSeries(const std::vector<double>& values, float mean = 1.0f, float sdnn = 1.0f) {
    AnalysisState state;
    const IntervalValues intervals = testing::ToIntervals(values);
    for (int i = 1; i <= BeatCount; ++i)
        state.RRSeriesAsRead[i] = intervals[static_cast<std::size_t>(i - 1)];
    state.MeanRR = mean;
    state.SDNN = sdnn;
    return state;
}

std::vector<double> Blocks(std::initializer_list<std::pair<int, double>> blocks) {
    std::vector<double> values;
    for (auto [count, value] : blocks)
        values.insert(values.end(), static_cast<std::size_t>(count), value);
    return values;
}

std::string PanelText(AnalysisState& state, RecordingWindow& window) {
    MarkovCommand(state, window);
    return window.caption(LabelId::Label5);
}

TEST(MarkovTest, PanelTextOfFourBlocks) {
    AnalysisState state = WithSeries(Blocks({{40, 0.0}, {88, 0.5}, {80, 1.5}, {48, 2.0}}));
    RecordingWindow window;
    // Probabilities .15625, .34375, .3125, .1875: H0 = 1.92524 bits. Each block moves on
    // once, so the table holds 39/40, 1/40; 87/88, 1/88; 79/80, 1/80 and 47/48.
    EXPECT_EQ(PanelText(state, window),
              "Zero-memory Markov process\r\n"
              "State 1 - RR <0.020      sec: 040 (.156)\r\n"
              "State 2 - RR 0.020-1.000 sec: 088 (.344)\r\n"
              "State 3 - RR 1.000-1.980 sec: 080 (.313)\r\n"
              "State 4 - RR >1.980      sec: 048 (.188)\r\n"
              "\r\n"
              "H0: 1.925 bits/symbol\r\n"
              "\r\n"
              "First-order Markov process\r\n"
              "State transition probability table\r\n"
              "\r\n"
              "from   to State 1 State 2 State 3 State 4\r\n"
              "State 1    .975    .025    .000    .000\r\n"
              "State 2    .000    .989    .011    .000\r\n"
              "State 3    .000    .000    .988    .013\r\n"
              "State 4    .000    .000    .000    .979\r\n"
              "\r\n"
              "H1: 0.093 bits/symbol\r\n"
              "\r\n"
              "Nakahama index: 0.952");
    EXPECT_TRUE(window.panelVisible);
    EXPECT_EQ(state.EntropyH0, 1.9252362251281738f);
    EXPECT_EQ(state.StateLimitLow, 0.02f);
    EXPECT_EQ(state.StateLimitHigh, 1.98f);
}

TEST(MarkovTest, ValuesOnALimitBelongToTheStateAbove) {
    AnalysisState state = WithSeries(Blocks({{1, 0.02}, {1, 1.0}, {1, 1.98}, {253, 0.5}}));
    RecordingWindow window;
    MarkovCommand(state, window);
    EXPECT_EQ(state.StateSequence[1], 1);
    EXPECT_EQ(state.StateSequence[2], 2);
    EXPECT_EQ(state.StateSequence[3], 3);
    EXPECT_EQ(state.StateSequence[4], 1);
}

TEST(MarkovTest, SixteenBeatsShowAsRoundedHalf) {
    AnalysisState state = WithSeries(Blocks({{16, 0.0}, {240, 0.5}}));
    RecordingWindow window;
    EXPECT_NE(PanelText(state, window).find("sec: 016 (.063)\r\n"), std::string::npos);
}

// Alternating 0.7 and 0.9, the smaller first, through a real pass: limits within 0.98 SD of
// the mean put the beats in states 1 and 4 in turn.
TEST(MarkovTest, AlternatingSeries) {
    testing::ScratchDir dir;
    AnalysisState state;
    RecordingWindow window;
    window.choose(dir.write("alt.int", testing::Lines(testing::Alternating(0.7, 0.9))));
    PassValues pass;
    OpenCommand(state, window, pass);
    MarkovCommand(state, window);
    EXPECT_EQ(state.StateCount, (std::array<std::int16_t, 4>{128, 0, 0, 128}));
    EXPECT_EQ(state.EntropyH0, 1.0f);
    EXPECT_EQ(state.TransitionCount[0][3], 128);
    EXPECT_EQ(state.TransitionCount[3][0], 127);
    EXPECT_EQ(state.TransitionProbability[0][3], 1.0f);
    EXPECT_EQ(state.TransitionProbability[3][0], 0.9921875f);
    EXPECT_NEAR(state.EntropyH1, 0.5 * 0.9921875 * std::log2(1 / 0.9921875), 1e-7);
    EXPECT_NEAR(state.NakahamaIndex, 0.99439, 1e-5);
    // A probability of 1 makes its row one character longer.
    const std::string text = window.caption(LabelId::Label5);
    EXPECT_NE(text.find("State 1    .000    .000    .000    1.000\r\n"), std::string::npos);
    EXPECT_NE(text.find("State 4    .992    .000    .000    .000\r\n"), std::string::npos);
}

TEST(MarkovTest, FourStateCycle) {
    std::vector<double> values;
    for (int i = 0; i < 64; ++i) values.insert(values.end(), {0.0, 0.5, 1.5, 2.0});
    AnalysisState state = WithSeries(values);
    RecordingWindow window;
    MarkovCommand(state, window);
    EXPECT_EQ(state.EntropyH0, 2.0f);
    EXPECT_EQ(state.TransitionProbability[3][0], 63.0f / 64);
    EXPECT_NEAR(state.EntropyH1, 0.00559, 1e-5);
    EXPECT_NEAR(state.NakahamaIndex, 0.9972, 1e-4);
}

// Equal intervals (or no file opened): every beat in state 4, H0 = 0, and the command stops
// at the Nakahama index with lines 1 to 19 written and the panel still hidden.
TEST(MarkovTest, NoVariabilityStopsAtTheNakahamaIndex) {
    AnalysisState state;
    RecordingWindow window;
    try {
        MarkovCommand(state, window);
        FAIL() << "completed";
    } catch (const CommandFailure& failure) {
        EXPECT_EQ(std::string(failure.what()),
                  "no variability: all beats fall in one state, the Nakahama index is undefined");
    }
    const std::string text = window.caption(LabelId::Label5);
    const std::string tail = "    .996\r\n\r\nH1: 0.006 bits/symbol\r\n\r\n";
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_NE(text.find("State 4 - RR >0.000      sec: 256 (1.000)\r\n"), std::string::npos);
    EXPECT_NE(text.find("State 4    .000    .000    .000    .996\r\n"), std::string::npos);
    EXPECT_FALSE(window.panelVisible);
    EXPECT_EQ(state.TransitionCount[3][3], 255);
    EXPECT_EQ(state.TransitionProbability[3][3], 0.99609375f);
    EXPECT_NEAR(state.EntropyH1, 0.005625, 1e-6);
}

TEST(MarkovTest, RerunningReplacesTheTextAndKeepsTheResults) {
    AnalysisState state = WithSeries(Blocks({{40, 0.0}, {88, 0.5}, {80, 1.5}, {48, 2.0}}));
    RecordingWindow window;
    const std::string first = PanelText(state, window);
    const AnalysisState after = state;
    EXPECT_EQ(PanelText(state, window), first);
    EXPECT_TRUE(state == after);
}

}  // namespace
}  // namespace ritmova
