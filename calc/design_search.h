// The design assistant: the lightest bolt layouts that pass every load case of a design, found
// by calculating every bolt count with its diameters in turn.
#pragma once

#include "calc/calculate.h"
#include "calc/load_rows.h"
#include "calc/utilisation.h"
#include "state/design_case.h"

#include <QLocale>

#include <string_view>
#include <variant>
#include <vector>

namespace vardel {

constexpr int kFewestSearchedBolts = 4;

// One passing layout: a bolt count with the smallest diameter that passes every case.
struct BoltLayout {
    int Liczba_srub = 0;
    int diameterIndex = 0;  // position in the diameter list, 0-based (the `cmbFi` entry)
    int d_mm = 0;
    double As_total_cm2 = 0;  // count × area of one bolt
    Governing utilisation;    // the design's largest ratio, its check and its case
    // With the PN-EN checks: the governing one's name ("bearing", "cone" ...), whose ratio is
    // utilisation.max; empty with the PN-B checks.
    std::string_view enCheck;
};

struct DesignSearch {
    int checked = 0;               // layouts calculated (those the spacing rule refuses are not)
    std::vector<BoltLayout> best;  // every passing count, lightest first, then fewer bolts
};

// Runs the assistant on the input window's fields, with the ring, materials, shear mode and load
// cases as entered; the bolt count and diameter are what it chooses. A field that cmdOblicz
// would refuse ends it with the same stop. `s` is the program's state, left unchanged: the
// search works on a copy. `rows`, when given, are the loads to pass instead of the fields'
// cases: every row of a load table longer than the state holds.
std::variant<DesignSearch, Stop> SearchBoltLayouts(const InputFields& fields, const DesignCase& s,
                                                   const QLocale& locale,
                                                   const std::vector<RowLoads>& rows = {});

}  // namespace vardel
