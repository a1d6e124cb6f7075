#include "export/word_export.h"

#include "report/compose.h"
#include "report/header.h"
#include "sketches/bitmap_file.h"
#include "state/numbers.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace vardel {
namespace {

constexpr double kLinePoints = 9.225;  // one line of 8 pt text
constexpr double kPictureTop = 120;    // 13 lines: below the header and input lines
constexpr int kHeaderTextMaxLength = 150;

const QString kCrLf = QStringLiteral("\r\n");

// The first `count` characters, never cutting a character outside the basic plane in half.
QString LeftCharacters(const QString& text, qsizetype count) {
    QString cut = text.left(count);
    if (!cut.isEmpty() && cut.size() < text.size() && cut.back().isHighSurrogate()) {
        cut.chop(1);
    }
    return cut;
}

class ReportBuilder {
  public:
    ReportBuilder(WordDocument& doc, const WordSource& src)
        : doc_(doc), src_(src), s_(src.state), r_(src.lines) {}

    QString Build() {
        const int cases = std::clamp<int>(s_.Liczba_przyp, 0, kMaxCases);
        // The header texts in use (2 and 3 are empty), then all input-data lines and the load
        // table's title: 13 lines, the height at which the pictures are placed.
        for (int k : {1, 4, 5, 6, 7}) {
            const QString text =
                k == 6 ? PageLabel(src_.header, s_.Strona) : src_.header.Teksty_nagl[k];
            Line(LeftCharacters(text, kHeaderTextMaxLength));
        }
        for (int k = 1; k <= 7; ++k) {
            Line(r_.Dane[k]);
        }
        Line(s_.Tabela[0]);
        Picture(QStringLiteral("Vdlogo2.bmp"), kPictureTop, 50);
        Picture(QStringLiteral("Vdlrob.bmp"), kPictureTop, 250);

        // Below the pictures, the load table, the results heading and the first case title
        // (Liczba_przyp + 4 lines) come before the row of sketches.
        for (int k = 1; k <= cases + 2; ++k) {
            Line(s_.Tabela[k]);
        }
        for (const QString& line : r_.Eurokod) {
            Line(line);
        }
        Line(r_.Teksty_rap[0]);

        const int top = SketchRowTop(cases);
        for (int i = 1; i <= cases; ++i) {
            Line(s_.Teksty[16] + PlainInt(i));
            const bool partly = HasStressSketch(s_, i);
            const QString sketch =
                partly ? QStringLiteral("SzkicOK%1.bmp").arg(i) : QStringLiteral("gkrysOK.bmp");
            static constexpr int kColumns[] = {60, 190, 320};
            Picture(sketch, i <= 3 ? top : top + 80, kColumns[(i - 1) % 3]);
            if (partly) {
                Line(r_.Linia_a[i]);
            }
            Line(r_.Teksty_rap[1]);
            Line(r_.Linia_sruby[i]);
            Line(r_.Linia_betonu[i]);
            if (r_.Uwaga_betonu[i] != QStringLiteral(" ")) {
                doc_.AppendText(r_.Uwaga_betonu[i] + QStringLiteral("ω"));
                doc_.AppendText(s_.Norma == 1 ? QStringLiteral("u") : QStringLiteral("d"),
                                WordDocument::Style::Subscript);
                Line(QStringLiteral(" = ") + Format(s_.Omega_u[i], u"#0.00", src_.locale));
            }
            if (!s_.Wynik_V[i].isEmpty()) {
                Line(s_.Wynik_V[i]);
            }
            for (const QString& line : r_.Eurokod_przyp[i]) {
                Line(line);
            }
            Line(r_.Teksty_rap[2]);
            Line(r_.Teksty_rap[2]);
        }

        if (cases > 1) {
            Line(r_.Teksty_rap[3]);
            for (const QString& line : ExtremeValueLines(s_, src_.locale)) {
                Line(line);
            }
        }
        if (r_.nmDiagram) {
            Line(QString());
            QString reason;
            if (!doc_.AppendPicture(PicturePath(src_.programDir, src_.runDir, NmDiagramFileName()),
                                    &reason) &&
                failure_.isEmpty()) {
                failure_ = reason;
            }
        }

        const int anchorLines =
            std::clamp<int>(s_.Dobor_liczba, 0, static_cast<int>(s_.Dobor_teksty.size()) - 1);
        if (anchorLines > 0) {
            Line(QString());
            for (int k = 1; k <= anchorLines; ++k) {
                Line(s_.Dobor_teksty[k]);
            }
            Line(QString());
            doc_.AppendText(QStringLiteral("Szkice kotew zapisano w katalogu programu: "));
            Line(
                QStringLiteral("rys3f.bmp (kotwy hakowe), rys2pm.bmp (małe kotwy płytkowe), "
                               "rys2pd.bmp (duże kotwy płytkowe)."));
        }
        return failure_;
    }

  private:
    void Line(const QString& text) { doc_.AppendText(text + kCrLf); }

    void Picture(const QString& fileName, double down, double right) {
        QString reason;
        const QString name =
            doc_.AddPicture(PicturePath(src_.programDir, src_.runDir, fileName), &reason);
        if (name.isEmpty()) {
            if (failure_.isEmpty()) {
                failure_ = reason;
            }
            return;
        }
        doc_.IncrementTop(name, down);
        doc_.IncrementLeft(name, right);
    }

    WordDocument& doc_;
    const WordSource& src_;
    const DesignCase& s_;
    const ReportLines& r_;
    QString failure_;
};

}  // namespace

int SketchRowTop(int cases) {
    // Rounded half to even, as the first export rounded.
    return static_cast<int>(std::nearbyint(240 + (cases + 4) * kLinePoints));
}

QString BuildWordReport(WordDocument& doc, const WordSource& src) {
    return ReportBuilder(doc, src).Build();
}

WordExportResult WriteWordExport(const QString& path, const WordSource& src) {
    const QString caption = QStringLiteral("Dokument Word'a");
    WordDocument doc;
    QString reason = BuildWordReport(doc, src);
    if (reason.isEmpty()) {
        reason = doc.SaveAs(path);
    }
    doc.Close();
    if (!reason.isEmpty()) {
        return {false, caption,
                QStringLiteral("Nie udało się zapisać dokumentu Word'a\n%1\n%2")
                    .arg(QDir::toNativeSeparators(path), reason)};
    }
    return {true, caption,
            QStringLiteral("    Zaleca się otwieranie dokumentu\n"
                           "       z czcionką o wysokości '8'  i\n"
                           "widokiem ustawionym na 'Układ strony'")};
}

}  // namespace vardel
