#include "ui/trend_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "common/number_text.h"
#include "common/safe_text.h"
#include "ui/common_dialog.h"
#include "ui/trend_plot.h"
#include "ui/window_export.h"
#include "ui/window_printing.h"

namespace ritmova {
namespace {

// The file's name as the window shows it, bytes that are not printable text as \xNN.
QString shownName(const QString& path) {
    return QString::fromStdString(
        SafeText(QFile::encodeName(QFileInfo(path).fileName()).toStdString()));
}

QString beatsText(std::size_t beats) {
    return beats == 1 ? QObject::tr("every beat") : QObject::tr("every %1 beats").arg(beats);
}

QString windowsText(std::size_t windows) {
    return QString::fromStdString(CountText(windows, "window", "windows"));
}

}  // namespace

TrendWindow::TrendWindow(QPrinter& printer, QWidget* parent)
    : QWidget(parent, Qt::Window), printer_(printer) {
    setWindowTitle(tr("Trend"));
    exportDialog_ = std::make_unique<QtCommonDialog>(this, printer_);
    exportDialog_->setSuffixFromFilter(true);
    exportDialog_->setTitle(tr("Export trend image"));
    plot_ = new TrendPlot(this);
    status_ = new QLabel(this);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createTools());
    layout->addWidget(plot_, 1);
    layout->addWidget(status_);
    connect(plot_, &TrendPlot::hovered, this,
            [this](const QString& text) { status_->setText(text.isEmpty() ? summary_ : text); });
    connect(plot_, &TrendPlot::windowChosen, this, &TrendWindow::windowChosen);
    resize(900, 720);
}

TrendWindow::~TrendWindow() {
    stopWorker();
}

QWidget* TrendWindow::createTools() {
    auto* tools = new QWidget(this);
    auto* row = new QHBoxLayout(tools);
    row->setContentsMargins(0, 0, 0, 0);
    stepChoice_ = new QComboBox(tools);
    for (std::size_t step : TrendSteps) {
        stepChoice_->addItem(beatsText(step), QVariant::fromValue(step));
    }
    axisChoice_ = new QComboBox(tools);
    axisChoice_->addItems({tr("Beat number"), tr("Time in minutes")});
    progress_ = new QProgressBar(tools);
    progress_->setVisible(false);
    auto* print = new QPushButton(tr("&Print..."), tools);
    auto* exportImage = new QPushButton(tr("E&xport image..."), tools);
    row->addWidget(new QLabel(tr("Windows of 256 beats,"), tools));
    row->addWidget(stepChoice_);
    row->addWidget(new QLabel(tr("Axis:"), tools));
    row->addWidget(axisChoice_);
    row->addWidget(progress_, 1);
    row->addStretch();
    row->addWidget(print);
    row->addWidget(exportImage);
    connect(stepChoice_, &QComboBox::currentIndexChanged, this, [this] { start(); });
    connect(axisChoice_, &QComboBox::currentIndexChanged, this, [this](int index) {
        plot_->setAxis(index == 0 ? TrendPlot::Axis::Beats : TrendPlot::Axis::Minutes);
    });
    connect(print, &QPushButton::clicked, this, &TrendWindow::printTrend);
    connect(exportImage, &QPushButton::clicked, this, &TrendWindow::exportTrend);
    return tools;
}

void TrendWindow::showRecording(const QString& fileName, std::vector<float> intervals,
                                std::vector<ArtifactRule> flags) {
    stopWorker();
    fileName_ = fileName;
    setWindowTitle(tr("Trend - %1").arg(shownName(fileName)));
    const std::size_t step = DefaultTrendStep(intervals.size());
    intervals_ = std::make_shared<const std::vector<float>>(std::move(intervals));
    flags_ = std::make_shared<const std::vector<ArtifactRule>>(std::move(flags));
    const int index = stepChoice_->findData(QVariant::fromValue(step));
    if (index == stepChoice_->currentIndex()) {
        start();
    } else {
        stepChoice_->setCurrentIndex(index);  // starts the computation
    }
}

void TrendWindow::cancel() {
    stopWorker();
    ++job_;
    fileName_.clear();
    intervals_.reset();
    flags_.reset();
    series_.reset();
    progress_->setVisible(false);
    plot_->setSeries(nullptr, QString());
    showSummary(QString());
}

// Escape closes the window, as it closes a dialog.
void TrendWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TrendWindow::closeEvent(QCloseEvent* event) {
    cancel();
    event->accept();
}

void TrendWindow::stopWorker() {
    if (!worker_.joinable()) return;
    stop_ = true;
    worker_.join();
}

// Computes the trend at the chosen step on a thread of its own; its progress and its result
// come back as queued calls, which a later job makes stale.
void TrendWindow::start() {
    stopWorker();
    if (!intervals_) return;
    const std::uint64_t job = ++job_;
    const std::size_t step = stepChoice_->currentData().value<std::size_t>();
    series_.reset();
    plot_->setSeries(nullptr, tr("Computing..."));
    showSummary(tr("computing %1...").arg(windowsText(TrendWindowCount(intervals_->size(), step))));
    progress_->setValue(0);
    progress_->setVisible(true);
    stop_ = false;
    worker_ = std::thread([this, job, step, intervals = intervals_, flags = flags_] {
        int told = -1;
        const TrendProgress progress = [&](std::size_t done, std::size_t total) {
            const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
            if (std::exchange(told, percent) != percent) {
                QMetaObject::invokeMethod(
                    this, [this, job, percent] { showProgress(job, percent); },
                    Qt::QueuedConnection);
            }
            return !stop_;
        };
        std::shared_ptr<const TrendSeries> series;
        QString failure;
        try {
            std::optional<TrendSeries> result = ComputeTrend(*intervals, *flags, step, progress);
            if (!result) return;  // cancelled
            series = std::make_shared<const TrendSeries>(std::move(*result));
        } catch (const std::exception& error) {
            failure = QString::fromStdString(error.what());
        }
        QMetaObject::invokeMethod(
            this, [this, job, series, failure] { finish(job, series, failure); },
            Qt::QueuedConnection);
    });
}

void TrendWindow::showProgress(std::uint64_t job, int percent) {
    if (job == job_) progress_->setValue(percent);
}

void TrendWindow::finish(std::uint64_t job, std::shared_ptr<const TrendSeries> series,
                         const QString& failure) {
    if (job != job_) return;
    stopWorker();  // the worker's last act was to post this call
    progress_->setVisible(false);
    series_ = std::move(series);
    if (series_) {
        plot_->setSeries(series_, seriesCaption());
        showSummary(seriesCaption());
    } else {
        plot_->setSeries(nullptr, QString());
        fail(failure);
    }
    emit computed();
}

// "NAME: W windows of 256 beats, every S beats", and what is missing.
QString TrendWindow::seriesCaption() const {
    const std::size_t windows = series_->points.size();
    QString caption = tr("%1: %2 of 256 beats, %3")
                          .arg(shownName(fileName_))
                          .arg(windowsText(windows))
                          .arg(beatsText(series_->step));
    if (windows == 0) return caption + tr(" (%1 beats, fewer than 256)").arg(series_->beats);
    const auto gaps = std::count_if(series_->points.begin(), series_->points.end(),
                                    [](const TrendPoint& point) { return !point.measures; });
    if (gaps > 0) caption += tr(", %1 without values").arg(gaps);
    const std::size_t artifacts = series_->artifacts.size();
    return caption + tr("; %1 %2 in %3 beats")
                         .arg(artifacts)
                         .arg(artifacts == 1 ? "artifact" : "artifacts")
                         .arg(series_->beats);
}

QString TrendWindow::statusText() const {
    return status_->text();
}

void TrendWindow::showSummary(const QString& text) {
    summary_ = text;
    status_->setText(text);
}

void TrendWindow::fail(const QString& reason) {
    QApplication::beep();
    showSummary(reason);
}

// The plots on one page of the main window's printer, as its Print does with the window.
void TrendWindow::printTrend() {
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    try {
        PrintWindow(printer_, *plot_);
    } catch (const std::exception& failure) {
        fail(QString::fromStdString(failure.what()));
    }
}

// The plots as shown, as PNG, SVG or PDF, through the main window's export.
void TrendWindow::exportTrend() {
    try {
        exportDialog_->setFilter(ImageFilter);
        exportDialog_->setFilterIndex(1);
        if (!exportDialog_->showSave()) return;
        ExportWindowImage(*plot_, exportDialog_->chosenPath());
    } catch (const std::exception& failure) {
        const QString name = shownName(exportDialog_->chosenPath());
        fail(name + ": " + QString::fromStdString(failure.what()));
    }
}

}  // namespace ritmova
