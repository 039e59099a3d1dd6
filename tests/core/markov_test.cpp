#include "measures/markov.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_window.h"
#include "report/markov_text.h"
#include "test_data.h"
#include "ui/pass_view.h"

namespace ritmova {
namespace {

using testing::RecordingWindow;
using Table = std::array<std::array<float, 4>, 4>;

// The analysis of the given series as read with mean 1.0 and SDNN 1.0: the limits are then
// 0.02, 1.0 and 1.98, so 0.0, 0.5, 1.5 and 2.0 fall in states 1 to 4.
MarkovResult AnalyseSeries(const std::vector<double>& values) {
    MarkovResult result;
    AnalyseMarkov(testing::ToIntervals(values), 1.0f, 1.0f, result);
    return result;
}

// A window whose pass left the series as read, mean 1.0 and SDNN 1.0.
WindowState WithSeries(const std::vector<double>& values) {
    WindowState state;
    const IntervalValues intervals = testing::ToIntervals(values);
    for (int i = 1; i <= BeatCount; ++i) state.pass.seriesAsRead[i] = intervals[std::size_t(i - 1)];
    state.pass.meanRR = 1.0f;
    state.pass.timeDomain.sdnn = 1.0f;
    return state;
}

std::vector<double> Blocks(std::initializer_list<std::pair<int, double>> blocks) {
    std::vector<double> values;
    for (auto [count, value] : blocks) values.insert(values.end(), std::size_t(count), value);
    return values;
}

// Values on the limits 0.02, 1.0 and 1.98 belong to the state above. A row divides by its
// state's count among all 256 beats; a state never seen keeps a zero row.
TEST(MarkovTest, ValuesOnTheLimitsBelongToTheStateAbove) {
    const MarkovResult r =
        AnalyseSeries(Blocks({{1, 0.02}, {1, 1.0}, {1, 1.98}, {15, 2.5}, {238, 0.5}}));
    const std::array<std::int16_t, 4> counts{0, 239, 1, 16};
    EXPECT_EQ(r.counts, counts);
    for (std::size_t s = 0; s < 4; ++s) EXPECT_EQ(r.probabilities[s], counts[s] / 256.f);
    const Table expected{
        {{0, 0, 0, 0}, {0, 237 / 239.f, 1 / 239.f, 0}, {0, 0, 0, 1}, {0, 1 / 16.f, 0, 15 / 16.f}}};
    EXPECT_EQ(r.transitionProbabilities, expected);
    EXPECT_FLOAT_EQ(r.h0, 0.3738001f);
    EXPECT_NEAR(r.h1, 0.0631672, 1e-7);
    EXPECT_NEAR(r.nakahamaIndex.value(), 0.8310136, 2e-7);
}

// Blocks of 40, 88, 80 and 48 beats in states 1 to 4: each state moves on to the next once,
// and the last beat has no successor. H0 = -sum p log2 p over 40/256, 88/256, 80/256, 48/256.
TEST(MarkovPanelTest, TextOfFourBlocksAndRerunningChangesNothing) {
    WindowState state = WithSeries(Blocks({{40, 0.0}, {88, 0.5}, {80, 1.5}, {48, 2.0}}));
    RecordingWindow window;
    AnalyseAndShowMarkov(window, state);
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
    EXPECT_EQ(window.caption(LabelId::MarkovText), text);
    EXPECT_TRUE(window.panelVisible);
    // A second run gives the same text and results.
    const WindowState after = state;
    AnalyseAndShowMarkov(window, state);
    EXPECT_EQ(window.caption(LabelId::MarkovText), text);
    EXPECT_TRUE(state == after);
}

// Equal intervals: every beat in state 4, H0 = 0; the command stops at the Nakahama index
// with the text up to H1 written, the empty states' rows zero and the panel still hidden.
TEST(MarkovPanelTest, NoVariabilityStopsAtTheNakahamaIndex) {
    WindowState state;
    RecordingWindow window;
    EXPECT_EQ(testing::FailureReason([&] { AnalyseAndShowMarkov(window, state); }, "completed"),
              "no variability: all beats fall in one state, the Nakahama index is undefined");
    const std::string text = window.caption(LabelId::MarkovText);
    EXPECT_NE(text.find("State 4 - RR >0.000      sec: 256 (1.000)\r\n"), std::string::npos);
    EXPECT_TRUE(
        text.ends_with("State 3    .000    .000    .000    .000\r\n"
                       "State 4    .000    .000    .000    .996\r\n\r\n"
                       "H1: 0.006 bits/symbol\r\n\r\n"));
    EXPECT_FALSE(window.panelVisible);
    Table expected{};
    expected[3][3] = 255 / 256.f;
    EXPECT_EQ(state.markov.transitionProbabilities, expected);
    EXPECT_NEAR(state.markov.h1, 0.0056245, 1e-7);
    EXPECT_EQ(MarkovPanelText(state.markov), text);
}

}  // namespace
}  // namespace ritmova
