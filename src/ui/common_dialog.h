#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "ui/window_port.h"

class QFileDialog;
class QPrintDialog;
class QPrinter;
class QWidget;

namespace ritmova {

// The filter of a common dialog ("Description|pattern|Description|pattern") as Qt name
// filters. A pattern "*.*" means every file, as it does on Windows.
QStringList QtNameFilters(std::string_view filter);

// Refuses, with a CommandFailure, a path to open that names a folder ("is a folder") or
// anything else that is not a regular file, such as a FIFO, a socket or a device ("is not a
// regular file"), by the reader's own rule (RequireRegularFile). Checked with stat(), never by
// opening, so such a file cannot block the window. A path that does not exist passes: the
// reader gives its own reason.
void RequireRegularFileToOpen(const std::string& path);

// A common dialog component over Qt's file and print dialogs. It keeps the chosen file name
// between uses and offers it again. A file chosen to open must be a regular file. The dialogs are
// answered by the user, or by a script that a test installs.
class QtCommonDialog final : public CommonDialog {
  public:
    // Answers a file dialog: the chosen path, or nothing for a cancel.
    using FileAnswer = std::function<std::optional<QString>(QFileDialog&)>;
    // Answers the printer dialog: true when accepted.
    using PrinterAnswer = std::function<bool(QPrintDialog&)>;

    QtCommonDialog(QWidget* parent, QPrinter& printer);

    void setFilter(std::string_view filter) override;
    void setFilterIndex(int index) override;
    bool showOpen() override;
    bool showSave() override;
    bool showPrinter() override;
    std::string fileName() const override;
    // The same name as Qt gives it.
    const QString& chosenPath() const { return fileName_; }

    // The next showOpen or showSave returns `path` as chosen, without showing a dialog.
    void chooseNext(const QString& path);
    // The same for a name's bytes as the system takes them, which Qt's text may not hold.
    void chooseNextNative(const std::string& path);
    void setFileAnswer(FileAnswer answer) { fileAnswer_ = std::move(answer); }
    void setPrinterAnswer(PrinterAnswer answer) { printerAnswer_ = std::move(answer); }
    // A name typed without a suffix gets the chosen file type's (for Export image).
    void setSuffixFromFilter(bool follow) { suffixFromFilter_ = follow; }
    // The file dialog's title, for what it does, instead of the system's own ("Save As").
    void setTitle(const QString& title) { title_ = title; }
    // Offers `path` in the file dialog while no name was chosen since it was first suggested:
    // a name chosen is offered again until another path is suggested.
    void suggestName(const QString& path);

  private:
    bool showFile(bool saving);
    static void followFilterSuffix(QFileDialog& dialog);

    QWidget* parent_;
    QPrinter& printer_;
    QStringList nameFilters_;
    int filterIndex_ = 0;
    bool suffixFromFilter_ = false;
    QString fileName_;
    QString title_;
    QString offered_;         // the name the file dialog offers
    QString suggested_;       // the last suggestion
    std::string nativeName_;  // fileName() as chosen: its bytes
    std::optional<std::string> nextChoice_;
    FileAnswer fileAnswer_;
    PrinterAnswer printerAnswer_;
};

}  // namespace ritmova
