#include "about/about_box.h"

#include <QPointer>

#include "about/frm_about.h"

namespace ritmova {

void ShowAboutBox(QWidget* parent) {
    // The open About box; null before the first About and after it is closed.
    static QPointer<frmAbout> aboutBox;
    if (aboutBox.isNull()) aboutBox = new frmAbout(parent);
    aboutBox->show();
    aboutBox->raise();
    aboutBox->activateWindow();
}

}  // namespace ritmova
