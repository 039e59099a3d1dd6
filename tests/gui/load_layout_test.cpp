#include "ui/load_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace ritmova {
namespace {

// A window as large as the 1024 x 768 screen at 15 twips per pixel, its outer rectangle at
// (300, 150) twips, before any snapping to pixels; each value worked out to two decimals.
// Label1(1) is placed from Picture1's height alone, not from its top; Label2's width uses the
// axis values' reduced width, so it reaches past the window; the window's left edge moves
// only the panel.
const LoadLayout L = ComputeLoadLayout({300, 150, 15360, 11520}, Unsnapped);

TEST(LoadLayout, PlacesEveryControlAsWorkedOut) {
    // clang-format off
    const std::tuple<const char*, TwipsRect, std::array<double, 4>> cases[] = {
        {"Picture1", L.picture1, {1215, 150, 14145, 3291.43}},
        {"Picture2", L.picture2, {1215, 3441.43, 10853.57, 3291.43}},
        {"Picture3", L.picture3, {12068.57, 3441.43, 3291.43, 3291.43}},
        {"Label1_0", L.label1[0], {60.75, 150, 1093.5, 255}},
        {"Label1_1", L.label1[1], {60.75, 3036.43, 1093.5, 255}},
        {"Label1_2", L.label1[2], {60.75, 3441.43, 1093.5, 255}},
        {"Label1_3", L.label1[3], {60.75, 6477.86, 1093.5, 255}},
        {"Label3", L.label3, {60.75, 1548.21, 1093.5, 495}},
        {"Label4", L.label4, {60.75, 4839.64, 1093.5, 495}},
        {"Label2", L.label2, {1215, 6732.86, 14266.5, 3291.43}},
        {"Command3", L.command3, {7254.75, 10090.11, 2187, 329.14}},
        {"Frame1", L.frame1, {1836, 1302, 12288, 8064}},
        {"Label5", L.label5, {614.4, 403.2, 11059.2, 6451.2}},
        {"Command1", L.command1, {7372.8, 7056, 1843.2, 403.2}},
        {"Command2", L.command2, {9830.4, 7056, 1843.2, 403.2}}};
    // clang-format on
    for (const auto& [name, actual, expected] : cases) {
        EXPECT_NEAR(actual.left, expected[0], 0.006) << name;
        EXPECT_NEAR(actual.top, expected[1], 0.006) << name;
        EXPECT_NEAR(actual.width, expected[2], 0.006) << name;
        EXPECT_NEAR(actual.height, expected[3], 0.006) << name;
    }
}

// Steps 4 and 5: half the room left either side, negative when the window is larger.
TEST(LoadLayout, CentredOffsetSplitsTheRoomLeft) {
    EXPECT_EQ(CentredOffset(15360, 12000), 1680);
    EXPECT_EQ(CentredOffset(11520, 11520), 0);
    EXPECT_EQ(CentredOffset(1000, 1015), -7.5);
}

TEST(LoadLayout, SnappedStepsReadBackTheSnappedValues) {
    const LoadLayout l = ComputeLoadLayout({0, 0, 15360, 11520}, PixelSnap(15));
    // 3291.43 snaps to 3285 (219 pixels); Picture2's width then starts from that.
    EXPECT_EQ(l.picture1.height, 3285);
    EXPECT_EQ(l.picture2.width, 14145 - 3285);
    EXPECT_EQ(l.picture3.left, 1215 + 14145 - 3285);
    // 1093.5 snaps to 1095 and Command3 is twice what Label1(0) then reports.
    EXPECT_EQ(l.label1[0].width, 1095);
    EXPECT_EQ(l.command3.width, 2190);
    for (float v : {l.label2.left, l.label2.top, l.label2.width, l.command3.left, l.command3.top,
                    l.frame1.width, l.label5.left, l.command1.left, l.command2.left}) {
        EXPECT_EQ(std::fmod(v, 15.0F), 0.0F) << v;
    }
}

}  // namespace
}  // namespace ritmova
