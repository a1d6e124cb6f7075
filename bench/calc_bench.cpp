// Speed of the calculation: one partly compressed case, one case in each way the plate bears (each
// with the section constants its design prepared once, as every caller has them), preparing
// those constants, a whole calculate command with six cases, the design assistant, a load table of
// 10 000 rows, and the number formatting that every report line goes through.
#include "bench/bench_report.h"
#include "calc/calculate.h"
#include "calc/design_search.h"
#include "calc/load_rows.h"
#include "calc/solver.h"
#include "state/numbers.h"
#include "texts/load_table.h"

#include <benchmark/benchmark.h>

namespace vardel {
namespace {

DesignCase Prepared(int cases) {
    return bench::CalculatedCases(cases);
}

void BM_PartlyCompressedCase(benchmark::State& state) {
    DesignCase s = Prepared(1);
    s.Nr_przyp = 1;
    const SectionConstants section = PrepareSection(s);
    int evaluations = 0;
    for (auto _ : state) {
        const SearchResult r = FindNeutralAxis(s, section);
        evaluations = r.evaluations;
        benchmark::DoNotOptimize(s.Sig_b[1]);
    }
    state.counters["evaluations"] = evaluations;
}
BENCHMARK(BM_PartlyCompressedCase);

// One case of the shipped plate under the load N (kN), M (kNm): the compressed plate of the
// benchmark above, pure bending and two uplifts, one bearing on a segment, one lifted.
void BM_SolveLoadCase(benchmark::State& state, double N, double M) {
    DesignCase s = Prepared(1);
    s.Nr_przyp = 1;
    s.N_kG[1] = N * kKgPerKn;
    s.M_kGm[1] = M * kKgPerKn;
    const QLocale locale = QLocale::c();
    const SectionConstants section = PrepareSection(s);
    for (auto _ : state) {
        SolveLoadCase(s, section, locale);
        benchmark::DoNotOptimize(s.Sig_s[1]);
    }
}
BENCHMARK_CAPTURE(BM_SolveLoadCase, compressed, 500.0, 150.0);
BENCHMARK_CAPTURE(BM_SolveLoadCase, pure_bending, 0.0, 80.0);
BENCHMARK_CAPTURE(BM_SolveLoadCase, uplift_bearing, -100.0, 80.0);
BENCHMARK_CAPTURE(BM_SolveLoadCase, uplift_lifted, -300.0, 10.0);

// What a design pays once before its cases.
void BM_PrepareSection(benchmark::State& state) {
    const DesignCase s = Prepared(1);
    for (auto _ : state) {
        const SectionConstants section = PrepareSection(s);
        benchmark::DoNotOptimize(section.rsCos[1]);
    }
}
BENCHMARK(BM_PrepareSection);

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

// The design assistant on the six-case design: every bolt count with its diameters.
void BM_DesignSearchSixCases(benchmark::State& state) {
    const InputFields f = bench::SixCaseFields();
    const QLocale locale = QLocale::c();
    DesignCase s = Prepared(6);
    int checked = 0;
    for (auto _ : state) {
        const auto found = SearchBoltLayouts(f, s, locale);
        checked = std::get<DesignSearch>(found).checked;
        benchmark::DoNotOptimize(checked);
    }
    state.counters["layouts"] = checked;
}
BENCHMARK(BM_DesignSearchSixCases)->Unit(benchmark::kMillisecond);

// A load table of 10 000 combinations: reading the file's bytes, then every row calculated.
QByteArray TenThousandRows() {
    QByteArray bytes = "Kombinacja;N [kN];M [kNm];V [kN]\r\n";
    for (int k = 0; k < kMaxLoadRows; ++k) {
        const int N = -300 + (k * 37) % 1300;
        const int M = (k * 53) % 250 - 40;
        bytes += "KOMB " + QByteArray::number(k + 1) + ';' + QByteArray::number(N) + ",5;" +
                 QByteArray::number(M) + ";" + QByteArray::number(k % 60) + "\r\n";
    }
    return bytes;
}

void BM_ReadLoadTable10000(benchmark::State& state) {
    const QByteArray bytes = TenThousandRows();
    for (auto _ : state) {
        const auto table = ParseLoadTable(bytes, QStringLiteral("k.csv"));
        benchmark::DoNotOptimize(std::get<LoadTable>(table).rows.size());
    }
}
BENCHMARK(BM_ReadLoadTable10000)->Unit(benchmark::kMillisecond);

void BM_CalculateRows10000(benchmark::State& state) {
    const auto table = std::get<LoadTable>(ParseLoadTable(TenThousandRows(), QStringLiteral("k")));
    std::vector<RowLoads> rows;
    for (const LoadRow& r : table.rows) {
        rows.push_back({r.N_kN, r.M_kNm, r.V_kN});
    }
    const DesignCase s = Prepared(1);
    const QLocale locale = QLocale::c();
    for (auto _ : state) {
        const auto results = CalculateRows(s, rows, locale);
        benchmark::DoNotOptimize(results.index());
    }
}
BENCHMARK(BM_CalculateRows10000)->Unit(benchmark::kMillisecond);

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
