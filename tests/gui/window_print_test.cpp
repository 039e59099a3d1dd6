// Print and Printer Setup, with the print dialog scripted to print to a PDF file.
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>

#include "window_fixture.h"

namespace ritmova {
namespace {

using test::ExampleRecording;
using WindowPrint = test::WindowTest;

qsizetype pageCount(const QByteArray& pdf) {
    return pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page>") +
           pdf.count("/Type /Page/");
}

// The page's width and height in points.
QSizeF mediaBox(const QByteArray& pdf) {
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])").match(QString(pdf));
    return {box.captured(1).toDouble(), box.captured(2).toDouble()};
}

// Printer Setup, answered by choosing PDF output to `path`; it only sets the printer up.
void choosePdfPrinter(Form1& form, const QString& path) {
    QString title, accept;
    form.controls().CommonDialog2->setPrinterAnswer([&](QPrintDialog& dialog) {
        title = dialog.windowTitle();
        accept = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text();
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(path);
        return true;
    });
    form.FileMnuItem_Click(4);
    EXPECT_EQ(title, "Printer Setup");
    EXPECT_EQ(accept, "OK");
    EXPECT_FALSE(QFile::exists(path));
}

// The wide window goes on one landscape page.
TEST_F(WindowPrint, PrintsTheWindowOnOneLandscapePdfPage) {
    open(test::ExampleRecording);
    ASSERT_GT(form.centralWidget()->width(), form.centralWidget()->height());
    const QString pdf = inFolder("window.pdf");
    choosePdfPrinter(form, pdf);
    form.FileMnuItem_Click(3);
    const QByteArray bytes = readFile(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(pageCount(bytes), 1);
    const QSizeF page = mediaBox(bytes);
    EXPECT_GT(page.width(), page.height());
    EXPECT_GT(page.height(), 500);  // A4 or Letter
    EXPECT_EQ(status(), "");
}

// The window's landscape page is its own: the panel's text keeps the printer's portrait page.
TEST_F(WindowPrint, PanelPrintsTheMarkovTextWithTheSamePrinter) {
    open(test::ExampleRecording);
    form.AnalysisMenuItem_Click(0);
    const QString pdf = inFolder("markov.pdf");
    choosePdfPrinter(form, pdf);
    form.FileMnuItem_Click(3);
    form.controls().Command1->click();
    const QByteArray bytes = readFile(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(pageCount(bytes), 1);
    EXPECT_LT(mediaBox(bytes).width(), mediaBox(bytes).height());
}

}  // namespace
}  // namespace ritmova
