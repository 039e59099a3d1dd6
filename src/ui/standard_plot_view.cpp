#include "ui/standard_plot_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace ritmova {
namespace {

// A drag shorter than this many pixels is a click, which chooses nothing.
constexpr double MinimumDragPixels = 4;

}  // namespace

StandardPlotView::StandardPlotView(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setMinimumSize(180, 140);
}

void StandardPlotView::setPainter(Painter painter) {
    painter_ = std::move(painter);
    update();
}

QRectF StandardPlotView::plotRect() const {
    return QRectF(contentsRect());
}

void StandardPlotView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!painter_) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    beforePainting(painter, plotRect());
    painter_(painter, plotRect());
}

void StandardPlotView::beforePainting(QPainter&, const QRectF&) {}

TachogramView::TachogramView(QWidget* parent) : StandardPlotView(parent) {
    setCursor(Qt::IBeamCursor);
    setToolTip(tr("Drag along the time axis to choose the stretch"));
}

void TachogramView::beforePainting(QPainter& painter, const QRectF& rect) {
    timeAxis_.reset();
    if (!timeAt_) return;
    const std::optional<double> atZero = timeAt_(painter, rect, 0),
                                atOne = timeAt_(painter, rect, 1);
    if (atZero && atOne) timeAxis_ = {*atZero, *atOne - *atZero};
}

std::optional<double> TachogramView::timeAt(double x) const {
    if (!timeAxis_) return std::nullopt;
    return timeAxis_->first + x * timeAxis_->second;
}

void TachogramView::paintEvent(QPaintEvent* event) {
    StandardPlotView::paintEvent(event);
    if (!dragStart_) return;
    QPainter painter(this);
    const QRectF area = plotRect();
    const double left = std::min(*dragStart_, dragEnd_), right = std::max(*dragStart_, dragEnd_);
    QColor band = palette().color(QPalette::Highlight);
    band.setAlpha(60);
    painter.fillRect(QRectF(left, area.top(), right - left, area.height()), band);
}

void TachogramView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !hasPlot() || !timeAxis_) {
        StandardPlotView::mousePressEvent(event);
        return;
    }
    dragStart_ = event->position().x();
    dragEnd_ = *dragStart_;
    update();
}

void TachogramView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragStart_) return;
    const QRectF area = plotRect();
    dragEnd_ = std::clamp(event->position().x(), area.left(), area.right());
    update();
}

void TachogramView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragStart_ || event->button() != Qt::LeftButton) return;
    const double start = *dragStart_;
    dragStart_.reset();
    update();
    if (std::abs(dragEnd_ - start) < MinimumDragPixels) return;
    const std::optional<double> a = timeAt(start), b = timeAt(dragEnd_);
    if (!a || !b) return;
    emit stretchDragged(std::min(*a, *b), std::max(*a, *b));
}

}  // namespace ritmova
