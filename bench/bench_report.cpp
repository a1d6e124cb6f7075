#include "bench/bench_report.h"

#include "report/compose.h"
#include "report/header.h"
#include "texts/language.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace vardel::bench {

QString ProgramDir() {
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../program"))
        .absolutePath();
}

InputFields SixCaseFields() {
    InputFields f;
    f.txtNaz_proj = QStringLiteral("Hala magazynowa – słup S-3");
    f.txtNr_strony = QStringLiteral("3");
    f.Text3 = QStringLiteral("300");
    f.Text4 = QStringLiteral("100");
    f.Text11 = QStringLiteral("250");
    f.Text12 = QStringLiteral("8");
    f.cmbFi = 3;
    f.cmbStal = 1;
    const char* loads[kMaxCases][3] = {{"700", "150", "5"},   {"500", "20", "10"},
                                       {"300", "80", "20"},   {"800", "40", "0"},
                                       {"1000", "200", "40"}, {"450", "100", "10"}};
    for (int i = 0; i < kMaxCases; ++i) {
        f.Text6[i] = QString::fromLatin1(loads[i][0]);
        f.Text7[i] = QString::fromLatin1(loads[i][1]);
        f.Text5[i] = QString::fromLatin1(loads[i][2]);
    }
    return f;
}

DesignCase CalculatedCases(int cases) {
    DesignCase s;
    s.Nrbetonu = 2;
    s.Es_Eb = 205000.0 / 29000.0;
    s.Liczba_przyp = static_cast<Int16>(cases);
    Calculate(SixCaseFields(), s, QLocale::c());
    return s;
}

Report CalculatedReport(int cases, const QLocale& locale) {
    Report r;
    DesignCase& s = r.state;
    s.Nrbetonu = 2;
    if (const FileResult e = LoadLanguageTexts(s, ProgramDir())) {
        std::fprintf(stderr, "%s\n", qPrintable(e->message));
        std::abort();
    }
    CompleteLoadedCase(s);
    s.Liczba_przyp = static_cast<Int16>(cases);
    if (const auto stop = Calculate(SixCaseFields(), s, locale)) {
        std::fprintf(stderr, "%s\n", qPrintable(stop->message));
        std::abort();
    }
    ComposeReport(s, r.lines, locale);
    s.Oznaczenie_stopy = QStringLiteral("Stopa SF-1");
    SetHeaderTexts(s, r.header, QDateTime(QDate(2026, 12, 6), QTime(9, 15)), locale);
    return r;
}

}  // namespace vardel::bench
