// The main window's side of Analysis → Trend.
#include <QFile>
#include <QMenu>
#include <QStatusBar>
#include <exception>
#include <filesystem>

#include "analysis/recording.h"
#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ui/form1.h"
#include "ui/trend_window.h"

namespace ritmova {

// After the Analysis menu's other items: a separator, then Trend.
void Form1::addTrendItem() {
    menus_.AnalysisMenuItem[TrendItem - 1] = menus_.AnalysisMenu->addSeparator();
    QAction* trend = menus_.AnalysisMenu->addAction("&Trend");
    menus_.AnalysisMenuItem[TrendItem] = trend;
    trend->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(trend, &QAction::triggered, this, [this] { AnalysisMenuItem_Click(TrendItem); });
}

void Form1::openTrend() {
    runTrapped(
        [this] {
            if (openPath_.isEmpty()) throw CommandFailure("no recording is open");
            showTrend(false);
            return true;
        },
        [this] {
            const std::string path = QFile::encodeName(openPath_).toStdString();
            return SafeText(std::filesystem::path(path).filename().string());
        });
}

// Shows the trend of the open recording, read whole from its file; a trend window already
// showing that file is only raised, unless `reread`.
void Form1::showTrend(bool reread) {
    const QString& path = openPath_;
    if (!trend_) {
        trend_ = new TrendWindow(printer_, this);
        connect(trend_, &TrendWindow::windowChosen, this, &Form1::showWindowAt);
    }
    if (reread || !trend_->isVisible() || trend_->fileName() != path) {
        if (path == "-") throw CommandFailure("standard input was read by Open: open a file");
        Recording recording = ReadRecording(QFile::encodeName(path).toStdString());
        std::vector<ArtifactRule> flags = FlagArtifacts(recording.intervals);
        trend_->showRecording(path, std::move(recording.intervals), std::move(flags));
    }
    trend_->show();
    trend_->raise();
    trend_->activateWindow();
}

// An Open read a new recording: it stops the trend of the previous one, and a trend window on
// the screen follows the new one. A closed one holds nothing (closing cancels).
void Form1::recordingOpened() {
    openPath_ = commonDialog1_->chosenPath();
    if (!trend_ || !trend_->isVisible()) return;
    trend_->cancel();
    try {
        showTrend(true);
    } catch (const std::exception& failure) {
        port_->reportFailure(std::string("Trend: ") + failure.what());
    }
}

// Until the main window moves between windows of the recording, it names the beats chosen.
void Form1::showWindowAt(std::size_t firstBeat) {
    statusBar()->showMessage(
        tr("beats %1-%2 chosen in the trend").arg(firstBeat).arg(firstBeat + BeatCount - 1));
}

}  // namespace ritmova
