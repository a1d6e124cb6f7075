// The PN-EN rules against published worked values (three significant figures), the projected
// cone area against an independent polygon union, the plastic resistance against values worked by
// hand, the mechanics on the effective ring against the PN-B solver on a plate of that ring, and a
// sweep in which each check in turn governs.
#include "calc/en_calculation.h"
#include "calc/solver.h"
#include "codes/en/checks.h"
#include "codes/en/plastic.h"
#include "codes/en/rules.h"
#include "tests/calc/calc_fixture.h"

#include <QPainterPath>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vardel {
namespace {

using namespace en;

// Agreement to three significant figures of the published value.
void ExpectSig3(double actual, double published) {
    const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(published))) - 2);
    EXPECT_NEAR(actual, published, 0.5 * unit) << "published " << published;
}

TEST(EnRules, PublishedWorkedValues) {
    // SCI P358, example 4: CHS 273×5 on a 20 mm S275 plate over C30/37, α = 1.5, α_cc = 0.85.
    PartialFactors g = CenFactors();
    g.alpha_cc = 0.85;
    const double f_jd = BearingStrength(2.0 / 3.0, 1.5, DesignCompressiveStrength(30, g));
    ExpectSig3(f_jd, 17.0);
    const double c = EffectiveBearingWidth(20, PlateYieldStrength(1, 20), f_jd, g.gamma_M0);
    ExpectSig3(c, 45.6);
    const Ring ring = EffectiveRing(400, 0, 273, 5, c);
    const double area = std::numbers::pi * (ring.r_o * ring.r_o - ring.r_i * ring.r_i);
    ExpectSig3(area, 81000);
    ExpectSig3(area * f_jd / 1000, 1376);
    // A single cast-in anchor, h_ef = 120 mm, cracked C20/25: N0_Rk,c = 52.3 kN.
    ExpectSig3(ConeResistanceSingle(20, 120, true) / 1000, 52.3);
}

// The bolt steel grades as anchors: f_y (by the rod's diameter) and f_u of their EN 10025-2
// equivalents, Table 7; α_v = 0.5 and α_bc from f_y. An M24 of 18G2 (S355, 16 < d ≤ 40 mm):
// F_t,Rd = 0.9·470·353/1.25 = 119 kN, γ_Ms = 1.2·470/345 = 1.63, F_vb,Rd = (0.44 − 0.0003·345)·
// 470·353/1.25 = 44.7 kN.
TEST(EnRules, BoltSteelGradesAsTheirEn10025Equivalents) {
    const struct {
        int grade;
        double d, f_y, f_u;
    } rows[] = {{1, 12, 185, 290}, {1, 20, 175, 290}, {2, 16, 235, 360},
                {2, 42, 215, 360}, {3, 30, 265, 410}, {4, 24, 345, 470},
                {4, 64, 325, 470}, {5, 16, 355, 470}, {6, 32, 345, 470}};
    for (const auto& r : rows) {
        const GradeSteel s = AnchorGradeSteel(r.grade, r.d);
        EXPECT_EQ(std::pair(s.f_y, s.f_u), std::pair(r.f_y, r.f_u))
            << "grade " << r.grade << " d " << r.d;
    }
    test::Plate plate;
    plate.steel = 4;  // 18G2
    DesignCase s = test::FreshState(plate, 1);
    ASSERT_FALSE(test::Run(s, plate, {{500, 150, 30}}));
    s.Eurokod.Klasa_sruby = kBoltClassGradeSteel;
    const Parameters p = ParametersOf(s);
    ExpectSig3(p.F_tRd / 1000, 119);
    ExpectSig3(p.gamma_Ms, 1.63);
    ExpectSig3(p.F_vbRd / 1000, 44.7);
}

// The union of the squares cut by the block, as Qt's polygon clipping makes it.
double PolygonUnionArea(const std::vector<Point>& anchors, double side, double B) {
    QPainterPath u;
    for (const Point& p : anchors) {
        QPainterPath square;
        square.addRect(p.x - side / 2, p.y - side / 2, side, side);
        u = u.united(square);
    }
    QPainterPath block;
    block.addRect(-B / 2, -B / 2, B, B);
    double area = 0;
    for (const QPolygonF& poly : u.intersected(block).toFillPolygons()) {
        double twice = 0;
        for (int k = 0; k + 1 < poly.size(); ++k) {
            twice += poly[k].x() * poly[k + 1].y() - poly[k + 1].x() * poly[k].y();
        }
        area += std::fabs(twice) / 2;
    }
    return area;
}

TEST(EnRules, ConeAreaIsTheUnionOfSquaresCutByTheBlock) {
    // The tensioned half of 12 anchors on a 250 mm circle, 60 mm and 400 mm from the block edge.
    for (const double B : {620.0, 1300.0}) {
        for (const double h_ef : {80.0, 150.0, 250.0}) {
            std::vector<Point> anchors;
            for (int k = -3; k <= 3; ++k) {
                const double t = k * std::numbers::pi / 6;
                anchors.push_back({250 * std::cos(t), 250 * std::sin(t)});
            }
            const double s = 3 * h_ef;
            EXPECT_NEAR(ConeProjectedArea(anchors, s, B), PolygonUnionArea(anchors, s, B), 1.0)
                << "B " << B << " h_ef " << h_ef;
        }
    }
}

// The ring 100..200 mm at f_jd = 20 MPa, four anchors of F_t,Rd = 100 kN at x = 250, 0, −250, 0.
// By hand, in kN and kNm:
// - pure compression: 20·π·(200² − 100²) = 1884.956; pure tension: −4·100.
// - axis through the centre (a = 0): half the ring, A = π/2·30 000 = 47 123.9 mm², first moment
//   ⅔·(200³ − 100³) = 4.6667e6 mm³: N = 942.478 − 100 (the anchor at −250) = 842.478,
//   M = 93.333 + 100·0.250 = 118.333; the two anchors on the axis at full force take 200 more.
// - a = 100 (the inner circle's tangent): the outer disc's segment alone, A = 200²·acos(½) −
//   100·√30 000 = 24 567.40 mm², first moment ⅔·30 000^1.5 = 3.4641e6 mm³, three anchors
//   tensioned: N = 491.348 − 300 = 191.348, M = 69.282 + 25 = 94.282.
TEST(EnRules, PlasticResistanceOfTheRing) {
    const double x[] = {250, 0, -250, 0};
    const PlasticBase base{100, 200, 20, 100e3, x};
    const struct {
        double a, share, N_kN, M_kNm;
    } positions[] = {{-1000, 0, 1884.956, 0},
                     {1000, 0, -400, 0},
                     {0, 0, 842.478, 118.333},
                     {0, 1, 642.478, 118.333},
                     {100, 0, 191.348, 94.282}};
    for (const auto& p : positions) {
        const PlasticForces f = PlasticRingForces(base, p.a, p.share);
        EXPECT_NEAR(f.N / 1e3, p.N_kN, 1e-3) << "a = " << p.a;
        EXPECT_NEAR(f.M / 1e6, p.M_kNm, 1e-3) << "a = " << p.a;
        EXPECT_EQ(f.clause, "EN 1993-1-8 6.2.8");
    }
    // The curve from pure tension to pure compression, N never falling, M never negative, and
    // both ends of the step the anchors on the axis make.
    const std::vector<PlasticForces> curve = PlasticResistanceCurve(base, 40);
    ASSERT_GE(curve.size(), 41u);
    EXPECT_NEAR(curve.front().N / 1e3, -400, 1e-9);
    EXPECT_NEAR(curve.back().N / 1e3, 1884.956, 1e-3);
    int onAxis = 0;
    for (std::size_t k = 0; k < curve.size(); ++k) {
        EXPECT_GE(curve[k].M, -1e-6);
        if (k > 0) {
            EXPECT_GE(curve[k].N, curve[k - 1].N);
        }
        onAxis += std::fabs(curve[k].M / 1e6 - 118.333) < 1e-3 ? 1 : 0;
    }
    EXPECT_EQ(onAxis, 2);
}

test::Plate Ring() {
    test::Plate p;
    p.Rz = 300;
    p.Rw = 100;
    p.Rs = 250;
    return p;
}

// The PN-EN mechanics on the effective ring give the anchors the forces of the PN-B calculation of
// a plate that is that ring.
TEST(EnCalculation, EffectiveRingAnchorsMatchThePnbSolverOnThatRing) {
    const std::vector<test::Load> loads{{500, 150, 30}, {0, 80, 40}, {-100, 80, 0}, {900, 20, 5}};
    test::Plate p = Ring();
    DesignCase s = test::FreshState(p, 4);
    ASSERT_FALSE(test::Run(s, p, loads));
    s.Tryb_n = 1;  // the same n on both sides
    s.Eurokod.D_rury = 420;
    s.Eurokod.t_rury = 10;
    s.Eurokod.t_blachy = 20;
    const Parameters par = ParametersOf(s);
    ASSERT_GT(par.r_i, p.Rw);
    ASSERT_LT(par.r_o, p.Rz);
    // The window takes radii in whole millimetres: cut the ring at the nearest ones.
    const float r_i = std::round(static_cast<float>(par.r_i));
    const float r_o = std::round(static_cast<float>(par.r_o));
    DesignCase w = OnEffectiveRing(s, r_i, r_o, s.Es_Eb);
    const SectionConstants section = PrepareSection(w);

    test::Plate cut = p;
    cut.Rz = r_o;
    cut.Rw = r_i;
    DesignCase t = test::FreshState(cut, 4);
    ASSERT_FALSE(test::Run(t, cut, loads));
    for (int i = 1; i <= 4; ++i) {
        w.Nr_przyp = static_cast<Int16>(i);
        SolveSection(w, section);
        EXPECT_EQ(w.Docisk_blachy[i], t.Docisk_blachy[i]) << "case " << i;
        EXPECT_NEAR(w.Sig_b[i], t.Sig_b[i], 1e-9 * (1 + std::fabs(t.Sig_b[i]))) << "case " << i;
        for (int j = 1; j <= p.bolts; ++j) {
            EXPECT_NEAR(w.Sig_sr[j][i], t.Sig_sr[j][i], 1e-9 * (1 + std::fabs(t.Sig_sr[j][i])))
                << "case " << i << " bolt " << j;
        }
    }
}

// The report's rows of a long table: each check's worst row, the most used checks first, no
// repeats, at most the limit, in file order.
TEST(EnCalculation, GoverningRowsOfALongTable) {
    const auto row = [](double bearing, double cone, double shear) {
        return std::vector<CheckResult>{
            {"bearing", "", 0, 0, bearing}, {"cone", "", 0, 0, cone}, {"shear", "", 0, 0, shear}};
    };
    const std::vector<std::vector<CheckResult>> rows = {row(0.5, 0.1, 0), row(0.9, 0.2, 0),
                                                        row(0.2, 1.4, 0.3), row(0.9, 0.2, 0.1)};
    EXPECT_EQ(GoverningEurocodeRows(rows), (std::vector<int>{2, 3}));
    EXPECT_EQ(GoverningEurocodeRows(rows, 1), (std::vector<int>{3}));
    EXPECT_EQ(GoverningEurocodeRows({row(0, 0, 0), row(0, 0, 0)}), (std::vector<int>{1}));
}

// Each check in turn governs a design built for it: the ring of 8 M24 anchors on a 250 mm circle,
// one load case, with the inputs that weaken that check alone.
TEST(EnCalculation, EachCheckGovernsItsDesign) {
    struct Row {
        const char* governs;
        test::Load load;
        EurocodeInputs in;
    };
    const auto inputs = [](float t, float D, float tw, float B, float H, Int16 cls, float hef,
                           float head) {
        EurocodeInputs e;
        e.t_blachy = t;
        e.D_rury = D;
        e.t_rury = tw;
        e.B_bloku = B;
        e.H_bloku = H;
        e.Klasa_sruby = cls;
        e.h_ef = hef;
        e.d_glowy = head;
        return e;
    };
    const Row rows[] = {
        {"bearing", {3000, 0, 0}, inputs(30, 0, 0, 0, 0, 1, 300, 0)},
        {"anchor_steel", {0, 150, 0}, inputs(30, 0, 0, 3000, 1200, 1, 500, 60)},
        {"cone", {0, 60, 0}, inputs(30, 0, 0, 0, 0, 1, 300, 0)},
        {"pullout", {0, 60, 0}, inputs(30, 0, 0, 3000, 1200, 1, 500, 30)},
        {"anchorage", {0, 20, 0}, inputs(30, 0, 0, 3000, 1200, 1, 150, 0)},
        {"shear", {0, 0, 500}, inputs(30, 0, 0, 3000, 1200, 1, 300, 0)},
        {"pryout", {0, 0, 300}, inputs(30, 0, 0, 3000, 1200, 1, 100, 0)},
        {"tension_shear_steel", {0, 100, 250}, inputs(30, 0, 0, 3000, 1200, 1, 500, 80)},
        {"tension_shear_concrete", {0, 40, 120}, inputs(30, 0, 0, 3000, 1200, 2, 130, 80)},
        {"plate", {0, 60, 0}, inputs(6, 400, 10, 3000, 1200, 2, 500, 80)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.governs);
        const test::Plate p = Ring();
        DesignCase s = test::FreshState(p, 1);
        ASSERT_FALSE(test::Run(s, p, {r.load}));
        s.Norma = kNormaEurocode;
        s.Eurokod = r.in;
        ASSERT_FALSE(CalculateEurocode(s));
        const EurocodeResults& e = s.Wyniki_EN;
        ASSERT_TRUE(e.valid);
        ASSERT_EQ(e.governingCase, 1);
        const CheckResult& g = e.checks[1][e.governingCheck];
        EXPECT_EQ(g.check, r.governs);
        EXPECT_GT(g.utilisation, 1.0);  // each design built to fail its check
    }
}

}  // namespace
}  // namespace vardel
