// The main window's side of Analysis → Standard analysis: the standard analysis of the open
// recording in a window of its own, which follows a new Open.
#include <QFile>
#include <exception>

#include "common/command_failure.h"
#include "ui/main_window.h"
#include "ui/standard_window.h"

namespace ritmova {

void MainWindow::onStandardAnalysis() {
    runTrapped([this] {
        if (!recording_->opened()) throw CommandFailure("no recording is open");
        showStandardAnalysis(false);
        return true;
    });
}

// Shows the standard analysis of the open recording; a window already showing that file is
// only raised, unless `reread`.
void MainWindow::showStandardAnalysis(bool reread) {
    const OpenedRecording& opened = recording_->requireOpened();
    const QString path = QFile::decodeName(opened.path.c_str());
    if (!standard_) standard_ = new StandardWindow(printer_, this);
    if (reread || !standard_->isVisible() || standard_->fileName() != path) {
        std::vector<std::size_t> artifactBeats;
        for (std::size_t i = 0; i < opened.artifacts.size(); ++i) {
            if (opened.artifacts[i] != ArtifactRule::None) artifactBeats.push_back(i + 1);
        }
        standard_->showRecording(path, opened.recording.units, std::move(artifactBeats),
                                 ExactReader(opened));
    }
    standard_->show();
    standard_->raise();
    standard_->activateWindow();
}

// A new Open (or Milliseconds) is followed by a standard-analysis window on the screen; a
// closed one holds nothing (closing forgets the recording).
void MainWindow::standardRecordingOpened() {
    if (!standard_ || !standard_->isVisible()) return;
    try {
        showStandardAnalysis(true);
    } catch (const std::exception& failure) {
        port_->reportFailure(std::string("Standard analysis: ") + failure.what());
    }
}

}  // namespace ritmova
