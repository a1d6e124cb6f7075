#include "calc/calculate.h"

#include "tests/calc/calc_fixture.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

namespace vardel {
namespace {

using test::Plate;

constexpr const char16_t* kProgram = u"Vardel 2005";
constexpr const char16_t* kOuterAboveInner =
    u"Promień zewnętrzny pierścienia musi być większy od wewnętrznego!";
constexpr const char16_t* kOffThePlate =
    u"Okrąg śrub musi leżeć na blasze: promień okręgu śrub musi być większy od wewnętrznego i "
    u"mniejszy od zewnętrznego!";
constexpr const char16_t* kNotANumber = u"Podany ciąg znaków nie tworzy liczby";
constexpr const char16_t* kNoBolts = u"Liczba śrub musi być większa od zera!";
constexpr const char16_t* kRatio = u"Współczynnik n = Es/Eb musi być większy od zera.";

TEST(Calculate, ChecksAndTrappedErrors) {
    const struct {
        const char* what;
        Plate plate;
        const char16_t* title;                 // nullptr: the default title
        const char16_t* message;               // its beginning; nullptr: the input passes
        void (*text)(InputFields&) = nullptr;  // a field typed other than the plate's
        const char* field = "";                // the field the message leads to
    } cases[] = {
        {"equal radii", {.Rw = 300}, kProgram, kOuterAboveInner, nullptr, "Text3"},
        {"inner radius larger", {.Rw = 301}, kProgram, kOuterAboveInner, nullptr, "Text3"},
        {"a bolt hole across the outer edge",
         {.Rs = 289},
         kProgram,
         u"Śruba M24 na promieniu 289 mm wychodzi poza zewnętrzną krawędź blachy (300 mm): "
         u"promień rozmieszczenia śrub musi leżeć od 112 do 288 mm.",
         nullptr,
         "Text11"},
        {"a bolt hole touching the outer edge", {.Rs = 288}, nullptr, nullptr},
        {"a bolt hole across the inner edge",
         {.Rs = 111},
         kProgram,
         u"Śruba M24 na promieniu 111 mm wychodzi poza wewnętrzną krawędź blachy (100 mm)",
         nullptr,
         "Text11"},
        {"a diameter the table does not hold",
         {},
         kProgram,
         u"Średnicy śrub 25 mm nie ma w tablicy śrub; najbliższe średnice w tablicy: M24 lub "
         u"M30.",
         [](InputFields& f) {
             f.cmbFi = -1;
             f.cmbFiText = QStringLiteral("25");
         },
         "cmbFi"},
        // Passes the radii's order, then the bolt circle's decimals are refused, not rounded.
        {"inner radius one millimetre smaller",
         {.Rw = 299, .Rs = 299.5},
         kProgram,
         u"Promień okręgu śrub podaje się w całych milimetrach, od 0 do 99999!",
         nullptr,
         "Text11"},
        {"radii of 1e30 mm",
         {.Rz = 1e30, .Rw = 1e29, .Rs = 5e29},
         kProgram,
         u"Promień zewnętrzny pierścienia podaje się w całych milimetrach, od 0 do 99999!",
         nullptr,
         "Text3"},
        {"an inner radius with decimals",
         {.Rw = 99.9},
         kProgram,
         u"Promień wewnętrzny pierścienia podaje się w całych milimetrach, od 0 do 99999!",
         nullptr,
         "Text4"},
        {"16 × M20 on 100 mm",
         {.Rw = 50, .Rs = 100, .bolts = 16, .diameterIndex = 2},
         u"UWAGA:",
         u"Za mały rozstaw śrub!"},
        {"15 × M20 on 100 mm (41.9 mm)",
         {.Rw = 50, .Rs = 100, .bolts = 15, .diameterIndex = 2},
         nullptr,
         nullptr},
        {"grade 1 refuses 42 mm",
         {.diameterIndex = 6, .steel = 1},
         kProgram,
         u"Norma nie przewiduje takich śrub"},
        {"grade 6 takes 30 mm", {.diameterIndex = 4, .steel = 6}, nullptr, nullptr},
        {"letters in a field",
         {},
         nullptr,
         kNotANumber,
         [](InputFields& f) { f.Text3 = QStringLiteral("abc"); },
         "Text3"},
        {"empty load field",
         {},
         nullptr,
         u"Podany ciąg znaków nie tworzy liczby: „” w polu „M [kNm]” przypadku 1 (Obciążenia).",
         [](InputFields& f) { f.Text7[0].clear(); },
         "Text7(0)"},
        {"a load beyond the range of a single",
         {},
         nullptr,
         u"Liczba „1e400” w polu „N [kN]” przypadku 1 (Obciążenia) jest poza zakresem: program "
         u"liczy wartości od -3.4E+38 do 3.4E+38.",
         [](InputFields& f) { f.Text6[0] = QStringLiteral("1e400"); },
         "Text6(0)"},
        {"zero bolts", {.bolts = 0}, kProgram, kNoBolts, nullptr, "Text12"},
        {"negative bolts", {.bolts = -8}, kProgram, kNoBolts, nullptr, "Text12"},
        {"no outer radius",
         {.Rz = 0},
         kProgram,
         u"Promień zewnętrzny pierścienia musi być większy od zera!",
         nullptr,
         "Text3"},
        {"negative inner radius",
         {.Rw = -1},
         kProgram,
         u"Promień wewnętrzny pierścienia nie może być ujemny!",
         nullptr,
         "Text4"},
        {"bolt circle on the outer edge", {.Rs = 300}, kProgram, kOffThePlate, nullptr, "Text11"},
        {"bolt circle in the hole", {.Rs = 100}, kProgram, kOffThePlate, nullptr, "Text11"},
        {"stiffness ratio zero", {.n = 0}, kProgram, kRatio},
        {"stiffness ratio negative", {.n = -7}, kProgram, kRatio},
        {"50 bolts", {.Rz = 2100, .Rs = 2000, .bolts = 50}, nullptr, nullptr},
        {"51 bolts are refused before the calculation",
         {.Rz = 2100, .Rs = 2000, .bolts = 51},
         nullptr,
         u"Liczba śrub na obwodzie może wynosić od 1 do 50 (podano 51).",
         nullptr,
         "Text12"},
        {"bolt count beyond 16 bits",
         {.bolts = 40000},
         nullptr,
         u"Pole „Liczba śrub na obwodzie” (Śruby) przyjmuje liczby całkowite od -32768 do 32767 "
         u"(podano „40000”).",
         nullptr,
         "Text12"},
        {"page number beyond 16 bits",
         {},
         nullptr,
         u"Pole „Numer pierwszej strony obliczeń” (Konfiguracja) przyjmuje liczby całkowite",
         [](InputFields& f) { f.txtNr_strony = QStringLiteral("99999"); },
         "txtNr_strony"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InputFields f = test::Fields(c.plate, {{500, 150, 0}});
        if (c.text) {
            c.text(f);
        }
        DesignCase s = test::FreshState(c.plate, 1);
        s.Dobor_liczba = 9;  // an anchor confirmed for the design before
        const auto stop = Calculate(f, s, QLocale::c());
        EXPECT_EQ(s.Dobor_liczba, 0);
        if (!c.message) {
            EXPECT_FALSE(stop) << stop->message.toStdString();
            continue;
        }
        ASSERT_TRUE(stop);
        EXPECT_TRUE(stop->message.startsWith(QString::fromUtf16(c.message)))
            << stop->message.toStdString();
        EXPECT_EQ(stop->title, c.title ? QString::fromUtf16(c.title) : QString());
        EXPECT_EQ(stop->field, QLatin1String(c.field));
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

}  // namespace
}  // namespace vardel
