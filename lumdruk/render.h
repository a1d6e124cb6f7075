// Drawing laid-out pages with QPainter, and the page files that the print program writes.
#pragma once

#include "lumdruk/layout.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QString>

#include <vector>

class QPrinter;

namespace vardel::lumdruk {

// Draws one page. The painter's unit must be one millimetre with (0, 0) the paper's top-left
// corner; the painter's state is left as it was.
void PaintPage(QPainter& painter, const Page& page);

// The page on a white A4 picture at `dpi`.
QImage RenderPageImage(const Page& page, double dpi);

// The bytes of a PDF of every page; empty when the PDF could not be started.
QByteArray PdfBytes(const std::vector<Page>& pages);

// Page files. Each is written whole or not at all; false with a message in `error` otherwise.
bool WritePdf(const QString& path, const std::vector<Page>& pages, QString* error);
bool WriteSvg(const QString& path, const Page& page, QString* error);
bool WritePng(const QString& path, const Page& page, double dpi, QString* error);
// emf.cpp; bitmaps at most `maxPixelsPerMm` fine when that is above 0.
bool WriteEmf(const QString& path, const Page& page, QString* error, double maxPixelsPerMm = 0);

// The file formats that a save can choose by extension.
enum class SaveFormat { Unknown, Emf, Pdf, Svg, Png };
SaveFormat FormatForPath(const QString& path);

// Saves the pages in the format that the path's extension names. PDF holds every page; the
// one-page formats write the first page to `path` and each further page beside it as
// "<name>-<page number>.<ext>". Returns the number of pages written (0 on failure).
int SavePages(const QString& path, const std::vector<Page>& pages, QString* error);

// Prints every page on a printer that is set up (name, copies ...); the paper is A4 and the
// page is placed from the paper's edge. False when the printer cannot be started.
bool PrintPages(QPrinter& printer, const std::vector<Page>& pages, QString* error);

}  // namespace vardel::lumdruk
