// Laying the drawing commands out on A4 pages.
//
// The header frame stands at kFrameLeft_mm / kFrameTop_mm from the paper's top-left corner.
// Texts are placed with their baseline at the given y; the text height is the font's em size.
//
// A body that runs past the bottom margin continues on further pages. Each continuation page
// starts with the header of the header-only page file, its page label carrying the next page
// number, and the body resumes kContinuationTop_mm below the top of that page's header frame:
// the first body item that did not fit (the one with the highest top edge among those that run
// past the margin) and everything below it move up by the same amount, so that the vertical
// distances within the body are kept. A block whose first lines would stand alone at the foot
// of a page moves to the next page whole when the space before it is clearly wider than the
// space between lines (see ParagraphBreak). No item is cut in two; an item taller than a whole
// page stays where it starts and is clipped at the paper's edge.
#pragma once

#include "lumdruk/page_file.h"
#include "print/page_font.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <variant>
#include <vector>

namespace vardel::lumdruk {

constexpr double kPaperWidth_mm = 210;
constexpr double kPaperHeight_mm = 297;
constexpr double kFrameLeft_mm = 20;
constexpr double kFrameTop_mm = 10;
constexpr double kBottomMargin_mm = 10;
constexpr double kContinuationTop_mm = 40;  // header frame 30 mm, then 10 mm of space
constexpr double kLineWidth_mm = 0.2;
constexpr const char* kFontFamily = kPageFontFamily;

// Everything below is in millimetres from the paper's top-left corner.
struct PageLine {
    QPointF from;
    QPointF to;
};
struct PageText {
    QPointF origin;  // left end of the baseline
    QString text;    // as drawn: symbol-font letters already turned into Greek ones
    TextStyle style;
    double advance_mm = 0;
};
struct PageImage {
    QRectF rect;
    QImage image;  // null when the file was missing or unreadable: an empty frame is drawn
    QString path;
};
using PageItem = std::variant<PageLine, PageText, PageImage>;

struct Page {
    int number = 1;
    std::vector<PageItem> items;
};

// The font of a text style, sized in units of 0.01 mm (the em size in those units as pixel
// size), so that metrics and drawing agree on every device.
QFont FontFor(const TextStyle& style);
constexpr double kFontUnitsPerMm = kPageFontUnitsPerMm;

// The letters of the symbol font: Latin letters stand for Greek ones ("w" is omega).
QString SymbolToUnicode(const QString& text);

// The page label of a continuation page: the label's trailing number replaced by `number`
// (appended when the label has none).
QString RelabelPage(const QString& label, int number);

// Lays out the page file (header + body) and, for continuation pages, the header-only file.
// Pictures are loaded here. Notes (missing pictures, missing header end) are appended.
std::vector<Page> LayoutPages(const PageFile& page, const PageFile& header, int firstPage,
                              QStringList* notes);

}  // namespace vardel::lumdruk
