#include "print/page_files.h"

#include "state/file_write.h"

#include "sketches/bitmap_file.h"
#include "state/numbers.h"

#include <QDir>

#include <algorithm>

namespace vardel {
namespace {

// The text command of the body at the given x (fixed text such as "7.0" or "6.") and y.
QString TextCommand(QStringView x, float y) {
    return QStringLiteral("3,") + x.toString() + u',' + Format_kropka(y, u"##0.0") +
           QStringLiteral(",1,,3.2,1.,0.,0,0,0,400,5");
}

// Lays out the body top-down: each text line advances y by the line pitch unless a step says
// otherwise.
class BodyWriter {
  public:
    BodyWriter(QStringList& out, float y) : out_(out), y(y) {}

    void Text(QStringView x, const QString& text) { out_ << TextCommand(x, y) << text; }
    void Line(QStringView x, const QString& text) {
        Text(x, text);
        y = y + 4.5f;
    }
    void Raw(const QString& command, const QString& data) { out_ << command << data; }

    QStringList& out_;
    float y;
};

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
    return JoinPath(programDir, QStringLiteral("$a1.emf"));
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
    const QString dir = AbsoluteDir(src.programDir);
    const QLocale& loc = src.locale;

    // The plan sketch is saved as "Piersc.bmp"; names are case-sensitive here, so the page file
    // names it exactly so.
    out << QStringLiteral("5, 10., 40., 59.8, 59.8") << JoinPath(dir, QStringLiteral("Piersc.bmp"));
    out << QStringLiteral("5, 110., 35., 59.5, 76.3") << JoinPath(dir, QStringLiteral("Sily.bmp"));

    BodyWriter b(out, 110.0f);
    for (int i = 1; i <= 7; ++i) {
        b.Line(u"7.0", r.Dane[i]);
    }
    const int cases = std::clamp<int>(s.Liczba_przyp, 0, kMaxCases);
    for (int i = 0; i <= cases + 2; ++i) {
        b.Line(u"7.0", s.Tabela[i]);
    }
    b.y = b.y - 2.0f;
    b.Line(u"7.0", r.Teksty_rap[0]);
    for (const QString& line : r.Eurokod) {
        b.Line(u"7.0", line);
    }

    for (int c = 1; c <= cases; ++c) {
        b.Line(u"6.", r.Teksty_rap[2]);
        b.Line(u"6.", s.Teksty[16] + PlainInt(c));
        if (HasStressSketch(s, c)) {
            b.Raw(QStringLiteral("5, 125.,") + Format_kropka(b.y - 8.0f, u"##0.0") +
                      QStringLiteral(",26.4, 26.4"),
                  JoinPath(dir, QStringLiteral("SzkicOK%1.bmp").arg(c)));
            b.Line(u"6.", r.Linia_a[c]);
        }
        b.Line(u"6.", r.Linia_sruby[c]);
        b.Line(u"6.", r.Linia_betonu[c]);
        if (r.Uwaga_betonu[c] != QStringLiteral(" ")) {
            // The note ends in "ω" with subscript "u", then " = " and the ratio on the line
            // again, so that it reads as an equation.
            b.Text(u"6.", r.Uwaga_betonu[c]);
            b.Raw(QStringLiteral("3,,,1,,3.2,1.,0.,0,0,0,400,2"), QStringLiteral("w"));
            b.Raw(QStringLiteral("3,@0.,@1.5,1,,3.2,1.,0.,0,0,0,400,5"), QStringLiteral("u"));
            b.Raw(QStringLiteral("3,@0.,@-1.5,1,,3.2,1.,0.,0,0,0,400,5"),
                  QStringLiteral(" = ") + Format(s.Omega_u[c], u"#0.0##", loc));
            b.y = b.y + 5.0f;
        }
        b.Text(u"6.", s.Wynik_V[c]);
        b.y = b.y + 6.0f;
        for (const QString& line : r.Eurokod_przyp[c]) {
            b.Line(u"6.", line);
        }
    }

    if (s.Liczba_przyp > 1) {
        b.Line(u"6.", r.Teksty_rap[3]);
        b.Line(u"6.", s.Teksty[18] + Format(s.Sig_b_max / kKgcm2PerMpa, u"##0.0# MPa", loc));
        b.Line(u"6.", s.Teksty[19] + Format(s.Sig_s_max / kKgcm2PerMpa, u"# ##0.0# MPa", loc));
        b.Line(u"6.", s.Teksty[20] + Format(s.F_s_max * 0.1 / kKgcm2PerMpa, u"## ##0.0 kN", loc));
    }

    // Anchor lines: the first in bold at the larger height, the next five beside the anchor's
    // sketch, the rest below it.
    const int anchorLines =
        std::clamp<int>(s.Dobor_liczba, 0, static_cast<int>(s.Dobor_teksty.size()) - 1);
    if (anchorLines > 0) {
        b.Raw(QStringLiteral("3,6.,") + Format_kropka(b.y, u"##0.0") +
                  QStringLiteral(",1,,3.5,1.,0.,0,1,0,400,5"),
              s.Dobor_teksty[1]);
        b.y = b.y + 4.8f;
        b.Raw(QStringLiteral("5, 80., ") + Format_kropka(b.y, u"##0.0") +
                  QStringLiteral(",86.8,30.5"),
              JoinPath(dir, QStringLiteral("Szkick.bmp")));
        for (int i = 2; i <= 6; ++i) {
            b.Line(u"6.", s.Dobor_teksty[i]);
        }
    }
    b.y = b.y + 12.0f;
    for (int i = 7; i <= anchorLines; ++i) {
        b.Line(u"6.", s.Dobor_teksty[i]);
    }
}

QStringList JobFileLines(PrintMode mode, Int16 page, const QString& programDir) {
    const QString dir = AbsoluteDir(programDir);
    return {ModePrefix(mode) + PlainInt(page), PageFilePath(dir), HeaderPageFilePath(dir)};
}

PrintResult WriteLinesWhole(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (QString line : lines) {
        line.replace(u'\r', u' ').replace(u'\n', u' ');
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    const QString reason = WriteWholeFile(path, bytes);
    if (!reason.isEmpty()) {
        return PrintResult::Failure(
            QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, reason));
    }
    return {};
}

PrintResult WritePageFiles(const PageSource& src) {
    QStringList header;
    WritePageHeader(header, src.state, src.header);
    if (PrintResult r = WriteLinesWhole(HeaderPageFilePath(src.programDir), header); !r.ok) {
        return r;
    }
    QStringList page = header;
    WritePageBody(page, src);
    return WriteLinesWhole(PageFilePath(src.programDir), page);
}

PrintResult WriteJobFile(PrintMode mode, Int16 page, const QString& programDir) {
    return WriteLinesWhole(JobFilePath(programDir), JobFileLines(mode, page, programDir));
}

}  // namespace vardel
