// The window tests share one QApplication, on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);  // settings apart from the user's, cleared
    QSettings("ritmova", "ritmova").clear();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
