#include "anchors/confirm.h"

#include "sketches/bitmap_file.h"
#include "state/numbers.h"

#include <QImage>

namespace vardel {

QStringList AnchorBlock(const DesignCase& s, const Anchors& a, AnchorKind kind,
                        const QLocale& locale) {
    const AnchorCaptions c = Captions(a, locale);
    const int k = static_cast<int>(kind);
    const auto& t = s.Teksty;
    QStringList lines;
    lines << t[21] + c.Nazwa[k]
          << t[22] + Format(a.Nosnosc, u"### ##0.0", locale) + QStringLiteral(" kN")
          << t[23] + c.dia[k] << t[27] + c.Ld[k] << t[26] + c.Lo[k];
    if (kind == AnchorKind::Plate && a.plate) {
        const QString side = PlainInt(a.plate->a);
        lines << t[31] + side + QStringLiteral(" x ") + side + QStringLiteral(" x ") +
                     PlainInt(a.plate->tp) + QStringLiteral(" mm");
        if (a.d >= 43) {
            lines << t[32] + c.L1;
        }
    } else {
        lines << t[24] + c.Lh << t[25] + c.D;
    }
    lines << t[29] + c.Lcalk[k] + t[30];
    lines << t[28] + PlainInt(a.Grubosc) + QStringLiteral(" mm");
    return lines;
}

void FillEurocodeAnchor(EurocodeInputs& e, const Anchors& a, AnchorKind kind) {
    if (kind == AnchorKind::Plate && a.plate) {
        e.h_ef = a.plate->Lp;
        e.d_glowy = a.plate->a;
    } else {
        e.h_ef = a.hook.L;
        e.d_glowy = 0;
    }
}

QString AnchorSketchPath(const QString& programDir) {
    return JoinPath(programDir, QStringLiteral("Szkick.bmp"));
}

QString ConfirmAnchor(DesignCase& s, const Anchors& a, AnchorKind kind, const QString& programDir,
                      const QLocale& locale, const QString& runDir) {
    if (kind == AnchorKind::Plate && !a.plate) {
        return QStringLiteral("Brak kotwy z płytką dla śruby %1 mm").arg(a.d);
    }
    const QString installed = JoinPath(programDir, SketchFileName(SketchNumber(kind, a.d)));
    const QImage sketch(installed);
    if (sketch.isNull()) {
        return QStringLiteral("Nie można odczytać pliku %1").arg(installed);
    }
    if (QString failure =
            SaveBitmapWhole(sketch, AnchorSketchPath(runDir.isEmpty() ? programDir : runDir));
        !failure.isEmpty()) {
        return failure;
    }
    const QStringList lines = AnchorBlock(s, a, kind, locale);
    for (int i = 0; i < lines.size(); ++i) {
        s.Dobor_teksty[i + 1] = lines[i];
    }
    s.Dobor_liczba = static_cast<Int16>(lines.size());
    FillEurocodeAnchor(s.Eurokod, a, kind);
    return {};
}

}  // namespace vardel
