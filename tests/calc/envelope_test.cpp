#include "calc/envelope.h"

#include "tests/calc/calc_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

// A design under one code: PN-B, or PN-EN with these inputs.
struct Design {
    Plate plate;
    std::optional<EurocodeInputs> en;
};

// One load through the calculate command, as the user would enter it: its largest ratio and
// each check's under the design's code, and how the (whole, PN-B) plate bore.
struct Calculated {
    Judgement ratio;
    std::map<std::string_view, double> of;
    Bearing regime = Bearing::Whole;
};
DesignCase RunDesign(const Design& d, const Load& load) {
    DesignCase s = test::FreshState(d.plate, 1);
    if (d.en) {
        s.Norma = kNormaEurocode;
        s.Eurokod = *d.en;
    }
    EXPECT_FALSE(test::Run(s, d.plate, {load})) << load.N << " kN, " << load.M << " kNm";
    return s;
}
Calculated CalculateLoad(const Design& d, const Load& load) {
    const DesignCase s = RunDesign(d, load);
    const EurocodeResults& en = s.Wyniki_EN;
    Calculated out{PnbRatio(s, 1), {}, s.Docisk_blachy[1]};
    if (d.en) {
        EXPECT_TRUE(en.valid);
        out.ratio = {en.maxUtilisation, en.checks[1][en.governingCheck].check};
        for (const CheckResult& c : en.checks[1]) {
            out.of[c.check] = c.utilisation;
        }
    } else {
        for (const Check c : kChecks) {
            out.of[CheckName(c)] = CaseRatios(s, 1).Of(c);
        }
    }
    return out;
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
    // PN-EN: a tube on the ring and headed anchors in a block; thin anchors deep in uncracked
    // concrete, where their steel governs; hooks in a block as wide as the plate; a wide tube on
    // the wide ring.
    const auto inputs = [](float D, float t_w, float B, float H, float h_ef, float head) {
        EurocodeInputs e;
        e.D_rury = D;
        e.t_rury = t_w;
        e.B_bloku = B;
        e.H_bloku = H;
        e.h_ef = h_ef;
        e.d_glowy = head;
        return e;
    };
    const EurocodeInputs tube = inputs(420, 10, 1400, 900, 400, 70);
    Plate m16 = base;
    m16.diameterIndex = 1;
    EurocodeInputs deep = inputs(0, 0, 3000, 1200, 500, 60);
    deep.Zarysowany = 0;
    deep.Klasa_sruby = 0;
    const EurocodeInputs hooks;
    const EurocodeInputs wideTube = inputs(800, 12, 1800, 900, 400, 70);
    const struct {
        const char* what;
        Design design;
        double V;
        // A ratio that steps as the moment grows (the compressed-zone shear counts the
        // compressed anchors; the cone of the tensioned group widens as anchors join it, which
        // matters where the block's edge is close): there the envelope is where it steps past 1,
        // not where it is 1.
        bool ratioSteps;
        const char* uplift;  // the check that ends the envelope at each end (V = 0)
        const char* compression;
    } designs[] = {
        {"8 x M24 ring", {base, {}}, 0, false, "bolt", "concrete"},
        {"4 x M20 without a hole", {noHole, {}}, 0, false, "bolt", "concrete"},
        {"12 anchors, wide ring, plain concrete", {wide, {}}, 0, false, "bolt", "concrete"},
        {"5 anchors", {odd, {}}, 0, false, "bolt", "concrete"},
        {"all anchors take 40 kN", {base, {}}, 40, false, "", ""},
        {"the compressed zone takes 40 kN", {zoneShear, {}}, 40, true, "", ""},
        {"PN-EN, tube, headed anchors", {base, tube}, 0, false, "cone", "bearing"},
        {"PN-EN, deep M16 4.6 anchors", {m16, deep}, 0, false, "anchor_steel", "bearing"},
        {"PN-EN, hooks at the block's edge", {base, hooks}, 0, true, "cone", "bearing"},
        {"PN-EN, tube, 30 kN", {base, tube}, 30, false, "", ""},
        {"PN-EN, 12 anchors, wide tube, 150 kN", {wide, wideTube}, 150, false, "", ""},
    };
    for (const auto& d : designs) {
        SCOPED_TRACE(d.what);
        const DesignCase s = RunDesign(d.design, {0, 0, d.V});
        const Envelope e = DesignEnvelope(s, static_cast<float>(d.V));
        ASSERT_EQ(e.points.size(), static_cast<std::size_t>(kEnvelopePoints));
        EXPECT_EQ(e.eurocode, d.design.en.has_value());
        EXPECT_EQ(e.plastic.empty(), !d.design.en.has_value());
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
                // Continuous: no step between neighbours, through every way the plate bears. The
                // PN-EN cone takes the sum of the anchors' tension, which the moment leaves alone
                // while every anchor pulls, so the curve rises steeply from the uplift end.
                EXPECT_LT(std::fabs(p.M_kNm - e.points[k - 1].M_kNm),
                          (d.design.en ? 0.08 : 0.03) * largest);
            }
            if (p.M_kNm == 0) {
                // An end: the axial force alone, 2 % further out fails, 2 % less passes.
                const double out = p.N_kN + 0.02 * std::fabs(p.N_kN) * (k == 0 ? -1 : 1);
                const double in = p.N_kN - 0.02 * std::fabs(p.N_kN) * (k == 0 ? -1 : 1);
                EXPECT_GT(CalculateLoad(d.design, {out, 0, d.V}).ratio.max, 1);
                EXPECT_LE(CalculateLoad(d.design, {in, 0, d.V}).ratio.max, 1);
                continue;
            }
            const Calculated at = CalculateLoad(d.design, {p.N_kN, p.M_kNm, d.V});
            regimes.insert(at.regime);
            if (!d.ratioSteps) {
                // The check the envelope names is at 1 there (another may be with it: the
                // concrete's tension-shear sum meets 1 with the cone when little shear is left).
                EXPECT_NEAR(at.ratio.max, 1.0, 0.005);
                EXPECT_NEAR(at.of.at(p.governing), 1.0, 0.005) << p.governing;
            }
            EXPECT_LE(CalculateLoad(d.design, {p.N_kN, 0.98 * p.M_kNm, d.V}).ratio.max, 1);
            EXPECT_GT(CalculateLoad(d.design, {p.N_kN, 1.02 * p.M_kNm, d.V}).ratio.max, 1);
        }
        if (d.V == 0) {
            if (!d.design.en) {  // the regimes of the whole plate; PN-EN's ring bears otherwise
                EXPECT_EQ(regimes.size(), 3u) << "whole, partly and lifted all on the envelope";
            }
            EXPECT_EQ(e.points.front().governing, d.uplift);
            EXPECT_EQ(e.points.back().governing, d.compression);
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
        return Judgement{LargestRatio({u}).max, "bolt"};
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
