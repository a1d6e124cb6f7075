// The report saved as plain text: the page header texts, the input data, the load table, a
// block per load case and the summary over the cases; UTF-8, one report line per file line, each
// ended by CR LF, without page breaks.
//
// A case block is the case's title, the neutral-axis line (partly compressed sections only), the
// bolt line, the concrete line, the concrete note and, when the last calculation checked the
// case's horizontal force, its verdict; then a blank line. The omega symbol of the note is
// written in words ("omega u" when Norma = 1, "omega d" otherwise) followed by " = " and the
// ratio. A case without a note keeps its note line, holding the single blank that stands for "no
// note", so that every block has the same shape.
//
// The input data are written whole (all seven lines, as the page shows them) and the load table
// follows them directly: the heading Naglowek_txt repeats the bolt heading, which already stands
// among the input-data lines.
#pragma once

#include "report/report_lines.h"
#include "state/design_case.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace vardel {

// The lines of the text export, without line ends.
QStringList TextExportLines(const DesignCase& s, const ReportLines& lines,
                            const HeaderTexts& header, const QLocale& locale);

// The file's bytes: the lines in UTF-8, each ended by CR LF.
QByteArray TextExportBytes(const DesignCase& s, const ReportLines& lines, const HeaderTexts& header,
                           const QLocale& locale);

// Writes the text export to `path`, whole or not at all: an existing file is replaced only when
// the new one has been written completely. Returns an empty string on success, else a message
// for the user naming the file and the reason.
[[nodiscard]] QString WriteTextExport(const QString& path, const DesignCase& s,
                                      const ReportLines& lines, const HeaderTexts& header,
                                      const QLocale& locale);

// The save dialog's settings for the text export.
struct TextExportDialog {
    QString title = QStringLiteral("Podaj nazwę pliku tekstowego");
    QString fileName = QStringLiteral("Wyniki");
    QString defaultSuffix = QStringLiteral("txt");
    QString filter = QStringLiteral("plik wyników (*.txt);;wszystkie pliki (*)");
};

}  // namespace vardel
