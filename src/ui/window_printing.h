#pragma once

#include <QPicture>
#include <QRectF>
#include <QString>

class QFont;
class QPainter;
class QPrinter;
class QWidget;

namespace ritmova {

// The margin around the window on a printed page, on every side.
inline constexpr double PrintMarginMm = 12.0;

// The window's client area drawn at the screen's resolution, and its size in pixels.
struct WindowRecording {
    QPicture picture;
    QSize size;
};
WindowRecording RecordWindow(QWidget& client);

// Draws `recording` into `target`, in the painter's coordinates, at the largest size that
// keeps its proportions, centred.
void DrawRecording(const WindowRecording& recording, QPainter& painter, const QRectF& target);

// Draws `client` (the window's client area with every control on it) into `target`, in the
// painter's coordinates, at the largest size that keeps its proportions, centred. The one
// drawing of the window for printers and image files: text and lines stay vectors where the
// painter's device keeps them (printer, PDF, SVG).
void RenderWindow(QWidget& client, QPainter& painter, const QRectF& target);

// Prints `client` on one page of `printer`, in the orientation that fits it best (landscape
// for a wide window), within margins of PrintMarginMm. The printer's own page layout is
// restored afterwards. Throws CommandFailure when the printer cannot be started.
void PrintWindow(QPrinter& printer, QWidget& client);

// Prints `text` on one page in `font`, from the page's top-left corner.
void PrintPlainText(QPrinter& printer, const QString& text, const QFont& font);

}  // namespace ritmova
