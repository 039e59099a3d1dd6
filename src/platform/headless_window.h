#pragma once

#include <array>
#include <string>

#include "platform/platform.h"

namespace ritmova {

// A picture box that draws nothing.
class NullPictureBox final : public PictureBox {
  public:
    void clear() override {}
    void setScaleWidth(double) override {}
    void setScaleHeight(double) override {}
    void setScaleTop(double) override {}
    void setScale(double, double, double, double) override {}
    void setDrawStyle(DrawStyle) override {}
    void setDrawWidth(int) override {}
    void line(double, double, double, double) override {}
    void lineTo(double, double) override {}
    void point(double, double) override {}
    void setCurrentX(double) override {}
    void setCurrentY(double) override {}
    void printText(std::string_view) override {}
};

// A dialog that "chooses" the file name it was given, or cancels when that is empty.
class PresetDialog final : public CommonDialog {
  public:
    void setFilter(std::string_view) override {}
    void setFilterIndex(int) override {}
    bool showOpen() override { return !fileName_.empty(); }
    bool showSave() override { return !fileName_.empty(); }
    bool showPrinter() override { return false; }
    std::string fileName() const override { return fileName_; }
    void setFileName(std::string name) { fileName_ = std::move(name); }

  private:
    std::string fileName_;
};

// The window without a screen: label captions and states are kept, drawing goes nowhere.
// The console tool runs the commands against it.
class HeadlessWindow : public WindowPort {
  public:
    PictureBox& picture(PictureId) override { return picture_; }
    CommonDialog& dialog(DialogId id) override { return dialogs_[static_cast<std::size_t>(id)]; }
    std::string labelCaption(LabelId id) const override { return captions_[index(id)]; }
    void setLabelCaption(LabelId id, std::string_view caption) override {
        captions_[index(id)] = caption;
    }
    void setButtonEnabled(ButtonId, bool) override {}
    void setPanelVisible(bool visible) override { panelVisible_ = visible; }
    void clearScreen() override {}
    void reportFailure(std::string_view) override {}
    void clearFailure() override {}

    PresetDialog& openDialog() { return dialogs_[0]; }
    bool panelVisible() const { return panelVisible_; }

  private:
    static std::size_t index(LabelId id) { return static_cast<std::size_t>(id); }

    NullPictureBox picture_;
    std::array<PresetDialog, 2> dialogs_;
    std::array<std::string, 8> captions_;
    bool panelVisible_ = false;
};

}  // namespace ritmova
