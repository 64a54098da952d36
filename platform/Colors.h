#pragma once

/// @file
/// 32-bit colour values and the named colours.

#include <QColor>
#include <cstdint>

/// 0x00BBGGRR for explicit colours; top bit set names system colour number n.
using TColor = std::int32_t;

/// The value that names system colour number n (0..30) of the platform:
/// 2147483648 + n.
constexpr TColor SystemColor(int n)
{
    return static_cast<TColor>(0x80000000u | unsigned(n));
}

/// @name Named colours
///@{

/// The standard colours by name: explicit 0x00BBGGRR values, and system
/// colours (clWindow … clBtnHighlight) that follow the application palette.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnHighlight = SystemColor(20);
///@}

/// Whether c names a system colour (top bit set) rather than an explicit one.
constexpr bool IsSystemColor(TColor c)
{
    return (static_cast<std::uint32_t>(c) & 0x80000000u) != 0;
}

/// Resolves a system colour through the application palette; explicit colours
/// come back unchanged. The result is always 0x00BBGGRR.
TColor ColorToRGB(TColor c);

/// 0x00BBGGRR <-> Qt's 0xAARRGGBB.
QRgb ColorToQRgb(TColor c);
/// The QColor of c, system colours resolved through the application palette.
QColor ColorToQColor(TColor c);
/// The explicit 0x00BBGGRR value of a QColor; its alpha is dropped.
TColor QColorToColor(const QColor &c);
