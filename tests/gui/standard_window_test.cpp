// Analysis → Standard analysis on a real recording: the values are the core's for the same
// stretch and correction, they follow the choices, and the window closes on Escape.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <fstream>
#include <span>
#include <string>

#include "ecg/ecg_record.h"
#include "report/standard_rows.h"
#include "standard/analysis_choices.h"
#include "standard/measure_rows.h"
#include "standard/series.h"
#include "ui/import_dialog.h"
#include "ui/main_window.h"
#include "ui/standard_plot_view.h"
#include "ui/standard_window.h"

namespace ritmova {
namespace {

using namespace standard;

const std::string Real = RITMOVA_REAL_DATA_DIR "/chf2db-chf201.int";

// The core's analysis of the intervals of `Real` that end from `fromS` to `toS`, as
// ritmova-cli hrv --from --to --correct gives it.
StretchResults coreResults(std::optional<double> fromS, std::optional<double> toS,
                           const CorrectionSettings& correction) {
    ReadOptions options;
    options.exact = true;
    const std::vector<double> rrMs = ReadRecording(Real, options).milliseconds;
    const Stretch stretch = PlanStretches(BeatTimes(rrMs), {fromS, toS, {}}).stretches.front();
    return AnalyseStretch(std::span(rrMs).subspan(stretch.firstBeat - 1, stretch.intervals()),
                          stretch, {correction});
}

// Every measure, present or absent, bit for bit.
void expectSameMeasures(const StretchResults& shown, const StretchResults& core) {
    EXPECT_EQ(shown.stretch.firstBeat, core.stretch.firstBeat);
    EXPECT_EQ(shown.stretch.lastBeat, core.stretch.lastBeat);
    for (std::size_t i = 0; i < MeasureCount; ++i) {
        const auto id = static_cast<MeasureId>(i);
        EXPECT_EQ(shown[id].value, core[id].value) << StandardMeasureTable()[i].key;
    }
}

// The text of the table's row `label` in group `group`, column `column`.
QString cell(QTreeWidget& table, const QString& group, const QString& label, int column) {
    for (int g = 0; g < table.topLevelItemCount(); ++g) {
        const QTreeWidgetItem* item = table.topLevelItem(g);
        if (item->text(0) != group) continue;
        for (int r = 0; r < item->childCount(); ++r) {
            if (item->child(r)->text(0) == label) return item->child(r)->text(column);
        }
    }
    return "(none)";
}

class StandardView : public testing::Test {
  protected:
    StandardWindow& openView() {
        form.controls().openDialog->chooseNext(QString::fromStdString(Real));
        form.menus().open->trigger();
        form.menus().standardAnalysis->trigger();
        StandardWindow& view = *form.standardWindow();
        waitFor(view);
        return view;
    }
    static void waitFor(StandardWindow& view) {
        ASSERT_TRUE(QTest::qWaitFor([&view] { return !view.computing(); }, 20'000));
    }

    MainWindow form;
};

TEST_F(StandardView, ShowsTheCoresValuesAndFollowsTheCorrectionAndTheStretch) {
    StandardWindow& view = openView();
    ASSERT_NE(view.results(), nullptr) << view.statusText().toStdString();
    view.correctionChoice().setCurrentIndex(0);  // none, whatever the last session kept
    view.fromField().clear();
    view.toField().clear();
    view.stepSegment(true);  // the first 5 minutes
    waitFor(view);
    ASSERT_NE(view.results(), nullptr) << view.statusText().toStdString();
    const StretchResults first = coreResults(0, 300, {});
    expectSameMeasures(*view.results(), first);
    const std::string sdnn = StandardRowTexts(first)[std::size_t(MeasureId::Sdnn)].value;
    EXPECT_EQ(cell(view.table(), "Time domain", "SDNN", 1).toStdString(), sdnn);
    EXPECT_EQ(cell(view.table(), "Time domain", "SDNN", 2), "ms");

    view.correctionChoice().setCurrentIndex(int(*FindCorrectionChoice("auto")));
    waitFor(view);
    ASSERT_NE(view.results(), nullptr);
    EXPECT_EQ(view.results()->correction.settings.method, CorrectionMethod::Automatic);
    expectSameMeasures(*view.results(), coreResults(0, 300, CorrectionChoices.back().settings));

    view.fromField().setText("5:00");
    view.toField().setText("0:15:00");
    view.toField().setModified(true);
    emit view.toField().editingFinished();
    waitFor(view);
    ASSERT_NE(view.results(), nullptr);
    expectSameMeasures(*view.results(), coreResults(300, 900, CorrectionChoices.back().settings));
}

void sendMouse(QWidget& widget, QEvent::Type type, double x, Qt::MouseButtons buttons) {
    const QPointF at(x, widget.height() / 2.0);
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// A drag across the R-R plot chooses the stretch between the times under its ends, whole
// seconds, and the results follow.
TEST_F(StandardView, ADragOnTheRrPlotChoosesTheStretch) {
    StandardWindow& view = openView();
    TachogramView& plot = view.tachogram();
    plot.repaint();
    const double left = plot.width() * 0.4, right = plot.width() * 0.6;
    const std::optional<double> from = plot.timeAt(left), to = plot.timeAt(right);
    ASSERT_TRUE(from && to && *from > 0 && *to > *from);
    sendMouse(plot, QEvent::MouseButtonPress, right, Qt::LeftButton);
    sendMouse(plot, QEvent::MouseMove, left, Qt::LeftButton);
    sendMouse(plot, QEvent::MouseButtonRelease, left, Qt::NoButton);
    EXPECT_EQ(ParseClockTime(view.fromField().text().toStdString()), std::round(*from));
    EXPECT_EQ(ParseClockTime(view.toField().text().toStdString()), std::round(*to));
    waitFor(view);
    ASSERT_NE(view.results(), nullptr) << view.statusText().toStdString();
    const auto index = static_cast<std::size_t>(view.correctionChoice().currentIndex());
    expectSameMeasures(*view.results(), coreResults(std::round(*from), std::round(*to),
                                                    CorrectionChoices[index].settings));
}

TEST_F(StandardView, CopiesTheTableAsTabSeparatedTextAndClosesOnEscape) {
    StandardWindow& view = openView();
    ASSERT_NE(view.results(), nullptr);
    QTest::keyClick(&view.table(), Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied, view.resultsText());
    EXPECT_TRUE(copied.contains("\nTime domain\tSDNN\t")) << copied.toStdString();
    QTest::keyClick(&view.table(), Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
    EXPECT_TRUE(view.fileName().isEmpty());  // closing forgets the recording
}

// A time that is not one says why and keeps the results shown.
TEST_F(StandardView, RefusesATimeThatIsNotOneKeepingTheResults) {
    StandardWindow& view = openView();
    ASSERT_NE(view.results(), nullptr);
    const StretchResults* before = view.results();
    view.fromField().setText("1:75");
    view.fromField().setModified(true);
    emit view.fromField().editingFinished();
    EXPECT_FALSE(view.computing());
    EXPECT_EQ(view.results(), before);
    EXPECT_TRUE(view.statusText().contains("'1:75' is not a time"))
        << view.statusText().toStdString();
}

// The whole recording of `rrMs`, uncorrected, as ritmova-cli hrv gives it.
StretchResults wholeResults(const std::vector<double>& rrMs) {
    const Stretch stretch = PlanStretches(BeatTimes(rrMs), {}).stretches.front();
    return AnalyseStretch(rrMs, stretch, {});
}

// The view analyses the recording as the window opened it: an ECG record by its reference
// beats, a file with a header and columns through the import step's choice.
TEST_F(StandardView, AnalysesTheRecordingAsTheWindowOpenedIt) {
    const std::string record = RITMOVA_ECG_DATA_DIR "/mitdb/100.hea";
    ReadOptions exact;
    exact.exact = true;
    const std::vector<double> realMs = ReadRecording(Real, exact).milliseconds;
    QTemporaryDir folder;
    const std::string columns = folder.filePath("columns.csv").toStdString();
    {
        std::ofstream out(columns);
        std::ifstream in(Real);
        out << "time,rr\n";
        int second = 0;
        for (std::string line; std::getline(in, line);) out << ++second << "," << line << "\n";
    }
    form.setImportAnswer([](ImportDialog&) { return true; });
    const struct {
        std::string path;
        std::vector<double> rrMs;
    } cases[] = {
        {record, ecg::IntervalMilliseconds(ecg::LoadBeats(record, {"", "atr", 0}), false)},
        {columns, realMs},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(form.openFile(QString::fromStdString(c.path))) << c.path;
        form.menus().standardAnalysis->trigger();
        StandardWindow& view = *form.standardWindow();
        view.correctionChoice().setCurrentIndex(0);
        view.fromField().clear();
        view.toField().setText("");
        view.toField().setModified(true);
        emit view.toField().editingFinished();
        waitFor(view);
        ASSERT_NE(view.results(), nullptr) << c.path << ": " << view.statusText().toStdString();
        expectSameMeasures(*view.results(), wholeResults(c.rrMs));
    }
}

}  // namespace
}  // namespace ritmova
