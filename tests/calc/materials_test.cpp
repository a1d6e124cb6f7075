#include "materials/tables.h"

#include <gtest/gtest.h>

namespace vardel {
namespace {

// The diameter ranges of each grade at their edges, and the combinations the table refuses.
TEST(Materials, SteelRowsAtTheirDiameterEdges) {
    const struct {
        int grade, d;
        SteelLookup result;
        float fd, ft;
    } cases[] = {
        {1, 16, SteelLookup::Set, 175, 165.75f},     {1, 36, SteelLookup::Set, 165, 157.25f},
        {1, 42, SteelLookup::NotAllowed, 0, 0},      {2, 80, SteelLookup::Set, 195, 182.75f},
        {3, 42, SteelLookup::NotAllowed, 0, 0},      {4, 30, SteelLookup::Set, 295, 293.25f},
        {4, 36, SteelLookup::Set, 285, 284.75f},     {4, 52, SteelLookup::NotAllowed, 0, 0},
        {5, 24, SteelLookup::Set, 360, 365.5f},      {5, 30, SteelLookup::Set, 350, 357},
        {6, 30, SteelLookup::Set, 310, 290},         {6, 36, SteelLookup::NotAllowed, 0, 0},
        {0, 24, SteelLookup::GradeOutOfRange, 0, 0}, {7, 24, SteelLookup::GradeOutOfRange, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "grade " << c.grade << " d " << c.d);
        DesignCase s;
        s.Nrstali = static_cast<Int16>(c.grade);
        s.Fi_sruby = static_cast<Int16>(c.d);
        ASSERT_EQ(LookUpSteel(s), c.result);
        EXPECT_EQ(s.fd_stali, c.fd);  // nothing changes when refused
        EXPECT_EQ(s.ft_sruby, c.ft);
    }
}

TEST(Materials, ConcreteByFoundationAndBoltAreas) {
    DesignCase s;
    s.Nrbetonu = 3;
    s.Typ_stopy = 0;
    ASSERT_TRUE(LookUpConcrete(s));
    EXPECT_FLOAT_EQ(s.fcd_betonu, 11.1f);
    s.Typ_stopy = 1;
    ASSERT_TRUE(LookUpConcrete(s));
    EXPECT_FLOAT_EQ(s.fcd_betonu, 13.3f);
    s.Nrbetonu = 6;
    EXPECT_FALSE(LookUpConcrete(s));
    EXPECT_FLOAT_EQ(s.fcd_betonu, 13.3f);

    s.Fi_sruby = 80;
    ASSERT_TRUE(LookUpBoltArea(s));
    EXPECT_DOUBLE_EQ(s.As_sruby, 43.42);
    s.Fi_sruby = 25;  // not in the list: the area stays
    EXPECT_FALSE(LookUpBoltArea(s));
    EXPECT_DOUBLE_EQ(s.As_sruby, 43.42);
}

}  // namespace
}  // namespace vardel
