// The plots of the standard analysis's geometric and nonlinear measures: Poincaré, the
// histogram with its TINN triangle, and DFA.
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <vector>

#include "report/plot_scale.h"
#include "report/standard_rows.h"
#include "standard/plot_data.h"
#include "ui/plot_axes.h"
#include "ui/standard_plots.h"

namespace ritmova {
namespace {

using namespace standard;

constexpr std::size_t HistogramBarLimit = 256;

// The dots of a scatter, one per occupied pixel: a day of beats draws, prints and saves as
// fast and as small as the pixels it covers.
QPolygonF scatterDots(const PlotAxes& axes, std::span<const double> rr) {
    const QRectF& area = axes.area();
    const auto width = static_cast<std::size_t>(std::max(1.0, std::ceil(area.width())));
    const auto height = static_cast<std::size_t>(std::max(1.0, std::ceil(area.height())));
    std::vector<bool> occupied(width * height, false);
    QPolygonF dots;
    for (std::size_t i = 0; i + 1 < rr.size(); ++i) {
        const QPointF point = axes.map(rr[i], rr[i + 1]);
        const double column = std::floor(point.x() - area.left());
        const double row = std::floor(point.y() - area.top());
        if (column < 0 || row < 0 || column >= static_cast<double>(width) ||
            row >= static_cast<double>(height))
            continue;
        const auto cell = static_cast<std::size_t>(row) * width + static_cast<std::size_t>(column);
        if (occupied[cell]) continue;
        occupied[cell] = true;
        dots << point;
    }
    return dots;
}

// The SD1/SD2 ellipse about the mean point, SD2 along the identity line.
void drawEllipse(QPainter& painter, const PlotAxes& axes, double meanMs, double sd1, double sd2) {
    const double perMs = axes.area().width() / (axes.x().high - axes.x().low);
    painter.save();
    painter.translate(axes.map(meanMs, meanMs));
    painter.rotate(-45);
    painter.setPen(QPen(PlotMarkColour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0, 0), sd2 * perMs, sd1 * perMs);
    painter.drawLine(QPointF(0, 0), QPointF(sd2 * perMs, 0));
    painter.drawLine(QPointF(0, 0), QPointF(0, -sd1 * perMs));
    painter.restore();
}

}  // namespace

void PaintPoincare(QPainter& painter, const QRectF& rect, std::span<const double> rrMs,
                   const StretchResults& results) {
    const QString title = "Poincaré plot";
    if (rrMs.size() < 2) return DrawEmptyPlot(painter, rect, title, "Fewer than 2 intervals");
    const auto [low, high] = std::minmax_element(rrMs.begin(), rrMs.end());
    const AxisTicks ticks = NiceTicks(*low, *high, 6);
    const PlotAxes axes(painter, rect, ticks, ticks, true);
    painter.save();
    painter.setClipRect(axes.area());
    painter.setPen(QPen(Qt::gray, 1.0, Qt::DashLine));
    painter.drawLine(axes.map(ticks.low, ticks.low), axes.map(ticks.high, ticks.high));
    painter.setPen(QPen(PlotLineColour, 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoints(scatterDots(axes, rrMs));
    const std::optional<double> sd1 = results[MeasureId::Sd1].value;
    const std::optional<double> sd2 = results[MeasureId::Sd2].value;
    const double mean =
        std::accumulate(rrMs.begin(), rrMs.end(), 0.0) / static_cast<double>(rrMs.size());
    if (sd1 && sd2) drawEllipse(painter, axes, mean, *sd1, *sd2);
    painter.restore();
    QString caption = title;
    if (sd1 && sd2)
        caption += QString::fromStdString(" (SD1 " + FixedText(*sd1, 1) + " ms, SD2 " +
                                          FixedText(*sd2, 1) + " ms)");
    axes.draw(caption, "RR(i) (ms)", "RR(i+1) (ms)");
}

void PaintHistogram(QPainter& painter, const QRectF& rect, std::span<const double> rrMs) {
    const QString title = "R-R histogram and TINN triangle";
    const PlotHistogram h = HistogramForPlot(rrMs, HistogramBarLimit);
    if (h.counts.empty()) return DrawEmptyPlot(painter, rect, title, "No intervals");
    const std::optional<TinnTriangle> triangle = TinnTriangleOf(rrMs);
    double left = h.firstMs, right = h.firstMs + static_cast<double>(h.counts.size()) * h.barMs;
    std::size_t top = *std::max_element(h.counts.begin(), h.counts.end());
    if (triangle) {
        left = std::min(left, triangle->nMs);
        right = std::max(right, triangle->mMs);
        top = std::max(top, triangle->modeCount);
    }
    const PlotAxes axes(painter, rect, NiceTicks(left, right, 7),
                        NiceTicks(0, static_cast<double>(top), 5));
    painter.save();
    painter.setClipRect(axes.area());
    painter.setPen(QPen(PlotLineColour.darker(130), 0.5));
    painter.setBrush(PlotLineColour.lighter(180));
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        if (h.counts[i] == 0) continue;
        const double from = h.firstMs + static_cast<double>(i) * h.barMs;
        painter.drawRect(
            QRectF(axes.map(from, static_cast<double>(h.counts[i])), axes.map(from + h.barMs, 0)));
    }
    if (triangle) {
        painter.setPen(QPen(PlotMarkColour, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(
            QPolygonF{axes.map(triangle->nMs, 0),
                      axes.map(triangle->modeMs, static_cast<double>(triangle->modeCount)),
                      axes.map(triangle->mMs, 0)});
    }
    painter.restore();
    const QString yName =
        h.merged == 1 ? "Count (7.8125-ms bins)" : QString("Count (%1-ms bins)").arg(h.barMs);
    axes.draw(title, "R-R (ms)", yName);
}

namespace {

struct DfaFit {
    MeasureId alpha;
    int first, last;
    const char* name;
    QColor colour;
};

// The fit of one exponent over its box sizes, labelled with its value.
void drawFit(QPainter& painter, const PlotAxes& axes, const StretchResults& results,
             const DfaFit& fit, double labelRow) {
    const std::optional<double> alpha = results[fit.alpha].value;
    if (!alpha) return;
    const std::optional<DfaLine> line = DfaFitLine(results.dfaPoints, fit.first, fit.last, *alpha);
    if (!line) return;
    const auto at = [&](int box) {
        const double x = std::log10(box);
        return axes.map(x, (line->intercept + line->slope * std::log(box)) / std::numbers::ln10);
    };
    painter.setPen(QPen(fit.colour, 1.5));
    painter.drawLine(at(line->firstBox), at(line->lastBox));
    painter.drawText(QPointF(axes.area().left() + 6, axes.area().top() + labelRow),
                     QString::fromStdString(std::string(fit.name) + " = " + FixedText(*alpha, 3)));
}

}  // namespace

void PaintDfa(QPainter& painter, const QRectF& rect, const StretchResults& results) {
    const QString title = "Detrended fluctuation analysis";
    std::vector<double> logN, logF;
    for (const DfaPoint& point : results.dfaPoints) {
        if (!(point.fluctuation > 0)) continue;
        logN.push_back(std::log10(point.boxSize));
        logF.push_back(std::log10(point.fluctuation));
    }
    if (logN.size() < 2) return DrawEmptyPlot(painter, rect, title, "Too few box sizes");
    const auto [lowF, highF] = std::minmax_element(logF.begin(), logF.end());
    const PlotAxes axes(painter, rect, NiceTicks(logN.front(), logN.back(), 6),
                        NiceTicks(*lowF, *highF, 5));
    painter.save();
    painter.setClipRect(axes.area());
    painter.setPen(QPen(PlotLineColour, 1.0));
    painter.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < logN.size(); ++i)
        painter.drawEllipse(axes.map(logN[i], logF[i]), 2.5, 2.5);
    const double line = QFontMetricsF(painter.font(), painter.device()).height();
    drawFit(painter, axes, results,
            {MeasureId::DfaAlpha1, DfaShortFirst, DfaShortLast, "α1", QColor(30, 130, 60)}, line);
    drawFit(painter, axes, results,
            {MeasureId::DfaAlpha2, DfaLongFirst, DfaLongLast, "α2", PlotMarkColour}, 2 * line);
    painter.restore();
    axes.draw(title, "log10 n (beats)", "log10 F(n) (ms)");
}

}  // namespace ritmova
