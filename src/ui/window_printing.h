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

// The one drawing of the window for printers and image files: the client area (every
// control on it) recorded at the screen's resolution, with its size in pixels. Text and
// lines stay vectors where the device keeps them (printer, PDF, SVG).
struct WindowRecording {
    QPicture picture;
    QSize size;
};
WindowRecording RecordWindow(QWidget& client);

// `recording` with a line of text in `font` beside it, outside the window's own area (above
// it with Qt::AlignTop, else below it), so that a print or an image names what it shows; as it
// was for an empty `line`.
WindowRecording WithLine(const WindowRecording& recording, const QString& line, const QFont& font,
                         Qt::Alignment side);

// Draws `recording` into `target`, in the painter's coordinates, at the largest size that
// keeps its proportions, centred. Text keeps its size relative to the window only on a device
// of the recording's logical resolution (a QPicture sizes fonts by the device's), so printers
// and PDF writers are set to it: their output is vector, so no detail is lost.
void DrawRecording(const WindowRecording& recording, QPainter& painter, const QRectF& target);

// Prints `client` on one page of `printer`, in the orientation that fits it best (landscape
// for a wide window), within margins of PrintMarginMm. The printer's own page layout and
// resolution are restored afterwards. `header`, if any, heads the page. Throws CommandFailure
// when the printer cannot be started.
void PrintWindow(QPrinter& printer, QWidget& client, const QString& header = {});

// Prints `text` on one page in `font`, from the page's top-left corner.
void PrintPlainText(QPrinter& printer, const QString& text, const QFont& font);

}  // namespace ritmova
