// The results window from a calculated design case to the page picture shown: report
// composition, sketches, page files, the print program and the picture read back. Needs the
// print program of this build.
#include "bench/bench_report.h"
#include "charts/nm_chart.h"
#include "print/print_job.h"
#include "sketches/bitmap_file.h"
#include "ui/results_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace vardel;

// Accepts every default: the designation question of the start.
class Defaults : public Prompter {
  public:
    std::optional<QString> AskText(const QString&, const QString&, const QString& d) override {
        return d;
    }
    void Tell(const QString&, const QString& message) override { told = message; }
    QString told;
};

void BM_ResultsWindowStart(benchmark::State& state) {
    bench::Report r = bench::CalculatedReport(static_cast<int>(state.range(0)), QLocale::c());
    QTemporaryDir dir;
    const QDir program(bench::ProgramDir());
    if (!QFile::exists(PrintProgramPath(program.path()))) {
        state.SkipWithError("the print program is not built in this build's program directory");
        return;
    }
    for (const char* name : {"Lumdruk", "Sily.bmp"}) {
        QFile::link(program.filePath(QString::fromLatin1(name)),
                    JoinPath(dir.path(), QString::fromLatin1(name)));
    }
    QWidget input;
    Defaults prompter;
    for (auto _ : state) {
        ResultsWindow w(r.state, dir.path(), &input, [] {});
        w.SetPrompter(prompter);
        w.Start();
        if (!prompter.told.isEmpty() ||
            w.findChild<QLabel*>(QStringLiteral("Picture2"))->pixmap().isNull()) {
            state.SkipWithError(prompter.told.toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(BM_ResultsWindowStart)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime();

// The start's share for the report's N–M diagram: the envelope, the chart drawn at 300 dpi and
// saved as PNG.
void BM_NmReportPicture(benchmark::State& state) {
    const bench::Report r = bench::CalculatedReport(static_cast<int>(state.range(0)), QLocale::c());
    QTemporaryDir dir;
    for (auto _ : state) {
        const QString e =
            SaveNmReportPicture(StateDiagram(r.state, QLocale::c()), QLocale::c(), dir.path());
        if (!e.isEmpty()) {
            state.SkipWithError(e.toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(BM_NmReportPicture)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return vardel::bench::RunWithOffscreenGui<QApplication>(argc, argv);
}
