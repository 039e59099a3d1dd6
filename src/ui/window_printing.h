#pragma once

#include <QString>

class QFont;
class QPrinter;
class QWidget;

namespace ritmova {

// Prints an image of `widget` as it is shown, scaled to fit one page and centred on it. Throws
// CommandFailure when the printer cannot be started.
void PrintWidgetImage(QPrinter& printer, QWidget& widget);

// Prints `text` on one page in `font`, from the page's top-left corner.
void PrintPlainText(QPrinter& printer, const QString& text, const QFont& font);

}  // namespace ritmova
