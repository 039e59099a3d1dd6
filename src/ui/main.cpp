// ritmova: the window. `ritmova FILE` opens FILE at start, as if chosen in the Open dialog;
// `ritmova FILE --export OUT` writes the window's image to OUT without showing it.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "ui/app_icon.h"
#include "ui/command_line_export.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
    // An export shows no window: it runs offscreen unless a platform is asked for.
    if (ritmova::ExportRequested(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Ritmova");
    QApplication::setWindowIcon(ritmova::AppIcon());
    if (const auto status = ritmova::RunCommandLineExport(QApplication::arguments()))
        return *status;
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
