#include "print/print_job.h"
#include "tests/print/emf_fixture.h"
#include "tests/print/report_fixture.h"
#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel {
namespace {

QByteArray FixtureEmf() {
    QTemporaryDir dir;
    EXPECT_TRUE(test::WriteFixtureEmf(dir.filePath("p.emf")));
    return test::ReadAll(dir.filePath("p.emf"));
}

TEST(EmfToSvg, KeepsBlanksAndSharpBitmapsForTheRenderer) {
    const QByteArray svg = EmfToSvg(FixtureEmf());
    const qsizetype root = svg.indexOf("<svg");
    ASSERT_GE(root, 0);
    const QByteArray rootTag = svg.mid(root, svg.indexOf('>', root) - root);
    EXPECT_TRUE(rootTag.contains("xml:space=\"preserve\"") &&
                rootTag.contains("image-rendering=\"optimizeSpeed\""))
        << rootTag.constData();
}

TEST(EmfToSvg, RefusesWhatIsNoEmfPicture) {
    const QByteArray good = FixtureEmf();
    QByteArray wrongType = good;
    wrongType[0] = 2;
    const std::pair<const char*, QByteArray> rows[] = {
        {"empty", QByteArray()},
        {"not starting with a header record", wrongType},
        {"cut after the header", good.left(120)},
        {"cut before its end", good.left(good.size() - 30)},
    };
    for (const auto& [name, bytes] : rows) {
        EXPECT_TRUE(EmfToSvg(bytes).isEmpty()) << name;
    }
}

// A picture that is there but cannot be read is told apart from one the print program never left.
TEST(LoadPagePicture, AnUnreadablePictureSaysWhere) {
    QTemporaryDir dir;
    const QString path = dir.filePath("$a1.emf");
    QDir(dir.path()).mkdir("$a1.emf");  // a directory where the file should be
    const PagePicture p = LoadPagePicture(path, 794);
    EXPECT_TRUE(p.image.isNull());
    EXPECT_TRUE(p.message.contains("Nie można odczytać") && p.message.contains(path))
        << p.message.toStdString();
}

TEST(CzekajNaProces, EndsWithTheProcessOrTheTimeLimit) {
    QProcess quick;
    quick.start("/bin/true", QStringList{});
    EXPECT_TRUE(Czekaj_na_proces(quick, -1));
    EXPECT_EQ(quick.state(), QProcess::NotRunning);
    // Waiting again on a process that has ended is still a normal end of the wait.
    EXPECT_TRUE(Czekaj_na_proces(quick, -1));

    QProcess slow;
    slow.start("/bin/sleep", {"5"});
    EXPECT_TRUE(Czekaj_na_proces(slow, 100));  // the time limit passing is normal
    EXPECT_EQ(slow.state(), QProcess::Running);
    slow.kill();
    slow.waitForFinished();

    QProcess never;
    never.start("/nonexistent/program", QStringList{});
    EXPECT_FALSE(Czekaj_na_proces(never, -1));
}

// A stand-in for the print program in a program directory whose name holds blanks and shell
// characters, so that the job file reaches it as one argument only without a shell in between.
// It fails unless both page files are already written, records its arguments and the job file,
// then runs `script`, which may copy fixture.emf to $a1.emf and says how it ends.
struct FakePrinter {
    QTemporaryDir dir{QDir::tempPath() + "/vardel a; $HOME \"b\"-XXXXXX"};
    test::CalculatedReport report = test::MakeReport(2);

    FakePrinter() { EXPECT_TRUE(test::WriteFixtureEmf(dir.filePath("fixture.emf"))); }
    void Install(const QByteArray& script) {
        QFile f(dir.filePath("Lumdruk"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(
            "#!/bin/sh\nd=$(dirname \"$1\")\n"
            "test -f \"$d/VARDELOK.wyd\" && test -f \"$d/VARDELOK1.wyd\" || exit 9\n"
            "printf '%s\\n' \"$@\" > \"$d/args\"\n"
            "cp \"$1\" \"$d/job-seen\"\n" +
            script);
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    PageSource Source() {
        return {report.state, report.lines, report.header, dir.path(), QLocale::c()};
    }
    QByteArray Read(const char* name) { return test::ReadAll(dir.filePath(name)); }
};
// The fake's script line that leaves the fixture as the page picture.
#define LEAVE_PICTURE "cp \"$d/fixture.emf\" \"$d/\\$a1.emf\"\n"

TEST(RenderPagePreview, DrawsThePicturePrintProgramLeftAndDeletesIt) {
    FakePrinter fake;
    fake.Install(LEAVE_PICTURE);
    for (bool shortPrefix : {false, true}) {
        const PagePreview p = RenderPagePreview(shortPrefix, fake.Source(), 794);
        ASSERT_TRUE(p.ok) << p.message.toStdString();
        EXPECT_EQ(p.page.width(), 794);
        EXPECT_NEAR(p.page.height(), 794 * 297 / 210, 2);
        auto dark = [&](double xMm, double yMm) {
            return p.page.pixelColor(int(xMm * 794 / 210), int(yMm * 794 / 210)).lightness() < 100;
        };
        EXPECT_TRUE(dark(20, 25));    // left side of the fixture's frame
        EXPECT_FALSE(dark(100, 25));  // inside it
        EXPECT_TRUE(dark(110, 210));  // the filled square
        EXPECT_FALSE(QFile::exists(fake.dir.filePath("$a1.emf")));
        EXPECT_EQ(fake.Read("args"), fake.dir.filePath("W_KK.txt").toUtf8() + "\n");
        EXPECT_TRUE(
            fake.Read("job-seen")
                .startsWith(shortPrefix ? "-2, 1.0, 0.5, 1.0 3\r\n" : "-2, 1.0, 0.5, 1.0, 3\r\n"));
    }
}

// A picture from an earlier run lies in the directory each time and must not pass for this one.
TEST(RenderPagePreview, NoUsablePictureIsReportedAndNoStalePictureIsShown) {
    const std::pair<const char*, const char*> rows[] = {
        {nullptr, "Nie można uruchomić"},  // no print program at all
        {"", "nie zostawił"},
        {"echo garbage > \"$d/\\$a1.emf\"\n", "nie jest poprawnym"},
        {LEAVE_PICTURE "exit 2\n", "błędem (kod 2)"},
        {LEAVE_PICTURE "kill -SEGV $$\n", "nieprawidłowo"},
    };
    for (const auto& [script, says] : rows) {
        FakePrinter fake;
        ASSERT_TRUE(QFile::copy(fake.dir.filePath("fixture.emf"), fake.dir.filePath("$a1.emf")));
        if (script != nullptr) {
            fake.Install(script);
        }
        const PagePreview p = RenderPagePreview(false, fake.Source());
        EXPECT_FALSE(p.ok || !p.page.isNull()) << says;
        EXPECT_TRUE(p.message.contains(QString::fromUtf8(says))) << p.message.toStdString();
        EXPECT_FALSE(QFile::exists(fake.dir.filePath("$a1.emf"))) << says;
    }
}

TEST(RunPrintJob, WritesTheJobAndThePagesThenRunsThePrintProgram) {
    FakePrinter fake;
    fake.Install("");
    const PrintResult r = RunPrintJob(PrintMode::SaveEmf, fake.Source());
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(fake.Read("job-seen"),
              QString(" 2, 1.0, 0.5, 1.0, 3\r\n%1/VARDELOK.wyd\r\n%1/VARDELOK1.wyd\r\n")
                  .arg(fake.dir.path()));
    fake.Install("exit 1\n");
    EXPECT_FALSE(RunPrintJob(PrintMode::Print, fake.Source()).ok);
}

// The whole road with the real print program, when this build has it.
TEST(RenderPagePreview, WithTheRealPrintProgram) {
    const QString lumdruk = PrintProgramPath(test::ProgramDir());
    if (!QFile::exists(lumdruk)) {
        GTEST_SKIP() << "the print program is not built in " << test::ProgramDir().toStdString();
    }
    FakePrinter run;
    ASSERT_TRUE(QFile::link(lumdruk, run.dir.filePath("Lumdruk")));
    QFile::link(QDir(test::ProgramDir()).filePath("Sily.bmp"), run.dir.filePath("Sily.bmp"));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const PagePreview p = RenderPagePreview(false, run.Source(), 794);
    ASSERT_TRUE(p.ok) << p.message.toStdString();
    EXPECT_EQ(p.page.width(), 794);
    EXPECT_FALSE(QFile::exists(run.dir.filePath("$a1.emf")));
    // Something was drawn: the header frame at least.
    int dark = 0;
    for (int y = 0; y < p.page.height() / 4; ++y) {
        for (int x = 0; x < p.page.width(); x += 2) {
            dark += p.page.pixelColor(x, y).lightness() < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 200);
}

}  // namespace
}  // namespace vardel
