// Confirming an anchor: its description becomes the anchor block of the report (Dobor_teksty,
// Dobor_liczba) and its sketch the picture "Szkick.bmp" beside that block. The selection window
// and the command line confirm through here.
#pragma once

#include "anchors/catalogue.h"

#include <QStringList>

namespace vardel {

// The report lines of the anchor block, first line first: designation, capacity, diameter,
// threaded and straight length, then the hook and bending diameter or the plate (and the ribs
// from 43 mm), the total length and the thickness. 9 lines, or 8 for a plate anchor below 43 mm.
// The lead texts are the language lines 21 to 32 of `s`.
QStringList AnchorBlock(const DesignCase& s, const Anchors& a, AnchorKind kind,
                        const QLocale& locale);

// Where the anchor's sketch is saved for the report.
QString AnchorSketchPath(const QString& programDir);  // Szkick.bmp

// The PN-EN inputs that an anchor settles: its embedment h_ef, the hook's straight length in the
// concrete (L) or the plate anchor's depth to its plate (Lp), and the bearing diameter of its head,
// 0 for a hook and the side of the square plate for a plate anchor: the circle the plate holds,
// as its corners are the least stiff part of it.
void FillEurocodeAnchor(EurocodeInputs& e, const Anchors& a, AnchorKind kind);

// Saves the installed sketch of the anchor (read from `programDir`) as Szkick.bmp in `runDir`
// (empty: `programDir`), then stores the block in Dobor_teksty and Dobor_liczba and fills the
// PN-EN inputs of the anchor (FillEurocodeAnchor; the caller runs the PN-EN checks again). Empty on
// success; else a message naming the file, and the state is left as it was. A plate anchor where
// there is none is refused the same way.
QString ConfirmAnchor(DesignCase& s, const Anchors& a, AnchorKind kind, const QString& programDir,
                      const QLocale& locale, const QString& runDir = {});

}  // namespace vardel
