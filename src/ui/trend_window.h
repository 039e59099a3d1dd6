#pragma once

#include <QString>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "analysis/trend.h"

class QComboBox;
class QLabel;
class QPrinter;
class QProgressBar;

namespace ritmova {

class QtCommonDialog;
class TrendPlot;

// Analysis → Trend: the measures of every window of the recording as stacked plots, in a
// window of its own beside the main window. The trend is computed off the GUI thread, with a
// progress bar; a click on a window asks the main window to show it. It prints and exports as
// the main window does.
class TrendWindow final : public QWidget {
    Q_OBJECT

  public:
    // `printer` is the main window's, as Printer Setup set it.
    explicit TrendWindow(QPrinter& printer, QWidget* parent = nullptr);
    ~TrendWindow() override;

    // Shows the trend of a recording at its default step; a computation under way stops first.
    void showRecording(const QString& fileName, std::vector<float> intervals,
                       std::vector<ArtifactRule> flags);
    // Stops the computation, if one runs, and forgets the recording: a new Open or closing
    // the window makes it stale.
    void cancel();

    const QString& fileName() const { return fileName_; }
    bool computing() const { return worker_.joinable(); }
    std::shared_ptr<const TrendSeries> series() const { return series_; }
    // The status line: the window under the pointer, or what the trend holds.
    QString statusText() const;
    TrendPlot& plot() { return *plot_; }
    QComboBox& stepChoice() { return *stepChoice_; }
    QtCommonDialog& exportDialog() { return *exportDialog_; }

  signals:
    // The window of 256 beats from `firstBeat` was clicked.
    void windowChosen(std::size_t firstBeat);
    // A computation ended, complete or failed (not when cancelled).
    void computed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* createTools();
    void start();
    void stopWorker();
    void showProgress(std::uint64_t job, int percent);
    void finish(std::uint64_t job, std::shared_ptr<const TrendSeries> series,
                const QString& failure);
    QString seriesCaption() const;
    void showSummary(const QString& text);
    void printTrend();
    void exportTrend();
    void fail(const QString& reason);

    QPrinter& printer_;
    std::unique_ptr<QtCommonDialog> exportDialog_;
    QComboBox* stepChoice_ = nullptr;
    QComboBox* axisChoice_ = nullptr;
    QProgressBar* progress_ = nullptr;
    TrendPlot* plot_ = nullptr;
    QLabel* status_ = nullptr;
    QString summary_;  // the status line when the pointer is not over a window

    QString fileName_;
    std::shared_ptr<const std::vector<float>> intervals_;
    std::shared_ptr<const std::vector<ArtifactRule>> flags_;
    std::shared_ptr<const TrendSeries> series_;
    std::thread worker_;
    std::atomic<bool> stop_ = false;
    std::uint64_t job_ = 0;  // results of an earlier job are stale
};

}  // namespace ritmova
