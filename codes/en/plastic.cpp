#include "codes/en/plastic.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vardel::en {
namespace {

// The part x > a of a disc of radius r: its area and its first moment about the centre.
struct Segment {
    double A = 0;
    double S = 0;
};

Segment DiscBeyond(double r, double a) {
    if (!(r > 0) || a >= r) {
        return {};
    }
    if (a <= -r) {
        return {std::numbers::pi * r * r, 0};
    }
    const double h = std::sqrt(r * r - a * a);
    return {r * r * std::acos(a / r) - a * h, 2.0 / 3.0 * h * h * h};
}

// Anchors closer than this to the axis are on it: the two of a symmetric pair agree only to the
// last bits of their cosines.
double OnAxis(const PlasticBase& b) {
    return 1e-9 * std::max(b.r_o, 1.0);
}

}  // namespace

PlasticForces PlasticRingForces(const PlasticBase& b, double a, double share) {
    const Segment outer = DiscBeyond(b.r_o, a);
    const Segment inner = DiscBeyond(b.r_i, a);
    PlasticForces out;
    out.N = b.f_jd * (outer.A - inner.A);
    out.M = b.f_jd * (outer.S - inner.S);
    const double tolerance = OnAxis(b);
    for (const double x : b.anchorX) {
        const double F = x < a - tolerance ? b.F_tRd : x <= a + tolerance ? share * b.F_tRd : 0.0;
        out.N -= F;
        out.M -= F * x;
    }
    return out;
}

std::vector<PlasticForces> PlasticResistanceCurve(const PlasticBase& b, int steps) {
    steps = std::max(steps, 1);
    double reach = b.r_o;
    for (const double x : b.anchorX) {
        reach = std::max(reach, std::fabs(x));
    }
    reach *= 1.0 + 1e-6;  // beyond everything: all anchors, or the whole ring
    // The anchors' positions, each once, from the far side of the compressed edge.
    std::vector<double> anchors(b.anchorX.begin(), b.anchorX.end());
    std::sort(anchors.begin(), anchors.end(), std::greater<>());
    const double tolerance = OnAxis(b);
    anchors.erase(std::unique(anchors.begin(), anchors.end(),
                              [&](double p, double q) { return std::fabs(p - q) <= tolerance; }),
                  anchors.end());

    std::vector<PlasticForces> out;
    out.reserve(steps + 1 + 2 * anchors.size());
    std::size_t next = 0;
    for (int k = 0; k <= steps; ++k) {
        const double a = reach - 2.0 * reach * k / steps;
        // The anchors the axis passed on its way here: each giving up its force from F_t,Rd to
        // none as the axis crosses it.
        bool onAnchor = false;
        for (; next < anchors.size() && anchors[next] >= a - tolerance; ++next) {
            out.push_back(PlasticRingForces(b, anchors[next], 1));
            out.push_back(PlasticRingForces(b, anchors[next], 0));
            onAnchor = std::fabs(anchors[next] - a) <= tolerance;
        }
        if (!onAnchor) {
            out.push_back(PlasticRingForces(b, a));
        }
    }
    return out;
}

}  // namespace vardel::en
