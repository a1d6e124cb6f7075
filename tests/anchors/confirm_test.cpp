#include "anchors/confirm.h"

#include "materials/tables.h"
#include "tests/test_support.h"
#include "texts/language.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel {
namespace {

// A program directory of its own holding the installed anchor sketches.
void CopySketches(const QTemporaryDir& dir) {
    for (const char* name : {"rys3f.bmp", "rys2pm.bmp", "rys2pd.bmp"}) {
        ASSERT_TRUE(QFile::copy(test::ProgramDir() + "/" + name, dir.filePath(name))) << name;
    }
}

Anchors For(DesignCase& s, int d, int concrete, int t) {
    s.Fi_sruby = static_cast<Int16>(d);
    s.Nrstali = 2;
    s.Nrbetonu = static_cast<Int16>(concrete);
    EXPECT_TRUE(LookUpBoltArea(s));
    EXPECT_EQ(LookUpSteel(s), SteelLookup::Set);
    EXPECT_TRUE(LookUpConcrete(s));
    return std::get<Anchors>(ComputeAnchors(s, Int16(t)));
}

// One state confirmed twice (the hook anchor's block is in the golden page): the second block
// replaces the first. A plate of 48 mm has a rib line and 9 lines, one below 43 mm 8; the sketch
// saved is the installed one of that plate. The anchor gives the PN-EN checks its embedment and
// head: a plate anchor its depth Lp (1000 mm × 0.866 in B20, 900 × 0.775 = 697.5 rounded to even
// in B25) and its plate's side, a hook its base length and no head.
TEST(AnchorConfirm, BlockLinesAndSketch) {
    QTemporaryDir dir;
    CopySketches(dir);
    DesignCase s;
    ASSERT_FALSE(LoadLanguageTexts(s, test::ProgramDir()));
    const struct {
        int d, concrete, t;
        const char* sketch;
        const char* lines;  // lines 6 onwards, one per line
        float h_ef, d_head;
    } rows[] = {
        {48, 2, 80, "rys2pd.bmp",
         "Wymiary płytki a x a x t:  170 x 170 x 20 mm\nDługość żeberka:  L1 = 160 mm\n"
         "Długość całkowita kotwy:  Lcałk. =  1050 mm  (wg rysunku)\n"
         "Łączna grubość blachy czołowej i podlewki: 80 mm",
         866, 170},
        {42, 3, 0, "rys2pm.bmp",
         "Wymiary płytki a x a x t:  150 x 150 x 20 mm\n"
         "Długość całkowita kotwy:  Lcałk. =  850 mm  (wg rysunku)\n"
         "Łączna grubość blachy czołowej i podlewki: 0 mm",
         698, 150},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.d);
        const Anchors a = For(s, r.d, r.concrete, r.t);
        ASSERT_EQ(ConfirmAnchor(s, a, AnchorKind::Plate, dir.path(), test::Polish()), "");
        const QStringList lines = QString::fromUtf8(r.lines).split(u'\n');
        ASSERT_EQ(s.Dobor_liczba, 5 + lines.size());
        EXPECT_EQ(
            QStringList(s.Dobor_teksty.begin() + 6, s.Dobor_teksty.begin() + 1 + s.Dobor_liczba),
            lines);
        EXPECT_EQ(s.Dobor_teksty[3], QString("Średnica kotwy:  d = %1 mm").arg(r.d));
        const QImage saved(dir.filePath("Szkick.bmp"));
        EXPECT_EQ(saved, QImage(dir.filePath(r.sketch)).convertToFormat(saved.format()));
        EXPECT_EQ(std::pair(s.Eurokod.h_ef, s.Eurokod.d_glowy), std::pair(r.h_ef, r.d_head));
    }
    const Anchors hook = For(s, 24, 2, 50);
    ASSERT_EQ(ConfirmAnchor(s, hook, AnchorKind::Hook, dir.path(), test::Polish()), "");
    EXPECT_EQ(std::pair(s.Eurokod.h_ef, s.Eurokod.d_glowy), std::pair(1080.0f, 0.0f));
}

// A confirmation that cannot be carried out leaves the block of the earlier one as it was.
TEST(AnchorConfirm, FailuresLeaveTheStateAsItWas) {
    QTemporaryDir blocked;
    CopySketches(blocked);
    ASSERT_TRUE(QDir(blocked.path()).mkdir("Szkick.bmp"));
    QTemporaryDir empty;
    const struct {
        const char* what;
        int d;
        AnchorKind kind;
        QString dir;
        const char* message;
    } rows[] = {
        {"no plate anchor at 16 mm", 16, AnchorKind::Plate, blocked.path(), "16 mm"},
        {"installed sketch missing", 24, AnchorKind::Hook, empty.path(), "rys3f.bmp"},
        {"sketch cannot be written", 24, AnchorKind::Plate, blocked.path(), "Szkick.bmp"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        DesignCase s;
        s.Dobor_liczba = 8;
        s.Dobor_teksty[1] = "earlier";
        const Anchors a = For(s, r.d, 1, 50);
        const QString message = ConfirmAnchor(s, a, r.kind, r.dir, test::Polish());
        EXPECT_TRUE(message.contains(r.message)) << message.toStdString();
        EXPECT_EQ(s.Dobor_liczba, 8);
        EXPECT_EQ(s.Dobor_teksty[1], "earlier");
        EXPECT_EQ(s.Eurokod.h_ef, EurocodeInputs{}.h_ef);
    }
    EXPECT_FALSE(QFile::exists(empty.filePath("Szkick.bmp")));
}

}  // namespace
}  // namespace vardel
