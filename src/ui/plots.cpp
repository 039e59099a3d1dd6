#include "ui/plots.h"

#include <cmath>
#include <optional>

#include "common/checked.h"
#include "common/number_text.h"

namespace ritmova {

void DrawTachogram(PictureBox& picture, const AnalysisState& state, std::int16_t plotScale) {
    const double top = plotScale;
    picture.clear();
    picture.setScaleHeight(-top);
    picture.setScaleTop(top);
    for (int x = 64; x <= 192; x += 64) picture.line(x, 0, x, top);
    picture.setDrawStyle(DrawStyle::Dotted);
    for (double y = 0.5; y <= 1.5; y += 0.5) picture.line(1, y, BeatCount, y);
    picture.setDrawStyle(DrawStyle::Solid);
    picture.point(1, state.RRSeries[1]);
    for (int i = 2; i <= BeatCount; ++i) picture.lineTo(i, state.RRSeries[i]);
    for (int x = 64; x <= 192; x += 64) {
        picture.setCurrentX(x);
        picture.setCurrentY(top - top / 20);
        picture.printText(NumberText(static_cast<double>(x)));
    }
}

void DrawSpectrum(PictureBox& picture, const AnalysisState& state, float spectrumMax) {
    const double top = spectrumMax;
    picture.clear();
    picture.setScaleHeight(-top);
    picture.setScaleTop(top);
    for (int x : {11, 39, 103}) picture.line(x, 0, x, top);
    picture.point(1, state.PowerSpectrum[1]);
    // The trace runs on over the unwritten, zero elements beyond the picture's right edge.
    for (int j = 2; j <= BeatCount; ++j) picture.lineTo(j, state.PowerSpectrum[j]);
    const double labelY = top - top / 20;
    for (const auto& [x, label] : {std::pair{11, " .04"}, {39, " .15"}, {103, " .4 cycles/beat"}}) {
        picture.setCurrentX(x);
        picture.setCurrentY(labelY);
        picture.printText(label);
    }
}

namespace {

struct CorrelationSums {
    float sxy = 0;
    double sxx = 0;
    double syy = 0;
};

// Sums over the pairs of successive beats; the values are deviations from MeanRR.
CorrelationSums correlationSums(const AnalysisState& state) {
    CorrelationSums sums;
    for (int i = 2; i <= BeatCount; ++i) {
        const float later = state.RRSeries[i];
        const float earlier = state.RRSeries[i - 1];
        sums.sxy = CheckedSingle(sums.sxy + CheckedSingle(later * earlier, "r"), "r");
        sums.sxx += double{later} * double{later};
        sums.syy += double{earlier} * double{earlier};
    }
    return sums;
}

std::optional<double> correlation(const CorrelationSums& sums) {
    const double denominator = std::pow(sums.sxx * sums.syy, 0.5);
    if (denominator == 0 || !std::isfinite(denominator)) return std::nullopt;
    return double{sums.sxy} / denominator;
}

}  // namespace

std::optional<double> PoincareCorrelation(const AnalysisState& state) {
    return correlation(correlationSums(state));
}

double DrawPoincare(PictureBox& picture, const AnalysisState& state) {
    picture.clear();
    for (int i = 2; i <= BeatCount; ++i) {
        picture.point(CheckedSingle(state.RRSeries[i] + state.MeanRR, "an interval"),
                      CheckedSingle(state.RRSeries[i - 1] + state.MeanRR, "an interval"));
    }
    const auto r = PoincareCorrelation(state);
    if (!r) throw CorrelationUndefined();
    picture.setCurrentX(0.5);
    picture.setCurrentY(1.5);
    picture.printText(" Poincar\u00e9 plot");
    picture.setCurrentX(1.0);
    picture.setCurrentY(0.6);
    picture.printText("r = " + NumberText(*r).substr(0, 8));
    return *r;
}

}  // namespace ritmova
