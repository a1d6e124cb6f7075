// The PN-EN calculation of a design the calculate command has solved: every case solved again on
// the effective ring of EN 1993-1-8 6.2.5 (the same plane-sections mechanics with n = Es/E_cm),
// then the PN-EN checks of codes/en/ on each, the results kept in Wyniki_EN.
#pragma once

#include "calc/load_rows.h"
#include "calc/stop.h"
#include "codes/en/checks.h"
#include "state/design_case.h"

#include <optional>
#include <span>
#include <variant>
#include <vector>

namespace vardel {

// Fills s.Wyniki_EN. A stop names an unusable input (the field in words) or a case without
// equilibrium; Wyniki_EN is then not valid. The PN-B results in the state stay as they were.
std::optional<Stop> CalculateEurocode(DesignCase& s);

// Every row of a load table under the PN-EN checks, on the design `calculated` (after the
// calculate command, with the PN-EN inputs accepted): each row's checks, in the order of
// Wyniki_EN. A row without equilibrium stops it, naming the row.
std::variant<std::vector<std::vector<CheckResult>>, Stop> CalculateEurocodeRows(
    const DesignCase& calculated, const std::vector<RowLoads>& rows);

// The largest ratio over the checks of a list of cases (or rows), the first of equals: its
// 1-based position in the list (0 when no case has a check), the check's index in its case and the
// ratio.
struct EurocodeGoverning {
    int index = 0;
    int check = 0;
    double utilisation = 0;
};
EurocodeGoverning LargestEurocodeRatio(std::span<const std::vector<CheckResult>> cases);

// The rows the report takes under the PN-EN checks when there are more than it holds: the row
// with the largest ratio of each check, the checks taken from the most used down, without
// repeats, at most `limit`, in file order. 1-based.
std::vector<int> GoverningEurocodeRows(const std::vector<std::vector<CheckResult>>& rows,
                                       int limit = kMaxCases);

// The design as the PN-EN mechanics sees it: the same design with the plate cut to the effective
// ring r_i..r_o (mm) and the stiffness ratio n, its ring values derived again and its results
// cleared, ready for the solver.
DesignCase OnEffectiveRing(const DesignCase& s, double r_i, double r_o, double n);

// The design the PN-EN checks read a case of: `calculated` (with the parameters of its accepted
// PN-EN inputs) on its effective ring, with the PN-EN stiffness ratio.
DesignCase EurocodeMechanics(const DesignCase& calculated, const en::Parameters& p);

}  // namespace vardel
