#pragma once

#include <QDialog>
#include <optional>

#include "ui/recording_commands.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QSpinBox;

namespace ritmova {

// The import step of a file whose first lines are not numbers: the header lines to skip, the
// column and the units, over a preview of the file's first lines and of the values that the
// choice reads from them. It opens on `start` (a choice remembered for files of this shape, or
// the guess) and offers Open only while the choice reads a value.
class ImportDialog final : public QDialog {
    Q_OBJECT

  public:
    ImportDialog(QWidget* parent, const ImportQuestion& question, const ImportChoice& start,
                 bool remembered);

    ImportChoice choice() const;
    void setChoice(const ImportChoice& choice);

    QSpinBox& skipLines() { return *skipLines_; }
    QSpinBox& column() { return *column_; }
    QComboBox& units() { return *units_; }
    // The file's first lines, numbered, as shown.
    QString firstLines() const;
    // The values the choice reads, or why it reads none.
    QString values() const;
    bool canOpen() const;

  private:
    void createControls(const ImportQuestion& question, bool remembered);
    void showPreview();

    const FileHead& head_;
    QSpinBox* skipLines_ = nullptr;
    QSpinBox* column_ = nullptr;
    QComboBox* units_ = nullptr;
    QPlainTextEdit* firstLines_ = nullptr;
    QLabel* values_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace ritmova
