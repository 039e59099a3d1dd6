#include "ui/command_line_report.h"

#include <cstdio>
#include <exception>

#include "common/safe_text.h"
#include "report/file_save.h"
#include "ui/hrv_report.h"

namespace ritmova {
namespace {

int fail(const std::string& reason) {
    std::fprintf(stderr, "ritmova: %s\n", reason.c_str());
    return 1;
}

}  // namespace

int RunCommandLineReport(const WindowCommandLine& line) {
    const std::string& file = line.file.value_or("");
    try {
        const Recording recording = ReadRecording(file, line.read);
        WriteHrvReportPdf({file, file, &recording, line.hrv}, line.report);
    } catch (const SaveFailure& failure) {
        return fail(SafeText(failure.what()));
    } catch (const std::exception& failure) {
        return fail(SafeText(file) + ": " + SafeText(failure.what()));
    }
    return 0;
}

}  // namespace ritmova
