#include "ui/command_line_export.h"

#include <QFileInfo>
#include <QStatusBar>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string_view>

#include "common/safe_text.h"
#include "ui/main_window.h"
#include "ui/window_export.h"

namespace ritmova {
namespace {

constexpr std::string_view ExportOption = "--export";

struct ExportRequest {
    QString recording;
    QString image;
    std::optional<QString> start;  // the first beat's text, as given
};

// Takes the value of `option` at `i` ("--option VALUE" or "--option=VALUE") into `value`,
// once; false when the argument is not that option.
bool takeOption(const QStringList& arguments, qsizetype& i, const QString& option,
                std::optional<QString>& value) {
    const QString& argument = arguments[i];
    if (value) return false;
    if (argument == option && i + 1 < arguments.size()) {
        value = arguments[++i];
    } else if (argument.startsWith(option + "=")) {
        value = argument.mid(option.size() + 1);
    } else {
        return false;
    }
    return true;
}

// FILE, --export OUT and --start BEAT (or --export=OUT, --start=BEAT), in any order;
// nothing else.
std::optional<ExportRequest> parse(const QStringList& arguments) {
    ExportRequest request;
    std::optional<QString> image;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (takeOption(arguments, i, "--export", image) ||
            takeOption(arguments, i, "--start", request.start)) {
            continue;
        }
        if (arguments[i].startsWith("--") || !request.recording.isEmpty()) return std::nullopt;
        request.recording = arguments[i];
    }
    if (request.recording.isEmpty() || !image || image->isEmpty()) return std::nullopt;
    request.image = *image;
    return request;
}

int fail(const std::string& reason) {
    std::fprintf(stderr, "ritmova: %s\n", reason.c_str());
    return 1;
}

}  // namespace

std::optional<std::size_t> ParseStartBeat(const QString& text) {
    const bool digits = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QChar('0') && c <= QChar('9');
    });
    bool valid = false;
    const qulonglong beat = digits ? text.toULongLong(&valid) : 0;  // not valid when too large
    if (!valid || beat == 0) return std::nullopt;
    return static_cast<std::size_t>(beat);
}

int FailStartBeat(const QString& text) {
    std::fprintf(stderr, "ritmova: --start %s: the first beat is a whole number from 1 on\n",
                 QuotedToken(text.toStdString()).c_str());
    return 2;
}

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
        std::optional<std::size_t> firstBeat;
        if (request->start && !(firstBeat = ParseStartBeat(*request->start))) {
            return FailStartBeat(*request->start);
        }
        MainWindow form;
        if (!form.openFile(request->recording) || (firstBeat && !form.goToBeat(*firstBeat))) {
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
