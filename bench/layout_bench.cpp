// The print program reading a page file and breaking it into pages, on page files far larger
// than any report: the time must grow with the file's size, not with its square.
#include "bench/bench_report.h"
#include "lumdruk/layout.h"
#include "lumdruk/page_file.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vardel::lumdruk;

// The header end, then `strokes` short pen strokes that run from the top of the body past the
// foot of the first page: most of them land on the page that has to be broken.
QByteArray StrokesPastThePage(int strokes) {
    QByteArray bytes = "9,1.\r\n14,0.,40.,0\r\n";
    for (int k = 0; k < strokes; ++k) {
        const double y = 40.0 + 300.0 * k / strokes;
        bytes += QByteArray("14,") + (k % 2 ? "170." : "0.") + ',' + QByteArray::number(y, 'f', 3) +
                 ",1\r\n";
    }
    return bytes;
}

void BM_BreakStrokesIntoPages(benchmark::State& state) {
    const QByteArray bytes = StrokesPastThePage(static_cast<int>(state.range(0)));
    const PageFile header = ParsePageFile("9,1.\r\n");
    for (auto _ : state) {
        QStringList notes;
        const std::vector<Page> pages = LayoutPages(ParsePageFile(bytes), header, 1, &notes);
        benchmark::DoNotOptimize(pages.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_BreakStrokesIntoPages)
    ->Arg(10000)
    ->Arg(100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// One text command whose data line is `length` characters long.
void BM_OneLongTextLine(benchmark::State& state) {
    const QByteArray bytes =
        "9,1.\r\n3,6.,120.,1,,3.2,1.,0.,0,0,0,400,5\r\n" + QByteArray(state.range(0), 'x') + "\r\n";
    const PageFile header = ParsePageFile("9,1.\r\n");
    for (auto _ : state) {
        QStringList notes;
        const std::vector<Page> pages = LayoutPages(ParsePageFile(bytes), header, 1, &notes);
        benchmark::DoNotOptimize(pages.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OneLongTextLine)
    ->Arg(100000)
    ->Arg(1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vardel::bench::RunWithOffscreenGui(argc, argv);
}
