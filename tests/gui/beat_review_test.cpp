// Analysis → Beat review on a real record: clicks and drags on the strip edit the beats, the
// main window's recording follows every edit and undo, and the edits save beside the record.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <filesystem>

#include "ecg/ecg_record.h"
#include "ui/beat_review_window.h"
#include "ui/beat_tachogram.h"
#include "ui/ecg_strip.h"
#include "ui/main_window.h"

namespace ritmova {
namespace {

const std::string Ecg = RITMOVA_ECG_DATA_DIR;

void mouse(QWidget& widget, QEvent::Type type, double x, Qt::MouseButtons buttons) {
    const QPointF at(x, widget.height() / 2.0);
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void click(QWidget& widget, double x) {
    mouse(widget, QEvent::MouseButtonPress, x, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, x, Qt::NoButton);
}

void drag(QWidget& widget, double from, double to) {
    mouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    mouse(widget, QEvent::MouseMove, to, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void key(QWidget& widget, int code) {
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// A copy of MIT-BIH record 100 (2273 reference beats) in a folder of the test's own.
class BeatReview : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"100.hea", "100.dat", "100.atr"})
            std::filesystem::copy_file(Ecg + "/mitdb/" + name, folder.filePath(name).toStdString());
        record = folder.filePath("100.hea").toStdString();
        ASSERT_TRUE(form.openFile(folder.filePath("100.hea")));
        form.menus().beatReview->trigger();
        review = form.beatReviewWindow();
        review->resize(1100, 620);
        QCoreApplication::processEvents();
        ASSERT_GT(strip().width(), 800);
        strip().showStretch(0, 3600);  // the first 10 s
    }
    EcgStrip& strip() { return review->strip(); }
    QString field() const { return form.windowField()->text(); }
    std::size_t beatAt(std::int64_t tick) const {
        const auto near = review->edits().beatNear(tick, 0);
        return near ? *near : SIZE_MAX;
    }

    QTemporaryDir folder;
    std::string record;
    MainWindow form;
    BeatReviewWindow* review = nullptr;
};

TEST_F(BeatReview, EditsByMouseAreFollowedAndUndone) {
    EXPECT_TRUE(field().contains("of 2272")) << field().toStdString();
    // Between the beats at samples 77 and 370: a beat at the R peak near the click.
    click(strip(), strip().xOfSample(220));
    ASSERT_EQ(review->edits().beats().size(), 2274u);
    const ecg::EditedBeat added = review->edits().beats()[1];
    EXPECT_EQ(added.source, ecg::BeatSource::Added);
    EXPECT_LE(std::llabs(added.tick - 220), 29);  // within 80 ms
    EXPECT_TRUE(field().contains("of 2273")) << field().toStdString();
    review->undo();
    EXPECT_TRUE(field().contains("of 2272"));
    review->redo();
    EXPECT_EQ(review->edits().beats()[1], added);
    review->undo();

    click(strip(), strip().xOfSample(370));  // on a beat: it goes
    EXPECT_EQ(beatAt(370), SIZE_MAX);
    EXPECT_TRUE(field().contains("of 2271"));

    drag(strip(), strip().xOfSample(662), strip().xOfSample(700));
    const std::size_t moved = review->edits().beatNear(700, 4).value_or(SIZE_MAX);
    ASSERT_NE(moved, SIZE_MAX);
    EXPECT_EQ(review->edits().beats()[moved].source, ecg::BeatSource::Moved);
    EXPECT_EQ(beatAt(662), SIZE_MAX);
    EXPECT_TRUE(field().contains("of 2271"));
    review->undo();
    review->undo();
    EXPECT_NE(beatAt(662), SIZE_MAX);
    EXPECT_NE(beatAt(370), SIZE_MAX);
    EXPECT_TRUE(field().contains("of 2272"));
    EXPECT_FALSE(review->edits().canUndo());
}

// A drag on the trace, the keys, the wheel and the tachogram move the strip; only the
// stretch shown is read.
TEST_F(BeatReview, TheStripScrollsAndZoomsWithTheTachogram) {
    // A drag from between two beats of the second 10 s, 150 pixels to the left.
    const auto [next, after] = review->edits().beatsBetween(3600, 7200);
    ASSERT_LT(next + 1, after);
    const double between = strip().xOfSample(
        (review->edits().beats()[next].tick + review->edits().beats()[next + 1].tick) / 2 - 3600);
    const struct {
        std::function<void()> gesture;
        std::int64_t first, span;
    } cases[] = {
        {[&] { key(strip(), Qt::Key_Right); }, 900, 3600},
        {[&] { key(strip(), Qt::Key_End); }, 650000 - 3600, 3600},
        {[&] { key(strip(), Qt::Key_Home); }, 0, 3600},
        {[&] { key(strip(), Qt::Key_PageDown); }, 3600, 3600},
        {[&] { key(strip(), Qt::Key_Minus); }, 3600 - 450, 4500},
        {[&] { key(strip(), Qt::Key_Plus); }, 3600, 3600},
        {[&] { drag(strip(), between, between - 150); }, 3600 + 3600 * 150 / strip().width(), 3600},
    };
    strip().showStretch(0, 3600);
    for (const auto& c : cases) {
        c.gesture();
        EXPECT_LE(std::llabs(strip().first() - c.first), 4) << c.first;
        EXPECT_EQ(strip().span(), c.span);
        EXPECT_LE(strip().valuesHeld(), std::size_t(4 * strip().span()));
    }
    BeatTachogram& tachogram = review->tachogram();
    EXPECT_EQ(tachogram.intervalCount(), 2272u);
    click(tachogram, tachogram.xOfTime(900));  // 15 min in
    EXPECT_NEAR(double(strip().first() + strip().span() / 2) / 360, 900, 2);
}

// The menu raises the review of the record open; over intervals it says why it cannot, and
// the review's edits no longer touch the recording another Open brought.
TEST_F(BeatReview, TheMenuReviewsOnlyTheOpenEcgRecord) {
    form.menus().beatReview->trigger();
    EXPECT_EQ(form.beatReviewWindow(), review);
    ASSERT_TRUE(form.openFile(RITMOVA_EXAMPLES_DIR "/nsr2db-nsr012.int"));
    const QString opened = field();
    form.menus().beatReview->trigger();
    EXPECT_TRUE(form.statusBar()->currentMessage().contains("holds intervals, not an ECG record"));
    click(strip(), strip().xOfSample(370));
    EXPECT_EQ(review->edits().changeCount(), 1u);
    EXPECT_EQ(field(), opened);
}

// Saved beside the record as 100.edited, the beats read back; the reference stays as it was.
TEST_F(BeatReview, SavedEditsReadBack) {
    const std::string reference = (folder.path() + "/100.atr").toStdString();
    const auto referenceSize = std::filesystem::file_size(reference);
    click(strip(), strip().xOfSample(370));
    click(strip(), strip().xOfSample(220));
    const std::string path = review->saveEdits();
    EXPECT_EQ(path, folder.filePath("100.edited").toStdString());
    const ecg::BeatSeries read = ecg::LoadBeats(record, {"", "edited", 0});
    ASSERT_EQ(read.beats.size(), review->edits().beats().size());
    for (std::size_t i = 0; i < read.beats.size(); ++i)
        EXPECT_EQ(read.beats[i].tick, review->edits().beats()[i].tick);
    EXPECT_EQ(std::filesystem::file_size(reference), referenceSize);
    if (const QByteArray picture = qgetenv("RITMOVA_REVIEW_PICTURE"); !picture.isEmpty()) {
        review->undo();
        review->undo();
        strip().showStretch(360 * 600, 360 * 8);  // 10 min in: a beat added and one moved
        const auto [next, after] = review->edits().beatsBetween(360 * 601, 360 * 608);
        drag(strip(), strip().xOfSample(review->edits().beats()[next].tick),
             strip().xOfSample(review->edits().beats()[next].tick + 40));
        click(strip(), strip().xOfSample((review->edits().beats()[next + 2].tick +
                                          review->edits().beats()[next + 3].tick) /
                                         2));
        review->show();
        review->grab().save(QString::fromLocal8Bit(picture));
    }
}

}  // namespace
}  // namespace ritmova
