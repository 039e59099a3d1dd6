// The main window's side of Analysis → Beat review: the review of the open ECG record, whose
// edits replace the recording that every analysis reads.

#include <QAction>
#include <QMenu>

#include "common/command_failure.h"
#include "ui/beat_review_window.h"
#include "ui/main_window.h"

namespace ritmova {

// Analysis → Beat review..., after the menu's other items.
void MainWindow::createReviewItem() {
    menus_.beatReview = menus_.analysis->addAction("Beat &review...");
    connect(menus_.beatReview, &QAction::triggered, this, &MainWindow::onBeatReview);
}

// The review of the open ECG record; the record under review already is only raised, with its
// edits.
void MainWindow::onBeatReview() {
    runTrapped([this] {
        const OpenedRecording& opened = recording_->requireOpened();
        if (!opened.ecg)
            throw CommandFailure("the open recording holds intervals, not an ECG record to review");
        if (!review_) {
            review_ = new BeatReviewWindow(this);
            connect(review_, &BeatReviewWindow::beatsEdited, this, &MainWindow::reviewEdited);
        }
        const auto& reviewed = review_->record();
        if (!reviewed || reviewed->path != opened.path || reviewed->origin != opened.ecg->origin)
            review_->showRecord(*opened.ecg);
        review_->show();
        review_->raise();
        review_->activateWindow();
        return true;
    });
}

// After every edit, undo and redo, the edited beats become the recording that every analysis
// reads; edits of a record that another Open has since replaced change nothing here.
void MainWindow::reviewEdited() {
    if (openedPath() != review_->record()->path) return;
    ecg::OpenedRecord edited = *review_->record();
    edited.series = review_->editedSeries();
    runRecordingCommand([this, &edited] {
        recording_->replaceBeats(std::move(edited));
        return true;
    });
    recordingOpened();
}

}  // namespace ritmova
