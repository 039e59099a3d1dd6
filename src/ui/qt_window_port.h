#pragma once

#include <QString>
#include <array>
#include <string>

#include "ui/window_port.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QStatusBar;

namespace ritmova {

class PictureBoxWidget;
class QtCommonDialog;

// The controls of the main window, under their names.
struct MainWindowControls {
    PictureBoxWidget* tachogramPlot = nullptr;
    PictureBoxWidget* spectrumPlot = nullptr;
    PictureBoxWidget* poincarePlot = nullptr;
    std::array<QLabel*, 4> axisValueLabels{};
    QLabel* summaryLabel = nullptr;
    QLabel* tachogramAxisTitle = nullptr;
    QLabel* spectrumAxisTitle = nullptr;
    QLabel* markovText = nullptr;
    QPushButton* markovPrintButton = nullptr;
    QPushButton* markovExitButton = nullptr;
    QPushButton* saveResultsButton = nullptr;
    QGroupBox* markovPanel = nullptr;
    QtCommonDialog* openDialog = nullptr;
    QtCommonDialog* saveDialog = nullptr;
    QtCommonDialog* exportDialog = nullptr;  // File → Export image's own, with its own name
};

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
