#pragma once

#include <array>
#include <functional>

// The window's layout at load, in twips (1440 to the inch): every control at a fixed
// proportion of the window's outer size. Qt-free, so the formulas can be checked by hand.
//
// The load runs in 64 numbered steps: 1 to 5 size and centre the window; 6 to 21 place the
// plots and set their scales; 22 to 27 place and label the axis values; 28 and 29 caption
// the axis titles; 30 to 41 place the results text and Save results; 42 to 47 place the
// axis titles; 48 to 64 lay out, caption and hide the Markov panel.
namespace ritmova {

inline constexpr float TwipsPerInch = 1440.0F;

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// The window's outer rectangle (frame, title bar and menu bar included) as read back after
// it was sized and centred; left and top are measured on the screen.
using WindowTwips = TwipsRect;

// Where each control goes. markovText, markovPrintButton and markovExitButton are placed inside
// markovPanel, from its top-left corner; every other control from the top-left corner of the
// window's inner area.
struct LoadLayout {
    TwipsRect tachogram, spectrum, poincare;
    std::array<TwipsRect, 4> axisValues;
    TwipsRect summary, tachogramAxisTitle, spectrumAxisTitle;
    TwipsRect saveResults;
    TwipsRect markovPanel, markovText, markovPrint, markovExit;
};

// What the toolkit does to a position or size when it is assigned (whole pixels, say).
using TwipsSnap = std::function<float(float)>;

// Keeps every value as computed.
float Unsnapped(float twips);

// Rounds to whole pixels of `twipsPerPixel` twips.
TwipsSnap PixelSnap(float twipsPerPixel);

// The controls' sizes from the window's design: axisValueLabels 1215 wide and 255 high,
// tachogramAxisTitle and spectrumAxisTitle 495 high. The load keeps the heights.
LoadLayout DesignLayout();

// The offset that centres a window of `windowExtent` on `screenExtent`.
float CentredOffset(float screenExtent, float windowExtent);

// The control steps of the load (plots, axis values, results text, Save results, axis
// titles, Markov panel) in their order. Every step stores its result in single precision,
// through `snap`, and reads its operands from what the earlier steps left.
LoadLayout ComputeLoadLayout(const WindowTwips& window, const TwipsSnap& snap);

}  // namespace ritmova
