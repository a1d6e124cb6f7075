// A calculated design case with representative report texts, for the page-file tests.
#pragma once

#include "report/report_lines.h"

#include <QLocale>
#include "state/design_case.h"

namespace vardel::test {

struct CalculatedReport {
    DesignCase state;
    ReportLines lines;
    HeaderTexts header;
};

// Runs the real calculation on a ring plate (Rz 300, Rw 100, bolt circle 250 mm, 8 bolts of
// 24 mm) with the first `cases` (1..6) of six load cases: cases 2 and 4 keep the whole ring
// compressed, the others lift it. The report is composed in Polish from the shipped language
// files, with a fixed clock and the numbers of `locale`. Fails the calling test when the
// calculation stops.
CalculatedReport MakeReport(int cases, const QLocale& locale = QLocale::c());

}  // namespace vardel::test
