#include "ui/main_window.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <exception>
#include <filesystem>
#include <span>

#include "about/about_box.h"
#include "about/app_icon.h"
#include "common/command_failure.h"
#include "common/safe_text.h"
#include "report/report_file.h"
#include "ui/beat_entry.h"
#include "ui/picture_box.h"
#include "ui/window_export.h"
#include "ui/window_notes.h"
#include "ui/window_printing.h"

namespace ritmova {
namespace {

constexpr const char* TextFilter = "Txt Files (*.txt)|*.txt|All Files (*.*)|*.*";

QLabel* axisLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

QLabel* textLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setBackgroundRole(QPalette::Light);
    label->setAutoFillBackground(true);
    return label;
}

// One item of a menu: its caption ("-" for a plain separator line, without text, since some
// styles draw a separator's text beside the line), its key, where the menus keep it and the
// handler it runs.
struct MenuItem {
    const char* caption;
    QKeySequence key;
    QAction* MainWindowMenus::*action;
    void (MainWindow::*handler)();
};

const MenuItem FileItems[] = {
    {"&Open", QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindowMenus::open, &MainWindow::onOpen},
    {"-", {}, nullptr, nullptr},
    {"&Print", QKeySequence(Qt::CTRL | Qt::Key_P), &MainWindowMenus::print, &MainWindow::onPrint},
    {"Printer Set&up", {}, &MainWindowMenus::printerSetup, &MainWindow::onPrinterSetup},
    {"E&xport image...", {}, &MainWindowMenus::exportImage, &MainWindow::onExportImage},
    {"-", {}, nullptr, nullptr},
    {"&Exit", QKeySequence(Qt::CTRL | Qt::Key_Q), &MainWindowMenus::exit, &MainWindow::onExit}};

const MenuItem AnalysisItems[] = {
    {"&Markov", {}, &MainWindowMenus::markov, &MainWindow::onMarkov},
    {"-", {}, nullptr, nullptr},
    {"&Next 256 beats", QKeySequence(Qt::Key_PageDown), &MainWindowMenus::next,
     &MainWindow::onNext},
    {"&Previous 256 beats", QKeySequence(Qt::Key_PageUp), &MainWindowMenus::previous,
     &MainWindow::onPrevious},
    {"&Go to beat...", QKeySequence(Qt::CTRL | Qt::Key_G), &MainWindowMenus::goToBeat,
     &MainWindow::onGoToBeat},
    {"-", {}, nullptr, nullptr},
    {"&Trend", QKeySequence(Qt::CTRL | Qt::Key_T), &MainWindowMenus::trend, &MainWindow::onTrend},
    {"-", {}, nullptr, nullptr},
    {"&Milliseconds", {}, &MainWindowMenus::milliseconds, &MainWindow::onMilliseconds},
    {"&Standard analysis...", QKeySequence(Qt::CTRL | Qt::Key_H),
     &MainWindowMenus::standardAnalysis, &MainWindow::onStandardAnalysis}};

// The file's name as the status bar shows it before a reason: bytes that are not printable
// text are written as \xNN.
std::string shownFileName(const std::string& path) {
    return SafeText(std::filesystem::path(path).filename().string());
}

void addItems(MainWindow* window, MainWindowMenus& menus, QMenu* menu,
              std::span<const MenuItem> items) {
    for (const MenuItem& item : items) {
        if (!item.action) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.caption));
        action->setShortcut(item.key);
        QObject::connect(action, &QAction::triggered, window, item.handler);
        menus.*item.action = action;
    }
}

// The settings that outlive the window: whether Open reads milliseconds.
QSettings settings() {
    return QSettings("ritmova", "ritmova");
}
constexpr const char* MillisecondsKey = "Analysis/Milliseconds";

bool runBeatDialog(QInputDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Ritmova");
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    openDialog_ = std::make_unique<QtCommonDialog>(this, printer_);
    saveDialog_ = std::make_unique<QtCommonDialog>(this, printer_);
    exportDialog_ = std::make_unique<QtCommonDialog>(this, printer_);
    exportDialog_->setSuffixFromFilter(true);
    exportDialog_->setTitle("Export image");
    controls_.openDialog = openDialog_.get();
    controls_.saveDialog = saveDialog_.get();
    controls_.exportDialog = exportDialog_.get();
    createControls();
    createMenus();
    port_ = std::make_unique<QtWindowPort>(controls_, *statusBar());
    recording_ = std::make_unique<RecordingCommands>(state_, *port_);
    beatAnswer_ = runBeatDialog;
    windowField_ = new QLabel(this);
    statusBar()->addPermanentWidget(windowField_);
    noteField_ = new QLabel(this);
    statusBar()->addWidget(noteField_, 1);
    port_->setLabelCaption(LabelId::MarkovText, "markovText");
    loadWindow();
    createImportParts();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    for (QLabel*& label : controls_.axisValueLabels) label = axisLabel(client);
    controls_.summaryLabel = textLabel(client);
    controls_.tachogramAxisTitle = axisLabel(client);
    controls_.spectrumAxisTitle = axisLabel(client);
    controls_.tachogramPlot = new PictureBoxWidget(QColor(255, 255, 192), client);
    controls_.spectrumPlot = new PictureBoxWidget(QColor(224, 224, 224), client);
    controls_.poincarePlot = new PictureBoxWidget(QColor(192, 255, 192), client);
    createPanel(client);
    controls_.saveResultsButton = new QPushButton(client);
    connect(controls_.saveResultsButton, &QPushButton::clicked, this, &MainWindow::onSaveResults);
}

// markovPanel, the Markov panel, above the plots and labels that it overlaps.
void MainWindow::createPanel(QWidget* client) {
    controls_.markovPanel = new QGroupBox(client);
    controls_.markovPanel->setAutoFillBackground(true);
    controls_.markovText = textLabel(controls_.markovPanel);
    QPalette colours = controls_.markovText->palette();
    colours.setColor(QPalette::WindowText, QColor(0, 0, 192));
    controls_.markovText->setPalette(colours);
    controls_.markovPrintButton = new QPushButton(controls_.markovPanel);
    controls_.markovExitButton = new QPushButton(controls_.markovPanel);
    connect(controls_.markovPrintButton, &QPushButton::clicked, this, &MainWindow::onPrintMarkov);
    connect(controls_.markovExitButton, &QPushButton::clicked, this, &MainWindow::onCloseMarkov);
}

void MainWindow::createMenus() {
    menus_.file = menuBar()->addMenu("&File");
    connect(menus_.file, &QMenu::aboutToShow, this, &MainWindow::onFileMenuShown);
    addItems(this, menus_, menus_.file, FileItems);
    menus_.saveHrvReport = menus_.file->addAction("Save HRV report...");
    connect(menus_.saveHrvReport, &QAction::triggered, this, &MainWindow::onSaveHrvReport);
    menus_.analysis = menuBar()->addMenu("&Analysis");
    addItems(this, menus_, menus_.analysis, AnalysisItems);
    menus_.milliseconds->setCheckable(true);
    menus_.milliseconds->setChecked(settings().value(MillisecondsKey, false).toBool());
    createBeatsItem();
    createReviewItem();
    createChannelItem();
    menus_.help = menuBar()->addMenu("?");
    menus_.about = menus_.help->addAction("About");
    menus_.about->setShortcut(QKeySequence(Qt::Key_F1));
    connect(menus_.about, &QAction::triggered, this, &MainWindow::onAbout);
}

bool MainWindow::runTrapped(const std::function<bool()>& command,
                            const std::function<std::string()>& fileName) {
    std::string reason;
    noteField_->clear();
    try {
        if (command()) port_->clearFailure();
        return true;
    } catch (const std::exception& failure) {  // a CommandFailure, or anything unforeseen
        reason = failure.what();
    }
    const std::string name = fileName ? fileName() : std::string();
    port_->reportFailure(name.empty() ? reason : name + ": " + reason);
    return false;
}

void MainWindow::onFileMenuShown() {
    controls_.markovPanel->setVisible(false);
}

void MainWindow::onOpen() {
    openRecording();
}

void MainWindow::onPrint() {
    runTrapped([this] {
        PrintWindow(printer_, *centralWidget(),
                    PrintedLine(windowField_->text(), QDateTime::currentDateTime()));
        return true;
    });
}

void MainWindow::onPrinterSetup() {
    runTrapped([this] { return saveDialog_->showPrinter(); });
}

void MainWindow::onExit() {
    hide();  // Exit is final: the window goes at once, whatever the teardown takes
    QCoreApplication::exit(0);
}

bool MainWindow::runRecordingCommand(const std::function<bool()>& command,
                                     const std::function<std::string()>& fileName) {
    const auto openedName = [this] {
        const auto& opened = recording_->opened();
        return opened ? shownFileName(opened->path) : std::string();
    };
    bool completed = false;
    const bool succeeded = runTrapped(
        [&command, &completed] {
            completed = command();
            return completed;
        },
        fileName ? fileName : openedName);
    if (completed && !recording_->hints().empty()) {
        statusBar()->showMessage(QString::fromStdString(recording_->hints()));
    }
    windowField_->setText(QString::fromStdString(recording_->windowField()));
    showSuggestedUnits();
    return succeeded;
}

// An Open that read its file opened it, even when its pass failed later on.
bool MainWindow::openRecording() {
    const WindowState before = state_;
    const std::size_t opens = recording_->opens();
    const bool succeeded =
        runRecordingCommand([this] { return openChosenFile(); },
                            [this] { return shownFileName(openDialog_->fileName()); });
    if (state_ != before) recordingOpened();
    if (recording_->opens() != opens) addRecentFile(recording_->opened()->path);
    return succeeded;
}

// Exports the window as shown, the way Print draws it.
void MainWindow::onExportImage() {
    runTrapped(
        [this] {
            exportDialog_->setFilter(ImageFilter);
            exportDialog_->setFilterIndex(1);
            exportDialog_->suggestName(ImageNameFor(openedPath()));
            if (!exportDialog_->showSave()) return false;
            ExportWindowImage(*centralWidget(), exportDialog_->fileName(), openedPath(),
                              windowField_->text());
            noteField_->setText(ExportedNote(exportDialog_->fileName()));
            return true;
        },
        [this] { return shownFileName(exportDialog_->fileName()); });
}

void MainWindow::onNext() {
    runRecordingCommand([this] {
        recording_->next();
        return true;
    });
}

void MainWindow::onPrevious() {
    runRecordingCommand([this] {
        recording_->previous();
        return true;
    });
}

void MainWindow::onMilliseconds() {
    setMilliseconds(menus_.milliseconds->isChecked());
}

// Before any recording is open the command runs as always (its panel text and state
// included); only its reason says what is missing.
void MainWindow::onMarkov() {
    runTrapped([this] {
        try {
            AnalyseAndShowMarkov(*port_, state_);
        } catch (const CommandFailure&) {
            if (!recording_->opened()) throw CommandFailure("no recording is open");
            throw;
        }
        return true;
    });
}

// Go to beat: the first beat of the window, in a spin box that offers only whole windows.
void MainWindow::onGoToBeat() {
    runRecordingCommand([this] {
        const OpenedRecording& opened = recording_->requireOpened();
        const int last = static_cast<int>(opened.lastFirstBeat());
        QInputDialog dialog(this);
        dialog.setWindowTitle("Go to beat");
        dialog.setInputMode(QInputDialog::IntInput);
        dialog.setLabelText(QString("First beat of the 256 shown (1-%1):").arg(last));
        dialog.setIntRange(1, last);
        dialog.setIntValue(static_cast<int>(opened.firstBeat));
        GuardBeatEntry(dialog);
        if (!beatAnswer_(dialog)) return false;
        recording_->goTo(static_cast<std::size_t>(dialog.intValue()));
        return true;
    });
}

bool MainWindow::goToBeat(std::size_t firstBeat) {
    return runRecordingCommand([this, firstBeat] {
        recording_->goTo(firstBeat);
        return true;
    });
}

// The choice holds for every later Open; an open recording is read again in the new units.
void MainWindow::setMilliseconds(bool milliseconds) {
    settings().setValue(MillisecondsKey, milliseconds);
    // An ECG record's intervals are seconds whatever the choice.
    if (!recording_->opened() || recording_->opened()->ecg) return;
    keepImportIn(milliseconds);
    openNativeFile(recording_->opened()->path);
}

void MainWindow::onAbout() {
    ShowAboutBox(this);
}

// The panel's Print: the Markov results text, on the printer of Printer Setup.
void MainWindow::onPrintMarkov() {
    runTrapped([this] {
        const QString heading = PrintedLine(windowField_->text(), QDateTime::currentDateTime());
        PrintPlainText(
            printer_,
            (heading.isEmpty() ? heading : heading + "\n\n") + controls_.markovText->text(),
            controls_.markovText->font());
        return true;
    });
}

void MainWindow::onCloseMarkov() {
    controls_.markovPanel->setVisible(false);
}

// Save results. A failure's reason names the file already.
void MainWindow::onSaveResults() {
    runTrapped([this] {
        saveDialog_->setFilter(TextFilter);
        saveDialog_->setFilterIndex(1);
        if (!saveDialog_->showSave()) return false;
        WriteReportFile(saveDialog_->fileName(), state_.reportText, openedPath());
        noteField_->setText(SavedNote(saveDialog_->fileName()));
        return true;
    });
}

bool MainWindow::openFile(const QString& path) {
    return openNativeFile(QFile::encodeName(path).toStdString());
}

bool MainWindow::openNativeFile(const std::string& path) {
    openDialog_->chooseNextNative(path);
    return openRecording();
}

std::string MainWindow::openedPath() const {
    return recording_->opened() ? recording_->opened()->path : std::string();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.constFirst().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile()) return;
    event->acceptProposedAction();
    // The path's bytes, as the URL holds them percent-encoded: Qt's text would lose those that
    // are not UTF-8.
    const QByteArray path = urls.constFirst().path(QUrl::FullyEncoded).toLatin1();
    openNativeFile(QByteArray::fromPercentEncoding(path).toStdString());
}

}  // namespace ritmova
