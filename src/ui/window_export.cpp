#include "ui/window_export.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QWidget>

#include "common/command_failure.h"
#include "report/file_save.h"
#include "ui/fixed_width_font.h"
#include "ui/window_printing.h"

namespace ritmova {
namespace {

[[noreturn]] void failWith(const QString& reason) {
    throw CommandFailure("could not be written: " + reason.toStdString());
}

void paintPng(const WindowRecording& window, QIODevice& file) {
    QImage image(window.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawRecording(window, painter, QRectF(image.rect()));
    painter.end();
    if (!image.save(&file, "PNG")) failWith("the PNG image could not be encoded");
}

// The families of the fixed-width fonts that `client` and its controls are set in.
QStringList fixedWidthFamilies(const QWidget& client) {
    QStringList families;
    QList<const QWidget*> widgets{&client};
    for (const QWidget* child : client.findChildren<QWidget*>()) widgets << child;
    for (const QWidget* widget : widgets) {
        const QFont& font = widget->font();
        if (!HasEqualAdvances(font, SummaryCharacters())) continue;
        for (const QString& family : font.families()) {
            if (!families.contains(family)) families << family;
        }
    }
    return families;
}

void paintSvg(const WindowRecording& window, QIODevice& file) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(window.size);
    svg.setViewBox(QRect(QPoint(), window.size));
    svg.setResolution(window.picture.logicalDpiX());
    svg.setTitle("Ritmova");
    QPainter painter;
    if (!painter.begin(&svg)) failWith("the SVG drawing could not be started");
    DrawRecording(window, painter, QRectF(QPointF(), window.size));
}

// One page of the client's size, without margins, in the recording's units (see
// DrawRecording); the page stays vector.
void paintPdf(const WindowRecording& window, QIODevice& file) {
    QPdfWriter pdf(&file);
    pdf.setCreator("Ritmova");
    pdf.setResolution(window.picture.logicalDpiX());
    const double pointsPerPixel = 72.0 / window.picture.logicalDpiX();
    pdf.setPageSize(QPageSize(QSizeF(window.size) * pointsPerPixel, QPageSize::Point, QString(),
                              QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF());
    QPainter painter;
    if (!painter.begin(&pdf)) failWith("the PDF document could not be started");
    DrawRecording(window, painter, QRectF(0, 0, pdf.width(), pdf.height()));
}

}  // namespace

QByteArray WithMonospaceFallback(const QByteArray& svg, const QStringList& fixedWidth) {
    QByteArray result = svg;
    for (const QString& family : fixedWidth) {
        QString quoted = family;
        quoted.replace('\\', "\\\\").replace('\'', "\\'").replace('&', "&amp;");
        quoted.replace('"', "&quot;").replace('<', "&lt;");
        const QByteArray from = "font-family=\"" + family.toHtmlEscaped().toUtf8() + '"';
        result.replace(from, "font-family=\"'" + quoted.toUtf8() + "', monospace\"");
    }
    return result;
}

void ExportWindowImage(QWidget& client, const std::string& path, const std::string& recording,
                       const QString& caption) {
    const QString suffix = QFileInfo(QFile::decodeName(path.c_str())).suffix().toLower();
    const auto paint = suffix == "png"   ? paintPng
                       : suffix == "svg" ? paintSvg
                       : suffix == "pdf" ? paintPdf
                                         : nullptr;
    if (!paint) {
        throw CommandFailure("is not an image name: end it in .png, .svg or .pdf");
    }
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        throw CommandFailure("is a folder");
    }
    const WindowRecording window =
        WithLine(RecordWindow(client), caption, client.font(), Qt::AlignBottom);
    QByteArray image;
    QBuffer buffer(&image);
    buffer.open(QIODevice::WriteOnly);
    paint(window, buffer);
    buffer.close();
    if (paint == paintSvg) image = WithMonospaceFallback(image, fixedWidthFamilies(client));
    try {
        SaveFile(path, std::string_view(image.constData(), static_cast<std::size_t>(image.size())),
                 recording);
    } catch (const SaveFailure& failure) {
        failWith(QString::fromStdString(failure.reason()));
    }
}

void ExportWindowImage(QWidget& client, const QString& path) {
    ExportWindowImage(client, QFile::encodeName(path).toStdString());
}

}  // namespace ritmova
