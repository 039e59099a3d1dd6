// Print and Printer Setup, with the print dialog scripted to print to a PDF file.
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

// Printer Setup, answered by choosing PDF output to `path`.
void choosePdfPrinter(Form1& form, const QString& path) {
    form.controls().CommonDialog2->setPrinterAnswer([path](QPrintDialog& dialog) {
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(path);
        return true;
    });
    form.FileMnuItem_Click(4);
}

TEST_F(WindowPrint, PrintsTheWindowImageOnOnePdfPage) {
    open(test::ExampleRecording);
    const QString pdf = inFolder("window.pdf");
    choosePdfPrinter(form, pdf);
    form.FileMnuItem_Click(3);
    const QByteArray bytes = readFile(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(pageCount(bytes), 1);
    EXPECT_TRUE(bytes.contains("/Subtype /Image"));
    EXPECT_EQ(status(), "");
}

TEST_F(WindowPrint, PanelPrintsTheMarkovTextWithTheSamePrinter) {
    open(test::ExampleRecording);
    form.AnalysisMenuItem_Click(0);
    const QString pdf = inFolder("markov.pdf");
    choosePdfPrinter(form, pdf);
    form.controls().Command1->click();
    const QByteArray bytes = readFile(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(pageCount(bytes), 1);
}

}  // namespace
}  // namespace ritmova
