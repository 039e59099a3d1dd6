// The window's load: size and place the window, lay out every control at its proportion of
// the window's outer size, set the plots' scales and the start-up texts and states.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "ui/fixed_width_font.h"
#include "ui/form1.h"
#include "ui/picture_box.h"

namespace ritmova {
namespace {

QRect inPixels(const TwipsRect& r, float twipsPerPixel) {
    const auto pixels = [twipsPerPixel](float twips) {
        return static_cast<int>(std::lround(twips / twipsPerPixel));
    };
    return {pixels(r.left), pixels(r.top), pixels(r.width), pixels(r.height)};
}

}  // namespace

void Form1::Form_Load() {
    const float twipsPerPixel = TwipsPerInch / static_cast<float>(logicalDpiX());
    const WindowTwips window = sizeAndCentre(twipsPerPixel);
    placeControls(ComputeLoadLayout(window, PixelSnap(twipsPerPixel)), twipsPerPixel);
    // Steps 9, 14, 20 and 21. No picture changes its size after its scale is set, so setting
    // the scales once every control is placed gives the same coordinate systems.
    controls_.Picture1->setScaleWidth(256);
    controls_.Picture2->setScaleWidth(128);
    controls_.Picture3->setScale(0.5, 1.5, 1.5, 0.5);
    controls_.Picture3->setDrawWidth(2);
    setStartTexts();
}

// Steps 1 to 5. A maximised window takes the screen's available area (the screen without
// its panels), so that area stands for the screen. Qt sizes a window by its inner area, so
// the frame that the window reports is taken off; the outer size and the position are then
// read back as the window reports them (before it is first shown, the size it was given).
WindowTwips Form1::sizeAndCentre(float twipsPerPixel) {
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

void Form1::placeControls(const LoadLayout& l, float twipsPerPixel) {
    controls_.Picture1->setGeometry(inPixels(l.picture1, twipsPerPixel));
    controls_.Picture2->setGeometry(inPixels(l.picture2, twipsPerPixel));
    controls_.Picture3->setGeometry(inPixels(l.picture3, twipsPerPixel));
    for (std::size_t i = 0; i < l.label1.size(); ++i) {
        controls_.Label1[i]->setGeometry(inPixels(l.label1[i], twipsPerPixel));
    }
    controls_.Label2->setGeometry(inPixels(l.label2, twipsPerPixel));
    controls_.Label3->setGeometry(inPixels(l.label3, twipsPerPixel));
    controls_.Label4->setGeometry(inPixels(l.label4, twipsPerPixel));
    controls_.Command3->setGeometry(inPixels(l.command3, twipsPerPixel));
    controls_.Frame1->setGeometry(inPixels(l.frame1, twipsPerPixel));
    controls_.Label5->setGeometry(inPixels(l.label5, twipsPerPixel));
    controls_.Command1->setGeometry(inPixels(l.command1, twipsPerPixel));
    controls_.Command2->setGeometry(inPixels(l.command2, twipsPerPixel));
}

// Steps 26, 28, 29, 34, 35, 40, 41 and 64.
void Form1::setStartTexts() {
    port_->setLabelCaption(LabelId::Label1_0, "2.0");
    port_->setLabelCaption(LabelId::Label1_1, "0");
    port_->setLabelCaption(LabelId::Label1_2, "0.1");
    port_->setLabelCaption(LabelId::Label1_3, "0");
    port_->setLabelCaption(LabelId::Label3, "R-R\r\n(sec)");
    port_->setLabelCaption(LabelId::Label4, "Power\r\n(sec\u00b2)");
    controls_.Label2->setFont(
        FixedWidthFont(controls_.Label2->font(), "Courier New", SummaryCharacters()));
    port_->setLabelCaption(LabelId::Label2, "");
    controls_.Command3->setText("Save results");
    controls_.Command3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));  // works while enabled
    controls_.Command3->setEnabled(false);
    controls_.Command1->setText("Print");
    controls_.Command2->setText("Exit");
    controls_.Frame1->setTitle("Markov analysis");
    controls_.Frame1->setVisible(false);
}

}  // namespace ritmova
