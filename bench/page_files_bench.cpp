// Writing the page files and the sketches of a six-case report, as the results window does at
// every opening and before every print job.
#include "bench/bench_report.h"
#include "print/page_files.h"
#include "sketches/ring_sketches.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace vardel;

using bench::CalculatedReport;

void BM_WritePageFiles(benchmark::State& state) {
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    bench::Report r = CalculatedReport(kMaxCases, polish);
    // With a chosen anchor, the longest page the program writes.
    r.state.Dobor_liczba = 9;
    for (int i = 1; i <= 9; ++i) {
        r.state.Dobor_teksty[i] = QStringLiteral("Kotwa F-24-1350, wiersz %1").arg(i);
    }
    QTemporaryDir dir;
    const PageSource src{r.state, r.lines, r.header, dir.path(), polish};
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
    const bench::Report r = CalculatedReport(kMaxCases, QLocale::c());
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
    return vardel::bench::RunWithOffscreenGui(argc, argv);
}
