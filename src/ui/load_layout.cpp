#include "ui/load_layout.h"

#include <cmath>

namespace ritmova {
namespace {

// Assigns one property: the value is taken to single precision, then snapped.
class Assigner {
  public:
    explicit Assigner(const TwipsSnap& snap) : snap_(snap) {}
    void operator()(float& property, double value) const {
        property = snap_(static_cast<float>(value));
    }

  private:
    const TwipsSnap& snap_;
};

// The three plots right of the axis values, in the order each size depends on the one before.
// M is the first axis value label's width as it stands at each assignment.
void placePlots(LoadLayout& l, const WindowTwips& w, const Assigner& set) {
    const double M = l.axisValues[0].width;
    set(l.tachogram.width, double{w.width} - M);
    set(l.tachogram.height, w.height / 3.5);
    set(l.tachogram.top, w.top);
    set(l.tachogram.left, M);
    set(l.spectrum.height, w.height / 3.5);
    set(l.spectrum.width, double{l.tachogram.width} - l.spectrum.height);
    set(l.spectrum.top, double{l.tachogram.height} + l.tachogram.top);
    set(l.spectrum.left, M);
    set(l.poincare.height, l.spectrum.height);
    set(l.poincare.width, l.poincare.height);
    set(l.poincare.top, l.spectrum.top);
    set(l.poincare.left, double{l.spectrum.width} + l.spectrum.left);
}

// The axis values at the plots' top and bottom edges, in the room left of the plots.
void placeAxisValues(LoadLayout& l, const WindowTwips& w, const Assigner& set) {
    set(l.axisValues[0].top, w.top);
    set(l.axisValues[1].top, double{l.tachogram.height} - l.axisValues[1].height);
    set(l.axisValues[2].top, l.spectrum.top);
    set(l.axisValues[3].top, double{l.spectrum.height} + l.spectrum.top - l.axisValues[3].height);
    for (TwipsRect& label : l.axisValues) {
        set(label.width, (double{w.width} - l.tachogram.width) * 0.9);
        set(label.left, (double{w.width} - l.tachogram.width) * 0.05);
    }
}

// The summary under the spectrum, and Save results centred under the summary.
void placeResults(LoadLayout& l, const WindowTwips& w, const Assigner& set) {
    const double M = l.axisValues[0].width;
    set(l.summary.width, double{w.width} - M);
    set(l.summary.height, l.spectrum.height);
    set(l.summary.top, double{l.spectrum.height} + l.spectrum.top);
    set(l.summary.left, l.spectrum.left);
    set(l.saveResults.width, M * 2);
    set(l.saveResults.left,
        l.summary.width * 0.5 + double{l.summary.left} - double{l.saveResults.width} * 0.5);
    set(l.saveResults.height, l.summary.height * 0.1);
    set(l.saveResults.top, l.summary.height * 1.02 + double{l.summary.top});
}

// The axis titles beside the middle of their plots.
void placeAxisTitles(LoadLayout& l, const Assigner& set) {
    const double M = l.axisValues[0].width;
    set(l.tachogramAxisTitle.width, M);
    set(l.spectrumAxisTitle.width, M);
    set(l.tachogramAxisTitle.left, l.axisValues[0].left);
    set(l.spectrumAxisTitle.left, l.axisValues[0].left);
    set(l.tachogramAxisTitle.top,
        l.tachogram.height / 2.0 + double{l.tachogram.top} - l.tachogramAxisTitle.height / 2.0);
    set(l.spectrumAxisTitle.top,
        l.spectrum.height / 2.0 + double{l.spectrum.top} - l.spectrumAxisTitle.height / 2.0);
}

// The Markov panel in the middle of the window, its text and, under it, its two buttons.
void placePanel(LoadLayout& l, const WindowTwips& w, const Assigner& set) {
    set(l.markovPanel.width, w.width * 0.8);
    set(l.markovPanel.height, w.height * 0.7);
    set(l.markovPanel.top, w.height * 0.1 + double{w.top});
    set(l.markovPanel.left, w.width * 0.1 + double{w.left});
    set(l.markovText.width, l.markovPanel.width * 0.9);
    set(l.markovText.height, l.markovPanel.height * 0.8);
    set(l.markovText.top, l.markovPanel.height * 0.05);
    set(l.markovText.left, l.markovPanel.width * 0.05);
    for (TwipsRect* button : {&l.markovPrint, &l.markovExit}) {
        set(button->width, l.markovPanel.width * 0.15);
        set(button->height, l.markovPanel.height * 0.05);
        set(button->top, l.markovPanel.height * 0.875);
    }
    set(l.markovExit.left, double{l.markovText.width} + l.markovText.left - l.markovExit.width);
    set(l.markovPrint.left, l.markovExit.left - l.markovPanel.width * 0.05 - l.markovPrint.width);
}

}  // namespace

float Unsnapped(float twips) {
    return twips;
}

TwipsSnap PixelSnap(float twipsPerPixel) {
    return
        [twipsPerPixel](float twips) { return std::round(twips / twipsPerPixel) * twipsPerPixel; };
}

LoadLayout DesignLayout() {
    LoadLayout l;
    for (TwipsRect& label : l.axisValues) {
        label.width = 1215;
        label.height = 255;
    }
    l.tachogramAxisTitle.height = 495;
    l.spectrumAxisTitle.height = 495;
    return l;
}

float CentredOffset(float screenExtent, float windowExtent) {
    return static_cast<float>((double{screenExtent} - windowExtent) / 2);
}

LoadLayout ComputeLoadLayout(const WindowTwips& window, const TwipsSnap& snap) {
    const Assigner set(snap);
    LoadLayout l = DesignLayout();
    placePlots(l, window, set);
    placeAxisValues(l, window, set);
    placeResults(l, window, set);
    placeAxisTitles(l, set);
    placePanel(l, window, set);
    return l;
}

}  // namespace ritmova
