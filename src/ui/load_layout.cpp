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

// Steps 6 to 19. M is Label1(0)'s width as it stands at each step.
void placePlots(LoadLayout& l, const WindowTwips& w, const Assigner& set) {
    const double M = l.label1[0].width;
    set(l.picture1.width, double{w.width} - M);
    set(l.picture1.height, w.height / 3.5);
    set(l.picture1.top, w.top);
    set(l.picture1.left, M);
    set(l.picture2.height, w.height / 3.5);
    set(l.picture2.width, double{l.picture1.width} - l.picture2.height);
    set(l.picture2.top, double{l.picture1.height} + l.picture1.top);
    set(l.picture2.left, M);
    set(l.picture3.height, l.picture2.height);
    set(l.picture3.width, l.picture3.height);
    set(l.picture3.top, l.picture2.top);
    set(l.picture3.left, double{l.picture2.width} + l.picture2.left);
}

// Steps 22 to 27.
void placeAxisValues(LoadLayout& l, const WindowTwips& w, const Assigner& set) {
    set(l.label1[0].top, w.top);
    set(l.label1[1].top, double{l.picture1.height} - l.label1[1].height);
    set(l.label1[2].top, l.picture2.top);
    set(l.label1[3].top, double{l.picture2.height} + l.picture2.top - l.label1[3].height);
    for (TwipsRect& label : l.label1) {
        set(label.width, (double{w.width} - l.picture1.width) * 0.9);
        set(label.left, (double{w.width} - l.picture1.width) * 0.05);
    }
}

// Steps 30 to 39.
void placeResults(LoadLayout& l, const WindowTwips& w, const Assigner& set) {
    const double M = l.label1[0].width;
    set(l.label2.width, double{w.width} - M);
    set(l.label2.height, l.picture2.height);
    set(l.label2.top, double{l.picture2.height} + l.picture2.top);
    set(l.label2.left, l.picture2.left);
    set(l.command3.width, M * 2);
    set(l.command3.left,
        l.label2.width * 0.5 + double{l.label2.left} - double{l.command3.width} * 0.5);
    set(l.command3.height, l.label2.height * 0.1);
    set(l.command3.top, l.label2.height * 1.02 + double{l.label2.top});
}

// Steps 42 to 47.
void placeAxisTitles(LoadLayout& l, const Assigner& set) {
    const double M = l.label1[0].width;
    set(l.label3.width, M);
    set(l.label4.width, M);
    set(l.label3.left, l.label1[0].left);
    set(l.label4.left, l.label1[0].left);
    set(l.label3.top, l.picture1.height / 2.0 + double{l.picture1.top} - l.label3.height / 2.0);
    set(l.label4.top, l.picture2.height / 2.0 + double{l.picture2.top} - l.label4.height / 2.0);
}

// Steps 48 to 63.
void placePanel(LoadLayout& l, const WindowTwips& w, const Assigner& set) {
    set(l.frame1.width, w.width * 0.8);
    set(l.frame1.height, w.height * 0.7);
    set(l.frame1.top, w.height * 0.1 + double{w.top});
    set(l.frame1.left, w.width * 0.1 + double{w.left});
    set(l.label5.width, l.frame1.width * 0.9);
    set(l.label5.height, l.frame1.height * 0.8);
    set(l.label5.top, l.frame1.height * 0.05);
    set(l.label5.left, l.frame1.width * 0.05);
    for (TwipsRect* button : {&l.command1, &l.command2}) {
        set(button->width, l.frame1.width * 0.15);
        set(button->height, l.frame1.height * 0.05);
        set(button->top, l.frame1.height * 0.875);
    }
    set(l.command2.left, double{l.label5.width} + l.label5.left - l.command2.width);
    set(l.command1.left, l.command2.left - l.frame1.width * 0.05 - l.command1.width);
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
    for (TwipsRect& label : l.label1) {
        label.width = 1215;
        label.height = 255;
    }
    l.label3.height = 495;
    l.label4.height = 495;
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
