// Builds design cases for the calculation tests through the real calculate command.
#pragma once

#include "calc/calculate.h"
#include "state/design_case.h"

#include <QLocale>

#include <optional>
#include <vector>

namespace vardel::test {

struct Plate {
    double Rz = 300, Rw = 100, Rs = 250;  // mm
    int bolts = 8;
    int diameterIndex = 3;  // 24 mm
    int steel = 2;          // St3SX,St3SY,St3S,St3V,St3W
    int concrete = 2;       // B20
    int foundation = 1;     // reinforced
    int shear = 0;          // all anchors carry the horizontal force
    double n = 7.07;        // Es/Eb
};

struct Load {
    double N = 0, M = 0, V = 0;  // kN, kNm, kN
};

// Eight loads from uplift to compression: more than the six cases of a state.
inline std::vector<Load> EightLoads() {
    return {{500, 150, 30}, {0, 80, 40},      {-100, 80, 0}, {-300, -10, 20},
            {900, 20, 5},   {300, -120, -80}, {5, 200, 0},   {700, 250, 5}};
}

// The field text of a number as the user of `locale` would type it.
inline QString FieldText(double v, const QLocale& locale) {
    return locale.toString(v, 'g', 12).remove(locale.groupSeparator());
}

// The input window's fields for the plate and up to six load cases (the rest zero).
inline InputFields Fields(const Plate& p, const std::vector<Load>& loads,
                          const QLocale& locale = QLocale::c()) {
    InputFields f;
    f.txtNaz_proj = QStringLiteral("Hala magazynowa H-2");
    f.txtNr_strony = QStringLiteral("1");
    f.Text3 = FieldText(p.Rz, locale);
    f.Text4 = FieldText(p.Rw, locale);
    f.Text11 = FieldText(p.Rs, locale);
    f.Text12 = QString::number(p.bolts);
    f.cmbFi = p.diameterIndex;
    f.cmbStal = p.steel - 1;
    f.Option1 = p.foundation;
    f.optHsruby = p.shear;
    for (int k = 0; k < kMaxCases; ++k) {
        const Load l = k < static_cast<int>(loads.size()) ? loads[k] : Load{};
        f.Text6[k] = FieldText(l.N, locale);
        f.Text7[k] = FieldText(l.M, locale);
        f.Text5[k] = FieldText(l.V, locale);
    }
    return f;
}

inline DesignCase FreshState(const Plate& p, int cases) {
    DesignCase s;
    s.Nrbetonu = static_cast<Int16>(p.concrete);
    s.Es_Eb = p.n;
    s.Liczba_przyp = static_cast<Int16>(cases);
    for (int k = 46; k <= 69; ++k) {  // the horizontal-force verdicts
        s.Teksty[k] = QStringLiteral("T%1").arg(k);
    }
    return s;
}

// Runs the calculate command; the stop, if any.
inline std::optional<Stop> Run(DesignCase& s, const Plate& p, const std::vector<Load>& loads,
                               const QLocale& locale = QLocale::c()) {
    s.Liczba_przyp = static_cast<Int16>(loads.size());
    return Calculate(Fields(p, loads), s, locale);
}

}  // namespace vardel::test
