#include "lumdruk/job.h"
#include "lumdruk/emf.h"
#include "texts/print_status.h"

#include "tests/lumdruk/lumdruk_fixture.h"
#include "tests/lumdruk/private_cups.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "print/page_picture.h"

#include <gtest/gtest.h>

namespace vardel::lumdruk {
namespace {

// Scripted answers in place of the dialogs.
class ScriptedUi : public JobUi {
  public:
    QString save_path;            // empty: the save dialog is cancelled
    bool printer_chosen = false;  // false: the print dialog is cancelled
    QString printer_name;         // empty: the dialog's printer is left as it comes
    int asked = 0;

    QString AskSavePath(const QString&) override {
        ++asked;
        return save_path;
    }
    bool ChoosePrinter(QPrinter& printer) override {
        ++asked;
        if (!printer_name.isEmpty()) {
            printer.setPrinterName(printer_name);
        }
        return printer_chosen;
    }
};

struct JobRun {
    JobResult result;
    QStringList log;
};

JobRun RunIn(test::JobDir& dir, const QString& modeLine, ScriptedUi& ui) {
    JobRun run;
    run.result = RunJob(dir.WriteJob(modeLine), ui, [&](const QString& l) { run.log << l; });
    return run;
}

QStringList LongBody() {
    QStringList body;
    for (int i = 0; i < 70; ++i) {
        body += test::TextLine(7, 40 + 4.5 * i, QStringLiteral("wiersz %1").arg(i));
    }
    return body;
}

TEST(Job, PagePictureWritesTheEmfAndTheStatus) {
    test::JobDir dir;
    dir.WritePages(test::OmegaLines(120));
    test::WriteFile(dir.Path("W_X.txt"), "0, 9\r\n");  // left by an earlier failed run
    ScriptedUi ui;
    const JobRun run = RunIn(dir, "-2, 1.0, 0.5, 1.0 3", ui);
    EXPECT_TRUE(run.result.ok) << run.result.message.toStdString();
    EXPECT_EQ(dir.Status(), "1, 3\r\n");
    // As the settings writer reads it at the end of the program.
    const std::optional<PrintStatus> status = ReadPrintStatus(dir.Path("W_X.txt"));
    ASSERT_TRUE(status.has_value());
    EXPECT_GT(status->S, 0);
    EXPECT_EQ(status->P, 3);
    const QByteArray emf = test::ReadAll(dir.Path(PagePictureName()));
    const QString svg = QString::fromUtf8(vardel::EmfToSvg(emf));
    EXPECT_TRUE(svg.contains(QStringLiteral("Łódź")));
    EXPECT_TRUE(svg.contains(QStringLiteral("ω")));
    EXPECT_EQ(ui.asked, 0);
}

TEST(Job, PagePictureOfALongBodyHoldsTheFirstPage) {
    test::JobDir dir;
    dir.WritePages(LongBody());
    ScriptedUi ui;
    const JobRun run = RunIn(dir, "-2, 1.0, 0.5, 1.0, 3", ui);
    EXPECT_TRUE(run.result.ok);
    EXPECT_EQ(dir.Status(), "1, 3\r\n");
}

TEST(Job, SaveAsAskedForAFileWritesAllPages) {
    test::JobDir dir;
    dir.WritePages(LongBody());
    ScriptedUi ui;
    ui.save_path = dir.Path("raport.pdf");
    const JobRun run = RunIn(dir, " 2, 1.0, 0.5, 1.0, 12", ui);
    EXPECT_TRUE(run.result.ok) << run.result.message.toStdString();
    EXPECT_EQ(ui.asked, 1);
    EXPECT_EQ(dir.Status(), "1, 13\r\n");  // two pages: 12 and 13
    EXPECT_TRUE(test::ReadAll(dir.Path("raport.pdf")).startsWith("%PDF"));
}

TEST(Job, WithoutTheHeaderOnlyFileContinuationPagesRepeatThePageFilesHeader) {
    test::JobDir dir;
    dir.WritePages(LongBody());
    QFile::remove(dir.Path("VARDELOK1.wyd"));
    QStringList notes;
    QString error;
    const auto pages =
        RenderPageFiles(dir.Path("VARDELOK.wyd"), dir.Path("VARDELOK1.wyd"), 3, &notes, &error);
    ASSERT_TRUE(pages.has_value()) << error.toStdString();
    ASSERT_EQ(pages->size(), 2u);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("VARDELOK1.wyd"));
    bool labelled = false;
    for (const PageItem& item : pages->at(1).items) {
        const auto* t = std::get_if<PageText>(&item);
        labelled = labelled || (t && t->text == "Strona 4");
    }
    EXPECT_TRUE(labelled);
}

struct FailureCase {
    const char* name;
    QString mode_line;
    bool remove_page_file;
    QByteArray status;
};

class JobFailures : public ::testing::TestWithParam<FailureCase> {};

// Every failure leaves status 0, says why, and writes no page picture.
TEST_P(JobFailures, LeaveStatusZero) {
    const FailureCase& c = GetParam();
    test::JobDir dir;
    dir.WritePages(test::OmegaLines(120));
    if (c.remove_page_file) {
        QFile::remove(dir.Path("VARDELOK.wyd"));
        test::WriteFile(dir.Path(PagePictureName()), "an earlier page picture");
    }
    ScriptedUi ui;  // cancels every dialog
    const JobRun run = RunIn(dir, c.mode_line, ui);
    EXPECT_FALSE(run.result.ok);
    EXPECT_FALSE(run.result.message.isEmpty());
    EXPECT_TRUE(run.log.contains(run.result.message));
    EXPECT_EQ(dir.Status(), c.status);
    EXPECT_FALSE(QFile::exists(dir.Path(PagePictureName())));
}

INSTANTIATE_TEST_SUITE_P(
    Job, JobFailures,
    ::testing::Values(FailureCase{"missing_page_file", "-2, 1.0, 0.5, 1.0, 3", true, "0, 3\r\n"},
                      FailureCase{"unknown_mode", "7, 1.0, 0.5, 1.0, 3", false, "0, 3\r\n"},
                      FailureCase{"clipboard_not_here", "3, 1.0, 0.5, 1.0 3", false, "0, 3\r\n"},
                      FailureCase{"malformed_mode_line", "-2; 1.0; 3", false, "0, 0\r\n"},
                      FailureCase{"save_cancelled", " 2, 1.0, 0.5, 1.0, 5", false, "0, 5\r\n"},
                      FailureCase{"print_dialog_cancelled", "1, 1.0, 0.5, 1.0, 6", false,
                                  "0, 6\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Job, MissingJobFileStillLeavesAStatus) {
    test::JobDir dir;
    ScriptedUi ui;
    const JobResult r = RunJob(dir.Path("W_KK.txt"), ui, [](const QString&) {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(dir.Status(), "0, 0\r\n");
}

TEST(Job, AMalformedPageFileIsDrawnAsFarAsItGoesWithNotes) {
    test::JobDir dir;
    QStringList body = test::OmegaLines(120);
    body << "99,1,2"
         << "3,1.,bad,1,,3.2,1.,0.,0,0,0,400,5"
         << "lost text"
         << "5, 1., 2., 3., 4." << dir.Path("nothing.bmp") << "3,1.,150.";  // no data line
    dir.WritePages(body);
    ScriptedUi ui;
    const JobRun run = RunIn(dir, "-2, 1.0, 0.5, 1.0, 3", ui);
    EXPECT_TRUE(run.result.ok);
    EXPECT_EQ(dir.Status(), "1, 3\r\n");
    // Unknown command, bad position, missing data line, missing picture.
    EXPECT_EQ(run.log.size(), 4) << run.log.join("\n").toStdString();
    EXPECT_TRUE(run.log.filter("VARDELOK.wyd line").size() == 3);
}

QString LumdrukProgram() {
    return QDir(test::ProgramDir()).filePath("Lumdruk");
}

// Runs the program itself on the job file, headless, in the given environment.
QString RunProgram(const QString& job, QProcessEnvironment env) {
    QProcess p;
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(LumdrukProgram(), {job});
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(5000);
        return QStringLiteral("Lumdruk did not finish within 60 s");
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return QStringLiteral("Lumdruk exited with %1: %2")
            .arg(p.exitCode())
            .arg(QString::fromLocal8Bit(p.readAllStandardError()));
    }
    return {};
}

QString PopplerOutput(const QString& program, const QString& pdf) {
    QProcess p;
    p.start(program, program == "pdftotext" ? QStringList{pdf, "-"} : QStringList{pdf});
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(5000);
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// What a queue received for the long body from page 3: a PDF of its two pages.
void ExpectTheLongBodyFromPage3(const QByteArray& printed, const QString& scratch) {
    ASSERT_TRUE(printed.startsWith("%PDF")) << printed.left(80).toStdString();
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty() ||
        QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        ADD_FAILURE() << "pdfinfo and pdftotext (poppler-utils) are needed to read the printed PDF";
        return;
    }
    test::WriteFile(scratch, printed);
    EXPECT_TRUE(PopplerOutput("pdfinfo", scratch).contains(QRegularExpression("Pages:\\s+2\\n")))
        << PopplerOutput("pdfinfo", scratch).toStdString();
    const QString text = PopplerOutput("pdftotext", scratch);
    for (const char* expected : {"Strona 3", "Strona 4", "wiersz 0", "wiersz 69", "Łódź"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
    }
}

bool NeedsPrintServer(QString* why) {
    const QString missing = test::PrivateCups::MissingPrograms();
    if (missing.isEmpty()) {
        return false;
    }
    *why = "the test's own print server needs " + missing +
           " (Debian packages cups-daemon and cups-client)";
    return true;
}

// Printing goes to a print server of the test's own, whatever this machine's printers are.
TEST(Job, PrintsOnTheDefaultPrinterAndOnTheChosenOne) {
    if (QString why; NeedsPrintServer(&why)) {
        GTEST_SKIP() << why.toStdString();
    }
    test::PrivateCups cups;
    ASSERT_TRUE(cups.ok()) << cups.error().toStdString();
    ASSERT_EQ(cups.AddQueue("VardelTest", true), QString());
    ASSERT_EQ(cups.AddQueue("VardelChosen", false), QString());

    test::JobDir dir;
    dir.WritePages(LongBody());
    const QString job = dir.WriteJob("-1, 1.0, 0.5, 1.0, 3");
    ASSERT_EQ(RunProgram(job, cups.Environment()), QString());
    EXPECT_EQ(dir.Status(), "1, 4\r\n");
    ASSERT_EQ(cups.WaitForCompletedJobs("VardelTest", 1, 30000), QString())
        << cups.Log().toStdString();
    ExpectTheLongBodyFromPage3(cups.JobDocument(1), dir.Path("job1.pdf"));

    // The dialogs are scripted, so these print from this process.
    const test::PrintServerOverride server(cups.Server());
    // The print dialog accepted as it comes: the default printer.
    ScriptedUi ui;
    ui.printer_chosen = true;
    test::WriteFile(dir.Path("W_X.txt"), "0, 0\r\n");
    const JobRun accepted = RunIn(dir, "1, 1.0, 0.5, 1.0, 3", ui);
    EXPECT_TRUE(accepted.result.ok) << accepted.result.message.toStdString();
    EXPECT_EQ(ui.asked, 1);
    EXPECT_EQ(dir.Status(), "1, 4\r\n");
    ASSERT_EQ(cups.WaitForCompletedJobs("VardelTest", 2, 30000), QString());
    ExpectTheLongBodyFromPage3(cups.JobDocument(2), dir.Path("job2.pdf"));

    // Another printer chosen in the dialog.
    ui.printer_name = "VardelChosen";
    const JobRun chosen = RunIn(dir, "1, 1.0, 0.5, 1.0, 8", ui);
    EXPECT_TRUE(chosen.result.ok) << chosen.result.message.toStdString();
    EXPECT_EQ(dir.Status(), "1, 9\r\n");
    ASSERT_EQ(cups.WaitForCompletedJobs("VardelChosen", 1, 30000), QString());
    EXPECT_TRUE(cups.JobDocument(3).startsWith("%PDF"));
}

TEST(Job, WithoutADefaultPrinterPrintingFails) {
    if (QString why; NeedsPrintServer(&why)) {
        GTEST_SKIP() << why.toStdString();
    }
    test::PrivateCups cups;
    ASSERT_TRUE(cups.ok()) << cups.error().toStdString();
    test::JobDir dir;
    dir.WritePages(test::OmegaLines(120));
    const QString job = dir.WriteJob("-1, 1.0, 0.5, 1.0, 3");
    // No printer at all.
    EXPECT_TRUE(RunProgram(job, cups.Environment()).contains("there is no default printer"));
    EXPECT_EQ(dir.Status(), "0, 3\r\n");

    // A printer, but none made the default: the job is not sent to it.
    ASSERT_EQ(cups.AddQueue("VardelTest", false), QString());
    test::WriteFile(dir.Path("W_X.txt"), "1, 1\r\n");
    EXPECT_TRUE(RunProgram(job, cups.Environment()).contains("there is no default printer"));
    EXPECT_EQ(dir.Status(), "0, 3\r\n");
    EXPECT_TRUE(cups.JobDocument(1).isEmpty());
}

// The program itself, as the results window starts it: one argument, no window, exit code.
TEST(Program, RunsAPagePictureJobHeadless) {
    const QString program = QDir(test::ProgramDir()).filePath("Lumdruk");
    ASSERT_TRUE(QFile::exists(program));
    test::JobDir dir;
    dir.WritePages(test::OmegaLines(120));
    const QString job = dir.WriteJob("-2, 1.0, 0.5, 1.0, 3");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(program, {job});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(dir.Status(), "1, 3\r\n");
    EXPECT_TRUE(QFile::exists(dir.Path(PagePictureName())));

    dir.WriteJob("9, 1.0, 0.5, 1.0, 3");
    p.start(program, {job});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardError().contains("unknown mode 9"));
    EXPECT_EQ(dir.Status(), "0, 3\r\n");

    // Without a screen the save dialog cannot be answered: refused, not waited for.
    dir.WriteJob(" 2, 1.0, 0.5, 1.0, 4");
    p.start(program, {job});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_EQ(dir.Status(), "0, 4\r\n");
}

}  // namespace
}  // namespace vardel::lumdruk
