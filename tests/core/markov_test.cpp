#include "markov/markov_command.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/command_failure.h"
#include "recording_window.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::RecordingWindow;
using Table = std::array<std::array<float, 4>, 4>;

// A state with the given series as read, mean 1.0 and SDNN 1.0: the limits are then
// 0.02, 1.0 and 1.98, so 0.0, 0.5, 1.5 and 2.0 fall in states 1 to 4.
AnalysisState WithSeries(const std::vector<double>& values) {
    AnalysisState state;
    const IntervalValues intervals = testing::ToIntervals(values);
    for (int i = 1; i <= BeatCount; ++i) state.RRSeriesAsRead[i] = intervals[std::size_t(i - 1)];
    state.MeanRR = 1.0f;
    state.SDNN = 1.0f;
    return state;
}

std::vector<double> Blocks(std::initializer_list<std::pair<int, double>> blocks) {
    std::vector<double> values;
    for (auto [count, value] : blocks) values.insert(values.end(), std::size_t(count), value);
    return values;
}

std::vector<double> Repeated(std::initializer_list<double> cycle) {
    std::vector<double> values;
    while (values.size() < BeatCount) values.insert(values.end(), cycle);
    return values;
}

// Sequences of known Markov measures, worked out from the state counts and the transitions
// (a row divides by its state's count among all 256 beats; a state never seen keeps a zero
// row).
struct MarkovCase {
    const char* name;
    std::vector<double> values;
    std::array<std::int16_t, 4> counts;
    std::vector<std::tuple<int, int, float>> transitions;  // from, to, probability; others 0
    float h0;
    double h1, nakahama;
};

// clang-format off
const MarkovCase Cases[] = {
    {"FourBlocks", Blocks({{40, 0.0}, {88, 0.5}, {80, 1.5}, {48, 2.0}}), {40, 88, 80, 48},
     {{0, 0, 39 / 40.f}, {0, 1, 1 / 40.f}, {1, 1, 87 / 88.f}, {1, 2, 1 / 88.f}, {2, 2, 79 / 80.f},
      {2, 3, 1 / 80.f}, {3, 3, 47 / 48.f}}, 1.9252362f, 0.0930604, 0.9516629},
    {"AlternatingLowAndHigh", Repeated({0.0, 2.0}), {128, 0, 0, 128},
     {{0, 3, 1.0f}, {3, 0, 127 / 128.f}}, 1.0f, 0.0056135, 0.9943865},
    {"FourStateCycle", Repeated({0.0, 0.5, 1.5, 2.0}), {64, 64, 64, 64},
     {{0, 1, 1.0f}, {1, 2, 1.0f}, {2, 3, 1.0f}, {3, 0, 63 / 64.f}}, 2.0f, 0.0055913, 0.9972044},
    // Values on the limits 0.02, 1.0 and 1.98 belong to the state above.
    {"OnTheLimits", Blocks({{1, 0.02}, {1, 1.0}, {1, 1.98}, {15, 2.5}, {238, 0.5}}),
     {0, 239, 1, 16},
     {{1, 1, 237 / 239.f}, {1, 2, 1 / 239.f}, {2, 3, 1.0f}, {3, 3, 15 / 16.f}, {3, 1, 1 / 16.f}},
     0.3738001f, 0.0631672, 0.8310136}};
// clang-format on

TEST(MarkovTest, CountsProbabilitiesAndEntropies) {
    for (const MarkovCase& c : Cases) {
        SCOPED_TRACE(c.name);
        AnalysisState state = WithSeries(c.values);
        RunMarkovAnalysis(state);
        Table expected{};
        for (auto [from, to, q] : c.transitions) expected[std::size_t(from)][std::size_t(to)] = q;
        EXPECT_EQ(state.StateCount, c.counts);
        EXPECT_EQ(state.TransitionProbability, expected);
        EXPECT_FLOAT_EQ(state.EntropyH0, c.h0);
        EXPECT_NEAR(state.EntropyH1, c.h1, 1e-7);
        EXPECT_NEAR(state.NakahamaIndex, c.nakahama, 2e-7);
        for (std::size_t s = 0; s < 4; ++s)
            EXPECT_EQ(state.StateProbability[s], c.counts[s] / 256.f);
    }
}

TEST(MarkovPanelTest, TextOfFourBlocksAndRerunningChangesNothing) {
    AnalysisState state = WithSeries(Cases[0].values);
    RecordingWindow window;
    MarkovCommand(state, window);
    const std::string text =
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
        "Nakahama index: 0.952";
    EXPECT_EQ(window.caption(LabelId::Label5), text);
    EXPECT_TRUE(window.panelVisible);
    // A second run, with or without the panel, gives the same text and results.
    const AnalysisState after = state;
    MarkovCommand(state, window);
    EXPECT_EQ(window.caption(LabelId::Label5), text);
    EXPECT_TRUE(state == after);
    RunMarkovAnalysis(state);
    EXPECT_TRUE(state == after);
}

// Equal intervals: every beat in state 4, H0 = 0; the command stops at the Nakahama index
// with lines 1 to 19 written, the empty states' rows zero and the panel still hidden.
TEST(MarkovPanelTest, NoVariabilityStopsAtTheNakahamaIndex) {
    AnalysisState state;
    RecordingWindow window;
    try {
        MarkovCommand(state, window);
        FAIL() << "completed";
    } catch (const CommandFailure& failure) {
        EXPECT_STREQ(
            failure.what(),
            "no variability: all beats fall in one state, the Nakahama index is undefined");
    }
    const std::string text = window.caption(LabelId::Label5);
    EXPECT_NE(text.find("State 4 - RR >0.000      sec: 256 (1.000)\r\n"), std::string::npos);
    const std::string tail =
        "State 3    .000    .000    .000    .000\r\n"
        "State 4    .000    .000    .000    .996\r\n\r\nH1: 0.006 bits/symbol\r\n\r\n";
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_FALSE(window.panelVisible);
    Table expected{};
    expected[3][3] = 255 / 256.f;
    EXPECT_EQ(state.TransitionProbability, expected);
    EXPECT_NEAR(state.EntropyH1, 0.0056245, 1e-7);
}

}  // namespace
}  // namespace ritmova
