// The three plots' drawing calls, worked out by hand from the plot descriptions.
#include "ui/plots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "recording_window.h"

namespace ritmova {
namespace {

using Calls = std::vector<std::string>;
using testing::RecordingPicture;

Calls slice(const Calls& calls, std::size_t from, std::size_t count) {
    return {calls.begin() + static_cast<std::ptrdiff_t>(from),
            calls.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

std::size_t countStarting(const Calls& calls, const std::string& prefix) {
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [&](auto& c) { return c.rfind(prefix, 0) == 0; }));
}

TEST(PlotTachogram, DrawsGridTraceAndBeatLabels) {
    AnalysisState state;
    for (int i = 1; i <= BeatCount; ++i) state.RRSeries[i] = i % 2 ? 0.75F : 1.25F;
    RecordingPicture picture;
    DrawTachogram(picture, state, 2);

    const Calls& calls = picture.calls;
    ASSERT_EQ(calls.size(), 11U + 1 + 255 + 9);
    EXPECT_EQ(slice(calls, 0, 12),
              (Calls{"clear", "scaleHeight -2", "scaleTop 2", "line 64 0 64 2", "line 128 0 128 2",
                     "line 192 0 192 2", "dotted", "line 1 0.5 256 0.5", "line 1 1 256 1",
                     "line 1 1.5 256 1.5", "solid", "point 1 0.75"}));
    EXPECT_EQ(calls[12], "lineTo 2 1.25");
    EXPECT_EQ(calls[266], "lineTo 256 1.25");
    EXPECT_EQ(countStarting(calls, "lineTo"), 255U);
    EXPECT_EQ(slice(calls, 267, 9),
              (Calls{"currentX 64", "currentY 1.9", "print ' 64'", "currentX 128", "currentY 1.9",
                     "print ' 128'", "currentX 192", "currentY 1.9", "print ' 192'"}));
}

TEST(PlotSpectrum, DrawsBandMarksTraceToLine256AndLabels) {
    AnalysisState state;
    state.PowerSpectrum[1] = 0.5F;
    state.PowerSpectrum[2] = 0.25F;
    RecordingPicture picture;
    DrawSpectrum(picture, state, 0.5F);

    const Calls& calls = picture.calls;
    ASSERT_EQ(calls.size(), 6U + 1 + 255 + 9);
    EXPECT_EQ(slice(calls, 0, 8),
              (Calls{"clear", "scaleHeight -0.5", "scaleTop 0.5", "line 11 0 11 0.5",
                     "line 39 0 39 0.5", "line 103 0 103 0.5", "point 1 0.5", "lineTo 2 0.25"}));
    EXPECT_EQ(calls[8], "lineTo 3 0");
    EXPECT_EQ(calls[261], "lineTo 256 0");
    EXPECT_EQ(countStarting(calls, "lineTo"), 255U);
    EXPECT_EQ(countStarting(calls, "dotted") + countStarting(calls, "solid"), 0U);
    EXPECT_EQ(
        slice(calls, 262, 9),
        (Calls{"currentX 11", "currentY 0.475", "print ' .04'", "currentX 39", "currentY 0.475",
               "print ' .15'", "currentX 103", "currentY 0.475", "print ' .4 cycles/beat'"}));
}

// Alternating 0.75 and 1.25 s around a mean of 1: every value is exact in binary, so the
// dots are exact and r is exactly -1.
AnalysisState alternatingSeries() {
    AnalysisState state;
    state.MeanRR = 1.0F;
    for (int i = 1; i <= BeatCount; ++i) state.RRSeries[i] = i % 2 ? -0.25F : 0.25F;
    return state;
}

TEST(PlotPoincare, AlternatingSeriesGivesTwoMirroredDotsAndMinusOne) {
    RecordingPicture picture;
    const double r = DrawPoincare(picture, alternatingSeries());

    EXPECT_EQ(r, -1.0);
    const Calls& calls = picture.calls;
    ASSERT_EQ(calls.size(), 1U + 255 + 6);
    EXPECT_EQ(calls[0], "clear");
    EXPECT_EQ(calls[1], "point 1.25 0.75");  // beat 2 across, beat 1 up
    EXPECT_EQ(calls[2], "point 0.75 1.25");
    EXPECT_EQ(calls[255], "point 1.25 0.75");  // beat 256 across, beat 255 up
    EXPECT_EQ(countStarting(calls, "point 1.25 0.75") + countStarting(calls, "point 0.75 1.25"),
              255U);
    EXPECT_EQ(slice(calls, 256, 6),
              (Calls{"currentX 0.5", "currentY 1.5", "print ' Poincar\u00e9 plot'", "currentX 1",
                     "currentY 0.6", "print 'r = -1'"}));
}

TEST(PlotPoincare, ConstantSeriesDrawsTheDotsThenFailsBeforeTheTexts) {
    AnalysisState state;
    state.MeanRR = 0.875F;
    RecordingPicture picture;
    EXPECT_THROW(DrawPoincare(picture, state), CorrelationUndefined);
    ASSERT_EQ(picture.calls.size(), 1U + 255);
    EXPECT_EQ(picture.calls.back(), "point 0.875 0.875");
}

}  // namespace
}  // namespace ritmova
