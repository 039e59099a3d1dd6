#include "ui/load_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace ritmova {
namespace {

// A window as large as the 1024 x 768 screen at 15 twips per pixel, its outer rectangle at
// (300, 150) twips, before any snapping to pixels; each value worked out to two decimals.
// axisValueLabels(1) is placed from tachogramPlot's height alone, not from its top; summaryLabel's
// width uses the axis values' reduced width, so it reaches past the window; the window's left edge
// moves only the panel.
const LoadLayout L = ComputeLoadLayout({300, 150, 15360, 11520}, Unsnapped);

TEST(LoadLayout, PlacesEveryControlAsWorkedOut) {
    // clang-format off
    const std::tuple<const char*, TwipsRect, std::array<double, 4>> cases[] = {
        {"tachogramPlot", L.tachogram, {1215, 150, 14145, 3291.43}},
        {"spectrumPlot", L.spectrum, {1215, 3441.43, 10853.57, 3291.43}},
        {"poincarePlot", L.poincare, {12068.57, 3441.43, 3291.43, 3291.43}},
        {"TachogramTop", L.axisValues[0], {60.75, 150, 1093.5, 255}},
        {"TachogramBottom", L.axisValues[1], {60.75, 3036.43, 1093.5, 255}},
        {"SpectrumTop", L.axisValues[2], {60.75, 3441.43, 1093.5, 255}},
        {"SpectrumBottom", L.axisValues[3], {60.75, 6477.86, 1093.5, 255}},
        {"tachogramAxisTitle", L.tachogramAxisTitle, {60.75, 1548.21, 1093.5, 495}},
        {"spectrumAxisTitle", L.spectrumAxisTitle, {60.75, 4839.64, 1093.5, 495}},
        {"summaryLabel", L.summary, {1215, 6732.86, 14266.5, 3291.43}},
        {"saveResultsButton", L.saveResults, {7254.75, 10090.11, 2187, 329.14}},
        {"markovPanel", L.markovPanel, {1836, 1302, 12288, 8064}},
        {"markovText", L.markovText, {614.4, 403.2, 11059.2, 6451.2}},
        {"markovPrintButton", L.markovPrint, {7372.8, 7056, 1843.2, 403.2}},
        {"markovExitButton", L.markovExit, {9830.4, 7056, 1843.2, 403.2}}};
    // clang-format on
    for (const auto& [name, actual, expected] : cases) {
        EXPECT_NEAR(actual.left, expected[0], 0.006) << name;
        EXPECT_NEAR(actual.top, expected[1], 0.006) << name;
        EXPECT_NEAR(actual.width, expected[2], 0.006) << name;
        EXPECT_NEAR(actual.height, expected[3], 0.006) << name;
    }
}

// Centring: half the room left either side, negative when the window is larger.
TEST(LoadLayout, CentredOffsetSplitsTheRoomLeft) {
    EXPECT_EQ(CentredOffset(15360, 12000), 1680);
    EXPECT_EQ(CentredOffset(11520, 11520), 0);
    EXPECT_EQ(CentredOffset(1000, 1015), -7.5);
}

TEST(LoadLayout, SnappedStepsReadBackTheSnappedValues) {
    const LoadLayout l = ComputeLoadLayout({0, 0, 15360, 11520}, PixelSnap(15));
    // 3291.43 snaps to 3285 (219 pixels); spectrumPlot's width then starts from that.
    EXPECT_EQ(l.tachogram.height, 3285);
    EXPECT_EQ(l.spectrum.width, 14145 - 3285);
    EXPECT_EQ(l.poincare.left, 1215 + 14145 - 3285);
    // 1093.5 snaps to 1095 and saveResultsButton is twice what axisValueLabels(0) then reports.
    EXPECT_EQ(l.axisValues[0].width, 1095);
    EXPECT_EQ(l.saveResults.width, 2190);
    for (float v :
         {l.summary.left, l.summary.top, l.summary.width, l.saveResults.left, l.saveResults.top,
          l.markovPanel.width, l.markovText.left, l.markovPrint.left, l.markovExit.left}) {
        EXPECT_EQ(std::fmod(v, 15.0F), 0.0F) << v;
    }
}

}  // namespace
}  // namespace ritmova
