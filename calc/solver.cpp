#include "calc/solver.h"

#include "calc/stop.h"
#include "state/numbers.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace vardel {
namespace {

// First moment about the chord of the segment of a circle of radius ρ beyond a chord at
// half-angle t.
double SegmentS(double rho, double t) {
    const double st = std::sin(t);
    return rho * rho * rho * (st - t * std::cos(t) - st * st * st / 3.0);
}

// ∫ x·(x − a) dA over the same segment, x measured from the circle's centre, a = ρ·cos t.
double SegmentJ(double rho, double t) {
    const double ct = std::cos(t);
    return rho * rho * rho * rho / 12.0 * (3.0 * t + (ct * ct - 2.5) * std::sin(2.0 * t));
}

constexpr double kStartAngle = 3.141278494324431;  // 0.9999·π
constexpr double kResidualTolerance = 100.0;       // kG·cm
constexpr int kBracketSteps = 1800;                // 0.1° steps of the bracketing scan
constexpr int kBisections = 200;

// Section and bolt sums without the divisions that can fail: shared by the checked residual and
// the bracketing scan, which must step over poles instead of stopping at them.
struct Sums {
    double a, S, J, S1, S2;
};

Sums SectionSums(const DesignCase& s, double phi) {
    Sums out{};
    const double Rz = s.Rz_cm;
    const double r = s.Rw_cm;
    const double a = Rz * std::cos(phi);
    out.a = a;
    if (std::fabs(a) > r || r <= 0.0) {
        out.S = SegmentS(Rz, phi);
        out.J = SegmentJ(Rz, phi);
        if (phi >= kPi / 2) {
            // The hole lies wholly in the compressed zone.
            out.S += kPi * r * r * a;
            out.J -= kPi * r * r * r * r / 4.0;
        }
    } else {
        // The chord cuts the hole.
        const double psi = std::acos(std::clamp(a / r, -1.0, 1.0));
        out.S = SegmentS(Rz, phi) - SegmentS(r, psi);
        out.J = SegmentJ(Rz, phi) - SegmentJ(r, psi);
    }

    // Tensioned bolts, each once: the bolt at angle 0, then pairs symmetric about the bending
    // plane, and the bolt at angle π alone when the count is even. The walk stops at the first
    // bolt on the compressed side; those beyond it are nearer the compressed edge.
    const int n = s.Liczba_srub;
    const int half = n / 2;
    double S1 = 0;
    double S2 = 0;
    for (int j = 1; j <= half; ++j) {
        const double d = s.Rs_cm * std::cos(j * s.Kat_srub) + a;
        if (d < 0) {
            break;
        }
        const double weight = (n % 2 == 0 && j == half) ? 1.0 : 2.0;
        S1 += weight * d;
        S2 += weight * d * d;
    }
    const double d0 = s.Rs_cm + a;
    S1 += d0;
    S2 += d0 * d0;
    out.S1 = S1;
    out.S2 = S2;
    return out;
}

double Denominator(const DesignCase& s, const Sums& sums) {
    return sums.S - s.Es_Eb * s.As_sruby * sums.S1;
}

// The residual where it is defined, nothing at a pole or a zero section.
std::optional<Residual> TryResidual(const DesignCase& s, double phi) {
    try {
        return EquilibriumResidual(s, phi);
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

struct GiveUp {};

// When the stepping search wanders, look for the first sign change of F below the start angle on
// a continuous branch of g (the denominator keeps its sign across the bracket), and narrow it.
std::optional<Residual> BracketSearch(const DesignCase& s, int& evaluations) {
    const double h = kStartAngle / kBracketSteps;
    std::optional<Residual> upper = TryResidual(s, kStartAngle);
    ++evaluations;
    for (int k = 1; k < kBracketSteps; ++k) {
        const double phi = kStartAngle - k * h;
        std::optional<Residual> lower = TryResidual(s, phi);
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
                std::optional<Residual> mid = TryResidual(s, 0.5 * (lo.phi + hi.phi));
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

void CheckHorizontalForce(DesignCase& s, int i, const QLocale& locale) {
    const float V = static_cast<float>(s.V_kG[i]);
    s.Wynik_V_u[i].reset();
    if (std::fabs(V) <= 0.01f) {
        // No horizontal force, no verdict: an earlier run's verdict must not stand for this one.
        s.Wynik_V[i].clear();
        s.Wynik_V_nr[i] = 0;
        return;
    }
    ++s.Liczba_V;
    auto verdict = [&](int line, const QString& tail = QString()) {
        s.Wynik_V_nr[i] = static_cast<Int16>(line);
        s.Wynik_V[i] = s.Teksty[line] + tail;
    };
    if (0.3 * s.N_kG[i] > static_cast<double>(V)) {
        verdict(46);  // carried by friction
        return;
    }
    const bool partly = IsPartlyCompressed(s, i);
    const int bolts = s.Liczba_srub;
    if (s.Tryb_sru == 0) {
        // All anchors carry the shear, the most stressed one in tension and shear together. A
        // wholly compressed section has no bolt tension.
        const float area = ToSingleChecked(bolts * s.As_sruby);
        double sigma = 0;
        if (partly) {
            for (int j = 1; j <= bolts; ++j) {
                sigma = std::max(sigma, std::fabs(s.Sig_sr[j][i]));
            }
        }
        const float tau = ToSingleChecked(Div(Div(V, area), kKgcm2PerMpa));
        const float sigmaMpa = ToSingleChecked(sigma / kKgcm2PerMpa);
        const float st = sigmaMpa / s.ft_sruby;
        const float sv = tau / s.fv_sruby;
        const float u = ToSingleChecked(st * st + sv * sv);
        s.Wynik_V_u[i] = u;
        if (u < 1.0f) {
            verdict(50);
        } else if (u > 1.05f) {
            verdict(52);
        } else {
            verdict(51, Format((u - 1.0f) * 100.0f, u"#0.0", locale) + u'%');
        }
        return;
    }
    // The anchors of the compressed zone carry the shear; in a wholly compressed section every
    // anchor lies in it.
    int compressed = bolts;
    if (partly) {
        compressed = 0;
        for (int j = 1; j <= bolts; ++j) {
            compressed += s.Sig_sruby[j] < 0 ? 1 : 0;
        }
    }
    const float area = ToSingleChecked(s.As_sruby * compressed);
    const float tau = ToSingleChecked(Div(Div(V, area), kKgcm2PerMpa));
    const float u = tau / s.fv_sruby;
    s.Wynik_V_u[i] = u;
    if (u < 1.0f) {
        verdict(47);
    } else if (u > 1.05f) {
        verdict(49);
        s.Wszystko_OK = false;
    } else {
        verdict(48, Format((u - 1.0f) * 100.0f, u"#0.0", locale) + u'%');
        s.Wszystko_OK = false;
    }
}

}  // namespace

Residual EquilibriumResidual(const DesignCase& s, double phi) {
    const int i = s.Nr_przyp;
    const Sums sums = SectionSums(s, phi);
    Residual r;
    r.phi = phi;
    r.a = sums.a;
    r.S = sums.S;
    r.J = sums.J;
    r.S1 = sums.S1;
    r.S2 = sums.S2;
    r.k = Div(sums.J, sums.S);
    r.xZ = Div(sums.S2, sums.S1) - sums.a;
    r.denominator = Denominator(s, sums);
    const double N = s.N_kG[i];
    r.g = Div(N, r.denominator);
    r.Z = Finite(r.g * s.Es_Eb * s.As_sruby * sums.S1);
    r.F = Finite(r.Z * (r.k + r.xZ) - N * (s.e_cm[i] - r.k));
    return r;
}

SearchResult FindNeutralAxis(DesignCase& s) {
    const int i = s.Nr_przyp;
    SearchResult result;
    s.Sig_s[i] = 0;
    if (!IsPartlyCompressed(s, i)) {
        // The whole ring bears; no bolt is in tension.
        s.Sig_b[i] =
            Finite(Div(s.N_kG[i], s.A_pierscienia) + Div(100.0 * s.M_kGm[i], s.W_pierscienia));
        for (int j = 1; j <= kMaxBolts; ++j) {
            s.Sig_sr[j][i] = 0;
        }
        UpdateMaxima(s, i);
        return result;
    }

    // Stepping search from just below π towards smaller angles, as it has always been done; it
    // gives up after a bounded number of evaluations.
    const double angleTolerance = 0.01 / s.Rad_deg;
    auto evaluate = [&](double phi) {
        if (result.evaluations >= kSearchEvaluationLimit) {
            throw GiveUp{};
        }
        ++result.evaluations;
        return EquilibriumResidual(s, phi);
    };
    try {
        int c = 0;
        double div = 18;
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
                    break;
                }
                dphi *= 0.1;
                if (std::fabs(dphi) < angleTolerance) {
                    break;
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
        result.last = cur;
    } catch (const GiveUp&) {
        std::optional<Residual> found = BracketSearch(s, result.evaluations);
        if (!found) {
            Stop stop;
            stop.title = QStringLiteral("Schemat nr ") + QString::number(i);
            stop.message = QStringLiteral(
                               "Schemat nr %1: żadne położenie osi obojętnej nie spełnia "
                               "warunków równowagi sił i momentów. Sprawdź wymiary blachy, "
                               "śruby i obciążenie.")
                               .arg(i);
            stop.icon = StopIcon::Critical;
            throw CalcStop(stop);
        }
        result.last = *found;
        result.fallback = true;
    }

    const Residual& r = result.last;
    const double n = s.Es_Eb;
    s.a_cm[i] = r.a;
    s.Sig_s[i] = Finite(n * r.g * (s.Rs_cm + r.a));
    if (!(s.Sig_s[i] > 0)) {
        s.Sig_s[i] = 0;
    }
    s.Sig_b[i] = Finite(r.g * (s.Rz_cm - r.a));
    if (s.Liczba_srub > kMaxBolts) {
        throw CalcError(kIndexOutOfRange);
    }
    for (int j = 1; j <= s.Liczba_srub; ++j) {
        const double theta = (j - 1) * s.Kat_srub;
        s.d_sruby[j] = s.Rs_cm * std::cos(theta) + r.a;
        s.Sig_sruby[j] = Finite(n * r.g * s.d_sruby[j]);
        s.Sig_sr[j][i] = s.Sig_sruby[j];
    }
    UpdateMaxima(s, i);
    return result;
}

void SolveLoadCase(DesignCase& s, const QLocale& locale) {
    const int i = s.Nr_przyp;
    s.e_cm[i] = Div(s.M_kGm[i], s.N_kG[i]) * 100.0;
    FindNeutralAxis(s);
    CheckHorizontalForce(s, i, locale);
}

void CheckBoltSteel(DesignCase& s, int i) {
    if (IsPartlyCompressed(s, i) && s.Sig_s[i] / kKgcm2PerMpa > s.fd_stali) {
        s.Wszystko_OK = false;
    }
}

ConcreteVerdict CheckConcrete(DesignCase& s, int i) {
    const double sigma = s.Sig_b[i] / kKgcm2PerMpa;
    const float twice = 2.0f * s.fcd_betonu;
    if (sigma > twice) {
        s.Beton_OK = false;
        return ConcreteVerdict::AboveTwice;
    }
    if (sigma < s.fcd_betonu) {
        return ConcreteVerdict::Below;
    }
    s.Omega_u[i] = static_cast<float>(s.Sig_b[i] / (s.fcd_betonu * kKgcm2PerMpa));
    return ConcreteVerdict::Between;
}

}  // namespace vardel
