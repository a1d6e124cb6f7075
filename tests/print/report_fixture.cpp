#include "tests/print/report_fixture.h"

#include "calc/calculate.h"
#include "calc/solver.h"
#include "state/numbers.h"

#include <gtest/gtest.h>

namespace vardel::test {
namespace {

struct Load {
    const char* n;
    const char* m;
    const char* v;
};
constexpr Load kLoads[kMaxCases] = {
    {"700", "150", "5"}, {"500", "20", "10"},   {"300", "80", "20"},
    {"800", "40", "0"},  {"1000", "200", "40"}, {"450", "100", "10"},
};

void FillTexts(DesignCase& s) {
    for (int i = 1; i <= kMainTextLines; ++i) {
        s.Teksty[i] = QStringLiteral("Tekst %1: ").arg(i);
    }
    s.Teksty[16] = QStringLiteral("Schemat obciążenia nr ");
    s.Teksty[18] = QStringLiteral("Największe naprężenie w betonie σb = ");
    s.Teksty[19] = QStringLiteral("Największe naprężenie w śrubie σs = ");
    s.Teksty[20] = QStringLiteral("Największa siła w śrubie F = ");
    s.Teksty[46] = QStringLiteral("Siłę poziomą przenosi tarcie");
    s.Teksty[47] = QStringLiteral("Siłę poziomą przenoszą śruby: ");
    s.Teksty[48] = QStringLiteral("Śruby nie przeniosą siły poziomej: ");
    for (int i = 1; i <= kSecondTextLines; ++i) {
        s.Teksty_ok[i] = QStringLiteral("Tekst dodatkowy %1: ").arg(i);
    }
}

}  // namespace

CalculatedReport MakeReport(int cases) {
    CalculatedReport r;
    DesignCase& s = r.state;
    FillTexts(s);
    s.Liczba_przyp = static_cast<Int16>(cases);
    s.Nrbetonu = 2;
    InputFields f;
    f.txtNaz_proj = QStringLiteral("Hala magazynowa – słup S-3");
    f.txtNr_strony = QStringLiteral("3");
    f.Text3 = QStringLiteral("300");
    f.Text4 = QStringLiteral("100");
    f.Text11 = QStringLiteral("250");
    f.Text12 = QStringLiteral("8");
    f.cmbFi = 3;  // 24 mm
    f.cmbStal = 1;
    f.Option1 = 1;
    f.optHsruby = 0;
    for (int i = 0; i < kMaxCases; ++i) {
        f.Text6[i] = QString::fromLatin1(kLoads[i].n);
        f.Text7[i] = QString::fromLatin1(kLoads[i].m);
        f.Text5[i] = QString::fromLatin1(kLoads[i].v);
    }
    const auto stop = Calculate(f, s, QLocale::c());
    EXPECT_FALSE(stop.has_value()) << (stop ? stop->message.toStdString() : std::string());

    ReportLines& l = r.lines;
    l.Teksty_rap = {QStringLiteral("WYNIKI OBLICZEŃ"), QStringLiteral("- - - - - - - - -"),
                    QString(), QStringLiteral("Wartości ekstremalne ze wszystkich schematów:")};
    for (int i = 1; i <= 7; ++i) {
        l.Dane[i] = QStringLiteral("Dane wejściowe, wiersz %1").arg(i);
    }
    s.Tabela[0] = QStringLiteral("Obciążenia:");
    s.Tabela[1] =
        QStringLiteral("                    N                      M1                       Vx");
    for (int i = 1; i <= cases; ++i) {
        s.Tabela[i + 1] = QStringLiteral("Schemat %1   N = %2 kN").arg(i).arg(kLoads[i - 1].n);
    }
    s.Tabela[cases + 2] = QString();
    const QLocale pl(QLocale::Polish, QLocale::Poland);
    for (int i = 1; i <= cases; ++i) {
        if (IsPartlyCompressed(s, i)) {
            l.Linia_a[i] = QStringLiteral("Oś obojętna  a = %1 mm")
                               .arg(Format(std::abs(s.a_cm[i]) * 10, u"#####0", pl));
            l.Linia_sruby[i] = QStringLiteral("Naprężenie w śrubie %1 MPa")
                                   .arg(Format(s.Sig_s[i] / kKgcm2PerMpa, u"###0.00", pl));
        } else {
            l.Linia_sruby[i] = QStringLiteral("Cały przekrój ściskany");
        }
        l.Linia_betonu[i] = QStringLiteral("Naprężenie w betonie %1 MPa")
                                .arg(Format(s.Sig_b[i] / kKgcm2PerMpa, u"##0.00", pl));
        const ConcreteVerdict v = CheckConcrete(s, i);
        l.Uwaga_betonu[i] = v == ConcreteVerdict::Between
                                ? QStringLiteral("Uwaga: docisk miejscowy, ")
                                : QStringLiteral(" ");
    }

    HeaderTexts& h = r.header;
    h.Teksty_nagl[1] =
        QStringLiteral("Zakotwienie słupów stalowych wg PN-B-03215:1999 i PN-B-03264:2002");
    h.Teksty_nagl[4] = s.Naz_proj;
    h.Teksty_nagl[5] = QStringLiteral("06.12.26     09:15");
    h.Teksty_nagl[6] = QStringLiteral("Strona ");
    h.Teksty_nagl[7] = QStringLiteral("Stopa SF-1");
    return r;
}

}  // namespace vardel::test
