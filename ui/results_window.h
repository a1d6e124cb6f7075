// The results window: the composed report as a page picture, the verdict and the commands that
// print and save it. It is opened by the input window after a calculation without a stop.
#pragma once

#include "print/page_files.h"
#include "print/run_folder.h"
#include "report/report_lines.h"
#include "state/design_case.h"
#include "state/prompter.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QToolButton;
class QDialog;

namespace vardel {

class PageView;
class NmChartTab;
struct ReportVerdict;

class ResultsWindow : public QMainWindow {  // object name "VardelWynOK"
    Q_OBJECT

  public:
    // `s` is the program's one design case, calculated. `programDir` is the directory the program
    // reads its files from and writes its sketches, page files and status file into.
    // `inputWindow` is hidden while this window is open and shown again by the return command.
    // `endProgram` is what the two end commands call after this window is hidden: it writes the
    // settings file from the input window's fields and ends the program.
    ResultsWindow(DesignCase& s, const QString& programDir, QWidget* inputWindow,
                  std::function<void()> endProgram);
    ~ResultsWindow() override;

    // The start sequence: composes the report, saves the sketches, asks for the designation,
    // renders the page picture and shows the verdict. Shows the window (not modal) and hides the
    // input window. A failure shows its message box and leaves the window usable.
    void Start();

    // Questions and messages go through `prompter` instead of dialogs of this window (the tests
    // answer from a script). The window keeps using it until it is replaced; it must outlive the
    // window or be replaced first.
    void SetPrompter(Prompter& prompter) { prompter_ = &prompter; }
    Prompter& prompter() { return *prompter_; }

    // Refreshes the page header texts, asking for the designation (Naglowek), and asks for the
    // designation alone, showing it in the status bar (Nazwa_zadania).
    void Naglowek();
    void Nazwa_zadania();

    // Renders the page picture anew through the print program and lays the view out again; says
    // so in a message box when there is no picture. True when a new picture is shown.
    bool RenderPreview(bool shortPrefix);

    // What the exports and the anchor selection read: the report as composed at the start, the
    // header texts, and the page source the print program is fed from.
    DesignCase& state() { return s_; }
    const ReportLines& lines() const { return lines_; }
    const HeaderTexts& header() const { return header_; }
    QString programDir() const { return programDir_; }
    // Where this window draws its sketches and page files; empty (the program directory) when
    // no folder of its own could be made.
    QString runDir() const { return runFolder_.ok() ? runFolder_.path() : QString(); }
    PageSource pageSource() const;

    // The RTF export, the Word export and the anchor selection, whose captions and enabled
    // states the start sets (RTF by Tryb_RTF, the anchor selection by the verdict).
    QAction* mnuZapiszrtf() const { return mnuZapiszrtf_; }
    QAction* mnuZapiszdoc() const { return mnuZapiszdoc_; }
    QAction* mnuDobor() const { return mnuDobor_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildStatusBar();
    void SetPanelText(int panel, const QString& text);
    void ShowPageNumber();
    void SetHeaderWithoutAsking();
    void ShowPages(std::vector<QImage> pages);
    void ShowVerdict(const ReportVerdict& verdict);
    int PagePixelWidth() const;
    void Leave();

    // Menu commands.
    void Print(bool chooseprinter);
    void SaveEmf();
    void SaveText();
    void SaveRtf();
    void SaveWord();
    void SelectAnchor();
    void Title();
    void PageNumber();
    void ShowHelp();
    void Return();
    void End();
    void PanelClick(int panel);

    // Asks for the page number; true when a valid new number was stored.
    bool AskPageNumber();

    DesignCase& s_;
    QString programDir_;
    RunFolder runFolder_;
    QPointer<QWidget> inputWindow_;
    std::function<void()> endProgram_;
    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_ = nullptr;

    ReportLines lines_;
    HeaderTexts header_;
    bool leaving_ = false;

    PageView* Picture1_ = nullptr;  // the pages one below the other; the first is "Picture2"
    NmChartTab* nmTab_ = nullptr;
    QToolButton* panels_[6] = {};  // 1..5
    QAction* mnuZapiszrtf_ = nullptr;
    QAction* mnuZapiszdoc_ = nullptr;
    QAction* mnuDobor_ = nullptr;
    QPointer<QDialog> help_;
};

}  // namespace vardel
