// The ring section solver: for one load case, whole or partial compression of the ring plate, the
// neutral axis and the concrete and bolt stresses. The PN-B checks of a solved case live in
// codes/pnb/ (included here for the callers that run them after a solve).
//
// Units: kG, kG·m (moments as stored), cm, kG/cm². The x axis points from the plate centre to the
// most compressed edge; the neutral axis is the chord x = a = Rz·cos φ, the compressed zone x > a.
#pragma once

#include "calc/stop.h"
#include "codes/pnb/checks.h"
#include "state/design_case.h"

#include <QLocale>

#include <array>

namespace vardel {

// Section values at one trial half-angle φ of the compressed segment.
struct Residual {
    double phi = 0;
    double a = 0;   // neutral axis, cm from the centre
    double S = 0;   // first moment of the compressed concrete about the chord, cm³
    double J = 0;   // ∫ x·(x − a) dA over the compressed concrete, cm⁴
    double k = 0;   // J/S: the concrete resultant's distance from the centre, cm
    double S1 = 0;  // Σ d over the tensioned bolts, each counted once, cm
    double S2 = 0;  // Σ d², cm²
    double xZ = 0;  // distance of the bolt tension resultant from the centre (tension side), cm
    double g = 0;   // stress gradient, kG/cm² per cm from the neutral axis
    double Z = 0;   // total bolt tension, kG
    double F = 0;   // moment imbalance about the centre, kG·cm
    double denominator = 0;  // S − n·As·S1, the divisor of g
};

// A trial angle φ of the neutral-axis search with its cosine and sine.
struct TrialAngle {
    double phi = 0;
    double c = 1;  // cos φ
    double s = 0;  // sin φ
};

// The section and bolt sums at a trial angle, as in Residual.
struct ChordSums {
    double a = 0, S = 0, J = 0, S1 = 0, S2 = 0;
};

// A trial angle with the sums there.
struct TrialPoint {
    TrialAngle angle;
    ChordSums sums;
};

// The search for a compressed plate first tries 0.9999·π and every 20° below it down to 0.
constexpr int kFirstTrials = 9;

// Values of the ring and the bolt layout that stay the same for every case of a design, worked
// out once before the cases rather than at every trial angle of every search. The sums at the
// first trial angles are the very ones the search would work out there itself.
struct SectionConstants {
    double Rz = 0, Rw = 0, Rs = 0;  // cm
    double Rz3 = 0, Rz4by12 = 0;    // Rz³, Rz⁴/12
    double Rw3 = 0, Rw4by12 = 0;
    double RzByRw = 0;       // Rz/Rw, 0 without a hole
    double holeArea = 0;     // π·Rw², cm²
    double holeInertia = 0;  // π·Rw⁴/4, cm⁴
    double nAs = 0;          // Es_Eb·As_sruby, cm²
    int bolts = 0;
    BoltArray<double> cosBolt{};  // cos(k·Kat_srub) of the bolt k = 0..bolts−1 from the x axis
    BoltArray<double> rsCos{};    // Rs·cos(k·Kat_srub), cm
    // The sums at the first trial angles, the same for every case: each compressed case would
    // otherwise work them out again.
    std::array<TrialPoint, kFirstTrials> firstTrials{};
    int firstTrialCount = 0;
};

// From the derived ring and bolt values of the state (after the calculate command set them).
SectionConstants PrepareSection(const DesignCase& s);

// The residual F at the angle φ for case `Nr_przyp`. Raises the numbered division-by-zero error
// for a zero S, S1 or denominator, as the calculation always has.
Residual EquilibriumResidual(const DesignCase& s, double phi);
Residual EquilibriumResidual(const DesignCase& s, const SectionConstants& k, double phi);

// The stop of a case for which no neutral axis satisfies equilibrium, naming the case.
Stop NoEquilibriumStop(int caseNumber);

struct SearchResult {
    Residual last;  // the values at the final φ; F is the moment left unbalanced, kG·cm
    int evaluations = 0;
    bool fallback = false;  // the stepping search gave up and the bracketing search found φ
};

// The stepping search is stopped after this many evaluations of F; the bracketing search then
// looks for the first continuous sign change below the start angle.
constexpr int kSearchEvaluationLimit = 2000;

// Classifies case `Nr_przyp` (whole, partly compressed, lifted) and finds the neutral axis and
// the concrete and bolt stresses. A compressed plate keeps the stepping search and then goes on
// from where it stopped to the exact root of equilibrium (the angle to 1e-12). Updates the running
// maxima. Throws CalcStop when no position of the neutral axis satisfies equilibrium.
SearchResult FindNeutralAxis(DesignCase& s);
SearchResult FindNeutralAxis(DesignCase& s, const SectionConstants& k);

// Eccentricity, neutral axis, stresses and then the PN-B horizontal-force check of case
// `Nr_przyp`. The signs of M and V are their directions: the case is calculated with their
// magnitudes. N may be zero (pure bending) or negative (uplift): the plate then bears on a segment
// or lifts off.
void SolveLoadCase(DesignCase& s, const QLocale& locale);
void SolveLoadCase(DesignCase& s, const SectionConstants& k, const QLocale& locale);
// The same without any code's check: eccentricity, neutral axis and stresses alone.
void SolveSection(DesignCase& s, const SectionConstants& k);

}  // namespace vardel
