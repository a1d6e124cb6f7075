// The report saved as an RTF file for a word processor: the page header, the ring and force
// pictures, the input data, the load table, a section per load case with its sketch, the
// summary over the cases and the N–M diagram.
//
// The file keeps the texts, order and page counting of the program's first RTF export. Where
// that export's framing made word processors put pictures over text (framed paragraphs never
// ended, properties never reset), pictures now stand in the text's flow: the ring and the forces
// side by side, a row of sketches for type A and each case beside its sketch for type B, each
// in a table row without borders (RTF 1.x tables, which LibreOffice Writer and AbiWord lay out
// as Word does).
// Its two syntax slips are mended (the colour table's third entry, \margl); the page label
// stands at a right tab stop instead of after 126 blanks, which proportional fonts wrap; a blank
// line follows each page header; omega is written as the Unicode letter. On top of it:
//  - the file is 7-bit: report texts are escaped (\\ \{ \}), their letters written as \'hh in
//    Windows-1250 or \uN? beyond it;
//  - every picture field still names its bitmap, but also carries the picture itself (a PNG blip)
//    as the field's result, so that the document shows it wherever it is saved;
//  - a case block ends with the case's horizontal-force verdict when the force was checked, and
//    the concrete note reads symbol, " = ", ratio.
//
// The load-case section comes in two layouts chosen by Tryb_RTF: type A (1) puts the sketches of
// up to three cases in a row above their blocks, type B (2) puts each sketch beside its case; any
// other value writes no load-case section. The export counts its pages in twips: every text line
// has an exact line height (a line the reader wraps, measured with Arial's widths, counts as the
// lines it takes), a row of pictures the height of its tallest picture as the file gives it, and a
// block (a case, a row of sketches with its first case, the summary) that would pass the bottom
// margin goes to a new page after the repeated page header.
#pragma once

#include "export/embedded_picture.h"
#include "report/report_lines.h"
#include "state/design_case.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace vardel {

// Everything the RTF file is written from. The references must outlive the call.
struct RtfSource {
    const DesignCase& state;  // Strona is the number of the first page; Tryb_RTF the layout
    const ReportLines& lines;
    const HeaderTexts& header;  // as last refreshed; the export does not refresh them
    QLocale locale;
    QDateTime now;  // the date and time of the repeated page headers
};

struct RtfDocument {
    QByteArray bytes;  // empty when `failure` is set
    Int16 Strona = 1;  // the number of the last page written
    QString failure;   // a picture that could not be read
};

// The file's bytes, pictures taken from `pictures`.
RtfDocument ComposeRtf(const RtfSource& src, const PictureSource& pictures);

// A report text as RTF: ASCII as itself, \, { and } escaped, other characters as \'hh when
// Windows-1250 has them, else \uN? (N negative above 32767). Control characters become blanks:
// a line break inside a text would only end the file's line, not the paragraph.
QByteArray RtfText(QStringView text);

struct RtfExportResult {
    QString message;   // empty when the file was written, else for a message box
    Int16 Strona = 1;  // the page the status bar shows afterwards
};

// The export of the results window: composes the file with the pictures of `programDir` and
// writes it to `path` whole or not at all. On success the state's Strona becomes the number of
// the last page written, where the next print or export goes on; on failure nothing changes and
// the message names the file (or the picture) and the reason.
[[nodiscard]] RtfExportResult WriteRtfExport(const QString& path, DesignCase& s,
                                             const ReportLines& lines, const HeaderTexts& header,
                                             const QString& programDir, const QLocale& locale,
                                             const QDateTime& now, const QString& runDir = {});

// The text of the status bar's page panel.
QString PagePanelText(Int16 strona);

// The save dialog's settings for the RTF export. Before the dialog the window asks for the
// base-plate designation when none has been given (EnsureDesignation).
struct RtfExportDialog {
    QString title = QStringLiteral("Podaj nazwę pliku w formacie rtf");
    QString fileName = QStringLiteral("Wyniki");
    QString defaultSuffix = QStringLiteral("rtf");
    QString filter = QStringLiteral("plik wyników (*.rtf);;wszystkie pliki (*)");
};

}  // namespace vardel
