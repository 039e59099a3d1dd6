#include "ui/command_line_export.h"

#include <QFileInfo>
#include <QStatusBar>
#include <cstdio>
#include <exception>
#include <string_view>

#include "common/safe_text.h"
#include "ui/form1.h"
#include "ui/window_export.h"

namespace ritmova {
namespace {

constexpr std::string_view ExportOption = "--export";

struct ExportRequest {
    QString recording;
    QString image;
};

// FILE and --export OUT (or --export=OUT), in either order; nothing else.
std::optional<ExportRequest> parse(const QStringList& arguments) {
    ExportRequest request;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--export" && i + 1 < arguments.size() && request.image.isEmpty()) {
            request.image = arguments[++i];
        } else if (argument.startsWith("--export=") && request.image.isEmpty()) {
            request.image = argument.mid(9);
        } else if (argument.startsWith("--") || !request.recording.isEmpty()) {
            return std::nullopt;
        } else {
            request.recording = argument;
        }
    }
    if (request.recording.isEmpty() || request.image.isEmpty()) return std::nullopt;
    return request;
}

int fail(const std::string& reason) {
    std::fprintf(stderr, "ritmova: %s\n", reason.c_str());
    return 1;
}

}  // namespace

bool ExportRequested(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]).substr(0, ExportOption.size()) == ExportOption) return true;
    }
    return false;
}

std::optional<int> RunCommandLineExport(const QStringList& arguments) {
    if (!arguments.mid(1).filter(QString::fromLatin1(ExportOption)).isEmpty()) {
        const std::optional<ExportRequest> request = parse(arguments);
        if (!request) {
            std::fputs("Usage: ritmova FILE --export OUT.png|OUT.svg|OUT.pdf\n", stderr);
            return 2;
        }
        Form1 form;
        if (!form.openFile(request->recording)) {
            return fail(form.statusBar()->currentMessage().toStdString());
        }
        try {
            ExportWindowImage(*form.centralWidget(), request->image);
        } catch (const std::exception& failure) {
            const QByteArray name = QFile::encodeName(QFileInfo(request->image).fileName());
            return fail(SafeText(name.toStdString()) + ": " + failure.what());
        }
        return 0;
    }
    return std::nullopt;
}

}  // namespace ritmova
