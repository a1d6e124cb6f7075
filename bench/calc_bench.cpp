// Speed of the calculation: one partly compressed case, a whole calculate command with six cases,
// and the number formatting that every report line goes through.
#include "bench/bench_report.h"
#include "calc/calculate.h"
#include "calc/solver.h"
#include "state/numbers.h"

#include <benchmark/benchmark.h>

namespace vardel {
namespace {

DesignCase Prepared(int cases) {
    DesignCase s;
    s.Nrbetonu = 2;
    s.Es_Eb = 205000.0 / 29000.0;
    s.Liczba_przyp = static_cast<Int16>(cases);
    Calculate(bench::SixCaseFields(), s, QLocale::c());
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
    const InputFields f = bench::SixCaseFields();
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
