// The Qt picture box: scales, drawing into its backing image, persistence.
#include "ui/picture_box.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <ostream>

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
    }
    bool inked(int x, int y) const { return picture.drawing().pixelColor(x, y) != Background; }
    int inkedInRow(int y, int from, int to) const {
        int count = 0;
        for (int x = from; x < to; ++x) count += inked(x, y) ? 1 : 0;
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
    picture.setScale(0, 0, 100, 50);
    picture.point(10, 10);
    EXPECT_TRUE(inked(10, 10));
    EXPECT_EQ(inkedInRow(9, 0, 100) + inkedInRow(10, 0, 100) + inkedInRow(11, 0, 100), 1);
    picture.setDrawWidth(2);
    picture.point(50, 20);
    EXPECT_TRUE(inked(49, 19) && inked(50, 19) && inked(49, 20) && inked(50, 20));
    EXPECT_EQ(inkedInRow(19, 40, 60) + inkedInRow(20, 40, 60), 4);
}

TEST_F(PictureBox, DottedLinesHaveGapsAndSolidLinesNone) {
    picture.setScale(0, 0, 100, 50);
    picture.setDrawStyle(DrawStyle::Dotted);
    picture.line(0, 10.5, 100, 10.5);
    const int dotted = inkedInRow(10, 0, 100);
    EXPECT_GT(dotted, 20);
    EXPECT_LT(dotted, 80);
    picture.setDrawStyle(DrawStyle::Solid);
    picture.line(0, 30.5, 100, 30.5);
    EXPECT_EQ(inkedInRow(30, 0, 100), 100);
}

TEST_F(PictureBox, LineToStartsAtTheLastPointAndClearRemovesEverything) {
    picture.setScale(0, 0, 100, 50);
    picture.point(10, 40.5);
    picture.lineTo(60, 40.5);
    EXPECT_GE(inkedInRow(40, 10, 60), 49);
    EXPECT_EQ(inkedInRow(40, 0, 9) + inkedInRow(40, 62, 100), 0);
    picture.clear();
    for (int y = 0; y < 50; ++y) ASSERT_EQ(inkedInRow(y, 0, 100), 0) << y;
}

TEST_F(PictureBox, PrintsTextBelowAndRightOfTheCurrentPosition) {
    picture.setScale(0, 0, 100, 50);
    picture.setCurrentX(20);
    picture.setCurrentY(10);
    picture.printText("MMM");
    int above = 0, inside = 0;
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 50; ++y) {
            if (!inked(x, y)) continue;
            (x < 20 || y < 10 ? above : inside)++;
        }
    }
    EXPECT_EQ(above, 0);
    EXPECT_GT(inside, 10);
}

TEST_F(PictureBox, DrawingSurvivesRepaintAndResize) {
    picture.setScale(0, 0, 100, 50);
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
