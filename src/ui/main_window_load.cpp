// The window's load: size and place the window, lay out every control at its proportion of
// the window's outer size, set the plots' scales and the start-up texts and states.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "ui/fixed_width_font.h"
#include "ui/main_window.h"
#include "ui/picture_box.h"

namespace ritmova {
namespace {

QRect inPixels(const TwipsRect& r, float twipsPerPixel) {
    const auto pixels = [twipsPerPixel](float twips) {
        return static_cast<int>(std::lround(twips / twipsPerPixel));
    };
    return {pixels(r.left), pixels(r.top), pixels(r.width), pixels(r.height)};
}

// The room the plots, the summary and Save results take, with the gap above Save results left
// under it too; no wider than the window, under whose frame the plots reach.
QSize layoutExtent(const MainWindowControls& c, int windowWidth) {
    QRect extent;
    for (const QWidget* control :
         std::initializer_list<const QWidget*>{c.tachogramPlot, c.spectrumPlot, c.poincarePlot,
                                               c.summaryLabel, c.saveResultsButton}) {
        extent |= control->geometry();
    }
    const QRect button = c.saveResultsButton->geometry();
    const int gap = std::max(button.top() - c.summaryLabel->geometry().bottom() - 1, 0);
    return {std::min(extent.right() + 1, windowWidth), extent.bottom() + 1 + gap};
}

}  // namespace

void MainWindow::loadWindow() {
    const float twipsPerPixel = TwipsPerInch / static_cast<float>(logicalDpiX());
    const WindowTwips window = sizeAndCentre(twipsPerPixel);
    placeControls(ComputeLoadLayout(window, PixelSnap(twipsPerPixel)), twipsPerPixel);
    // Made smaller, the window would cut its plots and Save results off: it keeps their room.
    centralWidget()->setMinimumSize(layoutExtent(controls_, width()));
    // The plots' scales. No picture changes its size after its scale is set, so setting
    // the scales once every control is placed gives the same coordinate systems.
    controls_.tachogramPlot->setScaleWidth(256);
    controls_.spectrumPlot->setScaleWidth(128);
    controls_.poincarePlot->setScale(0.5, 1.5, 1.5, 0.5);
    controls_.poincarePlot->setDrawWidth(2);
    setStartTexts();
}

// The window's size and place. A maximised window takes the screen's available area (the screen
// without its panels), so that area stands for the screen. Qt sizes a window by its inner area, so
// the frame that the window reports is taken off; the outer size and the position are then
// read back as the window reports them (before it is first shown, the size it was given).
WindowTwips MainWindow::sizeAndCentre(float twipsPerPixel) {
    setWindowState(Qt::WindowMaximized);
    const QRect area = screen()->availableGeometry();
    const auto twips = [twipsPerPixel](int pixels) {
        return static_cast<float>(pixels) * twipsPerPixel;
    };
    const auto pixels = [twipsPerPixel](float value) {
        return static_cast<int>(std::lround(value / twipsPerPixel));
    };
    resize(area.size() - (frameGeometry().size() - size()));
    const QSize outer = frameGeometry().size();
    move(area.topLeft() +
         QPoint(pixels(CentredOffset(twips(area.width()), twips(outer.width()))),
                pixels(CentredOffset(twips(area.height()), twips(outer.height())))));
    const QPoint corner = frameGeometry().topLeft() - area.topLeft();
    return {twips(corner.x()), twips(corner.y()), twips(outer.width()), twips(outer.height())};
}

void MainWindow::placeControls(const LoadLayout& l, float twipsPerPixel) {
    controls_.tachogramPlot->setGeometry(inPixels(l.tachogram, twipsPerPixel));
    controls_.spectrumPlot->setGeometry(inPixels(l.spectrum, twipsPerPixel));
    controls_.poincarePlot->setGeometry(inPixels(l.poincare, twipsPerPixel));
    for (std::size_t i = 0; i < l.axisValues.size(); ++i) {
        controls_.axisValueLabels[i]->setGeometry(inPixels(l.axisValues[i], twipsPerPixel));
    }
    controls_.summaryLabel->setGeometry(inPixels(l.summary, twipsPerPixel));
    controls_.tachogramAxisTitle->setGeometry(inPixels(l.tachogramAxisTitle, twipsPerPixel));
    controls_.spectrumAxisTitle->setGeometry(inPixels(l.spectrumAxisTitle, twipsPerPixel));
    controls_.saveResultsButton->setGeometry(inPixels(l.saveResults, twipsPerPixel));
    controls_.markovPanel->setGeometry(inPixels(l.markovPanel, twipsPerPixel));
    controls_.markovText->setGeometry(inPixels(l.markovText, twipsPerPixel));
    controls_.markovPrintButton->setGeometry(inPixels(l.markovPrint, twipsPerPixel));
    controls_.markovExitButton->setGeometry(inPixels(l.markovExit, twipsPerPixel));
}

// The start-up texts, fonts and states of the controls.
void MainWindow::setStartTexts() {
    port_->setLabelCaption(LabelId::TachogramTop, "2.0");
    port_->setLabelCaption(LabelId::TachogramBottom, "0");
    port_->setLabelCaption(LabelId::SpectrumTop, "0.1");
    port_->setLabelCaption(LabelId::SpectrumBottom, "0");
    port_->setLabelCaption(LabelId::TachogramAxisTitle, "R-R\r\n(sec)");
    port_->setLabelCaption(LabelId::SpectrumAxisTitle, "Power\r\n(sec\u00b2)");
    controls_.summaryLabel->setFont(
        FixedWidthFont(controls_.summaryLabel->font(), "Courier New", SummaryCharacters()));
    port_->setLabelCaption(LabelId::Summary, "");
    controls_.saveResultsButton->setText("Save results");
    controls_.saveResultsButton->setShortcut(
        QKeySequence(Qt::CTRL | Qt::Key_S));  // works while enabled
    controls_.saveResultsButton->setEnabled(false);
    controls_.markovPrintButton->setText("Print");
    controls_.markovExitButton->setText("Exit");
    controls_.markovPanel->setTitle("Markov analysis");
    controls_.markovPanel->setVisible(false);
}

}  // namespace ritmova
