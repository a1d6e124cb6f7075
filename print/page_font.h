// The font that page texts are drawn in, shared by the page-file writer, which must know how
// wide a line will be before it places a picture beside it or breaks the line, and by the print
// program, which draws it.
#pragma once

#include <QFont>
#include <QString>

namespace vardel {

constexpr const char* kPageFontFamily = "DejaVu Sans";
// Fonts are sized in units of 0.01 mm (the em size in those units as pixel size), so that
// metrics and drawing agree on every device.
constexpr double kPageFontUnitsPerMm = 100;

// The page font with an em size of `height_mm`.
QFont PageFont(double height_mm, bool bold = false, bool italic = false, bool underline = false);

// How far a text in the page font advances, in millimetres.
double PageTextWidth_mm(const QString& text, double height_mm, bool bold = false);

}  // namespace vardel
