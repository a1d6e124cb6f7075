#include "export/rtf_export.h"

#include "report/compose.h"
#include "report/header.h"
#include "sketches/bitmap_file.h"
#include "state/file_write.h"
#include "state/numbers.h"
#include "texts/codepage.h"

#include <QDir>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vardel {
namespace {

const QByteArray kPar = QByteArrayLiteral("\\par ");
const QByteArray kPard = QByteArrayLiteral("\\pard ");
// Omega with a small u: the Unicode letter, with the symbol font's "w" as the fallback a reader
// without Unicode skips to (AbiWord has no symbol font and showed an empty box).
const QByteArray kOmega = QByteArrayLiteral("{\\f1\\fs16\\u969 w}{\\f1\\fs10 u}");

// The page capacity, the start below the pictures and input data, the start after a repeated
// header, and the room taken by each kind of block: fixed numbers of the export's own units.
constexpr float kPageCapacity = 240.0f;
constexpr float kFirstPageStart = 150.0f;
constexpr float kAfterHeader = 28.0f;
constexpr float kSketchBlock = 25.0f;
constexpr float kCaseBlockA = 15.0f;
constexpr float kSummaryBlock = 15.85f;
constexpr float kLineBlock = 4.0f;  // one more line of text, such as a PN-EN check
constexpr float kDiagramBlock = 110.0f;

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

class RtfWriter {
  public:
    RtfWriter(const RtfSource& src, const PictureSource& pictures)
        : src_(src), s_(src.state), r_(src.lines), pictures_(pictures), strona_(s_.Strona) {}

    RtfDocument Compose() {
        const auto& t = src_.header.Teksty_nagl;
        const int cases = std::clamp<int>(s_.Liczba_przyp, 0, kMaxCases);
        Line(QByteArrayLiteral(
            "{\\rtf1\\ansi\\ansicpg1250\\deff1{\\fonttbl{\\f0\\froman\\fcharset238\\fprq2{\\*"
            "\\panose02020603050405020304}Times New Roman;}{\\f1\\fswiss\\fcharset238\\fprq2{\\*"
            "\\panose 020b0604020202020204}Arial;}{\\f2\\froman\\fprq2\\fcharset Symbol;}}"));
        Line(QByteArrayLiteral(
            "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;"
            "\\red0\\green255\\blue0;\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255"
            "\\green255\\blue0;\\red255\\green255\\blue255;}"));
        Line(
            QByteArrayLiteral("\\paperw12240\\paperh15840\\margl1780\\margr1080\\margt1440"
                              "\\margb1440"));
        Line(kPard + "\\f1\\fs16 {" + dashed_);
        Header(t);

        // The ring and the forces side by side in a table row without borders, above the data:
        // pictures in the text's flow cannot stand over any of it.
        PictureRow({{QStringLiteral("Piersc.bmp"), {2850, 1860}, 4500},
                    {QStringLiteral("Sily.bmp"), {3380, 2260}, 9380}});
        Line(kPar + ' ');
        Line(kPar + ' ');
        for (int i = 1; i <= 7; ++i) {
            Par(r_.Dane[i]);
        }
        for (int i = 0; i <= cases + 2; ++i) {
            Par(s_.Tabela[i]);
        }
        for (const QString& line : r_.Eurokod) {
            Par(line);
        }
        Par(r_.Teksty_rap[0]);
        Line(kPar + ' ');
        if (s_.Tryb_RTF == 1) {
            RtfCasesA(cases);
        } else if (s_.Tryb_RTF == 2) {
            RtfCasesB(cases);
        }
        Diagram();
        Line("}");
        Line("\\par}");

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
    void Line(const QByteArray& line) {
        out_ += line;
        out_ += "\r\n";
    }
    void Par(QStringView text) { Line(kPar + RtfText(text)); }

    // The date and the time, then "Strona " and the page number at the right margin: a right
    // tab stop there, where the first export spread them with 126 blanks, which a proportional
    // font wraps.
    QByteArray NaglowekRtf() const {
        return kPar + "\\pard\\tqr\\tx9380 " + RtfText(HeaderDateTime(src_.now, src_.locale)) +
               "\\tab " +
               RtfText(QStringLiteral("Strona ") + Format(strona_, u"####", src_.locale)) + ' ' +
               kPar + "\\pard ";
    }

    void Header(const std::array<QString, 8>& t) {
        Par(t[1]);
        Line(kPar + dashed_);
        Par(t[4]);
        Line(NaglowekRtf() + RtfText(t[7]));
        Line(kPar + dashed_);
        // A blank line, so that a picture that follows keeps clear of the dashes.
        Line(kPar + ' ');
    }

    // A picture field: the import field naming the bitmap as the first RTF export did, and the
    // picture itself as the field's result, as wide as `size` (twips) says.
    QByteArray Picture(const QString& name, FrameSize size) {
        QByteArray pict;
        QString reason;
        const std::optional<EmbeddedPicture> p = pictures_(name, &reason);
        if (!p) {
            if (failure_.isEmpty()) {
                failure_ = reason;
            }
        } else if (p->pixels.width() > 0 && p->pixels.height() > 0) {
            const int height = static_cast<int>(
                std::lround(double(size.width) * p->pixels.height() / p->pixels.width()));
            pict = QByteArrayLiteral("{\\pict\\pngblip\\picw") +
                   QByteArray::number(p->pixels.width()) + "\\pich" +
                   QByteArray::number(p->pixels.height()) + "\\picwgoal" +
                   QByteArray::number(size.width) + "\\pichgoal" + QByteArray::number(height) +
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
    // The width between the margins; the diagram keeps inside its cell's padding (\trgaph108 on
    // either side) and takes its height from the picture's own proportions.
    static constexpr int kTextWidth = 9380;
    static constexpr FrameSize kDiagram{kTextWidth - 2 * 110, 0};

    struct Cell {
        QString picture;
        FrameSize size;
        int right;  // the cell's right edge, twips from the left margin
    };

    // Pictures side by side: a table row without borders, one picture to a cell. Every reader
    // gives a row the height of its tallest picture, which a line of pictures does not always get.
    void PictureRow(const std::vector<Cell>& cells) {
        QByteArray row = kPar + "\\pard\\trowd\\trgaph108\\trleft0";
        for (const Cell& cell : cells) {
            row += "\\cellx" + QByteArray::number(cell.right);
        }
        Line(row);
        for (const Cell& cell : cells) {
            Line("\\pard\\intbl " + Picture(cell.picture, cell.size) + "\\cell");
        }
        Line("\\row\\pard ");
    }

    // A row of up to three sketches of type A, each in its column.
    void SketchRowA(int from, int to, bool secondRow) {
        std::vector<Cell> cells;
        for (int c = from; c <= to; ++c) {
            cells.push_back({SketchName(s_, c, secondRow), kSketch, 3100 * (c - from + 1)});
        }
        PictureRow(cells);
    }

    void TitleLine(int c) { Line(kPar + RtfText(s_.Teksty[16] + PlainInt(c)) + kPard); }

    // The lines of case c; `closing` adds the blank line that ends the block (a block in a
    // table row is ended by its row).
    void CaseLines(int c, bool closing = true) {
        if (HasStressSketch(s_, c)) {
            Par(r_.Linia_a[c]);
        }
        Par(r_.Linia_sruby[c]);
        Par(r_.Linia_betonu[c]);
        if (r_.Uwaga_betonu[c] != QStringLiteral(" ")) {
            Line(kPar + RtfText(r_.Uwaga_betonu[c]) + kOmega + " = " +
                 RtfText(Format(s_.Omega_u[c], u"#0.00", src_.locale)));
        }
        if (!s_.Wynik_V[c].isEmpty()) {
            Par(s_.Wynik_V[c]);
        }
        for (const QString& line : r_.Eurokod_przyp[c]) {
            RtfAdvance(kLineBlock);
            Par(line);
        }
        if (closing) {
            Par(r_.Teksty_rap[2]);
        }
    }

    void Summary(int cases) {
        if (cases <= 1) {
            return;
        }
        RtfAdvance(kSummaryBlock);
        Par(r_.Teksty_rap[3]);
        for (const QString& line : ExtremeValueLines(s_, src_.locale)) {
            Par(line);
        }
    }

    // Type B: each case a table row without borders, its lines on the left, its sketch on the
    // right, so that the sketch stands beside its own case whatever the reader's line heights.
    void RtfCasesB(int cases) {
        pozycja_ = kFirstPageStart;
        for (int c = 1; c <= cases; ++c) {
            RtfAdvance(kSketchBlock);
            Line(kPar + "\\pard\\trowd\\trgaph108\\trleft0\\cellx6700\\cellx9380");
            Line("\\pard\\intbl " + RtfText(s_.Teksty[16] + PlainInt(c)));
            CaseLines(c, false);
            Line("\\cell\\pard\\intbl " + Picture(SketchName(s_, c, false), kSketch) +
                 "\\cell\\row\\pard ");
        }
        Summary(cases);
    }

    void RtfCasesA(int cases) {
        pozycja_ = kFirstPageStart;
        RtfAdvance(kSketchBlock);
        const int firstRow = std::min(cases, 3);
        SketchRowA(1, firstRow, false);
        for (int c = 1; c <= firstRow; ++c) {
            RtfAdvance(kCaseBlockA);
            TitleLine(c);
            CaseLines(c);
        }
        if (cases > 3) {
            RtfAdvance(kSketchBlock);
            SketchRowA(4, cases, true);
            for (int c = 4; c <= cases; ++c) {
                RtfAdvance(kCaseBlockA);
                TitleLine(c);
                CaseLines(c);
            }
        }
        Summary(cases);
    }

    // The N–M diagram after the summary, as wide as the text, on a new page when the rest of
    // this one is too short for it.
    void Diagram() {
        if (!r_.nmDiagram) {
            return;
        }
        if (pozycja_ == 0) {  // no load-case section: the diagram follows the load table
            pozycja_ = kFirstPageStart;
        }
        RtfAdvance(kDiagramBlock);
        PictureRow({{NmDiagramFileName(), kDiagram, kTextWidth}});
    }

    // A new page, with the header repeated, when the next block would not fit on this one.
    void RtfAdvance(float need) {
        if (pozycja_ + need > kPageCapacity) {
            strona_ = std::min(strona_ + 1, 32767);
            RtfPageBreak();
            pozycja_ = kAfterHeader;
        }
        pozycja_ = pozycja_ + need;
    }

    void RtfPageBreak() {
        Line("\\par \\page\\pard\\plain\\f1\\fs16 " + dashed_);
        Header(src_.header.Teksty_nagl);
    }

    const RtfSource& src_;
    const DesignCase& s_;
    const ReportLines& r_;
    const PictureSource& pictures_;
    const QByteArray dashed_ = DashedLine();
    int strona_;
    float pozycja_ = 0;
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
