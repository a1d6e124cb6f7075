#include "export/rtf_export.h"

#include "report/compose.h"
#include "report/header.h"
#include "sketches/bitmap_file.h"
#include "state/file_write.h"
#include "state/numbers.h"
#include "texts/codepage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace vardel {
namespace {

// Every text line is 8 pt (\\fs16) at an exact line height, so that the page counting below
// knows how tall each line is in every reader; a paragraph holding a picture keeps the automatic
// height, which grows with the picture.
constexpr int kLine = 200;       // twips
constexpr int kFontTwips = 160;  // \\fs16
const QByteArray kPar = QByteArrayLiteral("\\par ");
const QByteArray kLineHeight = "\\sl-" + QByteArray::number(kLine) + "\\slmult0";  // exactly
const QByteArray kPard = "\\pard" + kLineHeight + ' ';
// Omega with a small u: the Unicode letter, with the symbol font's "w" as the fallback a reader
// without Unicode skips to (AbiWord has no symbol font and showed an empty box).
const QByteArray kOmega = QByteArrayLiteral("{\\f1\\fs16\\u969 w}{\\f1\\fs10 u}");

// The paper and its margins (twips). The page counting measures every block in twips against
// the height between the margins.
constexpr int kPaperWidth = 12240;
constexpr int kPaperHeight = 15840;
constexpr int kMarginLeft = 1780;
constexpr int kMarginRight = 1080;
constexpr int kMarginTop = 1440;
constexpr int kMarginBottom = 1440;
constexpr int kPageCapacity = kPaperHeight - kMarginTop - kMarginBottom;
constexpr int kTextWidth = kPaperWidth - kMarginLeft - kMarginRight;
// Type B: a case's lines in a cell up to 6700 twips, 108 twips of gap on either side of its text.
constexpr int kCaseCellRight = 6700;
constexpr int kCellGap = 108;
// A picture stands on the baseline of a line of the 8 pt font: its row is as tall as the tallest
// picture, plus the font's descent and the cell's paddings, which stay within one text line
// (Writer adds 2 pt, AbiWord 10 pt).
constexpr int kPictureRowSlack = kLine;

QByteArray DashedLine() {
    const QByteArray half = QByteArray("- ").repeated(43) + '-';
    return half + half;
}

// Unicode to Windows-1250 for the characters above ASCII, built once from the code page module.
const QHash<char16_t, char>& Windows1250Bytes() {
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const QByteArray one(1, static_cast<char>(b));
            const QString decoded = DecodeText(one, CodePage::Windows1250);
            const auto back = EncodeCodePage(decoded, CodePage::Windows1250);
            // Bytes the code page leaves undefined decode to a stand-in that does not encode back.
            if (decoded.size() == 1 && back && *back == one) {
                t.insert(decoded[0].unicode(), static_cast<char>(b));
            }
        }
        return t;
    }();
    return table;
}

struct FrameSize {
    int width;   // twips, the frame's \absw
    int height;  // twips, its \absh
};

// A piece of the file and the height it takes on the page, in twips: the lines it starts (each
// "\par" starts one) and its table rows.
struct Block {
    QByteArray bytes;
    int height = 0;

    void Line(const QByteArray& line) {
        bytes += line;
        bytes += "\r\n";
    }
    // A paragraph of its own, `lines` lines tall once the reader has wrapped it.
    void Par(const QByteArray& line, int lines = 1) {
        Line(line);
        height += lines * kLine;
    }
    void Append(const Block& b) {
        bytes += b.bytes;
        height += b.height;
    }
};

class RtfWriter {
  public:
    RtfWriter(const RtfSource& src, const PictureSource& pictures)
        : src_(src), s_(src.state), r_(src.lines), pictures_(pictures), strona_(s_.Strona) {
        // The file's Arial, measured with the font that stands for it here (Liberation Sans has
        // Arial's widths), at 10 times 8 pt in pixels, so that hinting rounds nothing.
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
            QFont arial(QStringLiteral("Arial"));
            arial.setPixelSize(10 * kFontTwips);
            arial.setHintingPreference(QFont::PreferNoHinting);
            arial.setKerning(false);
            metrics_.emplace(arial);
        }
    }

    RtfDocument Compose() {
        const auto& t = src_.header.Teksty_nagl;
        const int cases = std::clamp<int>(s_.Liczba_przyp, 0, kMaxCases);
        Block b;
        b.Line(QByteArrayLiteral(
            "{\\rtf1\\ansi\\ansicpg1250\\deff1{\\fonttbl{\\f0\\froman\\fcharset238\\fprq2{\\*"
            "\\panose02020603050405020304}Times New Roman;}{\\f1\\fswiss\\fcharset238\\fprq2{\\*"
            "\\panose 020b0604020202020204}Arial;}{\\f2\\froman\\fprq2\\fcharset Symbol;}}"));
        b.Line(QByteArrayLiteral(
            "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;"
            "\\red0\\green255\\blue0;\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255"
            "\\green255\\blue0;\\red255\\green255\\blue255;}"));
        b.Line("\\paperw" + QByteArray::number(kPaperWidth) + "\\paperh" +
               QByteArray::number(kPaperHeight) + "\\margl" + QByteArray::number(kMarginLeft) +
               "\\margr" + QByteArray::number(kMarginRight) + "\\margt" +
               QByteArray::number(kMarginTop) + "\\margb" + QByteArray::number(kMarginBottom));
        b.Par(kPard + "\\f1\\fs16 {" + dashed_);
        Header(b, t);

        // The ring and the forces side by side in a table row without borders, above the data:
        // pictures in the text's flow cannot stand over any of it.
        b.Append(PictureRow({{QStringLiteral("Piersc.bmp"), {2850, 1860}, 4500},
                             {QStringLiteral("Sily.bmp"), {3380, 2260}, 9380}}));
        b.Par(kPar + ' ');
        b.Par(kPar + ' ');
        for (int i = 1; i <= 7; ++i) {
            Par(b, r_.Dane[i]);
        }
        for (int i = 0; i <= cases + 2; ++i) {
            Par(b, s_.Tabela[i]);
        }
        for (const QString& line : r_.Eurokod) {
            Par(b, line);
        }
        Par(b, r_.Teksty_rap[0]);
        b.Par(kPar + ' ');
        out_ = b.bytes;
        pozycja_ = b.height;
        if (s_.Tryb_RTF == 1) {
            RtfCasesA(cases);
        } else if (s_.Tryb_RTF == 2) {
            RtfCasesB(cases);
        }
        Diagram();
        out_ += "}\r\n\\par}\r\n";

        RtfDocument doc;
        doc.Strona = static_cast<Int16>(strona_);
        if (failure_.isEmpty()) {
            doc.bytes = out_;
        } else {
            doc.failure = failure_;
        }
        return doc;
    }

  private:
    void Par(Block& b, QStringView text) const { b.Par(kPar + RtfText(text), Lines(text)); }

    // The lines `text` takes in the current text width, wrapped at blanks as readers wrap: a
    // word that would pass the width starts a new line. Kept 2 % short of the width, so that a
    // reader's rounding never wraps a line counted as one. Without a font (no GUI) one line.
    int Lines(QStringView text) const {
        if (!metrics_) {
            return 1;
        }
        const double width = 0.98 * width_ * 10;
        int lines = 1;
        qsizetype start = 0;  // the first character of the current line
        qsizetype end = 0;    // past the last word that fits on it
        while (end < text.size()) {
            qsizetype next = end;
            while (next < text.size() && text[next] == u' ') {
                ++next;
            }
            if (next == text.size()) {
                break;  // trailing blanks hang past the margin
            }
            while (next < text.size() && text[next] != u' ') {
                ++next;
            }
            if (end > start &&
                metrics_->horizontalAdvance(text.mid(start, next - start).toString()) > width) {
                ++lines;
                while (end < text.size() && text[end] == u' ') {
                    ++end;
                }
                start = end;
                continue;
            }
            end = next;
        }
        return lines;
    }

    // The date and the time, then "Strona " and the page number at the right margin: a right
    // tab stop there, where the first export spread them with 126 blanks, which a proportional
    // font wraps. Two lines: the label's and the one `after` begins.
    QByteArray NaglowekRtf(const QString& after) const {
        return kPar + "\\pard" + kLineHeight + "\\tqr\\tx" +
               QByteArray::number(kPaperWidth - kMarginLeft - kMarginRight) + ' ' +
               RtfText(HeaderDateTime(src_.now, src_.locale)) + "\\tab " +
               RtfText(QStringLiteral("Strona ") + Format(strona_, u"####", src_.locale)) + ' ' +
               kPar + kPard + RtfText(after);
    }

    // The header after its first dashed line.
    void Header(Block& b, const std::array<QString, 8>& t) const {
        Par(b, t[1]);
        b.Par(kPar + dashed_);
        Par(b, t[4]);
        b.Line(NaglowekRtf(t[7]));
        b.height += 2 * kLine;
        b.Par(kPar + dashed_);
        // A blank line, so that a picture that follows keeps clear of the dashes.
        b.Par(kPar + ' ');
    }

    // A picture field: the import field naming the bitmap as the first RTF export did, and the
    // picture itself as the field's result, as wide as `size` (twips) says. `height` receives
    // the picture's height in twips, as the field gives it.
    QByteArray Picture(const QString& name, FrameSize size, int* height) {
        QByteArray pict;
        QString reason;
        *height = 0;
        const std::optional<EmbeddedPicture> p = pictures_(name, &reason);
        if (!p) {
            if (failure_.isEmpty()) {
                failure_ = reason;
            }
        } else if (p->pixels.width() > 0 && p->pixels.height() > 0) {
            *height = static_cast<int>(
                std::lround(double(size.width) * p->pixels.height() / p->pixels.width()));
            pict = QByteArrayLiteral("{\\pict\\pngblip\\picw") +
                   QByteArray::number(p->pixels.width()) + "\\pich" +
                   QByteArray::number(p->pixels.height()) + "\\picwgoal" +
                   QByteArray::number(size.width) + "\\pichgoal" + QByteArray::number(*height) +
                   ' ' + p->png.toHex() + '}';
        }
        return "{{\\field\\fldpriv{\\*\\fldinst{\\\\import " + RtfText(name) + "}}{\\fldrslt" +
               pict + "}}}";
    }

    // The sketch of case c: its stress sketch when bolts are in tension, else the picture of a
    // wholly compressed ring (the no-tension one in the second row of type A).
    static QString SketchName(const DesignCase& s, int c, bool secondRowA) {
        if (HasStressSketch(s, c)) {
            return QStringLiteral("SzkicOK%1.bmp").arg(c);
        }
        return secondRowA ? QStringLiteral("gkrys0.bmp") : QStringLiteral("gkrysOK.bmp");
    }

    static constexpr FrameSize kSketch{2000, 1360};
    // The diagram keeps inside its cell's padding (\trgaph108 on either side) and takes its
    // height from the picture's own proportions.
    static constexpr FrameSize kDiagram{kTextWidth - 2 * 110, 0};

    struct Cell {
        QString picture;
        FrameSize size;
        int right;  // the cell's right edge, twips from the left margin
    };

    // Pictures side by side: a table row without borders, one picture to a cell, then the line
    // that follows the row. Every reader gives a row the height of its tallest picture, which a
    // line of pictures does not always get.
    Block PictureRow(const std::vector<Cell>& cells) {
        Block b;
        QByteArray row = kPar + "\\pard\\trowd\\trgaph108\\trleft0";
        for (const Cell& cell : cells) {
            row += "\\cellx" + QByteArray::number(cell.right);
        }
        b.Line(row);
        int tallest = 0;
        for (const Cell& cell : cells) {
            int height = 0;
            b.Line("\\pard\\intbl " + Picture(cell.picture, cell.size, &height) + "\\cell");
            tallest = std::max(tallest, height);
        }
        b.Line("\\row" + kPard);
        b.height = tallest + kPictureRowSlack + kLine;
        return b;
    }

    // A row of up to three sketches of type A, each in its column.
    Block SketchRowA(int from, int to, bool secondRow) {
        std::vector<Cell> cells;
        for (int c = from; c <= to; ++c) {
            cells.push_back({SketchName(s_, c, secondRow), kSketch, 3100 * (c - from + 1)});
        }
        return PictureRow(cells);
    }

    // The lines of case c; `closing` adds the blank line that ends the block (a block in a
    // table row is ended by its row).
    void CaseLines(Block& b, int c, bool closing = true) const {
        if (HasStressSketch(s_, c)) {
            Par(b, r_.Linia_a[c]);
        }
        Par(b, r_.Linia_sruby[c]);
        Par(b, r_.Linia_betonu[c]);
        if (r_.Uwaga_betonu[c] != QStringLiteral(" ")) {
            const QString ratio = Format(s_.Omega_u[c], u"#0.00", src_.locale);
            b.Par(kPar + RtfText(r_.Uwaga_betonu[c]) + kOmega + " = " + RtfText(ratio),
                  Lines(r_.Uwaga_betonu[c] + QStringLiteral("\u03c9u = ") + ratio));
        }
        if (!s_.Wynik_V[c].isEmpty()) {
            Par(b, s_.Wynik_V[c]);
        }
        for (const QString& line : r_.Eurokod_przyp[c]) {
            Par(b, line);
        }
        if (closing) {
            Par(b, r_.Teksty_rap[2]);
        }
    }

    // The title and the lines of case c of type A.
    Block CaseBlockA(int c) const {
        Block b;
        b.Par(kPar + RtfText(s_.Teksty[16] + PlainInt(c)) + kPard);
        CaseLines(b, c);
        return b;
    }

    void Summary(int cases) {
        if (cases <= 1) {
            return;
        }
        Block b;
        Par(b, r_.Teksty_rap[3]);
        for (const QString& line : ExtremeValueLines(s_, src_.locale)) {
            Par(b, line);
        }
        Place(b);
    }

    // Type B: each case a table row without borders, its lines on the left, its sketch on the
    // right, so that the sketch stands beside its own case whatever the reader's line heights.
    // The row is as tall as the taller of its two cells, and a line follows it.
    void RtfCasesB(int cases) {
        for (int c = 1; c <= cases; ++c) {
            Block text;
            width_ = kCaseCellRight - 2 * kCellGap;
            text.Par("\\pard\\intbl" + kLineHeight + ' ' + RtfText(s_.Teksty[16] + PlainInt(c)));
            CaseLines(text, c, false);
            width_ = kTextWidth;
            int sketch = 0;
            const QByteArray picture = Picture(SketchName(s_, c, false), kSketch, &sketch);
            Block row;
            row.Line(kPar + "\\pard\\trowd\\trgaph" + QByteArray::number(kCellGap) +
                     "\\trleft0\\cellx" + QByteArray::number(kCaseCellRight) + "\\cellx" +
                     QByteArray::number(kTextWidth));
            row.bytes += text.bytes;
            row.Line("\\cell\\pard\\intbl " + picture + "\\cell\\row" + kPard);
            row.height = std::max(text.height, sketch + kPictureRowSlack) + kLine;
            Place(row);
        }
        Summary(cases);
    }

    // Type A: rows of up to three sketches, each followed by the blocks of its cases. A row goes
    // to the next page with its first case, so that no page ends with sketches alone.
    void RtfCasesA(int cases) {
        for (int from = 1; from <= cases; from += 3) {
            const int to = std::min(cases, from + 2);
            Block first = SketchRowA(from, to, from > 1);
            first.Append(CaseBlockA(from));
            Place(first);
            for (int c = from + 1; c <= to; ++c) {
                Place(CaseBlockA(c));
            }
        }
        Summary(cases);
    }

    // The N–M diagram after the summary, as wide as the text, on a new page when the rest of
    // this one is too short for it.
    void Diagram() {
        if (r_.nmDiagram) {
            Place(PictureRow({{NmDiagramFileName(), kDiagram, kTextWidth}}));
        }
    }

    // Writes a block on this page when it fits, else on a new page after the repeated header.
    // A line stays free below the block: the paragraph that follows it, which carries the page
    // break or ends the file, takes a line of its own in AbiWord.
    void Place(const Block& b) {
        if (pozycja_ + b.height + kLine > kPageCapacity) {
            strona_ = std::min(strona_ + 1, 32767);
            pozycja_ = RtfPageBreak();
        }
        out_ += b.bytes;
        pozycja_ += b.height;
    }

    // The page break and the new page's header; returns the header's height.
    int RtfPageBreak() {
        Block b;
        b.Par("\\par \\page\\pard\\plain" + kLineHeight + "\\f1\\fs16 " + dashed_);
        Header(b, src_.header.Teksty_nagl);
        out_ += b.bytes;
        return b.height;
    }
    const RtfSource& src_;
    const DesignCase& s_;
    const ReportLines& r_;
    const PictureSource& pictures_;
    const QByteArray dashed_ = DashedLine();
    int strona_;
    int pozycja_ = 0;         // twips from the top margin of the current page
    int width_ = kTextWidth;  // of the text being written, twips
    std::optional<QFontMetricsF> metrics_;
    QByteArray out_;
    QString failure_;
};

}  // namespace

QByteArray RtfText(QStringView text) {
    const auto& cp1250 = Windows1250Bytes();
    QByteArray out;
    out.reserve(text.size() + 16);
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += ' ';
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const auto it = cp1250.constFind(c); it != cp1250.cend()) {
            out += "\\'";
            out += QByteArray(1, *it).toHex();
        } else {
            out += "\\u";
            out += QByteArray::number(static_cast<qint16>(c));
            out += '?';
        }
    }
    return out;
}

RtfDocument ComposeRtf(const RtfSource& src, const PictureSource& pictures) {
    return RtfWriter(src, pictures).Compose();
}

RtfExportResult WriteRtfExport(const QString& path, DesignCase& s, const ReportLines& lines,
                               const HeaderTexts& header, const QString& programDir,
                               const QLocale& locale, const QDateTime& now, const QString& runDir) {
    const RtfDocument doc = ComposeRtf(RtfSource{s, lines, header, locale, now},
                                       ProgramDirPictures(programDir, runDir));
    const auto failure = [&](const QString& reason) {
        return RtfExportResult{QStringLiteral("Nie udało się zapisać pliku RTF\n%1\n%2")
                                   .arg(QDir::toNativeSeparators(path), reason),
                               s.Strona};
    };
    if (!doc.failure.isEmpty()) {
        return failure(doc.failure);
    }
    if (const QString reason = WriteWholeFile(path, doc.bytes); !reason.isEmpty()) {
        return failure(reason);
    }
    s.Strona = doc.Strona;
    return {QString(), s.Strona};
}

QString PagePanelText(Int16 strona) {
    return QStringLiteral(" Strona ") + PlainInt(strona) + u' ';
}

}  // namespace vardel
