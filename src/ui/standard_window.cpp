#include "ui/standard_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

#include "common/latest_work.h"
#include "ui/common_dialog.h"
#include "ui/standard_plot_view.h"
#include "ui/window_export.h"
#include "ui/window_printing.h"

namespace ritmova {
namespace {

using namespace standard;

// The choices kept between sessions, beside the main window's.
QSettings settings() {
    return QSettings("ritmova", "ritmova");
}
constexpr const char* FromKey = "StandardAnalysis/From";
constexpr const char* ToKey = "StandardAnalysis/To";
constexpr const char* CorrectionKey = "StandardAnalysis/Correction";
constexpr const char* SpectraKey = "StandardAnalysis/Spectra";
constexpr const char* HeartRateKey = "StandardAnalysis/HeartRate";

constexpr std::array<const char*, SpectrumMethodCount> SpectrumLabels{"Welch", "Lomb-Scargle",
                                                                      "Autoregressive"};

QLineEdit* timeField(QWidget* parent, const QString& placeholder) {
    auto* field = new QLineEdit(parent);
    field->setPlaceholderText(placeholder);
    field->setToolTip(QObject::tr("Seconds (95), m:ss (1:35) or h:mm:ss (1:01:35) from the "
                                  "first beat; empty for the recording's %1")
                          .arg(placeholder));
    field->setMaximumWidth(90);
    return field;
}

}  // namespace

StandardWindow::StandardWindow(QPrinter& printer, QWidget* parent)
    : QWidget(parent, Qt::Window), printer_(printer) {
    setWindowTitle(tr("Standard analysis"));
    exportDialog_ = std::make_unique<QtCommonDialog>(this, printer_);
    exportDialog_->setSuffixFromFilter(true);
    work_ = std::make_unique<LatestWork>();
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(createStretchControls());
    column->addWidget(createSettingsControls());
    summary_ = new QLabel(panel);
    summary_->setWordWrap(true);
    summary_->setTextFormat(Qt::RichText);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* summaryArea = new QScrollArea(panel);
    summaryArea->setWidget(summary_);
    summaryArea->setWidgetResizable(true);
    summaryArea->setFrameShape(QFrame::NoFrame);
    table_ = new QTreeWidget(panel);
    table_->setHeaderLabels({tr("Measure"), tr("Value"), tr("Unit")});
    table_->setRootIsDecorated(false);
    table_->setUniformRowHeights(true);
    // The summary above the table, the border between them movable.
    auto* results = new QSplitter(Qt::Vertical, panel);
    results->addWidget(summaryArea);
    results->addWidget(table_);
    results->setStretchFactor(1, 1);
    results->setSizes({150, 450});
    column->addWidget(results, 1);
    column->addWidget(createButtons());
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(panel);
    splitter->addWidget(createPlots());
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({360, 800});
    view_ = splitter;
    status_ = new QLabel(this);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(status_);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    new QShortcut(QKeySequence::Copy, this, this, &StandardWindow::copyResults);
    restoreChoices();
    const QSize screen = this->screen()->availableSize();
    resize(std::min(1600, screen.width() * 9 / 10), std::min(1000, screen.height() * 9 / 10));
}

StandardWindow::~StandardWindow() {
    // The fields' focus leaves as they are deleted, after this window's members: what they
    // would start must not reach them.
    for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
    work_.reset();  // waits for a task under way, which posts to the window
}

QWidget* StandardWindow::createStretchControls() {
    auto* box = new QGroupBox(tr("Stretch"), this);
    auto* grid = new QGridLayout(box);
    from_ = timeField(box, tr("start"));
    to_ = timeField(box, tr("end"));
    auto* whole = new QPushButton(tr("&Whole"), box);
    previous_ = new QPushButton(tr("< &Previous 5 min"), box);
    next_ = new QPushButton(tr("&Next 5 min >"), box);
    auto* fromLabel = new QLabel(tr("&From"), box);
    fromLabel->setBuddy(from_);
    grid->addWidget(fromLabel, 0, 0);
    grid->addWidget(from_, 0, 1);
    grid->addWidget(new QLabel(tr("to"), box), 0, 2);
    grid->addWidget(to_, 0, 3);
    grid->addWidget(whole, 0, 4);
    grid->addWidget(previous_, 1, 0, 1, 2);
    grid->addWidget(next_, 1, 2, 1, 3);
    connect(from_, &QLineEdit::editingFinished, this, [this] {
        if (from_->isModified()) start();
        from_->setModified(false);
    });
    connect(to_, &QLineEdit::editingFinished, this, [this] {
        if (to_->isModified()) start();
        to_->setModified(false);
    });
    connect(whole, &QPushButton::clicked, this, [this] { setStretch(std::nullopt, std::nullopt); });
    connect(previous_, &QPushButton::clicked, this, [this] { stepSegment(false); });
    connect(next_, &QPushButton::clicked, this, [this] { stepSegment(true); });
    return box;
}

QWidget* StandardWindow::createSettingsControls() {
    auto* box = new QGroupBox(tr("Settings"), this);
    auto* form = new QFormLayout(box);
    correction_ = new QComboBox(box);
    for (const CorrectionChoice& choice : CorrectionChoices) {
        correction_->addItem(tr(choice.label.data()));
    }
    auto* spectra = new QGridLayout;
    for (std::size_t m = 0; m < SpectrumMethodCount; ++m) {
        spectra_[m] = new QCheckBox(tr(SpectrumLabels[m]), box);
        spectra->addWidget(spectra_[m], static_cast<int>(m / 2), static_cast<int>(m % 2));
        connect(spectra_[m], &QCheckBox::toggled, this, [this] {
            keepChoices();
            showSpectraChoice();
        });
    }
    axis_ = new QComboBox(box);
    axis_->addItems({tr("R-R interval (ms)"), tr("Heart rate (bpm)")});
    form->addRow(tr("&Correction"), correction_);
    form->addRow(tr("Spectra"), spectra);
    form->addRow(tr("Plot o&ver time"), axis_);
    connect(correction_, &QComboBox::currentIndexChanged, this, [this] { start(); });
    connect(axis_, &QComboBox::currentIndexChanged, this, [this] {
        keepChoices();
        showPlots();
    });
    return box;
}

QWidget* StandardWindow::createButtons() {
    auto* buttons = new QWidget(this);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    auto* copy = new QPushButton(tr("C&opy table"), buttons);
    copy->setToolTip(tr("The settings and results as tab-separated text (Ctrl+C)"));
    auto* print = new QPushButton(tr("P&rint..."), buttons);
    auto* exportImage = new QPushButton(tr("E&xport image..."), buttons);
    row->addWidget(copy);
    row->addStretch();
    row->addWidget(print);
    row->addWidget(exportImage);
    connect(copy, &QPushButton::clicked, this, &StandardWindow::copyResults);
    connect(print, &QPushButton::clicked, this, &StandardWindow::printView);
    connect(exportImage, &QPushButton::clicked, this, &StandardWindow::exportView);
    return buttons;
}

// The R-R plot over the spectra shown, over the Poincaré plot, the histogram and the DFA plot;
// a row shares its width among the plots shown in it.
QWidget* StandardWindow::createPlots() {
    auto* plots = new QWidget(this);
    auto* rows = new QVBoxLayout(plots);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);
    tachogram_ = new TachogramView(plots);
    rows->addWidget(tachogram_, 1);
    auto* spectra = new QHBoxLayout;
    for (std::size_t m = 0; m < SpectrumMethodCount; ++m) {
        spectrumPlots_[m] = new StandardPlotView(plots);
        spectra->addWidget(spectrumPlots_[m], 1);
    }
    rows->addLayout(spectra, 1);
    auto* nonlinear = new QHBoxLayout;
    poincare_ = new StandardPlotView(plots);
    histogram_ = new StandardPlotView(plots);
    dfa_ = new StandardPlotView(plots);
    for (StandardPlotView* plot : {poincare_, histogram_, dfa_}) nonlinear->addWidget(plot, 1);
    rows->addLayout(nonlinear, 1);
    connect(tachogram_, &TachogramView::stretchDragged, this, [this](double fromS, double toS) {
        setStretch(std::max(0.0, std::round(fromS)), std::max(0.0, std::round(toS)));
    });
    return plots;
}

void StandardWindow::restoreChoices() {
    const QSettings kept = settings();
    const QSignalBlocker blockCorrection(correction_), blockAxis(axis_);
    from_->setText(kept.value(FromKey).toString());
    to_->setText(kept.value(ToKey).toString());
    const std::string correction = kept.value(CorrectionKey).toString().toStdString();
    correction_->setCurrentIndex(static_cast<int>(FindCorrectionChoice(correction).value_or(0)));
    const std::string spectra =
        kept.value(SpectraKey, QString::fromStdString(SpectraText(DefaultSpectraShown)))
            .toString()
            .toStdString();
    const SpectraShown shown = ParseSpectra(spectra).value_or(DefaultSpectraShown);
    for (std::size_t m = 0; m < SpectrumMethodCount; ++m) {
        const QSignalBlocker block(spectra_[m]);
        spectra_[m]->setChecked(shown[m]);
    }
    axis_->setCurrentIndex(kept.value(HeartRateKey, false).toBool() ? 1 : 0);
    showSpectraChoice();
}

void StandardWindow::keepChoices() const {
    QSettings kept = settings();
    kept.setValue(FromKey, from_->text().trimmed());
    kept.setValue(ToKey, to_->text().trimmed());
    const auto index = static_cast<std::size_t>(correction_->currentIndex());
    kept.setValue(CorrectionKey, QString::fromUtf8(CorrectionChoices[index].text.data()));
    SpectraShown shown{};
    for (std::size_t m = 0; m < SpectrumMethodCount; ++m) shown[m] = spectra_[m]->isChecked();
    kept.setValue(SpectraKey, QString::fromStdString(SpectraText(shown)));
    kept.setValue(HeartRateKey, axis_->currentIndex() == 1);
}

void StandardWindow::setStretch(std::optional<double> fromS, std::optional<double> toS) {
    from_->setText(fromS ? QString::fromStdString(ClockText(*fromS)) : QString());
    to_->setText(toS ? QString::fromStdString(ClockText(*toS)) : QString());
    start();
}

void StandardWindow::stepSegment(bool forward) {
    const std::optional<StretchChoice> choice = stretchChoice();
    if (!choice || !outcome_.recording || outcome_.recording->timesS.empty()) return;
    const double duration = outcome_.recording->timesS.back();
    const auto step = StepSegment(choice->fromS, choice->toS, duration, forward);
    if (!step) {
        fail(forward ? tr("no complete 5-min segment after this stretch")
                     : tr("no complete 5-min segment before this stretch"));
        return;
    }
    setStretch(step->first, step->second);
}

// The stretch the fields give; a field that is not a time fails with its reason.
std::optional<StretchChoice> StandardWindow::stretchChoice() {
    try {
        StretchChoice choice;
        choice.fromS = ParseClockTime(from_->text().toStdString());
        choice.toS = ParseClockTime(to_->text().toStdString());
        return choice;
    } catch (const std::exception& failure) {
        fail(QString::fromStdString(failure.what()));
        return std::nullopt;
    }
}

void StandardWindow::closeEvent(QCloseEvent* event) {
    cancel();
    event->accept();
}

void StandardWindow::copyResults() {
    const QString text = resultsText();
    if (text.isEmpty()) {
        fail(tr("no results to copy"));
        return;
    }
    QApplication::clipboard()->setText(text);
    status_->setText(tr("The results table is on the clipboard, as tab-separated text."));
}

// The view on one page of the main window's printer, as its Print does with the window.
void StandardWindow::printView() {
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    try {
        PrintWindow(printer_, *view_);
    } catch (const std::exception& failure) {
        fail(QString::fromStdString(failure.what()));
    }
}

// The view as shown, as PNG, SVG or PDF, through the main window's export.
void StandardWindow::exportView() {
    try {
        exportDialog_->setFilter(ImageFilter);
        exportDialog_->setFilterIndex(1);
        if (!exportDialog_->showSave()) return;
        ExportWindowImage(*view_, exportDialog_->chosenPath());
    } catch (const std::exception& failure) {
        const QString name = QFileInfo(exportDialog_->chosenPath()).fileName();
        fail(name + ": " + QString::fromStdString(failure.what()));
    }
}

void StandardWindow::fail(const QString& reason) {
    QApplication::beep();
    status_->setText(reason);
}

QString StandardWindow::statusText() const {
    return status_->text();
}

}  // namespace ritmova
