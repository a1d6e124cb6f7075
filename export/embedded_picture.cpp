#include "export/embedded_picture.h"

#include "sketches/bitmap_file.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>

#include <memory>

namespace vardel {

std::optional<EmbeddedPicture> LoadEmbeddedPicture(const QString& path, QString* reason) {
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        if (reason) {
            *reason = QStringLiteral("Nie można odczytać obrazu %1: %2")
                          .arg(QDir::toNativeSeparators(path), reader.errorString());
        }
        return std::nullopt;
    }
    EmbeddedPicture p;
    QBuffer buffer(&p.png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        if (reason) {
            *reason = QStringLiteral("Nie można przekształcić obrazu %1")
                          .arg(QDir::toNativeSeparators(path));
        }
        return std::nullopt;
    }
    p.pixels = image.size();
    // Bitmaps written without a resolution read back as 0 or a few dots per metre; take 96 dpi
    // for those, as word processors do.
    const auto pointsPerPixel = [](int dotsPerMeter) {
        return dotsPerMeter > 100 ? 72.0 / (dotsPerMeter * 0.0254) : 0.75;
    };
    p.widthPoints = p.pixels.width() * pointsPerPixel(image.dotsPerMeterX());
    p.heightPoints = p.pixels.height() * pointsPerPixel(image.dotsPerMeterY());
    return p;
}

PictureSource ProgramDirPictures(const QString& programDir, const QString& runDir) {
    auto cache = std::make_shared<QHash<QString, EmbeddedPicture>>();
    return [programDir, runDir, cache](const QString& fileName,
                                       QString* reason) -> std::optional<EmbeddedPicture> {
        if (const auto it = cache->constFind(fileName); it != cache->cend()) {
            return *it;
        }
        auto p = LoadEmbeddedPicture(PicturePath(programDir, runDir, fileName), reason);
        if (p) {
            cache->insert(fileName, *p);
        }
        return p;
    };
}

}  // namespace vardel
