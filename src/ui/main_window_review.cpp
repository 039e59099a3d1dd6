// The main window's side of Analysis → Beat review: the review of the open ECG record, whose
// edits replace the recording that every analysis reads.

#include <optional>

#include "common/command_failure.h"
#include "ecg/beat_edits.h"
#include "ecg/ecg_record.h"
#include "ui/beat_review_window.h"
#include "ui/main_window.h"

namespace ritmova {
namespace {

// The ECG record at `path` as the review takes it: the beats of its reference annotations
// when it has them, else those detected, and its first ECG channel.
ecg::OpenedRecord RecordAt(const std::string& path) {
    ecg::OpenedRecord record;
    record.path = path;
    const ecg::SignalReader reader = ecg::OpenSignal(path);
    record.channelNumber = reader.info().index + 1;
    record.channelLabel = reader.info().label;
    for (std::string_view annotator : ecg::ReferenceAnnotators) {
        try {
            record.series = ecg::LoadBeats(path, {"", std::string(annotator), 0});
            record.origin = ecg::BeatOrigin::Annotations;
            record.annotator = annotator;
            return record;
        } catch (const CommandFailure&) {
            // no such annotations: the next annotator, then detection
        }
    }
    record.series = ecg::LoadBeats(path, {std::to_string(record.channelNumber), "", 0});
    return record;
}

}  // namespace

// The record under review is shown again; another is read first.
void MainWindow::onBeatReview() {
    std::optional<ecg::OpenedRecord> record;
    const bool read = runTrapped([this, &record] {
        const std::string path = openedPath();
        if (path.empty()) throw CommandFailure("no recording is open");
        if (review_ && review_->record() && review_->record()->path == path) {
            review_->show();
            review_->raise();
            review_->activateWindow();
            return true;
        }
        if (!ecg::IsEcgRecord(path, {}))
            throw CommandFailure("the open recording holds intervals, not an ECG record to review");
        record = RecordAt(path);
        return true;
    });
    if (read && record) reviewRecord(*record);
}

// The review's beats become the recording at once, and again after every edit.
bool MainWindow::reviewRecord(const ecg::OpenedRecord& record) {
    const bool shown = runTrapped([this, &record] {
        if (!review_) {
            review_ = new BeatReviewWindow(this);
            // Edits of a record that another Open has since replaced change nothing here.
            connect(review_, &BeatReviewWindow::beatsEdited, this, [this] {
                if (openedPath() != review_->record()->path) return;
                recordingChanged(review_->record()->path,
                                 ecg::BeatRecording(review_->editedSeries(), false));
            });
        }
        review_->showRecord(record);
        review_->show();
        review_->raise();
        review_->activateWindow();
        return true;
    });
    return shown &&
           recordingChanged(record.path, ecg::BeatRecording(review_->editedSeries(), false));
}

bool MainWindow::recordingChanged(const std::string& path, Recording recording) {
    const bool succeeded = runRecordingCommand([this, &path, &recording] {
        recording_->replaceRecording(path, std::move(recording));
        return true;
    });
    recordingOpened();
    return succeeded;
}

}  // namespace ritmova
