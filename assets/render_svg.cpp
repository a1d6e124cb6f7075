// Renders an SVG drawing to a 24-bit bitmap of a given pixel size on white, for the pictures
// installed with the program. Usage: vardel_render_svg INPUT.svg OUTPUT.bmp WIDTH HEIGHT
#include "print/page_picture.h"
#include "sketches/bitmap_file.h"

#include <QGuiApplication>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool okW = false;
    bool okH = false;
    const int width = args.size() == 5 ? args[3].toInt(&okW) : 0;
    const int height = args.size() == 5 ? args[4].toInt(&okH) : 0;
    if (!okW || !okH || width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: vardel_render_svg INPUT.svg OUTPUT.bmp WIDTH HEIGHT\n");
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: not a drawing that can be rendered\n", qPrintable(args[1]));
        return 1;
    }
    const QImage image = vardel::RenderSvgOnWhite(renderer, QSize(width, height));
    const QString error = vardel::SaveBitmapWhole(image, args[2]);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
