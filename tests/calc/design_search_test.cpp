#include "calc/design_search.h"

#include "calc/solver.h"
#include "materials/tables.h"
#include "tests/calc/calc_fixture.h"

#include <gtest/gtest.h>

#include <map>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

// The verdict of one layout through the ordinary command and the report's checks: passes, fails
// or is refused before any case (the spacing rule or the grade).
enum class Verdict { Refused, Fails, Passes };

// More than six loads go in batches of six. With `en`, the PN-EN checks of the calculation judge.
Verdict BruteForce(const Plate& p, const std::vector<Load>& loads, int count, int diameterIndex,
                   const EurocodeInputs* en) {
    Plate layout = p;
    layout.bolts = count;
    layout.diameterIndex = diameterIndex;
    for (std::size_t start = 0; start < loads.size(); start += kMaxCases) {
        const std::vector<Load> batch(loads.begin() + start,
                                      loads.begin() + std::min(loads.size(), start + kMaxCases));
        DesignCase s = test::FreshState(layout, static_cast<int>(batch.size()));
        if (en) {
            s.Norma = kNormaEurocode;
            s.Eurokod = *en;
        }
        if (const auto stop = test::Run(s, layout, batch)) {
            const bool refused =
                stop->message == QStringLiteral("Za mały rozstaw śrub!") ||
                stop->message == QStringLiteral("Norma nie przewiduje takich śrub");
            return refused ? Verdict::Refused : Verdict::Fails;
        }
        if (en) {
            if (!s.Wyniki_EN.passes) {
                return Verdict::Fails;
            }
            continue;
        }
        for (int i = 1; i <= s.Liczba_przyp; ++i) {
            CheckBoltSteel(s, i);
            CheckConcrete(s, i);
        }
        if (!DesignPasses(s)) {
            return Verdict::Fails;
        }
    }
    return Verdict::Passes;
}

TEST(DesignSearch, AgreesWithTheCalculateCommandOnEveryCount) {
    EurocodeInputs tube;  // hooks 400 mm deep in a 1400 mm block under a 420 mm tube
    tube.D_rury = 420;
    tube.t_rury = 10;
    tube.B_bloku = 1400;
    tube.H_bloku = 900;
    tube.h_ef = 400;
    const struct {
        const char* what;
        Plate plate;
        std::vector<Load> loads;
        const EurocodeInputs* en = nullptr;
    } designs[] = {
        {"three compressed cases, shear by all anchors",
         Plate{},
         {{500, 150, 30}, {300, 120, 80}, {900, 60, 10}}},
        {"uplift and a lifted plate, shear by the compressed zone",
         Plate{400, 150, 330, 8, 3, 4, 3, 0, 1, 7.07},
         {{-100, 80, 60}, {-300, 10, 20}, {200, 250, 150}}},
        {"a grade that stops at 32 mm, pure bending",
         Plate{250, 80, 200, 6, 2, 6, 1, 1, 0, 8.0},
         {{0, 90, 40}, {600, 40, 0}}},
        {"eight loads, more than the state holds", Plate{}, test::EightLoads()},
        {"nothing passes: the concrete is crushed whatever the bolts", Plate{}, {{9000, 10, 0}}},
        {"the PN-EN checks", Plate{}, {{300, 80, 30}, {-50, 40, 20}}, &tube},
    };
    for (const auto& d : designs) {
        SCOPED_TRACE(d.what);
        const int cases = std::min<int>(d.loads.size(), kMaxCases);
        DesignCase s = test::FreshState(d.plate, cases);
        if (d.en) {
            s.Norma = kNormaEurocode;
            s.Eurokod = *d.en;
        }
        std::vector<RowLoads> rows;
        for (const Load& l : d.loads) {
            rows.push_back(
                {static_cast<float>(l.N), static_cast<float>(l.M), static_cast<float>(l.V)});
        }
        const auto found =
            SearchBoltLayouts(test::Fields(d.plate, d.loads), s, QLocale::c(),
                              d.loads.size() > kMaxCases ? rows : std::vector<RowLoads>{});
        ASSERT_TRUE(std::holds_alternative<DesignSearch>(found));
        const DesignSearch& search = std::get<DesignSearch>(found);

        // The smallest passing diameter of every count, the slow way.
        std::map<int, int> expected;
        const int diameters = static_cast<int>(BoltDiameterNames().size());
        for (int count = kFewestSearchedBolts; count <= kMaxBolts; ++count) {
            for (int k = 0; k < diameters; ++k) {
                if (BruteForce(d.plate, d.loads, count, k, d.en) == Verdict::Passes) {
                    expected[count] = k;
                    break;
                }
            }
        }
        std::map<int, int> listed;
        for (const BoltLayout& l : search.best) {
            listed[l.Liczba_srub] = l.diameterIndex;
            EXPECT_LE(l.utilisation.max, 1.0) << l.Liczba_srub;
        }
        EXPECT_EQ(listed, expected);
        for (std::size_t k = 1; k < search.best.size(); ++k) {
            const BoltLayout& a = search.best[k - 1];
            const BoltLayout& b = search.best[k];
            EXPECT_TRUE(a.As_total_cm2 < b.As_total_cm2 ||
                        (a.As_total_cm2 == b.As_total_cm2 && a.Liczba_srub < b.Liczba_srub));
        }
        EXPECT_GE(search.checked, static_cast<int>(search.best.size()));
        EXPECT_EQ(search.best.empty(), std::string(d.what).starts_with("nothing"));
    }
}

TEST(DesignSearch, AWrongFieldStopsAsTheCommandDoes) {
    Plate p;
    InputFields f = test::Fields(p, {{500, 150, 0}});
    f.Text6[0] = QStringLiteral("pięćset");
    DesignCase s = test::FreshState(p, 1);
    const auto found = SearchBoltLayouts(f, s, QLocale::c());
    ASSERT_TRUE(std::holds_alternative<Stop>(found));
    EXPECT_EQ(std::get<Stop>(found).message,
              QStringLiteral("Podany ciąg znaków nie tworzy liczby: „pięćset” w polu „N [kN]” "
                             "przypadku 1 (Obciążenia)."));
    EXPECT_EQ(std::get<Stop>(found).field, QStringLiteral("Text6(0)"));

    // A refused layout in the fields does not stop it: the search chooses the layout.
    f = test::Fields(p, {{500, 150, 0}});
    f.Text12 = QStringLiteral("60");
    EXPECT_TRUE(std::holds_alternative<DesignSearch>(SearchBoltLayouts(f, s, QLocale::c())));
}

}  // namespace
}  // namespace vardel
