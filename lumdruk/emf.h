// The page as an Enhanced Metafile, and an EMF read back as SVG for display.
#pragma once

#include "lumdruk/layout.h"

#include <QByteArray>
#include <QString>

namespace vardel::lumdruk {

// The page as EMF bytes: MM_TEXT with one device unit = 0.01 mm, the bounds covering the A4
// paper, geometric pens, texts as UTF-16 with one advance per unit, 24-bit bitmaps.
// Empty when the metafile cannot be built. With `maxPixelsPerMm` > 0 a bitmap finer than that
// is carried at that density: a picture for the screen need not carry the print's pixels.
QByteArray EmfBytes(const Page& page, double maxPixelsPerMm = 0);

// The density of the page picture that the results window shows: enough for a window as wide
// as a screen at twice the ordinary pixel density.
constexpr double kPreviewPixelsPerMm = 8;

}  // namespace vardel::lumdruk
