#include "report/compose.h"

#include "calc/solver.h"
#include "materials/tables.h"
#include "report/eurocode_report.h"
#include "state/numbers.h"

#include <algorithm>
#include <cmath>

namespace vardel {
namespace {

// The grade name at position Nrstali of the steel list; empty when the position is not in it.
QString SteelGradeName(const DesignCase& s) {
    const QStringList names = SteelGradeNames();
    return s.Nrstali >= 1 && s.Nrstali <= names.size() ? names[s.Nrstali - 1] : QString();
}

int CaseCount(const DesignCase& s) {
    return std::clamp<int>(s.Liczba_przyp, 0, kMaxCases);
}

void ComposeInputData(const DesignCase& s, ReportLines& lines, const QLocale& locale) {
    auto& Dane = lines.Dane;
    const QString mm = QStringLiteral(" mm");
    Dane[1] = s.Teksty_ok[1] + Format(s.R_zewn, u"## ###", locale) + mm;
    Dane[2] = s.Teksty_ok[2] + Format(s.R_wewn, u"## ###", locale) + mm;
    Dane[6] = s.Teksty_ok[3] + Format(s.R_srub, u"## ###", locale) + mm;
    // The modulus pattern carries its unit and the label of the ratio that follows it.
    const int foundation = s.Typ_stopy == 0 ? 0 : 1;
    Dane[3] = s.Teksty[12] + s.Klasa_betonu + s.Teksty[33 + foundation] +
              QStringLiteral("       Eb = ") + Format(s.Eb, u"####### MPa      E/Eb = ", locale) +
              Format(s.Es_Eb, u"##.##", locale);
    Dane[5] = QStringLiteral("    ") + s.Teksty[13] + SteelGradeName(s) + s.Klasa_stali +
              QStringLiteral("  fd = ") + Format(s.fd_stali, u"####", locale) +
              QStringLiteral(" MPa");
    Dane[4] = s.Teksty[7];
    Dane[7] = QStringLiteral("    ") + PlainInt(s.Liczba_srub) + s.Teksty_ok[8] +
              PlainInt(s.Fi_sruby) + QStringLiteral("  (") + Format(s.As_sruby, u"##.##", locale) +
              QStringLiteral(" cm2") + QStringLiteral(")");
    Dane[7] += s.Teksty_ok[4] + Format(s.Rozstaw, u"###0.0", locale) + mm;
}

void ComposeLoadTable(DesignCase& s, const ReportLines& lines, const QLocale& locale) {
    const int n = CaseCount(s);
    s.Tabela.fill(QString());
    s.Tabela[0] = s.Teksty[14];
    s.Tabela[1] =
        QStringLiteral("                    N                      M1                       Vx");
    for (int i = 1; i <= n; ++i) {
        s.Tabela[i + 1] = s.Teksty[15] + Format(i, u"##     ", locale) +
                          Format(s.N_kN[i], u"### ##0.00 kN     ", locale) +
                          Format(s.M_kNm[i], u"### ##0.00 kNm     ", locale) +
                          Format(s.V_kN[i], u"### ##0.00 kN      ", locale);
    }
    s.Tabela[n + 2] = lines.Teksty_rap[2];
}

QString NeutralAxisLine(const DesignCase& s, int i, const QLocale& locale) {
    const double a = s.a_cm[i];
    return s.Teksty_ok[5] + (a > 0 ? s.Teksty_ok[6] : s.Teksty_ok[7]) + QStringLiteral("  a = ") +
           Format(std::fabs(a) * 10, u"#####0", locale) + QStringLiteral(" mm");
}

QString BoltLine(const DesignCase& s, int i, const QLocale& locale) {
    const double stressMpa = s.Sig_s[i] / kKgcm2PerMpa;
    const double forceKn = s.Sig_s[i] * (s.As_sruby * 0.1) / kKgcm2PerMpa;
    return s.Teksty_ok[9] + Format(stressMpa, u"###0.00", locale) + QStringLiteral(" MPa") +
           QStringLiteral(",      ") + Format(forceKn, u"#######0.0", locale) +
           QStringLiteral(" kN");
}

void ComposeCase(DesignCase& s, ReportLines& lines, int i, const QLocale& locale,
                 const StressSketchHook& drawStressSketch) {
    s.Nr_przyp = static_cast<Int16>(i);
    if (HasStressSketch(s, i)) {
        if (drawStressSketch) {
            drawStressSketch(i - 1);
        }
        // A lifted plate has no neutral axis on it: the line says that the bolts alone carry.
        lines.Linia_a[i] =
            IsPartlyCompressed(s, i) ? NeutralAxisLine(s, i, locale) : s.Teksty_ok[11];
        lines.Linia_sruby[i] = BoltLine(s, i, locale);
        CheckBoltSteel(s, i);
    } else {
        // No neutral axis in a wholly compressed section: no line may survive from an earlier
        // composition.
        lines.Linia_a[i].clear();
        lines.Linia_sruby[i] = s.Teksty_ok[10];
    }

    QString concrete =
        s.Teksty[3] + Format(s.Sig_b[i] / kKgcm2PerMpa, u"##0.00", locale) + QStringLiteral(" MPa");
    QString note = QStringLiteral(" ");
    switch (CheckConcrete(s, i)) {
        case ConcreteVerdict::AboveTwice:
            concrete += s.Teksty[4];
            break;
        case ConcreteVerdict::Below:
            concrete += QStringLiteral(" < Rb = ") + Format(s.fcd_betonu, u"###.0 MPa", locale);
            break;
        case ConcreteVerdict::Between:
            note = s.Teksty[5];
            break;
    }
    lines.Linia_betonu[i] = concrete;
    lines.Uwaga_betonu[i] = note;
}

}  // namespace

std::array<QString, 3> ExtremeValueLines(const DesignCase& s, const QLocale& locale) {
    return {
        s.Teksty[18] +
            Format(static_cast<double>(s.Sig_b_max) / kKgcm2PerMpa, u"##0.0# MPa", locale),
        s.Teksty[19] +
            Format(static_cast<double>(s.Sig_s_max) / kKgcm2PerMpa, u"# ##0.0# MPa", locale),
        s.Teksty[20] + Format(static_cast<double>(s.F_s_max) / kKgPerKn, u"## ##0.0# kN", locale)};
}

QString VerdictText(bool passes) {
    return passes ? QStringLiteral("OK") : QStringLiteral(" Przekroczone naprezenia !! ");
}

void FillReportHeadings(DesignCase& s, ReportLines& lines) {
    s.Naglowek_txt = s.Teksty[7];
    lines.Teksty_rap[0] = s.Teksty[8];
    lines.Teksty_rap[1] = s.Teksty[9];
    lines.Teksty_rap[2].clear();
    lines.Teksty_rap[3] = s.Teksty[17];
}

ReportVerdict ComposeReport(DesignCase& s, ReportLines& lines, const QLocale& locale,
                            const StressSketchHook& drawStressSketch) {
    FillReportHeadings(s, lines);
    ComposeInputData(s, lines, locale);
    ComposeLoadTable(s, lines, locale);

    const int n = CaseCount(s);
    for (int i = 1; i <= n; ++i) {
        ComposeCase(s, lines, i, locale, drawStressSketch);
    }
    for (int i = n + 1; i <= kMaxCases; ++i) {
        lines.Linia_a[i].clear();
        lines.Linia_sruby[i].clear();
        lines.Linia_betonu[i].clear();
        lines.Uwaga_betonu[i].clear();
    }

    EurocodeReport en = ComposeEurocodeReport(s, locale);
    lines.Eurokod = std::move(en.design);
    lines.Eurokod_przyp = std::move(en.cases);

    ReportVerdict verdict;
    // With the PN-EN checks chosen, they settle the verdict.
    verdict.passes = s.Wyniki_EN.valid ? s.Wyniki_EN.passes : DesignPasses(s);
    verdict.text = VerdictText(verdict.passes);
    return verdict;
}

}  // namespace vardel
