#pragma once

#include <string>
#include <string_view>

// The window operations that the commands and plots call. The Qt window implements them;
// the console tool and the tests use headless or recording implementations.
namespace ritmova {

enum class DrawStyle { Solid, Dotted };

// A picture box. Coordinates are in the picture's user scale; a negative scale height makes
// y grow upwards. Lines, points and texts use the picture's foreground colour.
class PictureBox {
  public:
    virtual ~PictureBox() = default;
    virtual void clear() = 0;
    virtual void setScaleWidth(double width) = 0;
    virtual void setScaleHeight(double height) = 0;
    virtual void setScaleTop(double top) = 0;
    // Two-corner scale: (x1, y1) is the top-left corner, (x2, y2) the bottom-right one.
    virtual void setScale(double x1, double y1, double x2, double y2) = 0;
    virtual void setDrawStyle(DrawStyle style) = 0;
    virtual void setDrawWidth(int pixels) = 0;
    // Both line operations leave the current position at the end point.
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void lineTo(double x, double y) = 0;
    // A dot as wide as the draw width; the current position moves there.
    virtual void point(double x, double y) = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    // Prints text with its top-left corner at the current position.
    virtual void printText(std::string_view text) = 0;
};

// A common dialog component: file open, file save or printer setup. The filter lists
// descriptions and patterns separated by '|'; the filter index 1 preselects the first entry.
class CommonDialog {
  public:
    virtual ~CommonDialog() = default;
    virtual void setFilter(std::string_view filter) = 0;
    virtual void setFilterIndex(int index) = 0;
    // Each show returns false when the user cancels. The file name is kept between uses.
    virtual bool showOpen() = 0;
    virtual bool showSave() = 0;
    virtual bool showPrinter() = 0;
    virtual std::string fileName() const = 0;
};

enum class LabelId {
    TachogramTop,
    TachogramBottom,
    SpectrumTop,
    SpectrumBottom,
    Summary,
    TachogramAxisTitle,
    SpectrumAxisTitle,
    MarkovText
};
enum class ButtonId { MarkovPrint, MarkovExit, SaveResults };
enum class PictureId { Tachogram, Spectrum, Poincare };
enum class DialogId { Open, Save };

// The main window as the commands see it.
class WindowPort {
  public:
    virtual ~WindowPort() = default;
    virtual PictureBox& picture(PictureId id) = 0;
    virtual CommonDialog& dialog(DialogId id) = 0;
    virtual std::string labelCaption(LabelId id) const = 0;
    virtual void setLabelCaption(LabelId id, std::string_view caption) = 0;
    virtual void setButtonEnabled(ButtonId id, bool enabled) = 0;
    // markovPanel, the Markov panel.
    virtual void setPanelVisible(bool visible) = 0;
    // Clears what was drawn on the window's own surface (not the picture boxes).
    virtual void clearScreen() = 0;
    // A failed command: the system beep, and the reason where the user can read it.
    virtual void reportFailure(std::string_view reason) = 0;
    // A command that completed: any earlier failure reason goes away.
    virtual void clearFailure() = 0;
};

}  // namespace ritmova
