#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "ecg/beat_edits.h"
#include "ecg/opened_record.h"
#include "ecg/signal_reader.h"

class QLabel;
class QPushButton;

namespace ritmova {

class BeatTachogram;
class EcgStrip;

// Analysis → Beat review: the ECG strip of the open record over its tachogram, in a window of
// its own. The strip's clicks and drags add, remove and move beats; Undo and Redo (Ctrl+Z,
// Ctrl+Shift+Z) take changes back and make them again; Save edits writes the beats beside the
// record as RECORD.edited, Save R-R... their intervals as a text file. Every change is
// announced, so that the main window's analyses follow the edited beats.
class BeatReviewWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit BeatReviewWindow(QWidget* parent = nullptr);
    ~BeatReviewWindow() override;

    // Shows `record`'s channel and beats, with no edits. Throws CommandFailure when the
    // record has no channel to show or its signal cannot be opened; the window is then as it
    // was.
    void showRecord(const ecg::OpenedRecord& record);

    const std::optional<ecg::OpenedRecord>& record() const { return record_; }
    const ecg::BeatEdits& edits() const { return *edits_; }
    // The record's series with the edited beats.
    ecg::BeatSeries editedSeries() const { return edits_->series(); }
    EcgStrip& strip() { return *strip_; }
    BeatTachogram& tachogram() { return *tachogram_; }
    QString statusText() const;

    void undo();
    void redo();
    // Saves the edited beats beside the record; returns the file's path. Throws CommandFailure.
    std::string saveEdits();
    // Saves the edited beats' R-R intervals at `path`. Throws CommandFailure.
    void saveIntervals(const std::string& path);

  signals:
    // The beats changed: an edit, an undo or a redo.
    void beatsEdited();

  private:
    void createControls();
    void followEdits();
    void showEdits();
    void showFailure(const QString& reason);
    void onSaveEdits();
    void onSaveIntervals();

    std::optional<ecg::OpenedRecord> record_;
    std::unique_ptr<ecg::SignalReader> reader_;
    std::unique_ptr<ecg::BeatEdits> edits_;
    EcgStrip* strip_ = nullptr;
    BeatTachogram* tachogram_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* redo_ = nullptr;
    QLabel* status_ = nullptr;
    QString message_;
    double duration_ = 0;  // of the record, in seconds
};

}  // namespace ritmova
