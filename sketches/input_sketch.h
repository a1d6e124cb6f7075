// The plan of the ring plate and its bolts on the bolts tab of the input window, drawn to scale
// from the texts of the radius and bolt fields while the user types.
#pragma once

#include "state/design_case.h"

#include <QImage>
#include <QLocale>
#include <QString>

namespace vardel {

// The four fields the sketch reads.
struct InputSketchFields {
    QString Text3;   // outer radius Rz, mm
    QString Text4;   // inner radius Rw, mm
    QString Text11;  // bolt-circle radius, mm
    QString Text12;  // number of bolts
};

// The sketch is laid out in twips, 15 to a logical pixel: a bolt mark of 25 twips is about two
// pixels across whatever the picture's size.
constexpr int kInputSketchTwipsPerPixel = 15;
constexpr int kInputSketchBoltMarkTwips = 25;

// Takes the four fields over into R_zewn, R_wewn, R_srub and Liczba_srub (a field that does not
// convert keeps the member's value), then clears `picture` and draws: the outer edge at 80 % of
// half the picture's width, the hole and the dashed cyan bolt circle to the same scale, one
// light-red dot per bolt, the first right of the centre and the rest clockwise. A step that cannot
// be done (an outer radius of 0) is left out and the drawing goes on. The picture's device pixel
// ratio is honoured, so a sketch for a high-density screen is drawn at its full resolution.
void Rysuj_P1(DesignCase& s, const InputSketchFields& fields, QImage& picture,
              const QLocale& locale);

}  // namespace vardel
