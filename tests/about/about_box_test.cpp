// The About box: one at a time, unloaded by its keys, its texts and places.
#include "about/about_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <memory>

#include "about/frm_about.h"

namespace ritmova {
namespace {

// The box that About shows, when exactly one is loaded.
frmAbout* ShowOne() {
    ShowAboutBox(nullptr);
    std::vector<frmAbout*> boxes;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<frmAbout*>(window)) boxes.push_back(box);
    return boxes.size() == 1 ? boxes.front() : nullptr;
}

// A second About shows the loaded box as it stands (a load would centre it again). Escape,
// Return and Enter unload it; the next About loads it afresh, centred as far as the window
// frame, unknown at load, lets it be.
TEST(AboutBox, OneBoxAtATimeUnloadedByItsKeys) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key);
        QPointer<frmAbout> box = ShowOne();
        ASSERT_FALSE(box.isNull());
        const QPoint offCentre = box->geometry().center() - box->screen()->geometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 8);
        box->move(5, 7);
        EXPECT_EQ(ShowOne(), box);
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->pos(), QPoint(5, 7));
        QWidget* focus = box->focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->objectName(), "cmdOK");
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(focus, &press);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(box.isNull());
    }
}

TEST(AboutBox, TextsAndPlacesAt96Dpi) {
    const std::unique_ptr<frmAbout> box(ShowOne());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "About Ritmova");
    EXPECT_TRUE(box->findChild<QPushButton*>("cmdOK")->isDefault());
    if (box->logicalDpiX() != 96 || box->logicalDpiY() != 96) GTEST_SKIP() << "not at 96 dpi";
    // clang-format off
    const std::tuple<const char*, QRect, const char*> controls[] = {
        {"Image1", {8, 16, 48, 48}, nullptr},
        {"lblTitle", {72, 16, 259, 32}, "Heart Rate Variability Analysis"},
        {"lblVersion", {72, 52, 259, 15}, "Ritmova"},
        {"lblDescription", {72, 80, 259, 78},
         "Spectral Analysis of Heart Rate Variability.\nBy the Ritmova project."},
        {"lblDisclaimer", {17, 175, 258, 55}, ""}, {"cmdOK", {288, 176, 84, 23}, "OK"},
        {"cmdSysInfo", {288, 205, 83, 23}, "&System Info..."}};
    // clang-format on
    for (const auto& [name, pixels, text] : controls) {
        const auto* control = box->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(!text || control->property("text").toString() == text) << name;
        EXPECT_EQ(control->geometry(), pixels) << name;
    }
    EXPECT_EQ(box->size(), QSize(382, 237));
    // The etched separator: a grey line over a white one, one pixel lower and to the right.
    const QImage image = box->grab().toImage();
    const QColor grey(128, 128, 128), white(Qt::white);
    EXPECT_EQ(QList({image.pixelColor(6, 163), image.pixelColor(377, 163), image.pixelColor(7, 164),
                     image.pixelColor(377, 165)}),
              QList({grey, grey, white, white}));
    EXPECT_NE(image.pixelColor(378, 163), grey);
    EXPECT_NE(image.pixelColor(6, 164), white);
    EXPECT_NE(image.pixelColor(100, 166), white);
}

}  // namespace
}  // namespace ritmova
