#include "sketches/bitmap_file.h"

#include <QImageWriter>
#include <QSaveFile>

namespace vardel {

QString SaveBitmapWhole(const QImage& image, const QString& path) {
    if (image.isNull()) {
        return QStringLiteral("Brak rysunku do zapisania w pliku %1").arg(path);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, file.errorString());
    }
    // The writer gives 24 bits per pixel for any image without a palette; the format is fixed so
    // that readers of the bitmap never meet an alpha channel.
    QImageWriter writer(&file, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        file.cancelWriting();
        return QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, writer.errorString());
    }
    if (!file.commit()) {
        return QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, file.errorString());
    }
    return {};
}

QString JoinPath(const QString& dir, const QString& name) {
    if (dir.endsWith(u'/')) {
        return dir + name;
    }
    return dir + u'/' + name;
}

}  // namespace vardel
