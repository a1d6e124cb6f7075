#include "calc/envelope.h"

#include "calc/en_calculation.h"
#include "calc/solver.h"
#include "calc/stop.h"
#include "codes/en/plastic.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vardel {
namespace {

constexpr double kInfinite = std::numeric_limits<double>::infinity();
// Far beyond any axial force a ring plate carries, kN: the search for the ends gives up there.
constexpr double kLargestForce = 1e9;
// The ends in N are bracketed to this fraction of the largest force carried.
constexpr double kForceTolerance = 1e-6;

// The plastic curve's positions of the neutral axis across the base.
constexpr int kPlasticSteps = 200;

// One load after another through the solver and the code's checks, on a scratch copy of the
// design holding the load in its first case, as a load-table row is calculated. `pnbShear`: the
// solver's own PN-B horizontal-force check runs after each solve (PN-B's ratio reads it).
class Probe {
  public:
    Probe(const DesignCase& solves, float V_kN, const CodeRatio& ratio, bool pnbShear)
        : w_(solves), ratio_(ratio), V_(V_kN), locale_(QLocale::c()), pnbShear_(pnbShear) {
        w_.Liczba_przyp = 1;
        w_.Nr_przyp = 1;
        section_ = PrepareSection(w_);
    }

    // The loads as the state holds them: single precision.
    static double Load(double v) { return static_cast<float>(v); }

    // The ratio of the load (N, M) under the envelope's V. A load the calculation stops on (no
    // equilibrium, an overflow) is carried by nothing.
    Judgement At(double N, double M) {
        PutRowLoads(w_, 1, {static_cast<float>(N), static_cast<float>(M), V_});
        try {
            if (pnbShear_) {
                SolveLoadCase(w_, section_, locale_);
            } else {
                SolveSection(w_, section_);
            }
        } catch (const CalcError&) {
            return {kInfinite, last_.check};
        } catch (const CalcStop&) {
            return {kInfinite, last_.check};
        }
        last_ = ratio_(w_, 1);
        return last_;
    }

  private:
    DesignCase w_;
    SectionConstants section_;
    const CodeRatio& ratio_;
    float V_;
    QLocale locale_;
    bool pnbShear_;
    Judgement last_;
};

bool Carried(const Judgement& g) {
    return g.max <= 1;
}

// The last force carried without a moment, going from `from` (carried) in the direction `sign`,
// and the check that fails beyond it. Assumes what is carried along the way is one interval.
EnvelopePoint ForceEnd(Probe& probe, double from, double sign) {
    double inside = from;
    double outside = 0;
    Judgement beyond;
    bool found = false;
    for (double step = std::max(1.0, std::fabs(from)); std::fabs(inside) < kLargestForce;
         step *= 2) {
        const double next = Probe::Load(from + sign * step);
        beyond = probe.At(next, 0);
        if (!Carried(beyond)) {
            outside = next;
            found = true;
            break;
        }
        inside = next;
    }
    if (!found) {
        return {inside, 0, beyond.check};
    }
    while (std::fabs(outside - inside) >
           kForceTolerance * std::max({std::fabs(inside), std::fabs(outside), 1.0})) {
        const double mid = Probe::Load((inside + outside) / 2);
        if (mid == inside || mid == outside) {
            break;
        }
        const Judgement g = probe.At(mid, 0);
        if (Carried(g)) {
            inside = mid;
        } else {
            outside = mid;
            beyond = g;
        }
    }
    return {inside, 0, beyond.check};
}

// Some axial force carried without a moment: none, then growing forces of either sign.
bool CarriedForce(Probe& probe, double& N) {
    if (Carried(probe.At(0, 0))) {
        N = 0;
        return true;
    }
    for (double f = 1; f < kLargestForce; f *= 2) {
        for (const double candidate : {f, -f}) {
            if (Carried(probe.At(candidate, 0))) {
                N = candidate;
                return true;
            }
        }
    }
    return false;
}

// The moment at which the ratio of the axial force N reaches 1: the smallest M found failing
// and the largest found carried are brought within the tolerance by bisection. `guess` is where
// to look first (the neighbour's moment), 0 when there is none.
EnvelopePoint MomentAt(Probe& probe, double N, double guess) {
    Judgement failing = probe.At(N, 0);
    if (!Carried(failing)) {
        return {N, 0, failing.check};  // a gap in what the design carries without a moment
    }
    double carried = 0;
    double fails = 0;
    // A first bracket just around the guess: the envelope is continuous, so the neighbour's
    // moment is close.
    double trial = Probe::Load(guess > 0 ? guess * 1.02 : std::max(1.0, std::fabs(N)) * 0.01);
    for (int k = 0; k < 200 && fails == 0; ++k) {
        const Judgement g = probe.At(N, trial);
        if (Carried(g)) {
            carried = trial;
            trial = Probe::Load(trial * (k == 0 && guess > 0 ? 1.05 : 2));
        } else {
            fails = trial;
            failing = g;
        }
    }
    if (fails == 0) {
        return {N, carried, failing.check};  // no moment found that fails
    }
    if (carried == 0 && guess > 0) {
        // Below the guess: step down from it.
        for (double below = Probe::Load(fails * 0.95); below > 0;
             below = Probe::Load(below * 0.5)) {
            const Judgement g = probe.At(N, below);
            if (Carried(g)) {
                carried = below;
                break;
            }
            fails = below;
            failing = g;
            if (below < 1e-9) {
                break;
            }
        }
    }
    while (fails - carried > kEnvelopeTolerance * fails) {
        const double mid = (carried + fails) / 2;
        const float m = static_cast<float>(mid);
        if (m <= carried || m >= fails) {
            break;
        }
        const Judgement g = probe.At(N, m);
        if (Carried(g)) {
            carried = m;
        } else {
            fails = m;
            failing = g;
        }
    }
    return {N, (carried + fails) / 2, failing.check};
}

Envelope Trace(const DesignCase& solves, float V_kN, const CodeRatio& ratio, bool pnbShear,
               int count) {
    Envelope out;
    out.V_kN = V_kN;
    Probe probe(solves, V_kN, ratio, pnbShear);
    double start = 0;
    if (!CarriedForce(probe, start)) {
        return out;
    }
    const EnvelopePoint low = ForceEnd(probe, start, -1);
    const EnvelopePoint high = ForceEnd(probe, start, +1);
    count = std::max(count, 2);
    out.points.reserve(count);
    out.points.push_back(low);
    double previous = 0;
    for (int k = 1; k + 1 < count; ++k) {
        const double N = Probe::Load(low.N_kN + (high.N_kN - low.N_kN) * k / (count - 1));
        const EnvelopePoint p = MomentAt(probe, N, previous);
        previous = p.M_kNm;
        out.points.push_back(p);
    }
    out.points.push_back(high);
    return out;
}

// The loads with the judgement of each and the 1-based rows that govern.
std::vector<EnvelopeLoad> Judged(const std::vector<RowLoads>& loads,
                                 const std::vector<Judgement>& judged,
                                 const std::vector<int>& governingRows, const QStringList& names) {
    std::vector<EnvelopeLoad> out;
    for (std::size_t k = 0; k < loads.size() && k < judged.size(); ++k) {
        const QString name = k < static_cast<std::size_t>(names.size()) ? names[k] : QString();
        out.push_back(
            {name, loads[k].N_kN, std::fabs(loads[k].M_kNm), judged[k], judged[k].max <= 1, false});
    }
    for (const int row : governingRows) {
        if (row >= 1 && row <= static_cast<int>(out.size())) {
            out[row - 1].governing = true;
        }
    }
    return out;
}

// The plastic N–M resistance of the base of the PN-EN parameters `p`, in kN and kNm.
std::vector<NmPoint> PlasticEnvelope(const en::Parameters& p) {
    // The anchors as the solver places them: the first on the x axis, towards the compressed
    // edge.
    std::vector<double> x;
    for (int k = 0; k < p.anchors && k < kMaxBolts; ++k) {
        x.push_back(p.Rs * std::cos(k * p.angle));
    }
    const en::PlasticBase base{p.r_i, p.r_o, p.f_jd, std::min(p.F_tRd, p.N_Rds), x};
    std::vector<NmPoint> out;
    for (const en::PlasticForces& f : en::PlasticResistanceCurve(base, kPlasticSteps)) {
        out.push_back({f.N / 1e3, std::fabs(f.M) / 1e6});
    }
    return out;
}

Judgement LargestCheck(const std::vector<CheckResult>& checks) {
    Judgement g;
    for (std::size_t k = 0; k < checks.size(); ++k) {
        if (k == 0 || checks[k].utilisation > g.max) {
            g = {checks[k].utilisation, checks[k].check};
        }
    }
    return g;
}

}  // namespace

Judgement PnbRatio(const DesignCase& solved, int i) {
    const Governing g = LargestRatio({CaseRatios(solved, i)});
    return {g.max, CheckName(g.check)};
}

CodeRatio EurocodeRatio(const en::Parameters& p) {
    return
        [p](const DesignCase& solved, int i) { return LargestCheck(en::CaseChecks(solved, i, p)); };
}

Envelope ComputeEnvelope(const DesignCase& solves, float V_kN, const CodeRatio& ratio, int count) {
    return Trace(solves, V_kN, ratio, true, count);
}

Envelope DesignEnvelope(const DesignCase& calculated, float V_kN, int count) {
    if (!calculated.Wyniki_EN.valid) {
        return ComputeEnvelope(calculated, V_kN, PnbRatio, count);
    }
    const en::Parameters p = en::ParametersOf(calculated);
    Envelope out = Trace(EurocodeMechanics(calculated, p), V_kN, EurocodeRatio(p), false, count);
    out.eurocode = true;
    out.plastic = PlasticEnvelope(p);
    return out;
}

float GoverningShear(const std::vector<RowLoads>& loads) {
    float V = 0;
    for (const RowLoads& l : loads) {
        V = std::max(V, std::fabs(l.V_kN));
    }
    return V;
}

std::vector<RowLoads> StateLoads(const DesignCase& s) {
    std::vector<RowLoads> out;
    for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
        out.push_back({s.N_kN[i], s.M_kNm[i], s.V_kN[i]});
    }
    return out;
}

std::vector<EnvelopeLoad> DiagramLoads(const std::vector<RowLoads>& loads,
                                       const std::vector<CaseUtilisation>& ratios,
                                       const QStringList& names) {
    std::vector<Judgement> judged;
    for (const CaseUtilisation& u : ratios) {
        const Governing g = LargestRatio({u});
        judged.push_back({g.max, CheckName(g.check)});
    }
    return Judged(loads, judged, GoverningRows(ratios, static_cast<int>(ratios.size())), names);
}

std::vector<EnvelopeLoad> DiagramLoads(const std::vector<RowLoads>& loads,
                                       const std::vector<std::vector<CheckResult>>& checks,
                                       const QStringList& names) {
    std::vector<Judgement> judged;
    for (const std::vector<CheckResult>& c : checks) {
        judged.push_back(LargestCheck(c));
    }
    return Judged(loads, judged, GoverningEurocodeRows(checks, static_cast<int>(checks.size())),
                  names);
}

std::vector<EnvelopeLoad> StateEnvelopeLoads(const DesignCase& s) {
    QStringList names;
    for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
        names << QString::number(i);
    }
    if (s.Wyniki_EN.valid) {
        const auto& cases = s.Wyniki_EN.checks;
        return DiagramLoads(StateLoads(s),
                            std::vector<std::vector<CheckResult>>(cases.begin() + 1,
                                                                  cases.begin() + 1 + names.size()),
                            names);
    }
    return DiagramLoads(StateLoads(s), StateRatios(s), names);
}

}  // namespace vardel
