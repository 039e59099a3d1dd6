// ritmova: the window. `ritmova FILE` opens FILE at start, as if chosen in the Open dialog.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "ui/app_icon.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Ritmova");
    QApplication::setWindowIcon(ritmova::AppIcon());
    const QStringList files = QApplication::arguments().mid(1);
    if (files.size() > 1) {
        std::fputs("Usage: ritmova [FILE]\n", stderr);
        return 2;
    }
    ritmova::Form1 form;
    form.show();
    if (!files.isEmpty()) {
        QTimer::singleShot(0, &form, [&form, file = files.constFirst()] { form.openFile(file); });
    }
    return QApplication::exec();
}
