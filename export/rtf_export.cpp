#include "export/rtf_export.h"

#include "report/compose.h"
#include "report/header.h"
#include "state/file_write.h"
#include "state/numbers.h"
#include "texts/codepage.h"

#include <QDir>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace vardel {
namespace {

const QByteArray kPar = QByteArrayLiteral("\\par ");
const QByteArray kPard = QByteArrayLiteral("\\pard ");
// Omega in the symbol font with a small u.
const QByteArray kOmega = QByteArrayLiteral("{\\f2\\fs16 w}{\\f1\\fs10 u}");

// The page capacity, the start below the pictures and input data, the start after a repeated
// header, and the room taken by each kind of block: fixed numbers of the export's own units.
constexpr float kPageCapacity = 240.0f;
constexpr float kFirstPageStart = 150.0f;
constexpr float kAfterHeader = 28.0f;
constexpr float kSketchBlock = 25.0f;
constexpr float kCaseBlockA = 15.0f;
constexpr float kSummaryBlock = 15.85f;
constexpr float kLineBlock = 4.0f;  // one more line of text, such as a PN-EN check

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
            "{\\colortbl;\\red0\\green0\\blue0;red0\\green0\\blue255;\\red0\\green255\\blue255;"
            "\\red0\\green255\\blue0;\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255"
            "\\green255\\blue0;\\red255\\green255\\blue255;}"));
        Line(
            QByteArrayLiteral("\\paperw12240\\paperh15840\\margll1780\\margr1080\\margt1440"
                              "\\margb1440"));
        Line(kPard + "\\f1\\fs16 {" + dashed_);
        Header(t);

        Line(kPard + Field("\\absw2850\\absh1860\\phmrg{\\*\\flymaincnt0\\flyanchor0\\flycntnt}",
                           QStringLiteral("Piersc.bmp"), {2850, 1860}));
        Line(kPard);
        Line(kPard + Field("\\absw3380\\absh2260\\posx4500\\posy0{\\*\\flymaincnt0\\flyanchor0"
                           "\\flycntnt}",
                           QStringLiteral("Sily.bmp"), {3380, 2260}));
        Line(kPard);
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

    // The date, the time, "Strona " and the page number, spread over the width of the header.
    QString NaglowekRtf() const {
        return HeaderDateTime(src_.now, src_.locale) + QString(126, u' ') +
               QStringLiteral("Strona ") + Format(strona_, u"####", src_.locale);
    }

    void Header(const std::array<QString, 8>& t) {
        Par(t[1]);
        Line(kPar + dashed_);
        Par(t[4]);
        Par(NaglowekRtf());
        Par(t[7]);
        Line(kPar + dashed_);
    }

    // A picture field: the frame words, the import field naming the bitmap as the first RTF
    // export did, and the picture itself as the field's result, as wide as the frame.
    QByteArray Field(const QByteArray& frame, const QString& name, FrameSize size) {
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
        return frame + "{{\\field\\fldpriv{\\*\\fldinst{\\\\import " + RtfText(name) +
               "}}{\\fldrslt" + pict + "}}}";
    }

    // The sketch of case c: its stress sketch when bolts are in tension, else the picture of a
    // wholly compressed ring (the no-tension one in the second row of type A).
    static QString SketchName(const DesignCase& s, int c, bool secondRowA) {
        if (HasStressSketch(s, c)) {
            return QStringLiteral("SzkicOK%1.bmp").arg(c);
        }
        return secondRowA ? QStringLiteral("gkrys0.bmp") : QStringLiteral("gkrysOK.bmp");
    }

    void SketchLineA(int c, bool secondRow) {
        Line(kPard +
             Field("\\absw2000\\absh1360{\\*\\flyanchor0\\flycntnt}", SketchName(s_, c, secondRow),
                   {2000, 1360}) +
             "     " + kPard);
    }

    void TitleLine(int c) { Line(kPar + RtfText(s_.Teksty[16] + PlainInt(c)) + kPard); }

    void CaseLines(int c) {
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
        Par(r_.Teksty_rap[2]);
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

    void RtfCasesB(int cases) {
        pozycja_ = kFirstPageStart;
        for (int c = 1; c <= cases; ++c) {
            RtfAdvance(kSketchBlock);
            TitleLine(c);
            Line(kPard +
                 Field("\\absw2000\\absh1360\\posx5500{\\*\\flyanchor0\\flycntnt}",
                       SketchName(s_, c, false), {2000, 1360}) +
                 "     " + kPard);
            CaseLines(c);
        }
        Summary(cases);
    }

    void RtfCasesA(int cases) {
        pozycja_ = kFirstPageStart;
        RtfAdvance(kSketchBlock);
        const int firstRow = std::min(cases, 3);
        for (int c = 1; c <= firstRow; ++c) {
            SketchLineA(c, false);
        }
        for (int c = 1; c <= firstRow; ++c) {
            RtfAdvance(kCaseBlockA);
            TitleLine(c);
            CaseLines(c);
        }
        if (cases > 3) {
            RtfAdvance(kSketchBlock);
            for (int c = 4; c <= cases; ++c) {
                SketchLineA(c, true);
            }
            for (int c = 4; c <= cases; ++c) {
                RtfAdvance(kCaseBlockA);
                TitleLine(c);
                CaseLines(c);
            }
        }
        Summary(cases);
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
                               const QLocale& locale, const QDateTime& now) {
    const RtfDocument doc =
        ComposeRtf(RtfSource{s, lines, header, locale, now}, ProgramDirPictures(programDir));
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
