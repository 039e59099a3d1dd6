#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QStatusBar>
#include <QTemporaryDir>
#include <string>

#include "ui/form1.h"

namespace ritmova::test {

inline const QString ExampleRecording = RITMOVA_EXAMPLES_DIR "/nsr2db-nsr012.int";

// CR LF line breaks as a label shows them.
inline QString shown(const std::string& caption) {
    return QString::fromStdString(caption).replace("\r\n", "\n");
}

// The main window, driven through its menus, with scripted dialogs and a folder of its own.
class WindowTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    // The next file dialog of `dialog` picks `path`, or is cancelled when `path` is empty.
    // `offered` keeps the dialog's filters, the selected one last.
    void answerWith(QtCommonDialog& dialog, const QString& path) {
        dialog.setFileAnswer([this, path](QFileDialog& shown) -> std::optional<QString> {
            offered = shown.nameFilters() << shown.selectedNameFilter();
            return path.isEmpty() ? std::nullopt : std::optional(path);
        });
    }
    void fileItem(std::int16_t index) { form.menus().FileMnuItem.at(index)->trigger(); }
    void analysisItem(std::int16_t index) { form.menus().AnalysisMenuItem.at(index)->trigger(); }
    void open(const QString& path) {
        answerWith(*form.controls().CommonDialog1, path);
        fileItem(0);
    }
    QString inFolder(const QString& name) const { return folder.filePath(name); }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString status() { return form.statusBar()->currentMessage(); }

    QTemporaryDir folder;
    Form1 form;
    QStringList offered;
};

}  // namespace ritmova::test
