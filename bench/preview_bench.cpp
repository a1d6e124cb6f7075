// The page picture of the results window end to end: page files, the print program writing
// $a1.emf, and the picture read back and drawn. Needs the print program of this build.
#include "calc/calculate.h"
#include "print/print_job.h"
#include "sketches/bitmap_file.h"
#include "sketches/ring_sketches.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace vardel;

// The program directory of this build, beside the bench directory.
QString ProgramDir() {
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../program"))
        .absolutePath();
}

struct Report {
    DesignCase state;
    ReportLines lines;
    HeaderTexts header;
};

Report Cases(int cases) {
    Report r;
    DesignCase& s = r.state;
    for (int i = 1; i <= kMainTextLines; ++i) {
        s.Teksty[i] = QStringLiteral("Tekst raportu nr %1: ").arg(i);
    }
    s.Liczba_przyp = static_cast<Int16>(cases);
    s.Nrbetonu = 2;
    InputFields f;
    f.txtNaz_proj = QStringLiteral("Hala magazynowa – słup S-3");
    f.txtNr_strony = QStringLiteral("3");
    f.Text3 = QStringLiteral("300");
    f.Text4 = QStringLiteral("100");
    f.Text11 = QStringLiteral("250");
    f.Text12 = QStringLiteral("8");
    f.cmbFi = 3;
    f.cmbStal = 1;
    const char* loads[kMaxCases][3] = {{"700", "150", "5"},   {"500", "20", "10"},
                                       {"300", "80", "20"},   {"800", "40", "0"},
                                       {"1000", "200", "40"}, {"450", "100", "10"}};
    for (int i = 0; i < kMaxCases; ++i) {
        f.Text6[i] = QString::fromLatin1(loads[i][0]);
        f.Text7[i] = QString::fromLatin1(loads[i][1]);
        f.Text5[i] = QString::fromLatin1(loads[i][2]);
    }
    if (Calculate(f, s, QLocale::c())) {
        std::abort();
    }
    for (int i = 1; i <= 7; ++i) {
        r.lines.Dane[i] = QStringLiteral("Dane wejściowe, wiersz %1").arg(i);
    }
    for (int c = 1; c <= kMaxCases; ++c) {
        r.lines.Linia_a[c] = QStringLiteral("Oś obojętna  a = 95 mm");
        r.lines.Linia_sruby[c] = QStringLiteral("Naprężenie w śrubie 120,00 MPa,      54,3 kN");
        r.lines.Linia_betonu[c] = QStringLiteral("Naprężenie w betonie 9,80 MPa");
        r.lines.Uwaga_betonu[c] = c % 2 ? QStringLiteral("Uwaga: docisk, ") : QStringLiteral(" ");
    }
    r.header.Teksty_nagl[1] = QStringLiteral("Zakotwienie słupów stalowych");
    r.header.Teksty_nagl[6] = QStringLiteral("Strona ");
    return r;
}

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
    const Report r = Cases(static_cast<int>(state.range(0)));
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
    const Report r = Cases(6);
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
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
