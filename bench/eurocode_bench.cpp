// Speed of one load case under each code: the PN-B case (the solver with its horizontal-force
// check, then the bolt and concrete checks) beside the PN-EN case (the solver on the effective
// ring, then the ten PN-EN checks), the whole PN-EN calculation of a six-case design and the
// design assistant under the PN-EN checks.
#include "bench/bench_report.h"
#include "calc/calculate.h"
#include "calc/design_search.h"
#include "calc/en_calculation.h"
#include "calc/solver.h"
#include "codes/en/checks.h"
#include "codes/pnb/checks.h"

#include <benchmark/benchmark.h>

namespace vardel {
namespace {

// The shipped plate with a tube, a block and headed anchors; the load N (kN), M (kNm), V (kN).
DesignCase Prepared(int cases) {
    DesignCase s = bench::CalculatedCases(cases);
    s.Eurokod.D_rury = 2 * s.R_wewn + 60;
    s.Eurokod.t_rury = 10;
    s.Eurokod.B_bloku = 4 * s.R_zewn;
    s.Eurokod.H_bloku = 1000;
    s.Eurokod.d_glowy = 3 * s.Fi_sruby;
    return s;
}

void Load(DesignCase& s, double N, double M, double V) {
    s.Nr_przyp = 1;
    s.N_kN[1] = static_cast<float>(N);
    s.M_kNm[1] = static_cast<float>(M);
    s.V_kN[1] = static_cast<float>(V);
    s.N_kG[1] = N * kKgPerKn;
    s.M_kGm[1] = M * kKgPerKn;
    s.V_kG[1] = V * kKgPerKn;
}

void BM_PnbCase(benchmark::State& state) {
    DesignCase s = Prepared(1);
    Load(s, 500, 150, 30);
    const QLocale locale = QLocale::c();
    const SectionConstants section = PrepareSection(s);
    for (auto _ : state) {
        SolveLoadCase(s, section, locale);
        CheckBoltSteel(s, 1);
        CheckConcrete(s, 1);
        benchmark::DoNotOptimize(ChecksPnb(s, 1));
    }
}
BENCHMARK(BM_PnbCase);

void BM_EnCase(benchmark::State& state) {
    const DesignCase s0 = Prepared(1);
    const en::Parameters p = en::ParametersOf(s0);
    DesignCase s = OnEffectiveRing(s0, p.r_i, p.r_o, en::StiffnessRatio(s0, p));
    Load(s, 500, 150, 30);
    const SectionConstants section = PrepareSection(s);
    double cone = 0;
    for (auto _ : state) {
        SolveSection(s, section);
        const std::vector<CheckResult> checks = en::CaseChecks(s, 1, p, &cone);
        benchmark::DoNotOptimize(checks.data());
    }
}
BENCHMARK(BM_EnCase);

// The PN-EN calculation of a six-case design after the calculate command: its preparation (the
// effective ring, a copy of the design) paid once, then every case.
void BM_EnDesignSixCases(benchmark::State& state) {
    DesignCase s = Prepared(6);
    s.Norma = kNormaEurocode;
    for (auto _ : state) {
        const auto stop = CalculateEurocode(s);
        benchmark::DoNotOptimize(stop);
    }
}
BENCHMARK(BM_EnDesignSixCases);

// The design assistant ("Dobierz śruby", --design) on six cases judged by the PN-EN checks.
void BM_EnDesignSearchSixCases(benchmark::State& state) {
    const InputFields f = bench::SixCaseFields();
    const QLocale locale = QLocale::c();
    DesignCase s = Prepared(6);
    s.Norma = kNormaEurocode;
    int checked = 0;
    for (auto _ : state) {
        const auto found = SearchBoltLayouts(f, s, locale);
        checked = std::get<DesignSearch>(found).checked;
        benchmark::DoNotOptimize(checked);
    }
    state.counters["layouts"] = checked;
}
BENCHMARK(BM_EnDesignSearchSixCases)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardel

BENCHMARK_MAIN();
