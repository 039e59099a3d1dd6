#include "ui/fixed_width_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

namespace ritmova {

QString SummaryCharacters() {
    QString text;
    for (char c = ' '; c <= '~'; ++c) text += QChar(c);
    return text + QChar(0x00b2);
}

bool HasEqualAdvances(const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(QChar(' '));
    for (const QChar c : text) {
        if (metrics.horizontalAdvance(c) != width) return false;
    }
    return width > 0;
}

QFont FixedWidthFont(QFont font, const QString& family, const QString& text) {
    font.setFamilies({family});
    font.setStyleHint(QFont::Monospace);
    if (HasEqualAdvances(font, text)) return font;
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies(system.families());
    if (HasEqualAdvances(font, text)) return font;
    for (const QString& candidate : QFontDatabase::families()) {
        font.setFamilies({candidate});
        if (HasEqualAdvances(font, text)) return font;
    }
    font.setFamilies({family});  // none is: the nearest the system offers
    return font;
}

}  // namespace ritmova
