// The page as an Enhanced Metafile, and an EMF read back as SVG for display.
#pragma once

#include "lumdruk/layout.h"

#include <QByteArray>
#include <QString>

namespace vardel::lumdruk {

// The page as EMF bytes: MM_TEXT with one device unit = 0.01 mm, the bounds covering the A4
// paper, geometric pens, texts as UTF-16 with one advance per unit, 24-bit bitmaps.
// Empty when the metafile cannot be built.
QByteArray EmfBytes(const Page& page);

}  // namespace vardel::lumdruk
