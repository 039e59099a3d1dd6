#include "ui/window_printing.h"

#include <QFontMetrics>
#include <QLayout>
#include <QPainter>
#include <QPicture>
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

// Puts the printer's page layout back when printing ends, however it ends.
class PageLayoutKept {
  public:
    explicit PageLayoutKept(QPrinter& printer)
        : printer_(printer), kept_(printer.pageLayout()), resolution_(printer.resolution()) {}
    ~PageLayoutKept() {
        printer_.setPageLayout(kept_);
        printer_.setResolution(resolution_);
    }
    PageLayoutKept(const PageLayoutKept&) = delete;
    PageLayoutKept& operator=(const PageLayoutKept&) = delete;

  private:
    QPrinter& printer_;
    QPageLayout kept_;
    int resolution_;
};

}  // namespace

// A QPicture keeps fonts at their recorded size relative to the layout, where rendering
// straight onto a printer would size the text by the printer's resolution. A window never
// shown (an export from the command line) is laid out first, as showing it would.
WindowRecording RecordWindow(QWidget& client) {
    QWidget& window = *client.window();
    if (!window.isVisible() && window.layout()) window.layout()->setGeometry(window.rect());
    WindowRecording recording;
    QPainter recorder(&recording.picture);
    client.render(&recorder, QPoint(), QRegion(),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    recorder.end();
    recording.size = client.size();
    return recording;
}

WindowRecording WithLine(const WindowRecording& recording, const QString& line, const QFont& font,
                         Qt::Alignment side) {
    if (line.isEmpty()) return recording;
    const QFontMetrics metrics(font);
    const int band = metrics.height() * 3 / 2, margin = metrics.averageCharWidth();
    const bool above = side.testFlag(Qt::AlignTop);
    WindowRecording lined;
    lined.size = recording.size + QSize(0, band);
    QPainter painter(&lined.picture);
    painter.drawPicture(0, above ? band : 0, recording.picture);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect room(margin, above ? 0 : recording.size.height(), lined.size.width() - 2 * margin,
                     band);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(line, Qt::ElideMiddle, room.width()));
    painter.end();
    return lined;
}

void DrawRecording(const WindowRecording& recording, QPainter& painter, const QRectF& target) {
    const QSizeF size = recording.size;
    const double scale = std::min(target.width() / size.width(), target.height() / size.height());
    const QSizeF drawn = size * scale;
    painter.save();
    painter.translate(target.center() - QPointF(drawn.width() / 2, drawn.height() / 2));
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(QPointF(), size));
    painter.drawPicture(0, 0, recording.picture);
    painter.restore();
}

void PrintWindow(QPrinter& printer, QWidget& client, const QString& header) {
    const PageLayoutKept kept(printer);
    const WindowRecording recording =
        WithLine(RecordWindow(client), header, client.font(), Qt::AlignTop);
    printer.setResolution(recording.picture.logicalDpiX());
    const bool wide = recording.size.width() > recording.size.height();
    printer.setPageOrientation(wide ? QPageLayout::Landscape : QPageLayout::Portrait);
    const double margin = PrintMarginMm;
    printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
    QPainter painter;
    startPainter(painter, printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    DrawRecording(recording, painter, QRectF(QPointF(0, 0), page.size()));
}

void PrintPlainText(QPrinter& printer, const QString& text, const QFont& font) {
    QPainter painter;
    startPainter(painter, printer);
    painter.setFont(font);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.drawText(QRectF(QPointF(0, 0), page.size()), Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace ritmova
