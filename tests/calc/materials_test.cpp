#include "materials/tables.h"

#include <gtest/gtest.h>

namespace vardel {
namespace {

TEST(Materials, SteelRowsByGradeAndDiameter) {
    const struct {
        int grade, d;
        SteelLookup result;
        float fd, ft, fv;
        const char* klasa;
    } cases[] = {
        {1, 16, SteelLookup::Set, 175, 165.75f, 141.75f, " (A-0) "},
        {1, 36, SteelLookup::Set, 165, 157.25f, 141.75f, " (A-0) "},
        {1, 42, SteelLookup::NotAllowed, 0, 0, 0, ""},
        {2, 80, SteelLookup::Set, 195, 182.75f, 168.75f, " (A-I) "},
        {3, 40, SteelLookup::Set, 225, 208.25f, 184.5f, " "},
        {3, 42, SteelLookup::NotAllowed, 0, 0, 0, ""},
        {4, 30, SteelLookup::Set, 295, 293.25f, 220.5f, " (A-II) "},
        {4, 36, SteelLookup::Set, 285, 284.75f, 220.5f, " (A-II) "},
        {4, 52, SteelLookup::NotAllowed, 0, 0, 0, ""},
        {5, 24, SteelLookup::Set, 360, 365.5f, 252, " "},
        {5, 30, SteelLookup::Set, 350, 357, 252, " "},
        {5, 52, SteelLookup::NotAllowed, 0, 0, 0, ""},
        {6, 30, SteelLookup::Set, 310, 290, 220, " (A-II) "},
        {6, 36, SteelLookup::NotAllowed, 0, 0, 0, ""},
        {0, 24, SteelLookup::GradeOutOfRange, 0, 0, 0, ""},
        {7, 24, SteelLookup::GradeOutOfRange, 0, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "grade " << c.grade << " d " << c.d);
        DesignCase s;
        s.Nrstali = static_cast<Int16>(c.grade);
        s.Fi_sruby = static_cast<Int16>(c.d);
        ASSERT_EQ(LookUpSteel(s), c.result);
        if (c.result == SteelLookup::Set) {
            EXPECT_EQ(s.fd_stali, c.fd);
            EXPECT_EQ(s.ft_sruby, c.ft);
            EXPECT_EQ(s.fv_sruby, c.fv);
            EXPECT_EQ(s.Klasa_stali, QString::fromLatin1(c.klasa));
        } else {
            EXPECT_EQ(s.fd_stali, 0);  // nothing changed
        }
    }
}

TEST(Materials, ConcreteByClassAndFoundation) {
    DesignCase s;
    s.Nrbetonu = 3;
    s.Typ_stopy = 0;
    ASSERT_TRUE(LookUpConcrete(s));
    EXPECT_FLOAT_EQ(s.fcd_betonu, 11.1f);
    EXPECT_FLOAT_EQ(s.Eb, 30000);
    s.Typ_stopy = 1;
    ASSERT_TRUE(LookUpConcrete(s));
    EXPECT_FLOAT_EQ(s.fcd_betonu, 13.3f);
    EXPECT_FLOAT_EQ(s.Wsp_bet, 0.775f);
    s.Nrbetonu = 6;
    EXPECT_FALSE(LookUpConcrete(s));
    EXPECT_FLOAT_EQ(s.fcd_betonu, 13.3f);
}

TEST(Materials, BoltAreas) {
    DesignCase s;
    s.Fi_sruby = 80;
    ASSERT_TRUE(LookUpBoltArea(s));
    EXPECT_DOUBLE_EQ(s.As_sruby, 43.42);
    s.Fi_sruby = 25;
    EXPECT_FALSE(LookUpBoltArea(s));
    EXPECT_DOUBLE_EQ(s.As_sruby, 43.42);
    EXPECT_EQ(BoltDiameterNames().size(), 13);
    EXPECT_EQ(SteelGradeNames().at(1), QStringLiteral("St3SX,St3SY,St3S,St3V,St3W"));
}

}  // namespace
}  // namespace vardel
