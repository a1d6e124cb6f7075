#include "sketches/ring_sketches.h"
#include "sketches/basic_colours.h"
#include "sketches/bitmap_file.h"
#include "tests/test_support.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace vardel {
namespace {

constexpr int kPx = kSketchPixelsPerUnit;

DesignCase Ring(double rz, double rw, double rs, int bolts) {
    DesignCase s;
    s.Rz_cm = rz;
    s.Rw_cm = rw;
    s.Rs_cm = rs;
    s.Liczba_srub = static_cast<Int16>(bolts);
    return s;
}

// The colour at a point given in canvas units.
QColor At(const QImage& img, double x, double y) {
    return img.pixelColor(static_cast<int>(x * kPx), static_cast<int>(y * kPx));
}

bool Is(const QColor& c, int colourNumber) {
    return c.rgb() == BasicColourValue(colourNumber).rgb();
}

std::string Describe(const QColor& c) {
    return c.name().toStdString();
}

TEST(PlanSketch, HasTheDesignedSizeAndAWhiteBackground) {
    const QImage img = DrawPlanSketch(Ring(30, 10, 25, 8));
    EXPECT_EQ(img.width(), 204 * kPx);
    EXPECT_EQ(img.height(), 204 * kPx);
    EXPECT_TRUE(Is(At(img, 3, 3), kWhite));
}

// Bolt j sits at angle (j-1)·2π/n from the right of the centre, clockwise on the screen; a dot
// is light red in its middle, and the opposite point of the bolt circle is empty when no bolt is
// there.
TEST(PlanSketch, PlacesBoltDotsOnTheBoltCircle) {
    struct Row {
        int bolts;
        double angleDeg;
        bool dot;
    };
    const Row rows[] = {
        {1, 0, true},   {1, 180, false}, {1, 90, false}, {4, 0, true},   {4, 90, true},
        {4, 180, true}, {4, 270, true},  {4, 45, false}, {3, 120, true}, {3, 60, false},
    };
    for (const Row& r : rows) {
        const QImage img = DrawPlanSketch(Ring(30, 10, 25, r.bolts));
        const double c = 102;
        const double rhoS = 0.48 * 204 * 25 / 30;
        const double th = r.angleDeg * kPi / 180;
        const QColor got = At(img, c + rhoS * std::cos(th), c + rhoS * std::sin(th));
        EXPECT_EQ(Is(got, kLightRed), r.dot)
            << r.bolts << " bolts at " << r.angleDeg << " deg: " << Describe(got);
    }
}

TEST(PlanSketch, DrawsTheOuterEdgeAndTheHoleInBlack) {
    const QImage img = DrawPlanSketch(Ring(30, 15, 25, 6));
    const double c = 102, rho = 0.48 * 204;
    // Left of the centre, on the horizontal axis (no bolt there for six bolts? there is one at
    // 180 degrees, so look straight up instead).
    EXPECT_LT(At(img, c, c - rho).lightness(), 128) << Describe(At(img, c, c - rho));
    EXPECT_LT(At(img, c, c - rho / 2).lightness(), 128);
    EXPECT_TRUE(Is(At(img, c, c - 0.75 * rho), kWhite));
}

struct StressRow {
    const char* name;
    double a;   // neutral axis, cm from the centre (Rz = 30)
    double rw;  // hole radius, cm
};

// The neutral axis is a light-red chord at x = a·ρ/Rz: right of the centre for a > 0, left for
// a < 0.
TEST(StressSketch, DrawsTheNeutralAxisWhereTheSolverPutIt) {
    const StressRow rows[] = {{"a>0", 12, 10}, {"a<0", -12, 10}, {"a<0 no hole", -20, 0}};
    for (const StressRow& r : rows) {
        DesignCase s = Ring(30, r.rw, 25, 8);
        s.a_cm[2] = r.a;
        const QImage img = StressSketchImage(s, 1);
        ASSERT_EQ(img.width(), 90 * kPx);
        const double c = 45, rho = 0.49 * 90;
        const double xn = c + r.a * rho / 30;
        const double yOnAxis = c + 0.5 * std::sqrt(rho * rho - (xn - c) * (xn - c));
        EXPECT_TRUE(Is(At(img, xn, yOnAxis), kLightRed))
            << r.name << Describe(At(img, xn, yOnAxis));
        // The mirror position holds no axis.
        EXPECT_FALSE(Is(At(img, 2 * c - xn, yOnAxis), kLightRed)) << r.name;
    }
}

// The zone between the compressed edge (right) and the axis is grey; a hatch line that crosses
// the hole is split, so the hole stays white; without a hole the zone is grey right through.
TEST(StressSketch, HatchesTheCompressedZoneAroundTheHole) {
    const double c = 45, rho = 0.49 * 90;
    const struct {
        const char* name;
        double a, rw;
        double x, y;  // probe, in units of ρ from the centre
        int colour;
    } rows[] = {
        {"in the hole", -15, 10, 0.15, 0.15, kWhite},
        {"ring above the hole", -15, 10, 0.15, 0.6, kLightGrey},
        {"ring below the hole", -15, 10, 0.15, -0.6, kLightGrey},
        {"no hole: centre hatched", -15, 0, 0.15, 0.15, kLightGrey},
        {"tension side", 6, 10, -0.6, 0.1, kWhite},
        {"compressed side", 6, 10, 0.6, 0.1, kLightGrey},
        {"axis at the edge: nothing hatched", 30, 10, 0.6, 0.1, kWhite},
        {"outside the ring", -15, 10, 0.8, 0.8, kWhite},
    };
    for (const auto& r : rows) {
        DesignCase s = Ring(30, r.rw, 25, 8);
        s.a_cm[1] = r.a;
        const QImage img = StressSketchImage(s, 0);
        const QColor got = At(img, c + r.x * rho, c + r.y * rho);
        EXPECT_TRUE(Is(got, r.colour)) << r.name << ": " << Describe(got);
    }
}

TEST(StressSketch, CentreLinesAreCyanAndDrawnLast) {
    DesignCase s = Ring(30, 0, 25, 8);
    s.a_cm[1] = 0;  // the axis lies on the vertical centre line
    const QImage img = StressSketchImage(s, 0);
    // Somewhere on the first dash of the horizontal centre line, inside the hatched zone.
    int cyan = 0;
    for (double x = 45 + 1; x < 45 + 0.3 * 90; x += 0.5) {
        cyan += Is(At(img, x, 45), kCyan) ? 1 : 0;
    }
    EXPECT_GT(cyan, 5);
}

TEST(StressSketch, AnAxisBeyondTheRingDrawsNoAxisAndDoesNotFail) {
    DesignCase s = Ring(30, 10, 25, 8);
    s.a_cm[1] = 45;
    const QImage img = StressSketchImage(s, 0);
    ASSERT_FALSE(img.isNull());
    for (int x = 0; x < img.width(); ++x) {
        ASSERT_FALSE(Is(img.pixelColor(x, img.height() / 3), kLightRed)) << x;
    }
}

TEST(StressSketch, SavesATwentyFourBitBitmapPerCase) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    DesignCase s = Ring(30, 10, 25, 8);
    s.a_cm[3] = 5;
    EXPECT_EQ(DrawStressSketch(s, dir.path(), 2), QString());
    const QByteArray bytes = test::ReadAll(dir.filePath("SzkicOK3.bmp"));
    ASSERT_GT(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(static_cast<int>(bytes[28]), 24);  // bits per pixel
    const QImage back(dir.filePath("SzkicOK3.bmp"));
    EXPECT_EQ(back.size(), QSize(90 * kPx, 90 * kPx));

    EXPECT_EQ(SavePlanSketch(s, dir.path() + "/"), QString());
    EXPECT_TRUE(QFile::exists(dir.filePath("Piersc.bmp")));
}

// The report composition calls the sketch through a hook that knows only the case index.
TEST(StressSketch, FitsTheReportHook) {
    QTemporaryDir dir;
    DesignCase s = Ring(30, 10, 25, 8);
    s.a_cm[5] = -4;
    const std::function<void(int)> hook =
        std::bind_front(&DrawStressSketch, std::cref(s), dir.path());
    hook(4);
    EXPECT_EQ(QImage(dir.filePath("SzkicOK5.bmp")).size(), QSize(90 * kPx, 90 * kPx));
}

TEST(StressSketch, RefusesCasesOutsideOneToSix) {
    QTemporaryDir dir;
    const DesignCase s = Ring(30, 10, 25, 8);
    for (int k : {-1, 6}) {
        EXPECT_FALSE(DrawStressSketch(s, dir.path(), k).isEmpty()) << k;
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(BitmapFile, AFailedWriteLeavesNoFileAndSaysWhere) {
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/Piersc.bmp");
    const QString message = SaveBitmapWhole(QImage(4, 4, QImage::Format_RGB32), path);
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

TEST(BitmapFile, ReplacesAnOlderBitmapWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("x.bmp");
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::red);
    ASSERT_EQ(SaveBitmapWhole(small, path), QString());
    QImage big(40, 30, QImage::Format_RGB32);
    big.fill(Qt::blue);
    ASSERT_EQ(SaveBitmapWhole(big, path), QString());
    const QImage back(path);
    EXPECT_EQ(back.size(), QSize(40, 30));
    EXPECT_EQ(back.pixelColor(5, 5).rgb(), QColor(Qt::blue).rgb());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.bmp"});
}

TEST(BasicColours, FollowTheClassicPalette) {
    EXPECT_EQ(BasicColourValue(kCyan), QColor(0, 128, 128));
    EXPECT_EQ(BasicColourValue(kLightGrey), QColor(192, 192, 192));
    EXPECT_EQ(BasicColourValue(kLightRed), QColor(255, 0, 0));
    EXPECT_EQ(BasicColourValue(kWhite), QColor(255, 255, 255));
    EXPECT_EQ(BasicColourValue(16), QColor(0, 0, 0));
}

}  // namespace
}  // namespace vardel
