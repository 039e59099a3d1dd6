#include "ui/window_notes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/safe_text.h"

namespace ritmova {
namespace {

QString shownPath(const std::string& path) {
    return QString::fromStdString(SafeText(path));
}

}  // namespace

QString SavedNote(const std::string& path) {
    return "Results saved to " + shownPath(path);
}

QString ExportedNote(const std::string& path) {
    return "Image exported to " + shownPath(path);
}

QString ImageNameFor(const std::string& recording) {
    if (recording.empty() || recording == "-") return {};
    const QFileInfo file(QFile::decodeName(recording.c_str()));
    const QString base = file.completeBaseName();
    return file.dir().filePath((base.isEmpty() ? file.fileName() : base) + ".png");
}

QString PrintedLine(const QString& shown, const QDateTime& when) {
    if (shown.isEmpty()) return {};
    return shown + QString::fromUtf8(" \u00b7 printed ") + when.toString("yyyy-MM-dd HH:mm");
}

}  // namespace ritmova
