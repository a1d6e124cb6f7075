// Reading a settings file that is not UTF-8 and holds a byte its code page leaves undefined:
// decoding must stay one pass over the bytes however long the file.
#include "bench/bench_report.h"
#include "texts/settings_file.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vardel;

// The shipped settings with a project name of `length` bytes in Windows-1250, one of them 0x81.
QByteArray LongSettings(qsizetype length) {
    QByteArray name(length, 'a');
    name[length / 2] = '\x81';
    name[0] = '\xb3';  // "ł"
    return " 0 Norma\r\n 1   Strona\r\n" + name +
           "\r\n 2 Nrbetonu\r\n 2 Nrstali\r\n 0 707\r\n 0 Jezyk\r\n" +
           QByteArray("500.0   150.0   30.0\r\n").repeated(6) +
           "300R_zewn\r\n100R_wewn\r\n250R_srub\r\n 0 Tryb_sru\r\n 0  235  375  0 Stal\r\n"
           " 0  0 Stal 2\r\n 1 Tryb_RTF\r\n 4 Numer_sruby\r\n 8 Liczba_srub\r\n";
}

void BM_ReadSettingsWithAnUndefinedByte(benchmark::State& state) {
    const QByteArray bytes = LongSettings(state.range(0));
    for (auto _ : state) {
        DesignCase s;
        if (ReadSettingsBytes(s, bytes, QStringLiteral("bench.cfg"))) {
            state.SkipWithError("the settings were refused");
            break;
        }
        benchmark::DoNotOptimize(s.Naz_proj.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadSettingsWithAnUndefinedByte)
    ->Arg(100000)
    ->Arg(1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vardel::bench::RunWithOffscreenGui(argc, argv);
}
