#include "about/about_box.h"

#include <QPointer>

#include "about/about_dialog.h"

namespace ritmova {

void ShowAboutBox(QWidget* parent) {
    // The open About box; null before the first About and after it is closed.
    static QPointer<AboutDialog> aboutBox;
    if (aboutBox.isNull()) aboutBox = new AboutDialog(parent);
    aboutBox->show();
    aboutBox->raise();
    aboutBox->activateWindow();
}

}  // namespace ritmova
