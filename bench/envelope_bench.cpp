// Speed of the N–M envelope, which the results window draws each time the design changes (it
// must take under 50 ms): the six-case design without and with the cases' largest horizontal
// force, and the same ring with the most bolts the arrays hold, whose every solve sums 50 bolts;
// then the same under the PN-EN checks (a tube on the ring, headed anchors in a large block),
// whose envelope comes with the plastic resistance.
#include "bench/bench_report.h"
#include "calc/calculate.h"
#include "calc/envelope.h"

#include <benchmark/benchmark.h>

namespace vardel {
namespace {

void BM_Envelope(benchmark::State& state, bool withShear, int bolts, bool eurocode) {
    InputFields f = bench::SixCaseFields();
    if (bolts != 8) {
        f.Text12 = QString::number(bolts);
        f.cmbFi = 0;  // M12: the spacing rule allows no larger on this circle
    }
    DesignCase s;
    s.Nrbetonu = 2;
    s.Es_Eb = 205000.0 / 29000.0;
    s.Liczba_przyp = kMaxCases;
    if (eurocode) {
        s.Norma = kNormaEurocode;
        s.Eurokod.D_rury = 420;
        s.Eurokod.t_rury = 10;
        s.Eurokod.B_bloku = 1400;
        s.Eurokod.H_bloku = 900;
        s.Eurokod.h_ef = 400;
        s.Eurokod.d_glowy = bolts == 8 ? 70 : 30;
    }
    if (Calculate(f, s, QLocale::c())) {
        state.SkipWithError("the design does not calculate");
        return;
    }
    const float V = withShear ? GoverningShear(StateLoads(s)) : 0.0f;
    std::size_t points = 0;
    for (auto _ : state) {
        const Envelope e = DesignEnvelope(s, V);
        points = e.points.size();
        benchmark::DoNotOptimize(e.points.data());
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["V_kN"] = V;
}
BENCHMARK_CAPTURE(BM_Envelope, no_shear, false, 8, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Envelope, largest_shear, true, 8, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Envelope, fifty_bolts_largest_shear, true, 50, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Envelope, en_no_shear, false, 8, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Envelope, en_largest_shear, true, 8, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Envelope, en_fifty_bolts_largest_shear, true, 50, true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardel

BENCHMARK_MAIN();
