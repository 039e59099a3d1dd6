#include "ui/beat_review_window.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <string>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "measures/artifacts.h"
#include "report/edited_beats_file.h"
#include "ui/beat_tachogram.h"
#include "ui/ecg_strip.h"

namespace ritmova {
namespace {

constexpr double TrailingSeconds = 10;  // shown after the last beat of a record of unknown length

QPushButton* button(const char* caption, QWidget* parent, QHBoxLayout* row) {
    auto* made = new QPushButton(QString::fromUtf8(caption), parent);
    made->setFocusPolicy(Qt::NoFocus);  // the keys stay the strip's
    row->addWidget(made);
    return made;
}

}  // namespace

BeatReviewWindow::BeatReviewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle("Beat review");
    resize(1100, 620);
    createControls();
}

BeatReviewWindow::~BeatReviewWindow() = default;

void BeatReviewWindow::createControls() {
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    undo_ = button("&Undo", this, row);
    redo_ = button("&Redo", this, row);
    QPushButton* save = button("&Save edits", this, row);
    QPushButton* saveIntervals = button("Save &R-R...", this, row);
    status_ = new QLabel(this);
    row->addWidget(status_, 1);
    column->addLayout(row);
    strip_ = new EcgStrip(this);
    tachogram_ = new BeatTachogram(this);
    column->addWidget(strip_, 3);
    column->addWidget(tachogram_, 1);
    connect(undo_, &QPushButton::clicked, this, &BeatReviewWindow::undo);
    connect(redo_, &QPushButton::clicked, this, &BeatReviewWindow::redo);
    connect(save, &QPushButton::clicked, this, &BeatReviewWindow::onSaveEdits);
    connect(saveIntervals, &QPushButton::clicked, this, &BeatReviewWindow::onSaveIntervals);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this), &QShortcut::activated, this,
            &BeatReviewWindow::undo);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this),
            &QShortcut::activated, this, &BeatReviewWindow::redo);
    connect(strip_, &EcgStrip::beatsEdited, this, &BeatReviewWindow::followEdits);
    connect(strip_, &EcgStrip::editFailed, this, &BeatReviewWindow::showFailure);
    connect(strip_, &EcgStrip::stretchChanged, this, [this](std::int64_t first, std::int64_t span) {
        const double rate = reader_->frequencyHz();
        tachogram_->setShown(double(first) / rate, double(first + span) / rate);
    });
    connect(tachogram_, &BeatTachogram::timeChosen, this, [this](double seconds) {
        if (reader_) strip_->centreOn(std::llround(seconds * reader_->frequencyHz()));
    });
}

void BeatReviewWindow::showRecord(const ecg::OpenedRecord& record) {
    if (record.channelNumber == 0)
        throw CommandFailure("the record has no signal to show: its beats cannot be reviewed");
    auto reader = std::make_unique<ecg::SignalReader>(
        ecg::OpenSignal(record.path, std::to_string(record.channelNumber)));
    const auto source = record.origin == ecg::BeatOrigin::Annotations ? ecg::BeatSource::Reference
                                                                      : ecg::BeatSource::Detected;
    auto edits = std::make_unique<ecg::BeatEdits>(record.series, source);
    // A record that does not give its length is taken to end a little after its last beat.
    std::int64_t samples = reader->info().sampleCount;
    const auto& beats = record.series.beats;
    if (samples < 0 && !beats.empty())
        samples = std::llround(
            (double(beats.back().tick) / record.series.ticksPerSecond + TrailingSeconds) *
            reader->frequencyHz());
    duration_ = double(samples) / reader->frequencyHz();
    record_ = record;
    reader_ = std::move(reader);
    edits_ = std::move(edits);
    message_.clear();
    setWindowTitle(QString::fromStdString("Beat review \u2014 " + SafeText(record.title())));
    strip_->setRecord(reader_.get(), edits_.get(), samples);
    showEdits();
}

QString BeatReviewWindow::statusText() const {
    if (!edits_) return {};
    const auto changes = edits_->changeCount();
    QString text = QString("%1 beats \u00b7 %2 %3")
                       .arg(edits_->beats().size())
                       .arg(changes)
                       .arg(QString(changes == 1 ? "change" : "changes"));
    return message_.isEmpty() ? text : text + " \u00b7 " + message_;
}

void BeatReviewWindow::followEdits() {
    showEdits();
    emit beatsEdited();
}

// The tachogram, the artifacts and the buttons follow the beats.
void BeatReviewWindow::showEdits() {
    const ecg::BeatSeries series = edits_->series();
    const std::vector<ecg::RrInterval> intervals = ecg::RrIntervals(series, false);
    std::vector<double> times, seconds;
    std::vector<float> asRead;
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        times.push_back(double(series.beats[i + 1].tick) / series.ticksPerSecond);
        seconds.push_back(intervals[i].seconds);
        asRead.push_back(static_cast<float>(intervals[i].seconds));
    }
    std::vector<bool> flagged, artifactBeats(series.beats.size(), false);
    for (ArtifactRule rule : FlagArtifacts(asRead)) flagged.push_back(rule != ArtifactRule::None);
    for (std::size_t i = 0; i < flagged.size(); ++i) artifactBeats[i + 1] = flagged[i];
    tachogram_->setIntervals(std::move(times), std::move(seconds), std::move(flagged), duration_);
    strip_->setArtifacts(std::move(artifactBeats));
    undo_->setEnabled(edits_->canUndo());
    redo_->setEnabled(edits_->canRedo());
    status_->setText(statusText());
}

void BeatReviewWindow::showFailure(const QString& reason) {
    QApplication::beep();
    message_ = reason;
    status_->setText(statusText());
}

void BeatReviewWindow::undo() {
    if (!edits_ || !edits_->undo()) return;
    message_.clear();
    strip_->update();
    followEdits();
}

void BeatReviewWindow::redo() {
    if (!edits_ || !edits_->redo()) return;
    message_.clear();
    strip_->update();
    followEdits();
}

std::string BeatReviewWindow::saveEdits() {
    if (!record_) throw CommandFailure("no record is under review");
    // Edits saved before and read again as annotator "edited" may be replaced; no other
    // annotations the beats came from.
    const bool annotated = record_->origin == ecg::BeatOrigin::Annotations;
    const std::string reference =
        annotated && record_->annotator != EditedAnnotator ? record_->annotator : std::string();
    return SaveEditedAnnotations(record_->path, EditedAnnotator, edits_->series(), reference);
}

void BeatReviewWindow::saveIntervals(const std::string& path) {
    if (!record_) throw CommandFailure("no record is under review");
    SaveEditedIntervals(path, edits_->series(), false, record_->path);
}

void BeatReviewWindow::onSaveEdits() {
    try {
        message_ = "saved as " + QString::fromStdString(SafeText(saveEdits()));
        status_->setText(statusText());
    } catch (const CommandFailure& failure) {
        showFailure(QString::fromStdString(failure.what()));
    }
}

void BeatReviewWindow::onSaveIntervals() {
    const QString path = QFileDialog::getSaveFileName(this, "Save R-R intervals", QString(),
                                                      "Interval Files (*.int);;All Files (*)");
    if (path.isEmpty()) return;
    try {
        saveIntervals(QFile::encodeName(path).toStdString());
        message_ = "R-R intervals saved";
        status_->setText(statusText());
    } catch (const CommandFailure& failure) {
        showFailure(QString::fromStdString(failure.what()));
    }
}

}  // namespace ritmova
