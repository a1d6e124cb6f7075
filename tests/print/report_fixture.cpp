#include "tests/print/report_fixture.h"

#include "report/compose.h"
#include "report/header.h"
#include "tests/report/report_fixture.h"

#include <QDateTime>

namespace vardel::test {

CalculatedReport MakeReport(int cases, const QLocale& locale) {
    CalculatedReport r;
    DesignCase& s = r.state;
    s.Nrbetonu = 2;
    CompleteLoadedCase(s);  // n of the concrete, as the input window starts with it
    Plate p;
    p.n = s.Es_Eb;
    const std::vector<Load> loads = {{700, 150, 5}, {500, 20, 10},   {300, 80, 20},
                                     {800, 40, 0},  {1000, 200, 40}, {450, 100, 10}};
    Calculated(s, p, {loads.begin(), loads.begin() + cases}, 0, locale);
    s.Naz_proj = QStringLiteral("Hala magazynowa – słup S-3");
    s.Strona = 3;
    ComposeReport(s, r.lines, locale);
    s.Oznaczenie_stopy = QStringLiteral("Stopa SF-1");
    SetHeaderTexts(s, r.header, QDateTime(QDate(2026, 12, 6), QTime(9, 15)), locale);
    return r;
}

}  // namespace vardel::test
