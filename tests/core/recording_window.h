#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ui/window_port.h"

namespace ritmova::testing {

// A picture box that records every call since it was last cleared as a line of text, e.g.
// "line 64 0 64 2".
class RecordingPicture final : public PictureBox {
  public:
    void clear() override {
        calls.clear();  // what the picture shows now
        record("clear");
    }
    void setScaleWidth(double w) override { record("scaleWidth", {w}); }
    void setScaleHeight(double h) override { record("scaleHeight", {h}); }
    void setScaleTop(double t) override { record("scaleTop", {t}); }
    void setScale(double x1, double y1, double x2, double y2) override {
        record("scale", {x1, y1, x2, y2});
    }
    void setDrawStyle(DrawStyle s) override { record(s == DrawStyle::Solid ? "solid" : "dotted"); }
    void setDrawWidth(int w) override { record("drawWidth", {static_cast<double>(w)}); }
    void line(double x1, double y1, double x2, double y2) override {
        record("line", {x1, y1, x2, y2});
    }
    void lineTo(double x, double y) override { record("lineTo", {x, y}); }
    void point(double x, double y) override { record("point", {x, y}); }
    void setCurrentX(double x) override { record("currentX", {x}); }
    void setCurrentY(double y) override { record("currentY", {y}); }
    void printText(std::string_view text) override {
        calls.push_back("print '" + std::string(text) + "'");
    }

    std::vector<std::string> calls;

  private:
    void record(const char* name, std::initializer_list<double> args = {}) {
        std::string call = name;
        char buffer[32];
        for (double a : args) {
            std::snprintf(buffer, sizeof buffer, " %.9g", a);
            call += buffer;
        }
        calls.push_back(call);
    }
};

// A file dialog that answers with a preset file name (none: cancelled) and keeps its filter.
class RecordingDialog final : public CommonDialog {
  public:
    void setFilter(std::string_view f) override { filter = f; }
    void setFilterIndex(int index) override { filterIndex = index; }
    bool showOpen() override { return !file.empty(); }
    bool showSave() override { return !file.empty(); }
    bool showPrinter() override { return false; }
    std::string fileName() const override { return file; }

    std::string file, filter;
    int filterIndex = 0;
};

// The window as the commands see it, with every effect kept for inspection.
class RecordingWindow final : public WindowPort {
  public:
    PictureBox& picture(PictureId id) override { return pictures[static_cast<std::size_t>(id)]; }
    CommonDialog& dialog(DialogId id) override { return dialogs[static_cast<std::size_t>(id)]; }
    std::string labelCaption(LabelId id) const override { return captions[index(id)]; }
    void setLabelCaption(LabelId id, std::string_view caption) override {
        captions[index(id)] = caption;
        ++captionWrites;
    }
    void setButtonEnabled(ButtonId, bool enabled) override { saveEnabled = enabled; }
    void setPanelVisible(bool visible) override { panelVisible = visible; }
    void clearScreen() override { ++screenClears; }
    void reportFailure(std::string_view) override {}
    void clearFailure() override {}

    std::string caption(LabelId id) const { return captions[index(id)]; }
    void choose(const std::string& file) { dialogs[0].file = file; }

    std::array<RecordingPicture, 3> pictures;
    std::array<RecordingDialog, 2> dialogs;
    std::array<std::string, 8> captions;
    int captionWrites = 0, screenClears = 0;
    bool saveEnabled = false;
    bool panelVisible = false;

  private:
    static std::size_t index(LabelId id) { return static_cast<std::size_t>(id); }
};

}  // namespace ritmova::testing
