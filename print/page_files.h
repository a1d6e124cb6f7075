// The files through which the program hands a report page to the print program: the job file
// W_KK.txt (what to do, which page number, which page files) and the two page files, a small
// drawing language of one command per line, some commands followed by one data line.
//
// All files are UTF-8 with CR LF line ends and are replaced whole or not at all. Paths inside
// them are full paths with "/", absolute even when the program directory was given relative.
// Coordinates are millimetres from the top-left corner of the page header frame; the y values
// the program computes are written with one decimal and a point.
#pragma once

#include "report/report_lines.h"
#include "state/design_case.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <utility>

namespace vardel {

// What the print program is asked to do. The "short" preview forms lack the comma before the
// page number; the status-bar commands use them. The clipboard forms exist for completeness:
// on this platform the page picture always comes back as the file $a1.emf.
enum class PrintMode {
    Print,                  // "-1, ...": the default printer
    PrintWithChoice,        // "1, ...": the printer chosen in the print program's dialog
    SaveEmf,                // " 2, ...": the print program saves the page as a picture file
    ClipboardPreview,       // "3, ..."
    ClipboardPreviewShort,  // "3, ... " without the last comma
    PicturePreview,         // "-2, ...": the page picture written to $a1.emf
    PicturePreviewShort,    // "-2, ... " without the last comma
};

// The exact mode prefix that the page number follows on the first line of the job file.
QString ModePrefix(PrintMode mode);

// Everything the page files are written from. The references must outlive the call.
struct PageSource {
    const DesignCase& state;
    const ReportLines& lines;
    const HeaderTexts& header;
    QString programDir;  // the installed pictures and the print program
    QLocale locale;      // for the report numbers of the body; computed positions never use it
    // The run's own folder: the page files, the job file, the page picture and the pictures the
    // run draws. Empty: the program directory.
    QString runDir = {};
};

// The folder of `src` where the page and job files go.
QString RunDirOf(const PageSource& src);

// File names in the program directory.
QString JobFilePath(const QString& programDir);         // W_KK.txt
QString PageFilePath(const QString& programDir);        // VARDELOK.wyd
QString HeaderPageFilePath(const QString& programDir);  // VARDELOK1.wyd
QString PagePicturePath(const QString& programDir);     // $a1.emf
// The page picture of page `index` (1 the first) of the preview: $a1.emf, $a2.emf, ...
QString PagePicturePath(const QString& programDir, int index);

// Appends the 24 lines of the page header (frame, standard line, project, date, designation,
// page label, end of header).
void WritePageHeader(QStringList& out, const DesignCase& s, const HeaderTexts& header);

// The body of the full page: pictures, input data, load table, one block per load case, the
// summary over the cases, the chosen anchor. Appended to `out`.
void WritePageBody(QStringList& out, const PageSource& src);

// The three lines of the job file.
QStringList JobFileLines(PrintMode mode, Int16 page, const QString& programDir);

// A result for the caller: ok, or a message in the program's words saying what went wrong.
struct PrintResult {
    bool ok = true;
    QString message;
    bool cancelled = false;  // the user cancelled a dialog of the print program: nothing to say
    static PrintResult Failure(QString why) { return {false, std::move(why)}; }
};

// Writes VARDELOK1.wyd (header alone) and VARDELOK.wyd (header and body).
PrintResult WritePageFiles(const PageSource& src);

// Writes W_KK.txt.
PrintResult WriteJobFile(PrintMode mode, Int16 page, const QString& programDir);

// Joins lines with CR LF (a CR LF after the last too) as UTF-8 and replaces `path` with them
// whole. A CR or LF inside a line would split one data line into two and shift every command
// after it, so each is written as a blank.
PrintResult WriteLinesWhole(const QString& path, const QStringList& lines);

// The bytes WriteLinesWhole writes.
QByteArray LinesBytes(const QStringList& lines);

}  // namespace vardel
