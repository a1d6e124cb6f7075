#include "lumdruk/job.h"

#include "tests/lumdruk/lumdruk_fixture.h"
#include "tests/lumdruk/private_cups.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>

#include "print/page_picture.h"

#include <gtest/gtest.h>

namespace vardel::lumdruk {
namespace {

// Scripted answers in place of the dialogs; both dialogs are cancelled unless told otherwise.
struct ScriptedUi : JobUi {
    QString save_path;
    bool printer_chosen = false;
    QString printer_name;  // empty: the dialog's printer is left as it comes

    QString AskSavePath(const QString&) override { return save_path; }
    bool ChoosePrinter(QPrinter& printer) override {
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

// Runs the job file at `job`, or writes one with `modeLine` first.
JobRun RunIn(test::JobDir& dir, const QString& modeLine, ScriptedUi& ui) {
    JobRun run;
    const QString job = modeLine.isNull() ? dir.Path("W_KK.txt") : dir.WriteJob(modeLine);
    run.result = RunJob(job, ui, [&](const QString& l) { run.log << l; });
    return run;
}

// Runs the program itself on the job file, headless, as the results window starts it; empty when
// it succeeded, else its exit code and what it said.
QString RunProgram(const QString& job,
                   QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QString failure;
    test::RunTool(QDir(test::ProgramDir()).filePath("Lumdruk"), {job}, &failure, env);
    return failure;
}

// A damaged page file is drawn as far as it goes, with notes. Without the header-only file a
// continuation page repeats the page file's header, and only that; a page file without a header
// end has none to repeat.
TEST(Job, SaveAsWritesAllPagesOfADamagedJob) {
    for (const bool headerEnd : {true, false}) {
        SCOPED_TRACE(headerEnd ? "with a header end" : "without a header end");
        test::JobDir dir;
        QStringList lines =
            test::HeaderLines() + test::LongBody() +
            QStringList{"99,1,2", "3,1.,bad,1,,3.2,1.,0.,0,0,0,400,5", "lost text", "3,1.,150."};
        if (!headerEnd) {
            lines.removeAll(QStringLiteral("9,1."));
        }
        test::WriteFile(dir.Path("VARDELOK.wyd"), test::CrLf(lines));
        ScriptedUi ui;
        ui.save_path = dir.Path("raport.svg");
        const JobRun run = RunIn(dir, " 2, 1.0, 0.5, 1.0, 12", ui);
        EXPECT_TRUE(run.result.ok) << run.result.message.toStdString();
        EXPECT_EQ(dir.Status(), "1, 13\r\n");  // two pages: 12 and 13
        const QByteArray second = test::ReadAll(dir.Path("raport-13.svg"));
        EXPECT_EQ(second.contains("Strona 13"), headerEnd);
        EXPECT_FALSE(second.contains("wiersz 0"));
        // Unknown command, bad position, missing data line; missing header-only file.
        EXPECT_EQ(run.log.filter("VARDELOK.wyd line").size(), 3)
            << run.log.join("\n").toStdString();
        EXPECT_EQ(run.log.filter("VARDELOK1.wyd").size(), 1);
        EXPECT_EQ(run.log.size(), headerEnd ? 4 : 5);
    }
}

// The exit status table: each failure leaves status 0 and says why, and its exit status tells
// the program which failure it was. (No default printer:
// PrintsOnTheDefaultPrinterAndOnTheChosenOne.)
TEST(Job, FailuresLeaveStatusZeroAndTheirExitStatus) {
    const struct {
        const char* name;
        QString mode_line;  // null: there is no job file
        QByteArray status;
        PrintExit exit;
    } cases[] = {
        {"missing page file", "-2, 1.0, 0.5, 1.0, 3", "0, 3\r\n", PrintExit::Failed},
        {"page file that never ends", "-2, 1.0, 0.5, 1.0, 3", "0, 3\r\n", PrintExit::Failed},
        {"page file that is a pipe", "-2, 1.0, 0.5, 1.0, 3", "0, 3\r\n", PrintExit::Failed},
        {"unknown mode", "7, 1.0, 0.5, 1.0, 3", "0, 3\r\n", PrintExit::Failed},
        {"clipboard not available here", "3, 1.0, 0.5, 1.0 3", "0, 3\r\n", PrintExit::Failed},
        {"malformed mode line", "-2; 1.0; 3", "0, 0\r\n", PrintExit::Failed},
        {"save cancelled", " 2, 1.0, 0.5, 1.0, 5", "0, 5\r\n", PrintExit::Cancelled},
        {"save into a folder that is not there", " 2, 1.0, 0.5, 1.0, 5", "0, 5\r\n",
         PrintExit::WriteFailed},
        {"page picture where a folder stands", "-2, 1.0, 0.5, 1.0, 3", "0, 3\r\n",
         PrintExit::WriteFailed},
        {"print dialog cancelled", "1, 1.0, 0.5, 1.0, 6", "0, 6\r\n", PrintExit::Cancelled},
        {"missing job file", QString(), "0, 0\r\n", PrintExit::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::JobDir dir;
        dir.WritePages(test::OmegaLines(120));
        const std::string_view name = c.name;
        ScriptedUi ui;
        if (name.starts_with("missing page file")) {
            QFile::remove(dir.Path("VARDELOK.wyd"));
            test::WriteFile(dir.Path(PagePictureName()), "an earlier page picture");
        } else if (name.starts_with("page file that")) {
            QFile::remove(dir.Path("VARDELOK.wyd"));
            ASSERT_TRUE(name.ends_with("pipe")
                            ? test::MakeFifo(dir.Path("VARDELOK.wyd"))
                            : QFile::link("/dev/zero", dir.Path("VARDELOK.wyd")));
        } else if (name.starts_with("save into")) {
            ui.save_path = dir.Path("no/such/raport.pdf");
        } else if (name.starts_with("page picture where")) {
            ASSERT_TRUE(QDir(dir.Dir()).mkpath(PagePictureName() + "/x"));
        }
        const JobRun run = RunIn(dir, c.mode_line, ui);
        EXPECT_FALSE(run.result.ok);
        EXPECT_EQ(run.result.exit, c.exit);
        EXPECT_FALSE(run.result.message.isEmpty());
        EXPECT_TRUE(run.log.contains(run.result.message));
        EXPECT_EQ(dir.Status(), c.status);
        EXPECT_FALSE(QFileInfo(dir.Path(PagePictureName())).isFile());
    }
}

// What a queue received for the long body from page 3: a PDF of its two pages.
void ExpectTheLongBodyFromPage3(const QByteArray& printed, const QString& scratch) {
    ASSERT_TRUE(printed.startsWith("%PDF")) << printed.left(80).toStdString();
    test::WriteFile(scratch, printed);
    const QString text = test::PdfText(scratch);
    ASSERT_FALSE(text.isEmpty()) << "pdftotext (poppler-utils) is needed to read the printed PDF";
    EXPECT_EQ(text.count(u'\f'), 2);
    for (const char* expected : {"Strona 3", "Strona 4", "wiersz 0", "wiersz 69", "Łódź"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
}

// No printer at all, then a printer that is not the default: the program refuses the job. Then
// the program prints on the default printer, and this process (its dialogs scripted) on the
// printer the dialog comes with and on another one chosen in it; a cancelled dialog prints
// nothing.
TEST(Job, PrintsOnTheDefaultPrinterAndOnTheChosenOne) {
    // A print server of the test's own, whatever this machine's printers are.
    if (const QString missing = test::PrivateCups::MissingPrograms(); !missing.isEmpty()) {
        GTEST_SKIP() << "the test's own print server needs " << missing.toStdString()
                     << " (Debian packages cups-daemon and cups-client)";
    }
    test::PrivateCups cups;
    ASSERT_TRUE(cups.ok()) << cups.error().toStdString();
    test::JobDir dir;
    dir.WritePages(test::LongBody());
    const QString job = dir.WriteJob("-1, 1.0, 0.5, 1.0, 3");
    for (const bool withQueue : {false, true}) {
        SCOPED_TRACE(withQueue ? "a queue that is not the default" : "no queue");
        if (withQueue) {
            ASSERT_EQ(cups.AddQueue("VardelChosen", false), QString());
            test::WriteFile(dir.Path("W_X.txt"), "1, 1\r\n");
        }
        const QString said = RunProgram(job, cups.Environment());
        EXPECT_TRUE(said.contains("exited with 4") && said.contains("there is no default printer"))
            << said.toStdString();
        EXPECT_EQ(dir.Status(), "0, 3\r\n");
    }
    EXPECT_TRUE(cups.JobDocument(1).isEmpty());

    ASSERT_EQ(cups.AddQueue("VardelTest", true), QString());
    ASSERT_EQ(RunProgram(job, cups.Environment()), QString());
    EXPECT_EQ(dir.Status(), "1, 4\r\n");
    ASSERT_EQ(cups.WaitForCompletedJobs("VardelTest", 1, 30000), QString())
        << cups.Log().toStdString();
    ExpectTheLongBodyFromPage3(cups.JobDocument(1), dir.Path("job1.pdf"));

    const test::PrintServerOverride server(cups.Server());
    ScriptedUi ui;
    ui.printer_chosen = true;
    test::WriteFile(dir.Path("W_X.txt"), "0, 0\r\n");
    const JobRun accepted = RunIn(dir, "1, 1.0, 0.5, 1.0, 3", ui);
    EXPECT_TRUE(accepted.result.ok) << accepted.result.message.toStdString();
    EXPECT_EQ(dir.Status(), "1, 4\r\n");
    ASSERT_EQ(cups.WaitForCompletedJobs("VardelTest", 2, 30000), QString());
    ExpectTheLongBodyFromPage3(cups.JobDocument(2), dir.Path("job2.pdf"));

    ui.printer_name = "VardelChosen";
    const JobRun chosen = RunIn(dir, "1, 1.0, 0.5, 1.0, 8", ui);
    EXPECT_TRUE(chosen.result.ok) << chosen.result.message.toStdString();
    EXPECT_EQ(dir.Status(), "1, 9\r\n");
    ASSERT_EQ(cups.WaitForCompletedJobs("VardelChosen", 1, 30000), QString());
    EXPECT_TRUE(cups.JobDocument(3).startsWith("%PDF"));

    ui.printer_chosen = false;  // the dialog cancelled
    EXPECT_FALSE(RunIn(dir, "1, 1.0, 0.5, 1.0, 5", ui).result.ok);
    EXPECT_EQ(dir.Status(), "0, 5\r\n");
}

// The program itself, as the results window starts it: one argument, no window, exit code.
TEST(Program, WritesThePagePicturesAndTheStatusHeadless) {
    test::JobDir dir;
    dir.WritePages(test::OmegaLines(30) + test::LongBody());
    test::WriteFile(dir.Path("W_X.txt"), "0, 9\r\n");  // left by an earlier failed run
    const QString job = dir.WriteJob("-2, 1.0, 0.5, 1.0 3");
    EXPECT_EQ(RunProgram(job), QString());
    EXPECT_EQ(dir.Status(), "1, 3\r\n");
    const QString svg =
        QString::fromUtf8(vardel::EmfToSvg(test::ReadAll(dir.Path(PagePictureName()))));
    for (const char* shown : {"Łódź", "ω", "wiersz 0"}) {
        EXPECT_TRUE(svg.contains(QString::fromUtf8(shown))) << shown;
    }
    EXPECT_FALSE(svg.contains(QStringLiteral("wiersz 69")));  // on the second page, beside it
    EXPECT_TRUE(QString::fromUtf8(vardel::EmfToSvg(test::ReadAll(dir.Path(PagePictureName(2)))))
                    .contains(QStringLiteral("wiersz 69")));

    dir.WriteJob("9, 1.0, 0.5, 1.0, 3");
    const QString refused = RunProgram(job);
    EXPECT_TRUE(refused.contains("exited with 1") && refused.contains("unknown mode 9"))
        << refused.toStdString();
    EXPECT_EQ(dir.Status(), "0, 3\r\n");

    // Without a screen the save dialog cannot be answered: refused, not waited for.
    dir.WriteJob(" 2, 1.0, 0.5, 1.0, 4");
    EXPECT_TRUE(RunProgram(job).contains("exited with 1"));
    EXPECT_EQ(dir.Status(), "0, 4\r\n");
}

}  // namespace
}  // namespace vardel::lumdruk
