#include "print/page_files.h"

#include "print/page_font.h"

#include "state/file_write.h"

#include "sketches/bitmap_file.h"
#include "state/numbers.h"

#include <QDir>
#include <QFontMetricsF>
#include <QRectF>

#include <algorithm>
#include <vector>

namespace vardel {
namespace {

using namespace Qt::StringLiterals;

// The page body's texts: 3.2 mm in the ordinary font; the anchor's heading 3.5 mm in italics,
// which are as wide.
constexpr double kTextHeight_mm = 3.2;
constexpr double kHeadingHeight_mm = 3.5;
const QString kTextStyle = QStringLiteral(",1,,3.2,1.,0.,0,0,0,400,5");
const QString kHeadingStyle = QStringLiteral(",1,,3.5,1.,0.,0,1,0,400,5");

// Nothing is drawn right of the header frame's right edge: what the frame spans is what every
// printer can print. A text keeps this far from a picture beside it, and a line that does not fit
// goes on below, indented.
constexpr double kPrintableRight_mm = 177;
constexpr double kPictureGap_mm = 2;
constexpr double kContinuationIndent_mm = 5;

// A case sketch stands right of its case's lines: at x = 125 when they end before it, further
// right (at most against the frame's edge) when they do not.
constexpr double kSketchSize_mm = 26.4;
constexpr double kSketchLeft_mm = 125;
constexpr double kSketchRightmost_mm = kPrintableRight_mm - kSketchSize_mm;

// The command of a body text at x and y; x as given ("7.0", "6.") or computed.
QString TextCommand(const QString& x, float y, const QString& style = kTextStyle) {
    return QStringLiteral("3,") + x + u',' + Format_kropka(y, u"##0.0") + style;
}

// A text split where it would pass `width` mm: at the last blank that lets the first part fit,
// else (one word longer than the room) at the last character that fits, never before the first.
std::pair<QString, QString> SplitToFit(const QString& text, double width, double height) {
    const auto fits = [&](qsizetype n) { return PageTextWidth_mm(text.left(n), height) <= width; };
    for (qsizetype blank = text.lastIndexOf(u' '); blank > 0;
         blank = text.lastIndexOf(u' ', blank - 1)) {
        qsizetype end = blank;
        while (end > 0 && text[end - 1] == u' ') {
            --end;
        }
        if (end > 0 && fits(end)) {
            return {text.left(end), text.mid(blank).trimmed()};
        }
        if (end == 0) {
            break;
        }
    }
    qsizetype n = 1;
    while (n < text.size() && fits(n + 1)) {
        ++n;
    }
    if (n < text.size() && text[n - 1].isHighSurrogate()) {
        n = n > 1 ? n - 1 : n + 1;
    }
    return {text.left(n), text.mid(n).trimmed()};
}

// Lays out the body top-down: each text line advances y by the line pitch unless a step says
// otherwise. Every text is kept clear of the pictures placed so far and inside the printable
// width: a text that would reach either goes on on the next line, indented.
class BodyWriter {
  public:
    BodyWriter(QStringList& out, float y) : out_(out), y(y) {}

    // Writes `text` at x, breaking it as needed; the last part stays on the current line (y is
    // not advanced past it). `tail_mm` is the room that texts continuing the last part need.
    void Text(const QString& x, const QString& text, double tail_mm = 0,
              double height = kTextHeight_mm, const QString& style = kTextStyle) {
        const double left = x.toDouble();
        QString rest = text;
        QString at = x;
        for (int guard = 0; guard < 200; ++guard) {
            const double room = RightLimit(at.toDouble(), height) - at.toDouble();
            const double need = PageTextWidth_mm(rest, height) + tail_mm;
            if (need <= room || rest.trimmed().isEmpty()) {
                break;
            }
            auto [first, second] = SplitToFit(rest, std::max(room - tail_mm, room / 2), height);
            // When only what follows the text does not fit, that goes on the next line alone.
            out_ << TextCommand(at, y, style) << first;
            rest = second;
            y = y + 4.5f;
            at = Format_kropka(static_cast<float>(left + kContinuationIndent_mm), u"##0.0");
        }
        out_ << TextCommand(at, y, style) << rest;
    }
    void Line(const QString& x, const QString& text) {
        Text(x, text);
        y = y + 4.5f;
    }
    void Raw(const QString& command, const QString& data) { out_ << command << data; }
    // A picture; the texts written after it keep clear of it.
    void Picture(const QString& command, const QString& path, QRectF rect) {
        out_ << command << path;
        pictures_.push_back(rect);
    }

    QStringList& out_;
    float y;

  private:
    // Where a text at x on the current line must end: the printable width, or a little before
    // a picture right of x that the line's height meets.
    double RightLimit(double x, double height) const {
        const QFontMetricsF fm(PageFont(height));
        const double top = y - fm.ascent() / kPageFontUnitsPerMm;
        const double bottom = y + fm.descent() / kPageFontUnitsPerMm;
        double limit = kPrintableRight_mm;
        for (const QRectF& r : pictures_) {
            if (r.left() >= x && r.top() < bottom && r.bottom() > top) {
                limit = std::min(limit, r.left() - kPictureGap_mm);
            }
        }
        return limit;
    }

    std::vector<QRectF> pictures_;
};

// The ratio after the concrete note's omega.
QString OmegaRatioText(const DesignCase& s, int c, const QLocale& loc) {
    return QStringLiteral(" = ") + Format(s.Omega_u[c], u"#0.0##", loc);
}

// The room the omega, its subscript and the ratio take after the note.
double OmegaTailWidth(const QString& ratio) {
    return PageTextWidth_mm(QStringLiteral("ωu") + ratio, kTextHeight_mm);
}

// Where the case sketches stand: right of the longest line of any case that has one, as far as
// the frame allows. A line that would still reach the sketch breaks beside it.
double SketchLeft(const DesignCase& s, const ReportLines& r, const QLocale& loc) {
    double end = 0;
    const auto take = [&](double width) {
        const double e = 6 + width;
        if (e + kPictureGap_mm <= kSketchRightmost_mm) {
            end = std::max(end, e);
        }
    };
    for (int c = 1; c <= std::clamp<int>(s.Liczba_przyp, 0, kMaxCases); ++c) {
        if (!HasStressSketch(s, c)) {
            continue;
        }
        for (const QString& line : {s.Teksty[16] + PlainInt(c), r.Linia_a[c], r.Linia_sruby[c],
                                    r.Linia_betonu[c], s.Wynik_V[c]}) {
            take(PageTextWidth_mm(line, kTextHeight_mm));
        }
        if (r.Uwaga_betonu[c] != QStringLiteral(" ")) {
            take(PageTextWidth_mm(r.Uwaga_betonu[c], kTextHeight_mm) +
                 OmegaTailWidth(OmegaRatioText(s, c, loc)));
        }
    }
    return std::clamp(end + kPictureGap_mm, kSketchLeft_mm, kSketchRightmost_mm);
}

// The print program resolves a relative path against the page file's own directory, not against
// the directory the program was started in: every path it is given is absolute.
QString AbsoluteDir(const QString& dir) {
    return QDir::isAbsolutePath(dir) ? dir : QDir::cleanPath(QDir(dir).absolutePath());
}

}  // namespace

QString ModePrefix(PrintMode mode) {
    switch (mode) {
        case PrintMode::Print:
            return QStringLiteral("-1, 1.0, 0.5, 1.0, ");
        case PrintMode::PrintWithChoice:
            return QStringLiteral("1, 1.0, 0.5, 1.0, ");
        case PrintMode::SaveEmf:
            return QStringLiteral(" 2, 1.0, 0.5, 1.0, ");
        case PrintMode::ClipboardPreview:
            return QStringLiteral("3, 1.0, 0.5, 1.0, ");
        case PrintMode::ClipboardPreviewShort:
            return QStringLiteral("3, 1.0, 0.5, 1.0 ");
        case PrintMode::PicturePreview:
            return QStringLiteral("-2, 1.0, 0.5, 1.0, ");
        case PrintMode::PicturePreviewShort:
            return QStringLiteral("-2, 1.0, 0.5, 1.0 ");
    }
    return {};
}

QString JobFilePath(const QString& programDir) {
    return JoinPath(programDir, QStringLiteral("W_KK.txt"));
}
QString PageFilePath(const QString& programDir) {
    return JoinPath(programDir, QStringLiteral("VARDELOK.wyd"));
}
QString HeaderPageFilePath(const QString& programDir) {
    return JoinPath(programDir, QStringLiteral("VARDELOK1.wyd"));
}
QString PagePicturePath(const QString& programDir) {
    return PagePicturePath(programDir, 1);
}
QString PagePicturePath(const QString& programDir, int index) {
    return JoinPath(programDir, QStringLiteral("$a%1.emf").arg(index));
}

void WritePageHeader(QStringList& out, const DesignCase& s, const HeaderTexts& header) {
    const auto& t = header.Teksty_nagl;
    // The first two lines are not of the move/draw form; the frame proper follows: a box 177 by
    // 30 with a divider at y = 15 and the page-number cell right of x = 143 in the lower half.
    out << QStringLiteral("14,178.,0.,0,1") << QStringLiteral("14,178.,0.1,1")
        << QStringLiteral("14,0.,0.,0") << QStringLiteral("14,177.,0.,1")
        << QStringLiteral("14,177.,30.,1") << QStringLiteral("14,0.,30.,1")
        << QStringLiteral("14,0.,0.,1") << QStringLiteral("14,0.,15.,0")
        << QStringLiteral("14,177.,15.,1") << QStringLiteral("14,143.,15.,0")
        << QStringLiteral("14,143.,30.,1");
    out << QStringLiteral("3,3.,") + Format_kropka(4.5f, u"##.#") +
               QStringLiteral(",1,,3.5,1.,0.,0,0,0,400,5")
        << t[1];
    out << QStringLiteral("3,3.,19.0,1,,3.5,1.,0.,0,0,0,400,5") << t[4];
    out << QStringLiteral("3,3.,23.5,1,,3.5,1.,0.,0,0,0,400,5") << t[5];
    out << QStringLiteral("3,3.,28.0,1,,3.5,1.,0.,0,0,0,400,5") << t[7];
    out << QStringLiteral("13,147.,23.5,1,,3.5,1.,0.,0,0,0,400,5")
        << t[6] + Format(static_cast<int>(s.Strona), u"####", QLocale::c());
    out << QStringLiteral("3,3.,8.") << QStringLiteral(" ");
    out << QStringLiteral("9,1.");
}

void WritePageBody(QStringList& out, const PageSource& src) {
    const DesignCase& s = src.state;
    const ReportLines& r = src.lines;
    const QString installed = AbsoluteDir(src.programDir);
    const QString run = AbsoluteDir(RunDirOf(src));
    const auto picture = [&](const QString& name) { return PicturePath(installed, run, name); };
    const QLocale& loc = src.locale;

    // The plan sketch is saved as "Piersc.bmp" (names are case-sensitive here). It and the force
    // picture stand above the input data; the force picture reaches down to the first line.
    BodyWriter b(out, 110.0f);
    b.Picture(QStringLiteral("5, 10., 40., 59.8, 59.8"), picture(QStringLiteral("Piersc.bmp")),
              QRectF(10, 40, 59.8, 59.8));
    b.Picture(QStringLiteral("5, 110., 35., 59.5, 76.3"), picture(QStringLiteral("Sily.bmp")),
              QRectF(110, 35, 59.5, 76.3));
    for (int i = 1; i <= 7; ++i) {
        b.Line(u"7.0"_s, r.Dane[i]);
    }
    const int cases = std::clamp<int>(s.Liczba_przyp, 0, kMaxCases);
    for (int i = 0; i <= cases + 2; ++i) {
        b.Line(u"7.0"_s, s.Tabela[i]);
    }
    b.y = b.y - 2.0f;
    b.Line(u"7.0"_s, r.Teksty_rap[0]);
    for (const QString& line : r.Eurokod) {
        b.Line(u"7.0"_s, line);
    }

    const double sketchLeft = SketchLeft(s, r, loc);
    for (int c = 1; c <= cases; ++c) {
        b.Line(u"6."_s, r.Teksty_rap[2]);
        if (HasStressSketch(s, c)) {
            // The sketch is placed before the case's title, which stands beside its top.
            const float top = b.y + 4.5f - 8.0f;
            b.Picture(QStringLiteral("5, ") +
                          Format_kropka(static_cast<float>(sketchLeft), u"##0.#") + u',' +
                          Format_kropka(top, u"##0.0") + QStringLiteral(",26.4, 26.4"),
                      picture(QStringLiteral("SzkicOK%1.bmp").arg(c)),
                      QRectF(sketchLeft, top, kSketchSize_mm, kSketchSize_mm));
            b.Line(u"6."_s, s.Teksty[16] + PlainInt(c));
            b.Line(u"6."_s, r.Linia_a[c]);
        } else {
            b.Line(u"6."_s, s.Teksty[16] + PlainInt(c));
        }
        b.Line(u"6."_s, r.Linia_sruby[c]);
        b.Line(u"6."_s, r.Linia_betonu[c]);
        if (r.Uwaga_betonu[c] != QStringLiteral(" ")) {
            // The note ends in "ω" with subscript "u", then " = " and the ratio on the line
            // again, so that it reads as an equation.
            const QString ratio = OmegaRatioText(s, c, loc);
            b.Text(u"6."_s, r.Uwaga_betonu[c], OmegaTailWidth(ratio));
            b.Raw(QStringLiteral("3,,,1,,3.2,1.,0.,0,0,0,400,2"), QStringLiteral("w"));
            b.Raw(QStringLiteral("3,@0.,@1.5,1,,3.2,1.,0.,0,0,0,400,5"), QStringLiteral("u"));
            b.Raw(QStringLiteral("3,@0.,@-1.5,1,,3.2,1.,0.,0,0,0,400,5"), ratio);
            b.y = b.y + 5.0f;
        }
        b.Text(u"6."_s, s.Wynik_V[c]);
        b.y = b.y + 6.0f;
        for (const QString& line : r.Eurokod_przyp[c]) {
            b.Line(u"6."_s, line);
        }
    }

    if (s.Liczba_przyp > 1) {
        b.Line(u"6."_s, r.Teksty_rap[3]);
        b.Line(u"6."_s, s.Teksty[18] + Format(s.Sig_b_max / kKgcm2PerMpa, u"##0.0# MPa", loc));
        b.Line(u"6."_s, s.Teksty[19] + Format(s.Sig_s_max / kKgcm2PerMpa, u"# ##0.0# MPa", loc));
        b.Line(u"6."_s, s.Teksty[20] + Format(s.F_s_max * 0.1 / kKgcm2PerMpa, u"## ##0.0 kN", loc));
    }

    // The N–M diagram below the summary, centred in the frame. The print program takes it to the
    // next page whole, with what follows, when the rest of this one is too short for it.
    if (r.nmDiagram) {
        const float top = b.y - 1.0f;
        const double left = (kPrintableRight_mm - kNmDiagramWidth_mm) / 2;
        b.Picture(QStringLiteral("5, ") + Format_kropka(static_cast<float>(left), u"##0.0") + u',' +
                      Format_kropka(top, u"##0.0") + u',' +
                      Format_kropka(static_cast<float>(kNmDiagramWidth_mm), u"##0.#") + u',' +
                      Format_kropka(static_cast<float>(kNmDiagramHeight_mm), u"##0.#"),
                  picture(NmDiagramFileName()),
                  QRectF(left, top, kNmDiagramWidth_mm, kNmDiagramHeight_mm));
        b.y = top + static_cast<float>(kNmDiagramHeight_mm) + 6.0f;
    }

    // Anchor lines: the first in italics at the larger height, the next five beside the anchor's
    // sketch, the rest below it.
    const int anchorLines =
        std::clamp<int>(s.Dobor_liczba, 0, static_cast<int>(s.Dobor_teksty.size()) - 1);
    if (anchorLines > 0) {
        b.Text(u"6."_s, s.Dobor_teksty[1], 0, kHeadingHeight_mm, kHeadingStyle);
        b.y = b.y + 4.8f;
        b.Picture(QStringLiteral("5, 80., ") + Format_kropka(b.y, u"##0.0") +
                      QStringLiteral(",86.8,30.5"),
                  picture(QStringLiteral("Szkick.bmp")), QRectF(80, b.y, 86.8, 30.5));
        for (int i = 2; i <= 6; ++i) {
            b.Line(u"6."_s, s.Dobor_teksty[i]);
        }
    }
    b.y = b.y + 12.0f;
    for (int i = 7; i <= anchorLines; ++i) {
        b.Line(u"6."_s, s.Dobor_teksty[i]);
    }
}

QStringList JobFileLines(PrintMode mode, Int16 page, const QString& programDir) {
    const QString dir = AbsoluteDir(programDir);
    return {ModePrefix(mode) + PlainInt(page), PageFilePath(dir), HeaderPageFilePath(dir)};
}

QByteArray LinesBytes(const QStringList& lines) {
    QByteArray bytes;
    for (QString line : lines) {
        line.replace(u'\r', u' ').replace(u'\n', u' ');
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

PrintResult WriteLinesWhole(const QString& path, const QStringList& lines) {
    const QString reason = WriteWholeFile(path, LinesBytes(lines));
    if (!reason.isEmpty()) {
        return PrintResult::Failure(
            QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, reason));
    }
    return {};
}

QString RunDirOf(const PageSource& src) {
    return src.runDir.isEmpty() ? src.programDir : src.runDir;
}

PrintResult WritePageFiles(const PageSource& src) {
    QStringList header;
    WritePageHeader(header, src.state, src.header);
    if (PrintResult r = WriteLinesWhole(HeaderPageFilePath(RunDirOf(src)), header); !r.ok) {
        return r;
    }
    QStringList page = header;
    WritePageBody(page, src);
    return WriteLinesWhole(PageFilePath(RunDirOf(src)), page);
}

PrintResult WriteJobFile(PrintMode mode, Int16 page, const QString& programDir) {
    return WriteLinesWhole(JobFilePath(programDir), JobFileLines(mode, page, programDir));
}

}  // namespace vardel
