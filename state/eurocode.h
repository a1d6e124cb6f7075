// The inputs of the PN-EN checks, kept beside the PN-B design case and stored after its lines in
// the settings file (lengths in mm as entered), and what the checks found.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vardel {

struct EurocodeInputs {
    float t_blachy = 30;           // plate thickness t_p
    std::int16_t Stal_blachy = 0;  // 0 S235, 1 S275, 2 S355
    float D_rury = 0;              // column tube outer diameter; 0: no tube, the whole ring bears
    float t_rury = 0;              // tube wall
    float B_bloku = 0;             // side of the square block; 0: as wide as the plate
    float H_bloku = 0;             // depth of the block
    std::int16_t Klasa_C = 0;      // 0: the C class of the PN-B class; 1..9: C12/15 … C50/60
    std::int16_t Zarysowany = 1;   // 1: cracked concrete, 0: uncracked
    std::int16_t Klasa_sruby = 1;  // 0: 4.6, 1: 5.6, 2: 8.8, 3: the bolt steel grade (Nrstali)
    float h_ef = 300;              // embedment depth (the straight length of a hook)
    float d_glowy = 0;             // bearing diameter of the head or plate; 0: a hook anchor
    std::int16_t Zalacznik = 0;    // 0: Polish national annex factors, 1: CEN recommended
};

// Klasa_sruby of anchors of the PN-B table's steel grade rather than of a property class.
constexpr std::int16_t kBoltClassGradeSteel = 3;

// One check of a code on one solved load case: the design value, the resistance it is compared
// with, their ratio and the clause that sets the rule. The checks of every code return it, so the
// report, the command line and the design search read one shape whatever the code.
struct CheckResult {
    std::string_view check;   // the name the command line writes: "bearing", "anchor_steel" ...
    std::string_view clause;  // the code and its clause: "EN 1993-1-8 6.2.5"
    double Ed = 0;            // design value, in the check's unit (kN, MPa, mm; 1 for a sum)
    double Rd = 0;            // resistance, in the same unit
    double utilisation = 0;   // Ed/Rd (or the interaction sum); 0 when there is nothing to carry

    bool Passes() const { return utilisation <= 1.0; }
};

// The PN-EN results of a calculated design: the values of the design and every case's checks.
struct EurocodeResults {
    bool valid = false;  // set by the PN-EN calculation; cleared when it did not run
    double f_jd = 0;     // MPa
    double alpha = 0;
    double c = 0;                       // effective width, mm
    double r_i = 0, r_o = 0;            // effective ring, mm
    std::array<double, 7> N_Rk_c_kN{};  // per case 1..6: the cone of the tensioned anchors
    std::array<std::vector<CheckResult>, 7> checks;  // per case 1..6
    int governingCase = 0;                           // 0: nothing acts
    int governingCheck = 0;                          // index into checks[governingCase]
    double maxUtilisation = 0;
    bool passes = true;
};

// The report's PN-EN lines, read from the lines after the main language file's own.
constexpr int kEurocodeTextLines = 16;

// The code of the checks, kept in `Norma`: 0 and 1 are the PN-B checks (1 names the concrete ratio
// ω_u in the exports), 2 the PN-EN checks.
constexpr std::int16_t kNormaEurocode = 2;

}  // namespace vardel
