#include "anchors/catalogue.h"

#include "materials/tables.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

namespace vardel {
namespace {

// A design case as the calculation leaves it for the bolt, the steel and the concrete.
DesignCase Bolt(int d, int steel, int concrete) {
    DesignCase s;
    s.Fi_sruby = static_cast<Int16>(d);
    s.Nrstali = static_cast<Int16>(steel);
    s.Nrbetonu = static_cast<Int16>(concrete);
    EXPECT_TRUE(LookUpBoltArea(s));
    EXPECT_EQ(LookUpSteel(s), SteelLookup::Set);
    EXPECT_TRUE(LookUpConcrete(s));
    return s;
}

// Worked by hand from the catalogue table and its rules: D = 5 d (2.5 d below 20 mm); Lh =
// Int(pi/2 (D + 6 d)); hook L from the table up to 30 mm, Wsp_lb x d from 36 mm; Lo = L + t + Ld;
// Lcalk = round50(Lo + Lh); Lp = X x Wsp_bet in single precision, halves to even; plate total
// Lo + tp, plus 30 below 48 mm, to 50 mm. Zero plate columns: no plate anchor.
TEST(AnchorCatalogue, EveryDiameterAgainstHandWorkedValues) {
    const struct {
        int d, steel, concrete, t;
        int D, Lh;
        float Nosnosc;
        int L, Ld, hookLo, hookLcalk;
        int Lp, a, tp, L1, plateLo, plateLcalk;
    } rows[] = {
        {12, 2, 1, 50, 30, 160, 18.275f, 580, 45, 675, 850, 0, 0, 0, 0, 0, 0},
        {16, 5, 2, 0, 40, 213, 58.09f, 770, 50, 820, 1050, 0, 0, 0, 0, 0, 0},
        // 1005 + 345 = 1350; the plate: 605 + 20 + 30 = 655 rounds down to 650
        {20, 2, 1, 50, 100, 345, 50.225f, 900, 55, 1005, 1350, 500, 100, 20, 0, 605, 650},
        // 1380 + 345 = 1725 rounds up to 1750; 500 x 0.775 = 387.5 rounds to 388
        {20, 2, 3, 425, 100, 345, 50.225f, 900, 55, 1380, 1750, 388, 100, 20, 0, 868, 900},
        {24, 2, 4, 0, 120, 414, 72.365f, 1080, 60, 1140, 1550, 346, 110, 20, 0, 406, 450},
        {30, 4, 3, 120, 150, 518, 165.495f, 1330, 70, 1520, 2050, 504, 120, 20, 0, 694, 750},
        // From 36 mm the hook is 40 d long in B15 (1440 mm, not 326)
        {36, 2, 1, 50, 180, 622, 167.485f, 1440, 80, 1570, 2200, 800, 130, 20, 0, 930, 1000},
        // 900 x 0.775 = 697.5 rounds to 698
        {42, 2, 3, 0, 210, 725, 218.4f, 1344, 85, 1429, 2150, 698, 150, 20, 0, 783, 850},
        // Ribs from 48 mm: no 30 mm allowance
        {48, 4, 2, 80, 240, 829, 419.52f, 1680, 90, 1850, 2700, 866, 170, 20, 160, 1036, 1050},
        // 1100 x 0.775 = 852.5 rounds to 852
        {52, 2, 3, 60, 260, 898, 342.615f, 1664, 95, 1819, 2700, 852, 200, 20, 180, 1007, 1050},
        {56, 2, 4, 50, 280, 967, 395.85f, 1680, 100, 1830, 2800, 832, 200, 20, 200, 982, 1000},
        {64, 2, 5, 40, 320, 1105, 521.625f, 1792, 110, 1942, 3050, 885, 230, 25, 220, 1035, 1050},
        {72, 2, 4, 100, 360, 1244, 674.31f, 2160, 120, 2380, 3600, 1109, 250, 30, 240, 1329, 1350},
        // 28 d in B37: 2240 mm, not 1215
        {80, 2, 5, 0, 400, 1382, 846.69f, 2240, 130, 2370, 3750, 1138, 280, 32, 260, 1268, 1300},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message()
                     << "d " << r.d << ", concrete " << r.concrete << ", t " << r.t);
        const auto result = ComputeAnchors(Bolt(r.d, r.steel, r.concrete), Int16(r.t));
        ASSERT_TRUE(std::holds_alternative<Anchors>(result));
        const Anchors& a = std::get<Anchors>(result);
        EXPECT_EQ(std::tuple(a.Grubosc, a.D, a.Lh, a.Ld, a.hook.L, a.hook.Lo, a.hook.Lcalk),
                  std::tuple(r.t, r.D, r.Lh, r.Ld, r.L, r.hookLo, r.hookLcalk));
        EXPECT_FLOAT_EQ(a.Nosnosc, r.Nosnosc);
        EXPECT_EQ(a.hook.designation, QString("F-%1-%2").arg(r.d).arg(r.hookLcalk));
        ASSERT_EQ(a.plate.has_value(), r.Lp != 0);
        if (const auto& p = a.plate) {
            EXPECT_EQ(std::tuple(p->Lp, p->a, p->tp, p->L1, p->Lo, p->Lcalk),
                      std::tuple(r.Lp, r.a, r.tp, r.L1, r.plateLo, r.plateLcalk));
            EXPECT_EQ(p->designation, QString("P-%1-%2").arg(r.d).arg(r.plateLcalk));
        }
    }
}

// Lengths are 16-bit: a thickness that pushes a length past 32767 mm is error 6, and a diameter
// outside the catalogue error 9, never a wrapped length.
TEST(AnchorCatalogue, LengthsBeyondSixteenBitsAndUnknownDiametersAreErrors) {
    const struct {
        int d, t, error;
    } rows[] = {
        {80, 32767, 6},  // the straight length itself
        {80, 29000, 6},  // only the total (29000 + 2370 + 1382)
        {20, 31475, 6},  // 32430 + 345 = 32775 rounds up to 32800
        {20, 31474, 0},  // 32774 rounds down to 32750
        {22, 50, 9},
    };
    for (const auto& r : rows) {
        DesignCase s = Bolt(r.d == 22 ? 20 : r.d, 2, 1);
        s.Fi_sruby = static_cast<Int16>(r.d);
        const auto result = ComputeAnchors(s, Int16(r.t));
        const int error =
            std::holds_alternative<AnchorError>(result) ? std::get<AnchorError>(result).number : 0;
        EXPECT_EQ(error, r.error) << r.d << " " << r.t;
    }
    EXPECT_EQ(AnchorErrorMessage({6}), "6!!!!");
}

}  // namespace
}  // namespace vardel
