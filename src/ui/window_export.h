#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>

class QWidget;

namespace ritmova {

// File → Export image: the patterns of the export dialog, PNG first.
inline constexpr const char* ImageFilter =
    "PNG Image (*.png)|*.png|SVG Drawing (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf";

// Writes `client` as shown to `path` (its bytes, as the system takes them), as PNG (at the
// client's size in pixels), SVG or PDF (one page of the client's size) by the file's suffix,
// through RecordWindow and DrawRecording. The file is saved by SaveFile's rules
// (report/file_save.h): a regular file is written to a temporary file beside it and renamed, so
// a failed export leaves an existing file as it was; a device or FIFO is written as it is; the
// file at `recording` is never replaced. `caption`, if any, is a line under the window that
// says what it shows. Throws CommandFailure with the reason.
void ExportWindowImage(QWidget& client, const std::string& path, const std::string& recording = "",
                       const QString& caption = {});
// An SVG drawing's font families with a generic fallback where a viewer may lack the face:
// font-family="Courier New" becomes font-family="'Courier New', monospace" for each family in
// `fixedWidth`; the other families are left as they are.
QByteArray WithMonospaceFallback(const QByteArray& svg, const QStringList& fixedWidth);

// The same for a name as Qt holds it.
void ExportWindowImage(QWidget& client, const QString& path);

}  // namespace ritmova
