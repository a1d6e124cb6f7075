// The plastic resistance of a ring base plate to an axial force with bending, EN 1993-1-8 6.2.8:
// the compressed part of the effective ring at f_jd, every anchor on the other side of the
// neutral axis at its design tension resistance, in equilibrium about the ring's centre. It shows
// the reserve beyond the elastic checks, which stop at the first anchor or the most compressed
// edge reaching its resistance. Units: N, mm, MPa; moments in N·mm.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace vardel::en {

// The base as the plastic rule sees it. x runs from the ring's centre towards the compressed edge.
struct PlasticBase {
    double r_i = 0, r_o = 0;          // effective ring, mm
    double f_jd = 0;                  // MPa
    double F_tRd = 0;                 // one anchor's design tension resistance, N
    std::span<const double> anchorX;  // each anchor's x, mm
};

struct PlasticForces {
    std::string_view clause = "EN 1993-1-8 6.2.8";
    double N = 0;  // N, compression positive
    double M = 0;  // N·mm about the ring's centre
};

// With the neutral axis at x = a: the ring beyond it, x > a, at f_jd (a ring segment: a disc's
// segment A(r) = r²·acos(a/r) − a·√(r² − a²) with first moment S(r) = ⅔·(r² − a²)^{3/2}, the inner
// disc's taken away), the anchors with x < a at F_t,Rd, those with x = a at `share`·F_t,Rd
// (0..1: the axis passes through them, so they carry anything up to it):
// N = f_jd·A − Σ F_t, M = f_jd·S − Σ F_t·x.
PlasticForces PlasticRingForces(const PlasticBase& b, double a, double share = 0);

// The plastic N–M resistance curve, from pure tension (N = −n·F_t,Rd, M = 0) to pure compression
// (N = f_jd·π·(r_o² − r_i²), M = 0): the neutral axis swept across the base in `steps` positions,
// and at each anchor both ends of the step that its force makes (the curve's straight pieces
// there are the anchor taking up its force). N ascending, M ≥ 0 for anchors evenly spaced on a
// circle.
std::vector<PlasticForces> PlasticResistanceCurve(const PlasticBase& b, int steps);

}  // namespace vardel::en
