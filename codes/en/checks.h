// The PN-EN checks of one solved load case of a ring base plate: concrete bearing on the effective
// ring, anchor steel, the concrete cone, pull-out or hook anchorage, shear and pry-out, tension
// with shear, and the plate's T-stub at the tensioned anchors. They read the case the solver left
// on the effective ring; none of them solves.
#pragma once

#include "codes/en/rules.h"
#include "state/design_case.h"

#include <QString>

#include <optional>
#include <vector>

namespace vardel::en {

// Everything the checks need that is the same for every case of a design, in N, mm, MPa.
struct Parameters {
    PartialFactors factors;
    double f_ck = 0, f_cd = 0, f_ctd = 0, E_cm = 0;
    double beta_j = 2.0 / 3.0;
    double alpha = 1, f_jd = 0;
    double t_p = 0, f_y = 0;         // plate
    double D = 0, t_w = 0;           // tube
    double B = 0, H = 0;             // block (B as used: the plate's width when none was given)
    double c = 0, r_i = 0, r_o = 0;  // effective width and ring
    double Rz = 0, Rw = 0, Rs = 0;   // plate and bolt circle
    int anchors = 0;
    double angle = 0;       // pitch, rad
    double d = 0, A_s = 0;  // anchor diameter and stress area
    double f_yb = 0, f_ub = 0;
    int boltClass = 0;             // Klasa_sruby
    std::string_view anchorSteel;  // "5.6", or the grade and its EN equivalent: "18G2", "S355"
    std::string_view anchorSteelEquivalent;
    double gamma_Ms = 0, gamma_Mc = 0;
    double F_tRd = 0, N_Rds = 0, F_vbRd = 0;
    double h_ef = 0, d_head = 0;  // d_head 0: a hook
    bool cracked = true;
    std::string_view concrete;  // "C20/25"
};

// The problem with the PN-EN inputs in words, naming the field; nothing when they can be used.
// Reads the derived ring and bolt values, so the PN-B calculation has run.
std::optional<QString> InputProblem(const DesignCase& s);

// The parameters of a design whose inputs InputProblem accepted.
Parameters ParametersOf(const DesignCase& s);

// The stiffness ratio n = Es/E_cm of the PN-EN calculation (Es = 210 000 MPa), unless the user
// gave n.
double StiffnessRatio(const DesignCase& s, const Parameters& p);

// The checks of case i of `solved` (the design solved on the effective ring), in the order
// bearing, anchor_steel, cone, pullout or anchorage, shear, pryout, tension_shear_steel,
// tension_shear_concrete, plate; a check that does not apply (no tension, no shear, no tube) is
// left out. Forces in kN, stresses in MPa, lengths in mm. `N_Rk_c_kN` receives the cone's
// characteristic resistance of the tensioned anchors (0 without tension).
std::vector<CheckResult> CaseChecks(const DesignCase& solved, int i, const Parameters& p,
                                    double* N_Rk_c_kN = nullptr);

}  // namespace vardel::en
