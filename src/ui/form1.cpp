#include "ui/form1.h"

#include <QCoreApplication>
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

#include "about/about_box.h"
#include "about/app_icon.h"
#include "common/command_failure.h"
#include "common/safe_text.h"
#include "report/report_file.h"
#include "ui/picture_box.h"
#include "ui/window_export.h"
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

// Adds the item `index` to `menu`; a caption "-" makes it a plain separator line, without
// text (some styles draw a separator's text beside the line).
QAction* addItem(QMenu* menu, std::map<std::int16_t, QAction*>& items, std::int16_t index,
                 const char* caption) {
    const bool separator = std::string_view(caption) == "-";
    QAction* item = separator ? menu->addSeparator() : menu->addAction(QString::fromUtf8(caption));
    items[index] = item;
    return item;
}

// The file's name as the status bar shows it before a reason: bytes that are not printable
// text are written as \xNN.
std::string shownFileName(const std::string& path) {
    return SafeText(std::filesystem::path(path).filename().string());
}

// The keys of the menu items, by File menu index; F1 is About's.
const std::map<std::int16_t, QKeySequence>& fileMenuKeys() {
    static const std::map<std::int16_t, QKeySequence> keys{
        {0, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {3, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {100, QKeySequence(Qt::CTRL | Qt::Key_Q)}};
    return keys;
}

// The Analysis menu's items after Markov, by index, with their keys. 5 and 6 are kept for
// the Trend view.
struct AnalysisItem {
    std::int16_t index;
    const char* caption;
    QKeySequence key;
};
const std::vector<AnalysisItem>& analysisItems() {
    static const std::vector<AnalysisItem> items{
        {1, "-", {}},
        {Form1::NextItem, "&Next 256 beats", QKeySequence(Qt::Key_PageDown)},
        {Form1::PreviousItem, "&Previous 256 beats", QKeySequence(Qt::Key_PageUp)},
        {Form1::GoToItem, "&Go to beat...", QKeySequence(Qt::CTRL | Qt::Key_G)},
        {5, "-", {}},
        {Form1::TrendItem, "&Trend", QKeySequence(Qt::CTRL | Qt::Key_T)},
        {7, "-", {}},
        {Form1::MillisecondsItem, "&Milliseconds", {}}};
    return items;
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

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Ritmova");
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    commonDialog1_ = std::make_unique<QtCommonDialog>(this, printer_);
    commonDialog2_ = std::make_unique<QtCommonDialog>(this, printer_);
    exportDialog_ = std::make_unique<QtCommonDialog>(this, printer_);
    exportDialog_->setSuffixFromFilter(true);
    controls_.CommonDialog1 = commonDialog1_.get();
    controls_.CommonDialog2 = commonDialog2_.get();
    controls_.ExportDialog = exportDialog_.get();
    createControls();
    createMenus();
    port_ = std::make_unique<QtWindowPort>(controls_, *statusBar());
    recording_ = std::make_unique<RecordingCommands>(state_, *port_);
    beatAnswer_ = runBeatDialog;
    windowField_ = new QLabel(this);
    statusBar()->addPermanentWidget(windowField_);
    port_->setLabelCaption(LabelId::Label5, "Label5");
    Form_Load();
}

Form1::~Form1() = default;

void Form1::createControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    for (QLabel*& label : controls_.Label1) label = axisLabel(client);
    controls_.Label2 = textLabel(client);
    controls_.Label3 = axisLabel(client);
    controls_.Label4 = axisLabel(client);
    controls_.Picture1 = new PictureBoxWidget(QColor(255, 255, 192), client);
    controls_.Picture2 = new PictureBoxWidget(QColor(224, 224, 224), client);
    controls_.Picture3 = new PictureBoxWidget(QColor(192, 255, 192), client);
    createPanel(client);
    controls_.Command3 = new QPushButton(client);
    connect(controls_.Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
}

// Frame1, the Markov panel, above the plots and labels that it overlaps.
void Form1::createPanel(QWidget* client) {
    controls_.Frame1 = new QGroupBox(client);
    controls_.Frame1->setAutoFillBackground(true);
    controls_.Label5 = textLabel(controls_.Frame1);
    QPalette colours = controls_.Label5->palette();
    colours.setColor(QPalette::WindowText, QColor(0, 0, 192));
    controls_.Label5->setPalette(colours);
    controls_.Command1 = new QPushButton(controls_.Frame1);
    controls_.Command2 = new QPushButton(controls_.Frame1);
    connect(controls_.Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(controls_.Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
}

void Form1::createMenus() {
    menus_.FileMnu = menuBar()->addMenu("&File");
    connect(menus_.FileMnu, &QMenu::aboutToShow, this, [this] { FileMnu_Click(0); });
    for (const auto& [index, caption] : {std::pair<std::int16_t, const char*>{0, "&Open"},
                                         {2, "-"},
                                         {3, "&Print"},
                                         {4, "Printer Set&up"},
                                         {ExportItem, "E&xport image..."},
                                         {99, "-"},
                                         {100, "&Exit"}}) {
        QAction* item = addItem(menus_.FileMnu, menus_.FileMnuItem, index, caption);
        if (const auto key = fileMenuKeys().find(index); key != fileMenuKeys().end()) {
            item->setShortcut(key->second);
        }
        connect(item, &QAction::triggered, this, [this, i = index] { FileMnuItem_Click(i); });
    }
    createAnalysisMenu();
    menus_.MenuQM = menuBar()->addMenu("?");
    QAction* about = addItem(menus_.MenuQM, menus_.MenuQMItem, 0, "About");
    about->setShortcut(QKeySequence(Qt::Key_F1));
    connect(about, &QAction::triggered, this, [this] { MenuQMItem_Click(0); });
}

void Form1::createAnalysisMenu() {
    menus_.AnalysisMenu = menuBar()->addMenu("&Analysis");
    QAction* markov = addItem(menus_.AnalysisMenu, menus_.AnalysisMenuItem, 0, "&Markov");
    connect(markov, &QAction::triggered, this, [this] { AnalysisMenuItem_Click(0); });
    for (const AnalysisItem& entry : analysisItems()) {
        QAction* item =
            addItem(menus_.AnalysisMenu, menus_.AnalysisMenuItem, entry.index, entry.caption);
        item->setShortcut(entry.key);
        connect(item, &QAction::triggered, this,
                [this, i = entry.index] { AnalysisMenuItem_Click(i); });
    }
    QAction* milliseconds = menus_.AnalysisMenuItem.at(MillisecondsItem);
    milliseconds->setCheckable(true);
    milliseconds->setChecked(settings().value(MillisecondsKey, false).toBool());
}

bool Form1::runTrapped(const std::function<bool()>& command,
                       const std::function<std::string()>& fileName) {
    std::string reason;
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

void Form1::FileMnu_Click(std::int16_t) {
    controls_.Frame1->setVisible(false);
}

void Form1::FileMnuItem_Click(std::int16_t index) {
    switch (index) {
        case 0:
            openRecording();
            break;
        case 3:
            runTrapped([this] {
                PrintWindow(printer_, *centralWidget());
                return true;
            });
            break;
        case 4:
            runTrapped([this] { return commonDialog2_->showPrinter(); });
            break;
        case ExportItem:
            exportImage();
            break;
        case 100:
            hide();  // Exit is final: the window goes at once, whatever the teardown takes
            QCoreApplication::exit(0);
            break;
        default:
            break;
    }
}

bool Form1::runRecordingCommand(const std::function<bool()>& command,
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
    return succeeded;
}

// An Open that read its file opened it, even when its pass failed later on.
bool Form1::openRecording() {
    const WindowState before = state_;
    const bool milliseconds = menus_.AnalysisMenuItem.at(MillisecondsItem)->isChecked();
    const bool succeeded = runRecordingCommand(
        [this, milliseconds] {
            return recording_->open(milliseconds ? Units::Milliseconds : Units::Seconds) ==
                   OpenResult::Completed;
        },
        [this] { return shownFileName(commonDialog1_->fileName()); });
    if (state_ != before) recordingOpened();
    return succeeded;
}

// Exports the window as shown, the way Print draws it.
void Form1::exportImage() {
    runTrapped(
        [this] {
            exportDialog_->setFilter(ImageFilter);
            exportDialog_->setFilterIndex(1);
            if (!exportDialog_->showSave()) return false;
            ExportWindowImage(*centralWidget(), exportDialog_->chosenPath());
            return true;
        },
        [this] { return shownFileName(exportDialog_->fileName()); });
}

void Form1::AnalysisMenuItem_Click(std::int16_t index) {
    switch (index) {
        case 0:
            markov();
            break;
        case NextItem:
            runRecordingCommand([this] {
                recording_->next();
                return true;
            });
            break;
        case PreviousItem:
            runRecordingCommand([this] {
                recording_->previous();
                return true;
            });
            break;
        case GoToItem:
            askForBeat();
            break;
        case TrendItem:
            openTrend();
            break;
        case MillisecondsItem:
            setMilliseconds(menus_.AnalysisMenuItem.at(MillisecondsItem)->isChecked());
            break;
        default:
            break;
    }
}

// Before any recording is open the command runs as always (its panel text and state
// included); only its reason says what is missing.
void Form1::markov() {
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
void Form1::askForBeat() {
    runRecordingCommand([this] {
        const OpenedRecording& opened = recording_->requireOpened();
        const int last = static_cast<int>(opened.lastFirstBeat());
        QInputDialog dialog(this);
        dialog.setWindowTitle("Go to beat");
        dialog.setInputMode(QInputDialog::IntInput);
        dialog.setLabelText(QString("First beat of the 256 shown (1-%1):").arg(last));
        dialog.setIntRange(1, last);
        dialog.setIntValue(static_cast<int>(opened.firstBeat));
        if (!beatAnswer_(dialog)) return false;
        recording_->goTo(static_cast<std::size_t>(dialog.intValue()));
        return true;
    });
}

bool Form1::goToBeat(std::size_t firstBeat) {
    return runRecordingCommand([this, firstBeat] {
        recording_->goTo(firstBeat);
        return true;
    });
}

// The choice holds for every later Open; an open recording is read again in the new units.
void Form1::setMilliseconds(bool milliseconds) {
    settings().setValue(MillisecondsKey, milliseconds);
    if (recording_->opened()) openFile(QFile::decodeName(recording_->opened()->path.c_str()));
}

void Form1::MenuQMItem_Click(std::int16_t index) {
    if (index == 0) ShowAboutBox(this);
}

// The panel's Print: the Markov results text, on the printer of Printer Setup.
void Form1::Command1_Click() {
    runTrapped([this] {
        PrintPlainText(printer_, controls_.Label5->text(), controls_.Label5->font());
        return true;
    });
}

void Form1::Command2_Click() {
    controls_.Frame1->setVisible(false);
}

// Save results. A failure's reason names the file already.
void Form1::Command3_Click() {
    runTrapped([this] {
        commonDialog2_->setFilter(TextFilter);
        commonDialog2_->setFilterIndex(1);
        if (!commonDialog2_->showSave()) return false;
        WriteReportFile(commonDialog2_->fileName(), state_.reportText);
        return true;
    });
}

bool Form1::openFile(const QString& path) {
    commonDialog1_->chooseNext(path);
    return openRecording();
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.constFirst().isLocalFile()) event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile()) return;
    event->acceptProposedAction();
    openFile(urls.constFirst().toLocalFile());
}

}  // namespace ritmova
