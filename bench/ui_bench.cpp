// The windows: from nothing to the input window shown, reading the build's program directory
// (settings file, language texts, pictures) as the program does at start-up.
#include "bench/bench_report.h"
#include "ui/input_window.h"

#include <QApplication>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace {

void BM_StartUpToInputWindowShown(benchmark::State& state) {
    const QString dir = vardel::bench::ProgramDir();
    for (auto _ : state) {
        vardel::DesignCase s;
        vardel::InputWindow window(s, dir);
        if (window.Load()) {
            state.SkipWithError("the program directory lacks its settings or language files");
            break;
        }
        window.show();
        while (!window.windowHandle()->isExposed()) {
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();  // the first paint
    }
}
BENCHMARK(BM_StartUpToInputWindowShown)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vardel::bench::RunWithOffscreenGui<QApplication>(argc, argv);
}
