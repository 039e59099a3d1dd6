// What the window tells the user beyond its results: its size, the beat entry's range, what it
// wrote and where, what its images and prints show, and the trend window's keys and counts.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include <QtCore/qtestsupport_core.h>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>

#include "ui/common_dialog.h"
#include "ui/main_window.h"
#include "ui/picture_box.h"
#include "ui/trend_window.h"
#include "ui/window_export.h"
#include "ui/window_notes.h"
#include "ui/window_printing.h"

namespace ritmova {
namespace {

const QString Example = RITMOVA_EXAMPLES_DIR "/nsr2db-nsr012.int";

class Notes : public testing::Test {
  protected:
    void open(const QString& path) {
        form.controls().openDialog->chooseNext(path);
        form.menus().open->trigger();
    }
    // The next export or save dialog picks `name` in the folder; `title` and `offered` keep
    // what it showed.
    void answerWith(QtCommonDialog& dialog, const QString& name) {
        dialog.setFileAnswer([this, name](QFileDialog& shown) -> std::optional<QString> {
            title = shown.windowTitle();
            offered = shown.selectedFiles().value(0);
            return folder.filePath(name);
        });
    }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray readFile(const QString& name) {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString status() { return form.statusBar()->currentMessage(); }
    QString note() { return form.noteField()->text(); }

    QTemporaryDir folder;
    MainWindow form;
    QString title, offered;
};

// Made as small as it goes, the window still shows as much of every plot, of the summary and of
// Save results as it did at its own size (the plots reach under its frame by design).
TEST_F(Notes, TheWindowKeepsTheRoomOfItsLayout) {
    const MainWindowControls& c = form.controls();
    const auto shown = [&] {
        QList<QRect> parts;
        for (const QWidget* control :
             std::initializer_list<const QWidget*>{c.tachogramPlot, c.spectrumPlot, c.poincarePlot,
                                                   c.summaryLabel, c.saveResultsButton}) {
            parts << form.centralWidget()->rect().intersected(control->geometry());
        }
        return parts;
    };
    form.show();
    QApplication::processEvents();
    const QList<QRect> atLoad = shown();
    form.showNormal();
    form.resize(200, 150);
    QApplication::processEvents();
    EXPECT_EQ(shown(), atLoad);
}

// A key that the spin box would drop, or an Enter on what it cannot take, is refused with the
// range in the label; the beat entered stays what was typed before it.
TEST_F(Notes, GoToBeatRefusesAnEntryOutOfRangeAloud) {
    open(Example);
    const QString refusal = "is not taken: enter a beat from 1 to 1745";
    const struct {
        QString keys;  // '\r' is Enter
        QString refused;
        int value;
    } cases[] = {{"5000", "'5000'", 500},
                 {"-5", "'-'", 5},
                 {"0\r", "'0'", 1},
                 {"1745\r", "", 1745},
                 {"12", "", 12}};
    for (const auto& [keys, refused, value] : cases) {
        SCOPED_TRACE(keys.toStdString());
        QString label;
        int entered = 0;
        form.setBeatAnswer([&](QInputDialog& dialog) {
            dialog.show();  // the keys go where the focus is, as a user's do
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget(); }, 5'000));
            QWidget* focus = QApplication::focusWidget();
            dialog.findChild<QSpinBox*>()->selectAll();
            for (const QChar key : keys) {
                const bool enter = key == '\r';
                QKeyEvent press(QEvent::KeyPress, enter ? int{Qt::Key_Return} : key.unicode(),
                                Qt::NoModifier, enter ? QString() : QString(key));
                QApplication::sendEvent(focus, &press);
            }
            label = dialog.labelText();
            entered = dialog.intValue();
            return false;
        });
        form.menus().goToBeat->trigger();
        EXPECT_EQ(label.section('\n', 1), refused.isEmpty() ? "" : refused + " " + refusal);
        EXPECT_EQ(entered, value);
    }
}

// Export offers the recording's name under its own title; it and Save results say where they
// wrote in the status bar, until the next command. A new recording is offered its own name.
TEST_F(Notes, ExportAndSaveOfferANameAndSayWhereTheyWrote) {
    ASSERT_TRUE(QFile::copy(Example, folder.filePath("rec.int")));
    open(folder.filePath("rec.int"));
    answerWith(*form.controls().exportDialog, "first.png");
    form.menus().exportImage->trigger();
    EXPECT_EQ(QStringList({title, offered}),
              QStringList({"Export image", folder.filePath("rec.png")}));
    EXPECT_EQ(note(), "Image exported to " + folder.filePath("first.png"));
    form.menus().exportImage->trigger();  // the name chosen is offered again
    EXPECT_EQ(offered, folder.filePath("first.png"));
    answerWith(*form.controls().saveDialog, "results.txt");
    form.controls().saveResultsButton->click();
    EXPECT_EQ(note(), "Results saved to " + folder.filePath("results.txt"));
    form.menus().next->trigger();
    EXPECT_EQ(note(), "");
    answerWith(*form.controls().exportDialog, "missing/x.png");
    form.menus().exportImage->trigger();
    EXPECT_TRUE(note().isEmpty() && status().startsWith("x.png: could not be written"));
    open(Example);
    form.menus().exportImage->trigger();
    EXPECT_EQ(offered, QFileInfo(Example).dir().filePath("nsr2db-nsr012.png"));
}

// After a failure, the next command that completes takes its reason away.
TEST_F(Notes, TheNextCompletedCommandClearsAFailure) {
    writeFile("short.int", "0.8\n0.9\n1.0\n");
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"open", [&] { open(Example); }},
        {"next", [&] { form.menus().next->trigger(); }},
        {"markov", [&] { form.menus().markov->trigger(); }},
        {"go to", [&] { form.goToBeat(700); }},
        {"milliseconds", [&] { form.menus().milliseconds->trigger(); }}};
    open(Example);
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        open(folder.filePath("short.int"));
        ASSERT_EQ(status(), "short.int: only 3 values, 256 needed");
        command();
        EXPECT_FALSE(status().startsWith("short.int"));
    }
    form.menus().milliseconds->trigger();  // back to seconds, kept for the other tests
}

// The exported SVG names the file and the beats under the window and sets the summary in a
// fixed-width face, with a generic one after it; the PNG is the window with that line under it.
TEST_F(Notes, AnExportNamesTheFileAndTheBeats) {
    open(Example);
    form.goToBeat(1025);
    form.show();
    for (const QString name : {"w.svg", "w.png"}) {
        answerWith(*form.controls().exportDialog, name);
        form.menus().exportImage->trigger();
    }
    const QByteArray svg = readFile("w.svg");
    EXPECT_TRUE(svg.contains("nsr2db-nsr012.int \u00b7 beats 1025-1280 of 2000")) << svg.size();
    EXPECT_TRUE(svg.contains(", monospace\""));
    const QSize client = form.centralWidget()->size();
    const QImage png(folder.filePath("w.png"));
    EXPECT_EQ(png.width(), client.width());
    EXPECT_GT(png.height(), client.height());
}

// A line beside a recording keeps the drawing whole, above or below it; no line, no change.
TEST(WindowLine, SitsBesideTheDrawing) {
    QLabel client;
    client.setAutoFillBackground(true);
    client.setPalette(QPalette(Qt::red));
    client.resize(300, 100);
    const WindowRecording bare = RecordWindow(client);
    const struct {
        QString line;
        Qt::Alignment side;
        bool drawnLower;  // the drawing starts below the line
    } cases[] = {{"", Qt::AlignTop, false},
                 {"rec.int", Qt::AlignTop, true},
                 {"rec.int", Qt::AlignBottom, false}};
    for (const auto& [line, side, drawnLower] : cases) {
        const WindowRecording lined = WithLine(bare, line, client.font(), side);
        QImage image(lined.size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawRecording(lined, painter, QRectF(image.rect()));
        painter.end();
        const int band = lined.size.height() - 100;
        EXPECT_EQ(band > 0, !line.isEmpty());
        EXPECT_EQ(lined.size.width(), 300);
        const int top = drawnLower ? band : 0;
        EXPECT_EQ(image.pixelColor(150, top), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(150, top + 99), QColor(Qt::red));
        if (band > 0) {
            EXPECT_NE(image.pixelColor(150, drawnLower ? 0 : 100), QColor(Qt::red));
        }
    }
}

// Fixed-width families get the generic fallback, quoted; other families stay as they are.
TEST(SvgFonts, FixedWidthFamiliesGetAGenericFallback) {
    const struct {
        QByteArray svg;
        QStringList fixed;
        QByteArray expected;
    } cases[] = {{R"(<text font-family="Courier New">)",
                  {"Courier New"},
                  R"(<text font-family="'Courier New', monospace">)"},
                 {R"(<g font-family="DejaVu Sans"><g font-family="Mono">)",
                  {"Mono"},
                  R"(<g font-family="DejaVu Sans"><g font-family="'Mono', monospace">)"},
                 {R"(<g font-family="O'Mono &amp; Co">)",
                  {"O'Mono & Co"},
                  R"(<g font-family="'O\'Mono &amp; Co', monospace">)"}};
    for (const auto& [svg, fixed, expected] : cases) {
        EXPECT_EQ(WithMonospaceFallback(svg, fixed), expected);
    }
}

// The names offered and the lines shown, from the recording's path and the window's field.
TEST(WindowNotes, NamesAndLines) {
    EXPECT_EQ(ImageNameFor("/data/rec.int"), "/data/rec.png");
    EXPECT_EQ(ImageNameFor("-"), "");  // standard input
    EXPECT_EQ(SavedNote("/tmp/r\x1b.txt"), "Results saved to /tmp/r\\x1b.txt");
    const QDateTime when(QDate(2026, 12, 7), QTime(9, 5));
    EXPECT_EQ(PrintedLine("rec.int \u00b7 beats 1-256", when),
              "rec.int \u00b7 beats 1-256 \u00b7 printed 2026-12-07 09:05");
    EXPECT_EQ(PrintedLine("", when), "");
}

// The program's export writes its image and says nothing.
TEST(WindowProgram, AnExportThatWorksPrintsNothing) {
    QTemporaryDir folder;
    const QString err = folder.filePath("err"), image = folder.filePath("x.png");
    const QString command = QString(
                                "env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR='%1' %2 "
                                "'%3' --start 1025 --export '%4' 2>'%5'")
                                .arg(folder.path(), RITMOVA_WINDOW, Example, image, err);
    const int status = std::system(command.toLocal8Bit().constData());
    EXPECT_EQ(WEXITSTATUS(status), 0);
    QFile messages(err);
    ASSERT_TRUE(messages.open(QIODevice::ReadOnly));
    EXPECT_EQ(messages.readAll(), "");
    EXPECT_FALSE(QImage(image).isNull());
}

// Escape closes the trend window; one window is counted as one.
TEST_F(Notes, TrendClosesOnEscapeAndCountsOneWindow) {
    QByteArray values;
    for (int i = 0; i < 256; ++i) values += i % 2 ? "0.8\n" : "0.9\n";
    writeFile("r256.int", values);
    open(folder.filePath("r256.int"));
    form.menus().trend->trigger();
    TrendWindow& trend = *form.trendWindow();
    ASSERT_TRUE(QTest::qWaitFor([&trend] { return !trend.computing(); }, 20'000));
    EXPECT_TRUE(trend.statusText().startsWith("r256.int: 1 window of 256 beats, every beat; "))
        << trend.statusText().toStdString();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&trend.stepChoice(), &escape);
    EXPECT_TRUE(trend.isHidden());
}

}  // namespace
}  // namespace ritmova
