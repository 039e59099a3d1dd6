// The HRV report: its text as pdftotext reads it against `ritmova-cli hrv` with the same
// settings, `ritmova FILE --report OUT` and File → Save HRV report.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <charconv>
#include <cstdio>

#include "report/analysis_options.h"
#include "standard/measure_rows.h"
#include "ui/hrv_report.h"
#include "ui/main_window.h"
#include "ui/window_command_line.h"

namespace ritmova {
namespace {

const std::string Recording24 = RITMOVA_REAL_DATA_DIR "/nsr2db-nsr024.int";

// A shell command's exit status and what it wrote to stdout and stderr.
struct Outcome {
    int status;
    std::string out, err;
};

std::string readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

Outcome run(const QTemporaryDir& folder, const std::string& command) {
    const QString out = folder.filePath("stdout"), err = folder.filePath("stderr");
    const int status = std::system(
        (command + " </dev/null >" + out.toStdString() + " 2>" + err.toStdString()).c_str());
    return {WEXITSTATUS(status), readAll(out), readAll(err)};
}

std::string pdfText(const QTemporaryDir& folder, const QString& pdf) {
    return run(folder, "pdftotext -layout '" + pdf.toStdString() + "' -").out;
}

// The number the console tool gives for `key`, if not null.
std::optional<double> jsonNumber(const std::string& json, std::string_view key) {
    const std::string name = "\"" + std::string(key) + "\":";
    const std::size_t at = json.find(name);
    if (at == std::string::npos) return std::nullopt;
    const char* begin = json.data() + at + name.size();
    double value = 0;
    const auto result = std::from_chars(begin, json.data() + json.size(), value);
    if (result.ec != std::errc()) return std::nullopt;
    return value;
}

// Every measure of `ritmova-cli hrv` with the same settings stands in the report as the
// console's number at the row's decimals, with its unit; the date and time are the ones given.
TEST(HrvReport, TextHoldsEveryNumberOfTheConsoleTool) {
    QTemporaryDir folder;
    const std::string options = "--from 120 --to 1500 --correct threshold:medium";
    const Outcome cli =
        run(folder, std::string(RITMOVA_CLI) + " hrv " + options + " " + Recording24);
    ASSERT_EQ(cli.status, 0) << cli.err;
    ReadOptions read;
    read.exact = true;
    const Recording recording = ReadRecording(Recording24, read);
    ReportInput input{Recording24, Recording24, &recording, {}};
    input.settings.stretch.fromS = 120;
    input.settings.stretch.toS = 1500;
    ParseCorrection("threshold:medium", &input.settings.analysis.correction);
    const QDateTime when(QDate(2024, 2, 29), QTime(13, 45, 7), Qt::UTC);
    const QByteArray pdf = RenderHrvReportPdf(input, when, QPageSize(QPageSize::A4));
    const QString path = folder.filePath("r.pdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size());
    file.close();
    const std::string text = pdfText(folder, path);
    EXPECT_NE(text.find("2024-02-29 13:45:07"), std::string::npos) << text;
    EXPECT_NE(text.find("threshold:medium"), std::string::npos);
    std::size_t numbers = 0;
    for (const standard::StandardMeasureRow& row : standard::StandardMeasureTable()) {
        const std::optional<double> value = jsonNumber(cli.out, row.key);
        if (!value) continue;
        char shown[64];
        std::snprintf(shown, sizeof shown, "%.*f", row.decimals, *value);
        const std::string expected = row.unit.empty()
                                         ? std::string(" ") + shown + "\n"
                                         : " " + std::string(shown) + " " + std::string(row.unit);
        const bool found = text.find(expected) != std::string::npos ||
                           text.find(" " + std::string(shown) + "  ") != std::string::npos;
        EXPECT_TRUE(found) << row.key << ": " << shown;
        ++numbers;
    }
    EXPECT_GT(numbers, 60u);
}

// ritmova FILE --report OUT: 0 and a report; 1 and the reason for a recording that cannot be
// read or an OUT that cannot be written, an existing OUT left as it was; 2 for usage.
TEST(HrvReport, CommandLineWritesOrSaysWhyAndLeavesOutAsItWas) {
    QTemporaryDir folder;
    const std::string window = RITMOVA_WINDOW;
    const QString out = folder.filePath("out.pdf");
    const std::string outPath = out.toStdString();
    const Outcome written = run(
        folder, window + " " + Recording24 + " --report " + outPath + " --correct auto --units s");
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_NE(pdfText(folder, out).find("SDNN"), std::string::npos);
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    const struct {
        std::string arguments;
        int status;
        std::string reason;
    } failures[] = {
        {folder.filePath("none.int").toStdString() + " --report " + outPath, 1, "none.int: "},
        {Recording24 + " --report " + outPath + " --units ms --from 100000", 1, "nsr024.int: "},
        {Recording24 + " --report " + outPath + " --correct threshold:huge", 2, "--correct"},
        {Recording24 + " --from 5", 2, "Usage: ritmova FILE --report"},
        {Recording24 + " --report " + outPath + " --export x.png", 2, "Usage"},
        {Recording24 + " --report " + outPath + " --column 0", 2, "--column '0'"}};
    for (const auto& f : failures) {
        const Outcome failed = run(folder, window + " " + f.arguments);
        EXPECT_EQ(failed.status, f.status) << f.arguments << "\n" << failed.err;
        EXPECT_NE(failed.err.find(f.reason), std::string::npos) << failed.err;
        EXPECT_EQ(readAll(out), "old");
    }
    const Outcome unwritable = run(folder, window + " " + Recording24 + " --report " +
                                               folder.filePath("no/such/r.pdf").toStdString());
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
}

// The report's options parsed as the console tool reads them; without --report they are a
// usage error, and so are values it would refuse.
TEST(HrvReport, CommandLineTakesTheConsoleToolsOptions) {
    const WindowCommandLine line = ParseWindowCommandLine(
        {"f.txt", "--report", "o.pdf", "--from", "60", "--to=90.5", "--correct", "auto", "--units",
         "auto", "--skip-lines", "2", "--column", "3"});
    ASSERT_EQ(line.request, WindowRequest::Report) << line.message;
    EXPECT_EQ(line.file.value_or(""), "f.txt");
    EXPECT_EQ(line.report, "o.pdf");
    EXPECT_EQ(line.hrv.stretch.fromS, 60);
    EXPECT_EQ(line.hrv.stretch.toS, 90.5);
    EXPECT_EQ(line.hrv.analysis.correction.method, standard::CorrectionMethod::Automatic);
    EXPECT_EQ(line.read.units, UnitsChoice::Auto);
    EXPECT_EQ(line.read.skipLines, 2u);
    EXPECT_EQ(line.read.column, 3u);
    EXPECT_TRUE(line.read.exact);
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"f", "--report", "o.pdf", "--from", "9", "--to", "9"},
         "ritmova: --to must be above --from\n"},
        {{"f", "--report", "o.pdf", "--units", "h"}, "ritmova: --units 'h': give s, ms or auto\n"},
        {{"f", "--report", "o.pdf", "--report", "p.pdf"},
         "ritmova: --report is given more than once\n"},
        {{"f", "--report", "o.pdf", "--start", "3"}, "Usage: ritmova FILE --report OUT.pdf"},
        {{"--report", "o.pdf"}, "Usage: ritmova FILE --report OUT.pdf"},
        {{"f", "--skip-lines", "1"}, "Usage: ritmova FILE --report OUT.pdf"}};
    for (const auto& [arguments, message] : refused) {
        const WindowCommandLine bad = ParseWindowCommandLine(arguments);
        EXPECT_EQ(bad.request, WindowRequest::UsageError);
        EXPECT_TRUE(bad.message.starts_with(message)) << bad.message;
    }
}

// File → Save HRV report writes the open recording's report and says so; before any Open it
// says why not and writes nothing.
TEST(HrvReport, MenuItemSavesTheOpenRecordingsReport) {
    QTemporaryDir folder;
    MainWindow form;
    const QString pdf = folder.filePath("r.pdf");
    form.reportDialog().setFileAnswer([&pdf](QFileDialog&) { return std::optional(pdf); });
    form.menus().saveHrvReport->trigger();
    EXPECT_TRUE(form.statusBar()->currentMessage().contains("no recording is open"));
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_TRUE(form.openNativeFile(Recording24));
    form.menus().saveHrvReport->trigger();
    EXPECT_EQ(form.statusBar()->currentMessage(), "HRV report saved: r.pdf");
    EXPECT_EQ(readAll(pdf).substr(0, 5), "%PDF-");
    EXPECT_EQ(form.menus().file->actions().indexOf(form.menus().saveHrvReport),
              form.menus().file->actions().indexOf(form.menus().exit) + 1);
}

}  // namespace
}  // namespace ritmova
