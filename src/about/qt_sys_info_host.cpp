#include "about/qt_sys_info_host.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace ritmova {

namespace {

// Registry texts are in the system's 8-bit code page.
QString FromSystemText(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtSysInfoHost::QtSysInfoHost(QWidget* parent) : parent_(parent), registry_(OpenSystemRegistry()) {}

bool QtSysInfoHost::FileExists(const std::string& path) {
    return QFileInfo(FromSystemText(path)).isFile();
}

std::optional<std::string> QtSysInfoHost::FindExecutable(std::string_view name) {
    const QString path = QStandardPaths::findExecutable(FromSystemText(name));
    if (path.isEmpty()) return std::nullopt;
    return path.toLocal8Bit().toStdString();
}

bool QtSysInfoHost::StartDetached(const std::string& path) {
    return QProcess::startDetached(FromSystemText(path), {});
}

void QtSysInfoHost::ShowMessage(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption.data(), caption.size()),
                    QString::fromUtf8(text.data(), text.size()), QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace ritmova
