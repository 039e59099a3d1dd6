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

// The main window with scripted dialogs and a folder of its own for files.
class WindowTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    // The next file dialog of `dialog` picks `path`, or is cancelled when `path` is empty.
    void answerWith(QtCommonDialog& dialog, const QString& path) {
        dialog.setFileAnswer([this, path](QFileDialog& shown) -> std::optional<QString> {
            lastFilters = shown.nameFilters();
            lastSelectedFilter = shown.selectedNameFilter();
            if (path.isEmpty()) return std::nullopt;
            return path;
        });
    }
    void answerSaveWith(const QString& path) { answerWith(*form.controls().CommonDialog2, path); }
    void open(const QString& path) {
        answerWith(*form.controls().CommonDialog1, path);
        form.FileMnuItem_Click(0);
    }
    QString inFolder(const QString& name) const { return folder.filePath(name); }
    void writeFile(const QString& path, const QByteArray& bytes) const {
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
    QStringList lastFilters;
    QString lastSelectedFilter;
};

}  // namespace ritmova::test
