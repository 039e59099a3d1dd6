// The standard-analysis window's computation and what it shows of it: the work off the GUI
// thread, the summary, the results table and the plots.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QTreeWidget>
#include <algorithm>
#include <exception>
#include <future>
#include <span>

#include "common/command_failure.h"
#include "common/latest_work.h"
#include "common/safe_text.h"
#include "report/standard_rows.h"
#include "standard/plot_data.h"
#include "standard/series.h"
#include "ui/standard_plot_view.h"
#include "ui/standard_plots.h"
#include "ui/standard_window.h"

namespace ritmova {
namespace {

using namespace standard;

// The measure groups of the three spectra, in SpectrumMethod order.
constexpr std::array<std::string_view, SpectrumMethodCount> SpectrumGroups{"Welch", "Lomb-Scargle",
                                                                           "Autoregressive"};

// The file's name as the window shows it, bytes that are not printable text as \xNN.
std::string shownName(const QString& path) {
    return SafeText(QFile::encodeName(QFileInfo(path).fileName()).toStdString());
}

// The recording read again as `ritmova-cli hrv` reads it: every value the nearest double of
// its text, in milliseconds, each above 0.
std::shared_ptr<const StandardOutcome::Recording> readRecording(
    const std::function<std::vector<double>()>& readMilliseconds) {
    std::vector<double> milliseconds = readMilliseconds();
    RequirePositiveIntervals(milliseconds);
    auto recording = std::make_shared<StandardOutcome::Recording>();
    recording->timesS = BeatTimes(milliseconds);
    recording->rrMs = std::move(milliseconds);
    return recording;
}

// The stretch of `choice` analysed with `settings`, as `ritmova-cli hrv --from --to` does.
StandardOutcome compute(std::shared_ptr<const StandardOutcome::Recording> recording,
                        const std::function<std::vector<double>()>& readMilliseconds,
                        const StretchChoice& choice, const AnalysisSettings& settings) {
    StandardOutcome outcome;
    outcome.choice = choice;
    try {
        outcome.recording = recording ? std::move(recording) : readRecording(readMilliseconds);
        const StandardOutcome::Recording& all = *outcome.recording;
        const Stretch stretch = PlanStretches(all.timesS, choice).stretches.front();
        const auto rrMs =
            std::span<const double>(all.rrMs).subspan(stretch.firstBeat - 1, stretch.intervals());
        // The plots' corrected intervals beside the analysis, which corrects them on its own.
        auto analysed = std::async(std::launch::async, [&rrMs, &stretch, &settings] {
            return AnalysedIntervals(rrMs, stretch, settings);
        });
        outcome.results =
            std::make_shared<const StretchResults>(AnalyseStretch(rrMs, stretch, settings));
        outcome.analysedMs = std::make_shared<const std::vector<double>>(analysed.get());
    } catch (const std::exception& failure) {
        outcome.results.reset();
        outcome.failure = QString::fromStdString(failure.what());
    }
    return outcome;
}

QTreeWidgetItem* groupItem(QTreeWidget& table, std::string_view group) {
    auto* item = new QTreeWidgetItem(&table, {QString::fromUtf8(group.data(), group.size())});
    QFont bold = item->font(0);
    bold.setBold(true);
    item->setFont(0, bold);
    item->setFirstColumnSpanned(true);
    return item;
}

void addRow(QTreeWidgetItem& group, const StandardRowText& row) {
    const auto text = [](std::string_view s) { return QString::fromUtf8(s.data(), s.size()); };
    auto* item = new QTreeWidgetItem(
        &group, {text(row.label), QString::fromStdString(row.value), text(row.unit)});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    if (row.value.empty()) {
        item->setText(1, QString::fromStdString(row.reason));
        item->setToolTip(1, QString::fromStdString(row.reason));
        item->setForeground(1, QBrush(Qt::gray));
    }
}

}  // namespace

void StandardWindow::showRecording(const QString& fileName, Units units,
                                   std::vector<std::size_t> artifactBeats,
                                   std::function<std::vector<double>()> readMilliseconds) {
    fileName_ = fileName;
    units_ = units;
    readMilliseconds_ = std::move(readMilliseconds);
    artifactBeats_ = std::move(artifactBeats);
    outcome_ = {};
    setWindowTitle(tr("Standard analysis - %1").arg(QString::fromStdString(shownName(fileName))));
    showResults();
    showPlots();
    start();
}

void StandardWindow::cancel() {
    ++job_;
    finishedJob_ = job_;
    fileName_.clear();
    artifactBeats_.clear();
    outcome_ = {};
    showResults();
    showPlots();
    status_->clear();
}

// Computes the chosen stretch on the window's worker, which runs the latest request only; the
// outcome comes back as a queued call, which a later request makes stale.
void StandardWindow::start() {
    const std::optional<StretchChoice> choice = stretchChoice();
    if (!choice) return;
    keepChoices();
    if (fileName_.isEmpty()) return;
    const std::uint64_t job = ++job_;
    const auto index = static_cast<std::size_t>(correction_->currentIndex());
    const AnalysisSettings settings{CorrectionChoices[index].settings};
    status_->setText(tr("Computing..."));
    work_->post([this, job, recording = outcome_.recording, read = readMilliseconds_,
                 choice = *choice, settings] {
        auto outcome =
            std::make_shared<StandardOutcome>(compute(recording, read, choice, settings));
        QMetaObject::invokeMethod(
            this, [this, job, outcome] { finish(job, std::move(*outcome)); }, Qt::QueuedConnection);
    });
}

void StandardWindow::finish(std::uint64_t job, StandardOutcome outcome) {
    if (job != job_) return;
    finishedJob_ = job;
    if (!outcome.recording) outcome.recording = outcome_.recording;
    outcome_ = std::move(outcome);
    showResults();
    showPlots();
    if (outcome_.results) {
        const Stretch& s = outcome_.results->stretch;
        status_->setText(tr("%1: beats %2-%3, %4 to %5, %6 intervals analysed")
                             .arg(QString::fromStdString(shownName(fileName_)))
                             .arg(s.firstBeat)
                             .arg(s.lastBeat)
                             .arg(QString::fromStdString(ClockText(s.startS)),
                                  QString::fromStdString(ClockText(s.endS)))
                             .arg(outcome_.results->intervals));
    } else {
        fail(QString::fromStdString(shownName(fileName_)) + ": " + outcome_.failure);
    }
    emit computed();
}

// The summary lines and the measures of the groups shown; without results, both empty.
void StandardWindow::showResults() {
    table_->clear();
    summary_->clear();
    if (!outcome_.results) return;
    const StretchResults& results = *outcome_.results;
    const std::string name = QFile::encodeName(QFileInfo(fileName_).fileName()).toStdString();
    QString lines;
    for (const SummaryLine& line : StandardSummaryLines(results, {name, units_, outcome_.choice})) {
        lines += QString("<tr><td><b>%1</b>&nbsp;</td><td>%2</td></tr>")
                     .arg(QString::fromStdString(line.label).toHtmlEscaped(),
                          QString::fromStdString(line.text).toHtmlEscaped());
    }
    summary_->setText("<table>" + lines + "</table>");
    QTreeWidgetItem* group = nullptr;
    for (const StandardRowText& row : StandardRowTexts(results)) {
        const auto shown = std::find(SpectrumGroups.begin(), SpectrumGroups.end(), row.group);
        if (shown != SpectrumGroups.end() &&
            !spectra_[static_cast<std::size_t>(shown - SpectrumGroups.begin())]->isChecked())
            continue;
        if (!group || group->text(0).toStdString() != row.group)
            group = groupItem(*table_, row.group);
        addRow(*group, row);
    }
    table_->expandAll();
    table_->resizeColumnToContents(0);
    table_->resizeColumnToContents(2);
}

// The summary and the table as shown, tab-separated.
QString StandardWindow::resultsText() const {
    if (!outcome_.results) return {};
    const std::string name = QFile::encodeName(QFileInfo(fileName_).fileName()).toStdString();
    const QStringList all =
        QString::fromStdString(
            StandardResultsTsv(*outcome_.results, {name, units_, outcome_.choice}))
            .split('\n');
    QStringList shown;
    for (const QString& line : all) {
        const QString group = line.section('\t', 0, 0);
        const auto method =
            std::find(SpectrumGroups.begin(), SpectrumGroups.end(), group.toStdString());
        if (method == SpectrumGroups.end() ||
            spectra_[static_cast<std::size_t>(method - SpectrumGroups.begin())]->isChecked())
            shown << line;
    }
    return shown.join('\n');
}

void StandardWindow::showPlots() {
    const auto recording = outcome_.recording;
    const auto results = outcome_.results;
    tachogram_->setPainter({});
    if (recording) {
        auto artifacts = std::make_shared<const std::vector<std::size_t>>(artifactBeats_);
        const bool heartRate = axis_->currentIndex() == 1;
        const auto plot = [recording, results, artifacts, heartRate] {
            TachogramPlotData plotData;
            plotData.rrMs = recording->rrMs;
            plotData.timesS = recording->timesS;
            plotData.artifactBeats = *artifacts;
            plotData.heartRate = heartRate;
            if (results) {
                plotData.stretchStartS = results->stretch.startS;
                plotData.stretchEndS = results->stretch.endS;
                plotData.correctedBeats = results->correction.correctedBeats;
            }
            return plotData;
        };
        tachogram_->setTimeAt([plot](QPainter& painter, const QRectF& rect, double x) {
            return TachogramTimeAt(painter, rect, plot(), x);
        });
        tachogram_->setPainter([plot](QPainter& painter, const QRectF& rect) {
            PaintTachogram(painter, rect, plot());
        });
    }
    showResultPlots();
}

// The plots of the stretch's results; blank without results.
void StandardWindow::showResultPlots() {
    const auto results = outcome_.results;
    const auto analysed = outcome_.analysedMs;
    using Painter = StandardPlotView::Painter;
    const auto ifResults = [&results](Painter painter) { return results ? painter : Painter(); };
    for (std::size_t m = 0; m < SpectrumMethodCount; ++m) {
        spectrumPlots_[m]->setPainter(ifResults([results, m](QPainter& p, const QRectF& r) {
            PaintSpectrum(p, r, *results, static_cast<SpectrumMethod>(m));
        }));
    }
    poincare_->setPainter(ifResults([results, analysed](QPainter& p, const QRectF& r) {
        PaintPoincare(p, r, *analysed, *results);
    }));
    histogram_->setPainter(
        ifResults([analysed](QPainter& p, const QRectF& r) { PaintHistogram(p, r, *analysed); }));
    dfa_->setPainter(
        ifResults([results](QPainter& p, const QRectF& r) { PaintDfa(p, r, *results); }));
}

void StandardWindow::showSpectraChoice() {
    for (std::size_t m = 0; m < SpectrumMethodCount; ++m) {
        spectrumPlots_[m]->setVisible(spectra_[m]->isChecked());
    }
    showResults();
}

}  // namespace ritmova
