#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/recording.h"
#include "standard/analysis_choices.h"
#include "standard/stretch_analysis.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTreeWidget;

namespace ritmova {

class LatestWork;
class QtCommonDialog;
class StandardPlotView;
class TachogramView;

// What one computation of the view gives: the recording as the console tool reads it (kept for
// the next computation), and the results of the chosen stretch or why there are none.
struct StandardOutcome {
    struct Recording {
        std::vector<double> rrMs;    // every interval, as `ritmova-cli hrv` reads it
        std::vector<double> timesS;  // the beat ending each
    };
    std::shared_ptr<const Recording> recording;
    std::shared_ptr<const standard::StretchResults> results;
    std::shared_ptr<const std::vector<double>> analysedMs;  // the stretch's, after correction
    standard::StretchChoice choice;                         // the stretch asked for
    QString failure;
};

// Analysis → Standard analysis: every measure of the standard analysis of a stretch of the open
// recording, grouped with its unit, with the settings, the correction and the plots, in a
// window of its own. Every change of the stretch, the correction or the spectra is computed off
// the GUI thread; a new change supersedes one under way. The choices are kept between
// sessions. It prints and exports as the main window does.
class StandardWindow final : public QWidget {
    Q_OBJECT

  public:
    // `printer` is the main window's, as Printer Setup set it.
    explicit StandardWindow(QPrinter& printer, QWidget* parent = nullptr);
    ~StandardWindow() override;

    // Analyses a recording (its intervals in ms as `readMilliseconds` reads them again on the
    // worker, in double precision as the console tool reads them; `units` as the file held
    // them); `artifactBeats` are its intervals flagged as artifacts (1-based).
    void showRecording(const QString& fileName, Units units, std::vector<std::size_t> artifactBeats,
                       std::function<std::vector<double>()> readMilliseconds);
    // Forgets the recording; a computation under way is ignored when it ends.
    void cancel();

    const QString& fileName() const { return fileName_; }
    // Whether a computation asked for has not ended yet.
    bool computing() const { return finishedJob_ != job_; }
    const standard::StretchResults* results() const { return outcome_.results.get(); }
    // The summary and the results table as tab-separated text, as Copy puts it on the
    // clipboard.
    QString resultsText() const;
    QString statusText() const;

    QComboBox& correctionChoice() { return *correction_; }
    QLineEdit& fromField() { return *from_; }
    QLineEdit& toField() { return *to_; }
    QTreeWidget& table() { return *table_; }
    TachogramView& tachogram() { return *tachogram_; }
    QtCommonDialog& exportDialog() { return *exportDialog_; }
    // Moves the stretch to the next or previous 5-min segment.
    void stepSegment(bool forward);

  signals:
    // A computation ended, with results or failed (not when superseded).
    void computed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* createStretchControls();
    QWidget* createSettingsControls();
    QWidget* createButtons();
    QWidget* createPlots();
    void restoreChoices();
    void keepChoices() const;
    void start();
    void finish(std::uint64_t job, StandardOutcome outcome);
    void showResults();
    void showPlots();
    void showResultPlots();
    void showSpectraChoice();
    void setStretch(std::optional<double> fromS, std::optional<double> toS);
    std::optional<standard::StretchChoice> stretchChoice();
    void copyResults();
    void printView();
    void exportView();
    void fail(const QString& reason);

    QPrinter& printer_;
    std::unique_ptr<QtCommonDialog> exportDialog_;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QComboBox* correction_ = nullptr;
    QComboBox* axis_ = nullptr;  // R-R or heart rate
    std::array<QCheckBox*, standard::SpectrumMethodCount> spectra_{};
    QLabel* summary_ = nullptr;
    QTreeWidget* table_ = nullptr;
    QLabel* status_ = nullptr;
    TachogramView* tachogram_ = nullptr;
    std::array<StandardPlotView*, standard::SpectrumMethodCount> spectrumPlots_{};
    StandardPlotView* poincare_ = nullptr;
    StandardPlotView* histogram_ = nullptr;
    StandardPlotView* dfa_ = nullptr;
    QWidget* view_ = nullptr;  // what print and export draw

    QString fileName_;
    Units units_ = Units::Seconds;
    std::function<std::vector<double>()> readMilliseconds_;  // the recording's, on the worker
    std::vector<std::size_t> artifactBeats_;
    StandardOutcome outcome_;
    std::uint64_t job_ = 0;  // the results of an earlier job are stale
    std::uint64_t finishedJob_ = 0;
    std::unique_ptr<LatestWork> work_;  // last: its task posts to the window
};

}  // namespace ritmova
