#include "report/compose.h"

#include "calc/solver.h"
#include "state/numbers.h"
#include "tests/report/report_fixture.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vardel {
namespace {

using test::Calculated;
using test::Load;
using test::Plate;

constexpr int kPolish = 0;
constexpr int kEnglish = 2;

// The Sig_b (kG/cm²) nearest to the stress `mpa` on the asked side: -1 just below, +1 just
// above, 0 the largest one whose stress in MPa does not exceed `mpa` (exactly `mpa` when it can).
double SigBBy(float mpa, int side) {
    double sig = static_cast<double>(mpa) * kKgcm2PerMpa;
    while (sig / kKgcm2PerMpa > mpa) {
        sig = std::nextafter(sig, 0.0);
    }
    while (std::nextafter(sig, 1e9) / kKgcm2PerMpa <= mpa) {
        sig = std::nextafter(sig, 1e9);
    }
    while (side < 0 && sig / kKgcm2PerMpa >= mpa) {
        sig = std::nextafter(sig, 0.0);
    }
    return side > 0 ? std::nextafter(sig, 1e9) : sig;
}

// The exports print the load table from element 0 to Liczba_przyp + 2, whose last element is
// the blank line; a shorter report must not leave rows or case lines of a longer one behind.
// The stress sketch is drawn for every partly compressed case, in order.
TEST(ComposeReport, LoadTableCaseLinesAndSketchesFollowTheNumberOfCases) {
    DesignCase s;
    ReportLines lines;
    Calculated(s, Plate{}, test::SixCases(), kEnglish, QLocale::c());
    std::vector<int> drawn;
    ComposeReport(s, lines, QLocale::c(), [&](int k) { drawn.push_back(k); });
    EXPECT_EQ(drawn, (std::vector<int>{1, 3, 4, 5}));

    // The same plate again with one wholly compressed case: elements 0..3.
    Calculated(s, Plate{}, {{500, 0, 0}}, kEnglish, QLocale::c());
    ComposeReport(s, lines, QLocale::c());
    EXPECT_TRUE(s.Tabela[2].startsWith(s.Teksty[15] + QStringLiteral("1 ")));
    for (int k = 3; k < static_cast<int>(s.Tabela.size()); ++k) {
        EXPECT_TRUE(s.Tabela[k].isEmpty()) << k;
    }
    EXPECT_TRUE(lines.Linia_a[1].isEmpty());
    for (int i = 2; i <= kMaxCases; ++i) {
        EXPECT_TRUE(lines.Linia_a[i].isEmpty()) << i;
        EXPECT_TRUE(lines.Linia_sruby[i].isEmpty()) << i;
        EXPECT_TRUE(lines.Linia_betonu[i].isEmpty()) << i;
    }
}

// The side is told by the sign of a (the calculated lines are in the export goldens): a = 0 is
// the tension side's form, and a tiny positive a keeps the compressed side's form though it
// prints as 0 mm.
TEST(ComposeReport, NeutralAxisLineTellsTheSideByTheSignOfA) {
    for (const auto& [a_cm, form] : {std::pair(0.0, 7), std::pair(0.04, 6)}) {
        SCOPED_TRACE(a_cm);
        DesignCase s;
        Calculated(s, Plate{}, test::SixCases(), kPolish, QLocale::c());
        s.a_cm[2] = a_cm;
        ReportLines lines;
        ComposeReport(s, lines, QLocale::c());
        EXPECT_EQ(lines.Linia_a[2],
                  s.Teksty_ok[5] + s.Teksty_ok[form] + QStringLiteral("  a = 0 mm"));
    }
}

// Uplift and pure bending: a lifted plate's case says so where the neutral axis would stand, and
// both have a sketch and a bolt line.
TEST(ComposeReport, UpliftAndPureBendingCasesHaveSketchesAndBoltLines) {
    DesignCase s;
    Calculated(s, Plate{}, {{-200, 0, 0}, {0, 80, 0}}, kEnglish, QLocale::c());
    std::vector<int> drawn;
    ReportLines lines;
    ComposeReport(s, lines, QLocale::c(), [&](int k) { drawn.push_back(k); });
    EXPECT_EQ(drawn, (std::vector<int>{0, 1}));
    EXPECT_EQ(lines.Linia_a[1], s.Teksty_ok[11]);
    EXPECT_TRUE(lines.Linia_a[2].startsWith(s.Teksty_ok[5]));
    for (int i : {1, 2}) {
        EXPECT_TRUE(lines.Linia_sruby[i].startsWith(s.Teksty_ok[9])) << i;
    }
}

TEST(ComposeReport, ConcreteLineEndingAndNoteAtTheBoundsOfTheDesignStrength) {
    enum class Expect { RbEnding, Note, Exceeded };
    const struct {
        const char* name;
        int side;  // -1 just below, 0 exactly at, +1 just above `times`·fcd
        float times;
        Expect expect;
    } rows[] = {
        {"just below fcd", -1, 1.0f, Expect::RbEnding},
        {"exactly fcd", 0, 1.0f, Expect::Note},
        {"exactly twice fcd", 0, 2.0f, Expect::Note},
        {"just above twice fcd", 1, 2.0f, Expect::Exceeded},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DesignCase s;
        Calculated(s, Plate{}, {{500, 0, 0}}, kEnglish, QLocale::c());
        const float bound = row.times * s.fcd_betonu;
        const double sig = SigBBy(bound, row.side);
        ASSERT_TRUE(row.side != 0 || sig / kKgcm2PerMpa == static_cast<double>(bound));
        s.Sig_b[1] = sig;
        s.Omega_u[1] = 0;
        ReportLines lines;
        const ReportVerdict verdict = ComposeReport(s, lines, QLocale::c());

        const QString lead = s.Teksty[3] + Format(sig / kKgcm2PerMpa, u"##0.00", QLocale::c()) +
                             QStringLiteral(" MPa");
        const QString ending = row.expect == Expect::RbEnding   ? QStringLiteral(" < Rb = 10.6 MPa")
                               : row.expect == Expect::Exceeded ? s.Teksty[4]
                                                                : QString();
        EXPECT_EQ(lines.Linia_betonu[1], lead + ending);
        EXPECT_EQ(lines.Uwaga_betonu[1],
                  row.expect == Expect::Note ? s.Teksty[5] : QStringLiteral(" "));
        EXPECT_EQ(s.Beton_OK, row.expect != Expect::Exceeded);
        EXPECT_EQ(verdict.passes, row.expect != Expect::Exceeded);
        if (row.expect == Expect::Note) {
            EXPECT_FLOAT_EQ(s.Omega_u[1], row.times);
        }
    }
}

TEST(ComposeReport, VerdictFollowsTheChecksOfTheCalculationAndTheReport) {
    const struct {
        const char* name;
        int shear;
        Load load;
        bool passes;
    } rows[] = {
        {"everything within the strengths", 0, {500, 0, 0}, true},
        {"a concrete note does not fail", 0, {500, 150, 0}, true},
        {"concrete above twice fcd", 0, {3000, 260, 0}, false},
        {"bolt steel above fd", 0, {100, 150, 0}, false},
        {"interaction of all anchors exceeded", 0, {150, 100, 400}, false},
        {"uplift within the bolt steel", 0, {-200, 0, 0}, true},
        {"uplift above fd", 0, {-800, 0, 0}, false},
        {"shear of the compressed zone exceeded", 1, {200, 80, 300}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Plate p;
        p.shear = row.shear;
        DesignCase s;
        Calculated(s, p, {row.load}, kPolish, QLocale::c());
        ReportLines lines;
        const ReportVerdict verdict = ComposeReport(s, lines, QLocale::c());
        EXPECT_EQ(verdict.passes, row.passes);
        EXPECT_EQ(verdict.passes, DesignPasses(s));
        EXPECT_EQ(verdict.text, row.passes ? QStringLiteral("OK")
                                           : QStringLiteral(" Przekroczone naprezenia !! "));
    }
}

}  // namespace
}  // namespace vardel
