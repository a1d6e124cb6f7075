#include "sketches/ring_sketches.h"
#include "sketches/basic_colours.h"
#include "sketches/bitmap_file.h"
#include "tests/test_support.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

#include <cmath>
#include <functional>

namespace vardel {
namespace {

constexpr int kPx = kSketchPixelsPerUnit;

// A ring of outer radius 30 cm, bolt circle 25 cm, the given hole, bolts and neutral axis a
// (cm from the centre) in every load case.
DesignCase Ring(double rw, int bolts = 8, double a = 0) {
    DesignCase s;
    s.Rz_cm = 30;
    s.Rw_cm = rw;
    s.Rs_cm = 25;
    s.Liczba_srub = static_cast<Int16>(bolts);
    s.a_cm.fill(a);
    return s;
}

// The colour number at a point given in canvas units, or -1 when it is none of the palette.
int ColourAt(const QImage& img, double x, double y) {
    const QRgb got = img.pixel(static_cast<int>(x * kPx), static_cast<int>(y * kPx));
    for (int n : {kWhite, kBlack, kLightRed, kLightGrey, kCyan}) {
        if (got == BasicColourValue(n).rgb()) {
            return n;
        }
    }
    return -1;
}

// The plan is 204 units square on white, with the outer edge and the hole drawn dark.
TEST(PlanSketch, DrawsTheOuterEdgeAndTheHoleOnWhite) {
    const QImage img = DrawPlanSketch(Ring(15, 6));
    ASSERT_EQ(img.size(), QSize(204 * kPx, 204 * kPx));
    const double c = 102, rho = 0.48 * 204;
    EXPECT_EQ(ColourAt(img, 3, 3), kWhite);
    EXPECT_LT(img.pixelColor(int(c * kPx), int((c - rho) * kPx)).lightness(), 128);
    EXPECT_LT(img.pixelColor(int(c * kPx), int((c - rho / 2) * kPx)).lightness(), 128);
    EXPECT_EQ(ColourAt(img, c, c - 0.75 * rho), kWhite);
}

// Bolt j sits at angle (j-1)·2π/n from the left of the centre: bolt 1, the one the calculation
// tensions, across from the compressed zone the case sketches hatch on the right (one bolt, or
// any odd count, shows it). A dot is light red in its middle; a point between bolts stays empty.
TEST(PlanSketch, PlacesBoltDotsOnTheBoltCircle) {
    const std::tuple<int, double, bool> rows[] = {
        {1, 0, true},   {1, 180, false}, {4, 90, true},  {4, 270, true},
        {4, 45, false}, {3, 120, true},  {3, 60, false},
    };
    const double c = 102, rhoS = 0.48 * 204 * 25 / 30;
    for (const auto& [bolts, deg, dot] : rows) {
        const QImage img = DrawPlanSketch(Ring(10, bolts));
        const double th = deg * kPi / 180;
        EXPECT_EQ(ColourAt(img, c - rhoS * std::cos(th), c + rhoS * std::sin(th)) == kLightRed, dot)
            << bolts << " bolts at " << deg << " deg";
    }
}

// The neutral axis is a light-red chord at x = a·ρ/Rz: right of the centre for a > 0, left for
// a < 0; the mirror position holds none. An axis beyond the ring draws no axis and no failure.
TEST(StressSketch, DrawsTheNeutralAxisWhereTheSolverPutIt) {
    const double c = 45, rho = 0.49 * 90;
    for (const auto& [a, rw] : {std::pair{12.0, 10.0}, {-12.0, 10.0}, {-20.0, 0.0}}) {
        const QImage img = StressSketchImage(Ring(rw, 8, a), 1);
        ASSERT_EQ(img.size(), QSize(90 * kPx, 90 * kPx));
        const double xn = c + a * rho / 30;
        const double y = c + 0.5 * std::sqrt(rho * rho - (xn - c) * (xn - c));
        EXPECT_EQ(ColourAt(img, xn, y), kLightRed) << a;
        EXPECT_NE(ColourAt(img, 2 * c - xn, y), kLightRed) << a;
    }
    const QImage beyond = StressSketchImage(Ring(10, 8, 45), 0);
    ASSERT_FALSE(beyond.isNull());
    int red = 0;
    for (int x = 0; x < beyond.width(); ++x) {
        red += beyond.pixel(x, beyond.height() / 3) == BasicColourValue(kLightRed).rgb();
    }
    EXPECT_EQ(red, 0);
}

// The zone between the compressed edge (right) and the axis is grey; a hatch line that crosses
// the hole is split, so the hole stays white; without a hole the zone is grey right through.
TEST(StressSketch, HatchesTheCompressedZoneAroundTheHole) {
    const double c = 45, rho = 0.49 * 90;
    // name, axis a, hole radius, probe x and y in units of ρ from the centre, colour
    const std::tuple<const char*, double, double, double, double, int> rows[] = {
        {"in the hole", -15, 10, 0.15, 0.15, kWhite},
        {"ring above the hole", -15, 10, 0.15, 0.6, kLightGrey},
        {"no hole: centre hatched", -15, 0, 0.15, 0.15, kLightGrey},
        {"tension side", 6, 10, -0.6, 0.1, kWhite},
        {"compressed side", 6, 10, 0.6, 0.1, kLightGrey},
        {"axis at the edge: nothing hatched", 30, 10, 0.6, 0.1, kWhite},
        {"outside the ring", -15, 10, 0.8, 0.8, kWhite},
    };
    for (const auto& [name, a, rw, x, y, colour] : rows) {
        const QImage img = StressSketchImage(Ring(rw, 8, a), 0);
        EXPECT_EQ(ColourAt(img, c + x * rho, c + y * rho), colour) << name;
    }
}

// The centre lines are drawn last: with the axis on the vertical centre line, the first dash of
// the horizontal one still shows cyan across the hatched zone.
TEST(StressSketch, CentreLinesAreCyanAndDrawnLast) {
    const QImage img = StressSketchImage(Ring(0), 0);
    int cyan = 0;
    for (double x = 45 + 1; x < 45 + 0.3 * 90; x += 0.5) {
        cyan += ColourAt(img, x, 45) == kCyan;
    }
    EXPECT_GT(cyan, 5);
}

// The report composition calls the sketch through a hook that knows only the case index. The
// bitmap is 24-bit at the canvas size and replaces an older file whole, leaving no temporary
// file beside it; a directory ending in "/" is not doubled. A case outside 1 to 6 is refused.
TEST(StressSketch, SavesATwentyFourBitBitmapPerCaseThroughTheReportHook) {
    QTemporaryDir dir;
    const QString path = dir.filePath("SzkicOK3.bmp");
    ASSERT_EQ(SaveBitmapWhole(DrawPlanSketch(Ring(10)), path), QString());
    const DesignCase s = Ring(10, 8, 5);
    const std::function<void(int)> hook =
        std::bind_front(&DrawStressSketch, std::cref(s), dir.path());
    hook(2);
    for (int k : {-1, 6}) {  // no such case: no file
        EXPECT_FALSE(DrawStressSketch(s, dir.path(), k).isEmpty()) << k;
    }
    const QByteArray bytes = test::ReadAll(path);
    ASSERT_GT(bytes.size(), 54);
    EXPECT_TRUE(bytes.startsWith("BM") && bytes[28] == 24);  // 24 bits per pixel
    EXPECT_EQ(QImage(path).size(), QSize(90 * kPx, 90 * kPx));
    EXPECT_EQ(SavePlanSketch(s, dir.path() + "/"), QString());
    EXPECT_EQ(QImage(dir.filePath("Piersc.bmp")).size(), QSize(204 * kPx, 204 * kPx));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"Piersc.bmp", "SzkicOK3.bmp"}));
}

// A full disk is told as the system tells it.
TEST(BitmapFile, AFailedWriteLeavesNoFileAndSaysWhereAndWhy) {
    QTemporaryDir dir;
    const std::pair<QString, QString> rows[] = {
        {dir.filePath("missing/Piersc.bmp"), QString()},
        {"/dev/full", qt_error_string(ENOSPC)},
    };
    for (const auto& [path, why] : rows) {
        const QString message = SaveBitmapWhole(QImage(4, 4, QImage::Format_RGB32), path);
        EXPECT_TRUE(message.contains(path) && message.contains(why)) << message.toStdString();
    }
    EXPECT_FALSE(QFile::exists(rows[0].first));
}

// The sketches' grey is the light grey of dialog faces, not Qt's; an unknown number is black.
TEST(BasicColours, FollowTheClassicPalette) {
    EXPECT_EQ(BasicColourValue(kLightGrey), QColor(192, 192, 192));
    EXPECT_EQ(BasicColourValue(kCyan), QColor(0, 128, 128));
    EXPECT_EQ(BasicColourValue(16), QColor(0, 0, 0));
    EXPECT_EQ(BasicColourValue(-1), QColor(0, 0, 0));
}

}  // namespace
}  // namespace vardel
