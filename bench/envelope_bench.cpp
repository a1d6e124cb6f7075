// Speed of the N–M envelope: the whole curve of the six-case design, as the results window draws
// it each time the design changes (under 50 ms), without and with the cases' largest horizontal
// force.
#include "bench/bench_report.h"
#include "calc/calculate.h"
#include "calc/envelope.h"

#include <benchmark/benchmark.h>

namespace vardel {
namespace {

void BM_Envelope(benchmark::State& state, bool withShear) {
    DesignCase s;
    s.Nrbetonu = 2;
    s.Es_Eb = 205000.0 / 29000.0;
    s.Liczba_przyp = kMaxCases;
    if (Calculate(bench::SixCaseFields(), s, QLocale::c())) {
        state.SkipWithError("the design does not calculate");
        return;
    }
    const float V = withShear ? GoverningShear(StateLoads(s)) : 0.0f;
    std::size_t points = 0;
    for (auto _ : state) {
        const Envelope e = ComputeEnvelope(s, V);
        points = e.points.size();
        benchmark::DoNotOptimize(e.points.data());
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["V_kN"] = V;
}
BENCHMARK_CAPTURE(BM_Envelope, no_shear, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Envelope, largest_shear, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardel

BENCHMARK_MAIN();
