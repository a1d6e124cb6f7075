#include "print/print_job.h"
#include "tests/print/emf_fixture.h"
#include "tests/print/report_fixture.h"
#include "tests/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel {
namespace {

// Writes an executable shell script.
void WriteScript(const QString& path, const QByteArray& body) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(StartAndWait, FailuresOfThePrintProgramAreReported) {
    QTemporaryDir dir;
    WriteScript(dir.filePath("crash"), "kill -SEGV $$\n");
    WriteScript(dir.filePath("exit3"), "exit 3\n");
    WriteScript(dir.filePath("ok"), "exit 0\n");
    QFile notExecutable(dir.filePath("plain"));
    ASSERT_TRUE(notExecutable.open(QIODevice::WriteOnly));
    notExecutable.close();
    const struct {
        QString program;
        bool ok;
        const char* says;
    } rows[] = {
        {dir.filePath("missing"), false, "Nie można uruchomić"},
        {dir.filePath("plain"), false, "Nie można uruchomić"},
        {"/bin/false", false, "kod 1"},
        {dir.filePath("exit3"), false, "kod 3"},
        {dir.filePath("crash"), false, "nieprawidłowo"},
        {dir.filePath("ok"), true, ""},
    };
    for (const auto& row : rows) {
        const PrintResult r = StartAndWait(row.program, {});
        EXPECT_EQ(r.ok, row.ok) << row.program.toStdString();
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(row.says)))
            << row.program.toStdString() << ": " << r.message.toStdString();
    }
}

TEST(StartAndWait, PassesTheArgumentsAsTheyAreWithoutAShell) {
    QTemporaryDir dir;
    WriteScript(dir.filePath("echo"),
                "printf '%s\\n' \"$#\" \"$1\" > \"$(dirname \"$0\")/args\"\n");
    const QString tricky = dir.filePath("a b; rm -rf $HOME \"x\".txt");
    ASSERT_TRUE(StartAndWait(dir.filePath("echo"), {tricky}).ok);
    EXPECT_EQ(test::ReadAll(dir.filePath("args")), "1\n" + tricky.toUtf8() + "\n");
}

TEST(CzekajNaProces, EndsWithTheProcessOrTheTimeLimit) {
    QProcess quick;
    quick.start("/bin/true", QStringList{});
    ASSERT_TRUE(quick.waitForStarted());
    EXPECT_TRUE(Czekaj_na_proces(quick, -1));
    EXPECT_EQ(quick.state(), QProcess::NotRunning);
    // Waiting again on a process that has ended is still a normal end of the wait.
    EXPECT_TRUE(Czekaj_na_proces(quick, -1));

    QProcess slow;
    slow.start("/bin/sleep", {"5"});
    ASSERT_TRUE(slow.waitForStarted());
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(Czekaj_na_proces(slow, 100));  // the time limit passing is normal
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(slow.state(), QProcess::Running);
    slow.kill();
    slow.waitForFinished();

    QProcess never;
    never.start("/nonexistent/program", QStringList{});
    never.waitForStarted();
    EXPECT_FALSE(Czekaj_na_proces(never, -1));
}

// A stand-in for the print program: records its arguments and the job file, then leaves the
// page picture named by `emfSource` (or nothing) as $a1.emf beside the job file.
struct FakePrinter {
    QTemporaryDir dir;
    test::CalculatedReport report = test::MakeReport(2);

    void Install(const QByteArray& leavePicture, const QByteArray& exit = "exit 0\n") {
        WriteScript(dir.filePath("Lumdruk"),
                    "d=$(dirname \"$1\")\n"
                    "printf '%s\\n' \"$@\" > \"$d/args\"\n"
                    "cp \"$1\" \"$d/job-seen\"\n" +
                        leavePicture + exit);
    }
    PageSource Source() {
        return {report.state, report.lines, report.header, dir.path(), QLocale::c()};
    }
};

TEST(RenderPagePreview, DrawsThePicturePrintProgramLeftAndDeletesIt) {
    FakePrinter fake;
    const QString fixture = fake.dir.filePath("fixture.emf");
    ASSERT_TRUE(test::WriteFixtureEmf(fixture));
    fake.Install("cp \"$d/fixture.emf\" \"$d/\\$a1.emf\"\n");

    for (bool shortPrefix : {false, true}) {
        const PagePreview p = RenderPagePreview(shortPrefix, fake.Source(), 794);
        ASSERT_TRUE(p.ok) << p.message.toStdString();
        EXPECT_EQ(p.page.width(), 794);
        EXPECT_NEAR(p.page.height(), 794 * 297 / 210, 2);
        const double pxPerMm = 794.0 / 210;
        auto dark = [&](double xMm, double yMm) {
            return p.page.pixelColor(int(xMm * pxPerMm), int(yMm * pxPerMm)).lightness() < 100;
        };
        EXPECT_TRUE(dark(20, 25));    // left side of the frame
        EXPECT_TRUE(dark(100, 40));   // its bottom
        EXPECT_FALSE(dark(100, 25));  // inside it
        EXPECT_TRUE(dark(110, 210));  // the filled square
        EXPECT_FALSE(dark(60, 150));

        EXPECT_FALSE(QFile::exists(fake.dir.filePath("$a1.emf")));
        EXPECT_EQ(test::ReadAll(fake.dir.filePath("args")),
                  fake.dir.filePath("W_KK.txt").toUtf8() + "\n");
        const QByteArray mode =
            shortPrefix ? "-2, 1.0, 0.5, 1.0 3\r\n" : "-2, 1.0, 0.5, 1.0, 3\r\n";
        EXPECT_TRUE(test::ReadAll(fake.dir.filePath("job-seen")).startsWith(mode));
        EXPECT_TRUE(QFile::exists(fake.dir.filePath("VARDELOK.wyd")));
        EXPECT_TRUE(QFile::exists(fake.dir.filePath("VARDELOK1.wyd")));
    }
}

TEST(RenderPagePreview, NoUsablePictureIsReportedAndNoStalePictureIsShown) {
    const struct {
        const char* name;
        QByteArray script;
        QByteArray exit;
        const char* says;
    } rows[] = {
        {"no picture", "", "exit 0\n", "nie zostawił"},
        {"not an EMF", "echo garbage > \"$d/\\$a1.emf\"\n", "exit 0\n", "nie jest poprawnym"},
        {"empty file", ": > \"$d/\\$a1.emf\"\n", "exit 0\n", "nie jest poprawnym"},
        {"failed run", "cp \"$d/fixture.emf\" \"$d/\\$a1.emf\"\n", "exit 2\n", "kod 2"},
        {"crash", "", "kill -KILL $$\n", "nieprawidłowo"},
    };
    for (const auto& row : rows) {
        FakePrinter fake;
        ASSERT_TRUE(test::WriteFixtureEmf(fake.dir.filePath("fixture.emf")));
        // A picture from an earlier run must not pass for this one.
        ASSERT_TRUE(QFile::copy(fake.dir.filePath("fixture.emf"), fake.dir.filePath("$a1.emf")));
        fake.Install(row.script, row.exit);
        const PagePreview p = RenderPagePreview(false, fake.Source());
        EXPECT_FALSE(p.ok) << row.name;
        EXPECT_TRUE(p.page.isNull()) << row.name;
        EXPECT_TRUE(p.message.contains(QString::fromUtf8(row.says)))
            << row.name << ": " << p.message.toStdString();
        EXPECT_FALSE(QFile::exists(fake.dir.filePath("$a1.emf"))) << row.name;
    }
}

TEST(RenderPagePreview, MissingPrintProgramIsReported) {
    FakePrinter fake;
    const PagePreview p = RenderPagePreview(false, fake.Source());
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.message.contains("Lumdruk")) << p.message.toStdString();
}

TEST(RunPrintJob, WritesTheJobAndThePagesThenRunsThePrintProgram) {
    FakePrinter fake;
    fake.Install("");
    const PrintResult r = RunPrintJob(PrintMode::SaveEmf, fake.Source());
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const QString dir = fake.dir.path();
    EXPECT_EQ(test::ReadAll(fake.dir.filePath("job-seen")),
              " 2, 1.0, 0.5, 1.0, 3\r\n" + (dir + "/VARDELOK.wyd\r\n").toUtf8() +
                  (dir + "/VARDELOK1.wyd\r\n").toUtf8());
    EXPECT_TRUE(QFile::exists(fake.dir.filePath("VARDELOK.wyd")));

    fake.Install("", "exit 1\n");
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
    for (const char* picture : {"Sily.bmp", "Piersc.bmp"}) {
        QFile::link(QDir(test::ProgramDir()).filePath(picture), run.dir.filePath(picture));
    }
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
