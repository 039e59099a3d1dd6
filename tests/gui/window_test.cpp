// The main window: menus, load state, Open, Save results and the Markov panel.
#include <sys/stat.h>
#include <QApplication>
#include <QDropEvent>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "cli/recording_analysis.h"
#include "ui/picture_box.h"
#include "window_fixture.h"

namespace ritmova {
namespace {

using test::ExampleRecording;
using test::shown;
using Window = test::WindowTest;

// A separator shows as "-" when it is a plain line, without text of its own.
std::vector<std::pair<int, QString>> items(const std::map<std::int16_t, QAction*>& menu) {
    std::vector<std::pair<int, QString>> result;
    for (const auto& [index, action] : menu) {
        const bool line = action->isSeparator() && action->text().isEmpty();
        result.emplace_back(index, line ? "-" : action->text());
    }
    return result;
}

// Pixels of another colour than the top-left one, the background.
int inkedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != image.pixel(0, 0);
    }
    return count;
}

TEST_F(Window, MenusCarryTheirFixedIndices) {
    const Form1Menus& m = form.menus();
    EXPECT_EQ(m.FileMnu->title(), "&File");
    EXPECT_EQ(items(m.FileMnuItem), (std::vector<std::pair<int, QString>>{{0, "&Open"},
                                                                          {2, "-"},
                                                                          {3, "&Print"},
                                                                          {4, "Printer Set&up"},
                                                                          {5, "E&xport image..."},
                                                                          {99, "-"},
                                                                          {100, "&Exit"}}));
    EXPECT_EQ(m.AnalysisMenu->title(), "&Analysis");
    EXPECT_EQ(items(m.AnalysisMenuItem),
              (std::vector<std::pair<int, QString>>{{0, "&Markov"},
                                                    {1, "-"},
                                                    {2, "&Next 256 beats"},
                                                    {3, "&Previous 256 beats"},
                                                    {4, "&Go to beat..."},
                                                    {5, "-"},
                                                    {6, "&Trend"},
                                                    {7, "-"},
                                                    {8, "&Milliseconds"}}));
    EXPECT_EQ(m.MenuQM->title(), "?");
    EXPECT_EQ(items(m.MenuQMItem), (std::vector<std::pair<int, QString>>{{0, "About"}}));
}

TEST_F(Window, ShortcutsReachTheirCommands) {
    const Form1Menus& m = form.menus();
    const std::vector<std::pair<QKeySequence, QString>> expected{
        {m.FileMnuItem.at(0)->shortcut(), "Ctrl+O"},
        {form.controls().Command3->shortcut(), "Ctrl+S"},
        {m.FileMnuItem.at(3)->shortcut(), "Ctrl+P"},
        {m.FileMnuItem.at(100)->shortcut(), "Ctrl+Q"},
        {m.MenuQMItem.at(0)->shortcut(), "F1"},
        {m.AnalysisMenuItem.at(Form1::NextItem)->shortcut(), "PgDown"},
        {m.AnalysisMenuItem.at(Form1::PreviousItem)->shortcut(), "PgUp"},
        {m.AnalysisMenuItem.at(Form1::GoToItem)->shortcut(), "Ctrl+G"},
        {m.AnalysisMenuItem.at(Form1::TrendItem)->shortcut(), "Ctrl+T"}};
    for (const auto& [shortcut, key] : expected) EXPECT_EQ(shortcut.toString(), key);
}

TEST_F(Window, LoadsWithStartTextsAndStates) {
    const Form1Controls& c = form.controls();
    EXPECT_EQ(form.windowTitle(), "Ritmova");
    EXPECT_EQ(c.Label1[0]->text(), "2.0");
    EXPECT_EQ(c.Label1[1]->text(), "0");
    EXPECT_EQ(c.Label1[2]->text(), "0.1");
    EXPECT_EQ(c.Label1[3]->text(), "0");
    EXPECT_EQ(c.Label3->text(), "R-R\n(sec)");
    EXPECT_EQ(c.Label4->text(), "Power\n(sec\u00b2)");
    EXPECT_EQ(c.Label2->text(), "");
    EXPECT_TRUE(QFontInfo(c.Label2->font()).fixedPitch());
    EXPECT_EQ(c.Command3->text(), "Save results");
    EXPECT_FALSE(c.Command3->isEnabled());
    EXPECT_TRUE(c.Frame1->isHidden());
    EXPECT_EQ(c.Frame1->title(), "Markov analysis");
    EXPECT_EQ(c.Command1->text(), "Print");
    EXPECT_EQ(c.Command2->text(), "Exit");
    EXPECT_EQ(c.Label5->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_EQ(c.Picture1->grab().toImage().pixelColor(10, 10), QColor(255, 255, 192));
    EXPECT_EQ(c.Picture2->grab().toImage().pixelColor(10, 10), QColor(224, 224, 224));
    EXPECT_EQ(c.Picture3->grab().toImage().pixelColor(10, 10), QColor(192, 255, 192));
}

// The load's layout in whole pixels, on the window's outer size as the window reports it.
TEST_F(Window, PlacesControlsByTheLoadLayout) {
    const Form1Controls& c = form.controls();
    const QSize outer = form.frameGeometry().size();
    const QRect p1 = c.Picture1->geometry(), p2 = c.Picture2->geometry();
    const QRect p3 = c.Picture3->geometry();
    EXPECT_EQ(p1.topLeft(), QPoint(81, 0));  // 1215 twips at 15 to the pixel
    EXPECT_EQ(p1.right() + 1, outer.width());
    EXPECT_EQ(p1.height(), qRound(outer.height() / 3.5));
    EXPECT_EQ(p2.top(), p1.bottom() + 1);
    EXPECT_EQ(p3.left(), p2.right() + 1);
    EXPECT_EQ(p3.width(), p3.height());
    EXPECT_EQ(p3.right() + 1, outer.width());
    EXPECT_EQ(c.Label2->geometry().top(), p2.bottom() + 1);
    EXPECT_EQ(c.Command3->width(), 2 * c.Label1[0]->width());
    const QRect frame1 = c.Frame1->geometry();
    EXPECT_EQ(frame1, QRect(qRound(outer.width() * 0.1), qRound(outer.height() * 0.1),
                            qRound(outer.width() * 0.8), qRound(outer.height() * 0.7)));

    // Nothing is laid out again when the window changes size.
    form.showNormal();
    form.resize(outer / 2);
    QApplication::processEvents();
    EXPECT_EQ(c.Picture1->geometry(), p1);
    EXPECT_EQ(c.Picture3->geometry(), p3);
    EXPECT_EQ(c.Frame1->geometry(), frame1);
}

TEST_F(Window, OpenShowsTheSummaryAndEnablesSaveResults) {
    const cli::RecordingAnalysis expected = cli::AnalyseRecording(ExampleRecording.toStdString());
    ASSERT_FALSE(expected.error);
    open(ExampleRecording);

    const Form1Controls& c = form.controls();
    EXPECT_EQ(lastFilters, (QStringList{"Interval Files (*.int)", "All Files (*)"}));
    EXPECT_EQ(lastSelectedFilter, "Interval Files (*.int)");
    EXPECT_EQ(c.Label2->text(), shown(expected.summary));
    EXPECT_TRUE(c.Label2->text().startsWith("Mean R-R value (sec) = ."));
    EXPECT_EQ(c.Label2->text().count('\n'), 12);
    EXPECT_NE(c.Label1[2]->text(), "0.1");
    EXPECT_TRUE(c.Command3->isEnabled());
    EXPECT_EQ(status(), "");
    EXPECT_GT(inkedPixels(c.Picture1->drawing()), 1000);
    EXPECT_GT(inkedPixels(c.Picture2->drawing()), 1000);
    EXPECT_GT(inkedPixels(c.Picture3->drawing()), 100);
}

TEST_F(Window, CancelledOpenChangesNothingAndIsNoFailure) {
    open("");
    EXPECT_EQ(form.controls().Label2->text(), "");
    EXPECT_FALSE(form.controls().Command3->isEnabled());
    EXPECT_EQ(status(), "");
}

TEST_F(Window, FailedOpenKeepsTextsPlotsAndSaveResults) {
    open(ExampleRecording);
    const Form1Controls& c = form.controls();
    const QString summary = c.Label2->text(), maximum = c.Label1[2]->text();
    const QImage tachogram = c.Picture1->drawing(), spectrum = c.Picture2->drawing();
    const QImage poincare = c.Picture3->drawing();
    const std::string report = form.analysisState().ReportText;

    const QString shortFile = inFolder("short.int");
    writeFile(shortFile, "0.8\n0.9\n1.0\n");
    open(shortFile);

    EXPECT_TRUE(status().startsWith("short.int: ")) << status().toStdString();
    EXPECT_EQ(c.Label2->text(), summary);
    EXPECT_EQ(c.Label1[2]->text(), maximum);
    EXPECT_EQ(c.Picture1->drawing(), tachogram);
    EXPECT_EQ(c.Picture2->drawing(), spectrum);
    EXPECT_EQ(c.Picture3->drawing(), poincare);
    EXPECT_EQ(form.analysisState().ReportText, report);
    EXPECT_TRUE(c.Command3->isEnabled());

    open(ExampleRecording);  // a later Open works and clears the failure
    EXPECT_EQ(status(), "");
    EXPECT_EQ(c.Label2->text(), summary);
}

TEST_F(Window, OpenDialogOffersThePreviousNameAndADroppedFileOpens) {
    open(ExampleRecording);
    QStringList offered;
    form.controls().CommonDialog1->setFileAnswer(
        [&](QFileDialog& dialog) -> std::optional<QString> {
            offered = dialog.selectedFiles();
            return std::nullopt;
        });
    form.FileMnuItem_Click(0);
    EXPECT_EQ(offered, QStringList{ExampleRecording});

    Form1 other;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(ExampleRecording)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&other, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&other, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(other.statusBar()->currentMessage(), "");
    EXPECT_EQ(other.controls().Label2->text(), form.controls().Label2->text());
    EXPECT_EQ(other.controls().CommonDialog1->fileName(), ExampleRecording.toStdString());
}

TEST_F(Window, SaveResultsReplacesAFileWithExactlyTheReport) {
    open(ExampleRecording);
    const QString target = inFolder("results.txt");
    writeFile(target, QByteArray(5000, 'x'));
    answerSaveWith(target);
    form.Command3_Click();
    EXPECT_EQ(lastFilters, (QStringList{"Txt Files (*.txt)", "All Files (*)"}));
    EXPECT_EQ(lastSelectedFilter, "Txt Files (*.txt)");
    const QByteArray expected = QByteArray::fromStdString(form.analysisState().ReportText + "\r\n");
    EXPECT_EQ(readFile(target), expected);
    EXPECT_TRUE(expected.startsWith(ExampleRecording.toUtf8() + "\r\nMean R-R value (sec):\t."));
    EXPECT_TRUE(expected.endsWith("\r\n\r\n"));
    EXPECT_EQ(expected.count("\r\n"), 17);

    form.Command3_Click();  // saving again replaces, never appends
    EXPECT_EQ(readFile(target), expected);
    EXPECT_EQ(status(), "");
}

TEST_F(Window, CancelledSaveWritesNothing) {
    open(ExampleRecording);
    const QString target = inFolder("results.txt");
    writeFile(target, "old");
    answerSaveWith("");
    form.Command3_Click();
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(status(), "");
}

// A target that cannot be replaced: a folder of that name, with a file in it.
TEST_F(Window, SaveToUnwritableTargetFailsAndLeavesItIntact) {
    open(ExampleRecording);
    const QString target = inFolder("results.txt");
    ASSERT_TRUE(QDir(folder.path()).mkdir("results.txt"));
    writeFile(target + "/kept.txt", "old");
    answerSaveWith(target);
    form.Command3_Click();
    EXPECT_FALSE(status().isEmpty());
    EXPECT_EQ(readFile(target + "/kept.txt"), "old");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"results.txt"});
}

TEST_F(Window, MarkovShowsThePanelAndTheFileMenuHidesIt) {
    const cli::RecordingAnalysis expected = cli::AnalyseRecording(ExampleRecording.toStdString());
    ASSERT_TRUE(expected.markovCompleted);
    open(ExampleRecording);
    const Form1Controls& c = form.controls();

    form.AnalysisMenuItem_Click(0);
    EXPECT_FALSE(c.Frame1->isHidden());
    EXPECT_EQ(c.Label5->text(), shown(expected.markovText));
    emit form.menus().FileMnu->aboutToShow();
    EXPECT_TRUE(c.Frame1->isHidden());
    EXPECT_EQ(c.Label5->text(), shown(expected.markovText));

    form.AnalysisMenuItem_Click(0);  // again: the same text, not twice
    EXPECT_EQ(c.Label5->text(), shown(expected.markovText));
    c.Command2->click();
    EXPECT_TRUE(c.Frame1->isHidden());
}

TEST_F(Window, MarkovBeforeAnyOpenFailsWithThePanelHidden) {
    form.AnalysisMenuItem_Click(0);
    EXPECT_TRUE(form.controls().Frame1->isHidden());
    EXPECT_EQ(status(), "no recording is open");

    const QString shortFile = inFolder("short.int");  // an Open that read nothing opens nothing
    writeFile(shortFile, "0.8\n");
    open(shortFile);
    form.AnalysisMenuItem_Click(0);
    EXPECT_EQ(status(), "no recording is open");
}

// Anything but a regular file is refused before it is opened, so a FIFO cannot block the
// window; the name is shown safely.
TEST_F(Window, FoldersAndFifosAreRefusedWithTheirReason) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("rec\x1b.int"));
    const QString fifo = inFolder("pipe.int");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::vector<std::pair<QString, QString>> cases{
        {inFolder("rec\x1b.int"), "rec\\x1b.int: is a folder"},
        {fifo, "pipe.int: is not a regular file"}};
    for (const auto& [path, reason] : cases) {
        open(path);
        EXPECT_EQ(status(), reason);
        EXPECT_FALSE(form.openFile(path));  // given on the command line or dropped
        EXPECT_EQ(status(), reason);
    }
    EXPECT_FALSE(form.controls().Command3->isEnabled());
}

// Next, Previous and Go to move through the recording; Milliseconds reads it again, and is kept.
TEST_F(Window, BeatWindowsAndMillisecondsShowInTheSummaryAndTheStatusField) {
    const auto run = [this](std::int16_t item) {
        form.menus().AnalysisMenuItem.at(item)->trigger();
    };
    const auto line1 = [this] { return form.controls().Label2->text().section('\n', 0, 0); };
    const auto field = [this] { return form.windowField()->text(); };
    EXPECT_EQ(field(), "");
    open(ExampleRecording);
    run(Form1::NextItem);
    EXPECT_TRUE(line1().endsWith(ExampleRecording + " (beats 257-512)"));
    EXPECT_TRUE(
        field().startsWith("nsr2db-nsr012.int \u00b7 beats 257-512 of 2000 \u00b7 s \u00b7 "));
    std::pair<int, int> range;
    form.setBeatAnswer([&range](QInputDialog& dialog) {
        range = {dialog.intMinimum(), dialog.intMaximum()};
        dialog.setIntValue(1745);
        return true;
    });
    run(Form1::GoToItem);
    EXPECT_EQ(range, std::make_pair(1, 1745));
    const QString end = "the last beats are shown: the recording has 2000 beats";
    EXPECT_EQ(status(), end);
    run(Form1::NextItem);
    EXPECT_EQ(status(), "nsr2db-nsr012.int: " + end);
    run(Form1::PreviousItem);
    EXPECT_TRUE(line1().endsWith(" (beats 1489-1744)"));
    EXPECT_EQ(status(), "");

    writeFile(inFolder("ms.int"), QByteArray("800 850 ").repeated(150));
    open(inFolder("ms.int"));
    EXPECT_TRUE(status().startsWith("values look like milliseconds: "));
    const auto kept = [] {
        return Form1().menus().AnalysisMenuItem.at(Form1::MillisecondsItem)->isChecked();
    };
    run(Form1::MillisecondsItem);
    EXPECT_TRUE(kept());
    EXPECT_EQ(field(), "ms.int \u00b7 beats 1-256 of 300 \u00b7 ms \u00b7 0 artifacts");
    EXPECT_TRUE(line1().startsWith("Mean R-R value (sec) = .825 "));
    run(Form1::MillisecondsItem);
    EXPECT_FALSE(kept());
}

}  // namespace
}  // namespace ritmova
