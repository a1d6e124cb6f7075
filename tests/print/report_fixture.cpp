#include "tests/print/report_fixture.h"

#include "calc/calculate.h"
#include "report/compose.h"
#include "report/header.h"
#include "tests/test_support.h"
#include "texts/language.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace vardel::test {
namespace {

// N [kN], M [kNm], V [kN] of the six load cases.
constexpr const char* kLoads[kMaxCases][3] = {
    {"700", "150", "5"}, {"500", "20", "10"},   {"300", "80", "20"},
    {"800", "40", "0"},  {"1000", "200", "40"}, {"450", "100", "10"},
};

}  // namespace

CalculatedReport MakeReport(int cases, const QLocale& locale) {
    CalculatedReport r;
    DesignCase& s = r.state;
    s.Jezyk = 0;
    s.Nrbetonu = 2;
    const FileResult texts = LoadLanguageTexts(s, ProgramDir());
    EXPECT_FALSE(texts.has_value()) << (texts ? texts->message.toStdString() : std::string());
    CompleteLoadedCase(s);
    s.Liczba_przyp = static_cast<Int16>(cases);
    InputFields f;
    f.txtNaz_proj = QStringLiteral("Hala magazynowa – słup S-3");
    f.txtNr_strony = QStringLiteral("3");
    f.Text3 = QStringLiteral("300");
    f.Text4 = QStringLiteral("100");
    f.Text11 = QStringLiteral("250");
    f.Text12 = QStringLiteral("8");
    f.cmbFi = 3;  // 24 mm
    f.cmbStal = 1;
    f.Option1 = 1;
    f.optHsruby = 0;
    for (int i = 0; i < kMaxCases; ++i) {
        f.Text6[i] = kLoads[i][0];
        f.Text7[i] = kLoads[i][1];
        f.Text5[i] = kLoads[i][2];
    }
    const auto stop = Calculate(f, s, locale);
    EXPECT_FALSE(stop.has_value()) << (stop ? stop->message.toStdString() : std::string());

    ComposeReport(s, r.lines, locale);
    s.Oznaczenie_stopy = QStringLiteral("Stopa SF-1");
    SetHeaderTexts(s, r.header, QDateTime(QDate(2026, 12, 6), QTime(9, 15)), locale);
    return r;
}

}  // namespace vardel::test
