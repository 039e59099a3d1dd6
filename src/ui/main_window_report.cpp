// The main window's side of File → Save HRV report: the standard analysis of the open
// recording, whole and without correction, as a PDF.
#include <QStatusBar>
#include <filesystem>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ui/hrv_report.h"
#include "ui/main_window.h"

namespace ritmova {

constexpr const char* ReportFilter = "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*";

QtCommonDialog& MainWindow::reportDialog() {
    if (!reportDialog_) reportDialog_ = std::make_unique<QtCommonDialog>(this, printer_);
    return *reportDialog_;
}

// The report reads the recording again, to the nearest double of each value as the console
// tool does, in the units the window read it in.
void MainWindow::onSaveHrvReport() {
    bool saved = false;
    runTrapped([this, &saved] {
        const OpenedRecording& opened = recording_->requireOpened();
        if (opened.path == "-") throw CommandFailure("standard input cannot be read again");
        QtCommonDialog& dialog = reportDialog();
        dialog.setFilter(ReportFilter);
        dialog.setFilterIndex(1);
        if (!dialog.showSave()) return false;
        const MillisecondsReader read = ExactReader(opened);
        const Recording recording{opened.recording.intervals, opened.recording.units, read()};
        WriteHrvReportPdf({opened.path, opened.name, &recording, {}}, dialog.fileName());
        saved = true;
        return true;
    });
    if (!saved) return;
    const std::string name = std::filesystem::path(reportDialog().fileName()).filename().string();
    statusBar()->showMessage(QString::fromStdString("HRV report saved: " + SafeText(name)));
}

}  // namespace ritmova
