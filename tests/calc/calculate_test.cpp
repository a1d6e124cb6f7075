#include "calc/calculate.h"

#include "tests/calc/calc_fixture.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace vardel {
namespace {

using test::Plate;

struct StopCase {
    const char* what;
    std::function<void(Plate&, InputFields&)> change;
    const char16_t* title;    // nullptr: the default title
    const char16_t* message;  // nullptr: the input passes
};

constexpr const char16_t* kOffThePlate =
    u"Okrąg śrub musi leżeć na blasze: promień okręgu śrub musi być większy od wewnętrznego i "
    u"mniejszy od zewnętrznego!";

TEST(Calculate, ChecksAndTrappedErrors) {
    const StopCase cases[] = {
        {"equal radii", [](Plate&, InputFields& f) { f.Text4 = f.Text3; }, u"Vardel 2005",
         u"Promień zewnętrzny pierścienia musi być większy od wewnętrznego!"},
        {"inner radius one millimetre smaller",
         [](Plate&, InputFields& f) {
             f.Text4 = QStringLiteral("299");
             f.Text11 = QStringLiteral("299.5");
         },
         nullptr, nullptr},
        {"inner radius larger", [](Plate&, InputFields& f) { f.Text4 = QStringLiteral("301"); },
         u"Vardel 2005", u"Promień zewnętrzny pierścienia musi być większy od wewnętrznego!"},
        {"16 bolts of 20 mm on a 100 mm circle",
         [](Plate&, InputFields& f) {
             f.Text11 = QStringLiteral("100");
             f.Text4 = QStringLiteral("50");
             f.Text12 = QStringLiteral("16");
             f.cmbFi = 2;
         },
         u"UWAGA:", u"Za mały rozstaw śrub!"},
        {"15 bolts of 20 mm on a 100 mm circle (41.9 mm)",
         [](Plate&, InputFields& f) {
             f.Text11 = QStringLiteral("100");
             f.Text4 = QStringLiteral("50");
             f.Text12 = QStringLiteral("15");
             f.cmbFi = 2;
         },
         nullptr, nullptr},
        {"grade 1 refuses 42 mm",
         [](Plate&, InputFields& f) {
             f.cmbStal = 0;
             f.cmbFi = 6;
         },
         u"Vardel 2005", u"Norma nie przewiduje takich śrub"},
        {"grade 6 takes 30 mm",
         [](Plate&, InputFields& f) {
             f.cmbStal = 5;
             f.cmbFi = 4;
         },
         nullptr, nullptr},
        {"letters in a field", [](Plate&, InputFields& f) { f.Text3 = QStringLiteral("abc"); },
         nullptr, u"Podany ciąg znaków nie tworzy liczby"},
        {"empty load field", [](Plate&, InputFields& f) { f.Text7[0].clear(); }, nullptr,
         u"Podany ciąg znaków nie tworzy liczby"},
        {"zero bolts", [](Plate&, InputFields& f) { f.Text12 = QStringLiteral("0"); },
         u"Vardel 2005", u"Liczba śrub musi być większa od zera!"},
        {"negative bolts", [](Plate&, InputFields& f) { f.Text12 = QStringLiteral("-8"); },
         u"Vardel 2005", u"Liczba śrub musi być większa od zera!"},
        {"no outer radius", [](Plate&, InputFields& f) { f.Text3 = QStringLiteral("0"); },
         u"Vardel 2005", u"Promień zewnętrzny pierścienia musi być większy od zera!"},
        {"negative inner radius", [](Plate&, InputFields& f) { f.Text4 = QStringLiteral("-1"); },
         u"Vardel 2005", u"Promień wewnętrzny pierścienia nie może być ujemny!"},
        {"bolt circle on the outer edge",
         [](Plate&, InputFields& f) { f.Text11 = QStringLiteral("300"); }, u"Vardel 2005",
         kOffThePlate},
        {"bolt circle in the hole",
         [](Plate&, InputFields& f) { f.Text11 = QStringLiteral("100"); }, u"Vardel 2005",
         kOffThePlate},
        {"stiffness ratio zero", [](Plate& p, InputFields&) { p.n = 0; }, u"Vardel 2005",
         u"Współczynnik n = Es/Eb musi być większy od zera."},
        {"stiffness ratio negative", [](Plate& p, InputFields&) { p.n = -7; }, u"Vardel 2005",
         u"Współczynnik n = Es/Eb musi być większy od zera."},
        {"51 bolts are refused before the calculation",
         [](Plate&, InputFields& f) {
             f.Text12 = QStringLiteral("51");
             f.Text11 = QStringLiteral("2000");
             f.Text3 = QStringLiteral("2100");
         },
         nullptr, u"K3(oblicz)!!9"},
        {"50 bolts",
         [](Plate&, InputFields& f) {
             f.Text12 = QStringLiteral("50");
             f.Text11 = QStringLiteral("2000");
             f.Text3 = QStringLiteral("2100");
         },
         nullptr, nullptr},
        {"bolt count beyond 16 bits",
         [](Plate&, InputFields& f) { f.Text12 = QStringLiteral("40000"); }, nullptr,
         u"K3(oblicz)!!6"},
        {"page number beyond 16 bits",
         [](Plate&, InputFields& f) { f.txtNr_strony = QStringLiteral("99999"); }, nullptr,
         u"K3(oblicz)!!6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Plate p;
        InputFields f = test::Fields(p, {{500, 150, 0}});
        c.change(p, f);
        DesignCase s = test::FreshState(p, 1);
        const auto stop = Calculate(f, s, QLocale::c());
        if (!c.message) {
            EXPECT_FALSE(stop) << stop->message.toStdString();
            continue;
        }
        ASSERT_TRUE(stop);
        EXPECT_EQ(stop->message, QString::fromUtf16(c.message));
        EXPECT_EQ(stop->title, c.title ? QString::fromUtf16(c.title) : QString());
    }
}

TEST(Calculate, TypedSteelNameKeepsTheGrade) {
    Plate p;
    InputFields f = test::Fields(p, {{500, 150, 0}});
    f.cmbStal = -1;
    DesignCase s = test::FreshState(p, 1);
    s.Nrstali = 4;
    ASSERT_FALSE(Calculate(f, s, QLocale::c()));
    EXPECT_EQ(s.Nrstali, 4);
    EXPECT_FLOAT_EQ(s.fd_stali, 295);
}

TEST(Calculate, FieldsFromStateRoundTrip) {
    Plate p;
    DesignCase s = test::FreshState(p, 1);
    s.R_zewn = 300;
    s.R_wewn = 100;
    s.R_srub = 250;
    s.Liczba_srub = 8;
    s.Numer_sruby = 4;
    s.Nrstali = 2;
    s.N_kN[1] = 512.5f;
    s.M_kNm[1] = 150.25f;
    const InputFields f = FieldsFromState(s, test::Polish());
    EXPECT_EQ(f.Text3, QStringLiteral("300"));
    EXPECT_EQ(f.Text12, QStringLiteral("8"));
    EXPECT_EQ(f.Text6[0], QStringLiteral("512,5"));
    EXPECT_EQ(f.Text7[0], QStringLiteral("150,3"));  // shown with one decimal
    EXPECT_EQ(f.cmbFi, 3);
    DesignCase run = s;
    ASSERT_FALSE(Calculate(f, run, test::Polish()));
    EXPECT_FLOAT_EQ(run.N_kN[1], 512.5f);
}

}  // namespace
}  // namespace vardel
