// The 16 basic colours that the sketches are drawn in, by their classic palette numbers.
#pragma once

#include <QColor>

namespace vardel {

enum BasicColour {
    kBlack = 0,
    kBlue = 1,
    kGreen = 2,
    kCyan = 3,
    kRed = 4,
    kMagenta = 5,
    kYellow = 6,
    kLightGrey = 7,
    kGrey = 8,
    kLightBlue = 9,
    kLightGreen = 10,
    kLightCyan = 11,
    kLightRed = 12,
    kLightMagenta = 13,
    kLightYellow = 14,
    kWhite = 15,
};

// Colour number 0..15; a number outside the palette gives black, as a drawing with an unknown
// colour should still show its lines.
QColor BasicColourValue(int number);

}  // namespace vardel
