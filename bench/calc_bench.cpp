// Speed of the calculation: one partly compressed case, a whole calculate command with six cases,
// and the number formatting that every report line goes through.
#include "calc/calculate.h"
#include "calc/solver.h"
#include "state/numbers.h"

#include <benchmark/benchmark.h>

namespace vardel {
namespace {

InputFields SixCases() {
    InputFields f;
    f.txtNaz_proj = QStringLiteral("Bench");
    f.txtNr_strony = QStringLiteral("1");
    f.Text3 = QStringLiteral("300");
    f.Text4 = QStringLiteral("100");
    f.Text11 = QStringLiteral("250");
    f.Text12 = QStringLiteral("8");
    f.cmbFi = 3;
    f.cmbStal = 1;
    const double loads[6][3] = {{500, 150, 30}, {800, 120, 45}, {300, 100, 20},
                                {1200, 40, 0},  {200, 90, 80},  {650, 210, 10}};
    for (int k = 0; k < 6; ++k) {
        f.Text6[k] = QString::number(loads[k][0]);
        f.Text7[k] = QString::number(loads[k][1]);
        f.Text5[k] = QString::number(loads[k][2]);
    }
    return f;
}

DesignCase Prepared(int cases) {
    DesignCase s;
    s.Nrbetonu = 2;
    s.Es_Eb = 205000.0 / 29000.0;
    s.Liczba_przyp = static_cast<Int16>(cases);
    Calculate(SixCases(), s, QLocale::c());
    return s;
}

void BM_PartlyCompressedCase(benchmark::State& state) {
    DesignCase s = Prepared(1);
    s.Nr_przyp = 1;
    int evaluations = 0;
    for (auto _ : state) {
        const SearchResult r = FindNeutralAxis(s);
        evaluations = r.evaluations;
        benchmark::DoNotOptimize(s.Sig_b[1]);
    }
    state.counters["evaluations"] = evaluations;
}
BENCHMARK(BM_PartlyCompressedCase);

void BM_CalculateSixCases(benchmark::State& state) {
    const InputFields f = SixCases();
    const QLocale locale = QLocale::c();
    DesignCase s = Prepared(6);
    for (auto _ : state) {
        const auto stop = Calculate(f, s, locale);
        benchmark::DoNotOptimize(stop);
    }
}
BENCHMARK(BM_CalculateSixCases);

void BM_Format(benchmark::State& state) {
    const QLocale locale(QLocale::Polish, QLocale::Poland);
    double v = 1234.5678;
    for (auto _ : state) {
        QString s = Format(v, u"### ##0.00 kNm     ", locale);
        benchmark::DoNotOptimize(s);
        v += 0.001;
    }
}
BENCHMARK(BM_Format);

}  // namespace
}  // namespace vardel

BENCHMARK_MAIN();
