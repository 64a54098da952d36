// The item kinds' pixel geometry: arrow barbs, 3-D bar depth and text boxes.
#include "Kesl_kurvo_geometry_p.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KurvoGeometry;

TEST(KurvoGeometry, ArrowBarbsLieBehindTheTipOnBothSides)
{
    // tail, tip, left barb, right barb: rightwards, leftwards, downwards, upwards
    const QPoint cases[][4] = {{{0, 0}, {10, 0}, {1, -3}, {1, 3}},
                               {{10, 0}, {0, 0}, {9, 3}, {9, -3}},
                               {{0, 0}, {0, 10}, {3, 1}, {-3, 1}},
                               {{0, 10}, {0, 0}, {-3, 9}, {3, 9}}};
    for (const auto &c : cases)
        EXPECT_EQ(ArrowBarbs(c[0], c[1], 10), std::pair(c[2], c[3])) << c[1].x() << "," << c[1].y();
}

TEST(KurvoGeometry, BarDepthOffsetAndTextLeft)
{
    EXPECT_EQ(BarDepthOffset(0, 10), QPoint(10, 0));
    EXPECT_EQ(BarDepthOffset(45, 10), QPoint(7, -7));
    EXPECT_EQ(BarDepthOffset(90, 10), QPoint(0, -10));
    EXPECT_EQ(BarDepthOffset(0, 2000000000), QPoint(30000, 0)); // bounded
    EXPECT_EQ(std::vector<int>({TextLeft(100, 41, 0), TextLeft(100, 41, 1), TextLeft(100, 41, 2)}),
              std::vector<int>({100, 59, 80})); // by alignment: left, right, centre
}
