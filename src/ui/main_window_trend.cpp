// The main window's side of Analysis → Trend: the trend of the open recording, whose clicks
// move the main window.
#include <QFile>
#include <exception>

#include "common/command_failure.h"
#include "ui/main_window.h"
#include "ui/trend_window.h"

namespace ritmova {

void MainWindow::onTrend() {
    runTrapped([this] {
        if (!recording_->opened()) throw CommandFailure("no recording is open");
        showTrend(false);
        return true;
    });
}

// Shows the trend of the open recording; a trend window already showing that file is only
// raised, unless `reread`.
void MainWindow::showTrend(bool reread) {
    const OpenedRecording& opened = recording_->requireOpened();
    const QString path = QFile::decodeName(opened.path.c_str());
    if (!trend_) {
        trend_ = new TrendWindow(printer_, this);
        connect(trend_, &TrendWindow::windowChosen, this, &MainWindow::goToBeat);
    }
    if (reread || !trend_->isVisible() || trend_->fileName() != path) {
        trend_->showRecording(path, opened.recording.intervals, opened.artifacts);
    }
    trend_->show();
    trend_->raise();
    trend_->activateWindow();
}

// A new Open stops the trend of the previous recording; a trend window on the screen follows
// the new one. A closed one holds nothing (closing cancels).
void MainWindow::recordingOpened() {
    standardRecordingOpened();
    if (!trend_ || !trend_->isVisible()) return;
    trend_->cancel();
    try {
        showTrend(true);
    } catch (const std::exception& failure) {
        port_->reportFailure(std::string("Trend: ") + failure.what());
    }
}

}  // namespace ritmova
