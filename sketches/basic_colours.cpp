#include "sketches/basic_colours.h"

#include <array>

namespace vardel {

QColor BasicColourValue(int number) {
    // Dark colours at half intensity, light ones at full; 7 is the light grey of dialog faces.
    static constexpr std::array<QRgb, 16> kPalette = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
    };
    if (number < 0 || number >= static_cast<int>(kPalette.size())) {
        return QColor(kPalette[0]);
    }
    return QColor(kPalette[static_cast<std::size_t>(number)]);
}

}  // namespace vardel
