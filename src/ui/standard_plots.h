#pragma once

#include <QRectF>
#include <cstddef>
#include <optional>
#include <span>

#include "standard/stretch_analysis.h"

class QPainter;

// The plots of the standard analysis, each painted into a rectangle of any painter (a widget,
// an image, a printer, a PDF) from plain data alone, so that the window, its export and the
// report draw them the same way. Each is scaled to its data, with labelled axes, tick values
// and units; with no data it draws its frame and says so.
namespace ritmova {

// The R-R intervals (or the heart rate) of a recording over time.
struct TachogramPlotData {
    std::span<const double> rrMs;    // the recording's intervals
    std::span<const double> timesS;  // the beat ending each, from the first beat
    double stretchStartS = 0;        // the analysed stretch, highlighted
    double stretchEndS = 0;
    std::span<const std::size_t> artifactBeats;   // 1-based intervals flagged as artifacts
    std::span<const std::size_t> correctedBeats;  // 1-based intervals the correction replaced
    bool heartRate = false;                       // bpm (60000 / RR) instead of ms
};

// R-R (ms) or heart rate (bpm) over time (min).
void PaintTachogram(QPainter& painter, const QRectF& rect, const TachogramPlotData& data);
// The time (s) at the painter's `x` on the time axis PaintTachogram draws into `rect` with the
// painter's font, for choosing a stretch by pointing; nullopt when there are no intervals.
std::optional<double> TachogramTimeAt(QPainter& painter, const QRectF& rect,
                                      const TachogramPlotData& data, double x);

// The density (ms²/Hz over Hz, up to 0.5 Hz) of the Welch or Lomb-Scargle spectrum of
// `results`, the VLF, LF and HF bands shaded and each band's peak marked.
void PaintSpectrum(QPainter& painter, const QRectF& rect, const standard::StretchResults& results,
                   standard::SpectrumMethod method);

// RR(i+1) against RR(i) in ms, square, with the SD1/SD2 ellipse about the mean; `rrMs` are the
// intervals analysed (after correction).
void PaintPoincare(QPainter& painter, const QRectF& rect, std::span<const double> rrMs,
                   const standard::StretchResults& results);

// The histogram of the intervals analysed (count over ms) with the TINN triangle.
void PaintHistogram(QPainter& painter, const QRectF& rect, std::span<const double> rrMs);

// log10 F(n) over log10 n with the α1 (4-16) and α2 (16-64) fits.
void PaintDfa(QPainter& painter, const QRectF& rect, const standard::StretchResults& results);

}  // namespace ritmova
