#pragma once

#include <QFont>
#include <QString>

namespace ritmova {

// The characters the results summary is made of, apart from the file's name: every printable
// ASCII character and the superscript two of its units.
QString SummaryCharacters();

// Whether every character of `text` has the same advance width in `font`.
bool HasEqualAdvances(const QFont& font, const QString& text);

// `font` in a face whose every character of `text` has the same advance width: the face
// that `family` resolves to when it is such a face, else the system's fixed-width face, else
// the first installed family that is. A face is told by its widths, not by its name or by
// what fontconfig says of it: some fixed-width faces (Nimbus Mono PS, Noto Sans Mono) are
// not marked monospaced, and a name may resolve to any face.
QFont FixedWidthFont(QFont font, const QString& family, const QString& text);

}  // namespace ritmova
