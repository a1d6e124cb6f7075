// One run of the print program: read the job, lay out the pages, do what the mode asks, and
// leave the status file W_X.txt beside the job file.
#pragma once

#include "lumdruk/layout.h"
#include "lumdruk/page_file.h"
#include "print/print_exit.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QPrinter;

namespace vardel::lumdruk {

// The choices a job may ask of the user. The program answers with dialogs; tests with scripts.
class JobUi {
  public:
    virtual ~JobUi() = default;
    // The file to save the page in (its extension picks the format); empty when cancelled.
    virtual QString AskSavePath(const QString& directory) = 0;
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool ChoosePrinter(QPrinter& printer) = 0;
    // Whether the dialogs can be shown at all (not without a screen): a job that needs one is
    // refused instead of taken as cancelled.
    virtual bool CanAsk() const { return true; }
};

struct JobResult {
    bool ok = false;
    int last_page = 0;                   // number of the last page printed or saved
    QString message;                     // why the job failed, in the program's words
    PrintExit exit = PrintExit::Failed;  // the program's exit status: Done when ok
};

// The page picture of the first page, $a1.emf; `index` names the picture of a further page
// ($a2.emf, ...), which mode -2 writes beside it.
inline QString PagePictureName(int index = 1) {
    return QStringLiteral("$a%1.emf").arg(index);
}

// Removes $a1.emf and the pictures of further pages after it.
void RemovePagePictures(const QString& directory);

// Reads both page files and lays them out; the first page carries `firstPage`.
// Nothing, with a message, when the page file cannot be read; a missing header-only file is
// noted and the page file's header serves instead. Notes go to `notes`.
std::optional<std::vector<Page>> RenderPageFiles(const QString& pageFile, const QString& headerFile,
                                                 int firstPage, QStringList* notes, QString* error);

// Runs the job file at `jobPath` and writes the status file in the job file's directory
// ("S, P" CR LF: S = 1 and the last page on success, S = 0 on failure). Notes and messages go
// to `log`, one line each.
JobResult RunJob(const QString& jobPath, JobUi& ui, const std::function<void(const QString&)>& log);

// Writes the status file W_X.txt in `directory`, whole or not at all.
bool WriteStatusFile(const QString& directory, bool ok, int page, QString* error);

}  // namespace vardel::lumdruk
