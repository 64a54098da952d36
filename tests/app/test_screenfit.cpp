#include "ScreenFit.h"
#include "qt_printers.h"
#include <gtest/gtest.h>

TEST(ScreenFit, AScaleTooLargeIsLoweredInQuarterStepsAndTheWindowMovedTheLeastIntoTheFreeArea)
{
    // Free screen area in device pixels, the scale asked, the scale used (window 760 x 417 at scale 1).
    const std::tuple<QSize, double, double> scales[] = {
        {{1920, 1080}, 2, 2}, {{1920, 1080}, 3, 2.5},   {{1920, 1040}, 2.6, 2.25}, {{1280, 720}, 2, 1.5},
        {{3840, 2160}, 4, 4}, {{1920, 1080}, 2.3, 2.3}, {{640, 480}, 2, 1},        {{1519, 834}, 2, 1.75}};
    for (const auto &[available, asked, used] : scales)
        EXPECT_EQ(ScaleThatFits(available, QSize(760, 417), asked), used) << available.width() << " " << asked;
    // Free area, the window where it would go, its top-left corner.
    const std::tuple<QRect, QRect, QPoint> places[] = {{{0, 0, 1920, 1080}, {322, 231, 760, 417}, {322, 231}},
                                                       {{0, 0, 960, 540}, {322, 231, 760, 417}, {200, 123}},
                                                       {{100, 0, 800, 600}, {-50, 700, 760, 417}, {100, 183}},
                                                       {{0, 0, 700, 400}, {322, 231, 760, 417}, {0, 0}}};
    for (const auto &[area, window, corner] : places)
        EXPECT_EQ(PlaceInside(area, window), corner) << window.x();
}
