#include "calc/utilisation.h"

#include <algorithm>
#include <cmath>

namespace vardel {
namespace {

// A ratio that says what its check said: an interaction of exactly 1.0 fails, so the ratio of a
// failed check must lie above 1 however the division rounded, and that of a passed one at or
// below it.
double Agreeing(double ratio, bool passes) {
    return passes ? std::min(ratio, 1.0) : std::max(ratio, std::nextafter(1.0, 2.0));
}

}  // namespace

const char* CheckName(Check check) {
    switch (check) {
        case Check::Bolt:
            return "bolt";
        case Check::Concrete:
            return "concrete";
        case Check::Shear:
            return "shear";
    }
    return "";
}

CaseUtilisation CaseRatios(const DesignCase& s, int i) {
    CaseUtilisation u;
    // The same comparisons as CheckBoltSteel and CheckConcrete, in the same precision.
    if (HasStressSketch(s, i)) {
        const double sigma = s.Sig_s[i] / kKgcm2PerMpa;
        u.bolt = Agreeing(sigma / s.fd_stali, !(sigma > s.fd_stali));
    }
    const double sigmaB = s.Sig_b[i] / kKgcm2PerMpa;
    const float twice = 2.0f * s.fcd_betonu;
    u.concrete = Agreeing(sigmaB / twice, !(sigmaB > twice));
    // The horizontal-force check keeps its ratio only when the bolts carry the force, and passes
    // below 1.0 in both of its modes.
    if (s.Wynik_V_u[i]) {
        const float v = *s.Wynik_V_u[i];
        u.shear = Agreeing(v, v < 1.0f);
    }
    return u;
}

Governing LargestRatio(const std::vector<CaseUtilisation>& cases) {
    Governing g;
    for (std::size_t k = 0; k < cases.size(); ++k) {
        for (const Check c : kChecks) {
            const double r = cases[k].Of(c);
            if (g.index == 0 || r > g.max) {
                g = {r, c, static_cast<int>(k) + 1};
            }
        }
    }
    return g;
}

std::vector<CaseUtilisation> StateRatios(const DesignCase& s) {
    std::vector<CaseUtilisation> out;
    for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
        out.push_back(CaseRatios(s, i));
    }
    return out;
}

}  // namespace vardel
