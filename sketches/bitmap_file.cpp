#include "sketches/bitmap_file.h"

#include "state/file_write.h"

#include <QBuffer>
#include <QImageWriter>

namespace vardel {

QString SaveBitmapWhole(const QImage& image, const QString& path) {
    if (image.isNull()) {
        return QStringLiteral("Brak rysunku do zapisania w pliku %1").arg(path);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // The writer gives 24 bits per pixel for any image without a palette; the format is fixed so
    // that readers of the bitmap never meet an alpha channel.
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        return QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, writer.errorString());
    }
    const QString reason = WriteWholeFile(path, bytes);
    if (!reason.isEmpty()) {
        return QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, reason);
    }
    return {};
}

QString JoinPath(const QString& dir, const QString& name) {
    if (dir.endsWith(u'/')) {
        return dir + name;
    }
    return dir + u'/' + name;
}

QString NmDiagramFileName() {
    return QStringLiteral("WykresNM.png");
}

QString PicturePath(const QString& programDir, const QString& runDir, const QString& fileName) {
    const bool drawnByRun = fileName == u"Piersc.bmp" || fileName == u"Szkick.bmp" ||
                            fileName == NmDiagramFileName() ||
                            (fileName.startsWith(u"SzkicOK") && fileName.endsWith(u".bmp"));
    return JoinPath(drawnByRun && !runDir.isEmpty() ? runDir : programDir, fileName);
}

}  // namespace vardel
