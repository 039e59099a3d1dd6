#include "ui/plots.h"

#include "common/checked.h"
#include "common/number_text.h"

namespace ritmova {

void DrawTachogram(PictureBox& picture, const PassResults& results) {
    constexpr double top = 2;  // seconds
    picture.clear();
    picture.setScaleHeight(-top);
    picture.setScaleTop(top);
    for (int x = 64; x <= 192; x += 64) picture.line(x, 0, x, top);
    picture.setDrawStyle(DrawStyle::Dotted);
    for (double y = 0.5; y <= 1.5; y += 0.5) picture.line(1, y, BeatCount, y);
    picture.setDrawStyle(DrawStyle::Solid);
    picture.point(1, results.seriesAsRead[1]);
    for (int i = 2; i <= BeatCount; ++i) picture.lineTo(i, results.seriesAsRead[i]);
    for (int x = 64; x <= 192; x += 64) {
        picture.setCurrentX(x);
        picture.setCurrentY(top - top / 20);
        picture.printText(NumberText(static_cast<double>(x)));
    }
}

void DrawSpectrum(PictureBox& picture, const PassResults& results) {
    const double top = results.spectrumMax.value;
    picture.clear();
    picture.setScaleHeight(-top);
    picture.setScaleTop(top);
    for (int x : {11, 39, 103}) picture.line(x, 0, x, top);
    picture.point(1, results.powerSpectrum[1]);
    // The trace runs on over the unwritten, zero elements beyond the picture's right edge.
    for (int j = 2; j <= BeatCount; ++j) picture.lineTo(j, results.powerSpectrum[j]);
    const double labelY = top - top / 20;
    for (const auto& [x, label] : {std::pair{11, " .04"}, {39, " .15"}, {103, " .4 cycles/beat"}}) {
        picture.setCurrentX(x);
        picture.setCurrentY(labelY);
        picture.printText(label);
    }
}

void DrawPoincareDots(PictureBox& picture, const PassResults& results) {
    picture.clear();
    for (int i = 2; i <= BeatCount; ++i) {
        picture.point(CheckedSingle(results.deviations[i] + results.meanRR, "an interval"),
                      CheckedSingle(results.deviations[i - 1] + results.meanRR, "an interval"));
    }
}

void DrawPoincareTexts(PictureBox& picture, double r) {
    picture.setCurrentX(0.5);
    picture.setCurrentY(1.5);
    picture.printText(" Poincar\u00e9 plot");
    picture.setCurrentX(1.0);
    picture.setCurrentY(0.6);
    picture.printText("r = " + NumberText(r).substr(0, 8));
}

}  // namespace ritmova
