#include "calc/envelope.h"

#include "tests/calc/calc_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

// One load through the calculate command, as the user would enter it: its largest ratio and how
// the plate bore.
struct Calculated {
    Governing ratio;
    Bearing regime = Bearing::Whole;
};
Calculated CalculateLoad(const Plate& p, const Load& load) {
    DesignCase s = test::FreshState(p, 1);
    EXPECT_FALSE(test::Run(s, p, {load})) << load.N << " kN, " << load.M << " kNm";
    return {LargestRatio(StateRatios(s)), s.Docisk_blachy[1]};
}

TEST(Envelope, EveryPointIsWhereAPlainCalculationReachesOne) {
    const Plate base;
    Plate noHole = base;
    noHole.Rw = 0;
    noHole.bolts = 4;
    noHole.diameterIndex = 2;
    Plate wide = base;
    wide.Rz = 500;
    wide.Rw = 300;
    wide.Rs = 400;
    wide.bolts = 12;
    wide.foundation = 0;
    wide.concrete = 4;
    Plate odd = base;
    odd.bolts = 5;
    Plate zoneShear = base;
    zoneShear.shear = 1;
    const struct {
        const char* what;
        Plate plate;
        double V;
        // The compressed-zone shear check counts the compressed anchors, so its ratio steps as
        // the moment grows: there the envelope is where it steps past 1, not where it is 1.
        bool ratioSteps;
    } designs[] = {
        {"8 x M24 ring", base, 0, false},
        {"4 x M20 without a hole", noHole, 0, false},
        {"12 anchors, wide ring, plain concrete", wide, 0, false},
        {"5 anchors", odd, 0, false},
        {"all anchors take 40 kN", base, 40, false},
        {"the compressed zone takes 40 kN", zoneShear, 40, true},
    };
    for (const auto& d : designs) {
        SCOPED_TRACE(d.what);
        DesignCase s = test::FreshState(d.plate, 1);
        ASSERT_FALSE(test::Run(s, d.plate, {{0, 0, d.V}}));
        const Envelope e = ComputeEnvelope(s, static_cast<float>(d.V));
        ASSERT_EQ(e.points.size(), static_cast<std::size_t>(kEnvelopePoints));
        EXPECT_LT(e.points.front().N_kN, 0);  // every design here carries some uplift
        double largest = 0;
        for (const EnvelopePoint& p : e.points) {
            largest = std::max(largest, p.M_kNm);
        }
        std::set<Bearing> regimes;
        for (std::size_t k = 0; k < e.points.size(); ++k) {
            const EnvelopePoint& p = e.points[k];
            SCOPED_TRACE(::testing::Message() << "point " << k << ": N = " << p.N_kN
                                              << " kN, M = " << p.M_kNm << " kNm");
            if (k > 0 && d.V == 0) {
                // Continuous: no step between neighbours, through every way the plate bears.
                EXPECT_LT(std::fabs(p.M_kNm - e.points[k - 1].M_kNm), 0.03 * largest);
            }
            if (p.M_kNm == 0) {
                // An end: the axial force alone, 2 % further out fails, 2 % less passes.
                const double out = p.N_kN + 0.02 * std::fabs(p.N_kN) * (k == 0 ? -1 : 1);
                const double in = p.N_kN - 0.02 * std::fabs(p.N_kN) * (k == 0 ? -1 : 1);
                EXPECT_GT(CalculateLoad(d.plate, {out, 0, d.V}).ratio.max, 1);
                EXPECT_LE(CalculateLoad(d.plate, {in, 0, d.V}).ratio.max, 1);
                continue;
            }
            const Calculated at = CalculateLoad(d.plate, {p.N_kN, p.M_kNm, d.V});
            regimes.insert(at.regime);
            if (!d.ratioSteps) {
                EXPECT_NEAR(at.ratio.max, 1.0, 0.005);
                EXPECT_EQ(at.ratio.check, p.governing);
            }
            EXPECT_LE(CalculateLoad(d.plate, {p.N_kN, 0.98 * p.M_kNm, d.V}).ratio.max, 1);
            EXPECT_GT(CalculateLoad(d.plate, {p.N_kN, 1.02 * p.M_kNm, d.V}).ratio.max, 1);
        }
        if (d.V == 0) {
            EXPECT_EQ(regimes.size(), 3u) << "whole, partly and lifted all on the envelope";
            EXPECT_EQ(e.points.front().governing, Check::Bolt);
            EXPECT_EQ(e.points.back().governing, Check::Concrete);
        }
    }
}

TEST(Envelope, CodeRatioIsTheOnlyJudge) {
    // Another code's checks plug in as one function: here one that fails a bolt stress above
    // half of PN-B's, which must halve the uplift carried.
    const Plate p;
    DesignCase s = test::FreshState(p, 1);
    ASSERT_FALSE(test::Run(s, p, {{0, 0, 0}}));
    const CodeRatio halfBolt = [](const DesignCase& solved, int i) {
        CaseUtilisation u = CaseRatios(solved, i);
        u.bolt *= 2;
        return LargestRatio({u});
    };
    const Envelope pnb = ComputeEnvelope(s, 0);
    const Envelope half = ComputeEnvelope(s, 0, halfBolt, 50);
    ASSERT_EQ(half.points.size(), 50u);
    EXPECT_NEAR(half.points.front().N_kN, pnb.points.front().N_kN / 2,
                1e-3 * std::fabs(pnb.points.front().N_kN));
    EXPECT_NEAR(half.points.back().N_kN, pnb.points.back().N_kN, 1e-3 * pnb.points.back().N_kN);
}

TEST(Envelope, ShearOfTheLoadsAndWhatNoForceCarries) {
    EXPECT_EQ(GoverningShear({{100, 10, -35}, {-20, 5, 12}, {0, 0, 0}}), 35.0f);
    EXPECT_EQ(GoverningShear({}), 0.0f);
    // A horizontal force no axial force lets the anchors carry: nothing to draw.
    const Plate p;
    DesignCase s = test::FreshState(p, 1);
    ASSERT_FALSE(test::Run(s, p, {{0, 0, 0}}));
    EXPECT_TRUE(ComputeEnvelope(s, 1e6f).points.empty());
}

}  // namespace
}  // namespace vardel
