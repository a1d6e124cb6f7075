// The page picture that the print program leaves as an EMF file, turned into an image for the
// results window: EMF to SVG with libemf2svg, SVG to pixels with QtSvg.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QSvgRenderer;

namespace vardel {

struct PagePicture {
    QImage image;     // null when the picture could not be read
    QString message;  // why, in the program's words; empty on success
};

// The SVG text for the EMF bytes, with the two attributes QtSvg needs to show it faithfully
// (blanks kept, small bitmaps not smoothed); empty when the bytes are not an EMF picture.
QByteArray EmfToSvg(const QByteArray& emf);

// Draws an SVG drawing `size` pixels large on white, smoothed.
QImage RenderSvgOnWhite(QSvgRenderer& renderer, QSize size);

// Reads the EMF file and draws it `widthPx` pixels wide (height by the picture's aspect) on
// white. The file is left in place.
PagePicture LoadPagePicture(const QString& emfPath, int widthPx);

}  // namespace vardel
