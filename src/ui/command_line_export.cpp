#include "ui/command_line_export.h"

#include <QLabel>
#include <QStatusBar>
#include <cstdio>
#include <exception>
#include <string>

#include "common/safe_text.h"
#include "ui/main_window.h"
#include "ui/window_export.h"

namespace ritmova {
namespace {

int fail(const std::string& reason) {
    std::fprintf(stderr, "ritmova: %s\n", reason.c_str());
    return 1;
}

// The image's name as a reason shows it: its last part, or all that was given when that is
// empty ("x.png/").
std::string shownImageName(const std::string& image) {
    const std::size_t slash = image.find_last_of('/');
    const std::string last = slash == std::string::npos ? image : image.substr(slash + 1);
    return SafeText(last.empty() ? image : last);
}

}  // namespace

int RunCommandLineExport(const WindowCommandLine& line) {
    MainWindow form;
    const std::string& recording = line.file.value_or("");
    if (!form.openNativeFile(recording) || (line.firstBeat && !form.goToBeat(*line.firstBeat))) {
        return fail(form.statusBar()->currentMessage().toStdString());
    }
    try {
        ExportWindowImage(*form.centralWidget(), line.image, recording, form.windowField()->text());
    } catch (const std::exception& failure) {
        return fail(shownImageName(line.image) + ": " + failure.what());
    }
    return 0;
}

}  // namespace ritmova
