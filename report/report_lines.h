// The composed report: the lines that the page files and every export read unchanged. Composed
// once per opening of the results window; owned by it.
#pragma once

#include "state/design_case.h"

#include <QString>
#include <QStringList>

#include <array>

namespace vardel {

struct ReportLines {
    std::array<QString, 4> Teksty_rap;  // 0: Teksty(8), 1: Teksty(9), 2: "" (blank line), 3: Teksty(17)
    std::array<QString, 8> Dane;        // input-data lines 1..7
    CaseArray<QString> Linia_a;         // neutral-axis line, partly compressed cases only
    CaseArray<QString> Linia_sruby;
    CaseArray<QString> Linia_betonu;
    CaseArray<QString> Uwaga_betonu;  // " " or Teksty(5)
    // The PN-EN block: the design's lines and each case's check lines; empty with PN-B.
    QStringList Eurokod;
    CaseArray<QStringList> Eurokod_przyp;
    // The N–M diagram (NmDiagramFileName) stands after the summary over the cases. Set by whoever
    // drew it into the run's folder; the composition leaves it as it is.
    bool nmDiagram = false;
};

// The page header texts Teksty_nagl(1..7); indexes 2 and 3 are unused.
struct HeaderTexts {
    std::array<QString, 8> Teksty_nagl;
};

}  // namespace vardel
