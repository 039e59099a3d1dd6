#include "ui/window_printing.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>
#include <algorithm>

#include "common/command_failure.h"

namespace ritmova {
namespace {

void startPainter(QPainter& painter, QPrinter& printer) {
    if (!painter.begin(&printer)) {
        throw CommandFailure(
            "the printer could not be started; choose a printer, or a PDF file, in Printer "
            "Setup");
    }
}

}  // namespace

void PrintWidgetImage(QPrinter& printer, QWidget& widget) {
    const QPixmap shown = widget.grab();
    QPainter painter;
    startPainter(painter, printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF size = widget.size();
    const double scale = std::min(page.width() / size.width(), page.height() / size.height());
    const QSizeF printed = size * scale;
    const QPointF corner((page.width() - printed.width()) / 2,
                         (page.height() - printed.height()) / 2);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(corner, printed), shown, QRectF(shown.rect()));
}

void PrintPlainText(QPrinter& printer, const QString& text, const QFont& font) {
    QPainter painter;
    startPainter(painter, printer);
    painter.setFont(font);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.drawText(QRectF(QPointF(0, 0), page.size()), Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace ritmova
