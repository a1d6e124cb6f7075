// The results window driven as the engineer drives it: opened on a calculated design case, its
// status-bar panels clicked and its menu commands chosen, with the real print program rendering
// the page picture in a program directory of the test's own.
#include "ui/results_window.h"

#include "export/text_export.h"
#include "print/print_job.h"
#include "sketches/bitmap_file.h"
#include "sketches/ring_sketches.h"
#include "tests/report/report_fixture.h"
#include "tests/test_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>

namespace vardel {
namespace {

using namespace Qt::StringLiterals;

using test::Load;

// Answers input boxes from a script (an unscripted question accepts its default) and keeps
// every question and message.
class ScriptedPrompter : public Prompter {
  public:
    std::optional<QString> AskText(const QString& prompt, const QString&,
                                   const QString& defaultText) override {
        asked << prompt;
        if (answers.empty()) {
            return defaultText;
        }
        const std::optional<QString> a = answers.front();
        answers.pop_front();
        return a;
    }
    void Tell(const QString& title, const QString& message) override {
        told << title + u'|' + message;
    }
    std::deque<std::optional<QString>> answers;
    QStringList asked;
    QStringList told;
};

const QString kDesignationPrompt = QStringLiteral("Podaj oznaczenie stopy (max 32 znaki)");

// A passing design: one partly compressed case. test::SixCases() is the failing one.
const std::vector<Load> kPassing = {{700, 100, 5}};

// A results window over a calculated case in a program directory holding the print program and
// the help file of this build.
struct Harness {
    explicit Harness(const std::vector<Load>& loads = kPassing, bool printProgram = true) {
        test::Calculated(s, test::Plate{}, loads, 0, QLocale::c());
        s.Naz_proj = QStringLiteral("Hala H-2");
        s.Strona = 3;
        const QDir program(test::ProgramDir());
        for (const char* name : {"Lumdruk", "Sily.bmp", "gkrysOK.bmp", "gkrys0.bmp", "Vdlogo2.bmp",
                                 "Vdlrob.bmp", "Vardel.html"}) {
            if (printProgram || QByteArray(name) != "Lumdruk") {
                QFile::link(program.filePath(QString::fromLatin1(name)),
                            JoinPath(dir.path(), QString::fromLatin1(name)));
            }
        }
        input.show();
        w = new ResultsWindow(s, dir.path(), &input, [this] { ++ended; });
        w->SetPrompter(prompter);
    }
    ~Harness() { delete w; }

    void Start(std::deque<std::optional<QString>> answers = {QStringLiteral("SF-1")}) {
        prompter.answers = std::move(answers);
        w->Start();
        prompter.asked.clear();
    }
    QToolButton* Panel(int n) const {
        return w->statusBar()->findChild<QToolButton*>(QStringLiteral("Panel%1").arg(n));
    }
    QPixmap Page() const { return w->findChild<QLabel*>(QStringLiteral("Picture2"))->pixmap(); }
    void Trigger(const char* action) const {
        w->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }
    QString File(const char* name) const { return JoinPath(dir.path(), QString::fromLatin1(name)); }
    void ProcessDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QTemporaryDir dir;
    DesignCase s;
    QWidget input;
    ScriptedPrompter prompter;
    QPointer<ResultsWindow> w;
    int ended = 0;
};

TEST(ResultsWindowStart, ShowsTheVerdictThePageAndTheMenuStates) {
    const struct {
        const char* name;
        std::vector<Load> loads;
        Int16 rtf;
        QString verdict;
        bool anchors;
        QString rtfCaption;
        bool rtfEnabled;
    } rows[] = {
        {"passing, RTF off", kPassing, 0, QStringLiteral("OK"), true,
         QStringLiteral("Zapisz jako RTF"), false},
        {"failing, RTF for StarOffice", test::SixCases(), 2,
         QStringLiteral(" Przekroczone naprezenia !! "), false,
         QStringLiteral("Zapisz jako RTF (StarOffice)"), true},
        {"passing, RTF for Word", kPassing, 1, QStringLiteral("OK"), true,
         QStringLiteral("Zapisz jako RTF (MSWord)"), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Harness h(row.loads);
        h.s.Tryb_RTF = row.rtf;
        h.prompter.answers = {QStringLiteral("SF-1")};
        h.w->Start();
        EXPECT_EQ(h.prompter.asked, QStringList{kDesignationPrompt});
        EXPECT_TRUE(h.prompter.told.isEmpty()) << h.prompter.told.join(u'\n').toStdString();
        EXPECT_TRUE(h.w->isVisible());
        EXPECT_FALSE(h.input.isVisible());
        EXPECT_EQ(h.Panel(3)->text(), row.verdict);
        EXPECT_EQ(h.w->mnuDobor()->isEnabled(), row.anchors);
        EXPECT_EQ(h.w->mnuZapiszrtf()->text(), row.rtfCaption);
        EXPECT_EQ(h.w->mnuZapiszrtf()->isEnabled(), row.rtfEnabled);
        // The page is drawn as wide as the viewport, in device pixels, and is A4-shaped.
        const QPixmap page = h.Page();
        ASSERT_FALSE(page.isNull());
        const int viewport =
            h.w->findChild<QScrollArea*>(QStringLiteral("Picture1"))->viewport()->width();
        EXPECT_EQ(page.width(), std::lround(viewport * h.w->devicePixelRatioF()));
        EXPECT_NEAR(double(page.height()) / page.width(), 297.0 / 210.0, 0.05);
        EXPECT_TRUE(QFile::exists(PlanSketchPath(h.dir.path())));
        EXPECT_TRUE(QFile::exists(JoinPath(h.dir.path(), NmDiagramFileName())));
        for (int i = 1; i <= h.s.Liczba_przyp; ++i) {
            EXPECT_EQ(QFile::exists(StressSketchPath(h.dir.path(), i)), IsPartlyCompressed(h.s, i));
        }
        EXPECT_FALSE(QFile::exists(PagePicturePath(h.dir.path())));
    }
}

// Every page of the report on screen: six cases and an anchor block of long lines fill three
// pages, one below the other. The keys move through them and the page panel says which is in
// view, numbered on from the first page's number; no page picture is left behind.
TEST(ResultsWindowStart, ShowsEveryPageAndTheKeysMoveThroughThem) {
    Harness h(test::SixCases());
    h.s.Dobor_liczba = 10;
    for (int i = 1; i <= 10; ++i) {
        h.s.Dobor_teksty[i] =
            QStringLiteral("Kotwa %1: ").arg(i) +
            QString(60, u'x').replace(QStringLiteral("xxxxx"), QStringLiteral("wiersz dlugi "));
    }
    h.Start();
    auto* view = h.w->findChild<QScrollArea*>(QStringLiteral("Picture1"));
    ASSERT_TRUE(view);
    const QList<QLabel*> pages = view->widget()->findChildren<QLabel*>();
    ASSERT_EQ(pages.size(), 3);
    for (const QLabel* page : pages) {
        EXPECT_FALSE(page->pixmap().isNull());
    }
    EXPECT_FALSE(QFile::exists(PagePicturePath(h.dir.path(), 2)));
    QApplication::processEvents();
    EXPECT_EQ(h.Panel(2)->text(), QStringLiteral(" Strona 3 (1 z 3)"));
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(h.Panel(2)->text(), QStringLiteral(" Strona 5 (3 z 3)"));
    EXPECT_EQ(view->verticalScrollBar()->value(),
              std::min(pages[2]->y(), view->verticalScrollBar()->maximum()));
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(h.Panel(2)->text(), QStringLiteral(" Strona 3 (1 z 3)"));
    // PageDown reaches the second page's top, by way of the rest of the first when it is taller
    // than the view.
    for (int i = 0; i < 3 && view->verticalScrollBar()->value() < pages[1]->y(); ++i) {
        QTest::keyClick(view, Qt::Key_PageDown);
    }
    EXPECT_EQ(view->verticalScrollBar()->value(), pages[1]->y());
    EXPECT_EQ(h.Panel(2)->text(), QStringLiteral(" Strona 4 (2 z 3)"))
        << h.Panel(2)->text().toStdString();
    QTest::keyClick(view, Qt::Key_PageUp);
    EXPECT_EQ(h.Panel(2)->text(), QStringLiteral(" Strona 3 (1 z 3)"));
}

// A failure at the start says which and leaves the window usable: without the print program
// the verdict shows all the same; with a directory where the program directory keeps the plan
// sketch no page is drawn.
TEST(ResultsWindowStart, AFailureSaysWhichAndLeavesTheWindowUsable) {
    for (const bool printProgram : {false, true}) {
        SCOPED_TRACE(printProgram ? "a directory where the sketch is kept" : "no print program");
        Harness h(kPassing, printProgram);
        if (printProgram) {
            QFile::remove(h.File("Piersc.bmp"));
            QDir(h.dir.path()).mkdir(QStringLiteral("Piersc.bmp"));
        }
        h.Start();
        ASSERT_EQ(h.prompter.told.size(), 1);
        EXPECT_TRUE(h.prompter.told[0].startsWith(
            printProgram
                ? u"Vardel 2005|Jakiś problem 481\n\nNie można zapisać pliku "_s
                : u"Vardel 2005|Jakiś problem 481\n\nNie można uruchomić programu drukującego"_s))
            << h.prompter.told[0].toStdString();
        EXPECT_TRUE(printProgram || h.Panel(3)->text() == u"OK");
        EXPECT_TRUE(h.Page().isNull());
        EXPECT_TRUE(h.w->isVisible());
        h.Trigger("mnuKoniec");
        EXPECT_EQ(h.ended, 1);
    }
}

// The page number, project name and designation through the status bar and the menu: what is
// asked, what is kept, and whether the page picture is drawn again.
TEST(ResultsWindowCommands, StatusBarPanelsPageNumberAndTitle) {
    const QString page = QStringLiteral("Podaj nr strony");
    const QString project = QStringLiteral("Podaj nazwe projektu");
    struct Row {
        const char* name;
        const char* command;    // "Panel<n>" or a menu command
        QString question = {};  // the first question; the designation follows unless it is one
        std::optional<QString> answer = {};
        Int16 strona = 3;
        QString project = QStringLiteral("Hala H-2");
        QString designation = QStringLiteral("SF-1");
        bool refused = false;  // a message says the answer was refused
        bool ends = false;     // a refused or cancelled page number ends the command
        bool rendered = true;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "page 7", .command = "Panel2", .question = page, .answer = u"7"_s, .strona = 7},
        {.name = "not a number", .command = "Panel2", .question = page, .answer = u"siedem"_s,
         .refused = true, .ends = true, .rendered = false},
        {.name = "page 9 redraws", .command = "mnuNrstrony", .question = page, .answer = u"9"_s,
         .strona = 9},
        {.name = "a fraction", .command = "mnuNrstrony", .question = page, .answer = u"2.5"_s,
         .refused = true, .ends = true, .rendered = false},
        {.name = "beyond 16 bits", .command = "mnuNrstrony", .question = page,
         .answer = u"40000"_s, .refused = true, .ends = true, .rendered = false},
        {.name = "page cancelled", .command = "mnuNrstrony", .question = page,
         .answer = std::nullopt, .ends = true, .rendered = false},
        {.name = "project", .command = "Panel4", .question = project, .answer = u"Hala H-3"_s,
         .project = u"Hala H-3"_s},
        {.name = "project cancelled empties it", .command = "Panel4", .question = project,
         .answer = std::nullopt, .project = QString()},
        {.name = "designation asked once", .command = "Panel5", .question = kDesignationPrompt,
         .answer = u"SF-9"_s, .designation = u"SF-9"_s},
        {.name = "designation cancelled keeps it", .command = "Panel5",
         .question = kDesignationPrompt, .answer = std::nullopt},
        {.name = "title asks once and redraws", .command = "mnuTytul",
         .question = kDesignationPrompt, .answer = u"SF-9"_s, .designation = u"SF-9"_s},
        {.name = "verdict panel only redraws", .command = "Panel3"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Harness h;
        h.Start();
        const qint64 before = h.Page().cacheKey();
        h.prompter.answers = {row.answer};
        const QString command = QString::fromLatin1(row.command);
        if (command.startsWith(u"Panel")) {
            QTest::mouseClick(h.Panel(command.back().digitValue()), Qt::LeftButton);
        } else {
            h.Trigger(row.command);
        }
        QStringList asked;
        if (!row.question.isEmpty()) {
            asked << row.question;
        }
        if (row.question != kDesignationPrompt && command != u"Panel3" && !row.ends) {
            asked << kDesignationPrompt;
        }
        EXPECT_EQ(h.prompter.asked, asked);
        EXPECT_EQ(h.prompter.told.size(), row.refused ? 1 : 0);
        EXPECT_EQ(h.s.Strona, row.strona);
        // The N–M diagram takes a second page.
        EXPECT_EQ(h.Panel(2)->text(), QStringLiteral(" Strona %1 (1 z 2)").arg(row.strona));
        EXPECT_EQ(h.Panel(4)->text(), row.project);
        EXPECT_EQ(h.w->header().Teksty_nagl[4], row.project);
        EXPECT_EQ(h.Panel(5)->text(), row.designation);
        EXPECT_EQ(h.w->header().Teksty_nagl[7], row.designation);
        EXPECT_EQ(h.Page().cacheKey() != before, row.rendered);
        EXPECT_FALSE(h.Page().isNull());
    }
}

TEST(ResultsWindowCommands, ReturnAndEnd) {
    const struct {
        const char* name;
        const char* action;  // nullptr: the close box
        std::optional<QByteArray> status;
        Int16 strona;
        int ended;
    } rows[] = {
        {"return without a status file", "mnuPowrot", std::nullopt, 3, 0},
        {"return after a proper print", "mnuPowrot", QByteArray("1, 5\r\n"), 0, 0},
        {"return after a failed print", "mnuPowrot", QByteArray("0, 5\r\n"), 3, 0},
        {"close box returns", nullptr, QByteArray("1, 5\r\n"), 0, 0},
        {"end", "mnuKoniec", std::nullopt, 3, 1},
        {"end from the file menu", "mnuKoniec2", std::nullopt, 3, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Harness h;
        h.Start();
        // The print program leaves its status file after every page picture.
        if (row.status) {
            test::WriteBytes(h.File("W_X.txt"), *row.status);
        } else {
            QFile::remove(h.File("W_X.txt"));
        }
        if (row.action) {
            h.Trigger(row.action);
        } else {
            h.w->close();
        }
        h.ProcessDeletes();
        EXPECT_TRUE(h.w.isNull());
        EXPECT_EQ(h.s.Strona, row.strona);
        EXPECT_EQ(h.ended, row.ended);
        EXPECT_EQ(h.input.isVisible(), row.ended == 0);
    }
}

// Answers the next file dialog with `path`, or cancels it when `path` is empty.
void AnswerFileDialog(const QString& path,
                      const QString& title = u"Podaj nazwę pliku tekstowego"_s) {
    struct Answer {
        bool given = false;
        QPointer<QFileDialog> dialog;  // the one answered, until it closes
        int waited = 0;
    };
    auto* timer = new QTimer;
    auto answer = std::make_shared<Answer>();
    QObject::connect(timer, &QTimer::timeout, [timer, path, title, answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (answer->given && dialog != answer->dialog) {
            // Its dialog has closed: never answer the next one.
            timer->stop();
            timer->deleteLater();
            return;
        }
        if (!dialog || (dialog->windowTitle() != title && ++answer->waited < 300)) {
            return;
        }
        // Answered again while it stays open: a dialog still loading may miss the first answer.
        answer->given = true;
        answer->dialog = dialog;
        EXPECT_EQ(dialog->windowTitle(), title);
        if (path.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    timer->start(10);
}

// The text, RTF and Word exports through their save dialogs. A designation not given at the start
// is asked once, by the first export, even when its dialog is cancelled. The Word export ends
// with its advice on viewing the document (its failures are the export's tests').
TEST(ResultsWindowCommands, Exports) {
    Harness h;
    h.s.Tryb_RTF = 1;
    h.Start({std::nullopt});
    AnswerFileDialog(QString());
    h.prompter.answers = {QStringLiteral("SF-4")};
    h.Trigger("mnuZapisztxt");
    EXPECT_EQ(h.Panel(5)->text(), QStringLiteral("SF-4"));
    EXPECT_FALSE(QFile::exists(h.File("Wyniki.txt")));
    // The text as written before the RTF moves the page number on (its sketch row and case do
    // not fit under the ring and forces on the first page).
    const QByteArray text = TextExportBytes(h.s, h.w->lines(), h.w->header(), QLocale());
    // The names the dialogs propose: a dialog's own name field may win over a name given early.
    const struct {
        const char* action;
        const char* file;
        QString title;
        QByteArray begins;
    } rows[] = {
        {"mnuZapisztxt", "Wyniki.txt", u"Podaj nazwę pliku tekstowego"_s, ""},
        {"mnuZapiszrtf", "Wyniki.rtf", u"Podaj nazwę pliku w formacie rtf"_s, "{\\rtf1"},
        {"mnuZapiszdoc", "Wyniki.docx", u"Podaj nazwę dokumentu Word'a"_s, "PK"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        h.prompter.told.clear();
        AnswerFileDialog(h.File(row.file), row.title);
        h.Trigger(row.action);
        EXPECT_TRUE(test::ReadAll(h.File(row.file)).startsWith(row.begins));
        const int advice = QByteArray(row.action) == "mnuZapiszdoc" ? 1 : 0;
        EXPECT_EQ(h.prompter.told.size(), advice) << h.prompter.told.join(u"\n"_s).toStdString();
    }
    EXPECT_EQ(h.prompter.asked, QStringList{kDesignationPrompt});
    EXPECT_EQ(test::ReadAll(h.File("Wyniki.txt")), text);
    EXPECT_EQ(h.s.Strona, 4);
}

// Printing on this test machine fails: no print server is reachable, and the print program,
// without a screen, refuses its dialogs. Each failure is said in a message box, with the reason
// the print program gave.
TEST(ResultsWindowCommands, PrintFailuresAreSaid) {
    const QByteArray saved = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", QDir::temp().filePath(QStringLiteral("vardel-no-cups.sock")).toUtf8());
    const auto restore = qScopeGuard(
        [&saved] { saved.isNull() ? qunsetenv("CUPS_SERVER") : qputenv("CUPS_SERVER", saved); });
    const struct {
        const char* action;
        bool printProgram;
        QString start;
    } rows[] = {
        {"mnuDrukuj", true,
         QStringLiteral("Vardel 2005|Problem z drukarką\n\nNie ma drukarki domyślnej.\n"
                        "(there is no default printer)")},
        {"mnuDrukujw", true, QStringLiteral("Vardel Ok|Problem z wyborem drukarki\n\n")},
        {"mnuZapiszEMF", true, QStringLiteral("Vardel 2005|Strona nie została zapisana.")},
        {"mnuDrukuj", false,
         QStringLiteral("Vardel 2005|Problem z drukarką\n\nNie można uruchomić")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        Harness h(kPassing, row.printProgram);
        h.Start();
        h.prompter.told.clear();
        h.Trigger(row.action);
        EXPECT_EQ(h.prompter.asked, QStringList{kDesignationPrompt});
        ASSERT_EQ(h.prompter.told.size(), 1);
        EXPECT_TRUE(h.prompter.told[0].startsWith(row.start)) << h.prompter.told[0].toStdString();
    }
}

TEST(ResultsWindowCommands, HelpOpensAtItsTopic) {
    Harness h;
    h.Start();
    h.Trigger("mnuPomoc");
    auto* browser = h.w->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->window()->isVisible());
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("100"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Okno wyników")));

    QFile::remove(h.File("Vardel.html"));
    browser->window()->hide();
    h.Trigger("mnuPomoc");
    EXPECT_EQ(h.prompter.told.size(), 1);
}

}  // namespace
}  // namespace vardel
