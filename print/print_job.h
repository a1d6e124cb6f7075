// Running the print program on the page files: printing, saving the page, and the page picture
// of the results window.
#pragma once

#include "print/page_files.h"
#include "print/page_picture.h"

#include <QImage>
#include <QProcess>
#include <QString>

#include <vector>

namespace vardel {

// The print program in the program directory.
QString PrintProgramPath(const QString& programDir);

// Waits for a started process, at most `timeoutMs` milliseconds (-1: no limit). True when the
// wait ended normally: the process ended, or the time limit passed. False when there was nothing
// to wait on: the process never started.
bool Czekaj_na_proces(QProcess& process, int timeoutMs);

// Starts `program` with `arguments` (no shell in between; the working directory is inherited)
// and waits for it without a time limit. A program that cannot be started, that crashes or that
// ends with a non-zero exit code is a failure with a message: for the print program's exit
// statuses (print/print_exit.h) the reason in the program's words and the print program's own
// last line. A cancelled dialog is no failure to tell: `cancelled`, without a message.
PrintResult StartAndWait(const QString& program, const QStringList& arguments);

// A print or save job: writes the job file and the page files, then runs the print program on
// the job file and waits for it.
PrintResult RunPrintJob(PrintMode mode, const PageSource& src);

struct PagePreview {
    bool ok = false;
    QString message;            // why there is no picture, in the program's words
    QImage page;                // the rendered first page, `widthPx` wide
    std::vector<QImage> pages;  // every page of the report, the first too
};

// The page pictures of the results window: writes the page files and a picture-file job (the
// short mode prefix for the status-bar commands), runs the print program, draws $a1.emf and the
// pictures of the further pages and deletes them. A picture left over from an earlier run is
// removed first, so that a failed run never shows a stale page.
PagePreview RenderPagePreview(bool shortPrefix, const PageSource& src, int widthPx = 794);

}  // namespace vardel
