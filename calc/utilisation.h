// How far each check of a calculated case is used: one ratio per check, at most 1 exactly when the
// check passes as the verdict judges it, and the largest of them over a design.
#pragma once

#include "state/design_case.h"

#include <vector>

namespace vardel {

enum class Check { Bolt, Concrete, Shear };

// "bolt", "concrete", "shear": the names the command line prints and writes into JSON.
const char* CheckName(Check check);

struct CaseUtilisation {
    double bolt = 0;      // Sig_s / fd_stali; 0 without bolts in tension
    double concrete = 0;  // Sig_b / (2·fcd_betonu)
    double shear = 0;     // the horizontal-force check's own ratio; 0 when friction carries it

    double Of(Check check) const {
        return check == Check::Bolt ? bolt : check == Check::Concrete ? concrete : shear;
    }
};

constexpr Check kChecks[] = {Check::Bolt, Check::Concrete, Check::Shear};

// The ratios of case i, read from the results the calculation left in the state.
CaseUtilisation CaseRatios(const DesignCase& s, int i);

// The largest ratio over a list of cases, its check and its case (1-based position in the
// list); on a tie the earlier case and, within a case, bolt before concrete before shear.
struct Governing {
    double max = 0;
    Check check = Check::Bolt;
    int index = 0;  // 0: an empty list
};
Governing LargestRatio(const std::vector<CaseUtilisation>& cases);

// The ratios of cases 1..Liczba_przyp of a calculated state.
std::vector<CaseUtilisation> StateRatios(const DesignCase& s);

}  // namespace vardel
