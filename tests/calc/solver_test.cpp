#include "calc/solver.h"

#include "calc/stop.h"
#include "tests/calc/calc_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

// ∫ f(x)·(chord width) dx over the part x > a of a disk of radius ρ, by the substitution
// x = ρ·cos t, which leaves a smooth integrand; independent of the solver's closed forms.
template <typename F>
double DiskIntegral(double rho, double a, F f) {
    if (rho <= 0 || a >= rho) {
        return 0;
    }
    const double tMax = a <= -rho ? M_PI : std::acos(a / rho);
    const int steps = 20000;
    const double h = tMax / steps;
    double sum = 0;
    for (int k = 0; k < steps; ++k) {
        const double t = (k + 0.5) * h;
        const double x = rho * std::cos(t);
        sum += f(x) * 2 * rho * rho * std::sin(t) * std::sin(t);
    }
    return sum * h;
}

struct Statics {
    double verticalImbalance;  // concrete resultant − bolt tension − N, kG
    double momentImbalance;    // resisting moment about the centre − applied moment, kG·cm
};

// Integrates the stresses that the solver left for case i: concrete σ = g·(x − a) over the
// compressed ring, and the bolt forces n·g·d·As of the bolts that carry tension (the bolt at
// angle 0 always counts, as the model has it).
Statics Integrate(const DesignCase& s, int i) {
    const double a = s.a_cm[i];
    const double g = s.Sig_b[i] / (s.Rz_cm - a);
    auto sigma = [&](double x) { return g * (x - a); };
    auto sigmaX = [&](double x) { return g * (x - a) * x; };
    const double C = DiskIntegral(s.Rz_cm, a, sigma) - DiskIntegral(s.Rw_cm, a, sigma);
    const double Mc = DiskIntegral(s.Rz_cm, a, sigmaX) - DiskIntegral(s.Rw_cm, a, sigmaX);
    double Z = 0;
    double Mz = 0;
    for (int j = 1; j <= s.Liczba_srub; ++j) {
        const double theta = (j - 1) * 2 * M_PI / s.Liczba_srub;
        const double d = s.Rs_cm * std::cos(theta) + a;
        if (d >= 0 || j == 1) {
            const double force = s.Es_Eb * g * d * s.As_sruby;
            Z += force;
            Mz += force * s.Rs_cm * std::cos(theta);  // lever arm on the tension side
        }
    }
    return {C - Z - s.N_kG[i], Mc + Mz - 100.0 * s.M_kGm[i]};
}

TEST(Solver, StaticsHoldOverASweepOfRingPlates) {
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int diameters[] = {12, 16, 20, 24, 30, 36, 42, 48, 52, 56, 64, 72, 80};
    int solved = 0, axisBeyondCentre = 0, axisBeforeCentre = 0, withHole = 0, stopped = 0;
    for (int trial = 0; trial < 400; ++trial) {
        Plate p;
        p.Rz = 150 + 450 * unit(rng);
        p.Rw = unit(rng) < 0.25 ? 0 : p.Rz * (0.1 + 0.75 * unit(rng));
        p.Rs = std::max(p.Rw + 10, p.Rz * (0.5 + 0.45 * unit(rng)));
        p.bolts = 1 + static_cast<int>(unit(rng) * 50);
        p.diameterIndex = static_cast<int>(unit(rng) * 13);
        const double spacing = 2 * M_PI * p.Rs / p.bolts;
        while (p.diameterIndex > 0 && spacing < 2 * diameters[p.diameterIndex]) {
            --p.diameterIndex;
        }
        if (spacing < 2 * diameters[p.diameterIndex]) {
            continue;
        }
        p.n = 6 + 9 * unit(rng);
        const double N = 10 + 2000 * unit(rng);
        const double kern = 2 * p.Rz / 10 / 8 * (1 + std::pow(p.Rw / p.Rz, 2));  // cm
        const double e = kern * (1.05 + 8 * unit(rng) * unit(rng));              // cm
        const Load load{N, N * e / 100, 0};

        DesignCase s = test::FreshState(p, 1);
        const auto stop = test::Run(s, p, {load});
        if (stop) {
            ++stopped;
            continue;
        }
        ASSERT_TRUE(IsPartlyCompressed(s, 1));
        // The residual at which the search stopped, from a second identical search.
        s.Nr_przyp = 1;
        const SearchResult search = FindNeutralAxis(s);
        const Statics st = Integrate(s, 1);
        SCOPED_TRACE(testing::Message()
                     << "trial " << trial << " Rz " << p.Rz << " Rw " << p.Rw << " Rs " << p.Rs
                     << " bolts " << p.bolts << " N " << N << " e " << e);
        EXPECT_NEAR(st.verticalImbalance, 0.0, 1e-6 * s.N_kG[1] + 1e-6);
        EXPECT_NEAR(st.momentImbalance, search.last.F, 1e-6 * 100 * s.M_kGm[1] + 1e-3);
        // The search stops at |F| < 100 kG·cm or when its step falls below 0.01°; either way the
        // moments balance to a small part of the applied moment.
        EXPECT_LT(std::fabs(search.last.F), 100.0 + 1e-2 * 100 * s.M_kGm[1]);
        ++solved;
        axisBeyondCentre += s.a_cm[1] < 0 ? 1 : 0;
        axisBeforeCentre += s.a_cm[1] > 0 ? 1 : 0;
        withHole += p.Rw > 0 ? 1 : 0;
    }
    EXPECT_GT(solved, 300);
    EXPECT_GT(axisBeyondCentre, 20);
    EXPECT_GT(axisBeforeCentre, 20);
    EXPECT_GT(withHole, 150);
    RecordProperty("stopped", stopped);
}

// Counts every tensioned bolt once, whatever the count's parity, including a single bolt and the
// bolt at angle π.
TEST(Solver, BoltSumsCountEveryTensionedBoltOnce) {
    for (int bolts = 1; bolts <= 12; ++bolts) {
        for (double phi : {0.3, 1.2, 2.0, 2.6, 3.0}) {
            Plate p;
            p.bolts = bolts;
            p.Rs = 250;
            DesignCase s = test::FreshState(p, 1);
            ASSERT_FALSE(test::Run(s, p, {{500, 150, 0}}));
            s.Nr_przyp = 1;
            const Residual r = EquilibriumResidual(s, phi);
            double S1 = 0;
            double S2 = 0;
            for (int j = 0; j < bolts; ++j) {
                const double d = s.Rs_cm * std::cos(j * 2 * M_PI / bolts) + r.a;
                if (d >= 0 || j == 0) {
                    S1 += d;
                    S2 += d * d;
                }
            }
            SCOPED_TRACE(testing::Message() << bolts << " bolts, phi " << phi);
            EXPECT_NEAR(r.S1, S1, 1e-9 * std::fabs(S1) + 1e-9);
            EXPECT_NEAR(r.S2, S2, 1e-9 * S2 + 1e-9);
        }
    }
}

TEST(Solver, WholeCompressionCases) {
    const Plate p;  // Rz 300, Rw 100: kern radius 8.33 cm
    const double area = M_PI * (30.0 * 30.0 - 10.0 * 10.0);
    const struct {
        double M;  // kNm for N = 500 kN
        const char* what;
    } cases[] = {{0, "no moment"}, {-30, "negative moment"}, {20, "small eccentricity"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DesignCase s = test::FreshState(p, 1);
        // Bolt stresses of an earlier run must not survive into a wholly compressed case.
        s.Sig_sr[3][1] = 1234;
        ASSERT_FALSE(test::Run(s, p, {{500, c.M, 0}}));
        EXPECT_FALSE(IsPartlyCompressed(s, 1));
        const double N = 500 * kKgPerKn;
        const double W = M_PI / 32 * (std::pow(60.0, 4) - std::pow(20.0, 4)) / 60;
        EXPECT_NEAR(s.Sig_b[1], N / area + 100 * c.M * kKgPerKn / W, 1e-9);
        EXPECT_EQ(s.Sig_s[1], 0.0);
        EXPECT_EQ(s.Sig_sr[3][1], 0.0);
        if (c.M < 0) {
            EXPECT_LT(s.Sig_b[1], N / area);
        }
    }
}

TEST(Solver, EccentricityEqualToTheKernRadiusIsWholeCompression) {
    // Rz 400, Rw 0: kern radius = 80/8 = 10 cm exactly; M/N·100 = 10.
    Plate p;
    p.Rz = 400;
    p.Rw = 0;
    p.Rs = 350;
    DesignCase s = test::FreshState(p, 1);
    ASSERT_FALSE(test::Run(s, p, {{100, 10, 0}}));
    ASSERT_DOUBLE_EQ(s.e_cm[1], s.r_rdzenia);
    EXPECT_FALSE(IsPartlyCompressed(s, 1));
}

TEST(Solver, NegativeBoltStressIsReportedAsZero) {
    // Eccentricity just beyond the kern: the neutral axis lies beyond the bolt circle on the
    // tension side, and every bolt is compressed.
    Plate p;
    p.Rz = 300;
    p.Rw = 0;
    p.Rs = 100;
    DesignCase s = test::FreshState(p, 1);
    ASSERT_FALSE(test::Run(s, p, {{500, 40, 0}}));
    ASSERT_TRUE(IsPartlyCompressed(s, 1));
    ASSERT_LT(s.a_cm[1], -s.Rs_cm);
    EXPECT_EQ(s.Sig_s[1], 0.0);
    EXPECT_LT(s.Sig_sr[1][1], 0.0);
}

TEST(Solver, WanderingSearchStopsWithAMessageNamingTheCase) {
    // A thin ring with four large bolts just outside it: F is flat past φ = π and the stepping
    // search would refine forever.
    Plate p;
    p.Rz = 350;
    p.Rw = 300;
    p.Rs = 357;
    p.bolts = 4;
    p.diameterIndex = 12;  // 80 mm
    p.n = 15;
    DesignCase s = test::FreshState(p, 2);
    const auto stop = test::Run(s, p, {{100, 0, 0}, {632.3, 97.1, 0}});
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->title, QStringLiteral("Schemat nr 2"));
    EXPECT_TRUE(stop->message.contains(QStringLiteral("Schemat nr 2")));
    EXPECT_TRUE(stop->message.contains(QStringLiteral("osi obojętnej")));
}

struct ShearCase {
    const char* what;
    int shear;       // 0 all anchors, 1 compressed zone
    double N, M, V;  // kN, kNm, kN
    int line;        // the language line chosen, 0 for no check
    bool failsDesign;
};

TEST(Solver, HorizontalForceVerdicts) {
    const ShearCase cases[] = {
        {"friction carries it", 0, 500, 150, 100, 46, false},
        {"negative force passes by friction", 0, 10, 5, -400, 46, false},
        {"tiny force gets no check", 0, 500, 150, 0.00009, 0, false},
        {"all anchors within capacity", 0, 500, 100, 200, 50, false},
        {"all anchors exceeded: text only", 0, 500, 100, 4000, 52, false},
        {"compressed zone within capacity", 1, 500, 100, 200, 47, false},
        {"compressed zone exceeded fails", 1, 500, 100, 2000, 49, true},
        {"whole compression: every anchor in the compressed zone", 1, 500, 10, 1000, 47, false},
        {"whole compression: no bolt tension", 0, 500, 10, 1000, 50, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Plate p;  // 16 bolts of 36 mm on a 250 mm circle
        p.bolts = 16;
        p.diameterIndex = 5;
        p.shear = c.shear;
        DesignCase s = test::FreshState(p, 1);
        s.Wynik_V[1] = QStringLiteral("stale verdict");
        ASSERT_FALSE(test::Run(s, p, {{c.N, c.M, c.V}}));
        EXPECT_EQ(s.Wynik_V_nr[1], c.line);
        if (c.line == 0) {
            EXPECT_TRUE(s.Wynik_V[1].isEmpty());
            EXPECT_EQ(s.Liczba_V, 0);
        } else {
            EXPECT_TRUE(s.Wynik_V[1].startsWith(QStringLiteral("T%1").arg(c.line)));
            EXPECT_EQ(s.Liczba_V, 1);
        }
        EXPECT_EQ(s.Wszystko_OK, !c.failsDesign);
    }
}

TEST(Solver, InteractionBetweenOneAndTheLimitPrintsTheExcess) {
    // Shear alone in the all-anchors mode: u = (τ/fv)² with a whole-compressed section, so the
    // force that gives u = 1.02 is known in closed form.
    Plate p;
    p.shear = 0;
    DesignCase s = test::FreshState(p, 1);
    const double fv = 168.75;  // MPa, St3S
    const double area = 8 * 3.53;
    const double tau = fv * std::sqrt(1.02);
    const double V = tau * kKgcm2PerMpa * area / kKgPerKn;  // kN
    ASSERT_FALSE(test::Run(s, p, {{V * 3, 1, V}}));
    EXPECT_EQ(s.Wynik_V_nr[1], 51);
    EXPECT_EQ(s.Wynik_V[1], QStringLiteral("T512.0%"));
    ASSERT_TRUE(s.Wynik_V_u[1]);
    EXPECT_NEAR(*s.Wynik_V_u[1], 1.02, 1e-5);
}

TEST(Solver, ReportChecksOfSteelAndConcrete) {
    Plate p;
    DesignCase s = test::FreshState(p, 1);
    ASSERT_FALSE(test::Run(s, p, {{500, 150, 0}}));
    s.fcd_betonu = 10.6f;
    const struct {
        double sigmaMpa;
        ConcreteVerdict verdict;
        bool betonOk;
    } concrete[] = {
        {5.0, ConcreteVerdict::Below, true},        {10.6f, ConcreteVerdict::Between, true},
        {15.0, ConcreteVerdict::Between, true},     {21.2f, ConcreteVerdict::Between, true},
        {21.3, ConcreteVerdict::AboveTwice, false},
    };
    for (const auto& c : concrete) {
        s.Beton_OK = true;
        s.Sig_b[1] = c.sigmaMpa * kKgcm2PerMpa;
        EXPECT_EQ(CheckConcrete(s, 1), c.verdict) << c.sigmaMpa;
        EXPECT_EQ(s.Beton_OK, c.betonOk) << c.sigmaMpa;
        if (c.verdict == ConcreteVerdict::Between) {
            EXPECT_NEAR(s.Omega_u[1], c.sigmaMpa / 10.6, 1e-5);
        }
    }
    s.Wszystko_OK = true;
    s.Sig_s[1] = (s.fd_stali + 0.5) * kKgcm2PerMpa;
    CheckBoltSteel(s, 1);
    EXPECT_FALSE(s.Wszystko_OK);
    s.Wszystko_OK = true;
    s.Sig_s[1] = (s.fd_stali - 0.5) * kKgcm2PerMpa;
    CheckBoltSteel(s, 1);
    EXPECT_TRUE(s.Wszystko_OK);
}

}  // namespace
}  // namespace vardel
