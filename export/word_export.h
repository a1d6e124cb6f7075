// The report saved as a Word document (.docx): the page header texts, the program's two
// pictures, the input data, the load table, a section per load case with its sketch, the
// extreme values over the cases, the N–M diagram in the text's flow and, when an anchor was
// confirmed, its description.
//
// The document is built in the order and with the picture offsets of the program's first Word
// export, which sent lines of text and moved pictures by points, counting lines of 8 pt text
// (9.225 pt); the document written here sets that text size itself. Beyond those lines, it
// carries all seven input-data lines and each case's results (bolts, concrete, the concrete note
// with its omega value, the horizontal-force verdict), without which the engineer's document
// would not say whether the design holds. To keep the 13 lines above the pictures that their
// offsets count on, the header leaves out its two unused texts and the load table is not
// preceded by Naglowek_txt, which repeats the bolt heading already among the input-data lines.
//
// The sketch of a case is its stress sketch (SzkicOK<i>.bmp) with its neutral-axis line when the
// section is partly compressed, else the picture of a wholly compressed ring (gkrysOK.bmp)
// without that line, as on the page and in the RTF file.
#pragma once

#include "export/word_document.h"
#include "report/report_lines.h"
#include "state/design_case.h"

#include <QLocale>
#include <QString>

namespace vardel {

// Everything the document is built from. The references must outlive the call.
struct WordSource {
    const DesignCase& state;
    const ReportLines& lines;
    const HeaderTexts& header;
    QString programDir;  // where the installed pictures are read from
    QLocale locale;
    QString runDir = {};  // where the run drew its sketches; empty: the program directory
};

// How far the sketches of cases 1 to 3 lie below the top of the document, in points: below the
// pictures and the Liczba_przyp + 4 lines of the load table and the first case title.
int SketchRowTop(int cases);

// Builds the report into `doc`. Empty on success, else why a picture could not be added.
QString BuildWordReport(WordDocument& doc, const WordSource& src);

struct WordExportResult {
    bool ok = false;
    QString caption;  // of the message box the window shows afterwards, whether ok or not
    QString message;  // the recommendation on how to view the document, or what went wrong
};

// The export of the results window: builds the document and writes it to `path`, whole or not
// at all. Before the save dialog the window asks for the base-plate designation when none has
// been given (EnsureDesignation).
WordExportResult WriteWordExport(const QString& path, const WordSource& src);

// The save dialog's settings for the Word export.
struct WordExportDialog {
    QString title = QStringLiteral("Podaj nazwę dokumentu Word'a");
    QString fileName = QStringLiteral("Wyniki");
    QString defaultSuffix = QStringLiteral("docx");
    QString filter = QStringLiteral("plik wyników (*.docx);;wszystkie pliki (*)");
};

}  // namespace vardel
