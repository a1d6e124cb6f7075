// The pictures installed with the program, for the windows: drawn at the screen's pixel density.
#pragma once

#include <QPixmap>
#include <QString>

namespace vardel {

// The installed bitmap at `bitmapPath` as a window shows it: at its size in 96-dpi pixels (what
// its recorded resolution says), drawn from the SVG of the same name beside it at
// `devicePixelRatio`, or the bitmap itself scaled when the drawing is missing. A null pixmap
// when neither can be read.
QPixmap InstalledPicture(const QString& bitmapPath, qreal devicePixelRatio);

}  // namespace vardel
