// Export image, from the File menu and from the command line, and the drawing that print and
// export share.
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>

#include "ui/command_line_export.h"
#include "ui/window_printing.h"
#include "window_fixture.h"

namespace ritmova {
namespace {

using test::ExampleRecording;
using WindowExport = test::WindowTest;

struct ImageCase {
    const char* name;
    const char* header;       // the file's first bytes
    const char* drawingMark;  // text that only a drawing of the window holds
};

class ExportFormat : public WindowExport, public testing::WithParamInterface<ImageCase> {};

TEST_P(ExportFormat, WritesTheWindowAsShown) {
    open(ExampleRecording);
    const QString target = inFolder(GetParam().name);
    writeFile(target, "old");  // replaced whole
    answerWith(*form.controls().ExportDialog, target);
    form.FileMnuItem_Click(Form1::ExportItem);
    EXPECT_EQ(lastFilters,
              (QStringList{"PNG Image (*.png)", "SVG Drawing (*.svg)", "PDF Document (*.pdf)"}));
    EXPECT_EQ(status(), "");
    const QByteArray bytes = readFile(target);
    EXPECT_TRUE(bytes.startsWith(GetParam().header));
    EXPECT_TRUE(bytes.contains(GetParam().drawingMark));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{GetParam().name});
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportFormat,
                         testing::Values(ImageCase{"window.png", "\x89PNG\r\n", "IDAT"},
                                         ImageCase{"window.svg", "<?xml",
                                                   "<polyline"},  // lines stay vectors
                                         ImageCase{"window.pdf", "%PDF-", "/MediaBox"}),
                         [](const auto& test) { return std::string(test.param.name).substr(7); });

// A PNG pixel for a pixel of the window; a PDF page of its size at 96 pixels to the inch.
TEST_F(WindowExport, ImagesHaveTheClientAreaSize) {
    open(ExampleRecording);
    for (const QString name : {"window.png", "window.pdf"}) {
        answerWith(*form.controls().ExportDialog, inFolder(name));
        form.FileMnuItem_Click(Form1::ExportItem);
    }
    const QSize client = form.centralWidget()->size();
    EXPECT_EQ(QImage(inFolder("window.png")).size(), client);
    const QString mediaBox = QString("/MediaBox [0 0 %1.000000 %2.000000]")
                                 .arg(client.width() * 3 / 4)
                                 .arg(client.height() * 3 / 4);
    EXPECT_TRUE(readFile(inFolder("window.pdf")).contains(mediaBox.toLatin1()));
}

// A failed export says why after the name and leaves what was there.
TEST_F(WindowExport, FailureLeavesTheExistingFile) {
    const QString existing = inFolder("notes.txt");
    writeFile(existing, "old");
    const std::vector<std::pair<QString, QString>> cases{
        {existing, "notes.txt: is not an image name: end it in .png, .svg or .pdf"},
        {inFolder("missing/w.png"), "w.png: could not be written: "}};
    for (const auto& [target, reason] : cases) {
        answerWith(*form.controls().ExportDialog, target);
        form.FileMnuItem_Click(Form1::ExportItem);
        EXPECT_TRUE(status().startsWith(reason)) << status().toStdString();
    }
    EXPECT_EQ(readFile(existing), "old");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"notes.txt"});
}

TEST_F(WindowExport, CommandLineWritesWithoutAWindowOrSaysWhy) {
    const QString image = inFolder("w.png");
    EXPECT_EQ(RunCommandLineExport({"ritmova", ExampleRecording, "--export", image}), 0);
    EXPECT_FALSE(QImage(image).isNull());
    EXPECT_EQ(RunCommandLineExport({"ritmova", inFolder("none.int"), "--export", image}), 1);
    EXPECT_EQ(RunCommandLineExport({"ritmova", ExampleRecording, "--export"}), 2);
    EXPECT_EQ(RunCommandLineExport({"ritmova", ExampleRecording}), std::nullopt);
    // --start: the window from that beat; one short of 256 beats fails, no beat number is usage.
    const QString last = inFolder("last.png");
    const auto from = [&](const QString& beat) {
        return RunCommandLineExport(
            {"ritmova", "--start=" + beat, ExampleRecording, "--export", last});
    };
    EXPECT_EQ(from("1745"), 0);
    EXPECT_NE(QImage(last), QImage(image));
    EXPECT_EQ(from("1746"), 1);
    for (const QString bad : {"0", "+5", "x"}) EXPECT_EQ(from(bad), 2);
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
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixelColor(x, y) != Qt::red) drawn |= QRect(x, y, 1, 1);
        }
    }
    EXPECT_EQ(drawn, QRect(50, 175, 500, 250));
}

}  // namespace
}  // namespace ritmova
