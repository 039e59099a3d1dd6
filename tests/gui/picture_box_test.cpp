// The Qt picture box: scales, drawing into its backing image, persistence.
#include "ui/picture_box.h"

#include <gtest/gtest.h>

namespace ritmova {
namespace {

const QColor Background(255, 255, 192);

// User coordinates to pixels under each way of setting the scale, one after the other.
TEST(PictureBox, MapsUserCoordinatesToPixels) {
    PictureBoxWidget box{Background};
    box.resize(104, 54);
    EXPECT_EQ(box.toPixels(750, 750), QPointF(50, 50));  // twips, 15 to the pixel at 96 dpi
    box.setScaleWidth(128);                              // the vertical scale stays in twips
    EXPECT_EQ(box.toPixels(64, 375), QPointF(50, 25));
    box.setScaleWidth(256);  // the tachogram's
    box.setScaleHeight(-2);
    box.setScaleTop(2);
    EXPECT_EQ(QList({box.toPixels(0, 2), box.toPixels(128, 0), box.toPixels(64, 1)}),
              QList<QPointF>({{0, 0}, {50, 50}, {25, 25}}));
    box.setScale(0.5, 1.5, 1.5, 0.5);  // the Poincare plot's
    EXPECT_EQ(QList({box.toPixels(0.5, 1.5), box.toPixels(1, 1), box.toPixels(1.5, 0.5)}),
              QList<QPointF>({{0, 0}, {50, 25}, {100, 50}}));
}

// A point as wide as the draw width; a dotted line with gaps, a solid one without; LineTo
// from the last point; text below and right of the current position; Clear removes it all.
TEST(PictureBox, DrawsPointsLinesAndTextThatLast) {
    PictureBoxWidget picture{Background};
    picture.resize(104, 54);  // an inner area of 100 x 50 pixels, at one unit a pixel
    picture.clear();
    ASSERT_EQ(picture.drawing().size(), QSize(100, 50));
    picture.setScale(0, 0, 100, 50);
    // Inked pixels in the columns [left, right) of the rows [top, bottom).
    const auto inkedIn = [&picture](int left, int top, int right, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                count += picture.drawing().pixelColor(x, y) != Background;
        return count;
    };
    picture.point(10, 5);
    EXPECT_EQ(inkedIn(10, 5, 11, 6), 1);
    picture.setDrawStyle(DrawStyle::Dotted);
    picture.line(0, 10.5, 100, 10.5);
    const int dotted = inkedIn(0, 10, 100, 11);
    EXPECT_TRUE(dotted > 20 && dotted < 80) << dotted;
    picture.setDrawStyle(DrawStyle::Solid);
    picture.line(0, 20.5, 100, 20.5);
    EXPECT_EQ(inkedIn(0, 20, 100, 21), 100);
    picture.point(10, 30.5);
    picture.lineTo(60, 30.5);
    EXPECT_GE(inkedIn(10, 30, 60, 31), 49);
    EXPECT_EQ(inkedIn(0, 30, 9, 31) + inkedIn(62, 30, 100, 31), 0);
    picture.setDrawWidth(2);
    picture.point(50, 40);
    EXPECT_EQ(inkedIn(49, 39, 51, 41), 4);  // and nothing else: the total below
    EXPECT_EQ(inkedIn(0, 0, 100, 50), 1 + dotted + 100 + inkedIn(0, 30, 100, 31) + 4);

    picture.clear();
    EXPECT_EQ(inkedIn(0, 0, 100, 50), 0);
    picture.setCurrentX(20);
    picture.setCurrentY(10);
    picture.printText("MMM");
    const int text = inkedIn(20, 10, 100, 50);
    EXPECT_TRUE(text > 10 && text == inkedIn(0, 0, 100, 50)) << text;

    // A repaint, as after the picture was covered, shows the drawing again; a larger picture
    // keeps it at the same place from the top-left corner.
    const QImage drawn = picture.drawing();
    EXPECT_EQ(picture.grab().toImage().copy(2, 2, 100, 50), drawn);
    picture.resize(204, 104);
    EXPECT_EQ(picture.grab().toImage().copy(2, 2, 100, 50), drawn);
    picture.point(99, 49);  // on the larger drawing
    EXPECT_EQ(picture.drawing().size(), QSize(200, 100));
    EXPECT_EQ(picture.drawing().copy(0, 0, 100, 50), drawn);
}

}  // namespace
}  // namespace ritmova
