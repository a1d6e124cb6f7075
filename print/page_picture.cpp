#include "print/page_picture.h"

#include "state/file_read.h"

#include <QPainter>
#include <QSvgRenderer>

#include <emf2svg.h>

#include <locale.h>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace vardel {

QByteArray EmfToSvg(const QByteArray& emf) {
    // The smallest EMF is a header record; anything shorter is not worth handing to the
    // converter, and an EMF must start with record type 1.
    if (emf.size() < 88 || emf[0] != 1 || emf[1] != 0 || emf[2] != 0 || emf[3] != 0) {
        return {};
    }
    generatorOptions options{};
    char noNamespace[] = "";
    options.nameSpace = noNamespace;
    options.verbose = false;
    options.emfplus = false;
    options.svgDelimiter = true;
    options.imgWidth = 0;
    options.imgHeight = 0;

    QByteArray input = emf;  // the converter takes a writable buffer
    char* out = nullptr;
    std::size_t outLength = 0;
    // The converter prints its coordinates with printf, whose decimal point is the process
    // locale's (a comma under a Polish desktop, which the SVG reader cannot take): it runs in the
    // C locale on this thread.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const locale_t previous = uselocale(cLocale);
    const int ok =
        emf2svg(input.data(), static_cast<std::size_t>(input.size()), &out, &outLength, &options);
    uselocale(previous);
    QByteArray svg;
    if (ok && out != nullptr && outLength > 0) {
        svg = QByteArray(out, static_cast<qsizetype>(outLength));
    }
    std::free(out);
    if (svg.isEmpty()) {
        return {};
    }
    // QtSvg collapses runs of blanks unless told to keep them, and smooths the small sketch
    // bitmaps into a blur when they are scaled up.
    const qsizetype root = svg.indexOf("<svg");
    if (root < 0) {
        return {};
    }
    svg.insert(root + 4, " xml:space=\"preserve\" image-rendering=\"optimizeSpeed\"");
    return svg;
}

PagePicture LoadPagePicture(const QString& emfPath, int widthPx) {
    const WholeFile file = ReadWholeFile(emfPath, kMaxPictureFileBytes);
    if (file.failure == ReadFailure::Missing) {
        return {{},
                QStringLiteral("Program drukujący nie zostawił obrazu strony (%1).").arg(emfPath)};
    }
    if (!file.ok()) {
        return {
            {},
            QStringLiteral("Nie można odczytać obrazu strony %1: %2").arg(emfPath, file.Reason())};
    }
    const QByteArray svg = EmfToSvg(file.bytes);
    if (svg.isEmpty()) {
        return {{}, QStringLiteral("Plik %1 nie jest poprawnym obrazem strony.").arg(emfPath)};
    }
    QSvgRenderer renderer(svg);
    const QRectF box = renderer.viewBoxF();
    if (!renderer.isValid() || !(box.width() > 0) || !(box.height() > 0) || widthPx <= 0) {
        return {{}, QStringLiteral("Plik %1 nie jest poprawnym obrazem strony.").arg(emfPath)};
    }
    const int heightPx =
        std::max(1, static_cast<int>(std::lround(widthPx * box.height() / box.width())));
    return {RenderSvgOnWhite(renderer, QSize(widthPx, heightPx)), {}};
}

QImage RenderSvgOnWhite(QSvgRenderer& renderer, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

}  // namespace vardel
