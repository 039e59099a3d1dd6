// The Qt picture box: scales, drawing into its backing image, persistence.
#include "ui/picture_box.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

namespace ritmova {
namespace {

const QColor Background(255, 255, 192);

// A picture with an inner area of 100 x 50 pixels (the frame takes 2 pixels a side).
class PictureBox : public testing::Test {
  protected:
    void SetUp() override {
        picture.resize(104, 54);
        ASSERT_EQ(picture.contentsRect().size(), QSize(100, 50));
        picture.clear();
        ASSERT_EQ(picture.drawing().size(), QSize(100, 50));
        picture.setScale(0, 0, 100, 50);  // one unit a pixel
    }
    bool inked(int x, int y) const { return picture.drawing().pixelColor(x, y) != Background; }
    // Inked pixels in the columns [left, right) of the rows [top, bottom).
    int inkedIn(int left, int top, int right, int bottom) const {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) count += inked(x, y) ? 1 : 0;
        return count;
    }

    PictureBoxWidget picture{Background};
};

// User coordinates to pixels under each way of setting the scale. The design's twips are 15 to
// the pixel at 96 dots per inch; a scale width alone leaves the vertical scale in twips.
TEST_F(PictureBox, MapsUserCoordinatesToPixels) {
    struct ScaleCase {
        const char* scale;
        double x, y;
        QPointF pixels;
    };
    // clang-format off
    const ScaleCase cases[] = {
        {"Poincare", 0.5, 1.5, {0, 0}}, {"Poincare", 1.0, 1.0, {50, 25}},
        {"Poincare", 1.5, 0.5, {100, 50}}, {"Tachogram", 0, 2, {0, 0}},
        {"Tachogram", 128, 0, {50, 50}}, {"Tachogram", 64, 1, {25, 25}},
        {"WidthOnly", 64, 375, {50, 25}}, {"Twips", 750, 750, {50, 50}}};
    // clang-format on
    for (const ScaleCase& c : cases) {
        PictureBoxWidget box{Background};
        box.resize(104, 54);
        const std::string scale = c.scale;
        if (scale == "Poincare") box.setScale(0.5, 1.5, 1.5, 0.5);
        if (scale == "Tachogram") {
            box.setScaleWidth(256);
            box.setScaleHeight(-2);
            box.setScaleTop(2);
        }
        if (scale == "WidthOnly") box.setScaleWidth(128);
        EXPECT_EQ(box.toPixels(c.x, c.y), c.pixels) << scale << " " << c.x << " " << c.y;
    }
}

TEST_F(PictureBox, PointIsAsWideAsTheDrawWidth) {
    picture.point(10, 10);
    EXPECT_TRUE(inked(10, 10));
    EXPECT_EQ(inkedIn(0, 0, 100, 50), 1);
    picture.setDrawWidth(2);
    picture.point(50, 20);
    EXPECT_EQ(inkedIn(49, 19, 51, 21), 4);
    EXPECT_EQ(inkedIn(40, 15, 60, 25), 4);
}

TEST_F(PictureBox, DottedLinesHaveGapsAndSolidLinesNone) {
    picture.setDrawStyle(DrawStyle::Dotted);
    picture.line(0, 10.5, 100, 10.5);
    EXPECT_GT(inkedIn(0, 10, 100, 11), 20);
    EXPECT_LT(inkedIn(0, 10, 100, 11), 80);
    picture.setDrawStyle(DrawStyle::Solid);
    picture.line(0, 30.5, 100, 30.5);
    EXPECT_EQ(inkedIn(0, 30, 100, 31), 100);
}

TEST_F(PictureBox, LineToStartsAtTheLastPointAndClearRemovesEverything) {
    picture.point(10, 40.5);
    picture.lineTo(60, 40.5);
    EXPECT_GE(inkedIn(10, 40, 60, 41), 49);
    EXPECT_EQ(inkedIn(0, 40, 9, 41) + inkedIn(62, 40, 100, 41), 0);
    picture.clear();
    EXPECT_EQ(inkedIn(0, 0, 100, 50), 0);
}

TEST_F(PictureBox, PrintsTextBelowAndRightOfTheCurrentPosition) {
    picture.setCurrentX(20);
    picture.setCurrentY(10);
    picture.printText("MMM");
    EXPECT_GT(inkedIn(20, 10, 100, 50), 10);
    EXPECT_EQ(inkedIn(0, 0, 100, 50), inkedIn(20, 10, 100, 50));
}

TEST_F(PictureBox, DrawingSurvivesRepaintAndResize) {
    picture.setDrawWidth(2);
    picture.point(50, 25);
    // A repaint, as after the picture was covered, shows the drawing again.
    EXPECT_NE(picture.grab().toImage().pixelColor(2 + 50, 2 + 25), Background);
    // A larger picture keeps it at the same place from the top-left corner.
    picture.resize(204, 104);
    picture.setDrawWidth(1);
    picture.point(0, 0);
    EXPECT_EQ(picture.drawing().size(), QSize(200, 100));
    EXPECT_NE(picture.drawing().pixelColor(50, 25), Background);
    EXPECT_NE(picture.grab().toImage().pixelColor(2 + 50, 2 + 25), Background);
}

}  // namespace
}  // namespace ritmova
