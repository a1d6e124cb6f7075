// Many load cases over one design: every row of a load table calculated on its own, without
// enlarging the design case (which holds six), and the rows that govern the report.
#pragma once

#include "calc/calculate.h"
#include "calc/stop.h"
#include "calc/utilisation.h"
#include "state/design_case.h"

#include <QLocale>

#include <optional>
#include <variant>
#include <vector>

namespace vardel {

struct RowLoads {
    float N_kN = 0;
    float M_kNm = 0;
    float V_kN = 0;
};

// Puts a row's loads into case i as the calculate command takes them from the fields, in kN and
// in kG together.
void PutRowLoads(DesignCase& s, int i, const RowLoads& row);

// What one row gave: the values a case of the state would hold.
struct RowResult {
    Bearing regime = Bearing::Whole;
    double e_cm = 0;
    double a_cm = 0;
    double Sig_s = 0;
    double Sig_b = 0;
    std::vector<double> Sig_sr;  // bolt 1..Liczba_srub
    Int16 Wynik_V_nr = 0;
    std::optional<float> Wynik_V_u;
    CaseUtilisation utilisation;
};

// Every row on the design `calculated` (a state the calculate command ran on without a stop),
// each exactly as it would be calculated as a case of the state. A row that stops the
// calculation stops it all, naming the row. `calculated` is not changed.
std::variant<std::vector<RowResult>, Stop> CalculateRows(const DesignCase& calculated,
                                                         const std::vector<RowLoads>& rows,
                                                         const QLocale& locale);

// The row (1-based) with the largest ratio of the check, the first of equals; 0 when no row uses
// the check (every ratio 0).
int GoverningRow(const std::vector<CaseUtilisation>& rows, Check check);

// The rows the report takes when there are more than it holds: for each check the row with the
// largest ratio (the first of equals), without repeats, in file order, at most `limit`. A check
// no row uses (every ratio 0) picks none; when none is picked, the first row. 1-based.
std::vector<int> GoverningRows(const std::vector<CaseUtilisation>& rows, int limit = kMaxCases);

struct TableResults {
    std::vector<RowResult> rows;
    // With the PN-EN checks chosen, each row's checks (as CalculateEurocodeRows); else empty.
    std::vector<std::vector<CheckResult>> enRows;
    // 1-based: every row of a table of six or fewer, else the governing ones by the checks of
    // the chosen code.
    std::vector<int> stateRows;
};

// A whole load table on the design of the input window's fields (their load rows do not
// matter): every row calculated, and the rows the state and so the report take. A wrong field
// stops it with cmdOblicz's stop, a row without equilibrium with the stop naming the row. `s` is
// not changed. The load tab's "Wczytaj z pliku…" puts the `stateRows` into its rows, as --loads
// does.
std::variant<TableResults, Stop> CalculateTable(InputFields fields, const DesignCase& s,
                                                const std::vector<RowLoads>& rows,
                                                const QLocale& locale);

}  // namespace vardel
