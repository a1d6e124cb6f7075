#include "calc/calculate.h"

#include "calc/en_calculation.h"
#include "calc/solver.h"
#include "materials/tables.h"
#include "state/numbers.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace vardel {
namespace {

// A field of the input window as the command reads it: its object name, and how a message names
// it (with its tab, so that the user knows where to look).
struct Field {
    QString name;
    QString shown;
};

Field Named(const char* name, const char* shown) {
    return {QString::fromLatin1(name), QString::fromUtf8(shown)};
}

Field LoadField(const char* column, const char* caption, int i) {
    return {
        QStringLiteral("%1(%2)").arg(QLatin1String(column)).arg(i - 1),
        QStringLiteral("„%1” przypadku %2 (Obciążenia)").arg(QString::fromUtf8(caption)).arg(i)};
}

QString Typed(const QString& text) {
    return u'„' + text.trimmed().left(40) + u'”';
}

// A field that cannot be taken ends the command with a message that names it; the window brings
// it to the front.
[[noreturn]] void FieldStop(const Field& f, const QString& message, int errorNumber = 0) {
    throw CalcStop(Stop{{}, message, StopIcon::Exclamation, errorNumber, f.name});
}

[[noreturn]] void NotANumber(const QString& text, const Field& f) {
    FieldStop(f,
              QStringLiteral("Podany ciąg znaków nie tworzy liczby: %1 w polu %2.")
                  .arg(Typed(text), f.shown),
              kTypeMismatch);
}

float ReadSingle(const QString& text, const QLocale& locale, const Field& f) {
    const SingleResult r = ToSingle(text, locale);
    if (r.status == Convert::NotANumber) {
        NotANumber(text, f);
    }
    if (r.status == Convert::Overflow) {
        const QString limit = Format(3.4, u"0.0", locale) + QStringLiteral("E+38");
        FieldStop(f,
                  QStringLiteral("Liczba %1 w polu %2 jest poza zakresem: program liczy wartości "
                                 "od -%3 do %3.")
                      .arg(Typed(text), f.shown, limit),
                  kOverflow);
    }
    return r.value;
}

// A whole number of 16 bits; a fraction is rounded half to even.
Int16 ReadInt16(const QString& text, const QLocale& locale, const Field& f) {
    const Int16Result r = ToInt16(text, locale);
    if (r.status == Convert::NotANumber) {
        NotANumber(text, f);
    }
    if (r.status == Convert::Overflow) {
        FieldStop(f,
                  QStringLiteral("Pole %1 przyjmuje liczby całkowite od -32768 do 32767 (podano "
                                 "%2).")
                      .arg(f.shown, Typed(text)),
                  kOverflow);
    }
    return r.value;
}

Stop CheckStop(const QString& title, const QString& message, const QString& field = {}) {
    return Stop{title, message, StopIcon::Critical, 0, field};
}

// The diameters of the bolt table nearest to `d`, for a message.
QString NearestDiameters(int d) {
    int below = 0, above = 0;
    for (const QString& name : BoltDiameterNames()) {
        const int t = name.toInt();
        if (t < d) {
            below = t;
        } else if (above == 0) {
            above = t;
        }
    }
    QStringList nearest;
    for (const int t : {below, above}) {
        if (t > 0) {
            nearest << QStringLiteral("M%1").arg(t);
        }
    }
    return nearest.join(QStringLiteral(" lub "));
}

// Radii are whole millimetres up to what the report's fields print: the settings file keeps them
// so, and a radius taken with decimals would be shown, stored and drawn other than calculated.
constexpr float kMaxRadiusMm = 99999;

std::optional<Stop> RadiusStop(float r, const char* which, const QString& field) {
    if (r >= 0 && r <= kMaxRadiusMm && r == std::trunc(r)) {
        return std::nullopt;
    }
    return CheckStop(ProgramTitle(),
                     QStringLiteral("Promień %1 podaje się w całych milimetrach, od 0 do 99999!")
                         .arg(QString::fromUtf8(which)),
                     field);
}

// A radius as its field shows it: decimals are kept, so that the check above sees them.
QString RadiusText(float r, const QLocale& locale) {
    return Format(r, r == std::trunc(r) ? u"######0" : u"######0.####", locale);
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

const Field kRz = Named("Text3", "„Promień zewnętrzny pierścienia (Rz)” (Dane ogólne)");
const Field kRw = Named("Text4", "„Promień wewnętrzny pierścienia (Rw)” (Dane ogólne)");
const Field kRs = Named("Text11", "„Promień rozmieszczenia śrub” (Śruby)");
const Field kDiameter = Named("cmbFi", "„Średnice śrub” (Śruby)");
const Field kBolts = Named("Text12", "„Liczba śrub na obwodzie” (Śruby)");
const Field kPage = Named("txtNr_strony", "„Numer pierwszej strony obliczeń” (Konfiguracja)");

std::optional<Stop> Run(const InputFields& f, DesignCase& s, const QLocale& locale) {
    // An anchor confirmed for an earlier design is not this one's.
    s.Dobor_liczba = 0;
    // 1. The ring must have a wall.
    const float rw = ReadSingle(f.Text4, locale, kRw);
    const float rz = ReadSingle(f.Text3, locale, kRz);
    if (!(rz > 0)) {
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Promień zewnętrzny pierścienia musi być większy od "
                                        "zera!"),
                         kRz.name);
    }
    if (rw < 0) {
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Promień wewnętrzny pierścienia nie może być ujemny!"),
                         kRw.name);
    }
    if (rw >= rz) {
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Promień zewnętrzny pierścienia musi być większy od "
                                        "wewnętrznego!"),
                         kRz.name);
    }
    if (auto stop = RadiusStop(rz, "zewnętrzny pierścienia", kRz.name)) {
        return stop;
    }
    if (auto stop = RadiusStop(rw, "wewnętrzny pierścienia", kRw.name)) {
        return stop;
    }
    s.Naz_proj = f.txtNaz_proj;
    s.Sig_b_max = 0;
    s.Sig_s_max = 0;
    s.F_s_max = 0;
    s.Wszystko_OK = true;
    s.Beton_OK = true;
    s.Strona = ReadInt16(f.txtNr_strony, locale, kPage);

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
    s.R_srub = ReadSingle(f.Text11, locale, kRs);
    s.Rs_cm = s.R_srub / 10.0;
    if (auto stop = RadiusStop(s.R_srub, "okręgu śrub", kRs.name)) {
        return stop;
    }
    if (!(s.R_srub > s.R_wewn && s.R_srub < s.R_zewn)) {
        // Bolts in the hole or beyond the edge hold nothing, and the section values assume
        // the bolt circle on the plate.
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Okrąg śrub musi leżeć na blasze: promień okręgu śrub "
                                        "musi być większy od wewnętrznego i mniejszy od "
                                        "zewnętrznego!"),
                         kRs.name);
    }
    const QStringList diameters = BoltDiameterNames();
    s.Numer_sruby = static_cast<Int16>(f.cmbFi + 1);
    const QString diameterText =
        f.cmbFi >= 0 && f.cmbFi < diameters.size() ? diameters[f.cmbFi] : f.cmbFiText;
    s.Fi_sruby = ReadInt16(diameterText, locale, kDiameter);
    if (!LookUpBoltArea(s)) {
        // Another diameter's area under this one's name would be a wrong stress.
        return CheckStop(ProgramTitle(),
                         QStringLiteral("Średnicy śrub %1 mm nie ma w tablicy śrub; najbliższe "
                                        "średnice w tablicy: %2.")
                             .arg(s.Fi_sruby)
                             .arg(NearestDiameters(s.Fi_sruby)),
                         kDiameter.name);
    }
    // The hole must lie wholly on the plate, between its inner and outer edges.
    const double halfHole = s.Fi_sruby / 2.0;
    if (s.R_srub + halfHole > s.R_zewn || s.R_srub - halfHole < s.R_wewn) {
        const bool outer = s.R_srub + halfHole > s.R_zewn;
        const double first = s.R_wewn + halfHole, last = s.R_zewn - halfHole;
        return CheckStop(
            ProgramTitle(),
            QStringLiteral(
                "Śruba M%1 na promieniu %2 mm wychodzi poza %3 krawędź blachy (%4 mm): %5")
                .arg(s.Fi_sruby)
                .arg(locale.toString(s.R_srub, 'g', 7),
                     outer ? QStringLiteral("zewnętrzną") : QStringLiteral("wewnętrzną"),
                     locale.toString(outer ? s.R_zewn : s.R_wewn, 'g', 7),
                     first <= last
                         ? QStringLiteral("promień rozmieszczenia śrub musi leżeć od %1 "
                                          "do %2 mm.")
                               .arg(locale.toString(first, 'g', 7), locale.toString(last, 'g', 7))
                         : QStringLiteral("pierścień jest za wąski dla tej śruby.")),
            kRs.name);
    }
    // The bolt arrays hold 50 bolts: more are refused before anything is calculated.
    s.Liczba_srub = ReadInt16(f.Text12, locale, kBolts);
    if (s.Liczba_srub > kMaxBolts) {
        FieldStop(kBolts, QStringLiteral("Liczba śrub na obwodzie może wynosić od 1 do %1 "
                                         "(podano %2).")
                              .arg(kMaxBolts)
                              .arg(s.Liczba_srub));
    }
    if (s.Liczba_srub < 1) {
        return CheckStop(ProgramTitle(), QStringLiteral("Liczba śrub musi być większa od zera!"),
                         kBolts.name);
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
        s.N_kN[i] = ReadSingle(f.Text6[i - 1], locale, LoadField("Text6", "N [kN]", i));
        s.N_kG[i] = s.N_kN[i] * kKgPerKn;
        s.M_kNm[i] = ReadSingle(f.Text7[i - 1], locale, LoadField("Text7", "M [kNm]", i));
        s.M_kGm[i] = s.M_kNm[i] * kKgPerKn;
        s.V_kN[i] = ReadSingle(f.Text5[i - 1], locale, LoadField("Text5", "V [kN]", i));
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
    f.Text3 = RadiusText(s.R_zewn, locale);
    f.Text4 = RadiusText(s.R_wewn, locale);
    f.Text11 = RadiusText(s.R_srub, locale);
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

std::optional<Stop> TakeFields(const InputFields& f, DesignCase& s, const QLocale& locale) {
    try {
        DesignCase t = s;
        t.Naz_proj = f.txtNaz_proj;
        t.Strona = ReadInt16(f.txtNr_strony, locale, kPage);
        t.R_zewn = ReadSingle(f.Text3, locale, kRz);
        t.R_wewn = ReadSingle(f.Text4, locale, kRw);
        t.R_srub = ReadSingle(f.Text11, locale, kRs);
        t.Numer_sruby = static_cast<Int16>(
            f.cmbFi >= 0 && f.cmbFi < BoltDiameterNames().size() ? f.cmbFi + 1 : 0);
        t.Liczba_srub = ReadInt16(f.Text12, locale, kBolts);
        if (f.cmbStal >= 0) {
            t.Nrstali = static_cast<Int16>(f.cmbStal + 1);
        }
        t.Typ_stopy = f.Option1 == 0 ? 0 : 1;
        t.Tryb_sru = f.optHsruby == 0 ? 0 : 1;
        for (int i = 1; i <= kMaxCases; ++i) {
            const std::array<std::pair<float&, const QString&>, 3> row = {
                {{t.N_kN[i], f.Text6[i - 1]},
                 {t.M_kNm[i], f.Text7[i - 1]},
                 {t.V_kN[i], f.Text5[i - 1]}}};
            for (std::size_t k = 0; k < row.size(); ++k) {
                if (i <= t.Liczba_przyp) {
                    static const char* const columns[] = {"Text6", "Text7", "Text5"};
                    static const char* const captions[] = {"N [kN]", "M [kNm]", "V [kN]"};
                    row[k].first =
                        ReadSingle(row[k].second, locale, LoadField(columns[k], captions[k], i));
                } else if (const SingleResult r = ToSingle(row[k].second, locale);
                           r.status == Convert::Ok) {
                    row[k].first = r.value;
                }
            }
            LoadsInKg(t, i);
        }
        s = std::move(t);
    } catch (const CalcStop& e) {
        return e.stop();
    }
    return std::nullopt;
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
