#include "sketches/input_sketch.h"
#include "sketches/basic_colours.h"
#include "tests/test_support.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vardel {
namespace {

// Points "x,y x,y ..." in logical pixels.
std::vector<QPointF> Points(const char* text) {
    std::vector<QPointF> out;
    for (const QString& p : QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts)) {
        out.emplace_back(p.section(u',', 0, 0).toDouble(), p.section(u',', 1, 1).toDouble());
    }
    return out;
}

// A 200-pixel picture: centre (100, 100), outer edge at 80 px.
TEST(InputSketch, TakesTheFieldsAndSetsOutTheBolts) {
    const struct {
        const char* what;
        const char *rz, *rw, *rs, *bolts;  // the fields
        qreal dpr;
        float R_zewn, R_srub;  // expected members after the call
        Int16 Liczba_srub;
        const char* red;    // bolt marks
        const char* white;  // places without one
    } rows[] = {
        {"four bolts at 3, 6, 9 and 12 o'clock", "300", "100", "250", "4", 1, 300, 250, 4,
         "166,100 100,166 34,100 100,34", "130,100 100,100"},
        {"a high-density picture keeps the logical layout", "300", "100", "250", "4", 2, 300, 250,
         4, "166,100 100,166", "130,100"},
        // Bolt 1 on the left, where the report's plan puts the bolt the calculation tensions.
        {"a count that is not a number keeps the previous one", "300", "100", "250", "abc", 1, 300,
         250, 3, "34,100 134,157 134,42", "100,130 167,100"},
        {"a bolt circle beyond the ring is drawn beyond it", "300", "100", "360", "2", 1, 300, 360,
         2, "196,100 4,100", "188,100"},
        {"an outer radius of 0 puts every bolt in the centre", "0", "100", "250", "4", 1, 0, 250, 4,
         "100,100", "166,100"},
        {"an empty radius keeps the previous one", "", "100", "250", "4", 1, 500, 250, 4, "140,100",
         "166,100"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        DesignCase s;
        s.R_zewn = 500;
        s.Liczba_srub = 3;
        QImage picture(QSize(200, 200) * r.dpr, QImage::Format_RGB32);
        picture.setDevicePixelRatio(r.dpr);
        Rysuj_P1(s, {r.rz, r.rw, r.rs, r.bolts}, picture, test::DecimalPoint());
        EXPECT_EQ(s.R_zewn, r.R_zewn);
        EXPECT_EQ(s.R_srub, r.R_srub);
        EXPECT_EQ(s.Liczba_srub, r.Liczba_srub);
        const auto colour = [&](QPointF p) { return picture.pixelColor((p * r.dpr).toPoint()); };
        for (QPointF p : Points(r.red)) {
            EXPECT_EQ(colour(p), BasicColourValue(kLightRed)) << p.x() << "," << p.y();
        }
        for (QPointF p : Points(r.white)) {
            EXPECT_EQ(colour(p), BasicColourValue(kWhite)) << p.x() << "," << p.y();
        }
        // The outer edge is always drawn, at 80 % of half the width, in black.
        EXPECT_LT(std::min(colour({100, 19}).lightness(), colour({100, 20}).lightness()), 128);
    }
}

}  // namespace
}  // namespace vardel
