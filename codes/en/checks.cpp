#include "codes/en/checks.h"

#include "codes/check.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vardel::en {
namespace {

// The PN-B concrete classes B15 … B37 as the C classes they stand for.
constexpr int kClassOfPnb[] = {0, 0, 1, 2, 3, 4};  // Nrbetonu 1..5 → C12/15 … C30/37

constexpr double kSteelModulus = 210000.0;  // MPa, EN 1993-1-1 3.2.6

int ConcreteIndex(const DesignCase& s) {
    const int k = s.Eurokod.Klasa_C;
    if (k >= 1 && k <= kConcreteClasses) {
        return k - 1;
    }
    return kClassOfPnb[std::clamp<int>(s.Nrbetonu, 1, 5)];
}

QString Field(const char* text) {
    return QString::fromUtf8(text);
}

// The anchors of case i: positions (mm from the plate centre, x towards the most tensioned
// anchor) and forces (N, tension positive).
struct Anchor {
    Point at;
    double force = 0;
};

std::vector<Anchor> AnchorsOf(const DesignCase& s, int i, const Parameters& p) {
    std::vector<Anchor> out;
    out.reserve(p.anchors);
    for (int j = 1; j <= p.anchors && j <= kMaxBolts; ++j) {
        const double theta = (j - 1) * p.angle;
        const double sigma = HasStressSketch(s, i) ? s.Sig_sr[j][i] / kKgcm2PerMpa : 0.0;
        out.push_back({{p.Rs * std::cos(theta), p.Rs * std::sin(theta)}, sigma * p.A_s});
    }
    return out;
}

// The cone of a group: N_Rk,c with the edge, spalling and eccentricity factors, for the anchors
// `group` with the weights `force` (the eccentricity is that of the forces' resultant from the
// group's centroid; equal weights give none).
double ConeResistance(const std::vector<Anchor>& group, const Parameters& p) {
    if (group.empty()) {
        return 0.0;
    }
    const double s_cr = 3.0 * p.h_ef;
    const double c_cr = 1.5 * p.h_ef;
    std::vector<Point> points;
    points.reserve(group.size());
    double c = std::numeric_limits<double>::infinity();
    double sx = 0, sy = 0, fx = 0, fy = 0, f = 0;
    for (const Anchor& a : group) {
        points.push_back(a.at);
        c = std::min(c, p.B / 2.0 - std::max(std::fabs(a.at.x), std::fabs(a.at.y)));
        sx += a.at.x;
        sy += a.at.y;
        fx += a.force * a.at.x;
        fy += a.force * a.at.y;
        f += a.force;
    }
    const double n = static_cast<double>(group.size());
    const double ex = f > 0 ? fx / f - sx / n : 0.0;
    const double ey = f > 0 ? fy / f - sy / n : 0.0;
    const double A = ConeProjectedArea(points, s_cr, p.B);
    const double A0 = s_cr * s_cr;
    return ConeResistanceSingle(p.f_ck, p.h_ef, p.cracked) * A / A0 *
           EdgeFactor(std::max(c, 0.0), c_cr) * ShellSpallingFactor(p.h_ef) *
           EccentricityFactor(ex, s_cr) * EccentricityFactor(ey, s_cr);
}

}  // namespace

std::optional<QString> InputProblem(const DesignCase& s) {
    const EurocodeInputs& e = s.Eurokod;
    const double d = s.Fi_sruby;
    if (!(e.t_blachy > 0)) {
        return Field("Grubość blachy t_p musi być większa od zera.");
    }
    if (e.Stal_blachy < 0 || e.Stal_blachy >= kPlateSteels) {
        return Field("Stal blachy: wybierz S235, S275 albo S355.");
    }
    if (e.D_rury < 0) {
        return Field("Średnica rury D nie może być ujemna.");
    }
    if (e.D_rury > 0) {
        if (e.D_rury > 2 * s.R_zewn) {
            return Field("Rura słupa (D) jest szersza od blachy.");
        }
        if (e.D_rury / 2 <= s.R_wewn) {
            return Field(
                "Rura słupa (D) musi stać na pierścieniu: D/2 większe od promienia "
                "wewnętrznego.");
        }
        if (!(e.t_rury > 0) || 2 * e.t_rury >= e.D_rury) {
            return Field("Grubość ścianki rury t_w musi być większa od zera i mniejsza od D/2.");
        }
    }
    if (e.B_bloku < 0 || (e.B_bloku > 0 && e.B_bloku < 2 * s.R_zewn)) {
        return Field("Bok bloku fundamentu B jest mniejszy od średnicy blachy.");
    }
    if (e.H_bloku < 0) {
        return Field("Wysokość bloku fundamentu H nie może być ujemna.");
    }
    if (e.Klasa_C < 0 || e.Klasa_C > kConcreteClasses) {
        return Field("Klasa betonu: wybierz C12/15 … C50/60.");
    }
    if (e.Klasa_sruby < 0 || e.Klasa_sruby > kBoltClassGradeSteel) {
        return Field("Klasa śrub: wybierz 4.6, 5.6, 8.8 albo stal śrub z tabeli PN-B.");
    }
    if (!(e.h_ef > 0)) {
        return Field("Głębokość zakotwienia h_ef musi być większa od zera.");
    }
    if (e.d_glowy < 0 || (e.d_glowy > 0 && e.d_glowy <= d)) {
        return Field("Średnica łba (płytki) kotwy musi być większa od średnicy śruby.");
    }
    return std::nullopt;
}

Parameters ParametersOf(const DesignCase& s) {
    const EurocodeInputs& e = s.Eurokod;
    Parameters p;
    p.factors = e.Zalacznik == 1 ? CenFactors() : PolishAnnexFactors();
    const PartialFactors& g = p.factors;
    const int cls = ConcreteIndex(s);
    p.concrete = ConcreteClassName(cls);
    p.f_ck = CharacteristicCylinderStrength(cls);
    p.f_cd = DesignCompressiveStrength(p.f_ck, g);
    p.f_ctd = DesignTensileStrength(p.f_ck, g);
    p.E_cm = SecantModulus(p.f_ck);
    p.Rz = s.R_zewn;
    p.Rw = s.R_wewn;
    p.Rs = s.R_srub;
    p.anchors = s.Liczba_srub;
    p.angle = s.Kat_srub;
    p.t_p = e.t_blachy;
    p.f_y = PlateYieldStrength(e.Stal_blachy, p.t_p);
    p.D = e.D_rury;
    p.t_w = e.t_rury;
    p.B = e.B_bloku > 0 ? e.B_bloku : 2.0 * p.Rz;
    p.H = e.H_bloku;
    p.alpha = BearingConcentrationFactor(p.Rz, p.B, p.H);
    p.f_jd = BearingStrength(p.beta_j, p.alpha, p.f_cd);
    p.c = EffectiveBearingWidth(p.t_p, p.f_y, p.f_jd, g.gamma_M0);
    const Ring ring = EffectiveRing(p.Rz, p.Rw, p.D, p.t_w, p.c);
    p.r_i = ring.r_i;
    p.r_o = ring.r_o;
    p.d = s.Fi_sruby;
    p.A_s = s.As_sruby * 100.0;  // cm² → mm²
    p.boltClass = e.Klasa_sruby;
    const bool propertyClass = p.boltClass != kBoltClassGradeSteel;
    if (propertyClass) {
        p.anchorSteel = BoltClassName(p.boltClass);
        p.f_yb = BoltYieldStrength(p.boltClass);
        p.f_ub = BoltUltimateStrength(p.boltClass);
    } else {
        const GradeSteel steel = AnchorGradeSteel(s.Nrstali, p.d);
        p.anchorSteel = steel.name;
        p.anchorSteelEquivalent = steel.equivalent;
        p.f_yb = steel.f_y;
        p.f_ub = steel.f_u;
    }
    p.gamma_Ms = AnchorSteelFactor(p.f_ub, p.f_yb);
    p.gamma_Mc = g.gamma_c * g.gamma_inst;
    p.F_tRd = BoltTensionResistance(p.f_ub, p.A_s, g.gamma_M2);
    p.N_Rds = AnchorSteelTensionResistance(p.A_s, p.f_ub) / p.gamma_Ms;
    p.F_vbRd = AnchorShearResistance(p.f_ub, p.f_yb, p.A_s, g.gamma_M2, propertyClass);
    p.h_ef = e.h_ef;
    p.d_head = e.d_glowy;
    p.cracked = e.Zarysowany != 0;
    return p;
}

double StiffnessRatio(const DesignCase& s, const Parameters& p) {
    return s.Tryb_n == 1 ? s.Es_Eb : kSteelModulus / p.E_cm;
}

std::vector<CheckResult> CaseChecks(const DesignCase& s, int i, const Parameters& p,
                                    double* N_Rk_c_kN) {
    std::vector<CheckResult> out;
    const std::vector<Anchor> anchors = AnchorsOf(s, i, p);
    std::vector<Anchor> tensioned;
    double T_max = 0;
    double T_sum = 0;
    for (const Anchor& a : anchors) {
        if (a.force > 0) {
            tensioned.push_back(a);
            T_max = std::max(T_max, a.force);
            T_sum += a.force;
        }
    }
    const double N = s.N_kN[i] * 1000.0;             // N, compression positive
    const double V = std::fabs(s.V_kN[i]) * 1000.0;  // N
    const double kN = 1e-3;

    const double sigma_b = s.Sig_b[i] / kKgcm2PerMpa;
    out.push_back({"bearing", "EN 1993-1-8 6.2.5", sigma_b, p.f_jd, Ratio(sigma_b, p.f_jd)});

    const double N_Rdc = ConeResistance(tensioned, p) / p.gamma_Mc;
    if (N_Rk_c_kN) {
        *N_Rk_c_kN = N_Rdc * p.gamma_Mc * kN;
    }
    double N_Rdp = 0;
    if (T_max > 0) {
        const double steel = std::min(p.F_tRd, p.N_Rds);
        out.push_back({"anchor_steel", "EN 1993-1-8 3.6.1, EN 1992-4 7.2.1.3", T_max * kN,
                       steel * kN, Ratio(T_max, steel)});
        out.push_back({"cone", "EN 1992-4 7.2.1.4", T_sum * kN, N_Rdc * kN, Ratio(T_sum, N_Rdc)});
        if (p.d_head > 0) {
            N_Rdp = PullOutResistance(p.f_ck, p.d_head, p.d, p.cracked) / p.gamma_Mc;
            out.push_back(
                {"pullout", "EN 1992-4 7.2.1.5", T_max * kN, N_Rdp * kN, Ratio(T_max, N_Rdp)});
        } else {
            const double l_bd = HookAnchorageLength(T_max / p.A_s, p.d, p.f_ctd);
            out.push_back({"anchorage", "EN 1992-1-1 8.4", l_bd, p.h_ef, Ratio(l_bd, p.h_ef)});
        }
    }

    double V_Rdcp = 0;
    if (V > 0) {
        const double V_Rd = BaseShearResistance(p.factors.C_fd, N, p.anchors, p.F_vbRd);
        out.push_back({"shear", "EN 1993-1-8 6.2.2", V * kN, V_Rd * kN, Ratio(V, V_Rd)});
        std::vector<Anchor> all = anchors;
        for (Anchor& a : all) {
            a.force = 1.0;  // pry-out loads the whole group evenly
        }
        V_Rdcp = PryOutResistance(ConeResistance(all, p)) / p.gamma_Mc;
        out.push_back({"pryout", "EN 1992-4 7.2.2.4", V * kN, V_Rdcp * kN, Ratio(V, V_Rdcp)});
    }

    if (T_max > 0 && V > 0) {
        // The anchors take what friction leaves, shared evenly.
        const double V_b = std::max(0.0, V - p.factors.C_fd * std::max(N, 0.0));
        const double betaN = Ratio(T_max, std::min(p.F_tRd, p.N_Rds));
        const double betaV = Ratio(V_b / p.anchors, p.F_vbRd);
        const double steel = SteelInteraction(betaN, betaV);
        out.push_back({"tension_shear_steel", "EN 1992-4 7.2.3 (7.54)", steel, 1.0, steel});
        double betaNc = Ratio(T_sum, N_Rdc);
        if (N_Rdp > 0) {
            betaNc = std::max(betaNc, Ratio(T_max, N_Rdp));
        }
        const double concrete = ConcreteInteraction(betaNc, Ratio(V_b, V_Rdcp));
        out.push_back(
            {"tension_shear_concrete", "EN 1992-4 7.2.3 (7.55)", concrete, 1.0, concrete});
    }

    if (T_max > 0 && p.D > 0) {
        // The plate between the anchor and the tube wall: outside the tube towards the plate's
        // edge, inside it towards the hole.
        const bool outside = p.Rs > p.D / 2.0;
        const double m = outside ? p.Rs - p.D / 2.0 : p.D / 2.0 - p.t_w - p.Rs;
        const double e = outside ? p.Rz - p.Rs : p.Rs - p.Rw;
        if (m > 0 && e > 0) {
            const double L_b = 8.0 * p.d + p.t_p;
            const TStub t =
                PlateTStubResistance(m, e, p.t_p, p.f_y, p.factors.gamma_M0, p.F_tRd, p.A_s, L_b);
            const std::string_view clause = t.mode == 1    ? "EN 1993-1-8 6.2.4 mode 1"
                                            : t.mode == 2  ? "EN 1993-1-8 6.2.4 mode 2"
                                            : t.mode == 12 ? "EN 1993-1-8 6.2.4 mode 1-2"
                                                           : "EN 1993-1-8 6.2.4 mode 3";
            out.push_back({"plate", clause, T_max * kN, t.F_T * kN, Ratio(T_max, t.F_T)});
        }
    }
    return out;
}

}  // namespace vardel::en
