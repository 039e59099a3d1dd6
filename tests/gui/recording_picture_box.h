#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace ritmova::test {

// A picture box that writes down every call, numbers with up to 9 significant digits.
class RecordingPictureBox final : public PictureBox {
  public:
    std::vector<std::string> calls;

    void clear() override { calls.push_back("clear"); }
    void setScaleWidth(double w) override { record("scaleWidth", {w}); }
    void setScaleHeight(double h) override { record("scaleHeight", {h}); }
    void setScaleTop(double t) override { record("scaleTop", {t}); }
    void setScale(double x1, double y1, double x2, double y2) override {
        record("scale", {x1, y1, x2, y2});
    }
    void setDrawStyle(DrawStyle style) override {
        calls.push_back(style == DrawStyle::Dotted ? "dotted" : "solid");
    }
    void setDrawWidth(int pixels) override { record("drawWidth", {double(pixels)}); }
    void line(double x1, double y1, double x2, double y2) override {
        record("line", {x1, y1, x2, y2});
    }
    void lineTo(double x, double y) override { record("lineTo", {x, y}); }
    void point(double x, double y) override { record("point", {x, y}); }
    void setCurrentX(double x) override { record("x", {x}); }
    void setCurrentY(double y) override { record("y", {y}); }
    void printText(std::string_view text) override {
        calls.push_back("print '" + std::string(text) + "'");
    }

  private:
    void record(const char* name, std::initializer_list<double> values) {
        std::string call = name;
        for (double v : values) {
            char number[32];
            std::snprintf(number, sizeof number, " %.9g", v);
            call += number;
        }
        calls.push_back(call);
    }
};

}  // namespace ritmova::test
