// The window's import step for files whose first lines are not numbers, its button that reads
// a recording in the units it looks like, and File's recent files.
#include <sys/stat.h>

#include <QAction>
#include <QCryptographicHash>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QToolButton>
#include <cerrno>
#include <filesystem>

#include "analysis/recent_files.h"
#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ui/import_dialog.h"
#include "ui/main_window.h"

namespace ritmova {
namespace {

QSettings settings() {
    return QSettings("ritmova", "ritmova");
}
constexpr const char* RecentFilesKey = "File/RecentFiles";

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The setting that keeps the choice for files of `shape`: named by a digest, as the shape's
// text may be long and hold any bytes.
QString importKey(const FileShape& shape) {
    const QByteArray text = QByteArray::fromStdString(ShapeText(shape));
    return "Import/" + QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
}

// The choice kept for files of the question's shape, while it still reads the file's first
// lines.
std::optional<ImportChoice> rememberedImport(const ImportQuestion& question) {
    const QString text = settings().value(importKey(question.proposal.shape)).toString();
    const std::optional<ImportChoice> choice = ParseImportChoice(text.toStdString());
    if (choice && PreviewImport(question.head, *choice, 1).values.empty()) return std::nullopt;
    return choice;
}

// The recent files, each kept as its bytes percent-encoded, so that a name that is not UTF-8
// reads back byte for byte.
std::vector<std::string> recentFiles() {
    std::vector<std::string> files;
    for (const QString& entry : settings().value(RecentFilesKey).toStringList())
        files.push_back(QByteArray::fromPercentEncoding(entry.toLatin1()).toStdString());
    return files;
}

void keepRecentFiles(const std::vector<std::string>& files) {
    QStringList entries;
    for (const std::string& file : files)
        entries << QString::fromLatin1(QByteArray::fromStdString(file).toPercentEncoding("/"));
    settings().setValue(RecentFilesKey, entries);
}

}  // namespace

void MainWindow::createImportParts() {
    recording_->setImportChooser(
        [this](const ImportQuestion& question) { return askImport(question); });
    // Hidden until a window looks like other units; never taller than the field beside it, so
    // that the status bar keeps its height and the window its layout.
    unitsButton_ = new QToolButton(this);
    unitsButton_->setMaximumHeight(windowField_->sizeHint().height());
    unitsButton_->setVisible(false);
    // Left of the file field: the field is taken off and put back after the button (an index
    // would count the status bar's other widgets too).
    statusBar()->removeWidget(windowField_);
    statusBar()->addPermanentWidget(unitsButton_);
    statusBar()->addPermanentWidget(windowField_);
    windowField_->show();
    connect(unitsButton_, &QToolButton::clicked, this, &MainWindow::onSuggestedUnits);
    // Another window may have opened files since: the list is shown as the settings hold it.
    connect(menus_.file, &QMenu::aboutToShow, this, &MainWindow::showRecentFiles);
    showRecentFiles();
}

// Asks how to read a file whose first lines are not numbers, from the choice kept for files
// of its shape or else the guess; keeps the answer for them.
std::optional<ImportChoice> MainWindow::askImport(const ImportQuestion& question) {
    if (!importAnswer_ && !isVisible()) throw CommandFailure(question.reason);
    const std::optional<ImportChoice> remembered = rememberedImport(question);
    ImportDialog dialog(this, question, remembered.value_or(question.proposal.choice),
                        remembered.has_value());
    const bool accepted =
        importAnswer_ ? importAnswer_(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted) return std::nullopt;
    const ImportChoice choice = dialog.choice();
    settings().setValue(importKey(question.proposal.shape), fromUtf8(ImportChoiceText(choice)));
    return choice;
}

void MainWindow::showSuggestedUnits() {
    const std::optional<Units> units = recording_->suggestedUnits();
    unitsButton_->setVisible(units.has_value());
    if (units) {
        unitsButton_->setText(units == Units::Milliseconds ? "Read as milliseconds"
                                                           : "Read as seconds");
    }
}

// One click for what Analysis → Milliseconds does.
void MainWindow::onSuggestedUnits() {
    const bool milliseconds = recording_->suggestedUnits() == Units::Milliseconds;
    menus_.milliseconds->setChecked(milliseconds);
    setMilliseconds(milliseconds);
}

void MainWindow::keepImportIn(bool milliseconds) {
    const std::optional<OpenedRecording>& opened = recording_->opened();
    if (!opened || !opened->import) return;
    ImportChoice choice = *opened->import;
    choice.units = milliseconds ? Units::Milliseconds : Units::Seconds;
    recording_->takeNextImport(choice);
    // Files of its shape are read in these units from now on too. A file that can no longer be
    // read keeps the choice as it was, and its reading says why.
    try {
        if (const auto proposal = ProposeImport(ReadFileHead(opened->path))) {
            settings().setValue(importKey(proposal->shape), fromUtf8(ImportChoiceText(choice)));
        }
    } catch (const CommandFailure&) {
    }
}

// Kept as a whole path, so that a name given relative to the folder of the moment still opens.
// Only what a window on the screen opened counts: an export from the command line leaves the
// list alone.
void MainWindow::addRecentFile(const std::string& path) {
    if (!isVisible()) return;
    std::error_code failed;
    const std::filesystem::path whole = std::filesystem::absolute(path, failed);
    keepRecentFiles(WithRecentFile(recentFiles(), failed ? path : whole.string()));
    showRecentFiles();
}

QList<QAction*> MainWindow::recentFileItems() const {
    const QList<QAction*> items = menus_.file->actions();
    const qsizetype separator = items.indexOf(recentSeparator_);
    return separator < 0 ? QList<QAction*>() : items.mid(separator + 1);
}

// The recent files after a separator at the end of File's menu; none (and no separator)
// before any file was opened. An item may be the one whose Open runs: it goes only later.
void MainWindow::showRecentFiles() {
    QList<QAction*> shown = recentFileItems();
    if (recentSeparator_) shown << recentSeparator_;
    for (QAction* item : shown) {
        menus_.file->removeAction(item);
        item->deleteLater();
    }
    recentSeparator_ = nullptr;
    const std::vector<std::string> files = recentFiles();
    if (files.empty()) return;
    recentSeparator_ = menus_.file->addSeparator();
    for (std::size_t i = 0; i < files.size(); ++i) {
        QAction* item = menus_.file->addAction(fromUtf8(RecentFileCaption(i, files[i])));
        item->setStatusTip(fromUtf8(SafeText(files[i])));
        connect(item, &QAction::triggered, this, [this, path = files[i]] { openRecentFile(path); });
    }
}

// A file that is no longer there is taken off the list, and the status bar says so.
void MainWindow::openRecentFile(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        keepRecentFiles(WithoutRecentFile(recentFiles(), path));
        showRecentFiles();
        runTrapped(
            []() -> bool { throw CommandFailure("no longer there: taken off the recent files"); },
            [&path] { return SafeText(std::filesystem::path(path).filename().string()); });
        return;
    }
    openNativeFile(path);
}

}  // namespace ritmova
