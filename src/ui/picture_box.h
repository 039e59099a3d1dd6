#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QPointF>
#include <functional>
#include <vector>

#include "ui/window_port.h"

class QPainter;

namespace ritmova {

// A picture box: a framed drawing surface with a user coordinate system. What is drawn goes
// into a backing image at the screen's device pixel ratio, so it survives being covered and
// stays crisp on HiDPI screens; paintEvent only shows that image. Each drawing operation is
// also kept, so that print and export can draw the picture again at their own resolution.
//
// Until a scale width is set the picture measures in twips from its top-left corner, as a
// picture box of the window's design does; setting a scale width switches to a user scale.
class PictureBoxWidget final : public QFrame, public PictureBox {
    Q_OBJECT

  public:
    PictureBoxWidget(const QColor& background, QWidget* parent = nullptr);

    void clear() override;
    void setScaleWidth(double width) override;
    void setScaleHeight(double height) override;
    void setScaleTop(double top) override;
    void setScale(double x1, double y1, double x2, double y2) override;
    void setDrawStyle(DrawStyle style) override;
    void setDrawWidth(int pixels) override;
    void line(double x1, double y1, double x2, double y2) override;
    void lineTo(double x, double y) override;
    void point(double x, double y) override;
    void setCurrentX(double x) override;
    void setCurrentY(double y) override;
    void printText(std::string_view text) override;

    // What has been drawn, at the device pixel ratio, without the frame.
    const QImage& drawing() const { return image_; }
    // The logical position in the drawing of a point in user coordinates.
    QPointF toPixels(double x, double y) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Scale {
        double left = 0;
        double top = 0;
        double width = 0;
        double height = 0;
    };

    using Stroke = std::function<void(QPainter&)>;

    void paintOnImage(Stroke paint);
    void fitImageToInnerArea();
    Scale currentScale() const;
    QPen linePen() const;

    QColor background_;
    QImage image_;
    std::vector<Stroke> strokes_;  // what was drawn since the last clear, in order
    Scale scale_;
    bool userScale_ = false;
    DrawStyle drawStyle_ = DrawStyle::Solid;
    int drawWidth_ = 1;
    double currentX_ = 0;
    double currentY_ = 0;
};

}  // namespace ritmova
