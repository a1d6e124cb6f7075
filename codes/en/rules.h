// The rules of PN-EN 1993-1-8, PN-EN 1992-1-1 and PN-EN 1992-4 that a ring base plate on anchors
// needs, one function per rule, named after what it computes, its clause beside it. Units are the
// codes' own: N, mm, MPa (N/mm²); no function here knows the design case.
#pragma once

#include <span>
#include <string_view>

namespace vardel::en {

// Partial factors and the coefficients a national annex chooses, in one place.
struct PartialFactors {
    std::string_view name = "PN-EN (NA)";  // or "EN (CEN)"
    double gamma_c = 1.4;                  // concrete, EN 1992-1-1 2.4.2.4
    double gamma_s = 1.15;                 // reinforcing steel
    double gamma_M0 = 1.0;                 // steel sections, EN 1993-1-1 6.1
    double gamma_M2 = 1.25;                // bolts in tension and shear, EN 1993-1-8 2.2
    double gamma_inst = 1.0;               // cast-in anchors, EN 1992-4 4.4.2.1
    double alpha_cc = 1.0;  // long-term effects on compressive strength, EN 1992-1-1 3.1.6
    double alpha_ct = 1.0;  // the same for tensile strength
    double C_fd = 0.2;      // friction of the grout, EN 1993-1-8 6.2.2(6)
};
// The Polish national annexes' values and the CEN recommended set.
PartialFactors PolishAnnexFactors();
PartialFactors CenFactors();

// Concrete classes C12/15 … C50/60 (index 0..8) and their characteristic cylinder strength.
constexpr int kConcreteClasses = 9;
std::string_view ConcreteClassName(int index);
double CharacteristicCylinderStrength(int index);  // f_ck, MPa; EN 1992-1-1 Table 3.1
// f_ctm = 0.30·f_ck^(2/3) (classes up to C50/60), EN 1992-1-1 Table 3.1.
double MeanTensileStrength(double f_ck);
// E_cm = 22·((f_ck + 8)/10)^0.3 GPa, returned in MPa; EN 1992-1-1 Table 3.1.
double SecantModulus(double f_ck);
// f_cd = α_cc·f_ck/γ_c, EN 1992-1-1 3.1.6(1).
double DesignCompressiveStrength(double f_ck, const PartialFactors& g);
// f_ctd = α_ct·0.7·f_ctm/γ_c, EN 1992-1-1 3.1.6(2).
double DesignTensileStrength(double f_ck, const PartialFactors& g);

// Plate steels S235, S275, S355 (index 0..2): f_y by nominal thickness, EN 10025-2 Table 7.
constexpr int kPlateSteels = 3;
std::string_view PlateSteelName(int index);
double PlateYieldStrength(int index, double t_mm);

// Anchor property classes 4.6, 5.6, 8.8 (index 0..2): f_yb and f_ub, EN 1993-1-8 Table 3.1.
constexpr int kBoltClasses = 3;
std::string_view BoltClassName(int index);
double BoltYieldStrength(int index);
double BoltUltimateStrength(int index);

// The anchor steels of the PN-B steel table (grade 1..6: St0S; St3SX … St3W; St4VX … St4W; 18G2,
// 18G2A; 18G2AV; 50B) under the PN-EN checks: f_y and f_u of the EN 10025-2 grade each stands
// for, f_y by the rod's diameter as the nominal thickness.
struct GradeSteel {
    std::string_view name;        // "18G2"
    std::string_view equivalent;  // "S355"
    double f_y = 0;
    double f_u = 0;
};
GradeSteel AnchorGradeSteel(int grade, double d_mm);

// EN 1993-1-8 6.2.5 with EN 1992-1-1 6.7: the concentration factor α = r1/Rz of a circular plate
// of radius Rz on a square block of side B and depth H, r1 = min(B/2, 3·Rz, Rz + H/2) the largest
// concentric circle the block allows; between 1 and 3.
double BearingConcentrationFactor(double Rz, double B, double H);
// f_jd = β_j·α·f_cd, EN 1993-1-8 6.2.5(7).
double BearingStrength(double beta_j, double alpha, double f_cd);
// c = t_p·√(f_y / (3·f_jd·γ_M0)), EN 1993-1-8 6.2.5(4).
double EffectiveBearingWidth(double t_p, double f_y, double f_jd, double gamma_M0);

// The effective ring of a tube of outer diameter D and wall t_w on a ring plate Rw..Rz, the tube's
// wall widened by c on both sides and cut by the plate: r_o = min(Rz, D/2 + c),
// r_i = max(Rw, D/2 − t_w − c); without a tube (D = 0) the whole plate. EN 1993-1-8 6.2.5(4).
struct Ring {
    double r_i = 0;
    double r_o = 0;
};
Ring EffectiveRing(double Rz, double Rw, double D, double t_w, double c);

// F_t,Rd = 0.9·f_ub·A_s/γ_M2, EN 1993-1-8 Table 3.4 (k2 = 0.9).
double BoltTensionResistance(double f_ub, double A_s, double gamma_M2);
// γ_Ms = 1.2·f_uk/f_yk ≥ 1.4, EN 1992-4 Table 4.1.
double AnchorSteelFactor(double f_uk, double f_yk);
// N_Rk,s = A_s·f_uk, EN 1992-4 7.2.1.3 (the design value divides by γ_Ms).
double AnchorSteelTensionResistance(double A_s, double f_uk);

// N0_Rk,c = k1·√f_ck·h_ef^1.5, k1 = 8.9 cracked, 12.7 uncracked (cast-in), EN 1992-4 7.2.1.4.
double ConeResistanceSingle(double f_ck, double h_ef, bool cracked);
// A point of an anchor in the plane of the block's top, mm from the block's centre.
struct Point {
    double x = 0;
    double y = 0;
};
// A_c,N: the area of the union of the squares of side s_cr,N centred on the anchors, cut by the
// square block of side B centred at the origin (B ≤ 0: no edge), EN 1992-4 7.2.1.4 (Figure 7.4).
double ConeProjectedArea(std::span<const Point> anchors, double s_crN, double B);
// ψ_s,N = 0.7 + 0.3·c/c_cr,N ≤ 1, EN 1992-4 (7.4).
double EdgeFactor(double c, double c_crN);
// ψ_re,N = 0.5 + h_ef/200 ≤ 1, EN 1992-4 (7.5).
double ShellSpallingFactor(double h_ef);
// ψ_ec,N = 1/(1 + 2·e_N/s_cr,N) ≤ 1 in one direction, EN 1992-4 (7.6).
double EccentricityFactor(double e_N, double s_crN);

// N_Rk,p = k2·A_h·f_ck, k2 = 7.5 cracked, 10.5 uncracked, A_h = π/4·(d_h² − d²), EN 1992-4
// 7.2.1.5.
double PullOutResistance(double f_ck, double d_head, double d, bool cracked);

// l_bd = α1·(φ/4)·σ_sd/f_bd, at least l_b,min = max(0.3·l_b,rqd, 10·φ, 100 mm), with α1 = 0.7 for a
// hook and f_bd = 2.25·η1·η2·f_ctd (η1 = 1, η2 = 1 up to φ 32 mm, (132 − φ)/100 above), EN
// 1992-1-1 8.4.2–8.4.4. 0 when the bar carries no tension.
double HookAnchorageLength(double sigma_sd, double phi, double f_ctd);

// F_vb,Rd = min(α_v·f_ub·A_s/γ_M2, α_bc·f_ub·A_s/γ_M2), α_v = 0.6 for the classes 4.6, 5.6 and
// 8.8 (0.5 otherwise: the grade steels, with f_yb = f_y and f_ub = f_u),
// α_bc = 0.44 − 0.0003·f_yb; EN 1993-1-8 6.2.2(7).
double AnchorShearResistance(double f_ub, double f_yb, double A_s, double gamma_M2,
                             bool classIn46_56_88);
// F_v,Rd = C_f,d·N_c + n·F_vb,Rd with N_c the compression (none when N ≤ 0), EN 1993-1-8
// 6.2.2(6)/(8).
double BaseShearResistance(double C_fd, double N_c, int anchors, double F_vbRd);
// V_Rk,cp = k8·N_Rk,c with k8 = 2, EN 1992-4 7.2.2.4.
double PryOutResistance(double N_Rkc);

// EN 1992-4 7.2.3: steel (N/N_Rd,s)² + (V/V_Rd,s)² and concrete β_N^1.5 + β_V^1.5.
double SteelInteraction(double betaN, double betaV);
double ConcreteInteraction(double betaN, double betaV);

// The equivalent T-stub of the plate at a tensioned anchor beside the tube wall, EN 1993-1-8
// 6.2.4 and 6.2.6.11: l_eff = min(2π·m, 4·m + 1.25·e), M_pl,Rd = 0.25·l_eff·t_p²·f_y/γ_M0, and
// the smallest of mode 1 (4·M_pl/m), mode 2 ((2·M_pl + n·F_t,Rd)/(m + n), n = min(e, 1.25·m)) and
// mode 3 (F_t,Rd) where prying forces develop (L_b ≤ L_b*), else of mode 1-2 (2·M_pl/m) and mode 3.
struct TStub {
    double l_eff = 0;
    double M_pl = 0;  // N·mm
    double F_T = 0;   // the resistance, N
    int mode = 0;     // 1, 2, 3; 12 for the mode without prying
    bool prying = false;
};
TStub PlateTStubResistance(double m, double e, double t_p, double f_y, double gamma_M0,
                           double F_tRd, double A_s, double L_b);

}  // namespace vardel::en
