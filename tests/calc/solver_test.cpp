#include "calc/solver.h"

#include "calc/en_calculation.h"
#include "calc/stop.h"
#include "tests/calc/calc_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

namespace vardel {
namespace {

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

// Integrates the stresses that the solver left for case i, whatever the plate does: concrete
// σ = g·(x − a) over the compressed ring, with g from the edge stress, and the bolt forces
// Sig_sr·As of the bolts that carry tension (the bolt at angle 0 always counts, as the model has
// it; every bolt of a lifted plate). Returns the force and moment left over, scaled by the
// larger of N and M/Rz, so that 0 means equilibrium.
struct Statics {
    double force;   // (C − Z − N) / scale
    double moment;  // (Mc + Mz − M) / (scale·Rz)
};

Statics Integrate(const DesignCase& s, int i) {
    const bool lifted = s.Docisk_blachy[i] == Bearing::Lifted;
    const double a = s.a_cm[i];
    double C = 0;
    double Mc = 0;
    if (!lifted) {
        const double g = s.Sig_b[i] / (s.Rz_cm - a);
        auto sigma = [&](double x) { return g * (x - a); };
        auto sigmaX = [&](double x) { return g * (x - a) * x; };
        C = DiskIntegral(s.Rz_cm, a, sigma) - DiskIntegral(s.Rw_cm, a, sigma);
        Mc = DiskIntegral(s.Rz_cm, a, sigmaX) - DiskIntegral(s.Rw_cm, a, sigmaX);
    }
    double Z = 0;
    double Mz = 0;
    for (int j = 1; j <= s.Liczba_srub; ++j) {
        const double c = std::cos((j - 1) * 2 * M_PI / s.Liczba_srub);
        if (lifted || s.Rs_cm * c + a >= 0 || j == 1) {
            const double force = s.Sig_sr[j][i] * s.As_sruby;
            Z += force;
            Mz += force * s.Rs_cm * c;  // lever arm on the tension side
        }
    }
    const double M = 100.0 * std::fabs(s.M_kGm[i]);
    const double scale = std::max(std::fabs(s.N_kG[i]), M / s.Rz_cm);
    return {(C - Z - s.N_kG[i]) / scale, (Mc + Mz - M) / (scale * s.Rz_cm)};
}

// Random ring plates, bolt layouts and loads from uplift to compression: every case that bears on
// a segment or lifts off ends on equilibrium, and the regime chosen is the one whose stresses
// have the right signs (concrete pressed where it bears, the lifted plate's edge not pressed) and
// the whole ring bears only within the kern.
TEST(Solver, StaticsHoldForEveryLoadFromUpliftToCompression) {
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int diameters[] = {12, 16, 20, 24, 30, 36, 42, 48, 52, 56, 64, 72, 80};
    std::map<std::pair<Bearing, bool>, int> seen;  // regime, N > 0
    int stopped = 0;
    for (int trial = 0; trial < 600; ++trial) {
        Plate p;
        // Radii in whole millimetres, as the calculation takes them.
        p.Rz = std::round(150 + 450 * unit(rng));
        p.Rw = unit(rng) < 0.25 ? 0 : std::round(p.Rz * (0.1 + 0.75 * unit(rng)));
        p.Rs = std::round(std::max(p.Rw + 10, p.Rz * (0.5 + 0.45 * unit(rng))));
        p.bolts = 2 + static_cast<int>(unit(rng) * 49);
        p.diameterIndex = static_cast<int>(unit(rng) * 13);
        const double spacing = 2 * M_PI * p.Rs / p.bolts;
        // A diameter the spacing allows, whose hole lies on the plate.
        const auto fits = [&](int d) {
            return spacing >= 2 * d && p.Rs + d / 2.0 <= p.Rz && p.Rs - d / 2.0 >= p.Rw;
        };
        while (p.diameterIndex > 0 && !fits(diameters[p.diameterIndex])) {
            --p.diameterIndex;
        }
        if (!fits(diameters[p.diameterIndex])) {
            continue;
        }
        p.n = 6 + 9 * unit(rng);
        const double N = trial % 10 == 0 ? 0.0 : -500 + 1000 * unit(rng);
        const double M = 300 * unit(rng) * unit(rng) * (unit(rng) < 0.5 ? 1 : -1);
        DesignCase s = test::FreshState(p, 1);
        SCOPED_TRACE(testing::Message()
                     << "trial " << trial << " Rz " << p.Rz << " Rw " << p.Rw << " Rs " << p.Rs
                     << " bolts " << p.bolts << " N " << N << " M " << M);
        if (test::Run(s, p, {{N, M, 0}})) {
            ++stopped;
            continue;
        }
        const Bearing b = s.Docisk_blachy[1];
        ++seen[{b, N > 0}];
        if (b == Bearing::Whole) {
            // The kern radius of a ring is (Rz² + Rw²) / 4Rz.
            EXPECT_LE(1000 * std::fabs(M) / N, (p.Rz * p.Rz + p.Rw * p.Rw) / (4 * p.Rz) + 1e-9);
            EXPECT_EQ(s.Sig_s[1], 0.0);
            continue;
        }
        // The bolt stress of the case is that of the bolt at angle 0, when it pulls.
        EXPECT_DOUBLE_EQ(s.Sig_s[1], std::max(0.0, s.Sig_sr[1][1]));
        const Statics st = Integrate(s, 1);
        EXPECT_NEAR(st.force, 0.0, 1e-6);
        EXPECT_NEAR(st.moment, 0.0, 1e-6);
        if (b == Bearing::Partly) {
            EXPECT_GT(s.Sig_b[1], 0.0);
            EXPECT_GT(s.a_cm[1], -s.Rz_cm);
            EXPECT_LT(s.a_cm[1], s.Rz_cm);
        } else {
            // Bolt stresses linear over the circle, the plate's edge extrapolated not pressed.
            const double c2 = std::cos(2 * M_PI / s.Liczba_srub);
            const double slope = (s.Sig_sr[1][1] - s.Sig_sr[2][1]) / (1 - c2);
            const double mean = s.Sig_sr[1][1] - slope;
            EXPECT_EQ(s.Sig_b[1], 0.0);
            EXPECT_GE(mean - slope * s.Rz_cm / s.Rs_cm, -1e-9 * std::fabs(mean));
        }
    }
    EXPECT_GT((seen[{Bearing::Partly, true}]), 100);
    EXPECT_GT((seen[{Bearing::Partly, false}]), 50);
    EXPECT_GT((seen[{Bearing::Lifted, false}]), 30);
    EXPECT_GT((seen[{Bearing::Whole, true}]), 10);
    EXPECT_LT(stopped, 5);
}

// The narrower ring of the Eurocode check leaves the bolt circle outside it (Rs 25 cm on a ring
// 18..22 cm). From the eccentricity at which the neutral axis reaches the bolt circle to the one
// at which it reaches the ring's edge, the whole ring bears and the outer bolts pull: every load
// from within the kern to far beyond it ends on equilibrium, and the whole ring bears without a
// bolt only while the neutral axis lies beyond the bolts (e ≤ I/(A·Rs)).
TEST(Solver, StaticsHoldWithTheBoltCircleOutsideTheRing) {
    const Plate p;
    DesignCase s = test::FreshState(p, 1);
    ASSERT_FALSE(test::Run(s, p, {{500, 10, 0}}));
    DesignCase w = OnEffectiveRing(s, 180, 220, s.Es_Eb);
    ASSERT_GT(w.Rs_cm, w.Rz_cm);
    const SectionConstants section = PrepareSection(w);
    const double inertiaByAreaRs = (22.0 * 22 + 18 * 18) / 4 / 25;  // cm
    w.Nr_przyp = 1;
    for (const double e : {7.0, 8.5, 9.0, 9.25, 9.3, 9.4, 9.5, 10.5, 15.0, 30.0}) {  // cm
        SCOPED_TRACE(testing::Message() << "e " << e);
        w.N_kG[1] = 500 * kKgPerKn;
        w.M_kGm[1] = w.N_kG[1] * e / 100;
        ASSERT_NO_THROW(SolveSection(w, section));
        if (w.Docisk_blachy[1] == Bearing::Whole) {
            EXPECT_LE(e, inertiaByAreaRs);
            continue;
        }
        EXPECT_GT(e, inertiaByAreaRs);
        EXPECT_EQ(w.Docisk_blachy[1], Bearing::Partly);
        EXPECT_GT(w.Sig_sr[1][1], 0.0);
        const Statics st = Integrate(w, 1);
        EXPECT_NEAR(st.force, 0.0, 1e-6);
        EXPECT_NEAR(st.moment, 0.0, 1e-6);
    }
}

// Eccentricity equal to the kern radius (Rz 400, Rw 0: 80/8 = 10 cm, and M/N·100 = 10): the whole
// plate still bears, with N/A + |M|/W.
TEST(Solver, AtTheKernEdgeTheWholePlateBears) {
    const Plate p{.Rz = 400, .Rw = 0, .Rs = 350};
    DesignCase s = test::FreshState(p, 1);
    ASSERT_FALSE(test::Run(s, p, {{100, 10, 0}}));
    ASSERT_EQ(s.Docisk_blachy[1], Bearing::Whole);
    const double area = M_PI * 40 * 40, W = M_PI / 32 * std::pow(80, 3);
    EXPECT_NEAR(s.Sig_b[1], (100 / area + 1000 / W) * kKgPerKn, 1e-9);
}

TEST(Solver, NoEquilibriumStopsWithAMessageNamingTheCase) {
    // One bolt cannot hold the plate down against uplift without a moment: the concrete's
    // resultant and the bolt's pull turn the same way about the centre.
    Plate p;
    p.bolts = 1;
    DesignCase s = test::FreshState(p, 2);
    const auto stop = test::Run(s, p, {{100, 0, 0}, {-100, 0, 0}});
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->title, QStringLiteral("Schemat nr 2"));
    EXPECT_TRUE(stop->message.contains(QStringLiteral("Schemat nr 2")));
    EXPECT_TRUE(stop->message.contains(QStringLiteral("osi obojętnej")));
}

struct ShearCase {
    const char* what;
    int shear;       // 0 all anchors, 1 compressed zone
    double N, M, V;  // kN, kNm, kN
    double u;        // the ratio the check must reach (0: not set)
    int line;        // the language line chosen, 0 for no check
    const char* tail;
    bool failsDesign;
    int anchors = 16;  // the anchors of the compressed zone
};

TEST(Solver, HorizontalForceVerdicts) {
    // With the whole ring bearing no bolt is in tension, so the force that gives a ratio u is
    // known: all anchors, (τ/fv)² = u; the anchors of the compressed zone, τ/fv = u.
    const ShearCase cases[] = {
        {"friction carries less than 0.3 N", 0, 500, 150, 140, 0, 46, "", false},
        {"a force the other way is not carried by friction", 0, 10, 5, -400, 0, 50, "", false},
        {"tiny force gets no check", 0, 500, 150, 0.00009, 0, 0, "", false},
        {"all anchors within capacity", 0, 500, 10, 0, 0.9, 50, "", false},
        {"all anchors just over", 0, 500, 10, 0, 1.02, 51, "2.0%", true},
        {"all anchors exceeded", 0, 500, 10, 0, 1.2, 52, "", true},
        {"compressed zone within capacity", 1, 500, 10, 0, 0.9, 47, "", false},
        {"compressed zone just over", 1, 500, 10, 0, 1.02, 48, "2.0%", true},
        {"compressed zone exceeded", 1, 500, 10, 0, 1.2, 49, "", true},
        // a = −9.3 cm: the nine bolts from 90° to 270° lie beyond the neutral axis.
        {"compressed zone of a partly bearing plate", 1, 500, 100, 0, 0.9, 47, "", false, 9},
        {"lifted plate: no anchor in the compressed zone", 1, -300, 10, 200, 0, 67, "", false},
        {"lifted plate: all anchors exceeded", 1, -300, 10, 2500, 0, 69, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Plate p{.bolts = 16, .diameterIndex = 5, .shear = c.shear};  // 36 mm on 250 mm
        DesignCase s = test::FreshState(p, 1);
        s.Wynik_V[1] = QStringLiteral("stale verdict");
        double V = c.V;
        if (c.u > 0) {
            ASSERT_FALSE(test::Run(s, p, {{c.N, c.M, 1}}));  // for As and fv
            const double tau = s.fv_sruby * (c.shear == 0 ? std::sqrt(c.u) : c.u);
            V = tau * kKgcm2PerMpa * c.anchors * s.As_sruby / kKgPerKn;
        }
        ASSERT_FALSE(test::Run(s, p, {{c.N, c.M, V}}));
        EXPECT_EQ(s.Wynik_V_nr[1], c.line);
        if (c.line == 0) {
            EXPECT_TRUE(s.Wynik_V[1].isEmpty());
            EXPECT_EQ(s.Liczba_V, 0);
        } else {
            EXPECT_EQ(s.Wynik_V[1], QStringLiteral("T%1").arg(c.line) + c.tail);
            EXPECT_EQ(s.Liczba_V, 1);
        }
        if (c.u > 0) {
            ASSERT_TRUE(s.Wynik_V_u[1]);
            EXPECT_NEAR(*s.Wynik_V_u[1], c.u, 1e-5);
        }
        EXPECT_EQ(s.Wszystko_OK, !c.failsDesign);
    }
}

}  // namespace
}  // namespace vardel
