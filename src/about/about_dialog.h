#pragma once

#include <QColor>
#include <QDialog>
#include <QString>
#include <array>
#include <string>
#include <string_view>

#include "about/qt_sys_info_host.h"
#include "about/registry.h"

class QLabel;
class QPushButton;

namespace ritmova {

// The About box: the program's icon, name and purpose, and a button that starts the system
// information tool. Modeless; it deletes itself when closed.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);

    void StartSysInfo();
    bool GetKeyValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                     std::string& keyValue);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // A line drawn on the form, in twips; `width` in pixels.
    struct FormLine {
        int x1;
        int y1;
        int x2;
        int y2;
        QColor color;
        int width;
    };

    void CreateControls();
    void placeControls();
    void onOk();
    void onSystemInfo();
    QPoint TwipsPoint(int x, int y) const;
    QRect TwipsRect(int left, int top, int width, int height) const;

    QString AboutTitle;
    QLabel* Image1;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    // The etched separator: a white line just under a grey one.
    std::array<FormLine, 2> Line1;
    QtSysInfoHost sysInfoHost_;
};

}  // namespace ritmova
