#include "ui/results_window.h"

#include "calc/en_calculation.h"
#include "charts/nm_chart.h"
#include "export/rtf_export.h"
#include "export/text_export.h"
#include "export/word_export.h"
#include "print/print_job.h"
#include "report/compose.h"
#include "report/header.h"
#include "sketches/bitmap_file.h"
#include "sketches/ring_sketches.h"
#include "state/numbers.h"
#include "texts/print_status.h"
#include "ui/anchor_window.h"
#include "ui/nm_chart_tab.h"
#include "ui/page_view.h"
#include "ui/qt_prompter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

namespace vardel {
namespace {

const QString kTitle = QStringLiteral("Vardel 2005");

// The help file in the program directory and the topic the window opens it at.
const QString kHelpFile = QStringLiteral("Vardel.html");
const QString kHelpTopic = QStringLiteral("100");

// Run-time errors of the start sequence are numbered as file errors have always been: 75 a file
// that could not be written, 481 a page picture that could not be made.
constexpr int kFileAccessError = 75;
constexpr int kPictureError = 481;

// The wait pointer while the print program works; the window takes no input meanwhile.
class BusyPointer {
  public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace

ResultsWindow::ResultsWindow(DesignCase& s, const QString& programDir, QWidget* inputWindow,
                             std::function<void()> endProgram)
    : s_(s),
      programDir_(programDir),
      inputWindow_(inputWindow),
      endProgram_(std::move(endProgram)),
      ownPrompter_(std::make_unique<QtPrompter>(this)),
      prompter_(ownPrompter_.get()) {
    setObjectName(QStringLiteral("VardelWynOK"));
    setWindowTitle(QStringLiteral("WY N I K I"));

    Picture1_ = new PageView(this);
    connect(Picture1_, &PageView::currentPageChanged, this, [this] { ShowPageNumber(); });
    setCentralWidget(Picture1_);

    BuildMenus();
    BuildStatusBar();
    nmTab_ = AddNmChartTab(*this, s_);  // the page in the first tab, the N-M diagram in the second

    // An A4 page at screen size, as tall as the screen allows.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(900, avail.width()), std::min(1100, avail.height() * 9 / 10));
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::BuildMenus() {
    auto command = [this](QMenu* menu, const char* name, const QString& caption,
                          void (ResultsWindow::*handler)()) {
        QAction* a = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (handler) {
            connect(a, &QAction::triggered, this, handler);
        }
        return a;
    };
    QMenu* mnuPlik = menuBar()->addMenu(QStringLiteral("&Plik"));
    mnuPlik->setObjectName(QStringLiteral("mnuPlik"));
    command(mnuPlik, "mnuNrstrony", QStringLiteral("Zmień &nr strony"), &ResultsWindow::PageNumber);
    mnuZapiszdoc_ = command(mnuPlik, "mnuZapiszdoc", QStringLiteral("Zapisz jako &DOC"),
                            &ResultsWindow::SaveWord);
    command(mnuPlik, "mnuZapiszEMF", QStringLiteral("Zapisz jako &EMF"), &ResultsWindow::SaveEmf);
    mnuZapiszrtf_ = command(mnuPlik, "mnuZapiszrtf", QStringLiteral("Zapisz jako &RTF"),
                            &ResultsWindow::SaveRtf);
    command(mnuPlik, "mnuZapisztxt", QStringLiteral("Zapisz jako &TXT"), &ResultsWindow::SaveText);
    mnuPlik->addSeparator();
    QAction* print = command(mnuPlik, "mnuDrukuj", QStringLiteral("&Drukuj"), nullptr);
    connect(print, &QAction::triggered, this, [this] { Print(false); });
    QAction* printWith = command(mnuPlik, "mnuDrukujw", QStringLiteral("D&rukuj..."), nullptr);
    connect(printWith, &QAction::triggered, this, [this] { Print(true); });
    mnuPlik->addSeparator();
    command(mnuPlik, "mnuKoniec2", QStringLiteral("&Zakończ"), &ResultsWindow::End);

    command(nullptr, "mnuTytul", QStringLiteral("&Tytuł"), &ResultsWindow::Title);
    command(nullptr, "mnuPowrot", QStringLiteral("&Powrót"), &ResultsWindow::Return);
    mnuDobor_ =
        command(nullptr, "mnuDobor", QStringLiteral("&Dobór kotwy"), &ResultsWindow::SelectAnchor);
    // No command of the program writes comments into the report: the item is kept, hidden.
    command(nullptr, "mnuKomentarz", QStringLiteral("Ko&mentarz"), nullptr)->setVisible(false);
    command(nullptr, "mnuKoniec", QStringLiteral("&Koniec"), &ResultsWindow::End);
    command(nullptr, "mnuPomoc", QStringLiteral("Pomo&c"), &ResultsWindow::ShowHelp);
}

void ResultsWindow::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    // Panel widths as the texts need them: the page label and the verdict short, the project
    // name and the designation taking the rest.
    const int stretch[6] = {0, 0, 0, 0, 3, 2};
    // Flat panels with a thin line between them, lit under the mouse: they read as a status bar
    // and still show that a click does something.
    bar->setStyleSheet(QStringLiteral(
        "QToolButton { border: none; border-right: 1px solid palette(mid); padding: 2px 10px; }"
        "QToolButton:hover { background: palette(midlight); }"));
    for (int n = 1; n <= 5; ++n) {
        auto* panel = new QToolButton(bar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(n));
        panel->setAutoRaise(true);
        panel->setToolButtonStyle(Qt::ToolButtonTextOnly);
        panel->setSizePolicy(n >= 4 ? QSizePolicy::Expanding : QSizePolicy::Preferred,
                             QSizePolicy::Preferred);
        panel->setMinimumWidth(n == 1 ? 24 : 80);
        panel->setCursor(Qt::PointingHandCursor);
        connect(panel, &QToolButton::clicked, this, [this, n] { PanelClick(n); });
        bar->addWidget(panel, stretch[n]);
        panels_[n] = panel;
    }
    panels_[1]->setToolTip(QStringLiteral("Odśwież obraz strony"));
    panels_[2]->setToolTip(QStringLiteral("Zmień numer strony"));
    panels_[3]->setToolTip(QStringLiteral("Wynik sprawdzenia; kliknięcie odświeża obraz strony"));
    panels_[4]->setToolTip(QStringLiteral("Zmień nazwę projektu"));
    panels_[5]->setToolTip(QStringLiteral("Zmień oznaczenie stopy"));
}

void ResultsWindow::SetPanelText(int panel, const QString& text) {
    panels_[panel]->setText(text);
}

void ResultsWindow::ShowPageNumber() {
    // The number of the page in view; with more than one page, which of them it is.
    const int count = Picture1_->PageCount();
    const int current = Picture1_->CurrentPage();
    QString text = QStringLiteral(" Strona ") +
                   PlainInt(std::clamp<long long>(s_.Strona + current, -32768, 32767));
    if (count > 1) {
        text += QStringLiteral(" (%1 z %2)").arg(current + 1).arg(count);
    }
    SetPanelText(2, text);
}

PageSource ResultsWindow::pageSource() const {
    return PageSource{s_, lines_, header_, programDir_, QLocale(), runDir()};
}

void ResultsWindow::Naglowek() {
    RefreshHeaderTexts(s_, header_, *prompter_, QDateTime::currentDateTime(), QLocale());
    SetPanelText(5, s_.Oznaczenie_stopy);
}

void ResultsWindow::Nazwa_zadania() {
    SetPanelText(5, AskDesignation(s_, *prompter_));
}

void ResultsWindow::SetHeaderWithoutAsking() {
    SetHeaderTexts(s_, header_, QDateTime::currentDateTime(), QLocale());
}

int ResultsWindow::PagePixelWidth() const {
    // The page takes the width of the viewport as the window opens, in device pixels, so that
    // its texts stay sharp on a high-density screen.
    const int logical = std::max(400, Picture1_->viewport()->width());
    return static_cast<int>(std::lround(logical * devicePixelRatioF()));
}

void ResultsWindow::ShowPages(std::vector<QImage> pages) {
    Picture1_->SetPages(std::move(pages), devicePixelRatioF());
    ShowPageNumber();
}

void ResultsWindow::ShowVerdict(const ReportVerdict& verdict) {
    SetPanelText(3, verdict.text);
    panels_[3]->setStyleSheet(verdict.passes ? QString()
                                             : QStringLiteral("color: #b00000; font-weight: bold"));
    mnuDobor_->setEnabled(verdict.passes);
}

bool ResultsWindow::RenderPreview(bool shortPrefix) {
    PagePreview preview;
    {
        BusyPointer busy;
        preview = RenderPagePreview(shortPrefix, pageSource(), PagePixelWidth());
    }
    if (!preview.ok) {
        prompter_->Tell(kTitle, preview.message);
        return false;
    }
    ShowPages(std::move(preview.pages));
    return true;
}

void ResultsWindow::Start() {
    FillReportHeadings(s_, lines_);
    mnuDobor_->setEnabled(false);
    switch (s_.Tryb_RTF) {
        case 0:
            mnuZapiszrtf_->setText(QStringLiteral("Zapisz jako RTF"));
            mnuZapiszrtf_->setEnabled(false);
            break;
        case 1:
            mnuZapiszrtf_->setText(QStringLiteral("Zapisz jako RTF (MSWord)"));
            mnuZapiszrtf_->setEnabled(true);
            break;
        case 2:
            mnuZapiszrtf_->setText(QStringLiteral("Zapisz jako RTF (StarOffice)"));
            mnuZapiszrtf_->setEnabled(true);
            break;
        default:
            break;
    }
    show();
    if (inputWindow_) {
        inputWindow_->hide();
    }
    ShowPageNumber();
    SetPanelText(4, s_.Naz_proj);
    SetPanelText(5, s_.Oznaczenie_stopy);
    Picture1_->Clear();

    Naglowek();

    struct Failure {
        int number;
        QString reason;
    };
    const std::optional<Failure> failure = [&]() -> std::optional<Failure> {
        // The wait pointer only from here: the designation question above is answered with
        // the ordinary one.
        BusyPointer busy;
        if (const QString e = SavePlanSketch(s_, RunDirOf(pageSource())); !e.isEmpty()) {
            return Failure{kFileAccessError, e};
        }
        QString sketchError;
        const ReportVerdict verdict = ComposeReport(s_, lines_, QLocale(), [&](int k) {
            const QString e = DrawStressSketch(s_, RunDirOf(pageSource()), k);
            if (sketchError.isEmpty()) {
                sketchError = e;
            }
        });
        ShowVerdict(verdict);
        if (!sketchError.isEmpty()) {
            return Failure{kFileAccessError, sketchError};
        }
        // The report's N–M diagram, of the cases as the checks above judged them; the tab shows
        // the same one.
        NmDiagram diagram = StateDiagram(s_, QLocale());
        if (const QString e = SaveNmReportPicture(diagram, QLocale(), RunDirOf(pageSource()));
            !e.isEmpty()) {
            return Failure{kFileAccessError, e};
        }
        nmTab_->Take(std::move(diagram));
        lines_.nmDiagram = true;
        PagePreview preview = RenderPagePreview(false, pageSource(), PagePixelWidth());
        if (!preview.ok) {
            return Failure{kPictureError, preview.message};
        }
        ShowPages(std::move(preview.pages));
        return std::nullopt;
    }();
    if (failure) {
        prompter_->Tell(kTitle, QStringLiteral("Jakiś problem ") +
                                    Format(failure->number, u"#####", QLocale()) +
                                    QStringLiteral("\n\n") + failure->reason);
    }
}

void ResultsWindow::Print(bool choosePrinter) {
    Naglowek();
    PrintResult r;
    {
        BusyPointer busy;
        r = RunPrintJob(choosePrinter ? PrintMode::PrintWithChoice : PrintMode::Print,
                        pageSource());
    }
    if (!r.ok && !r.cancelled) {
        // Said on screen: a line sent to the printer that has just failed would never be seen.
        if (choosePrinter) {
            prompter_->Tell(QStringLiteral("Vardel Ok"),
                            QStringLiteral("Problem z wyborem drukarki\n\n") + r.message);
        } else {
            prompter_->Tell(kTitle, QStringLiteral("Problem z drukarką\n\n") + r.message);
        }
    }
}

void ResultsWindow::SaveEmf() {
    Naglowek();
    PrintResult r;
    {
        BusyPointer busy;
        r = RunPrintJob(PrintMode::SaveEmf, pageSource());
    }
    if (!r.ok && !r.cancelled) {
        prompter_->Tell(kTitle, QStringLiteral("Strona nie została zapisana.\n\n") + r.message);
    }
}

namespace {

// The save dialog of an export, asking before it overwrites; nothing when cancelled.
template <typename Settings>
std::optional<QString> AskSavePath(QWidget* parent, const Settings& settings, const char* name) {
    QFileDialog dialog(parent, settings.title, QDir::homePath(), settings.filter);
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(settings.defaultSuffix);
    dialog.selectFile(settings.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

}  // namespace

void ResultsWindow::SaveText() {
    EnsureDesignation(s_, header_, *prompter_, QDateTime::currentDateTime(), QLocale());
    SetPanelText(5, s_.Oznaczenie_stopy);
    const auto path = AskSavePath(this, TextExportDialog{}, "cdlTekst");
    if (!path) {
        return;
    }
    const QString error = WriteTextExport(*path, s_, lines_, header_, QLocale());
    if (!error.isEmpty()) {
        prompter_->Tell(kTitle, error);
    }
}

void ResultsWindow::SaveRtf() {
    EnsureDesignation(s_, header_, *prompter_, QDateTime::currentDateTime(), QLocale());
    SetPanelText(5, s_.Oznaczenie_stopy);
    const auto path = AskSavePath(this, RtfExportDialog{}, "cdlRtf");
    if (!path) {
        return;
    }
    const RtfExportResult r = WriteRtfExport(*path, s_, lines_, header_, programDir_, QLocale(),
                                             QDateTime::currentDateTime(), runDir());
    if (!r.message.isEmpty()) {
        prompter_->Tell(kTitle, r.message);
    }
    // The page breaks of the file moved the page number on.
    ShowPageNumber();
}

void ResultsWindow::SaveWord() {
    EnsureDesignation(s_, header_, *prompter_, QDateTime::currentDateTime(), QLocale());
    SetPanelText(5, s_.Oznaczenie_stopy);
    const auto path = AskSavePath(this, WordExportDialog{}, "cdlWord");
    if (!path) {
        return;
    }
    const WordExportResult r =
        WriteWordExport(*path, WordSource{s_, lines_, header_, programDir_, QLocale(), runDir()});
    if (r.ok) {
        prompter_->Inform(r.caption, r.message);
    } else {
        prompter_->Tell(r.caption, r.message);
    }
}

void ResultsWindow::SelectAnchor() {
    const bool confirmed = RunAnchorSelection(s_, programDir_, this, runDir());
    if (confirmed && UsesEurocode(s_)) {
        // The anchor brought its embedment and head: the PN-EN checks and the verdict are the
        // confirmed anchor's.
        if (const std::optional<Stop> stop = CalculateEurocode(s_)) {
            prompter_->Tell(stop->title.isEmpty() ? kTitle : stop->title, stop->message);
        }
        ShowVerdict(ComposeReport(s_, lines_, QLocale()));
    }
    // Opening the selection dropped any earlier anchor block: the page shows what stands now.
    RenderPreview(false);
    if (confirmed) {
        mnuDobor_->setEnabled(false);
    }
}

void ResultsWindow::Title() {
    // The designation is asked once: a second question straight after the first would wipe
    // the answer on Cancel.
    Nazwa_zadania();
    SetHeaderWithoutAsking();
    RenderPreview(true);
}

bool ResultsWindow::AskPageNumber() {
    const std::optional<QString> answer =
        prompter_->AskText(QStringLiteral("Podaj nr strony"), kTitle, PlainInt(s_.Strona));
    if (!answer) {
        return false;
    }
    const std::optional<double> v = ParseNumber(*answer, QLocale());
    if (!v || *v != std::floor(*v) || *v < -32768 || *v > 32767) {
        prompter_->Tell(kTitle, QStringLiteral("Numer strony musi być liczbą całkowitą od -32768 "
                                               "do 32767. Zostaje strona %1.")
                                    .arg(s_.Strona));
        return false;
    }
    s_.Strona = static_cast<Int16>(*v);
    return true;
}

void ResultsWindow::PageNumber() {
    // A refused or cancelled number ends the command: nothing else is asked or drawn.
    if (!AskPageNumber()) {
        return;
    }
    ShowPageNumber();
    Naglowek();
    RenderPreview(true);
}

void ResultsWindow::PanelClick(int panel) {
    switch (panel) {
        case 2:
            if (!AskPageNumber()) {
                return;
            }
            ShowPageNumber();
            Naglowek();
            break;
        case 4: {
            const std::optional<QString> answer =
                prompter_->AskText(QStringLiteral("Podaj nazwe projektu"), kTitle, s_.Naz_proj);
            s_.Naz_proj = answer.value_or(QString());
            SetPanelText(4, s_.Naz_proj);
            Naglowek();
            break;
        }
        case 5:
            // Asked once, as for the title.
            Nazwa_zadania();
            SetHeaderWithoutAsking();
            break;
        default:
            break;
    }
    RenderPreview(true);
}

void ResultsWindow::ShowHelp() {
    const QString path = JoinPath(programDir_, kHelpFile);
    if (!QFile::exists(path)) {
        prompter_->Tell(
            kTitle, QStringLiteral("Nie ma pliku pomocy %1.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!help_) {
        help_ = new QDialog(this);
        help_->setObjectName(QStringLiteral("cdlHelp"));
        help_->setWindowTitle(QStringLiteral("Vardel – pomoc"));
        auto* layout = new QVBoxLayout(help_);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* browser = new QTextBrowser(help_);
        browser->setObjectName(QStringLiteral("HelpText"));
        browser->setOpenExternalLinks(true);
        layout->addWidget(browser);
        help_->resize(720, 640);
    }
    auto* browser = help_->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(kHelpTopic);
    browser->setSource(url);
    browser->scrollToAnchor(kHelpTopic);
    help_->show();
    help_->raise();
}

void ResultsWindow::Leave() {
    leaving_ = true;
    if (help_) {
        help_->close();
    }
    hide();
    deleteLater();
}

void ResultsWindow::Return() {
    // A run of the print program that ended properly resets the page number; without its
    // status file (nothing printed yet) the number stays as it is.
    if (const auto status = ReadPrintStatus(JoinPath(programDir_, PrintStatusFileName()))) {
        if (status->S > 0) {
            s_.Strona = 0;
        }
    }
    Leave();
    if (inputWindow_) {
        inputWindow_->show();
    }
}

void ResultsWindow::End() {
    Leave();
    if (endProgram_) {
        endProgram_();
    }
}

void ResultsWindow::closeEvent(QCloseEvent* event) {
    // Closed by its close box, the window returns to the input window: otherwise no window of
    // the program would be left and it could not be ended.
    if (!leaving_) {
        event->ignore();
        Return();
        return;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace vardel
