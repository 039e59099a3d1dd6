// The main window: menus, load, Open, Save, Markov, beat windows, trend, print and export.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QtCore/qtestsupport_core.h>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>

#include "cli/recording_analysis.h"
#include "ui/command_line_export.h"
#include "ui/fixed_width_font.h"
#include "ui/main_window.h"
#include "ui/picture_box.h"
#include "ui/trend_plot.h"
#include "ui/trend_window.h"
#include "ui/window_command_line.h"
#include "ui/window_printing.h"

namespace ritmova {
namespace {

const QString ExampleRecording = RITMOVA_EXAMPLES_DIR "/nsr2db-nsr012.int";

// A text with CR LF line breaks as a label shows it.
QString shown(const std::string& text) {
    return QString::fromStdString(text).replace("\r\n", "\n");
}

// A path's bytes as the system takes them.
std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The example's intervals as a Polar HRM file in whole milliseconds, after blank lines.
QByteArray polarExample() {
    QByteArray hrm = "\r\n[Params]\r\nVersion=106\r\n\r\n[HRData]\r\n";
    QFile example(ExampleRecording);
    if (!example.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& line : example.readAll().split('\n')) {
        if (!line.isEmpty()) hrm += QByteArray::number(qRound(line.toDouble() * 1000)) + "\r\n";
    }
    return hrm;
}

// The main window, driven through its menus, with scripted dialogs and a folder of its own.
class Window : public testing::Test {
  protected:
    // The next file dialog picks `path` (cancelled if empty); `offered`: its filters, chosen last.
    void answerWith(QtCommonDialog& dialog, const QString& path) {
        dialog.setFileAnswer([this, path](QFileDialog& shown) -> std::optional<QString> {
            offered = shown.nameFilters() << shown.selectedNameFilter();
            return path.isEmpty() ? std::nullopt : std::optional(path);
        });
    }
    void choose(QAction* MainWindowMenus::*item) { (form.menus().*item)->trigger(); }
    void open(const QString& path) {
        answerWith(*form.controls().openDialog, path);
        choose(&MainWindowMenus::open);
    }
    QString inFolder(const QString& name) const { return folder.filePath(name); }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString status() { return form.statusBar()->currentMessage(); }

    QTemporaryDir folder;
    MainWindow form;
    const MainWindowControls& c = form.controls();
    QStringList offered;
};

// A menu's items in order as "caption keys"; a plain separator line, without text, as "-".
QStringList items(const QMenu* menu) {
    QStringList result;
    for (const QAction* item : menu->actions()) {
        const QString text = item->isSeparator() && item->text().isEmpty() ? "-" : item->text();
        result << QString("%1 %2").arg(text, item->shortcut().toString()).trimmed();
    }
    return result;
}

TEST_F(Window, MenusKeepTheirOrderAndKeys) {
    const MainWindowMenus& m = form.menus();
    EXPECT_EQ(QStringList({m.file->title(), m.analysis->title(), m.help->title()}),
              QStringList({"&File", "&Analysis", "?"}));
    EXPECT_EQ(items(m.file),
              QStringList({"&Open Ctrl+O", "-", "&Print Ctrl+P", "Printer Set&up",
                           "E&xport image...", "-", "&Exit Ctrl+Q", "Save HRV report..."}));
    EXPECT_EQ(items(m.analysis),
              QStringList({"&Markov", "-", "&Next 256 beats PgDown", "&Previous 256 beats PgUp",
                           "&Go to beat... Ctrl+G", "-", "&Trend Ctrl+T", "-", "&Milliseconds",
                           "&Standard analysis... Ctrl+H", "&Detect beats in ECG records",
                           "Beat &review...", "ECG &channel..."}));
    EXPECT_EQ(items(m.help), QStringList{"About F1"});
    EXPECT_EQ(QList<QAction*>({m.open, m.print, m.printerSetup, m.exportImage, m.exit}),
              QList<QAction*>({m.file->actions()[0], m.file->actions()[2], m.file->actions()[3],
                               m.file->actions()[4], m.file->actions()[6]}));
    EXPECT_EQ(c.saveResultsButton->shortcut().toString(), "Ctrl+S");
}

// Whether the summary's text stands in columns in `font`: every character of a summary has
// the same advance width.
bool equalAdvances(const QFont& font) {
    const QString summary =
        "Mean R-R value (sec) = .8706    SDNN = .0243    rec_1.int\n"
        "R-R Variability - Absolute Values (sec\u00b2/beat)\n"
        "LF = 80.0352    HF = 19.9648    LF/HF = 4.0088 (%) VLF peak";
    const QFontMetricsF metrics(font);
    return std::all_of(summary.begin(), summary.end(), [&](QChar c) {
        return metrics.horizontalAdvance(c) == metrics.horizontalAdvance('W');
    });
}

// A name that resolves to a proportional face falls back to a fixed-width one.
TEST(SummaryFont, FallsBackByWidthsNotByName) {
    EXPECT_FALSE(equalAdvances(QFont("DejaVu Sans")));
    EXPECT_TRUE(equalAdvances(FixedWidthFont(QFont(), "DejaVu Sans", SummaryCharacters())));
}

// Texts, colours and places at load, in whole pixels of the window's outer size (the layout's
// own tests check every place); nothing is laid out again when the window changes size.
TEST_F(Window, LoadSetsTextsStatesAndPlaces) {
    EXPECT_EQ(
        QStringList({form.windowTitle(), c.axisValueLabels[0]->text(), c.axisValueLabels[1]->text(),
                     c.axisValueLabels[2]->text(), c.axisValueLabels[3]->text(),
                     c.tachogramAxisTitle->text(), c.spectrumAxisTitle->text(),
                     c.summaryLabel->text(), c.saveResultsButton->text(), c.markovPanel->title(),
                     c.markovPrintButton->text(), c.markovExitButton->text()}),
        QStringList({"Ritmova", "2.0", "0", "0.1", "0", "R-R\n(sec)", "Power\n(sec\u00b2)", "",
                     "Save results", "Markov analysis", "Print", "Exit"}));
    EXPECT_TRUE(equalAdvances(c.summaryLabel->font()));
    EXPECT_TRUE(!c.saveResultsButton->isEnabled() && c.markovPanel->isHidden());
    const auto pixel = [](QWidget* picture) {
        return picture->grab().toImage().pixelColor(10, 10);
    };
    EXPECT_EQ(QList({c.markovText->palette().color(QPalette::WindowText), pixel(c.tachogramPlot),
                     pixel(c.spectrumPlot), pixel(c.poincarePlot)}),
              QList<QColor>({{0, 0, 192}, {255, 255, 192}, {224, 224, 224}, {192, 255, 192}}));

    const QSize outer = form.frameGeometry().size();
    const QRect p1 = c.tachogramPlot->geometry(), p2 = c.spectrumPlot->geometry();
    const QRect p3 = c.poincarePlot->geometry(), frame1 = c.markovPanel->geometry();
    // From 1215 twips, at 15 to the pixel, to the window's outer right edge.
    EXPECT_EQ(p1, QRect(81, 0, outer.width() - 81, qRound(outer.height() / 3.5)));
    EXPECT_EQ(p3.topRight() + QPoint(1, 0), QPoint(outer.width(), p2.top()));
    EXPECT_EQ(frame1, QRect(qRound(outer.width() * 0.1), qRound(outer.height() * 0.1),
                            qRound(outer.width() * 0.8), qRound(outer.height() * 0.7)));
    form.showNormal();
    form.resize(outer / 2);
    QApplication::processEvents();
    EXPECT_EQ(
        QList({c.tachogramPlot->geometry(), c.poincarePlot->geometry(), c.markovPanel->geometry()}),
        QList({p1, p3, frame1}));
}

// An Open shows the console's analysis of the file; the Open dialog then offers the name
// opened last, and a file dropped on another window shows there the same.
TEST_F(Window, OpenShowsTheAnalysisAsTheConsoleDoes) {
    const cli::RecordingAnalysis expected = cli::AnalyseRecording(ExampleRecording.toStdString());
    MainWindow other;  // a file dropped on it opens as well
    const auto client = [](MainWindow& window) { return window.centralWidget()->grab().toImage(); };
    open(ExampleRecording);
    EXPECT_EQ(offered, QStringList({"Interval Files (*.int)", "All Files (*)",
                                    "ECG Records (*.hea *.edf *.EDF)", "Interval Files (*.int)"}));
    EXPECT_EQ(c.summaryLabel->text(), shown(expected.summary));
    EXPECT_NE(c.axisValueLabels[2]->text(), "0.1");
    EXPECT_TRUE(c.saveResultsButton->isEnabled());
    EXPECT_EQ(status(), "");
    EXPECT_NE(client(other), client(form));

    c.openDialog->setFileAnswer([this](QFileDialog& dialog) -> std::optional<QString> {
        offered = dialog.selectedFiles();
        return std::nullopt;
    });
    choose(&MainWindowMenus::open);
    EXPECT_EQ(offered, QStringList{ExampleRecording});

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(ExampleRecording)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&other, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&other, &drop);
    EXPECT_EQ(client(other), client(form));
    EXPECT_EQ(other.controls().openDialog->fileName(), ExampleRecording.toStdString());

    // A Polar HRM file under a name that is not UTF-8, dropped, then opened: the console's
    // analysis of it, the name shown safely.
    const std::string hrm = native(folder.path()) + "/p\xe9.hrm";
    writeFile(inFolder("p.hrm"), polarExample());
    ASSERT_EQ(std::rename(native(inFolder("p.hrm")).c_str(), hrm.c_str()), 0);
    const cli::RecordingAnalysis polar = cli::AnalyseRecording(hrm);
    ASSERT_FALSE(polar.error);
    data.setUrls(
        {QUrl::fromEncoded("file://" + QByteArray::fromStdString(hrm).toPercentEncoding("/"))});
    QDragEnterEvent enterPolar(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                               Qt::NoModifier);
    QApplication::sendEvent(&other, &enterPolar);
    QDropEvent dropPolar(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&other, &dropPolar);
    EXPECT_EQ(other.statusBar()->currentMessage().toStdString(), "");
    EXPECT_EQ(other.controls().summaryLabel->text().toStdString(),
              shown(polar.summary).toStdString());
    EXPECT_TRUE(
        other.windowField()->text().startsWith("p\\xe9.hrm \u00b7 beats 1-256 of 2000 \u00b7 ms"));
    EXPECT_TRUE(form.openNativeFile(hrm));
    EXPECT_EQ(c.summaryLabel->text(), shown(polar.summary));
    std::remove(hrm.c_str());  // a name that Qt's folder removal cannot spell
}

// A cancelled or failed Open (dialog, command line or drop) leaves the window as it was, with or
// without a recording; only regular files are opened (a FIFO would block); names shown safely.
TEST_F(Window, FailedOrCancelledOpenLeavesTheWindowAsItWas) {
    writeFile(inFolder("short.int"), "0.8\n0.9\n1.0\n");
    ASSERT_TRUE(QDir(folder.path()).mkdir("rec\x1b.int"));
    ASSERT_EQ(mkfifo(QFile::encodeName(inFolder("pipe.int")).constData(), 0600), 0);
    const std::pair<QString, QString> cases[] = {
        {"", ""},
        {"short.int", "short.int: only 3 values, 256 needed"},
        {"rec\x1b.int", "rec\\x1b.int: is a folder"},
        {"pipe.int", "pipe.int: is not a regular file"}};
    const auto state = [&] {  // all that the window shows, and the analysis it holds
        return std::make_tuple(form.centralWidget()->grab().toImage(), form.windowField()->text(),
                               form.windowState());
    };
    for (const bool opened : {false, true}) {
        if (opened) open(ExampleRecording);
        const auto before = state();
        for (const auto& [name, reason] : cases) {
            SCOPED_TRACE(name.toStdString());
            const QString path = name.isEmpty() ? name : inFolder(name);
            open(path);
            EXPECT_EQ(status(), reason);
            EXPECT_TRUE(name.isEmpty() || !form.openFile(path));  // as from a drop
            EXPECT_EQ(status(), reason);
            EXPECT_TRUE(state() == before);
        }
        if (opened) break;
        // Nothing was opened: the commands of a recording say so.
        for (const auto item :
             {&MainWindowMenus::markov, &MainWindowMenus::next, &MainWindowMenus::trend}) {
            choose(item);
            EXPECT_EQ(status(), "no recording is open");
        }
        EXPECT_TRUE(c.markovPanel->isHidden());
    }
    open(ExampleRecording);  // a later Open works and clears the failure
    EXPECT_EQ(status(), "");
}

// Saving again replaces, never appends; a cancelled save writes nothing, and a target that
// cannot be replaced (a folder of that name) is left intact, with no file beside it.
TEST_F(Window, SaveResultsWritesExactlyTheReportOrLeavesTheTarget) {
    open(ExampleRecording);
    const QString target = inFolder("results.txt"), blocked = inFolder("folder.txt");
    const QByteArray old(5000, 'x');
    writeFile(target, old);
    answerWith(*c.saveDialog, "");
    c.saveResultsButton->click();
    EXPECT_EQ(readFile(target), old);
    answerWith(*c.saveDialog, target);
    c.saveResultsButton->click();
    c.saveResultsButton->click();
    EXPECT_EQ(offered, QStringList({"Txt Files (*.txt)", "All Files (*)", "Txt Files (*.txt)"}));
    const auto report = cli::AnalyseRecording(ExampleRecording.toStdString()).report;
    EXPECT_EQ(readFile(target), QByteArray::fromStdString(report + "\r\n"));
    EXPECT_EQ(status(), "");

    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.txt"));
    writeFile(blocked + "/kept.txt", "old");
    answerWith(*c.saveDialog, blocked);
    c.saveResultsButton->click();
    EXPECT_TRUE(status().startsWith("cannot replace " + blocked + ": ")) << status().toStdString();
    EXPECT_EQ(readFile(blocked + "/kept.txt"), "old");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({"folder.txt", "results.txt"}));

    const QString recording = inFolder("rec.int");  // never replaced by its own results
    writeFile(recording, readFile(ExampleRecording));
    open(recording);
    answerWith(*c.saveDialog, recording);
    c.saveResultsButton->click();
    EXPECT_EQ(status(), "cannot replace " + recording + ": it is the recording analysed");
    EXPECT_EQ(readFile(recording), readFile(ExampleRecording));
}

// Markov shows its panel, the same text each time; File's menu and the panel's Exit hide it.
TEST_F(Window, MarkovShowsThePanelAndTheFileMenuHidesIt) {
    const QString text = shown(cli::AnalyseRecording(ExampleRecording.toStdString()).markovText);
    open(ExampleRecording);
    for (const bool byExit : {false, true}) {
        choose(&MainWindowMenus::markov);
        EXPECT_FALSE(c.markovPanel->isHidden());
        EXPECT_EQ(c.markovText->text(), text);
        if (byExit)
            c.markovExitButton->click();
        else
            emit form.menus().file->aboutToShow();
        EXPECT_TRUE(c.markovPanel->isHidden());
    }
}

// Next, Previous and Go to move through the recording; Milliseconds reads it again, and is kept.
TEST_F(Window, BeatWindowsAndMillisecondsShowInTheSummaryAndTheStatusField) {
    const auto line1 = [this] { return c.summaryLabel->text().section('\n', 0, 0); };
    open(ExampleRecording);
    choose(&MainWindowMenus::next);
    EXPECT_TRUE(line1().endsWith(ExampleRecording + " (beats 257-512)"));
    EXPECT_TRUE(form.windowField()->text().startsWith(
        "nsr2db-nsr012.int \u00b7 beats 257-512 of 2000 \u00b7 s \u00b7 "));
    std::pair<int, int> range;
    form.setBeatAnswer([&range](QInputDialog& dialog) {
        range = {dialog.intMinimum(), dialog.intMaximum()};
        dialog.setIntValue(1745);
        return true;
    });
    choose(&MainWindowMenus::goToBeat);
    EXPECT_EQ(range, std::make_pair(1, 1745));
    const QString end = "the last beats are shown: the recording has 2000 beats";
    EXPECT_EQ(status(), end);
    choose(&MainWindowMenus::next);
    EXPECT_EQ(status(), "nsr2db-nsr012.int: " + end);
    choose(&MainWindowMenus::previous);
    EXPECT_TRUE(line1().endsWith(" (beats 1489-1744)"));
    EXPECT_EQ(status(), "");

    writeFile(inFolder("ms.int"), QByteArray("800 850 ").repeated(150));
    open(inFolder("ms.int"));
    EXPECT_TRUE(status().startsWith("values look like milliseconds: "));
    const auto kept = [] { return MainWindow().menus().milliseconds->isChecked(); };
    choose(&MainWindowMenus::milliseconds);
    EXPECT_TRUE(kept());
    EXPECT_EQ(form.windowField()->text(),
              "ms.int \u00b7 beats 1-256 of 300 \u00b7 ms \u00b7 0 artifacts");
    EXPECT_TRUE(line1().startsWith("Mean R-R value (sec) = .825 "));
    choose(&MainWindowMenus::milliseconds);
    EXPECT_FALSE(kept());
}

// Trend: the pointer shows a window, a click chooses it, and an Open is followed.
TEST_F(Window, TrendPointerShowsAWindowAClickChoosesItAndAnOpenIsFollowed) {
    open(ExampleRecording);
    choose(&MainWindowMenus::trend);
    TrendWindow& trend = *form.trendWindow();
    const auto computed = [&trend] { return !trend.computing(); };
    ASSERT_TRUE(QTest::qWaitFor(computed, 20'000));
    EXPECT_EQ(trend.series()->points.size(), 1745u);  // 2,000 beats, every beat
    trend.stepChoice().setCurrentIndex(3);            // every 256 beats: 7 windows
    ASSERT_TRUE(QTest::qWaitFor(computed, 20'000));
    const QPoint at = trend.plot().positionOf(2), global = trend.plot().mapToGlobal(at);
    QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&trend.plot(), &move);
    EXPECT_TRUE(trend.statusText().startsWith("beats 513-768, from "));
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&trend.plot(), &press);
    EXPECT_TRUE(form.windowField()->text().contains("beats 513-768 of 2000"));
    open(RITMOVA_EXAMPLES_DIR "/bartelshrv-rest.int");
    ASSERT_TRUE(QTest::qWaitFor(computed, 20'000));
    EXPECT_EQ(trend.series()->beats, 910u);
    trend.close();  // forgets the recording
    EXPECT_TRUE(!trend.series() && trend.fileName().isEmpty());
}

// A PDF's first page's width and height in points.
QSizeF mediaBox(const QByteArray& pdf) {
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])").match(QString(pdf));
    return {box.captured(1).toDouble(), box.captured(2).toDouble()};
}

// Each format as shown, replacing what was there, nothing beside it: a PNG pixel for pixel, an
// SVG whose lines stay vectors, a PDF page of the window's size at 96 pixels to the inch. A
// failed export says why after the name and leaves what was there.
TEST_F(Window, ExportWritesTheWindowAsShownOrLeavesTheTarget) {
    open(ExampleRecording);
    form.show();  // laid out as the user sees it
    const std::tuple<QString, QByteArray, QByteArray> cases[] = {
        {"window.png", "\x89PNG\r\n", "IDAT"},
        {"window.svg", "<?xml", "<polyline"},
        {"window.pdf", "%PDF-", "/MediaBox"}};
    for (const auto& [name, header, drawingMark] : cases) {
        SCOPED_TRACE(name.toStdString());
        writeFile(inFolder(name), "old");
        answerWith(*c.exportDialog, inFolder(name));
        choose(&MainWindowMenus::exportImage);
        EXPECT_EQ(offered, QStringList({"PNG Image (*.png)", "SVG Drawing (*.svg)",
                                        "PDF Document (*.pdf)", "PNG Image (*.png)"}));
        EXPECT_EQ(status(), "");
        const QByteArray bytes = readFile(inFolder(name));
        EXPECT_TRUE(bytes.startsWith(header) && bytes.contains(drawingMark));
    }
    // The window, with the line under it that names the file and its beats.
    const QSize client = form.centralWidget()->size();
    const QSize png = QImage(inFolder("window.png")).size();
    EXPECT_TRUE(png.width() == client.width() && png.height() > client.height());
    EXPECT_EQ(mediaBox(readFile(inFolder("window.pdf"))), QSizeF(png) * 0.75);
    writeFile(inFolder("notes.txt"), "old");
    const std::pair<QString, QString> failures[] = {
        {"notes.txt", "notes.txt: is not an image name: end it in .png, .svg or .pdf"},
        {"missing/w.png", "w.png: could not be written: "}};
    for (const auto& [name, reason] : failures) {
        answerWith(*c.exportDialog, inFolder(name));
        choose(&MainWindowMenus::exportImage);
        EXPECT_TRUE(status().startsWith(reason)) << status().toStdString();
    }
    EXPECT_EQ(readFile(inFolder("notes.txt")), "old");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList({"notes.txt", "window.pdf", "window.png", "window.svg"}));
}

// --export writes without a window (0), or says why: 1 for a failed Open or a start past the
// last whole window, 2 for usage; --start BEAT exports the window from that beat. Names are
// bytes, whatever their encoding; a Polar HRM file is read as the console reads it.
TEST_F(Window, CommandLineExportWritesOrSaysWhy) {
    const std::string image = native(inFolder("w.png")), last = native(inFolder("last.png"));
    const auto run = [&](std::vector<std::string> arguments) -> std::optional<int> {
        std::replace(arguments.begin(), arguments.end(), std::string("FILE"),
                     native(ExampleRecording));
        const WindowCommandLine line = ParseWindowCommandLine(arguments);
        if (line.request == WindowRequest::UsageError) return 2;
        if (line.request != WindowRequest::Export) return std::nullopt;
        return RunCommandLineExport(line);
    };
    EXPECT_EQ(run({"FILE", "--export", image}), 0);
    EXPECT_FALSE(QImage(QString::fromStdString(image)).isNull());
    EXPECT_EQ(run({native(inFolder("none.int")), "--export", image}), 1);
    EXPECT_EQ(run({"FILE", "--export"}), 2);
    EXPECT_EQ(run({"FILE"}), std::nullopt);
    EXPECT_EQ(run({"--start=1745", "FILE", "--export", last}), 0);
    EXPECT_NE(QImage(QString::fromStdString(last)), QImage(QString::fromStdString(image)));
    EXPECT_EQ(run({"--start=1746", "FILE", "--export", last}), 1);
    for (const std::string bad : {"0", "+5", "x"})
        EXPECT_EQ(run({"--start=" + bad, "FILE", "--export", last}), 2);
    const std::string odd = native(folder.path()) + "/lat\xe9--export.int";
    writeFile(inFolder("copy.int"), readFile(ExampleRecording));
    ASSERT_EQ(std::rename(native(inFolder("copy.int")).c_str(), odd.c_str()), 0);
    const std::string oddImage = native(folder.path()) + "/out\xe9.png";
    EXPECT_EQ(run({odd, "--export", oddImage}), 0);
    struct stat status {};
    EXPECT_EQ(stat(oddImage.c_str(), &status), 0);
    for (const std::string& name : {odd, oddImage}) std::remove(name.c_str());
    writeFile(inFolder("p.hrm"), polarExample());
    EXPECT_EQ(run({native(inFolder("p.hrm")), "--export", native(inFolder("p.png"))}), 0);
}

// The window's command line: options matched whole and once, names kept as bytes; what
// cannot be used is a usage error that says why, names quoted safely.
TEST(WindowCommandLineTest, MatchesOptionsWholeAndKeepsNamesAsBytes) {
    using R = WindowRequest;
    const std::string exportUsage = "Usage: ritmova FILE --export OUT.png|OUT.svg|OUT.pdf\n";
    const struct {
        std::vector<std::string> arguments;
        R request;
        std::string file, image;  // empty: none
        std::size_t start;        // 0: none
        std::string message;
    } cases[] = {
        {{}, R::Window, "", "", 0, ""},
        {{"rec--export.int", "--start", "257"}, R::Window, "rec--export.int", "", 257, ""},
        {{"--export=x.png", "my--export/r\xe9.int"},
         R::Export,
         "my--export/r\xe9.int",
         "x.png",
         0,
         ""},
        {{"--", "--export", "-"}, R::UsageError, "", "", 0, "Usage: ritmova [FILE]\n"},
        {{"f", "--export", "--start"}, R::Export, "f", "--start", 0, ""},
        {{"-", "--start=2"}, R::Window, "-", "", 2, ""},
        {{"--bogus\x1b"}, R::UsageError, "", "", 0, "ritmova: unknown option '--bogus\\x1b'\n"},
        {{"--exported", "f"}, R::UsageError, "", "", 0, "ritmova: unknown option '--exported'\n"},
        {{"--export", "x.png"}, R::UsageError, "", "", 0, exportUsage},
        {{"f", "--export="}, R::UsageError, "", "", 0, exportUsage},
        {{"f", "--export", "a.png", "--export=b.png"},
         R::UsageError,
         "",
         "",
         0,
         "ritmova: --export is given more than once\n"},
        {{"f", "--start"}, R::UsageError, "", "", 0, "ritmova: missing value after '--start'\n"},
        {{"--start=99999999999999999999", "f"},
         R::UsageError,
         "",
         "",
         0,
         "ritmova: --start '99999999999999999999': the first beat is a whole number from 1 on\n"},
        {{"--help", "f", "g"}, R::Help, "", "", 0, ""},
        {{"-?"}, R::Help, "", "", 0, ""},
        {{"--help-all"}, R::HelpAll, "", "", 0, ""},
        {{"--help", "-v"}, R::Version, "", "", 0, ""},
        {{"-v", "--bogus"}, R::UsageError, "", "", 0, "ritmova: unknown option '--bogus'\n"}};
    for (const auto& c : cases) {
        const WindowCommandLine line = ParseWindowCommandLine(c.arguments);
        SCOPED_TRACE(c.arguments.empty() ? "" : c.arguments.front());
        EXPECT_EQ(line.request, c.request);
        EXPECT_EQ(line.file.value_or(""), c.file);
        EXPECT_EQ(line.image, c.image);
        EXPECT_EQ(line.firstBeat.value_or(0), c.start);
        EXPECT_EQ(line.message, c.message);
    }
}

// The program itself: a usage error exits 2 before a display is needed; a failed export says
// why, naming what was given, and under a file size limit leaves no temporary file.
TEST(WindowProgram, UsageErrorsExit2AndFailedExportsSayWhy) {
    QTemporaryDir folder;
    const std::string out = native(folder.filePath("out")), err = native(folder.filePath("err"));
    const auto run = [&](const std::string& line) {
        const std::string command = "(" + line + ") >" + out + " 2>" + err;
        const int status = std::system(command.c_str());
        QFile messages(QString::fromStdString(err));
        const QByteArray text = messages.open(QIODevice::ReadOnly) ? messages.readAll() : "";
        return std::make_pair(WEXITSTATUS(status), text.toStdString());
    };
    const std::string window =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " RITMOVA_WINDOW;
    const std::string example = native(ExampleRecording), image = native(folder.filePath("x.png"));
    EXPECT_EQ(run(window + " --bogus"),
              std::make_pair(2, std::string("ritmova: unknown option '--bogus'\n")));
    EXPECT_EQ(run(window + " a b"), std::make_pair(2, std::string("Usage: ritmova [FILE]\n")));
    const auto [status, reason] = run(window + " " + example + " --export " + image + "/");
    EXPECT_EQ(status, 1);
    EXPECT_NE(reason.find("ritmova: " + image + "/: is not an image name"), std::string::npos);
    const auto [limited, said] = run("sh -c 'ulimit -f 0; " + window + " " + example +
                                     " --export " + image + "; echo $?' 2>&1 | cat >&2");
    EXPECT_NE(said.find("ritmova: x.png: could not be written: " +
                        std::string(std::strerror(EFBIG)) + "\n1\n"),
              std::string::npos)
        << said;
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList({"err", "out"}));
}

// The window fills the target in one direction, centred in the other: a wide window into a
// square leaves equal bands above and below, and nothing is drawn outside the target.
TEST(WindowRender, FitsTheTargetKeepingProportions) {
    QLabel client("Ritmova");
    client.setAutoFillBackground(true);
    client.resize(400, 200);
    QImage page(600, 600, QImage::Format_RGB32);
    page.fill(Qt::red);
    QPainter painter(&page);
    DrawRecording(RecordWindow(client), painter, QRectF(50, 50, 500, 500));
    painter.end();
    QRect drawn;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y) != Qt::red) drawn |= QRect(x, y, 1, 1);
    EXPECT_EQ(drawn, QRect(50, 175, 500, 250));
}

// Printer Setup only sets the printer up (here: PDF output). Print puts the wide window on one
// landscape page; the panel's Print, the Markov text on that printer, keeps a portrait page.
TEST_F(Window, PrintsTheWindowLandscapeAndThePanelPortrait) {
    open(ExampleRecording);
    choose(&MainWindowMenus::markov);
    QString pdf, title, accept;
    c.saveDialog->setPrinterAnswer([&](QPrintDialog& dialog) {
        title = dialog.windowTitle();
        accept = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text();
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(pdf);
        return true;
    });
    for (const bool panel : {false, true}) {
        pdf = inFolder(panel ? "markov.pdf" : "window.pdf");
        choose(&MainWindowMenus::printerSetup);
        EXPECT_EQ(QStringList({title, accept}), QStringList({"Printer Setup", "OK"}));
        EXPECT_FALSE(QFile::exists(pdf));
        if (panel)
            c.markovPrintButton->click();
        else
            choose(&MainWindowMenus::print);
        const QByteArray bytes = readFile(pdf);
        EXPECT_TRUE(bytes.startsWith("%PDF-"));
        EXPECT_EQ(QString(bytes).count(QRegularExpression(R"(/Type\s*/Page\b)")), 1);
        const QSizeF page = mediaBox(bytes);
        EXPECT_EQ(page.width() > page.height(), !panel);
        EXPECT_GT(std::min(page.width(), page.height()), 500);  // A4 or Letter
        EXPECT_EQ(status(), "");
    }
}

}  // namespace
}  // namespace ritmova
