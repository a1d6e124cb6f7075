#include "print/print_job.h"
#include "lumdruk/emf.h"
#include "tests/print/report_fixture.h"
#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel {
namespace {

// A page picture as the print program writes it: A4 with a black bar from (19, 10) to (22, 40) mm
// and a black square from (100, 200) to (120, 220) mm.
QByteArray FixtureEmf() {
    QImage black(2, 2, QImage::Format_RGB32);
    black.fill(Qt::black);
    lumdruk::Page page;
    for (const QRectF& r : {QRectF(19, 10, 3, 30), QRectF(100, 200, 20, 20)}) {
        page.items.push_back(lumdruk::PageImage{r, black, {}});
    }
    return lumdruk::EmfBytes(page);
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
    EXPECT_FALSE(Czekaj_na_proces(never, -1));  // and once its start has failed
}

// A stand-in for the print program in a program directory whose name holds blanks and shell
// characters, so that the job file reaches it as one argument only without a shell in between.
// It fails unless both page files are already written, records its arguments and the job file,
// then runs `script`, which may copy fixture.emf to $a1.emf and says how it ends.
struct FakePrinter {
    QTemporaryDir dir{QDir::tempPath() + "/vardel a; $HOME \"b\"-XXXXXX"};
    test::CalculatedReport report = test::MakeReport(2);

    FakePrinter() { test::WriteBytes(dir.filePath("fixture.emf"), FixtureEmf()); }
    void Install(const QByteArray& script) {
        test::WriteBytes(dir.filePath("Lumdruk"),
                         "#!/bin/sh\nd=$(dirname \"$1\")\n"
                         "test -f \"$d/VARDELOK.wyd\" && test -f \"$d/VARDELOK1.wyd\" || exit 9\n"
                         "printf '%s\\n' \"$@\" > \"$d/args\"\n"
                         "cp \"$1\" \"$d/job-seen\"\n" +
                             script);
        QFile::setPermissions(dir.filePath("Lumdruk"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
        EXPECT_TRUE(dark(20, 25));    // the bar
        EXPECT_FALSE(dark(100, 25));  // beside it
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

// The job and page files reach the print program; its exit status says how the job ended: the
// reason in the program's words with the print program's last line, a cancelled dialog as no
// failure to tell.
TEST(RunPrintJob, WritesTheJobAndThePagesThenSaysHowThePrintProgramEnded) {
    FakePrinter fake;
    fake.Install("");
    const PrintResult r = RunPrintJob(PrintMode::SaveEmf, fake.Source());
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(fake.Read("job-seen"),
              QString(" 2, 1.0, 0.5, 1.0, 3\r\n%1/VARDELOK.wyd\r\n%1/VARDELOK1.wyd\r\n")
                  .arg(fake.dir.path()));
    const struct {
        const char* script;
        bool cancelled;
        const char* says;
    } rows[] = {
        {"echo 'Lumdruk: printing was cancelled' >&2; exit 3\n", true, ""},
        {"echo 'Lumdruk: a note' >&2; echo 'Lumdruk: there is no default printer' >&2; exit 4\n",
         false, "Nie ma drukarki domyślnej.\n(there is no default printer)"},
        {"echo 'Lumdruk: the print server refused' >&2; exit 5\n", false,
         "Drukarka nie przyjęła wydruku.\n(the print server refused)"},
        {"exit 6\n", false, "Nie można zapisać pliku."},
        {"exit 1\n", false, "Program drukujący zakończył się błędem (kod 1)."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        fake.Install(row.script);
        const PrintResult failed = RunPrintJob(PrintMode::Print, fake.Source());
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.cancelled, row.cancelled);
        EXPECT_EQ(failed.message, QString::fromUtf8(row.says));
    }
}

}  // namespace
}  // namespace vardel
