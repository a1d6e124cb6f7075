#include "calc/envelope.h"

#include "calc/solver.h"
#include "calc/stop.h"

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

// One load after another through the solver and the code's checks, on a scratch copy of the
// design holding the load in its first case, as a load-table row is calculated.
class Probe {
  public:
    Probe(const DesignCase& calculated, float V_kN, const CodeRatio& ratio)
        : w_(calculated), ratio_(ratio), V_(V_kN), locale_(QLocale::c()) {
        w_.Liczba_przyp = 1;
        w_.Nr_przyp = 1;
        section_ = PrepareSection(w_);
    }

    // The loads as the state holds them: single precision.
    static double Load(double v) { return static_cast<float>(v); }

    // The ratio of the load (N, M) under the envelope's V. A load the calculation stops on (no
    // equilibrium, an overflow) is carried by nothing.
    Governing At(double N, double M) {
        PutRowLoads(w_, 1, {static_cast<float>(N), static_cast<float>(M), V_});
        try {
            SolveLoadCase(w_, section_, locale_);
        } catch (const CalcError&) {
            return {kInfinite, last_.check, 1};
        } catch (const CalcStop&) {
            return {kInfinite, last_.check, 1};
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
    Governing last_;
};

bool Carried(const Governing& g) {
    return g.max <= 1;
}

// The last force carried without a moment, going from `from` (carried) in the direction `sign`,
// and the check that fails beyond it. Assumes what is carried along the way is one interval.
EnvelopePoint ForceEnd(Probe& probe, double from, double sign) {
    double inside = from;
    double outside = 0;
    Governing beyond;
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
        const Governing g = probe.At(mid, 0);
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
    Governing failing = probe.At(N, 0);
    if (!Carried(failing)) {
        return {N, 0, failing.check};  // a gap in what the design carries without a moment
    }
    double carried = 0;
    double fails = 0;
    // A first bracket just around the guess: the envelope is continuous, so the neighbour's
    // moment is close.
    double trial = Probe::Load(guess > 0 ? guess * 1.02 : std::max(1.0, std::fabs(N)) * 0.01);
    for (int k = 0; k < 200 && fails == 0; ++k) {
        const Governing g = probe.At(N, trial);
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
            const Governing g = probe.At(N, below);
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
        const Governing g = probe.At(N, m);
        if (Carried(g)) {
            carried = m;
        } else {
            fails = m;
            failing = g;
        }
    }
    return {N, (carried + fails) / 2, failing.check};
}

}  // namespace

Governing PnbRatio(const DesignCase& solved, int i) {
    return LargestRatio({CaseRatios(solved, i)});
}

Envelope ComputeEnvelope(const DesignCase& calculated, float V_kN, const CodeRatio& ratio,
                         int count) {
    Envelope out;
    out.V_kN = V_kN;
    Probe probe(calculated, V_kN, ratio);
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
    std::vector<EnvelopeLoad> out;
    for (std::size_t k = 0; k < loads.size() && k < ratios.size(); ++k) {
        const Governing g = LargestRatio({ratios[k]});
        const QString name = k < static_cast<std::size_t>(names.size()) ? names[k] : QString();
        out.push_back({name, loads[k].N_kN, std::fabs(loads[k].M_kNm), g, g.max <= 1, false});
    }
    for (const int row : GoverningRows(ratios, static_cast<int>(ratios.size()))) {
        out[row - 1].governing = true;
    }
    return out;
}

std::vector<EnvelopeLoad> StateEnvelopeLoads(const DesignCase& s) {
    QStringList names;
    for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
        names << QString::number(i);
    }
    return DiagramLoads(StateLoads(s), StateRatios(s), names);
}

}  // namespace vardel
