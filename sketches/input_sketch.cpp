#include "sketches/input_sketch.h"

#include "sketches/basic_colours.h"
#include "state/numbers.h"

#include <QPainter>
#include <QPen>

#include <cmath>
#include <optional>

namespace vardel {
namespace {

// The whole part of a ratio scaled to the sketch, or nothing when it cannot be had (a zero
// divisor, a result beyond any picture).
std::optional<int> ScaledRadius(int r0, double value, double reference) {
    if (reference == 0.0) {
        return std::nullopt;
    }
    const double r = std::trunc(r0 * value / reference);
    if (!std::isfinite(r) || std::fabs(r) > 1e9) {
        return std::nullopt;
    }
    return static_cast<int>(r);
}

}  // namespace

void Rysuj_P1(DesignCase& s, const InputSketchFields& fields, QImage& picture,
              const QLocale& locale) {
    for (auto [text, member] :
         {std::pair{&fields.Text3, &s.R_zewn}, std::pair{&fields.Text4, &s.R_wewn},
          std::pair{&fields.Text11, &s.R_srub}}) {
        if (const SingleResult r = ToSingle(*text, locale); r.status == Convert::Ok) {
            *member = r.value;
        }
    }
    if (const Int16Result r = ToInt16(fields.Text12, locale); r.status == Convert::Ok) {
        s.Liczba_srub = r.value;
    }

    picture.fill(Qt::white);
    QPainter p(&picture);
    constexpr double unit = kInputSketchTwipsPerPixel;
    p.scale(1.0 / unit, 1.0 / unit);  // from here on, twips
    const QSizeF size = picture.deviceIndependentSize() * unit;
    const double xc = size.width() / 2;
    const double yc = size.height() / 2;
    const QPointF centre(xc, yc);

    const int r0 = static_cast<int>(std::trunc(0.8 * xc));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(BasicColourValue(kBlack), unit, Qt::SolidLine));
    p.drawEllipse(centre, r0, r0);
    const int r1 = ScaledRadius(r0, s.R_wewn, s.R_zewn).value_or(0);
    p.drawEllipse(centre, r1, r1);
    const int r2 = ScaledRadius(r0, s.R_srub, s.R_zewn).value_or(0);
    p.setPen(QPen(BasicColourValue(kCyan), unit, Qt::DashLine));
    p.drawEllipse(centre, r2, r2);

    if (s.Liczba_srub <= 0) {
        return;  // no pitch to set the bolts out with
    }
    const float pitch = static_cast<float>(kTwoPi / s.Liczba_srub);
    p.setPen(QPen(BasicColourValue(kLightRed), unit));
    p.setBrush(BasicColourValue(kLightRed));
    for (int k = 1; k <= s.Liczba_srub; ++k) {
        // Bolt 1 on the left, where the plan of the report puts the bolt the calculation tensions.
        const double angle = (k - 1) * pitch;
        p.drawEllipse(QPointF(xc - r2 * std::cos(angle), yc + r2 * std::sin(angle)),
                      kInputSketchBoltMarkTwips, kInputSketchBoltMarkTwips);
    }
}

}  // namespace vardel
