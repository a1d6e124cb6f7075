#include "calc/solver.h"

#include "calc/stop.h"
#include "codes/pnb/checks.h"
#include "state/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace vardel {
namespace {

// First moment about the chord of the segment of a circle of radius ρ beyond a chord at
// half-angle t, from ρ³ and the sine and cosine of t.
double SegmentS(double rho3, double t, double st, double ct) {
    return rho3 * (st - t * ct - st * st * st / 3.0);
}

// ∫ x·(x − a) dA over the same segment, x measured from the circle's centre, a = ρ·cos t; from
// ρ⁴/12, the cosine of t and the sine of 2t.
double SegmentJ(double rho4by12, double t, double ct, double s2t) {
    return rho4by12 * (3.0 * t + (ct * ct - 2.5) * s2t);
}

constexpr double kStartAngle = 3.141278494324431;  // 0.9999·π
constexpr double kFirstDivisions = 18;             // the first steps are 2·π/18 long
constexpr double kResidualTolerance = 100.0;       // kG·cm
constexpr int kBracketSteps = 1800;                // 0.1° steps of the bracketing scan
constexpr int kBisections = 200;

// The trigonometric functions cost more than the rest of the section sums together and the
// searches try dozens of angles per case, so each angle near the last one is reached by turning
// that one's cosine and sine, and everything else the sums need (sin 2φ, the hole's angle)
// follows from them by algebra.
TrialAngle AngleAt(double phi) {
    return {phi, std::cos(phi), std::sin(phi)};
}

// Up to this step the series below give the step's sine and versine to the last bit (the first
// term left out is below 1e-19 of the sum).
constexpr double kSeriesStep = 1.0 / 16;

// The angle φ, its cosine and sine turned from those of the nearby angle `from` by the
// angle-addition formulas; φ itself is kept as the search computed it. Each is corrected by a term
// small against itself, so its error stays a rounding of its own size even where the sine is tiny.
// An angle farther away is taken afresh.
TrialAngle AngleNear(const TrialAngle& from, double phi) {
    const double step = phi - from.phi;
    if (!(std::fabs(step) <= kSeriesStep)) {
        return AngleAt(phi);
    }
    const double h2 = step * step;
    const double sinStep =
        step *
        (1.0 + h2 * (-1.0 / 6 + h2 * (1.0 / 120 + h2 * (-1.0 / 5040 + h2 * (1.0 / 362880)))));
    const double versStep =  // 1 − cos step
        h2 *
        (0.5 + h2 * (-1.0 / 24 + h2 * (1.0 / 720 + h2 * (-1.0 / 40320 + h2 * (1.0 / 3628800)))));
    return {phi, from.c - (from.c * versStep + from.s * sinStep),
            from.s + (from.c * sinStep - from.s * versStep)};
}

void AddBoltSums(const SectionConstants& ring, ChordSums& out);

// Section and bolt sums without the divisions that can fail: shared by the checked residual and
// the bracketing scan, which must step over poles instead of stopping at them.
ChordSums SumsAt(const SectionConstants& ring, const TrialAngle& angle) {
    ChordSums out{};
    const double r = ring.Rw;
    const double phi = angle.phi;
    const double ct = angle.c;
    const double st = angle.s;
    const double s2t = 2.0 * st * ct;
    const double a = ring.Rz * ct;
    out.a = a;
    if (std::fabs(a) > r || r <= 0.0) {
        out.S = SegmentS(ring.Rz3, phi, st, ct);
        out.J = SegmentJ(ring.Rz4by12, phi, ct, s2t);
        if (phi >= kPi / 2) {
            // The hole lies wholly in the compressed zone.
            out.S += ring.holeArea * a;
            out.J -= ring.holeInertia;
        }
    } else {
        // The chord cuts the hole.
        // a/Rw = cos φ·Rz/Rw: a multiplication where the search waits for the quotient.
        const double cp = std::clamp(ct * ring.RzByRw, -1.0, 1.0);
        const double psi = std::acos(cp);
        // (1 − c)(1 + c) rather than 1 − c², which loses the sine's digits as c nears 1.
        const double sp = std::sqrt((1.0 - cp) * (1.0 + cp));
        out.S = SegmentS(ring.Rz3, phi, st, ct) - SegmentS(ring.Rw3, psi, sp, cp);
        out.J =
            SegmentJ(ring.Rz4by12, phi, ct, s2t) - SegmentJ(ring.Rw4by12, psi, cp, 2.0 * sp * cp);
    }

    AddBoltSums(ring, out);
    return out;
}

// Tensioned bolts, each once: the bolt at angle 0, then pairs symmetric about the bending
// plane, and the bolt at angle π alone when the count is even. The walk stops at the first
// bolt on the compressed side; those beyond it are nearer the compressed edge.
void AddBoltSums(const SectionConstants& ring, ChordSums& out) {
    const double a = out.a;
    const int n = ring.bolts;
    const int half = n / 2;
    double S1 = 0;
    double S2 = 0;
    for (int j = 1; j <= half; ++j) {
        const double d = ring.rsCos[j] + a;
        if (d < 0) {
            break;
        }
        const double weight = (n % 2 == 0 && j == half) ? 1.0 : 2.0;
        S1 += weight * d;
        S2 += weight * d * d;
    }
    const double d0 = ring.Rs + a;
    S1 += d0;
    S2 += d0 * d0;
    out.S1 = S1;
    out.S2 = S2;
}

double Denominator(const SectionConstants& ring, const ChordSums& sums) {
    return sums.S - ring.nAs * sums.S1;
}

// The residual F of case `Nr_przyp` at φ from the sums there, with the checked divisions.
Residual ResidualOf(const DesignCase& s, const SectionConstants& ring, double phi,
                    const ChordSums& sums) {
    const int i = s.Nr_przyp;
    Residual r;
    r.phi = phi;
    r.a = sums.a;
    r.S = sums.S;
    r.J = sums.J;
    r.S1 = sums.S1;
    r.S2 = sums.S2;
    r.k = Div(sums.J, sums.S);
    r.xZ = Div(sums.S2, sums.S1) - sums.a;
    r.denominator = Denominator(ring, sums);
    const double N = s.N_kG[i];
    r.g = Div(N, r.denominator);
    r.Z = Finite(r.g * s.Es_Eb * s.As_sruby * sums.S1);
    r.F = Finite(r.Z * (r.k + r.xZ) - N * (s.e_cm[i] - r.k));
    return r;
}

// The two equilibrium conditions at the neutral axis of half-angle φ, per unit stress gradient g:
// the vertical force g·D = N and the moment about the centre g·Q = M. Their combination
// B = N·Q − M·D vanishes exactly at equilibrium; unlike the residual F = B/D it has no pole and
// no division by N, so it serves pure bending and uplift as well as compression.
struct Balance {
    TrialAngle angle{};
    ChordSums sums{};
    double D = 0;
    double Q = 0;
    double B = 0;
};

Balance BalanceOf(const SectionConstants& ring, const TrialAngle& angle, const ChordSums& sums,
                  double N, double M) {
    Balance b;
    b.angle = angle;
    b.sums = sums;
    const double nAs = ring.nAs;
    b.D = b.sums.S - nAs * b.sums.S1;
    b.Q = b.sums.J + nAs * (b.sums.S2 - b.sums.a * b.sums.S1);
    b.B = N * b.Q - M * b.D;
    return b;
}

Balance BalanceAt(const SectionConstants& ring, const TrialAngle& angle, double N, double M) {
    return BalanceOf(ring, angle, SumsAt(ring, angle), N, M);
}

// With the bolt circle beyond the bearing ring (the narrower ring of the Eurocode check) a plane
// of strains can compress the whole ring and still stretch the outer bolts on the tension side:
// the neutral axis then lies off the ring, −Rs < a < −Rz, where no chord angle reaches it. The
// concrete sums there are those of the whole ring: ∫(x − a) dA = −a·A and ∫x·(x − a) dA = I.
Balance BalanceOffRing(const SectionConstants& ring, double a, double N, double M) {
    ChordSums sums;
    sums.a = a;
    sums.S = -a * (kPi * ring.Rz * ring.Rz - ring.holeArea);
    sums.J = 3.0 * kPi * ring.Rz4by12 - ring.holeInertia;
    AddBoltSums(ring, sums);
    return BalanceOf(ring, AngleAt(kPi), sums, N, M);
}

// The root of B between a = −Rs (B < 0) and a = −Rz (B > 0). For N, M > 0 B rises with a there
// (D falls and Q rises as the tensioned bolts' strain grows), so the root is the only one and
// halving the interval cannot miss it.
Balance RootOffRing(const SectionConstants& ring, Balance lo, Balance hi, double N, double M) {
    for (int k = 0; k < 200; ++k) {
        const double a = 0.5 * (lo.sums.a + hi.sums.a);
        if (!(a > lo.sums.a && a < hi.sums.a)) {
            break;
        }
        const Balance mid = BalanceOffRing(ring, a, N, M);
        if (mid.B == 0) {
            return mid;
        }
        (mid.B < 0 ? lo : hi) = mid;
    }
    return std::fabs(lo.B) < std::fabs(hi.B) ? lo : hi;
}

// The stress gradient that satisfies both conditions best; at equilibrium it equals N/D and M/Q
// alike, and it stays defined where one of D and Q vanishes.
double Gradient(const Balance& b, double N, double M) {
    return (N * b.D + M * b.Q) / (b.D * b.D + b.Q * b.Q);
}

constexpr double kAngleExact = 1e-12;  // rad

// Brent's method for the root of B between two angles where B has opposite signs.
Balance RootBetween(const SectionConstants& ring, Balance lo, Balance hi, double N, double M) {
    if (lo.B == 0) {
        return lo;
    }
    if (hi.B == 0) {
        return hi;
    }
    Balance a = lo;
    Balance b = hi;
    Balance c = a;
    double d = b.angle.phi - a.angle.phi;
    double e = d;
    for (int iter = 0; iter < 200; ++iter) {
        if ((b.B > 0) == (c.B > 0)) {
            c = a;
            d = e = b.angle.phi - a.angle.phi;
        }
        if (std::fabs(c.B) < std::fabs(b.B)) {
            a = b;
            b = c;
            c = a;
        }
        const double tol = 0.5 * kAngleExact;
        const double m = 0.5 * (c.angle.phi - b.angle.phi);
        if (std::fabs(m) <= tol || b.B == 0) {
            return b;
        }
        if (std::fabs(e) >= tol && std::fabs(a.B) > std::fabs(b.B)) {
            // Inverse quadratic interpolation, or the secant when only two points differ.
            const double sr = b.B / a.B;
            double p;
            double q;
            if (a.angle.phi == c.angle.phi) {
                p = 2 * m * sr;
                q = 1 - sr;
            } else {
                const double qa = a.B / c.B;
                const double r = b.B / c.B;
                p = sr * (2 * m * qa * (qa - r) - (b.angle.phi - a.angle.phi) * (r - 1));
                q = (qa - 1) * (r - 1) * (sr - 1);
            }
            if (p > 0) {
                q = -q;
            } else {
                p = -p;
            }
            if (2 * p < std::min(3 * m * q - std::fabs(tol * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = m;
                e = m;
            }
        } else {
            d = m;
            e = m;
        }
        a = b;
        const double step = std::fabs(d) > tol ? d : (m > 0 ? tol : -tol);
        b = BalanceAt(ring, AngleNear(b.angle, b.angle.phi + step), N, M);
    }
    return b;
}

// How far from the angle of `start` neither B nor D can change sign, rad: within it every probe
// of the nearest-root search would find the signs of the start, so it need not be made.
//
// As functions of the chord a, with A the compressed concrete area and m the count of tensioned
// bolts: dD/da = −A − nAs·m and dQ/da = −S − a·A + nAs·(S1 − a·m). With A at most the ring's area
// Ar, m at most the bolts n, S at most 2·Rz·A, |S1| at most 2·Rz·n and |a| at most Rz, and with
// |da/dφ| = Rz·|sin φ| at most Rz:
//   |dD/dφ| ≤ Rz·W and |dB/dφ| ≤ Rz·W·(M + 3·N·Rz), where W = Ar + nAs·n.
// A change of sign needs the start's value used up by the slope and by the error of evaluating
// B and D at both ends. That error (rounding, and the turned cosine and sine) is a few hundred
// roundings of the largest terms the sums add up, Rz³ and Rz⁴ for the segments, which may nearly
// cancel in a thin ring, and nAs·n·Rz and nAs·n·Rz² for the bolts: 1e-12 of those, and 1e-10 of
// the slopes times one radian besides, leave it a wide margin.
double SignsCertainWithin(const SectionConstants& ring, const Balance& start, double N, double M) {
    const double Rz = ring.Rz;
    const double W = kPi * Rz * Rz - ring.holeArea + ring.nAs * ring.bolts;
    const double slopeD = Rz * W;
    const double slopeB = slopeD * (std::fabs(M) + 3.0 * std::fabs(N) * Rz);
    if (!(slopeD > 0) || !(slopeB > 0) || !std::isfinite(slopeB)) {
        return 0;
    }
    const double termsD = Rz * (Rz * Rz + ring.nAs * ring.bolts);
    const double errorD = 1e-10 * slopeD + 1e-12 * termsD;
    const double errorB = 1e-10 * slopeB + 1e-12 * termsD * (std::fabs(M) + std::fabs(N) * Rz);
    const double hB = (std::fabs(start.B) - 2 * errorB) / slopeB;
    const double hD = (std::fabs(start.D) - 2 * errorD) / slopeD;
    const double h = std::min(hB, hD);
    return h > 0 && std::isfinite(h) ? h : 0.0;
}

// From where the stepping search stopped, the nearest angle where B changes sign without the
// denominator D changing its sign on the way (F keeps its branch), narrowed to the exact root.
// The search's own stop leaves the stresses off by up to several per cent where they are
// ill-conditioned in the angle.
std::optional<Balance> NearestRoot(const SectionConstants& ring, const Balance& start, double N,
                                   double M) {
    const double phi0 = start.angle.phi;
    if (start.B == 0) {
        return start;
    }
    const bool positiveBranch = start.D > 0;
    // The probes within this distance are certain to find the start's signs: they are made only
    // when one of them turns out to be the near end of the bracket.
    const double certain = SignsCertainWithin(ring, start, N, M);
    Balance last[2] = {start, start};
    double skipped[2] = {0, 0};  // the angle of last[dir] when it was not made, else 0
    auto lastProbe = [&](int dir) -> const Balance& {
        if (skipped[dir] != 0) {
            last[dir] = BalanceAt(ring, AngleNear(start.angle, skipped[dir]), N, M);
            skipped[dir] = 0;
        }
        return last[dir];
    };
    bool open[2] = {true, true};
    for (double h = 1e-7; open[0] || open[1]; h *= 4) {
        for (int dir = 0; dir < 2; ++dir) {
            if (!open[dir]) {
                continue;
            }
            const double phi = dir == 0 ? phi0 - h : phi0 + h;
            if (h < certain && phi > 0 && phi < kPi) {
                skipped[dir] = phi;
                continue;
            }
            Balance probe;
            if (phi <= 0 || phi >= kPi) {
                probe = BalanceAt(ring, AngleAt(std::clamp(phi, 0.0, kPi)), N, M);
                open[dir] = false;
            } else {
                probe = BalanceAt(ring, AngleNear(start.angle, phi), N, M);
            }
            if ((probe.D > 0) != positiveBranch) {
                // A pole of F lies between: narrow it down and look at B just before it.
                Balance good = lastProbe(dir);
                for (int k = 0; k < 60 && std::fabs(probe.angle.phi - good.angle.phi) > kAngleExact;
                     ++k) {
                    const Balance mid =
                        BalanceAt(ring, AngleAt(0.5 * (good.angle.phi + probe.angle.phi)), N, M);
                    ((mid.D > 0) == positiveBranch ? good : probe) = mid;
                }
                open[dir] = false;
                probe = good;
            }
            if ((probe.B > 0) != (start.B > 0) || probe.B == 0) {
                return RootBetween(ring, lastProbe(dir), probe, N, M);
            }
            last[dir] = probe;
            skipped[dir] = 0;
        }
    }
    return std::nullopt;
}

// Without a compressive axial force there is nothing for the stepping search to start from: look
// from the nearly wholly bearing plate towards the lift-off for the first angle where B changes
// sign with a positive stress gradient.
std::optional<Balance> SegmentWithoutCompression(const SectionConstants& ring, double N, double M) {
    constexpr int kSteps = 90;  // 2° apart
    Balance upper = BalanceAt(ring, AngleAt(kPi), N, M);
    for (int k = 1; k <= kSteps; ++k) {
        const Balance lower = BalanceAt(ring, AngleAt(kPi * (kSteps - k) / kSteps), N, M);
        if ((upper.B > 0) != (lower.B > 0) || lower.B == 0) {
            const Balance root = RootBetween(ring, lower, upper, N, M);
            if (Gradient(root, N, M) > 0) {
                return root;
            }
        }
        upper = lower;
    }
    return std::nullopt;
}

// The bolts alone, their forces linear over the bolt circle, T_j = p·Rs·cos θ_j + q: the
// plate lifts off when the strain at its compressed edge is not compressive, q ≥ p·Rz.
struct LiftOff {
    double p = 0;  // kG per cm of Rs·cos θ
    double q = 0;  // kG
};

std::optional<LiftOff> BoltsAlone(const DesignCase& s, const SectionConstants& ring, double N,
                                  double M) {
    const int n = s.Liczba_srub;
    double c1 = 0;
    double c2 = 0;
    for (int j = 1; j <= n; ++j) {
        const double c = ring.cosBolt[j - 1];
        c1 += c;
        c2 += c * c;
    }
    const double rs = s.Rs_cm;
    // Σ T = −N and Σ T·Rs·cos θ = M.
    const double det = rs * c1 * rs * c1 - n * rs * rs * c2;
    if (std::fabs(det) <= 1e-9 * n * rs * rs) {
        return std::nullopt;  // a single bolt cannot hold a moment without the plate
    }
    LiftOff out;
    out.p = (-N * rs * c1 - n * M) / det;
    out.q = (rs * c1 * M + N * rs * rs * c2) / det;
    const double scale = std::fabs(out.q) + std::fabs(out.p) * s.Rz_cm;
    if (out.p < 0 || out.q - out.p * s.Rz_cm < -1e-12 * scale) {
        return std::nullopt;
    }
    return out;
}

// The residual where it is defined, nothing at a pole or a zero section.
std::optional<Residual> TryResidual(const DesignCase& s, const SectionConstants& ring, double phi) {
    try {
        return EquilibriumResidual(s, ring, phi);
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

struct GiveUp {};

// When the stepping search wanders, look for the first sign change of F below the start angle on
// a continuous branch of g (the denominator keeps its sign across the bracket), and narrow it.
std::optional<Residual> BracketSearch(const DesignCase& s, const SectionConstants& ring,
                                      int& evaluations) {
    const double h = kStartAngle / kBracketSteps;
    std::optional<Residual> upper = TryResidual(s, ring, kStartAngle);
    ++evaluations;
    for (int k = 1; k < kBracketSteps; ++k) {
        const double phi = kStartAngle - k * h;
        std::optional<Residual> lower = TryResidual(s, ring, phi);
        ++evaluations;
        const bool bracket = upper && lower && upper->F * lower->F <= 0 &&
                             upper->denominator * lower->denominator > 0;
        if (bracket) {
            Residual hi = *upper;
            Residual lo = *lower;
            if (std::fabs(lo.F) < kResidualTolerance) {
                return lo;
            }
            if (std::fabs(hi.F) < kResidualTolerance) {
                return hi;
            }
            for (int b = 0; b < kBisections; ++b) {
                std::optional<Residual> mid = TryResidual(s, ring, 0.5 * (lo.phi + hi.phi));
                ++evaluations;
                if (!mid) {
                    break;
                }
                if (std::fabs(mid->F) < kResidualTolerance) {
                    return mid;
                }
                if ((mid->F < 0) == (lo.F < 0)) {
                    lo = *mid;
                } else {
                    hi = *mid;
                }
            }
        }
        upper = lower;
    }
    return std::nullopt;
}

void UpdateMaxima(DesignCase& s, int i) {
    if (s.Sig_b_max < s.Sig_b[i]) {
        s.Sig_b_max = ToSingleChecked(s.Sig_b[i]);
    }
    if (s.Sig_s_max < s.Sig_s[i]) {
        s.Sig_s_max = ToSingleChecked(s.Sig_s[i]);
        s.F_s_max = ToSingleChecked(static_cast<double>(s.Sig_s_max) * s.As_sruby);
    }
}

Stop NoEquilibrium(int i) {
    Stop stop;
    stop.title = QStringLiteral("Schemat nr ") + QString::number(i);
    stop.message = QStringLiteral(
                       "Schemat nr %1: żadne położenie osi obojętnej nie spełnia "
                       "warunków równowagi sił i momentów. Sprawdź wymiary blachy, "
                       "śruby i obciążenie.")
                       .arg(i);
    stop.icon = StopIcon::Critical;
    return stop;
}

// The search for a compressed plate, stepping from just below π towards smaller angles as it
// has always been done; it gives up after a bounded number of evaluations, and a bracketing scan
// takes over.
TrialPoint SteppingSearch(const DesignCase& s, const SectionConstants& ring, SearchResult& result) {
    const double angleTolerance = 0.01 / s.Rad_deg;
    TrialPoint at{};
    int first = 0;  // the next of the first trials the design has the sums of
    auto evaluate = [&](double phi) {
        if (result.evaluations >= kSearchEvaluationLimit) {
            throw GiveUp{};
        }
        ++result.evaluations;
        if (first < ring.firstTrialCount && phi == ring.firstTrials[first].angle.phi) {
            at = ring.firstTrials[first++];
        } else {
            at.angle = AngleNear(at.angle, phi);
            at.sums = SumsAt(ring, at.angle);
        }
        return ResidualOf(s, ring, phi, at.sums);
    };
    try {
        int c = 0;
        double div = kFirstDivisions;
        double phi = kStartAngle;
        double dphi = -kPi / div;
        Residual cur = evaluate(phi);
        for (;;) {
            const double fOld = cur.F;
            phi += 2 * dphi;
            cur = evaluate(phi);
            const double F = cur.F;
            if (F * fOld < 0) {
                c = 0;
                phi -= std::fabs(F) * dphi / (std::fabs(F) + std::fabs(fOld));
                cur = evaluate(phi);
                if (std::fabs(cur.F) < kResidualTolerance) {
                    return at;
                }
                dphi *= 0.1;
                if (std::fabs(dphi) < angleTolerance) {
                    return at;
                }
                continue;
            }
            if ((F - fOld > 0 && F < 0) || (F - fOld <= 0 && F > 0)) {
                continue;  // approaching zero
            }
            ++c;
            if (c <= 1) {
                // Reverse; the next pass compares with the F of the angle just evaluated.
                dphi = -dphi;
                phi += dphi;
                continue;
            }
            div *= 10;
            c = 0;
            phi -= 2 * dphi;
            dphi = -kPi / div;
            cur = evaluate(phi);
        }
    } catch (const GiveUp&) {
        std::optional<Residual> found = BracketSearch(s, ring, result.evaluations);
        if (!found) {
            throw CalcStop(NoEquilibrium(s.Nr_przyp));
        }
        result.fallback = true;
        return {AngleAt(found->phi), {found->a, found->S, found->J, found->S1, found->S2}};
    }
}

// The residual's intermediate values at the final angle, with the gradient that holds both
// conditions, so that N = 0 needs no division by it.
Residual EquilibriumResidualAt(const DesignCase& s, const Balance& b, double N, double M) {
    Residual r;
    r.phi = b.angle.phi;
    r.a = b.sums.a;
    r.S = b.sums.S;
    r.J = b.sums.J;
    r.S1 = b.sums.S1;
    r.S2 = b.sums.S2;
    r.k = b.sums.S != 0 ? b.sums.J / b.sums.S : 0.0;
    r.xZ = b.sums.S1 != 0 ? b.sums.S2 / b.sums.S1 - b.sums.a : 0.0;
    r.denominator = b.D;
    r.g = Gradient(b, N, M);
    r.Z = r.g * s.Es_Eb * s.As_sruby * b.sums.S1;
    r.F = r.g * b.Q - M;  // the moment imbalance, kG·cm
    return r;
}

void StoreSegment(DesignCase& s, const SectionConstants& ring, int i, const Balance& root, double N,
                  double M) {
    const double g = Gradient(root, N, M);
    if (!(g > 0)) {
        throw CalcStop(NoEquilibrium(i));
    }
    const double a = root.sums.a;
    const double n = s.Es_Eb;
    s.Docisk_blachy[i] = Bearing::Partly;
    s.a_cm[i] = a;
    s.Sig_s[i] = Finite(n * g * (s.Rs_cm + a));
    if (!(s.Sig_s[i] > 0)) {
        s.Sig_s[i] = 0;
    }
    s.Sig_b[i] = Finite(g * (s.Rz_cm - a));
    for (int j = 1; j <= s.Liczba_srub; ++j) {
        s.d_sruby[j] = ring.rsCos[j - 1] + a;
        s.Sig_sruby[j] = Finite(n * g * s.d_sruby[j]);
        s.Sig_sr[j][i] = s.Sig_sruby[j];
    }
    UpdateMaxima(s, i);
}

void StoreLiftedPlate(DesignCase& s, const SectionConstants& ring, int i, const LiftOff& lift) {
    s.Docisk_blachy[i] = Bearing::Lifted;
    // The neutral axis lies beyond the plate (at infinity without a moment).
    s.a_cm[i] = lift.p > 0 ? lift.q / lift.p : std::numeric_limits<double>::infinity();
    s.Sig_b[i] = 0;
    for (int j = 1; j <= s.Liczba_srub; ++j) {
        const double force = lift.p * s.Rs_cm * ring.cosBolt[j - 1] + lift.q;
        s.Sig_sruby[j] = Finite(Div(force, s.As_sruby));
        s.Sig_sr[j][i] = s.Sig_sruby[j];
    }
    s.Sig_s[i] = std::max(0.0, s.Sig_sruby[1]);
    UpdateMaxima(s, i);
}

}  // namespace

Stop NoEquilibriumStop(int caseNumber) {
    return NoEquilibrium(caseNumber);
}

SectionConstants PrepareSection(const DesignCase& s) {
    SectionConstants ring;
    ring.Rz = s.Rz_cm;
    ring.Rw = s.Rw_cm;
    ring.Rs = s.Rs_cm;
    ring.Rz3 = ring.Rz * ring.Rz * ring.Rz;
    ring.Rz4by12 = ring.Rz * ring.Rz * ring.Rz * ring.Rz / 12.0;
    ring.Rw3 = ring.Rw * ring.Rw * ring.Rw;
    ring.Rw4by12 = ring.Rw * ring.Rw * ring.Rw * ring.Rw / 12.0;
    ring.RzByRw = ring.Rw > 0 ? ring.Rz / ring.Rw : 0.0;
    ring.holeArea = kPi * ring.Rw * ring.Rw;
    ring.holeInertia = kPi * ring.Rw * ring.Rw * ring.Rw * ring.Rw / 4.0;
    ring.nAs = s.Es_Eb * s.As_sruby;
    // More bolts than the arrays hold is refused by the solver before any bolt is read.
    ring.bolts = std::clamp<int>(s.Liczba_srub, 0, kMaxBolts);
    for (int j = 0; j < ring.bolts; ++j) {
        ring.cosBolt[j] = std::cos(j * s.Kat_srub);
        ring.rsCos[j] = s.Rs_cm * ring.cosBolt[j];
    }
    // The angles as the stepping search reaches them, added up the same way, so that it finds
    // them here by their exact value.
    const double firstStep = 2 * (-kPi / kFirstDivisions);
    double phi = kStartAngle;
    for (TrialPoint& trial : ring.firstTrials) {
        if (!(phi > 0)) {
            break;
        }
        trial.angle = AngleAt(phi);
        trial.sums = SumsAt(ring, trial.angle);
        ++ring.firstTrialCount;
        phi += firstStep;
    }
    return ring;
}

Residual EquilibriumResidual(const DesignCase& s, double phi) {
    return EquilibriumResidual(s, PrepareSection(s), phi);
}

Residual EquilibriumResidual(const DesignCase& s, const SectionConstants& ring, double phi) {
    return ResidualOf(s, ring, phi, SumsAt(ring, AngleAt(phi)));
}

SearchResult FindNeutralAxis(DesignCase& s) {
    return FindNeutralAxis(s, PrepareSection(s));
}

SearchResult FindNeutralAxis(DesignCase& s, const SectionConstants& ring) {
    const int i = s.Nr_przyp;
    SearchResult result;
    s.Sig_s[i] = 0;
    const double N = s.N_kG[i];
    const double M = 100.0 * std::fabs(s.M_kGm[i]);  // kG·cm; its sign is only its direction
    bool whole = (N > 0 && !(s.e_cm[i] > s.r_rdzenia)) || (N == 0 && M == 0);
    std::optional<Balance> offRing;
    if (N > 0 && ring.Rs > ring.Rz) {
        // The ring bears without any bolt stretched only while the neutral axis stays beyond the
        // bolt circle, a ≤ −Rs, not just beyond the ring's edge; between the two the outer bolts
        // carry tension with the whole ring compressed.
        const Balance outer = BalanceOffRing(ring, -ring.Rs, N, M);
        const Balance edge = BalanceOffRing(ring, -ring.Rz, N, M);
        whole = outer.B >= 0;
        if (!whole && edge.B >= 0) {
            offRing = RootOffRing(ring, outer, edge, N, M);
        }
    }
    if (whole) {
        // The whole ring bears; no bolt is in tension.
        s.Docisk_blachy[i] = Bearing::Whole;
        s.Sig_b[i] = Finite(Div(N, s.A_pierscienia) + Div(M, s.W_pierscienia));
        for (int j = 1; j <= kMaxBolts; ++j) {
            s.Sig_sr[j][i] = 0;
        }
        UpdateMaxima(s, i);
        return result;
    }
    if (s.Liczba_srub > kMaxBolts) {
        throw CalcError(kIndexOutOfRange);
    }
    if (N <= 0) {
        if (const std::optional<LiftOff> lift = BoltsAlone(s, ring, N, M)) {
            StoreLiftedPlate(s, ring, i, *lift);
            return result;
        }
    }

    std::optional<Balance> root;
    if (offRing) {
        root = offRing;
    } else if (N > 0) {
        const TrialPoint stop = SteppingSearch(s, ring, result);
        const Balance start = BalanceOf(ring, stop.angle, stop.sums, N, M);
        root = NearestRoot(ring, start, N, M);
        if (!root) {
            // No root on the branch where the search stopped: its own answer is the best there is.
            root = start;
        }
    } else {
        root = SegmentWithoutCompression(ring, N, M);
        if (!root) {
            throw CalcStop(NoEquilibrium(i));
        }
    }
    result.last = EquilibriumResidualAt(s, *root, N, M);
    StoreSegment(s, ring, i, *root, N, M);
    return result;
}

void SolveLoadCase(DesignCase& s, const QLocale& locale) {
    SolveLoadCase(s, PrepareSection(s), locale);
}

void SolveLoadCase(DesignCase& s, const SectionConstants& ring, const QLocale& locale) {
    SolveSection(s, ring);
    CheckHorizontalForce(s, s.Nr_przyp, locale);
}

void SolveSection(DesignCase& s, const SectionConstants& ring) {
    const int i = s.Nr_przyp;
    const double N = s.N_kG[i];
    const double M = std::fabs(s.M_kGm[i]);
    if (N != 0) {
        s.e_cm[i] = Div(M, N) * 100.0;
    } else {
        s.e_cm[i] = M == 0 ? 0.0 : std::numeric_limits<double>::infinity();
    }
    FindNeutralAxis(s, ring);
}

}  // namespace vardel
