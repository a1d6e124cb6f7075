// The N–M interaction envelope of a design: for each axial force from the largest uplift the
// design carries to the largest compression, the bending moment at which the governing check of
// the code reaches its resistance. Every point comes from the solver and the code's checks
// themselves, so the envelope says what a plain calculation of that load would say.
#pragma once

#include "calc/load_rows.h"
#include "calc/utilisation.h"
#include "state/design_case.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vardel {

// A code's judgement of case i of a solved state: the largest ratio of its checks and the check
// it belongs to (`index` unused). Each code supplies one; the envelope knows nothing of the checks.
using CodeRatio = std::function<Governing(const DesignCase& solved, int i)>;

// The PN-B checks' ratio: bolt steel, concrete, horizontal force (see CaseRatios).
Governing PnbRatio(const DesignCase& solved, int i);

struct EnvelopePoint {
    double N_kN = 0;
    double M_kNm = 0;               // ≥ 0: the ring is symmetric
    Check governing = Check::Bolt;  // the check that fails just beyond the point
};

struct Envelope {
    float V_kN = 0;  // the horizontal force every point was calculated with
    // N ascending from the largest uplift to the largest compression, both ends with M = 0.
    // Empty when no axial force passes without a moment.
    std::vector<EnvelopePoint> points;
};

constexpr int kEnvelopePoints = 241;
// The moment of a point is bracketed to this fraction of itself.
constexpr double kEnvelopeTolerance = 1e-4;

// The envelope of `calculated` (a state the calculate command ran on without a stop: its ring,
// bolts and materials) under the horizontal force V_kN, with `count` (≥ 2) values of N.
// `calculated` is not changed.
Envelope ComputeEnvelope(const DesignCase& calculated, float V_kN,
                         const CodeRatio& ratio = PnbRatio, int count = kEnvelopePoints);

// The horizontal force the envelope is drawn for: the largest |V| of the loads. The shear check
// only grows with V, so every load inside that envelope passes whatever its own V.
float GoverningShear(const std::vector<RowLoads>& loads);

// The loads of cases 1..Liczba_przyp of a state.
std::vector<RowLoads> StateLoads(const DesignCase& s);

// A load case or load-table row as the diagram shows it.
struct EnvelopeLoad {
    QString name;
    double N_kN = 0;
    double M_kNm = 0;  // |M|
    Governing ratio;   // its largest ratio and check
    bool passes = true;
    bool governing = false;  // for some check, the load that uses it most
};

// The loads with their ratios and names (one each); the governing ones are those a report of
// many rows takes (GoverningRows).
std::vector<EnvelopeLoad> DiagramLoads(const std::vector<RowLoads>& loads,
                                       const std::vector<CaseUtilisation>& ratios,
                                       const QStringList& names);

// The cases of a calculated state, named by their numbers.
std::vector<EnvelopeLoad> StateEnvelopeLoads(const DesignCase& s);

}  // namespace vardel
