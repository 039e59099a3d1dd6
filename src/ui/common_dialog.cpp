#include "ui/common_dialog.h"

#include <sys/stat.h>

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPushButton>

#include "analysis/interval_file.h"

namespace ritmova {
namespace {

std::optional<QString> runFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

bool runPrintDialog(QPrintDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

// "Interval Files (*.int)" and "*.int" become "Interval Files (*.int)"; a description
// without its patterns gets them added, so that Qt can read them.
QString nameFilter(QString description, QString patterns) {
    patterns.replace(';', ' ');
    patterns.replace("*.*", "*");
    const qsizetype bracket = description.lastIndexOf(" (");
    if (description.endsWith(')') && bracket >= 0) description.truncate(bracket);
    return description + " (" + patterns + ")";
}

// "PNG Image (*.png)" gives "png"; a filter of several patterns, or of every file, none.
QString suffixOf(const QString& nameFilter) {
    const qsizetype star = nameFilter.lastIndexOf("(*.");
    if (star < 0 || !nameFilter.endsWith(')')) return {};
    const QString suffix = nameFilter.mid(star + 3, nameFilter.size() - star - 4);
    return suffix.contains(' ') || suffix.contains('*') ? QString() : suffix;
}

// Printer Setup only chooses the printer and its settings; printing is the Print command's.
void makePrinterSetup(QPrintDialog& dialog) {
    dialog.setWindowTitle("Printer Setup");
    for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>()) {
        if (QPushButton* accept = buttons->button(QDialogButtonBox::Ok)) accept->setText("OK");
    }
}

}  // namespace

void RequireRegularFileToOpen(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0) RequireRegularFile(path);
}

QStringList QtNameFilters(std::string_view filter) {
    const QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters.append(nameFilter(parts[i], parts[i + 1]));
    }
    return filters;
}

QtCommonDialog::QtCommonDialog(QWidget* parent, QPrinter& printer)
    : parent_(parent),
      printer_(printer),
      fileAnswer_(runFileDialog),
      printerAnswer_(runPrintDialog) {}

void QtCommonDialog::setFilter(std::string_view filter) {
    nameFilters_ = QtNameFilters(filter);
}

// The filter index counts from 1; 0 leaves Qt's own choice.
void QtCommonDialog::setFilterIndex(int index) {
    filterIndex_ = index;
}

bool QtCommonDialog::showOpen() {
    return showFile(false);
}

bool QtCommonDialog::showSave() {
    return showFile(true);
}

bool QtCommonDialog::showFile(bool saving) {
    if (nextChoice_) {
        nativeName_ = *std::exchange(nextChoice_, std::nullopt);
        fileName_ = QFile::decodeName(nativeName_.c_str());
        offered_ = fileName_;
        if (!saving) RequireRegularFileToOpen(nativeName_);
        return true;
    }
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Save results replaces an existing file without asking, as the command always has.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(nameFilters_);
    if (filterIndex_ >= 1 && filterIndex_ <= nameFilters_.size()) {
        dialog.selectNameFilter(nameFilters_[filterIndex_ - 1]);
    }
    if (suffixFromFilter_) followFilterSuffix(dialog);
    if (!title_.isEmpty()) dialog.setWindowTitle(title_);
    if (!offered_.isEmpty()) dialog.selectFile(offered_);
    const std::optional<QString> chosen = fileAnswer_(dialog);
    if (!chosen) return false;
    fileName_ = *chosen;
    offered_ = fileName_;
    nativeName_ = QFile::encodeName(fileName_).toStdString();
    if (!saving) RequireRegularFileToOpen(nativeName_);
    return true;
}

// A name typed without a suffix gets the one of the file type chosen in the dialog.
void QtCommonDialog::followFilterSuffix(QFileDialog& dialog) {
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
}

void QtCommonDialog::suggestName(const QString& path) {
    if (path == suggested_) return;
    suggested_ = path;
    offered_ = path;
}

bool QtCommonDialog::showPrinter() {
    QPrintDialog dialog(&printer_, parent_);
    makePrinterSetup(dialog);
    return printerAnswer_(dialog);
}

std::string QtCommonDialog::fileName() const {
    return nativeName_;
}

void QtCommonDialog::chooseNext(const QString& path) {
    nextChoice_ = QFile::encodeName(path).toStdString();
}

void QtCommonDialog::chooseNextNative(const std::string& path) {
    nextChoice_ = path;
}

}  // namespace ritmova
