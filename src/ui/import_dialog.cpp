#include "ui/import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "common/safe_text.h"

namespace ritmova {
namespace {

constexpr int ShownLines = 16;
constexpr std::size_t ShownLineLength = 120;
constexpr std::size_t PreviewValues = 8;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The most fields a line of the head has, at least one.
int mostFields(const FileHead& head) {
    std::size_t most = 1;
    for (const std::string& line : head.lines) most = std::max(most, FieldCount(line));
    return static_cast<int>(most);
}

}  // namespace

ImportDialog::ImportDialog(QWidget* parent, const ImportQuestion& question,
                           const ImportChoice& start, bool remembered)
    : QDialog(parent), head_(question.head) {
    setWindowTitle("Import " +
                   fromUtf8(SafeText(std::filesystem::path(question.path).filename().string())));
    createControls(question, remembered);
    setChoice(start);
    connect(skipLines_, &QSpinBox::valueChanged, this, &ImportDialog::showPreview);
    connect(column_, &QSpinBox::valueChanged, this, &ImportDialog::showPreview);
    connect(units_, &QComboBox::currentIndexChanged, this, &ImportDialog::showPreview);
}

void ImportDialog::createControls(const ImportQuestion& question, bool remembered) {
    auto* layout = new QVBoxLayout(this);
    auto* reason =
        new QLabel("The file is no plain list of values (" + fromUtf8(question.reason) + ").\n" +
                       (remembered ? "Read as chosen before for files that start like this one:"
                                   : "Choose the lines to skip, the column and the units:"),
                   this);
    reason->setTextFormat(Qt::PlainText);
    layout->addWidget(reason);
    auto* form = new QFormLayout;
    skipLines_ = new QSpinBox(this);
    skipLines_->setRange(0, static_cast<int>(head_.lines.size()));
    column_ = new QSpinBox(this);
    column_->setRange(1, mostFields(head_));
    units_ = new QComboBox(this);
    units_->addItems({"seconds (s)", "milliseconds (ms)"});
    form->addRow("&Header lines to skip:", skipLines_);
    form->addRow("&Column:", column_);
    form->addRow("&Units:", units_);
    layout->addLayout(form);
    layout->addWidget(new QLabel("First lines of the file:", this));
    firstLines_ = new QPlainTextEdit(this);
    firstLines_->setReadOnly(true);
    firstLines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    firstLines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Room for a line of 60 characters beside its number.
    firstLines_->setMinimumWidth(firstLines_->fontMetrics().horizontalAdvance(QString(72, 'x')));
    layout->addWidget(firstLines_);
    layout->addWidget(new QLabel("Values read:", this));
    values_ = new QLabel(this);
    values_->setWordWrap(true);
    values_->setTextFormat(Qt::PlainText);
    layout->addWidget(values_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);
}

ImportChoice ImportDialog::choice() const {
    return {static_cast<std::size_t>(skipLines_->value()),
            static_cast<std::size_t>(column_->value()),
            units_->currentIndex() == 1 ? Units::Milliseconds : Units::Seconds};
}

void ImportDialog::setChoice(const ImportChoice& choice) {
    const QSignalBlocker skipBlocked(skipLines_), columnBlocked(column_), unitsBlocked(units_);
    skipLines_->setValue(static_cast<int>(choice.skipLines));
    column_->setMaximum(std::max(column_->maximum(), static_cast<int>(choice.column)));
    column_->setValue(static_cast<int>(choice.column));
    units_->setCurrentIndex(choice.units == Units::Milliseconds ? 1 : 0);
    showPreview();
}

// The first lines, those to skip marked, and the values the choice reads from them.
void ImportDialog::showPreview() {
    const ImportChoice chosen = choice();
    QStringList lines;
    const int shown = std::min(ShownLines, static_cast<int>(head_.lines.size()));
    for (int i = 0; i < shown; ++i) {
        const std::string& line = head_.lines[static_cast<std::size_t>(i)];
        std::string text = SafeText(line.substr(0, ShownLineLength));
        if (line.size() > ShownLineLength) text += "...";
        const QString mark = static_cast<std::size_t>(i) < chosen.skipLines ? "skip" : "    ";
        lines << QString("%1 %2  %3").arg(mark).arg(i + 1, 3).arg(fromUtf8(text));
    }
    firstLines_->setPlainText(lines.join('\n'));
    const ImportPreview preview = PreviewImport(head_, chosen, PreviewValues);
    values_->setText(fromUtf8(ImportPreviewText(preview)));
    buttons_->button(QDialogButtonBox::Open)->setEnabled(!preview.values.empty());
}

QString ImportDialog::firstLines() const {
    return firstLines_->toPlainText();
}

QString ImportDialog::values() const {
    return values_->text();
}

bool ImportDialog::canOpen() const {
    return buttons_->button(QDialogButtonBox::Open)->isEnabled();
}

}  // namespace ritmova
