#include "sketches/ring_sketches.h"

#include "sketches/basic_colours.h"
#include "sketches/bitmap_file.h"

#include <QPainter>
#include <QPen>

#include <cmath>

namespace vardel {
namespace {

enum class DrawStyle { Solid = 0, DashDot = 3 };
enum class FillStyle { Solid = 0, Transparent = 1 };

// A picture-box canvas: a current colour, line width, line style and fill, and the two drawing
// operations the sketches use. Coordinates and sizes are canvas units.
class Canvas {
  public:
    explicit Canvas(int units)
        : units_(units),
          image_(units * kSketchPixelsPerUnit, units * kSketchPixelsPerUnit, QImage::Format_RGB32) {
        image_.fill(BasicColourValue(kWhite));
        const int dotsPerMeter = static_cast<int>(std::lround(kSketchDotsPerInch / 0.0254));
        image_.setDotsPerMeterX(dotsPerMeter);
        image_.setDotsPerMeterY(dotsPerMeter);
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.scale(kSketchPixelsPerUnit, kSketchPixelsPerUnit);
    }

    double Width() const { return units_; }
    double Height() const { return units_; }

    int foreColour = kBlack;
    int fillColour = kLightRed;
    double drawWidth = 1;
    DrawStyle drawStyle = DrawStyle::Solid;
    FillStyle fillStyle = FillStyle::Transparent;

    // A circle in the current colour, or in `outline` when given (>= 0). A radius that is not a
    // positive finite number draws nothing (a ring without a hole has no hole circle).
    void Circle(double x, double y, double r, int outline = -1) {
        if (!(r > 0) || !std::isfinite(r)) {
            return;
        }
        painter_.setPen(CurrentPen(outline >= 0 ? outline : foreColour));
        painter_.setBrush(fillStyle == FillStyle::Solid ? QBrush(BasicColourValue(fillColour))
                                                        : QBrush(Qt::NoBrush));
        painter_.drawEllipse(QPointF(x, y), r, r);
    }

    void Line(double x1, double y1, double x2, double y2) {
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) {
            return;
        }
        // The sketches' lines are all vertical or horizontal: drawn without smoothing they stay
        // crisp, where a one-pixel line smoothed between two pixel rows would turn pale.
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(CurrentPen(foreColour));
        painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
        painter_.setRenderHint(QPainter::Antialiasing, true);
    }

    QImage Take() {
        painter_.end();
        return image_;
    }

  private:
    QPen CurrentPen(int colour) const {
        QPen pen(BasicColourValue(colour));
        pen.setWidthF(drawWidth);
        pen.setStyle(drawStyle == DrawStyle::DashDot ? Qt::DashDotLine : Qt::SolidLine);
        pen.setCapStyle(Qt::FlatCap);
        return pen;
    }

    int units_;
    QImage image_;
    QPainter painter_;
};

// num/den for the scale of a radius, 0 when the reference radius is not positive (nothing sound
// to scale by).
float Ratio(double num, double den) {
    if (!(den > 0) || !std::isfinite(num)) {
        return 0;
    }
    return static_cast<float>(num / den);
}

}  // namespace

QString PlanSketchPath(const QString& programDir) {
    return JoinPath(programDir, QStringLiteral("Piersc.bmp"));
}

QString StressSketchPath(const QString& programDir, int caseNumber) {
    return JoinPath(programDir, QStringLiteral("SzkicOK%1.bmp").arg(caseNumber));
}

QImage DrawPlanSketch(const DesignCase& s) {
    Canvas c(kPlanCanvasUnits);
    const double w = c.Width();
    const double h = c.Height();
    const float rho = static_cast<float>(0.48 * w);
    c.Circle(w / 2, h / 2, rho);
    c.Circle(w / 2, h / 2, rho * Ratio(s.Rw_cm, s.Rz_cm));
    c.drawStyle = DrawStyle::DashDot;
    const float rhoS = rho * Ratio(s.Rs_cm, s.Rz_cm);
    c.Circle(w / 2, h / 2, rhoS);
    c.drawStyle = DrawStyle::Solid;
    c.foreColour = kLightRed;
    c.fillStyle = FillStyle::Solid;
    const int bolts = std::min<int>(s.Liczba_srub, kMaxBolts);
    if (bolts > 0) {
        const float pitch = static_cast<float>(kTwoPi / bolts);
        for (int j = 1; j <= bolts; ++j) {
            // Bolt 1 is the one the calculation tensions, whatever the sign of the moment: on the
            // left, across from the compressed zone the case sketches hatch on the right.
            const double theta = (j - 1) * pitch;
            c.Circle(w / 2 - rhoS * std::cos(theta), h / 2 + rhoS * std::sin(theta), 2.5,
                     kLightRed);
        }
    }
    return c.Take();
}

QImage StressSketchImage(const DesignCase& s, int k) {
    if (k < 0 || k >= kMaxCases) {
        return {};
    }
    const int i = k + 1;
    // A lifted plate has no compressed zone and no neutral axis on it.
    const bool lifted = s.Docisk_blachy[i] == Bearing::Lifted;
    const double a = lifted ? s.Rz_cm : s.a_cm[i];  // a lifted plate's axis may lie at infinity
    Canvas c(kStressCanvasUnits);
    const double w = c.Width();
    const double h = c.Height();
    const float rho = static_cast<float>(0.49 * w);
    const float rhoIn = rho * Ratio(s.Rw_cm, s.Rz_cm);

    // Hatch: 29 vertical lines from the compressed edge towards the neutral axis, split where
    // they cross the hole. With strokes 3 units wide and at most 3 units apart they merge into
    // a grey band.
    c.foreColour = kLightGrey;
    c.drawWidth = 3;
    const float delta = rho * Ratio(s.Rz_cm - a, 30.0 * s.Rz_cm);
    for (int t = 1; t <= (lifted ? 0 : 29); ++t) {
        const double x = rho - t * delta;
        const double under = double(rho) * rho - x * x;
        if (under < 0) {
            continue;  // beyond the ring: no chord to draw
        }
        const double half = std::sqrt(under);
        const double underHole = double(rhoIn) * rhoIn - x * x;
        if (x > rhoIn || underHole <= 0) {
            c.Line(w / 2 + x, h / 2 + half, w / 2 + x, h / 2 - half);
        } else {
            const double halfIn = std::sqrt(underHole);
            c.Line(w / 2 + x, h / 2 + half, w / 2 + x, h / 2 + halfIn);
            c.Line(w / 2 + x, h / 2 - halfIn, w / 2 + x, h / 2 - half);
        }
    }

    c.foreColour = kBlack;
    c.drawWidth = 2;
    c.Circle(w / 2, h / 2, rho);
    c.Circle(w / 2, h / 2, rhoIn);

    c.foreColour = kLightRed;
    c.drawWidth = 2;
    const double xn = a * Ratio(rho, s.Rz_cm);
    const double underAxis = double(rho) * rho - xn * xn;
    if (!lifted && underAxis >= 0) {
        const double hn = std::sqrt(underAxis);
        c.Line(w / 2 + xn, h / 2 + hn, w / 2 + xn, h / 2 - hn);
    }

    c.drawStyle = DrawStyle::DashDot;
    c.drawWidth = 1;
    c.foreColour = kCyan;
    c.Line(w / 2, 0.2 * h, w / 2, 0.8 * h);
    c.Line(0.2 * w, h / 2, 0.8 * w, h / 2);
    return c.Take();
}

QString SavePlanSketch(const DesignCase& s, const QString& programDir) {
    return SaveBitmapWhole(DrawPlanSketch(s), PlanSketchPath(programDir));
}

QString DrawStressSketch(const DesignCase& s, const QString& programDir, int k) {
    if (k < 0 || k >= kMaxCases) {
        return QStringLiteral("Brak przypadku obciążenia nr %1").arg(k + 1);
    }
    return SaveBitmapWhole(StressSketchImage(s, k), StressSketchPath(programDir, k + 1));
}

}  // namespace vardel
