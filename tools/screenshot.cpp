// Writes a picture of the window, with the bundled example opened, to the first PNG file
// named on the command line, and one with the Markov panel shown to the second, if named.
// Run it under xvfb-run to see the window as a desktop shows it.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2 || arguments.size() > 3) {
        std::fputs("Usage: ritmova-screenshot WINDOW.png [MARKOV.png]\n", stderr);
        return 2;
    }
    ritmova::MainWindow form;
    form.show();
    form.openFile(RITMOVA_EXAMPLES_DIR "/nsr2db-nsr012.int");
    QTimer::singleShot(1000, &form, [&] {
        bool saved = form.grab().save(arguments[1]);
        if (arguments.size() == 3) {
            form.onMarkov();
            saved = form.grab().save(arguments[2]) && saved;
        }
        QApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}
