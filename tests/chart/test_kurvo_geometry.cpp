// The item kinds' pixel geometry: arrow barbs, 3-D bar depth and text boxes.
#include "Kesl_kurvo_geometry_p.h"

#include <gtest/gtest.h>

using namespace KurvoGeometry;

TEST(KurvoGeometry, ArrowBarbsLieBehindTheTipOnBothSides)
{
    struct Case
    {
        QPoint tail, tip, left, right;
    };
    const Case cases[] = {
        {{0, 0}, {10, 0}, {1, -3}, {1, 3}}, // rightwards
        {{10, 0}, {0, 0}, {9, 3}, {9, -3}}, // leftwards
        {{0, 0}, {0, 10}, {3, 1}, {-3, 1}}, // downwards
        {{0, 10}, {0, 0}, {-3, 9}, {3, 9}}, // upwards
    };
    for (const Case &c : cases) {
        const auto [left, right] = ArrowBarbs(c.tail, c.tip, 10);
        EXPECT_EQ(left, c.left) << c.tip.x() << "," << c.tip.y();
        EXPECT_EQ(right, c.right) << c.tip.x() << "," << c.tip.y();
    }
}

TEST(KurvoGeometry, BarDepthOffsetFollowsTheAngleAndIsBounded)
{
    EXPECT_EQ(BarDepthOffset(0, 10), QPoint(10, 0));
    EXPECT_EQ(BarDepthOffset(45, 10), QPoint(7, -7));
    EXPECT_EQ(BarDepthOffset(90, 10), QPoint(0, -10));
    EXPECT_EQ(BarDepthOffset(0, 2000000000), QPoint(30000, 0));
}

TEST(KurvoGeometry, TextLeftByAlignment)
{
    EXPECT_EQ(TextLeft(100, 41, 0), 100);
    EXPECT_EQ(TextLeft(100, 41, 1), 59);
    EXPECT_EQ(TextLeft(100, 41, 2), 80);
}
