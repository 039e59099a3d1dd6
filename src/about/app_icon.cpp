#include "about/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace ritmova {

QImage RenderAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    painter.setPen(QPen(QColor(120, 10, 20), 1.0));
    painter.setBrush(QColor(200, 30, 45));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);

    // One beat of an ECG: baseline, P wave, the QRS spike, T wave, baseline.
    QPainterPath trace;
    trace.moveTo(3, 18);
    trace.lineTo(8, 18);
    trace.quadTo(10, 15, 12, 18);
    trace.lineTo(14, 18);
    trace.lineTo(15.5, 21);
    trace.lineTo(18, 5);
    trace.lineTo(20.5, 25);
    trace.lineTo(22, 18);
    trace.quadTo(25, 13, 27, 18);
    trace.lineTo(29, 18);
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trace);
    return image;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(QPixmap::fromImage(RenderAppIcon(size)));
    }
    return icon;
}

}  // namespace ritmova
