// Speed of the N–M envelope, which the results window draws each time the design changes (it
// must take under 50 ms): the six-case design without and with the cases' largest horizontal
// force, and the same ring with the most bolts the arrays hold, whose every solve sums 50 bolts.
#include "bench/bench_report.h"
#include "calc/calculate.h"
#include "calc/envelope.h"

#include <benchmark/benchmark.h>

namespace vardel {
namespace {

void BM_Envelope(benchmark::State& state, bool withShear, int bolts) {
    InputFields f = bench::SixCaseFields();
    if (bolts != 8) {
        f.Text12 = QString::number(bolts);
        f.cmbFi = 0;  // M12: the spacing rule allows no larger on this circle
    }
    DesignCase s;
    s.Nrbetonu = 2;
    s.Es_Eb = 205000.0 / 29000.0;
    s.Liczba_przyp = kMaxCases;
    if (Calculate(f, s, QLocale::c())) {
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
BENCHMARK_CAPTURE(BM_Envelope, no_shear, false, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Envelope, largest_shear, true, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Envelope, fifty_bolts_largest_shear, true, 50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardel

BENCHMARK_MAIN();
