#include "ui/installed_picture.h"

#include "print/page_picture.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace vardel {

QPixmap InstalledPicture(const QString& bitmapPath, qreal devicePixelRatio) {
    const QImage bitmap(bitmapPath);
    if (bitmap.isNull()) {
        return {};
    }
    // A bitmap that records no resolution counts as 96 dpi.
    const double dpi = bitmap.dotsPerMeterX() > 100 ? bitmap.dotsPerMeterX() * 0.0254 : 96;
    const QSize logical(std::max(1, static_cast<int>(std::lround(bitmap.width() * 96 / dpi))),
                        std::max(1, static_cast<int>(std::lround(bitmap.height() * 96 / dpi))));
    const QSize pixels = logical * std::max<qreal>(1, devicePixelRatio);
    const QFileInfo info(bitmapPath);
    QSvgRenderer drawing(info.dir().filePath(info.completeBaseName() + QStringLiteral(".svg")));
    QImage image = drawing.isValid()
                       ? RenderSvgOnWhite(drawing, pixels)
                       : bitmap.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(std::max<qreal>(1, devicePixelRatio));
    return QPixmap::fromImage(image);
}

}  // namespace vardel
