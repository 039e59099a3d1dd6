// The standard analysis's plots painted offscreen: within their rectangle, with and without
// data, and where the data says.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>

#include "standard/series.h"
#include "standard/stretch.h"
#include "ui/standard_plots.h"

namespace ritmova {
namespace {

using namespace standard;

StretchResults analysed(const std::vector<double>& rr) {
    if (rr.empty()) return {};
    return AnalyseStretch(rr, PlanStretches(BeatTimes(rr), {}).stretches.front(), {});
}

// A series of `count` intervals about 850 ms that breathes and drifts.
std::vector<double> breathing(std::size_t count) {
    std::vector<double> rr;
    for (std::size_t i = 0; i < count; ++i) {
        const auto x = static_cast<double>(i);
        rr.push_back(850 + 40 * std::sin(x * 1.3) + 30 * std::sin(x * 0.07));
    }
    return rr;
}

using Painting = std::function<void(QPainter&, const QRectF&, const std::vector<double>&,
                                    const StretchResults&)>;

const std::pair<const char*, Painting> Plots[] = {
    {"tachogram",
     [](QPainter& p, const QRectF& r, const std::vector<double>& rr, const StretchResults& s) {
         const std::vector<double> times = BeatTimes(rr);
         PaintTachogram(p, r, {rr, times, s.stretch.startS, s.stretch.endS, {}, {}, false});
     }},
    {"welch", [](QPainter& p, const QRectF& r, const std::vector<double>&,
                 const StretchResults& s) { PaintSpectrum(p, r, s, SpectrumMethod::Welch); }},
    {"lomb-scargle",
     [](QPainter& p, const QRectF& r, const std::vector<double>&, const StretchResults& s) {
         PaintSpectrum(p, r, s, SpectrumMethod::LombScargle);
     }},
    {"poincare", [](QPainter& p, const QRectF& r, const std::vector<double>& rr,
                    const StretchResults& s) { PaintPoincare(p, r, rr, s); }},
    {"histogram", [](QPainter& p, const QRectF& r, const std::vector<double>& rr,
                     const StretchResults&) { PaintHistogram(p, r, rr); }},
    {"dfa", [](QPainter& p, const QRectF& r, const std::vector<double>&, const StretchResults& s) {
         PaintDfa(p, r, s);
     }}};

std::size_t pixelsWhere(const QImage& image, const std::function<bool(QRgb)>& test,
                        const QRect& part) {
    std::size_t count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x) count += test(image.pixel(x, y));
    return count;
}

bool bluish(QRgb pixel) {
    return qBlue(pixel) > qRed(pixel) + 40;
}

// Every plot paints no data, one interval and a real series within its rectangle, leaving
// the rest white; its data in blue only when there is data to draw.
TEST(StandardPlots, PaintWithinTheirRectangleForAnyData) {
    const QRect whole(0, 0, 420, 320), inside(10, 10, 400, 300);
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{600}}) {
        const std::vector<double> rr = breathing(count);
        const StretchResults results = analysed(rr);
        for (const auto& [name, paint] : Plots) {
            SCOPED_TRACE(std::string(name) + " of " + std::to_string(count));
            QImage image(whole.size(), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            paint(painter, inside, rr, results);
            painter.end();
            const auto white = [](QRgb pixel) { return pixel == qRgb(255, 255, 255); };
            EXPECT_EQ(pixelsWhere(image, white, whole),
                      pixelsWhere(image, white, inside) + 420u * 320u - 400u * 300u);
            EXPECT_LT(pixelsWhere(image, white, inside), 400u * 300u);
            const std::size_t blue = pixelsWhere(image, bluish, whole);
            if (count == 0) {
                EXPECT_EQ(blue, 0u);
            } else if (count == 600) {
                EXPECT_GT(blue, 50u);
            }
        }
    }
}

// The stretch is shaded from its start on: half-way along the line of a stretch that starts
// half-way through the recording.
TEST(StandardPlots, TachogramShadesTheStretchWhereItStarts) {
    const std::vector<double> rr = breathing(600);
    const std::vector<double> times = BeatTimes(rr);
    QImage image(620, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintTachogram(painter, QRectF(0, 0, 620, 300),
                   {rr, times, times[299], times.back(), {}, {}, false});
    painter.end();
    int lineStart = image.width(), lineEnd = 0, shadeStart = image.width();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QRgb pixel = image.pixel(x, y);
            if (bluish(pixel)) {
                lineStart = std::min(lineStart, x);
                lineEnd = std::max(lineEnd, x);
            }
            if (pixel == qRgb(255, 244, 190)) shadeStart = std::min(shadeStart, x);
        }
    }
    const double share = (times[299] - times[0]) / (times.back() - times[0]);
    EXPECT_NEAR(shadeStart, lineStart + share * (lineEnd - lineStart), 2.5);
}

}  // namespace
}  // namespace ritmova
