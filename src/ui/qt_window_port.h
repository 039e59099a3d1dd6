#pragma once

#include <QString>
#include <string>

#include "ui/window_port.h"

#include "ui/main_window_controls.h"

class QStatusBar;

namespace ritmova {

// A caption as a QLabel shows it: CR LF line breaks become line feeds.
QString ShownCaption(std::string_view caption);

// The main window as the commands see it. Label captions are kept as they were set, so that
// a caption read back is exactly the text written (the Markov panel appends to its own).
class QtWindowPort final : public WindowPort {
  public:
    QtWindowPort(const MainWindowControls& controls, QStatusBar& statusBar);

    PictureBox& picture(PictureId id) override;
    CommonDialog& dialog(DialogId id) override;
    std::string labelCaption(LabelId id) const override;
    void setLabelCaption(LabelId id, std::string_view caption) override;
    void setButtonEnabled(ButtonId id, bool enabled) override;
    void setPanelVisible(bool visible) override;
    // The window draws nothing on its own surface, so there is nothing to clear.
    void clearScreen() override {}
    void reportFailure(std::string_view reason) override;
    void clearFailure() override;

  private:
    QLabel* label(LabelId id) const;

    const MainWindowControls& controls_;
    QStatusBar& statusBar_;
    std::array<std::string, 8> captions_;
};

}  // namespace ritmova
