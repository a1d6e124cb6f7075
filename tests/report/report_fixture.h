// Calculated design cases for the report and export tests: the real calculate command on input
// fields filled here, with the language texts shipped in data/.
#pragma once

#include "calc/calculate.h"
#include "state/design_case.h"
#include "tests/calc/calc_fixture.h"
#include "tests/test_support.h"
#include "tests/texts/qstring_print.h"
#include "texts/language.h"

#include <QLocale>
#include <QString>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace vardel::test {

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
