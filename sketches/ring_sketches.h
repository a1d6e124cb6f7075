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
// pixels of the bitmap. One pixel per unit gives about 87 pixels per inch on the printed page
// (the plan is placed 59.8 mm wide, a case sketch 26.4 mm) and more than the page picture of the
// results window shows; two per unit would print finer but the bitmaps then travel through the
// page picture four times as large, which more than doubled the time of every preview.
constexpr int kSketchTwipsPerUnit = 15;
constexpr int kPlanCanvasUnits = 3060 / kSketchTwipsPerUnit;
constexpr int kStressCanvasUnits = 1350 / kSketchTwipsPerUnit;
constexpr int kSketchPixelsPerUnit = 1;

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
