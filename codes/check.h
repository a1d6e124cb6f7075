// The shape every code's check returns (kept in state/ so that the design case can hold the
// results), and the ratio of a check.
#pragma once

#include "state/eurocode.h"

namespace vardel {

// Ed/Rd, 0 when nothing acts; a positive demand on no resistance is infinitely used.
inline double Ratio(double Ed, double Rd) {
    if (!(Ed > 0)) {
        return 0.0;
    }
    return Rd > 0 ? Ed / Rd : 1e300;
}

}  // namespace vardel
