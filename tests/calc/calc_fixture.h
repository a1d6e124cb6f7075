// Builds design cases for the calculation tests through the real calculate command.
#pragma once

#include "calc/calculate.h"
#include "state/design_case.h"

#include <QLocale>

#include <optional>

namespace vardel::test {

struct Plate {
    double Rz = 300, Rw = 100, Rs = 250;  // mm
    int bolts = 8;
    int diameterIndex = 3;  // 24 mm
    int steel = 2;          // St3S...
    int concrete = 2;       // B20
    int foundation = 1;     // reinforced
    int shear = 0;          // all anchors
    double n = 7.07;        // Es/Eb
};

struct Load {
    double N = 500, M = 150, V = 0;  // kN, kNm, kN
};

inline QString Num(double v) {
    return QString::number(v, 'g', 17);
}

inline InputFields Fields(const Plate& p, const std::vector<Load>& loads) {
    InputFields f;
    f.txtNaz_proj = QStringLiteral("Test");
    f.txtNr_strony = QStringLiteral("1");
    f.Text3 = Num(p.Rz);
    f.Text4 = Num(p.Rw);
    f.Text11 = Num(p.Rs);
    f.Text12 = QString::number(p.bolts);
    f.cmbFi = p.diameterIndex;
    f.cmbStal = p.steel - 1;
    f.Option1 = p.foundation;
    f.optHsruby = p.shear;
    for (std::size_t k = 0; k < loads.size() && k < 6; ++k) {
        f.Text6[k] = Num(loads[k].N);
        f.Text7[k] = Num(loads[k].M);
        f.Text5[k] = Num(loads[k].V);
    }
    for (std::size_t k = loads.size(); k < 6; ++k) {
        f.Text6[k] = f.Text7[k] = f.Text5[k] = QStringLiteral("0");
    }
    return f;
}

inline DesignCase FreshState(const Plate& p, int cases) {
    DesignCase s;
    s.Nrbetonu = static_cast<Int16>(p.concrete);
    s.Es_Eb = p.n;
    s.Liczba_przyp = static_cast<Int16>(cases);
    for (int k = 46; k <= 52; ++k) {
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
