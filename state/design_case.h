// The one design case of the program: inputs, derived ring values, material values, language
// texts and results. Every window and writer receives it by reference; nothing keeps a copy.
#pragma once

#include "state/eurocode.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace vardel {

constexpr int kMaxCases = 6;
constexpr int kMaxBolts = 50;
constexpr int kMainTextLines = 69;
constexpr int kSecondTextLines = 11;

// Conversion factors: kN (kNm) to kG (kG·m), and kG/cm² per MPa.
constexpr double kKgPerKn = 101.971621297793;
constexpr double kKgcm2PerMpa = 10.1971621297793;
constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;

using Int16 = std::int16_t;

// Per-case arrays are indexed 1..6 and per-bolt arrays 1..50; element 0 exists and holds no case.
template <typename T>
using CaseArray = std::array<T, kMaxCases + 1>;
template <typename T>
using BoltArray = std::array<T, kMaxBolts + 1>;

// A user-defined steel record of the settings file (lines 18 and 19). No window edits it; it is
// carried from the file back into the file unchanged.
struct SteelRecord {
    std::array<float, 3> values{};  // line 18: three singles; line 19 uses only values[0]
    Int16 number = 0;
    QString name;
};

// How the plate of one load case bears on the concrete: over the whole ring (no bolt in
// tension), over a segment beyond the neutral axis, or not at all (the bolts alone carry an
// uplifting force and the moment).
enum class Bearing : std::int16_t { Whole, Partly, Lifted };

struct DesignCase {
    // Project and report settings.
    QString Naz_proj;
    Int16 Strona = 1;
    Int16 Norma = 0;
    Int16 Jezyk = 0;
    Int16 Tryb_RTF = 0;

    // Ring, bolts and materials (inputs), in mm as entered.
    float R_zewn = 0;
    float R_wewn = 0;
    float R_srub = 0;
    Int16 Liczba_srub = 0;
    Int16 Numer_sruby = 1;
    Int16 Fi_sruby = 0;
    Int16 Nrbetonu = 1;
    Int16 Nrstali = 1;
    Int16 Typ_stopy = 1;
    Int16 Tryb_sru = 0;
    Int16 Tryb_n = 0;
    double Es_Eb = 0;
    SteelRecord Stal_uzytk1;  // settings line 18
    SteelRecord Stal_uzytk2;  // settings line 19

    // Load cases as entered (kN, kNm) and as calculated (kG, kG·m).
    Int16 Liczba_przyp = 1;
    CaseArray<float> N_kN{};
    CaseArray<float> M_kNm{};
    CaseArray<float> V_kN{};
    CaseArray<double> N_kG{};
    CaseArray<double> M_kGm{};
    CaseArray<double> V_kG{};

    // Derived geometry, in cm unless named otherwise.
    double Rz_cm = 0;
    double Rw_cm = 0;
    double Rs_cm = 0;
    double Dz_cm = 0;
    double Dw_cm = 0;
    double r_rdzenia = 0;
    double A_pierscienia = 0;
    double W_pierscienia = 0;
    float Rozstaw = 0;    // mm
    double As_sruby = 0;  // cm²
    double Kat_srub = 0;  // rad
    Int16 Polowa_srub = 0;
    double Rad_deg = 180.0 / kPi;

    // Material values (MPa).
    QString Klasa_betonu;
    float Eb = 0;
    float fcd_betonu = 0;
    float Wsp_lb = 0;
    float Wsp_bet = 0;
    float fd_stali = 0;
    float ft_sruby = 0;
    float fv_sruby = 0;
    QString Klasa_stali;

    // Language texts, 1-based.
    std::array<QString, kMainTextLines + 1> Teksty;
    std::array<QString, kSecondTextLines + 1> Teksty_ok;

    // Calculation control and results (kG, cm, kG/cm²).
    Int16 Nr_przyp = 0;
    Int16 Liczba_V = 0;
    bool Wszystko_OK = true;
    CaseArray<Bearing> Docisk_blachy{};
    CaseArray<double> e_cm{};  // |M|/N; infinite for pure bending
    CaseArray<double> a_cm{};
    CaseArray<double> Sig_s{};
    CaseArray<double> Sig_b{};
    BoltArray<double> Sig_sruby{};
    BoltArray<double> d_sruby{};
    std::array<CaseArray<double>, kMaxBolts + 1> Sig_sr{};  // Sig_sr[bolt][case]
    float Sig_b_max = 0;
    float Sig_s_max = 0;
    float F_s_max = 0;
    CaseArray<float> Omega_u{};
    bool Beton_OK = true;
    CaseArray<QString> Wynik_V;
    // Which language line (46..52) the horizontal-force check chose, 0 when it made no check in
    // the last run, and its interaction value when it computed one.
    CaseArray<Int16> Wynik_V_nr{};
    CaseArray<std::optional<float>> Wynik_V_u{};

    // Report members written by the results side and the anchor selection.
    QString Naglowek_txt;
    std::array<QString, kMaxCases + 3> Tabela;  // 0..Liczba_przyp + 2
    QString Oznaczenie_stopy;
    std::array<QString, 11> Dobor_teksty;
    Int16 Dobor_liczba = 0;

    // Inputs of the PN-EN checks (used when Norma = kNormaEurocode).
    EurocodeInputs Eurokod;
    EurocodeResults Wyniki_EN;
    std::array<QString, kEurocodeTextLines + 1> Teksty_EN;  // 1-based
};

// One classification for the whole program, set by the solver: the report checks and every
// output read it.
inline bool IsPartlyCompressed(const DesignCase& s, int i) {
    return s.Docisk_blachy[i] == Bearing::Partly;
}

// A case with bolts in tension, partly compressed or lifted: it has a stress sketch, a line on
// its neutral axis or lift-off under its title, and a bolt stress to check.
inline bool HasStressSketch(const DesignCase& s, int i) {
    return s.Docisk_blachy[i] != Bearing::Whole;
}

// Case i's loads in the calculation's units (kG, kG·m) from the ones entered (kN, kNm).
inline void LoadsInKg(DesignCase& s, int i) {
    s.N_kG[i] = static_cast<double>(s.N_kN[i]) * kKgPerKn;
    s.M_kGm[i] = static_cast<double>(s.M_kNm[i]) * kKgPerKn;
    s.V_kG[i] = static_cast<double>(s.V_kN[i]) * kKgPerKn;
}

inline bool UsesEurocode(const DesignCase& s) {
    return s.Norma == kNormaEurocode;
}

}  // namespace vardel
