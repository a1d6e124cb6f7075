#include "codes/en/rules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace vardel::en {
namespace {

struct ConcreteClass {
    std::string_view name;
    double f_ck;
};
constexpr std::array<ConcreteClass, kConcreteClasses> kConcrete{{{"C12/15", 12},
                                                                 {"C16/20", 16},
                                                                 {"C20/25", 20},
                                                                 {"C25/30", 25},
                                                                 {"C30/37", 30},
                                                                 {"C35/45", 35},
                                                                 {"C40/50", 40},
                                                                 {"C45/55", 45},
                                                                 {"C50/60", 50}}};

// f_y of EN 10025-2 for nominal thicknesses up to 16, 40, 63, 80, 100 and 150 mm.
struct PlateSteel {
    std::string_view name;
    std::array<double, 6> f_y;
};
constexpr std::array<double, 6> kThicknessLimits{16, 40, 63, 80, 100, 150};
constexpr std::array<PlateSteel, kPlateSteels> kPlateSteel{{
    {"S235", {235, 225, 215, 215, 215, 195}},
    {"S275", {275, 265, 255, 245, 235, 225}},
    {"S355", {355, 345, 335, 325, 315, 295}},
}};

struct BoltClass {
    std::string_view name;
    double f_yb, f_ub;
};
constexpr std::array<BoltClass, kBoltClasses> kBolt{
    {{"4.6", 240, 400}, {"5.6", 300, 500}, {"8.8", 640, 800}}};

// The PN-B anchor grades as EN 10025-2 grades, with that standard's minimum values (Table 7): f_y
// for nominal thicknesses up to 16, 40, 63, 80 and 100 mm, f_u for 3 to 100 mm, the lowest of its
// range. St0S is S185 (f_u 290), St3S S235 (360), St4V S275 (410), 18G2 and 18G2A S355 (470). The
// grades' own standard (PN-88/H-84020: St0S R_e 195, R_m 320; St3S 235, 380; St4 275, 440) gives
// as much or more: the EN values are the safe side. 18G2AV, stronger than 18G2, has no EN 10025-2
// grade of its strength, and 50B (the A-II reinforcing bar St50B, f_yk 355) no grade of its kind:
// both are taken as S355.
struct Grade {
    std::string_view name, equivalent;
    std::array<double, 5> f_y;
    double f_u;
};
constexpr std::array<double, 5> kRodDiameterLimits{16, 40, 63, 80, 100};
constexpr std::array<Grade, 6> kGrades{{
    {"St0S", "S185", {185, 175, 175, 175, 175}, 290},
    {"St3S", "S235", {235, 225, 215, 215, 215}, 360},
    {"St4V", "S275", {275, 265, 255, 245, 235}, 410},
    {"18G2", "S355", {355, 345, 335, 325, 315}, 470},
    {"18G2AV", "S355", {355, 345, 335, 325, 315}, 470},
    {"50B", "S355", {355, 345, 335, 325, 315}, 470},
}};

int Clamped(int index, int count) {
    return std::clamp(index, 0, count - 1);
}

}  // namespace

PartialFactors PolishAnnexFactors() {
    return {};
}

PartialFactors CenFactors() {
    PartialFactors g;
    g.name = "EN (CEN)";
    g.gamma_c = 1.5;
    return g;
}

std::string_view ConcreteClassName(int index) {
    return kConcrete[Clamped(index, kConcreteClasses)].name;
}

double CharacteristicCylinderStrength(int index) {
    return kConcrete[Clamped(index, kConcreteClasses)].f_ck;
}

double MeanTensileStrength(double f_ck) {
    return 0.30 * std::pow(f_ck, 2.0 / 3.0);
}

double SecantModulus(double f_ck) {
    return 22000.0 * std::pow((f_ck + 8.0) / 10.0, 0.3);
}

double DesignCompressiveStrength(double f_ck, const PartialFactors& g) {
    return g.alpha_cc * f_ck / g.gamma_c;
}

double DesignTensileStrength(double f_ck, const PartialFactors& g) {
    return g.alpha_ct * 0.7 * MeanTensileStrength(f_ck) / g.gamma_c;
}

std::string_view PlateSteelName(int index) {
    return kPlateSteel[Clamped(index, kPlateSteels)].name;
}

double PlateYieldStrength(int index, double t_mm) {
    const PlateSteel& steel = kPlateSteel[Clamped(index, kPlateSteels)];
    for (std::size_t k = 0; k < kThicknessLimits.size(); ++k) {
        if (t_mm <= kThicknessLimits[k]) {
            return steel.f_y[k];
        }
    }
    return steel.f_y.back();  // beyond the table: its last value
}

std::string_view BoltClassName(int index) {
    return kBolt[Clamped(index, kBoltClasses)].name;
}

double BoltYieldStrength(int index) {
    return kBolt[Clamped(index, kBoltClasses)].f_yb;
}

double BoltUltimateStrength(int index) {
    return kBolt[Clamped(index, kBoltClasses)].f_ub;
}

GradeSteel AnchorGradeSteel(int grade, double d_mm) {
    const Grade& g = kGrades[Clamped(grade - 1, static_cast<int>(kGrades.size()))];
    std::size_t k = 0;
    while (k + 1 < kRodDiameterLimits.size() && d_mm > kRodDiameterLimits[k]) {
        ++k;
    }
    return {g.name, g.equivalent, g.f_y[k], g.f_u};
}

double BearingConcentrationFactor(double Rz, double B, double H) {
    const double r1 = std::min({B / 2.0, 3.0 * Rz, Rz + H / 2.0});
    return std::clamp(r1 / Rz, 1.0, 3.0);
}

double BearingStrength(double beta_j, double alpha, double f_cd) {
    return beta_j * alpha * f_cd;
}

double EffectiveBearingWidth(double t_p, double f_y, double f_jd, double gamma_M0) {
    return t_p * std::sqrt(f_y / (3.0 * f_jd * gamma_M0));
}

Ring EffectiveRing(double Rz, double Rw, double D, double t_w, double c) {
    if (!(D > 0)) {
        return {Rw, Rz};
    }
    return {std::max(Rw, D / 2.0 - t_w - c), std::min(Rz, D / 2.0 + c)};
}

double BoltTensionResistance(double f_ub, double A_s, double gamma_M2) {
    return 0.9 * f_ub * A_s / gamma_M2;
}

double AnchorSteelFactor(double f_uk, double f_yk) {
    return std::max(1.2 * f_uk / f_yk, 1.4);
}

double AnchorSteelTensionResistance(double A_s, double f_uk) {
    return A_s * f_uk;
}

double ConeResistanceSingle(double f_ck, double h_ef, bool cracked) {
    const double k1 = cracked ? 8.9 : 12.7;
    return k1 * std::sqrt(f_ck) * std::pow(h_ef, 1.5);
}

double ConeProjectedArea(std::span<const Point> anchors, double s_crN, double B) {
    // The union of axis-parallel squares, slab by slab between consecutive vertical edges: in each
    // slab the covered height is the union of the y intervals of the squares spanning it.
    const double half = s_crN / 2.0;
    const double lim = B > 0 ? B / 2.0 : std::numeric_limits<double>::infinity();
    struct Box {
        double x0, x1, y0, y1;
    };
    std::vector<Box> boxes;
    std::vector<double> xs;
    boxes.reserve(anchors.size());
    xs.reserve(2 * anchors.size());
    for (const Point& p : anchors) {
        const Box b{std::max(p.x - half, -lim), std::min(p.x + half, lim),
                    std::max(p.y - half, -lim), std::min(p.y + half, lim)};
        if (b.x1 > b.x0 && b.y1 > b.y0) {
            boxes.push_back(b);
            xs.push_back(b.x0);
            xs.push_back(b.x1);
        }
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    // Sorted by their y intervals once, the boxes give each slab its intervals in order.
    std::sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
        return std::pair(a.y0, a.y1) < std::pair(b.y0, b.y1);
    });
    std::vector<std::pair<double, double>> spans;
    double area = 0;
    for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
        const double mid = 0.5 * (xs[k] + xs[k + 1]);
        spans.clear();
        for (const Box& b : boxes) {
            if (b.x0 < mid && mid < b.x1) {
                spans.emplace_back(b.y0, b.y1);
            }
        }
        double covered = 0;
        double top = -std::numeric_limits<double>::infinity();
        for (const auto& [y0, y1] : spans) {
            const double from = std::max(y0, top);
            if (y1 > from) {
                covered += y1 - from;
            }
            top = std::max(top, y1);
        }
        area += covered * (xs[k + 1] - xs[k]);
    }
    return area;
}

double EdgeFactor(double c, double c_crN) {
    return std::min(1.0, 0.7 + 0.3 * c / c_crN);
}

double ShellSpallingFactor(double h_ef) {
    return std::min(1.0, 0.5 + h_ef / 200.0);
}

double EccentricityFactor(double e_N, double s_crN) {
    return std::min(1.0, 1.0 / (1.0 + 2.0 * std::fabs(e_N) / s_crN));
}

double PullOutResistance(double f_ck, double d_head, double d, bool cracked) {
    const double k2 = cracked ? 7.5 : 10.5;
    const double A_h = std::numbers::pi / 4.0 * (d_head * d_head - d * d);
    return k2 * A_h * f_ck;
}

double HookAnchorageLength(double sigma_sd, double phi, double f_ctd) {
    if (!(sigma_sd > 0)) {
        return 0.0;
    }
    const double eta2 = phi <= 32.0 ? 1.0 : (132.0 - phi) / 100.0;
    const double f_bd = 2.25 * 1.0 * eta2 * f_ctd;
    const double l_brqd = phi / 4.0 * sigma_sd / f_bd;
    const double l_bmin = std::max({0.3 * l_brqd, 10.0 * phi, 100.0});
    return std::max(0.7 * l_brqd, l_bmin);
}

double AnchorShearResistance(double f_ub, double f_yb, double A_s, double gamma_M2,
                             bool classIn46_56_88) {
    const double alpha_v = classIn46_56_88 ? 0.6 : 0.5;
    const double alpha_bc = 0.44 - 0.0003 * f_yb;
    return std::min(alpha_v, alpha_bc) * f_ub * A_s / gamma_M2;
}

double BaseShearResistance(double C_fd, double N_c, int anchors, double F_vbRd) {
    return C_fd * std::max(N_c, 0.0) + anchors * F_vbRd;
}

double PryOutResistance(double N_Rkc) {
    return 2.0 * N_Rkc;
}

double SteelInteraction(double betaN, double betaV) {
    return betaN * betaN + betaV * betaV;
}

double ConcreteInteraction(double betaN, double betaV) {
    return std::pow(std::max(betaN, 0.0), 1.5) + std::pow(std::max(betaV, 0.0), 1.5);
}

TStub PlateTStubResistance(double m, double e, double t_p, double f_y, double gamma_M0,
                           double F_tRd, double A_s, double L_b) {
    TStub t;
    t.l_eff = std::min(2.0 * std::numbers::pi * m, 4.0 * m + 1.25 * e);
    t.M_pl = 0.25 * t.l_eff * t_p * t_p * f_y / gamma_M0;
    const double L_bStar = 8.8 * m * m * m * A_s / (t.l_eff * t_p * t_p * t_p);
    t.prying = L_b <= L_bStar;
    const double mode3 = F_tRd;
    if (t.prying) {
        const double n = std::min(e, 1.25 * m);
        const double mode1 = 4.0 * t.M_pl / m;
        const double mode2 = (2.0 * t.M_pl + n * F_tRd) / (m + n);
        t.F_T = std::min({mode1, mode2, mode3});
        t.mode = t.F_T == mode1 ? 1 : t.F_T == mode2 ? 2 : 3;
    } else {
        const double mode12 = 2.0 * t.M_pl / m;
        t.F_T = std::min(mode12, mode3);
        t.mode = t.F_T == mode12 ? 12 : 3;
    }
    return t;
}

}  // namespace vardel::en
