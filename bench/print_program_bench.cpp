// The print program on the largest inputs its limits let through: reading the page files,
// laying them out and writing the page picture (EMF) and the PDF, as a job does. Each run also
// reports the process's peak memory; run one benchmark at a time (--benchmark_filter) for a
// figure that belongs to it alone.
#include "bench/bench_report.h"
#include "lumdruk/emf.h"
#include "lumdruk/job.h"
#include "lumdruk/render.h"
#include "state/file_read.h"
#include "state/file_write.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

using namespace vardel;

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Lays out the page file and writes what a picture job and a PDF save write.
void RunJob(benchmark::State& state, const QString& pageFile, const QString& headerFile) {
    for (auto _ : state) {
        QStringList notes;
        QString error;
        const auto pages = lumdruk::RenderPageFiles(pageFile, headerFile, 1, &notes, &error);
        if (!pages || pages->empty()) {
            state.SkipWithError(error.toUtf8().constData());
            return;
        }
        benchmark::DoNotOptimize(lumdruk::EmfBytes(pages->front()).size());
        benchmark::DoNotOptimize(lumdruk::PdfBytes(*pages).size());
        state.counters["pages"] = static_cast<double>(pages->size());
    }
    state.counters["peak_MB"] = PeakMegabytes();
}

const QByteArray kHeader = "9,1.\r\n";

// A page file of text lines down the body up to the file-size limit, broken into pages.
void BM_TextLines(benchmark::State& state) {
    QTemporaryDir dir;
    QByteArray body = kHeader;
    for (int k = 0; body.size() < state.range(0) - 128; ++k) {
        body += "3,6.," + QByteArray::number(40.0 + 4.5 * k, 'f', 1) +
                ",1,,3.2,1.,0.,0,0,0,400,5\r\nWiersz raportu numer " + QByteArray::number(k) +
                " z liczbą 1 234,56 kN\r\n";
    }
    (void)WriteWholeFile(dir.filePath("p.wyd"), body);
    (void)WriteWholeFile(dir.filePath("h.wyd"), kHeader);
    state.counters["file_MB"] = body.size() / 1048576.0;
    RunJob(state, dir.filePath("p.wyd"), dir.filePath("h.wyd"));
}
BENCHMARK(BM_TextLines)->Arg(kMaxPageFileBytes)->Unit(benchmark::kMillisecond)->Iterations(1);

// The largest page file read: short pen strokes up to the file-size limit.
void BM_LargestPageFile(benchmark::State& state) {
    QTemporaryDir dir;
    QByteArray body = kHeader;
    for (int k = 0; body.size() < state.range(0) - 64; ++k) {
        body += "14," + QByteArray::number(k % 170) + ".," +
                QByteArray::number(40.0 + (k % 2000) * 0.1, 'f', 1) + "," + (k % 2 ? "1" : "0") +
                "\r\n";
    }
    (void)WriteWholeFile(dir.filePath("p.wyd"), body);
    (void)WriteWholeFile(dir.filePath("h.wyd"), kHeader);
    state.counters["file_MB"] = body.size() / 1048576.0;
    RunJob(state, dir.filePath("p.wyd"), dir.filePath("h.wyd"));
}
BENCHMARK(BM_LargestPageFile)->Arg(kMaxPageFileBytes)->Unit(benchmark::kMillisecond)->Iterations(1);

// One bitmap near the picture-size limit named `state.range(0)` times on the page, in frames
// `state.range(1)` mm square.
void BM_OneLargePictureManyTimes(benchmark::State& state) {
    QTemporaryDir dir;
    QImage picture(4500, 4500, QImage::Format_RGB888);
    picture.fill(QColor(200, 120, 40));
    const QString bmp = dir.filePath("duzy.bmp");
    picture.save(bmp, "BMP");
    QByteArray body = kHeader;
    for (int k = 0; k < state.range(0); ++k) {
        const QByteArray side = QByteArray::number(state.range(1)) + ".";
        body += "5, 10., " + QByteArray::number(40 + 8 * k) + "., " + side + ", " + side + "\r\n" +
                bmp.toUtf8() + "\r\n";
    }
    (void)WriteWholeFile(dir.filePath("p.wyd"), body);
    (void)WriteWholeFile(dir.filePath("h.wyd"), kHeader);
    state.counters["bitmap_MB"] = ReadWholeFile(bmp, kMaxPictureFileBytes).bytes.size() / 1048576.0;
    RunJob(state, dir.filePath("p.wyd"), dir.filePath("h.wyd"));
}
BENCHMARK(BM_OneLargePictureManyTimes)
    ->Args({30, 50})
    ->Args({30, 280})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return vardel::bench::RunWithOffscreenGui(argc, argv);
}
