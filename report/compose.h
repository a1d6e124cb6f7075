// Composition of the report lines from a calculated design case: the input data, the load table
// and the lines of every load case, with the concrete and bolt-steel checks that settle the
// verdict. Every output (page files, RTF, text, Word) reads the lines composed here unchanged.
#pragma once

#include "report/report_lines.h"
#include "state/design_case.h"

#include <QLocale>

#include <QString>
#include <array>

#include <functional>

namespace vardel {

// Draws and saves the stress sketch of one partly compressed case; k is the case number minus
// one. The results window fills it; composition without sketches passes an empty function.
using StressSketchHook = std::function<void(int k)>;

struct ReportVerdict {
    bool passes = false;
    QString text;  // what the status bar shows
};

// "OK" when the design passes, the exceeded-stress text otherwise.
QString VerdictText(bool passes);

// The summary over every case as the exports print it: the largest concrete stress, bolt stress
// and bolt force.
std::array<QString, 3> ExtremeValueLines(const DesignCase& s, const QLocale& locale);

// Naglowek_txt and Teksty_rap: the first thing the results window fills when it opens.
void FillReportHeadings(DesignCase& s, ReportLines& lines);

// Composes every report line in the order the report is built: headings, input data, load table,
// then case by case the neutral-axis, bolt and concrete lines with their checks. Runs the
// report-time checks (they write Wszystko_OK, Beton_OK and Omega_u), calls `drawStressSketch`
// once for every partly compressed case, and returns the overall verdict. Numbers follow
// `locale`. Lines of cases beyond Liczba_przyp and load-table rows past its end are cleared.
ReportVerdict ComposeReport(DesignCase& s, ReportLines& lines, const QLocale& locale,
                            const StressSketchHook& drawStressSketch = {});

}  // namespace vardel
