// The N–M interaction envelope of a design: for each axial force from the largest uplift the
// design carries to the largest compression, the bending moment at which the governing check of
// the code reaches its resistance. Every point comes from the solver and the code's checks
// themselves, so the envelope says what a plain calculation of that load would say.
#pragma once

#include "calc/load_rows.h"
#include "calc/utilisation.h"
#include "codes/en/checks.h"
#include "state/design_case.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string_view>
#include <vector>

namespace vardel {

// A code's judgement of a solved case: its largest ratio and the check it belongs to, named as
// the command line writes it ("bolt", "concrete", "shear" under PN-B; "bearing", "anchor_steel",
// "cone" … under PN-EN).
struct Judgement {
    double max = 0;
    std::string_view check;
};

// A code's judgement of case i of a solved state. Each code supplies one; the envelope knows
// nothing of the checks.
using CodeRatio = std::function<Judgement(const DesignCase& solved, int i)>;

// The PN-B checks' ratio: bolt steel, concrete, horizontal force (see CaseRatios).
Judgement PnbRatio(const DesignCase& solved, int i);

// The PN-EN checks' ratio of a case solved on the effective ring (EurocodeMechanics): the
// largest of en::CaseChecks, the first of equals, as CalculateEurocode takes it.
CodeRatio EurocodeRatio(const en::Parameters& p);

struct EnvelopePoint {
    double N_kN = 0;
    double M_kNm = 0;            // ≥ 0: the ring is symmetric
    std::string_view governing;  // the check that fails just beyond the point
};

struct NmPoint {
    double N_kN = 0;
    double M_kNm = 0;
};

struct Envelope {
    float V_kN = 0;         // the horizontal force every point was calculated with
    bool eurocode = false;  // the PN-EN checks drew it, else the PN-B ones
    // N ascending from the largest uplift to the largest compression, both ends with M = 0.
    // Empty when no axial force passes without a moment.
    std::vector<EnvelopePoint> points;
    // PN-EN: the plastic resistance of the base (EN 1993-1-8 6.2.8), N ascending from pure
    // tension to pure compression; empty under PN-B. It takes no horizontal force.
    std::vector<NmPoint> plastic;
};

constexpr int kEnvelopePoints = 241;
// The moment of a point is bracketed to this fraction of itself.
constexpr double kEnvelopeTolerance = 1e-4;

// The envelope of `solves` (the design as the code's mechanics solves it, from a state the
// calculate command ran on without a stop: its ring, bolts and materials) judged by `ratio`,
// under the horizontal force V_kN, with `count` (≥ 2) values of N. `solves` is not changed.
Envelope ComputeEnvelope(const DesignCase& solves, float V_kN, const CodeRatio& ratio = PnbRatio,
                         int count = kEnvelopePoints);

// The envelope of the code `calculated` was calculated with: PN-EN when it holds PN-EN results
// (on the effective ring, with the plastic resistance beside it), else PN-B.
Envelope DesignEnvelope(const DesignCase& calculated, float V_kN, int count = kEnvelopePoints);

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
    Judgement ratio;   // its largest ratio and check
    bool passes = true;
    bool governing = false;  // for some check, the load that uses it most
};

// The loads with their PN-B ratios and names (one each); the governing ones are those a report
// of many rows takes (GoverningRows).
std::vector<EnvelopeLoad> DiagramLoads(const std::vector<RowLoads>& loads,
                                       const std::vector<CaseUtilisation>& ratios,
                                       const QStringList& names);
// The same with each load's PN-EN checks (GoverningEurocodeRows).
std::vector<EnvelopeLoad> DiagramLoads(const std::vector<RowLoads>& loads,
                                       const std::vector<std::vector<CheckResult>>& checks,
                                       const QStringList& names);

// The cases of a calculated state, named by their numbers, judged by the code it was calculated
// with.
std::vector<EnvelopeLoad> StateEnvelopeLoads(const DesignCase& s);

}  // namespace vardel
