#include "ui/beat_entry.h"

#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>

namespace ritmova {
namespace {

// Watches the key presses of the spin box, which has the focus and hands them to its line edit
// (by a direct call, past any filter of the edit's).
class BeatEntryGuard final : public QObject {
  public:
    BeatEntryGuard(QInputDialog& dialog, QSpinBox& spinBox, QLineEdit& edit)
        : QObject(&dialog),
          dialog_(dialog),
          spinBox_(spinBox),
          edit_(edit),
          label_(dialog.labelText()) {
        spinBox.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &spinBox_ || event->type() != QEvent::KeyPress) return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
            return !spinBox_.hasAcceptableInput() && refuse(edit_.text());
        }
        if (key.text().isEmpty() || !key.text().at(0).isPrint()) return false;
        const QString typed = typedText(key.text());
        QString unused = typed;
        int position = 0;
        const QAbstractSpinBox& box = spinBox_;  // validate() is public here
        return box.validate(unused, position) == QValidator::Invalid && refuse(typed);
    }

  private:
    // The edit's text as the key would leave it: the selection, if any, replaced.
    QString typedText(const QString& key) const {
        QString text = edit_.text();
        if (edit_.hasSelectedText()) {
            return text.replace(edit_.selectionStart(), edit_.selectedText().size(), key);
        }
        return text.insert(edit_.cursorPosition(), key);
    }

    bool refuse(const QString& typed) {
        dialog_.setLabelText(label_ + "\n" +
                             QString("'%1' is not taken: enter a beat from %2 to %3")
                                 .arg(typed)
                                 .arg(spinBox_.minimum())
                                 .arg(spinBox_.maximum()));
        return true;
    }

    QInputDialog& dialog_;
    QSpinBox& spinBox_;
    QLineEdit& edit_;
    QString label_;
};

}  // namespace

void GuardBeatEntry(QInputDialog& dialog) {
    auto* spinBox = dialog.findChild<QSpinBox*>();
    QLineEdit* edit = spinBox ? spinBox->findChild<QLineEdit*>() : nullptr;
    if (edit) new BeatEntryGuard(dialog, *spinBox, *edit);
}

}  // namespace ritmova
