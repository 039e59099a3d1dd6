// ritmova: the window. `ritmova FILE` opens FILE at start, as if chosen in the Open dialog;
// `ritmova FILE --export OUT` writes the window's image to OUT without showing it; with
// `--start BEAT`, of the 256 beats from BEAT on, which the window then shows. `ritmova FILE
// --report OUT.pdf` writes the HRV report without showing it.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "about/app_icon.h"
#include "ui/command_line_export.h"
#include "ui/command_line_report.h"
#include "ui/main_window.h"
#include "ui/window_command_line.h"

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
    parser.addOption({"report",
                      "write the HRV report of FILE (the standard analysis in ms and Hz with its "
                      "plots) to OUT as PDF without showing the window, then exit",
                      "OUT"});
    parser.addOption(
        {"from", "report: the intervals that end S seconds after the first beat or later", "S"});
    parser.addOption({"to", "report: and before S seconds after it (default: to the end)", "S"});
    parser.addOption({"correct",
                      "report: none (default), threshold:LEVEL (very-low, low, medium, strong, "
                      "very-strong), threshold:SECONDS or auto",
                      "METHOD"});
    parser.addOption({"units", "report: units of the values, s (default), ms or auto", "U"});
    parser.addOption({"skip-lines", "report: skip N header lines before the values", "N"});
    parser.addOption({"column", "report: read the K-th field (1-based) of each line", "K"});
}

std::vector<std::string> argumentsOf(int argc, char* argv[]) {
    return {argv + std::min(argc, 1), argv + argc};
}

// The toolkit's own options (-platform, -style, ...), with one dash or two and their value in
// the next argument (-style=S too), which the toolkit takes out of the arguments when it
// starts: one of them is no usage error until the toolkit has had its turn.
bool toolkitOption(std::string_view argument) {
    static constexpr std::string_view Names[] = {"platform",
                                                 "platformpluginpath",
                                                 "platformtheme",
                                                 "plugin",
                                                 "qwindowgeometry",
                                                 "geometry",
                                                 "qwindowtitle",
                                                 "title",
                                                 "qwindowicon",
                                                 "icon",
                                                 "display",
                                                 "style",
                                                 "stylesheet",
                                                 "session",
                                                 "name",
                                                 "reverse",
                                                 "widgetcount",
                                                 "nograb",
                                                 "dograb",
                                                 "testability"};
    if (argument.starts_with("--")) argument.remove_prefix(1);
    if (!argument.starts_with('-')) return false;
    argument.remove_prefix(1);
    const std::string_view name = argument.substr(0, argument.find('='));
    if (name != argument && name != "style" && name != "stylesheet") return false;
    return std::find(std::begin(Names), std::end(Names), name) != std::end(Names);
}

int failUsage(const ritmova::WindowCommandLine& line) {
    std::fputs(line.message.c_str(), stderr);
    return 2;
}

// Help and the version only print, and an export or a report shows no window: they need no display
// and run offscreen (an export or a report on the platform asked for, when one is).
void chooseOffscreen(const ritmova::WindowCommandLine& line) {
    using ritmova::WindowRequest;
    const bool prints = line.request == WindowRequest::Help ||
                        line.request == WindowRequest::HelpAll ||
                        line.request == WindowRequest::Version;
    if (prints ||
        ((line.request == WindowRequest::Export || line.request == WindowRequest::Report) &&
         qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

int showWindow(const ritmova::WindowCommandLine& line) {
    ritmova::MainWindow form;
    form.show();
    if (line.file) {
        QTimer::singleShot(0, &form, [&form, &line] {
            if (form.openNativeFile(*line.file) && line.firstBeat) form.goToBeat(*line.firstBeat);
        });
    }
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    // A write beyond the file size limit fails with EFBIG and is told, instead of ending the
    // program with a temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName("ritmova");
    QApplication::setApplicationDisplayName("Ritmova");
    QApplication::setApplicationVersion(RITMOVA_VERSION);
    using ritmova::WindowRequest;
    const ritmova::WindowCommandLine early =
        ritmova::ParseWindowCommandLine(argumentsOf(argc, argv));
    if (early.request == WindowRequest::UsageError && !toolkitOption(early.unknownOption)) {
        return failUsage(early);
    }
    chooseOffscreen(early);
    QApplication app(argc, argv);  // takes its own options out of argv
    QApplication::setWindowIcon(ritmova::AppIcon());
    const ritmova::WindowCommandLine line =
        ritmova::ParseWindowCommandLine(argumentsOf(argc, argv));
    QCommandLineParser parser;
    describeCommandLine(parser);
    switch (line.request) {
        case WindowRequest::UsageError:
            return failUsage(line);
        case WindowRequest::Help:
            parser.showHelp(0);  // prints and exits, as the two below do
        case WindowRequest::Version:
            parser.showVersion();
        case WindowRequest::HelpAll:
            parser.process(app);
            return 0;
        case WindowRequest::Export:
            return ritmova::RunCommandLineExport(line);
        case WindowRequest::Report:
            return ritmova::RunCommandLineReport(line);
        case WindowRequest::Window:
            break;
    }
    return showWindow(line);
}
