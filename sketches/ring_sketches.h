// The plan of the ring plate with its bolts and, per partly compressed load case, the ring with
// its compressed zone hatched and the neutral axis marked. Both are saved as bitmaps in the
// program directory, where the page files and the exports pick them up by name.
#pragma once

#include "state/design_case.h"

#include <QImage>
#include <QString>

namespace vardel {

// The canvases are laid out in units of 15 twips (one screen pixel of the window they were
// designed for): the plan is 3060 twips = 204 units square, a case sketch 1350 twips = 90 units.
// Radii, dot sizes and line widths are in these units. Each unit becomes kSketchPixelsPerUnit
// pixels of the bitmap: five give more than 300 dpi wherever a sketch is placed (the plan 59.8 mm
// wide on the page, a case sketch 26.4 mm on the page and 35 mm in the RTF). The bitmaps record
// 96 dpi per pixel of a unit, so that a reader that sizes a picture by its resolution (the Word
// document) keeps the size one unit to a 96-dpi pixel gave. The print program carries finer
// pixels than the screen needs into the page picture of the results window at a screen's
// density only.
constexpr int kSketchTwipsPerUnit = 15;
constexpr int kPlanCanvasUnits = 3060 / kSketchTwipsPerUnit;
constexpr int kStressCanvasUnits = 1350 / kSketchTwipsPerUnit;
constexpr int kSketchPixelsPerUnit = 5;
constexpr double kSketchDotsPerInch = 96.0 * kSketchPixelsPerUnit;

// File names in the program directory.
QString PlanSketchPath(const QString& programDir);                    // Piersc.bmp
QString StressSketchPath(const QString& programDir, int caseNumber);  // SzkicOK<case>.bmp

// The plan: outer edge, hole, bolt circle (dash-dot) and one light-red dot per bolt, the first
// on the right of the centre and the others following clockwise.
QImage DrawPlanSketch(const DesignCase& s);

// The sketch of load case k + 1 (k = 0..5): the compressed zone hatched in light grey between
// the edge and the neutral axis, the ring outline, the neutral axis in light red and the two
// centre lines in dash-dot cyan. A null image for k outside 0..5.
QImage StressSketchImage(const DesignCase& s, int k);

// Draws and saves the plan as Piersc.bmp. Empty string on success, else a message for the user.
QString SavePlanSketch(const DesignCase& s, const QString& programDir);

// Draws and saves the sketch of load case k + 1 as SzkicOK<k+1>.bmp. Empty string on success,
// else a message (k outside 0..5 writes nothing). The report composition binds the state and the
// directory: std::function<void(int)> hook = std::bind_front(&DrawStressSketch, std::cref(s), dir).
QString DrawStressSketch(const DesignCase& s, const QString& programDir, int k);

}  // namespace vardel
