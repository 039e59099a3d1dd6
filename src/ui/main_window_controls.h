#pragma once

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;

namespace ritmova {

class PictureBoxWidget;
class QtCommonDialog;

// The controls of the main window: the three plots with their axis values (the tachogram's
// top and bottom, then the spectrum's) and axis titles, the results summary with Save results,
// and the Markov panel with its text and buttons; and the window's file dialogs (the save
// dialog also sets up the printer).
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

}  // namespace ritmova
