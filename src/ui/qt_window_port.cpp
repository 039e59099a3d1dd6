#include "ui/qt_window_port.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "ui/common_dialog.h"
#include "ui/picture_box.h"

namespace ritmova {

QString ShownCaption(std::string_view caption) {
    QString shown = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    return shown.replace("\r\n", "\n");
}

QtWindowPort::QtWindowPort(const MainWindowControls& controls, QStatusBar& statusBar)
    : controls_(controls), statusBar_(statusBar) {}

PictureBox& QtWindowPort::picture(PictureId id) {
    switch (id) {
        case PictureId::Tachogram:
            return *controls_.tachogramPlot;
        case PictureId::Spectrum:
            return *controls_.spectrumPlot;
        case PictureId::Poincare:
            break;
    }
    return *controls_.poincarePlot;
}

CommonDialog& QtWindowPort::dialog(DialogId id) {
    return id == DialogId::Open ? *controls_.openDialog : *controls_.saveDialog;
}

QLabel* QtWindowPort::label(LabelId id) const {
    switch (id) {
        case LabelId::TachogramTop:
            return controls_.axisValueLabels[0];
        case LabelId::TachogramBottom:
            return controls_.axisValueLabels[1];
        case LabelId::SpectrumTop:
            return controls_.axisValueLabels[2];
        case LabelId::SpectrumBottom:
            return controls_.axisValueLabels[3];
        case LabelId::Summary:
            return controls_.summaryLabel;
        case LabelId::TachogramAxisTitle:
            return controls_.tachogramAxisTitle;
        case LabelId::SpectrumAxisTitle:
            return controls_.spectrumAxisTitle;
        case LabelId::MarkovText:
            break;
    }
    return controls_.markovText;
}

std::string QtWindowPort::labelCaption(LabelId id) const {
    return captions_[static_cast<std::size_t>(id)];
}

void QtWindowPort::setLabelCaption(LabelId id, std::string_view caption) {
    captions_[static_cast<std::size_t>(id)] = caption;
    label(id)->setText(ShownCaption(caption));
}

void QtWindowPort::setButtonEnabled(ButtonId id, bool enabled) {
    QPushButton* button = id == ButtonId::MarkovPrint  ? controls_.markovPrintButton
                          : id == ButtonId::MarkovExit ? controls_.markovExitButton
                                                       : controls_.saveResultsButton;
    button->setEnabled(enabled);
}

void QtWindowPort::setPanelVisible(bool visible) {
    controls_.markovPanel->setVisible(visible);
    if (visible) controls_.markovPanel->raise();
}

void QtWindowPort::reportFailure(std::string_view reason) {
    QApplication::beep();
    statusBar_.showMessage(QString::fromUtf8(reason.data(), static_cast<qsizetype>(reason.size())));
}

void QtWindowPort::clearFailure() {
    statusBar_.clearMessage();
}

}  // namespace ritmova
