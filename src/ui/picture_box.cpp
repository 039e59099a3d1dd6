#include "ui/picture_box.h"

#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "ui/load_layout.h"

namespace ritmova {

PictureBoxWidget::PictureBoxWidget(const QColor& background, QWidget* parent)
    : QFrame(parent), background_(background) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background_);
    setPalette(colours);
    setAutoFillBackground(true);
}

// Runs `paint` with a painter on the backing image, in logical pixels of the inner area, and
// keeps it as a stroke for drawing the picture again at another resolution.
void PictureBoxWidget::paintOnImage(Stroke paint) {
    fitImageToInnerArea();
    if (image_.isNull()) return;  // no inner area yet
    QPainter painter(&image_);
    paint(painter);
    painter.end();
    strokes_.push_back(std::move(paint));
    update();
}

// The image follows the inner area's size; what was drawn stays at its top-left corner.
void PictureBoxWidget::fitImageToInnerArea() {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = contentsRect().size() * ratio;
    if (image_.size() == pixels && image_.devicePixelRatio() == ratio) return;
    QImage fitted(pixels, QImage::Format_RGB32);
    fitted.setDevicePixelRatio(ratio);
    fitted.fill(background_);
    if (!image_.isNull()) QPainter(&fitted).drawImage(0, 0, image_);
    image_ = fitted;
}

PictureBoxWidget::Scale PictureBoxWidget::currentScale() const {
    if (userScale_) return scale_;
    const double twipsPerPixel = double{TwipsPerInch} / logicalDpiX();
    return {0, 0, contentsRect().width() * twipsPerPixel, contentsRect().height() * twipsPerPixel};
}

QPointF PictureBoxWidget::toPixels(double x, double y) const {
    const Scale scale = currentScale();
    const QSize inner = contentsRect().size();
    return {(x - scale.left) * inner.width() / scale.width,
            (y - scale.top) * inner.height() / scale.height};
}

QPen PictureBoxWidget::linePen() const {
    QPen pen(palette().color(QPalette::WindowText), drawWidth_);
    pen.setStyle(drawStyle_ == DrawStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void PictureBoxWidget::clear() {
    fitImageToInnerArea();
    image_.fill(background_);
    strokes_.clear();
    update();
}

// Setting one part of the scale switches to a user scale that keeps the other parts.
void PictureBoxWidget::setScaleWidth(double width) {
    scale_ = currentScale();
    userScale_ = true;
    scale_.width = width;
}

void PictureBoxWidget::setScaleHeight(double height) {
    scale_ = currentScale();
    userScale_ = true;
    scale_.height = height;
}

void PictureBoxWidget::setScaleTop(double top) {
    scale_ = currentScale();
    userScale_ = true;
    scale_.top = top;
}

void PictureBoxWidget::setScale(double x1, double y1, double x2, double y2) {
    userScale_ = true;
    scale_ = {x1, y1, x2 - x1, y2 - y1};
}

void PictureBoxWidget::setDrawStyle(DrawStyle style) {
    drawStyle_ = style;
}

void PictureBoxWidget::setDrawWidth(int pixels) {
    drawWidth_ = pixels;
}

void PictureBoxWidget::line(double x1, double y1, double x2, double y2) {
    paintOnImage(
        [pen = linePen(), from = toPixels(x1, y1), to = toPixels(x2, y2)](QPainter& painter) {
            painter.setPen(pen);
            painter.drawLine(from, to);
        });
    currentX_ = x2;
    currentY_ = y2;
}

void PictureBoxWidget::lineTo(double x, double y) {
    line(currentX_, currentY_, x, y);
}

// The dot covers whole pixels: width w around the centre, from round(centre - w / 2).
void PictureBoxWidget::point(double x, double y) {
    const QPointF centre = toPixels(x, y);
    const double half = drawWidth_ / 2.0;
    const QRectF dot(std::round(centre.x() - half), std::round(centre.y() - half), drawWidth_,
                     drawWidth_);
    paintOnImage([dot, colour = palette().color(QPalette::WindowText)](QPainter& painter) {
        painter.fillRect(dot, colour);
    });
    currentX_ = x;
    currentY_ = y;
}

void PictureBoxWidget::setCurrentX(double x) {
    currentX_ = x;
}

void PictureBoxWidget::setCurrentY(double y) {
    currentY_ = y;
}

void PictureBoxWidget::printText(std::string_view text) {
    paintOnImage([colour = palette().color(QPalette::WindowText), textFont = font(),
                  topLeft = toPixels(currentX_, currentY_),
                  shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))](
                     QPainter& painter) {
        painter.setPen(colour);
        painter.setFont(textFont);
        painter.drawText(topLeft + QPointF(0, painter.fontMetrics().ascent()), shown);
    });
}

// On the screen the backing image is shown. When the window is recorded for printing or
// export (a QPicture), the strokes are drawn again instead, so that lines and text stay
// vectors at the target's resolution.
void PictureBoxWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    if (painter.paintEngine()->type() != QPaintEngine::Picture) {
        painter.drawImage(contentsRect().topLeft(), image_);
        return;
    }
    painter.translate(contentsRect().topLeft());
    for (const Stroke& stroke : strokes_) stroke(painter);
}

}  // namespace ritmova
