// Writing the page files and the sketches of a six-case report, as the results window does at
// every opening and before every print job.
#include "calc/calculate.h"
#include "print/page_files.h"
#include "sketches/ring_sketches.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace vardel;

struct Report {
    DesignCase state;
    ReportLines lines;
    HeaderTexts header;
};

Report SixCases() {
    Report r;
    DesignCase& s = r.state;
    for (int i = 1; i <= kMainTextLines; ++i) {
        s.Teksty[i] = QStringLiteral("Tekst raportu nr %1 z polskimi literami: ąćęłńóśźż ").arg(i);
    }
    s.Liczba_przyp = kMaxCases;
    s.Nrbetonu = 2;
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
    if (Calculate(f, s, QLocale::c())) {
        std::abort();  // the report below needs a calculated case
    }
    for (int i = 1; i <= 7; ++i) {
        r.lines.Dane[i] = QStringLiteral("Dane wejściowe, wiersz %1").arg(i);
    }
    for (int i = 0; i < static_cast<int>(s.Tabela.size()); ++i) {
        s.Tabela[i] = QStringLiteral("Schemat %1     100,00 kN     20,00 kNm     5,00 kN").arg(i);
    }
    for (int c = 1; c <= kMaxCases; ++c) {
        r.lines.Linia_a[c] = QStringLiteral("Oś obojętna  a = 95 mm");
        r.lines.Linia_sruby[c] = QStringLiteral("Naprężenie w śrubie 120,00 MPa,      54,3 kN");
        r.lines.Linia_betonu[c] = QStringLiteral("Naprężenie w betonie 9,80 MPa < Rb = 10,6 MPa");
        r.lines.Uwaga_betonu[c] = c % 2 ? QStringLiteral("Uwaga: docisk, ") : QStringLiteral(" ");
    }
    for (int i = 1; i <= 7; ++i) {
        r.header.Teksty_nagl[i] = QStringLiteral("Nagłówek %1").arg(i);
    }
    s.Dobor_liczba = 9;
    for (int i = 1; i <= 9; ++i) {
        s.Dobor_teksty[i] = QStringLiteral("Kotwa F-24-1350, wiersz %1").arg(i);
    }
    return r;
}

void BM_WritePageFiles(benchmark::State& state) {
    const Report r = SixCases();
    QTemporaryDir dir;
    const PageSource src{r.state, r.lines, r.header, dir.path(),
                         QLocale(QLocale::Polish, QLocale::Poland)};
    for (auto _ : state) {
        const PrintResult result = WritePageFiles(src);
        if (!result.ok) {
            state.SkipWithError(result.message.toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(BM_WritePageFiles)->Unit(benchmark::kMicrosecond);

void BM_SaveSketches(benchmark::State& state) {
    const Report r = SixCases();
    QTemporaryDir dir;
    for (auto _ : state) {
        QString error = SavePlanSketch(r.state, dir.path());
        for (int k = 0; k < kMaxCases && error.isEmpty(); ++k) {
            error = DrawStressSketch(r.state, dir.path(), k);
        }
        if (!error.isEmpty()) {
            state.SkipWithError(error.toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(BM_SaveSketches)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
