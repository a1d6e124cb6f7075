#include "calc/utilisation.h"

#include "calc/load_rows.h"
#include "calc/solver.h"
#include "tests/calc/calc_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

// The float nearest `v` from below (strictly) and the smallest one at or above it.
float FloatBelow(double v) {
    float f = static_cast<float>(v);
    return f < v ? f : std::nextafter(f, 0.0f);
}
float FloatAtOrAbove(double v) {
    float f = static_cast<float>(v);
    return f >= v ? f : std::nextafter(f, 1e30f);
}

// Sets the strength of `check` at the edge of case 1's stress: the smallest strength with which
// the check passes, or the largest with which it fails. For the shear, the strength at which the
// check's own ratio comes out at exactly 1.0 (τ/fv = 1 fails in both modes) or just below it; on a
// wholly compressed plate every anchor shares the force and the interaction's tension term is 0.
void StrengthAtTheEdge(DesignCase& s, Check check, bool passes) {
    if (check == Check::Bolt) {
        // Passing, the stress is made exactly the strength.
        const double sigma = s.Sig_s[1] / kKgcm2PerMpa;
        s.fd_stali = passes ? static_cast<float>(sigma) : FloatBelow(sigma);
        if (passes) {
            s.Sig_s[1] = s.fd_stali * kKgcm2PerMpa;
            for (int k = 0; k < 16 && s.Sig_s[1] / kKgcm2PerMpa != s.fd_stali; ++k) {
                s.Sig_s[1] =
                    std::nextafter(s.Sig_s[1], s.Sig_s[1] / kKgcm2PerMpa > s.fd_stali ? 0 : 1e30);
            }
            EXPECT_EQ(s.Sig_s[1] / kKgcm2PerMpa, s.fd_stali);
        }
    } else if (check == Check::Concrete) {
        const double half = s.Sig_b[1] / kKgcm2PerMpa / 2;
        s.fcd_betonu = passes ? FloatAtOrAbove(half) : FloatBelow(half);
    } else {
        const float V = std::fabs(static_cast<float>(s.V_kG[1]));
        const float area = static_cast<float>(s.Liczba_srub * s.As_sruby);
        const float tau = static_cast<float>(double(V) / double(area) / kKgcm2PerMpa);
        s.fv_sruby = passes ? std::nextafter(tau, 1e30f) : tau;
    }
}

// Runs one case's check as the verdict runs it; true when it passed.
bool CheckPasses(DesignCase& s, Check check) {
    s.Wszystko_OK = true;
    s.Beton_OK = true;
    switch (check) {
        case Check::Bolt:
            CheckBoltSteel(s, 1);
            return s.Wszystko_OK;
        case Check::Concrete:
            CheckConcrete(s, 1);
            return s.Beton_OK;
        case Check::Shear:
            s.Nr_przyp = 1;
            SolveLoadCase(s, QLocale::c());
            return s.Wszystko_OK;
    }
    return false;
}

TEST(Utilisation, AtMostOneExactlyWhenTheCheckPasses) {
    const struct {
        const char* what;
        Load load;
        int shear;
        Check check;
        bool passes;
        double ratio = 1;  // about
    } rows[] = {
        {"bolt stress one float above the strength", {500, 150, 0}, 0, Check::Bolt, false},
        {"bolt stress at the strength", {500, 150, 0}, 0, Check::Bolt, true},
        {"a lifted plate's bolts count", {-300, 10, 0}, 0, Check::Bolt, false},
        {"a lifted plate's bolts at the strength", {-300, 10, 0}, 0, Check::Bolt, true},
        {"concrete above twice its strength", {500, 150, 0}, 0, Check::Concrete, false},
        {"concrete at twice its strength", {500, 150, 0}, 0, Check::Concrete, true},
        {"compressed zone: τ/fv exactly 1 fails", {500, 10, 300}, 1, Check::Shear, false},
        {"compressed zone: just below 1", {500, 10, 300}, 1, Check::Shear, true},
        {"all anchors: interaction exactly 1 fails", {500, 10, 300}, 0, Check::Shear, false},
        {"all anchors: just below 1", {500, 10, 300}, 0, Check::Shear, true},
        {"friction carries the force", {500, 10, 100}, 0, Check::Shear, true, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Plate p;
        p.shear = r.shear;
        DesignCase s = test::FreshState(p, 1);
        ASSERT_FALSE(test::Run(s, p, {r.load}));
        StrengthAtTheEdge(s, r.check, r.passes);
        const bool passes = CheckPasses(s, r.check);
        EXPECT_EQ(passes, r.passes);
        const double ratio = CaseRatios(s, 1).Of(r.check);
        EXPECT_EQ(ratio <= 1.0, passes) << ratio;
        EXPECT_NEAR(ratio, r.ratio, 1e-6);
    }
}

TEST(Utilisation, LargestRatioAndGoverningRows) {
    const std::vector<CaseUtilisation> rows = {
        {0.2, 0.5, 0.0}, {0.9, 0.4, 0.0}, {0.0, 0.7, 0.3}, {0.9, 0.7, 0.0},
        {0.1, 0.2, 0.0}, {0.0, 0.1, 0.0}, {0.3, 0.3, 0.0},
    };
    const Governing g = LargestRatio(rows);
    EXPECT_EQ(g.index, 2);  // the first of two equal bolt ratios
    EXPECT_EQ(g.check, Check::Bolt);
    EXPECT_DOUBLE_EQ(g.max, 0.9);
    EXPECT_EQ(GoverningRows(rows), (std::vector<int>{2, 3}));  // concrete and shear both row 3
    EXPECT_EQ(GoverningRows({{0, 0.5, 0}, {0, 0.6, 0}}), (std::vector<int>{2}));
    EXPECT_EQ(GoverningRows({{0, 0, 0}, {0, 0, 0}}), (std::vector<int>{1}));
    EXPECT_EQ(GoverningRows({{0, 0.5, 0}, {0.5, 0, 0}, {0, 0, 0.1}}), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(GoverningRows({{0.1, 0.9, 0}, {0.8, 0, 0.5}, {0, 0, 0}}, 1), (std::vector<int>{2}));
}

// Every row calculated on its own equals the same load calculated as a case of the command.
TEST(LoadRows, EachRowAsTheCommandCalculatesIt) {
    const std::vector<Load> loads = test::EightLoads();
    Plate p;
    DesignCase first = test::FreshState(p, 1);
    ASSERT_FALSE(test::Run(first, p, {loads[0]}));
    std::vector<RowLoads> rows;
    for (const Load& l : loads) {
        rows.push_back({static_cast<float>(l.N), static_cast<float>(l.M), static_cast<float>(l.V)});
    }
    const auto result = CalculateRows(first, rows, QLocale::c());
    ASSERT_TRUE((std::holds_alternative<std::vector<RowResult>>(result)));
    const auto& got = std::get<std::vector<RowResult>>(result);
    ASSERT_EQ(got.size(), loads.size());
    for (std::size_t start = 0; start < loads.size(); start += kMaxCases) {
        const std::vector<Load> batch(loads.begin() + start,
                                      loads.begin() + std::min(loads.size(), start + kMaxCases));
        DesignCase s = test::FreshState(p, static_cast<int>(batch.size()));
        ASSERT_FALSE(test::Run(s, p, batch));
        const std::vector<CaseUtilisation> ratios = StateRatios(s);
        ASSERT_EQ(ratios.size(), batch.size());
        for (std::size_t k = 0; k < batch.size(); ++k) {
            SCOPED_TRACE(start + k + 1);
            const int i = static_cast<int>(k) + 1;
            const RowResult& r = got[start + k];
            EXPECT_EQ(r.regime, s.Docisk_blachy[i]);
            EXPECT_EQ(r.Sig_s, s.Sig_s[i]);
            EXPECT_EQ(r.Sig_b, s.Sig_b[i]);
            EXPECT_EQ(r.Sig_sr.back(), s.Sig_sr[p.bolts][i]);
            EXPECT_EQ(r.Wynik_V_u, s.Wynik_V_u[i]);
            EXPECT_EQ(r.utilisation.bolt, ratios[k].bolt);
        }
    }
}

}  // namespace
}  // namespace vardel
