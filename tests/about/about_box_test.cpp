#include <gtest/gtest.h>

#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <vector>

#include "about/about_box.h"
#include "about/frm_about.h"

namespace ritmova {
namespace {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "about_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the test library's input devices must not outlive it at exit.
    static auto* application = new QApplication(argc, argv);
    (void)application;
}

std::vector<frmAbout*> AboutBoxes() {
    std::vector<frmAbout*> boxes;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<frmAbout*>(window)) boxes.push_back(box);
    }
    return boxes;
}

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class AboutBox : public ::testing::Test {
  protected:
    void SetUp() override { EnsureApplication(); }
    void TearDown() override {
        for (frmAbout* box : AboutBoxes()) delete box;
    }

    frmAbout* ShowOne() {
        ShowAboutBox(nullptr);
        const std::vector<frmAbout*> boxes = AboutBoxes();
        return boxes.size() == 1 ? boxes.front() : nullptr;
    }
};

TEST_F(AboutBox, SecondAboutShowsTheSameWindowWithoutLoadingItAgain) {
    frmAbout* first = ShowOne();
    ASSERT_NE(first, nullptr);
    first->move(5, 7);  // a load would centre it again
    frmAbout* second = ShowOne();
    EXPECT_EQ(second, first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->pos(), QPoint(5, 7));
}

// Escape, Return and Enter unload the box; the next About loads it afresh, centred as far as
// the window frame, unknown at load, lets it be.
TEST_F(AboutBox, KeysUnloadTheBoxAndTheNextAboutLoadsItAfresh) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        QPointer<frmAbout> box = ShowOne();
        ASSERT_FALSE(box.isNull());
        box->move(5, 7);
        QWidget* focus = box->focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->objectName(), "cmdOK");
        QTest::keyClick(focus, key);
        DeleteClosedWindows();
        EXPECT_TRUE(box.isNull());
        frmAbout* reloaded = ShowOne();
        ASSERT_NE(reloaded, nullptr);
        const QPoint offCentre =
            reloaded->geometry().center() - reloaded->screen()->geometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 8);
        delete reloaded;
    }
}

struct ControlPlace {
    const char* name;
    QRect pixelsAt96Dpi;
};

TEST_F(AboutBox, ControlsAndSeparatorSitAtTheirTwipPositions) {
    frmAbout* box = ShowOne();
    ASSERT_NE(box, nullptr);
    if (box->logicalDpiX() != 96 || box->logicalDpiY() != 96) GTEST_SKIP() << "not 96 dpi";
    EXPECT_EQ(box->size(), QSize(382, 237));
    for (const ControlPlace& place :
         {ControlPlace{"Image1", {8, 16, 48, 48}}, ControlPlace{"lblTitle", {72, 16, 259, 32}},
          ControlPlace{"lblVersion", {72, 52, 259, 15}},
          ControlPlace{"lblDescription", {72, 80, 259, 78}},
          ControlPlace{"lblDisclaimer", {17, 175, 258, 55}},
          ControlPlace{"cmdOK", {288, 176, 84, 23}},
          ControlPlace{"cmdSysInfo", {288, 205, 83, 23}}}) {
        const auto* control = box->findChild<QWidget*>(place.name);
        ASSERT_NE(control, nullptr) << place.name;
        EXPECT_EQ(control->geometry(), place.pixelsAt96Dpi) << place.name;
    }
    // The etched separator: a grey line over a white one, one pixel lower and to the right.
    const QImage image = box->grab().toImage();
    const QColor grey(128, 128, 128);
    const QColor white(Qt::white);
    EXPECT_EQ(image.pixelColor(6, 163), grey);
    EXPECT_EQ(image.pixelColor(377, 163), grey);
    EXPECT_NE(image.pixelColor(378, 163), grey);
    EXPECT_NE(image.pixelColor(6, 164), white);
    EXPECT_EQ(image.pixelColor(7, 164), white);
    EXPECT_EQ(image.pixelColor(377, 165), white);
    EXPECT_NE(image.pixelColor(100, 166), white);
}

TEST_F(AboutBox, TextsNameTheProgram) {
    frmAbout* box = ShowOne();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "About Ritmova");
    EXPECT_EQ(box->findChild<QLabel*>("lblVersion")->text(), "Ritmova");
    EXPECT_EQ(box->findChild<QLabel*>("lblDisclaimer")->text(), "");
    const QStringList description =
        box->findChild<QLabel*>("lblDescription")->text().split(QChar('\n'));
    ASSERT_EQ(description.size(), 2);
    EXPECT_EQ(description[0], "Spectral Analysis of Heart Rate Variability.");
    EXPECT_EQ(box->findChild<QPushButton*>("cmdOK")->text(), "OK");
    EXPECT_TRUE(box->findChild<QPushButton*>("cmdOK")->isDefault());
    EXPECT_EQ(box->findChild<QPushButton*>("cmdSysInfo")->text(), "&System Info...");
}

}  // namespace
}  // namespace ritmova
