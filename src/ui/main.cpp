// ritmova: the window. `ritmova FILE` opens FILE at start, as if chosen in the Open dialog;
// `ritmova FILE --export OUT` writes the window's image to OUT without showing it; with
// `--start BEAT`, of the 256 beats from BEAT on, which the window then shows.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "about/app_icon.h"
#include "ui/command_line_export.h"
#include "ui/main_window.h"

namespace {

void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        "Heart rate variability analysis of the first 256 R-R intervals (seconds) of an "
        "interval file, in a window.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("FILE", "the interval file to open at start", "[FILE]");
    parser.addOption({"export",
                      "write the window's image for FILE to OUT (PNG, SVG or PDF, by its "
                      "suffix) without showing the window, then exit",
                      "OUT"});
    parser.addOption({"start",
                      "show the 256 beats of FILE from BEAT on (counted from 1), in the window "
                      "or the exported image",
                      "BEAT"});
}

// --help and --version only print, so they need no display.
bool onlyPrints(QCommandLineParser& parser, int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);  // errors are reported by the full pass, after the toolkit's options
    return parser.isSet("help") || parser.isSet("help-all") || parser.isSet("version");
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication::setApplicationName("ritmova");
    QApplication::setApplicationDisplayName("Ritmova");
    QApplication::setApplicationVersion(RITMOVA_VERSION);
    QCommandLineParser parser;
    describeCommandLine(parser);
    // Printing help or the version, and an export, show no window: they run offscreen (an
    // export on the platform asked for, when one is).
    if (onlyPrints(parser, argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (ritmova::ExportRequested(argc, argv) &&
               qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ritmova::AppIcon());
    parser.process(app);
    if (const auto status = ritmova::RunCommandLineExport(QApplication::arguments()))
        return *status;
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs("Usage: ritmova [FILE]\n", stderr);
        return 2;
    }
    std::optional<std::size_t> firstBeat;
    if (parser.isSet("start") && !(firstBeat = ritmova::ParseStartBeat(parser.value("start")))) {
        return ritmova::FailStartBeat(parser.value("start"));
    }
    ritmova::MainWindow form;
    form.show();
    if (!files.isEmpty()) {
        QTimer::singleShot(0, &form, [&form, firstBeat, file = files.constFirst()] {
            if (form.openFile(file) && firstBeat) form.goToBeat(*firstBeat);
        });
    }
    return QApplication::exec();
}
