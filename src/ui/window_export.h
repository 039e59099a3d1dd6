#pragma once

#include <QString>

class QWidget;

namespace ritmova {

// File → Export image: the patterns of the export dialog, PNG first.
inline constexpr const char* ImageFilter =
    "PNG Image (*.png)|*.png|SVG Drawing (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf";

// Writes `client` as shown to `path`, as PNG (at the client's size in pixels), SVG or PDF (one
// page of the client's size) by the file's suffix, through RecordWindow and DrawRecording. The file
// is written to a temporary file beside it and renamed, so a failed export leaves an existing file
// as it was. Throws CommandFailure with the reason.
void ExportWindowImage(QWidget& client, const QString& path);

}  // namespace ritmova
