// The PN-B-03215:1999 / PN-B-03264:2002 checks of a solved load case: the anchor steel, the
// concrete under the plate (Rb and 2·Rb) and the horizontal force (friction, the anchors in shear,
// tension with shear). They read what the solver left in the state and set the design's verdict
// flags as the report has always had them; none of them solves.
#pragma once

#include "codes/check.h"
#include "state/design_case.h"

#include <QLocale>

#include <array>

namespace vardel {

// The first of the three language lines (satisfied, exceeded by, exceeded) of the all-anchors
// check made when the anchors of the compressed zone were to carry the horizontal force but that
// zone holds none; they stand for lines 50 to 52 and say why.
constexpr int kNoCompressedAnchorsLine = 67;

// The horizontal force of case i: friction (0.3·N), else the anchors of the compressed zone in
// shear or all anchors in tension with shear, as Tryb_sru chooses. Sets Wynik_V, Wynik_V_nr,
// Wynik_V_u and counts Liczba_V; an exceeded check clears Wszystko_OK.
void CheckHorizontalForce(DesignCase& s, int i, const QLocale& locale);

// Report-time checks of one case (run by the report composition in case order).
// Bolt steel of a case with bolts in tension: a stress above fd fails the design.
void CheckBoltSteel(DesignCase& s, int i);

enum class ConcreteVerdict {
    AboveTwice,  // σ_b > 2·fcd: the design fails
    Below,       // σ_b < fcd
    Between      // fcd ≤ σ_b ≤ 2·fcd: a note with ω_u = σ_b / fcd
};
// Concrete contact stress of case i: sets Beton_OK and Omega_u as the verdict requires.
ConcreteVerdict CheckConcrete(DesignCase& s, int i);

// The design passes when every check of the calculation and of the report passed.
inline bool DesignPasses(const DesignCase& s) {
    return s.Wszystko_OK && s.Beton_OK;
}

// The same three checks of a solved case as values, in MPa (the horizontal force as the ratio its
// verdict computed, against 1): "anchor_steel" σ_s against fd (0 without anchors in tension),
// "concrete" σ_b against 2·Rb, "shear" the horizontal-force ratio (0 when friction carries it or
// there is no force). They change nothing in the state.
CheckResult AnchorSteelPnb(const DesignCase& s, int i);
CheckResult ConcretePnb(const DesignCase& s, int i);
CheckResult HorizontalForcePnb(const DesignCase& s, int i);
std::array<CheckResult, 3> ChecksPnb(const DesignCase& s, int i);

}  // namespace vardel
