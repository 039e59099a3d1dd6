#include "ui/plot_axes.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace ritmova {
namespace {

constexpr double TickLength = 4;

QFontMetricsF metricsOf(const QPainter& painter) {
    return QFontMetricsF(painter.font(), painter.device());
}

QString tickText(const AxisTicks& axis, double value) {
    return QString::fromStdString(TickText(value, axis.step));
}

double widestTick(const QFontMetricsF& metrics, const AxisTicks& axis) {
    double widest = 0;
    for (const double value : axis.values)
        widest = std::max(widest, metrics.horizontalAdvance(tickText(axis, value)));
    return widest;
}

}  // namespace

QString PlotText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

PlotAxes::PlotAxes(QPainter& painter, const QRectF& rect, AxisTicks x, AxisTicks y, bool square)
    : painter_(painter), rect_(rect), x_(std::move(x)), y_(std::move(y)) {
    const QFontMetricsF metrics = metricsOf(painter);
    const double line = metrics.height();
    const double left = line + widestTick(metrics, y_) + 2 * TickLength;
    const double right = metrics.horizontalAdvance(tickText(x_, x_.high)) / 2 + 2;
    area_ = rect.adjusted(left, line * 1.4, -right, -(2 * line + TickLength + 2));
    if (square && area_.width() > 0 && area_.height() > 0) {
        const double side = std::min(area_.width(), area_.height());
        area_ = QRectF(area_.left() + (area_.width() - side) / 2, area_.top(), side, side);
    }
}

double PlotAxes::mapX(double x) const {
    return area_.left() + (x - x_.low) / (x_.high - x_.low) * area_.width();
}

double PlotAxes::unmapX(double at) const {
    return x_.low + (at - area_.left()) / area_.width() * (x_.high - x_.low);
}

double PlotAxes::mapY(double y) const {
    return area_.bottom() - (y - y_.low) / (y_.high - y_.low) * area_.height();
}

void PlotAxes::draw(const QString& title, const QString& xName, const QString& yName) const {
    const QFontMetricsF metrics = metricsOf(painter_);
    const double line = metrics.height();
    painter_.save();
    painter_.setPen(Qt::black);
    painter_.drawText(QRectF(rect_.left(), rect_.top(), rect_.width(), line * 1.3),
                      Qt::AlignHCenter | Qt::AlignTop, title);
    painter_.setPen(QPen(PlotFrameColour, 1.0));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(area_);
    painter_.setPen(Qt::black);
    for (const double value : x_.values) {
        const double at = mapX(value);
        painter_.drawLine(QPointF(at, area_.bottom()), QPointF(at, area_.bottom() + TickLength));
        const QString text = tickText(x_, value);
        const double width = metrics.horizontalAdvance(text);
        painter_.drawText(QRectF(at - width / 2 - 2, area_.bottom() + TickLength, width + 4, line),
                          Qt::AlignCenter, text);
    }
    for (const double value : y_.values) {
        const double at = mapY(value);
        painter_.drawLine(QPointF(area_.left() - TickLength, at), QPointF(area_.left(), at));
        painter_.drawText(
            QRectF(rect_.left(), at - line / 2, area_.left() - rect_.left() - TickLength - 2, line),
            Qt::AlignRight | Qt::AlignVCenter, tickText(y_, value));
    }
    painter_.drawText(QRectF(area_.left(), area_.bottom() + TickLength + line, area_.width(), line),
                      Qt::AlignHCenter | Qt::AlignTop, xName);
    painter_.translate(rect_.left(), area_.center().y());
    painter_.rotate(-90);
    painter_.drawText(QRectF(-area_.height() / 2, 0, area_.height(), line),
                      Qt::AlignHCenter | Qt::AlignTop, yName);
    painter_.restore();
}

void DrawEmptyPlot(QPainter& painter, const QRectF& rect, const QString& title,
                   const QString& reason) {
    const double line = metricsOf(painter).height();
    painter.save();
    painter.setPen(Qt::black);
    painter.drawText(QRectF(rect.left(), rect.top(), rect.width(), line * 1.3),
                     Qt::AlignHCenter | Qt::AlignTop, title);
    const QRectF area = rect.adjusted(2, line * 1.4, -2, -2);
    painter.setPen(QPen(PlotFrameColour, 1.0));
    painter.drawRect(area);
    painter.setPen(Qt::darkGray);
    painter.drawText(area.adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap, reason);
    painter.restore();
}

}  // namespace ritmova
