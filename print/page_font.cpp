#include "print/page_font.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace vardel {

QFont PageFont(double height_mm, bool bold, bool italic, bool underline) {
    QFont font(QString::fromLatin1(kPageFontFamily));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(height_mm * kPageFontUnitsPerMm))));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    // Positions must not depend on the device: no hinting, no kerning (the EMF carries one
    // advance per character).
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

double PageTextWidth_mm(const QString& text, double height_mm, bool bold) {
    return QFontMetricsF(PageFont(height_mm, bold)).horizontalAdvance(text) / kPageFontUnitsPerMm;
}

}  // namespace vardel
