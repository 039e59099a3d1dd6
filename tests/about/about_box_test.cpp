#include <gtest/gtest.h>

#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <vector>

#include "about/about_box.h"
#include "about/frm_about.h"

namespace ritmova {
namespace {

class AboutBox : public ::testing::Test {
  protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "about_tests";
        static char* argv[] = {name, nullptr};
        // Never destroyed: the test library's input devices must not outlive it at exit.
        static auto* application = new QApplication(argc, argv);
        (void)application;
    }
    void TearDown() override {
        for (frmAbout* box : AboutBoxes()) delete box;
    }
    static std::vector<frmAbout*> AboutBoxes() {
        std::vector<frmAbout*> boxes;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<frmAbout*>(window)) boxes.push_back(box);
        return boxes;
    }
    static frmAbout* ShowOne() {
        ShowAboutBox(nullptr);
        const std::vector<frmAbout*> boxes = AboutBoxes();
        return boxes.size() == 1 ? boxes.front() : nullptr;
    }
};

TEST_F(AboutBox, SecondAboutShowsTheSameWindowWithoutLoadingItAgain) {
    frmAbout* first = ShowOne();
    ASSERT_NE(first, nullptr);
    first->move(5, 7);  // a load would centre it again
    EXPECT_EQ(ShowOne(), first);
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
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(box.isNull());
        frmAbout* reloaded = ShowOne();
        ASSERT_NE(reloaded, nullptr);
        const QPoint offCentre =
            reloaded->geometry().center() - reloaded->screen()->geometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 8);
        delete reloaded;
    }
}

TEST_F(AboutBox, TextsAndPlacesAt96Dpi) {
    frmAbout* box = ShowOne();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "About Ritmova");
    const QStringList description =
        box->findChild<QLabel*>("lblDescription")->text().split(QChar('\n'));
    ASSERT_EQ(description.size(), 2);
    EXPECT_EQ(description[0], "Spectral Analysis of Heart Rate Variability.");
    EXPECT_TRUE(box->findChild<QPushButton*>("cmdOK")->isDefault());
    const bool at96Dpi = box->logicalDpiX() == 96 && box->logicalDpiY() == 96;
    // clang-format off
    const std::tuple<const char*, QRect, const char*> controls[] = {
        {"Image1", {8, 16, 48, 48}, nullptr}, {"lblTitle", {72, 16, 259, 32}, nullptr},
        {"lblVersion", {72, 52, 259, 15}, "Ritmova"},
        {"lblDescription", {72, 80, 259, 78}, nullptr},
        {"lblDisclaimer", {17, 175, 258, 55}, ""}, {"cmdOK", {288, 176, 84, 23}, "OK"},
        {"cmdSysInfo", {288, 205, 83, 23}, "&System Info..."}};
    // clang-format on
    for (const auto& [name, pixels, text] : controls) {
        const auto* control = box->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(!text || control->property("text").toString() == text) << name;
        EXPECT_TRUE(!at96Dpi || control->geometry() == pixels) << name;
    }
    if (!at96Dpi) GTEST_SKIP() << "not 96 dpi: places and separator unchecked";
    EXPECT_EQ(box->size(), QSize(382, 237));
    // The etched separator: a grey line over a white one, one pixel lower and to the right.
    const QImage image = box->grab().toImage();
    const QColor grey(128, 128, 128), white(Qt::white);
    EXPECT_EQ(image.pixelColor(6, 163), grey);
    EXPECT_EQ(image.pixelColor(377, 163), grey);
    EXPECT_NE(image.pixelColor(378, 163), grey);
    EXPECT_NE(image.pixelColor(6, 164), white);
    EXPECT_EQ(image.pixelColor(7, 164), white);
    EXPECT_EQ(image.pixelColor(377, 165), white);
    EXPECT_NE(image.pixelColor(100, 166), white);
}

}  // namespace
}  // namespace ritmova
