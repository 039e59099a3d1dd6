// The time and frequency plots of the standard analysis: the tachogram and the spectra.
#include "ui/standard_plots.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "report/plot_scale.h"
#include "report/standard_rows.h"
#include "standard/spectral_bands.h"
#include "ui/plot_axes.h"

namespace ritmova {
namespace {

using namespace standard;

constexpr double ShownHzLimit = 0.5;
const QColor StretchColour(255, 244, 190);
const std::array<QColor, BandCount> BandColours{QColor(255, 255, 255), QColor(232, 232, 232),
                                                QColor(215, 230, 250), QColor(220, 242, 215)};

// A line through the points, or, when there are more points than pixel columns, through each
// column's least and greatest value, so that a day of beats draws as fast as a minute.
QPolygonF linePoints(const PlotAxes& axes, std::span<const double> x, std::span<const double> y) {
    QPolygonF line;
    const auto columns = static_cast<std::size_t>(std::max(1.0, std::ceil(axes.area().width())));
    if (x.size() <= 2 * columns) {
        for (std::size_t i = 0; i < x.size(); ++i) line << axes.map(x[i], y[i]);
        return line;
    }
    const auto ranges = ColumnRanges(x, y, axes.x().low, axes.x().high, columns);
    const double width = (axes.x().high - axes.x().low) / static_cast<double>(columns);
    for (std::size_t c = 0; c < ranges.size(); ++c) {
        if (!ranges[c]) continue;
        const double at = axes.x().low + (static_cast<double>(c) + 0.5) * width;
        line << axes.map(at, ranges[c]->low) << axes.map(at, ranges[c]->high);
    }
    return line;
}

std::pair<double, double> extremes(std::span<const double> values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return {*low, *high};
}

// Ticks at the given beats' times, from the bottom (up) or the top (down) of the area.
void drawBeatTicks(QPainter& painter, const PlotAxes& axes, std::span<const double> minutes,
                   std::span<const std::size_t> beats, const QColor& colour, bool fromTop) {
    painter.setPen(QPen(colour, 1.0));
    const double length = 6;
    const QRectF& area = axes.area();
    for (const std::size_t beat : beats) {
        if (beat == 0 || beat > minutes.size()) continue;
        const double x = axes.mapX(minutes[beat - 1]);
        const double y0 = fromTop ? area.top() : area.bottom();
        painter.drawLine(QPointF(x, y0), QPointF(x, fromTop ? y0 + length : y0 - length));
    }
}

// The tachogram's series, minutes over ms or bpm, and its axes in `rect`.
struct TachogramLayout {
    std::vector<double> minutes, values;
};

TachogramLayout tachogramSeries(const TachogramPlotData& data) {
    const std::size_t count = std::min(data.rrMs.size(), data.timesS.size());
    TachogramLayout layout{std::vector<double>(count), std::vector<double>(count)};
    for (std::size_t i = 0; i < count; ++i) {
        layout.minutes[i] = data.timesS[i] / 60;
        layout.values[i] = data.heartRate ? 60000 / data.rrMs[i] : data.rrMs[i];
    }
    return layout;
}

PlotAxes tachogramAxes(QPainter& painter, const QRectF& rect, const TachogramLayout& layout) {
    const auto [low, high] = extremes(layout.values);
    return PlotAxes(painter, rect,
                    NiceTicks(std::min(0.0, layout.minutes.front()), layout.minutes.back(), 8),
                    NiceTicks(low, high, 6));
}

}  // namespace

std::optional<double> TachogramTimeAt(QPainter& painter, const QRectF& rect,
                                      const TachogramPlotData& data, double x) {
    const TachogramLayout layout = tachogramSeries(data);
    if (layout.minutes.empty()) return std::nullopt;
    return tachogramAxes(painter, rect, layout).unmapX(x) * 60;
}

void PaintTachogram(QPainter& painter, const QRectF& rect, const TachogramPlotData& data) {
    const QString title = data.heartRate ? "Heart rate" : "R-R intervals";
    const TachogramLayout layout = tachogramSeries(data);
    if (layout.minutes.empty()) return DrawEmptyPlot(painter, rect, title, "No intervals");
    const std::vector<double>& minutes = layout.minutes;
    const std::vector<double>& values = layout.values;
    const PlotAxes axes = tachogramAxes(painter, rect, layout);
    painter.save();
    painter.setClipRect(axes.area());
    const QPointF from = axes.map(data.stretchStartS / 60, axes.y().high);
    const QPointF to = axes.map(data.stretchEndS / 60, axes.y().low);
    painter.fillRect(QRectF(from, to), StretchColour);
    painter.setPen(QPen(PlotLineColour, 1.0));
    painter.drawPolyline(linePoints(axes, minutes, values));
    drawBeatTicks(painter, axes, minutes, data.artifactBeats, PlotMarkColour, false);
    drawBeatTicks(painter, axes, minutes, data.correctedBeats, PlotCorrectedColour, true);
    painter.restore();
    axes.draw(title + " (stretch shaded, artifacts red, corrected orange)", "Time (min)",
              data.heartRate ? "Heart rate (bpm)" : "R-R (ms)");
}

namespace {

// The peak of each band from VLF on: a dot on the density and its frequency.
void drawPeaks(QPainter& painter, const PlotAxes& axes, const Spectrum& spectrum,
               const StretchResults& results, std::size_t firstMeasure) {
    constexpr std::size_t UlfPeak = 11;  // the peaks follow ULF's in the spectrum's measures
    for (std::size_t band = 1; band < BandCount; ++band) {
        const std::optional<double> peak = results.measures[firstMeasure + UlfPeak + band].value;
        if (!peak) continue;
        const auto at =
            std::lower_bound(spectrum.frequencyHz.begin(), spectrum.frequencyHz.end(), *peak);
        if (at == spectrum.frequencyHz.end()) continue;
        const double density =
            spectrum.densityMs2PerHz[static_cast<std::size_t>(at - spectrum.frequencyHz.begin())];
        const QPointF point = axes.map(*peak, density);
        painter.setPen(QPen(PlotMarkColour, 1.0));
        painter.setBrush(PlotMarkColour);
        painter.drawEllipse(point, 2.5, 2.5);
        painter.setPen(Qt::black);
        painter.drawText(point + QPointF(4, -3), QString::fromStdString(FixedText(*peak, 3)));
    }
}

void shadeBands(QPainter& painter, const PlotAxes& axes) {
    for (std::size_t band = 1; band < BandCount; ++band) {
        const BandLimits& limits = BandTable[band];
        const QRectF shade(QPointF(axes.mapX(limits.lowHz), axes.area().top()),
                           QPointF(axes.mapX(limits.highHz), axes.area().bottom()));
        painter.fillRect(shade, BandColours[band]);
        painter.setPen(Qt::darkGray);
        painter.drawText(shade.adjusted(2, 2, -2, -2), Qt::AlignHCenter | Qt::AlignTop,
                         PlotText(limits.label));
    }
}

}  // namespace

void PaintSpectrum(QPainter& painter, const QRectF& rect, const StretchResults& results,
                   SpectrumMethod method) {
    const auto index = static_cast<std::size_t>(method);
    const Spectrum& spectrum = results.spectra[index];
    const QString title = method == SpectrumMethod::Welch         ? "Welch spectrum"
                          : method == SpectrumMethod::LombScargle ? "Lomb-Scargle spectrum"
                                                                  : "Autoregressive spectrum";
    if (!spectrum.Available())
        return DrawEmptyPlot(painter, rect, title, PlotText(spectrum.reason));
    const auto shown = static_cast<std::size_t>(
        std::upper_bound(spectrum.frequencyHz.begin(), spectrum.frequencyHz.end(), ShownHzLimit) -
        spectrum.frequencyHz.begin());
    const std::span<const double> hz(spectrum.frequencyHz.data(), shown);
    const std::span<const double> density(spectrum.densityMs2PerHz.data(), shown);
    // Scaled to the bands measured from VLF on: the slope towards 0 Hz would flatten them.
    const auto vlf = static_cast<std::size_t>(
        std::lower_bound(hz.begin(), hz.end(), BandTable[1].lowHz) - hz.begin());
    const double top = vlf < density.size() ? extremes(density.subspan(vlf)).second : 1;
    const PlotAxes axes(painter, rect,
                        NiceTicks(0, std::min(ShownHzLimit, spectrum.frequencyHz.back()), 6),
                        NiceTicks(0, top > 0 ? top : 1, 5));
    painter.save();
    painter.setClipRect(axes.area());
    shadeBands(painter, axes);
    painter.setPen(QPen(PlotLineColour, 1.0));
    painter.drawPolyline(linePoints(axes, hz, density));
    drawPeaks(painter, axes, spectrum, results,
              static_cast<std::size_t>(MeasureId::SpectrumFirst) + index * SpectrumMeasureCount);
    painter.restore();
    axes.draw(title, "Frequency (Hz)", "Density (ms²/Hz)");
}

}  // namespace ritmova
