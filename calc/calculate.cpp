#include "calc/calculate.h"

#include "calc/en_calculation.h"
#include "calc/solver.h"
#include "materials/tables.h"
#include "state/numbers.h"

#include <cmath>
#include <limits>

namespace vardel {
namespace {

float ReadSingle(const QString& text, const QLocale& locale) {
    const SingleResult r = ToSingle(text, locale);
    if (r.status == Convert::NotANumber) {
        throw CalcError(kTypeMismatch);
    }
    if (r.status == Convert::Overflow) {
        throw CalcError(kOverflow);
    }
    return r.value;
}

Int16 ReadInt16(const QString& text, const QLocale& locale) {
    const Int16Result r = ToInt16(text, locale);
    if (r.status == Convert::NotANumber) {
        throw CalcError(kTypeMismatch);
    }
    if (r.status == Convert::Overflow) {
        throw CalcError(kOverflow);
    }
    return r.value;
}

Stop CheckStop(const QString& title, const QString& message) {
    return Stop{title, message, StopIcon::Critical, 0};
}

Stop TrappedError(int number, const QLocale& locale) {
    Stop stop;
    stop.icon = StopIcon::Exclamation;
    stop.errorNumber = number;
    stop.message = number == kTypeMismatch
                       ? QStringLiteral("Podany ciąg znaków nie tworzy liczby")
                       : QStringLiteral("K3(oblicz)!!") + Format(number, u"#####", locale);
    return stop;
}

std::optional<Stop> Run(const InputFields& f, DesignCase& s, const QLocale& locale) {
    // 1. The ring must have a wall.
    const float rw = ReadSingle(f.Text4, locale);
    const float rz = ReadSingle(f.Text3, locale);
    if (!(rz > 0)) {
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Promień zewnętrzny pierścienia musi być większy od "
                                        "zera!"));
    }
    if (rw < 0) {
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Promień wewnętrzny pierścienia nie może być ujemny!"));
    }
    if (rw >= rz) {
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Promień zewnętrzny pierścienia musi być większy od "
                                        "wewnętrznego!"));
    }
    s.Naz_proj = f.txtNaz_proj;
    s.Sig_b_max = 0;
    s.Sig_s_max = 0;
    s.F_s_max = 0;
    s.Wszystko_OK = true;
    s.Beton_OK = true;
    s.Strona = ReadInt16(f.txtNr_strony, locale);

    const QStringList concrete = ConcreteClassNames();
    if (s.Nrbetonu < 1 || s.Nrbetonu > concrete.size()) {
        throw CalcError(kIndexOutOfRange);
    }
    s.Klasa_betonu = concrete[s.Nrbetonu - 1];

    // Ring section values.
    s.R_zewn = rz;
    s.R_wewn = rw;
    DeriveRingSection(s, s.R_zewn / 10.0, s.R_wewn / 10.0);

    // Bolts.
    s.R_srub = ReadSingle(f.Text11, locale);
    s.Rs_cm = s.R_srub / 10.0;
    if (!(s.R_srub > s.R_wewn && s.R_srub < s.R_zewn)) {
        // Bolts in the hole or beyond the edge hold nothing, and the section values assume
        // the bolt circle on the plate.
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Okrąg śrub musi leżeć na blasze: promień okręgu śrub "
                                        "musi być większy od wewnętrznego i mniejszy od "
                                        "zewnętrznego!"));
    }
    const QStringList diameters = BoltDiameterNames();
    s.Numer_sruby = static_cast<Int16>(f.cmbFi + 1);
    const QString diameterText =
        f.cmbFi >= 0 && f.cmbFi < diameters.size() ? diameters[f.cmbFi] : f.cmbFiText;
    s.Fi_sruby = ReadInt16(diameterText, locale);
    LookUpBoltArea(s);
    s.Liczba_srub = ReadInt16(f.Text12, locale);
    if (s.Liczba_srub > kMaxBolts) {
        // The bolt arrays hold 50 bolts: refuse more before anything is calculated.
        throw CalcError(kIndexOutOfRange);
    }
    if (s.Liczba_srub < 1) {
        return CheckStop(ProgramTitle(), QStringLiteral("Liczba śrub musi być większa od zera!"));
    }
    s.Rozstaw = ToSingleChecked(Div(s.R_srub * kTwoPi, s.Liczba_srub));
    if (s.Rozstaw < 2 * s.Fi_sruby) {
        return CheckStop(QStringLiteral("UWAGA:"), QStringLiteral("Za mały rozstaw śrub!"));
    }
    if (f.cmbStal >= 0) {
        s.Nrstali = static_cast<Int16>(f.cmbStal + 1);
    }
    if (LookUpSteel(s) == SteelLookup::NotAllowed) {
        return CheckStop(ProgramTitle(), QStringLiteral("Norma nie przewiduje takich śrub"));
    }
    s.Typ_stopy = f.Option1 == 0 ? 0 : 1;
    s.Tryb_sru = f.optHsruby == 0 ? 0 : 1;
    LookUpConcrete(s);
    // Without a positive stiffness ratio the bolts take no tension and equilibrium has no
    // meaning; the settings file can hold any value, so refuse it here with a clear message.
    if (!(s.Es_Eb > 0) || !std::isfinite(s.Es_Eb)) {
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Współczynnik n = Es/Eb musi być większy od zera."));
    }
    s.Liczba_V = 0;
    s.Polowa_srub = static_cast<Int16>(s.Liczba_srub / 2 + 1);
    s.Kat_srub = Div(kTwoPi, s.Liczba_srub);

    // Every case is read before the first is calculated.
    if (s.Liczba_przyp > kMaxCases) {
        throw CalcError(kIndexOutOfRange);
    }
    for (int i = 1; i <= s.Liczba_przyp; ++i) {
        s.Nr_przyp = static_cast<Int16>(i);
        s.N_kN[i] = ReadSingle(f.Text6[i - 1], locale);
        s.N_kG[i] = s.N_kN[i] * kKgPerKn;
        s.M_kNm[i] = ReadSingle(f.Text7[i - 1], locale);
        s.M_kGm[i] = s.M_kNm[i] * kKgPerKn;
        s.V_kN[i] = ReadSingle(f.Text5[i - 1], locale);
        s.V_kG[i] = s.V_kN[i] * kKgPerKn;
    }
    const SectionConstants section = PrepareSection(s);
    for (int i = 1; i <= s.Liczba_przyp; ++i) {
        s.Nr_przyp = static_cast<Int16>(i);
        SolveLoadCase(s, section, locale);
    }
    if (UsesEurocode(s)) {
        return CalculateEurocode(s);
    }
    s.Wyniki_EN = EurocodeResults{};
    return std::nullopt;
}

}  // namespace

void DeriveRingSection(DesignCase& s, double Rz_cm, double Rw_cm) {
    s.Rz_cm = Rz_cm;
    s.Dz_cm = 2 * s.Rz_cm;
    s.Rw_cm = Rw_cm;
    s.Dw_cm = 2 * s.Rw_cm;
    const double ratio = Div(s.Dw_cm, s.Dz_cm);
    s.r_rdzenia = s.Dz_cm / 8.0 * (1.0 + ratio * ratio);
    s.W_pierscienia =
        Finite(Div(kPi / 32.0 * (std::pow(s.Dz_cm, 4) - std::pow(s.Dw_cm, 4)), s.Dz_cm));
    s.A_pierscienia = kPi * (s.Rz_cm * s.Rz_cm - s.Rw_cm * s.Rw_cm);
}

Stop TrappedErrorStop(int number, const QLocale& locale) {
    return TrappedError(number, locale);
}

void CompleteLoadedCase(DesignCase& s) {
    s.Rad_deg = 180.0 / kPi;
    if (LookUpModulus(s)) {
        s.Klasa_betonu = ConcreteClassNames()[s.Nrbetonu - 1];
    }
    if (s.Tryb_n != 1 && s.Eb > 0) {
        s.Es_Eb = kSteelModulusMpa / s.Eb;
    }
    s.Oznaczenie_stopy.clear();
}

InputFields FieldsFromState(const DesignCase& s, const QLocale& locale) {
    InputFields f;
    f.txtNaz_proj = s.Naz_proj;
    f.txtNr_strony = QString::number(s.Strona);
    f.Text3 = Format(s.R_zewn, u"######0", locale);
    f.Text4 = Format(s.R_wewn, u"######0", locale);
    f.Text11 = Format(s.R_srub, u"######0", locale);
    f.Text12 = Format(static_cast<int>(s.Liczba_srub), u"####", locale);
    const QStringList diameters = BoltDiameterNames();
    f.cmbFi = s.Numer_sruby >= 1 && s.Numer_sruby <= diameters.size() ? s.Numer_sruby - 1 : -1;
    f.cmbFiText = f.cmbFi >= 0 ? diameters[f.cmbFi] : QStringLiteral("Srednica");
    f.cmbStal = s.Nrstali >= 1 && s.Nrstali <= 6 ? s.Nrstali - 1 : -1;
    f.Option1 = s.Typ_stopy == 0 ? 0 : 1;
    f.optHsruby = s.Tryb_sru == 0 ? 0 : 1;
    for (int i = 1; i <= kMaxCases; ++i) {
        f.Text6[i - 1] = Format(s.N_kN[i], u"####0.0", locale);
        f.Text7[i - 1] = Format(s.M_kNm[i], u"####0.0", locale);
        f.Text5[i - 1] = Format(s.V_kN[i], u"####0.0", locale);
    }
    return f;
}

std::optional<Stop> Calculate(const InputFields& fields, DesignCase& s, const QLocale& locale) {
    try {
        return Run(fields, s, locale);
    } catch (const CalcError& e) {
        return TrappedError(e.number(), locale);
    } catch (const CalcStop& e) {
        return e.stop();
    }
}

}  // namespace vardel
