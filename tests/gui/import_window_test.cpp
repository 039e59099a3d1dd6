// The window's Open of what the console tool reads: the import step of files with a header or
// columns, the one-click units, a bad line deep in a file, and File's recent files.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>

#include "cli/recording_analysis.h"
#include "ui/import_dialog.h"
#include "ui/main_window.h"

namespace ritmova {
namespace {

const QString Example = RITMOVA_EXAMPLES_DIR "/nsr2db-nsr012.int";

// Settings as a new user has them, before the window reads them.
struct FreshSettings {
    FreshSettings() { QSettings("ritmova", "ritmova").clear(); }
};

class ImportWindow : public testing::Test {
  protected:
    void open(const QString& path) {
        form.controls().openDialog->setFileAnswer(
            [path](QFileDialog&) -> std::optional<QString> { return path; });
        form.menus().open->trigger();
    }
    // Writes `text` as `name` in the test's folder; returns its path.
    QString write(const QString& name, const QByteArray& text) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        return file.fileName();
    }
    // The example's lines, with `line` (1-based) replaced by `replacement`.
    static QByteArrayList exampleLines() {
        QFile file(Example);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArrayList lines = file.readAll().split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }
    // The example as time and R-R columns (ms) under `header`.
    static QByteArray columnFile(const QByteArray& header, char separator = ',') {
        QByteArray text = header + "\n";
        double time = 0;
        for (const QByteArray& line : exampleLines()) {
            text += QByteArray::number(time, 'f', 3) + separator +
                    QByteArray::number(qRound(line.toDouble() * 1000)) + "\n";
            time += line.toDouble();
        }
        return text;
    }
    QString status() { return form.statusBar()->currentMessage(); }
    QString field() { return form.windowField()->text(); }

    FreshSettings fresh;
    QTemporaryDir folder;
    MainWindow form;
    int asked = 0;
};

// The step opens on the guess, shows the first lines and the values, and reads as chosen; the
// choice is kept for files of the same shape, not for others.
TEST_F(ImportWindow, ColumnFilesOpenThroughTheImportStep) {
    const QString csv = write("twocol.csv", columnFile("time,rr"));
    ImportChoice start;
    QString lines, values, title;
    form.setImportAnswer([&](ImportDialog& dialog) {
        ++asked;
        start = dialog.choice();
        std::tie(lines, values, title) =
            std::make_tuple(dialog.firstLines(), dialog.values(), dialog.windowTitle());
        return true;
    });
    open(csv);
    EXPECT_EQ(start, (ImportChoice{1, 2, Units::Milliseconds}));
    EXPECT_EQ(title, "Import twocol.csv");
    EXPECT_TRUE(lines.startsWith("skip   1  time,rr\n       2  0.000,883\n"))
        << lines.toStdString();
    EXPECT_TRUE(values.startsWith("0.883, 0.891, 0.883, ")) << values.toStdString();
    cli::AnalysisOptions options;
    options.read = {UnitsChoice::Milliseconds, 1, 2};
    const auto console = cli::AnalyseRecording(csv.toStdString(), options);
    EXPECT_EQ(form.controls().summaryLabel->text(),
              QString::fromStdString(console.summary).replace("\r\n", "\n"));
    EXPECT_EQ(field(), "twocol.csv \u00b7 beats 1-256 of 2000 \u00b7 ms \u00b7 0 artifacts");

    // Chosen differently once: files of that shape start from that choice.
    form.setImportAnswer([&](ImportDialog& dialog) {
        ++asked;
        start = dialog.choice();
        dialog.setChoice({3, 2, Units::Milliseconds});
        return dialog.canOpen();
    });
    open(csv);
    EXPECT_EQ(start, (ImportChoice{1, 2, Units::Milliseconds}));
    open(write("other.csv", columnFile("time,rr")));
    EXPECT_EQ(start, (ImportChoice{3, 2, Units::Milliseconds}));
    EXPECT_TRUE(field().startsWith("other.csv \u00b7 beats 1-256 of 1998 \u00b7 ms"));
    open(write("semi.csv", columnFile("t;ibi", ';')));
    EXPECT_EQ(start, (ImportChoice{1, 2, Units::Milliseconds}));
    EXPECT_EQ(asked, 4);

    // Cancelled: nothing changes.
    const auto shown = [this] { return std::make_tuple(form.windowState(), field(), status()); };
    const auto before = shown();
    form.setImportAnswer([](ImportDialog&) { return false; });
    open(csv);
    EXPECT_TRUE(shown() == before);
}

// A window that is not on the screen (an export from the command line) asks nothing: the file
// fails as it did before there was an import step.
TEST_F(ImportWindow, AWindowNotShownAsksNothing) {
    EXPECT_FALSE(form.openFile(write("twocol.csv", columnFile("time,rr"))));
    EXPECT_EQ(status(), "twocol.csv: line 1: 'time' is not a number");
}

// Values that look like the other units are read so in one click, which the status bar's
// button offers without moving anything else; an imported file keeps its columns.
TEST_F(ImportWindow, OneClickReadsTheUnitsTheValuesLookLike) {
    QToolButton& button = *form.unitsButton();
    form.show();  // laid out as the user sees it
    QApplication::processEvents();
    const QRect client = form.centralWidget()->geometry();
    open(write("ms.int", QByteArray("800 850 ").repeated(150)));
    QApplication::processEvents();
    EXPECT_TRUE(status().startsWith("values look like milliseconds: "));
    EXPECT_TRUE(!button.isHidden() && button.text() == "Read as milliseconds");
    EXPECT_EQ(form.centralWidget()->geometry(), client);
    button.click();
    EXPECT_TRUE(form.menus().milliseconds->isChecked());
    EXPECT_TRUE(field().endsWith("of 300 \u00b7 ms \u00b7 0 artifacts"));
    EXPECT_TRUE(button.isHidden());

    open(Example);  // seconds, read as milliseconds
    EXPECT_TRUE(status().startsWith("values look like seconds: ")) << status().toStdString();
    EXPECT_EQ(button.text(), "Read as seconds");
    button.click();
    EXPECT_FALSE(form.menus().milliseconds->isChecked());
    EXPECT_EQ(status(), "");
    EXPECT_TRUE(button.isHidden());

    form.setImportAnswer([this](ImportDialog& dialog) {
        ++asked;
        dialog.setChoice({1, 2, Units::Seconds});
        return true;
    });
    open(write("twocol.csv", columnFile("time,rr")));
    EXPECT_EQ(button.text(), "Read as milliseconds");
    button.click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(field(), "twocol.csv \u00b7 beats 1-256 of 2000 \u00b7 ms \u00b7 0 artifacts");
    ImportChoice start;  // and files of its shape start from the units chosen so
    form.setImportAnswer([&start](ImportDialog& dialog) {
        start = dialog.choice();
        return false;
    });
    open(write("other.csv", columnFile("time,rr")));
    EXPECT_EQ(start, (ImportChoice{1, 2, Units::Milliseconds}));
}

// A bad value at line 1000 of a real recording: the 999 before it are the recording.
TEST_F(ImportWindow, ABadLineDeepInTheFileKeepsTheValuesBeforeIt) {
    QByteArrayList lines = exampleLines();
    lines[999] = "x";
    open(write("bad.int", lines.join('\n')));
    EXPECT_EQ(status(), "reading stopped at line 1000: 'x' is not a number");
    EXPECT_EQ(field(), "bad.int \u00b7 beats 1-256 of 999 \u00b7 s \u00b7 0 artifacts");
    EXPECT_TRUE(form.goToBeat(744));
    EXPECT_FALSE(form.goToBeat(745));
}

QStringList captions(const QList<QAction*>& items) {
    QStringList texts;
    for (const QAction* item : items) texts << item->text();
    return texts;
}

// Newest first after a separator at the end of File's menu, at most eight, names kept as their
// bytes; a file that is gone is taken off with a word why.
TEST_F(ImportWindow, RecentFilesReopenByTheirBytesAndForgetMissingOnes) {
    const QList<QAction*> fixed = form.menus().file->actions();
    EXPECT_TRUE(form.recentFileItems().isEmpty());
    open(Example);  // a window not on the screen (an export) keeps no list
    EXPECT_TRUE(form.recentFileItems().isEmpty());
    form.show();
    const QByteArray example = [] {
        QFile file(Example);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const std::string odd = QFile::encodeName(folder.path()).toStdString() + "/r\xe9&d.int";
    write("plain.int", example);
    ASSERT_EQ(std::rename(QFile::encodeName(folder.filePath("plain.int")).constData(), odd.c_str()),
              0);
    for (int i = 1; i <= 9; ++i) open(write(QString("%1.int").arg(i), example));
    ASSERT_TRUE(form.openNativeFile(odd));
    EXPECT_EQ(captions(form.recentFileItems()),
              QStringList({"&1 r\\xe9&&d.int", "&2 9.int", "&3 8.int", "&4 7.int", "&5 6.int",
                           "&6 5.int", "&7 4.int", "&8 3.int"}));
    EXPECT_EQ(form.menus().file->actions().mid(0, fixed.size()), fixed);
    EXPECT_TRUE(form.menus().file->actions()[fixed.size()]->isSeparator());

    MainWindow later;  // the list outlives the window
    later.show();
    later.recentFileItems()[0]->trigger();
    EXPECT_EQ(later.openedPath(), odd);
    std::remove(odd.c_str());
    later.recentFileItems()[0]->trigger();
    EXPECT_EQ(later.statusBar()->currentMessage(),
              "r\\xe9&d.int: no longer there: taken off the recent files");
    EXPECT_EQ(captions(later.recentFileItems()).first(), "&1 9.int");
    emit form.menus().file->aboutToShow();  // the other window shows the list as it is now
    EXPECT_EQ(captions(form.recentFileItems()).size(), 7);
}

}  // namespace
}  // namespace ritmova
