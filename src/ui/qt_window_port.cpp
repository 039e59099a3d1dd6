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

QtWindowPort::QtWindowPort(const Form1Controls& controls, QStatusBar& statusBar)
    : controls_(controls), statusBar_(statusBar) {}

PictureBox& QtWindowPort::picture(PictureId id) {
    switch (id) {
        case PictureId::Picture1:
            return *controls_.Picture1;
        case PictureId::Picture2:
            return *controls_.Picture2;
        case PictureId::Picture3:
            break;
    }
    return *controls_.Picture3;
}

CommonDialog& QtWindowPort::dialog(DialogId id) {
    return id == DialogId::CommonDialog1 ? *controls_.CommonDialog1 : *controls_.CommonDialog2;
}

QLabel* QtWindowPort::label(LabelId id) const {
    switch (id) {
        case LabelId::Label1_0:
            return controls_.Label1[0];
        case LabelId::Label1_1:
            return controls_.Label1[1];
        case LabelId::Label1_2:
            return controls_.Label1[2];
        case LabelId::Label1_3:
            return controls_.Label1[3];
        case LabelId::Label2:
            return controls_.Label2;
        case LabelId::Label3:
            return controls_.Label3;
        case LabelId::Label4:
            return controls_.Label4;
        case LabelId::Label5:
            break;
    }
    return controls_.Label5;
}

std::string QtWindowPort::labelCaption(LabelId id) const {
    return captions_[static_cast<std::size_t>(id)];
}

void QtWindowPort::setLabelCaption(LabelId id, std::string_view caption) {
    captions_[static_cast<std::size_t>(id)] = caption;
    label(id)->setText(ShownCaption(caption));
}

void QtWindowPort::setButtonEnabled(ButtonId id, bool enabled) {
    QPushButton* button = id == ButtonId::Command1   ? controls_.Command1
                          : id == ButtonId::Command2 ? controls_.Command2
                                                     : controls_.Command3;
    button->setEnabled(enabled);
}

void QtWindowPort::setPanelVisible(bool visible) {
    controls_.Frame1->setVisible(visible);
    if (visible) controls_.Frame1->raise();
}

void QtWindowPort::reportFailure(std::string_view reason) {
    QApplication::beep();
    statusBar_.showMessage(QString::fromUtf8(reason.data(), static_cast<qsizetype>(reason.size())));
}

void QtWindowPort::clearFailure() {
    statusBar_.clearMessage();
}

}  // namespace ritmova
