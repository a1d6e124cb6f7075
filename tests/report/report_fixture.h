// Calculated design cases for the report and export tests: the real calculate command on input
// fields filled here, with the language texts shipped in data/.
#pragma once

#include "calc/calculate.h"
#include "state/design_case.h"
#include "tests/test_support.h"
#include "tests/texts/qstring_print.h"
#include "texts/language.h"

#include <QLocale>
#include <QString>

#include <gtest/gtest.h>

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

// The field text of a number as the user of `locale` would type it.
inline QString FieldText(double v, const QLocale& locale) {
    return locale.toString(v, 'g', 12).remove(locale.groupSeparator());
}

inline InputFields Fields(const Plate& p, const std::vector<Load>& loads, const QLocale& locale) {
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

// Loads the shipped language files of `jezyk` into the state.
inline void LoadTexts(DesignCase& s, int jezyk) {
    s.Jezyk = static_cast<Int16>(jezyk);
    const FileResult r = LoadLanguageTexts(s, DataPath(QStringLiteral("../data")));
    ASSERT_FALSE(r.has_value()) << r->message.toStdString();
}

// A state with the texts of `jezyk`, calculated for `loads`; fails the test on a stop.
inline void Calculated(DesignCase& s, const Plate& p, const std::vector<Load>& loads, int jezyk,
                       const QLocale& locale) {
    LoadTexts(s, jezyk);
    s.Nrbetonu = static_cast<Int16>(p.concrete);
    s.Es_Eb = p.n;
    s.Liczba_przyp = static_cast<Int16>(loads.size());
    const std::optional<Stop> stop = Calculate(Fields(p, loads, locale), s, locale);
    ASSERT_FALSE(stop.has_value()) << stop->message.toStdString();
}

// Six cases on the default plate (B20 reinforced: fcd = 10.6 MPa), one of each kind:
//  1 whole section, concrete below fcd        2 partly compressed, note, friction
//  3 whole section, note                      4 partly compressed, concrete and bolts exceeded
//  5 partly compressed, axis on the tension side, no bolt in tension, concrete exceeded
//  6 partly compressed, note, tension-shear interaction exceeded
inline std::vector<Load> SixCases() {
    return {{500, 0, 0},      {500, 150, 40}, {3000, 50, 0},
            {1000, 400, 100}, {3000, 260, 0}, {150, 100, 400}};
}

}  // namespace vardel::test
