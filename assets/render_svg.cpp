// Renders an SVG drawing to a 24-bit bitmap of a given pixel size on white, for the pictures
// installed with the program, recording DPI as its resolution.
// Usage: vardel_render_svg INPUT.svg OUTPUT.bmp WIDTH HEIGHT [DPI]
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
    const bool sized = args.size() == 5 || args.size() == 6;
    const int width = sized ? args[3].toInt(&okW) : 0;
    const int height = sized ? args[4].toInt(&okH) : 0;
    bool okDpi = true;
    const double dpi = args.size() == 6 ? args[5].toDouble(&okDpi) : 96;
    if (!okW || !okH || !okDpi || width <= 0 || height <= 0 || !(dpi > 0)) {
        std::fprintf(stderr, "usage: vardel_render_svg INPUT.svg OUTPUT.bmp WIDTH HEIGHT [DPI]\n");
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: not a drawing that can be rendered\n", qPrintable(args[1]));
        return 1;
    }
    QImage image = vardel::RenderSvgOnWhite(renderer, QSize(width, height));
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
    const QString error = vardel::SaveBitmapWhole(image, args[2]);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
