// The page picture of the results window end to end: page files, the print program writing
// $a1.emf, and the picture read back and drawn. Needs the print program of this build.
#include "bench/bench_report.h"
#include "print/print_job.h"
#include "sketches/bitmap_file.h"
#include "sketches/ring_sketches.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace vardel;

using bench::CalculatedReport;
using bench::ProgramDir;
using bench::Report;

// A program directory of its own: the print program and the installed pictures linked in, the
// sketches of the report drawn into it.
bool Prepare(const QTemporaryDir& dir, const Report& r) {
    const QDir program(ProgramDir());
    if (!QFile::exists(PrintProgramPath(program.path()))) {
        return false;
    }
    for (const char* name : {"Lumdruk", "Sily.bmp"}) {
        QFile::link(program.filePath(QString::fromLatin1(name)),
                    JoinPath(dir.path(), QString::fromLatin1(name)));
    }
    SavePlanSketch(r.state, dir.path());
    for (int k = 0; k < r.state.Liczba_przyp; ++k) {
        DrawStressSketch(r.state, dir.path(), k);
    }
    return true;
}

void BM_RenderPagePreview(benchmark::State& state) {
    const Report r = CalculatedReport(static_cast<int>(state.range(0)), QLocale::c());
    QTemporaryDir dir;
    if (!Prepare(dir, r)) {
        state.SkipWithError("the print program is not built in this build's program directory");
        return;
    }
    const PageSource src{r.state, r.lines, r.header, dir.path(), QLocale::c()};
    for (auto _ : state) {
        const PagePreview p = RenderPagePreview(false, src, 794);
        if (!p.ok) {
            state.SkipWithError(p.message.toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(BM_RenderPagePreview)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime();

// The read-back alone: EMF to SVG to pixels.
void BM_LoadPagePicture(benchmark::State& state) {
    const Report r = CalculatedReport(6, QLocale::c());
    QTemporaryDir dir;
    if (!Prepare(dir, r)) {
        state.SkipWithError("the print program is not built in this build's program directory");
        return;
    }
    const PageSource src{r.state, r.lines, r.header, dir.path(), QLocale::c()};
    if (!WritePageFiles(src).ok || !WriteJobFile(PrintMode::PicturePreview, 3, dir.path()).ok ||
        !StartAndWait(PrintProgramPath(dir.path()), {JobFilePath(dir.path())}).ok) {
        state.SkipWithError("the print program left no page picture");
        return;
    }
    for (auto _ : state) {
        const PagePicture p = LoadPagePicture(PagePicturePath(dir.path()), 794);
        if (p.image.isNull()) {
            state.SkipWithError(p.message.toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(BM_LoadPagePicture)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vardel::bench::RunWithOffscreenGui(argc, argv);
}
