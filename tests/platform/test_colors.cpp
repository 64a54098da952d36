#include "Colors.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

TEST(Colors, ExplicitColoursPassThroughAndConvertToQt)
{
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToQRgb(clRed), qRgb(255, 0, 0));
    EXPECT_EQ(ColorToQRgb(clBlue), qRgb(0, 0, 255));
    EXPECT_EQ(ColorToQRgb(clCream), qRgb(0xFF, 0xFB, 0xF0));
    EXPECT_EQ(QColorToColor(QColor(0x12, 0x34, 0x56)), 0x563412);
}

TEST(Colors, SystemColoursFollowThePalette)
{
    EXPECT_EQ(clBtnFace, -2147483633);
    EXPECT_EQ(clGrayText, -2147483631);
    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_FALSE(IsSystemColor(clWhite));
    const QPalette pal = QApplication::palette();
    EXPECT_EQ(ColorToQColor(clBtnFace).rgb(), pal.color(QPalette::Active, QPalette::Button).rgb());
    EXPECT_EQ(ColorToQColor(clWindowText).rgb(), pal.color(QPalette::Active, QPalette::WindowText).rgb());
    EXPECT_EQ(ColorToQColor(clGrayText).rgb(), pal.color(QPalette::Disabled, QPalette::Text).rgb());
    EXPECT_EQ(ColorToQColor(clBtnShadow).rgb(), pal.color(QPalette::Active, QPalette::Dark).rgb());
    EXPECT_EQ(ColorToQColor(SystemColor(3)).rgb(), pal.color(QPalette::Active, QPalette::Window).rgb());
    EXPECT_FALSE(IsSystemColor(ColorToRGB(clBtnFace)));
}
