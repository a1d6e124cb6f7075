// The PN-EN block of the report: the design's values (effective ring, bearing strength, partial
// factors, grout, governing check) and one line per check of every case, in the report's
// language. Composed from Wyniki_EN; every output prints the lines as they are.
#pragma once

#include "state/design_case.h"

#include <QLocale>
#include <QStringList>

namespace vardel {

struct EurocodeReport {
    QStringList design;            // empty when the PN-EN checks did not run
    CaseArray<QStringList> cases;  // per case 1..6
};

EurocodeReport ComposeEurocodeReport(const DesignCase& s, const QLocale& locale);

// The name of a check in the report's language ("bearing" → Teksty_EN line 2 ...).
QString CheckTitle(const DesignCase& s, std::string_view check);

}  // namespace vardel
