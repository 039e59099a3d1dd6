#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

#include "report/plot_scale.h"

class QPainter;

// The frame the standard analysis's plots share: a title, two axes with round tick values and
// their names with units, and the mapping from data to the painter's coordinates.
namespace ritmova {

inline const QColor PlotLineColour(25, 70, 150);
inline const QColor PlotFrameColour(120, 120, 120);
inline const QColor PlotMarkColour(200, 30, 30);
inline const QColor PlotCorrectedColour(230, 130, 0);

class PlotAxes {
  public:
    // Lays the axes out in `rect` for the painter's font; `square` makes the data area square.
    PlotAxes(QPainter& painter, const QRectF& rect, AxisTicks x, AxisTicks y, bool square = false);

    // Draws the title, the frame, the ticks with their values and the axes' names.
    void draw(const QString& title, const QString& xName, const QString& yName) const;

    QPointF map(double x, double y) const { return {mapX(x), mapY(y)}; }
    double mapX(double x) const;
    // The data x at a painter's x: the inverse of mapX.
    double unmapX(double at) const;
    double mapY(double y) const;
    const QRectF& area() const { return area_; }
    const AxisTicks& x() const { return x_; }
    const AxisTicks& y() const { return y_; }

  private:
    QPainter& painter_;
    QRectF rect_;
    QRectF area_;
    AxisTicks x_, y_;
};

// The frame and title of a plot that has nothing to show, and why.
void DrawEmptyPlot(QPainter& painter, const QRectF& rect, const QString& title,
                   const QString& reason);

// A text of the core's as the painter takes it.
QString PlotText(std::string_view text);

}  // namespace ritmova
