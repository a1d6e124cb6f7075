// The RTF and Word exports of a six-case report, as the results window's menu commands run them:
// the pictures read from the program directory, the file composed and written whole.
#include "bench/bench_report.h"
#include "export/rtf_export.h"
#include "export/word_export.h"
#include "sketches/bitmap_file.h"
#include "sketches/ring_sketches.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace vardel;

// A program directory as the results window leaves it: installed pictures and the sketches.
bool FillProgramDir(const DesignCase& s, const QString& dir) {
    for (const char* name :
         {"Sily.bmp", "gkrysOK.bmp", "gkrys0.bmp", "Vdlogo2.bmp", "Vdlrob.bmp"}) {
        const QString n = QString::fromLatin1(name);
        if (!QFile::copy(JoinPath(bench::ProgramDir(), n), JoinPath(dir, n))) {
            return false;
        }
    }
    QString error = SavePlanSketch(s, dir);
    for (int k = 0; k < s.Liczba_przyp && error.isEmpty(); ++k) {
        error = DrawStressSketch(s, dir, k);
    }
    return error.isEmpty();
}

void BM_RtfExport(benchmark::State& state) {
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    bench::Report r = bench::CalculatedReport(kMaxCases, polish);
    r.state.Tryb_RTF = 2;
    QTemporaryDir dir;
    if (!FillProgramDir(r.state, dir.path())) {
        state.SkipWithError("cannot fill the program directory");
        return;
    }
    const QString path = dir.filePath(QStringLiteral("Wyniki.rtf"));
    const QDateTime now(QDate(2026, 3, 7), QTime(14, 30));
    for (auto _ : state) {
        r.state.Strona = 1;
        const RtfExportResult result =
            WriteRtfExport(path, r.state, r.lines, r.header, dir.path(), polish, now);
        if (!result.message.isEmpty()) {
            state.SkipWithError(result.message.toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(BM_RtfExport)->Unit(benchmark::kMillisecond);

void BM_WordExport(benchmark::State& state) {
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    const bench::Report r = bench::CalculatedReport(kMaxCases, polish);
    QTemporaryDir dir;
    if (!FillProgramDir(r.state, dir.path())) {
        state.SkipWithError("cannot fill the program directory");
        return;
    }
    const QString path = dir.filePath(QStringLiteral("Wyniki.docx"));
    for (auto _ : state) {
        const WordExportResult result =
            WriteWordExport(path, {r.state, r.lines, r.header, dir.path(), polish});
        if (!result.ok) {
            state.SkipWithError(result.message.toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(BM_WordExport)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vardel::bench::RunWithOffscreenGui(argc, argv);
}
