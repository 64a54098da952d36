#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The one place where system colour numbers meet the palette.
QColor SystemPaletteColor(int n)
{
    const QPalette pal = QGuiApplication::instance() ? QGuiApplication::palette() : QPalette();
    switch (n) {
    case 5: return pal.color(QPalette::Active, QPalette::Base);
    case 8: return pal.color(QPalette::Active, QPalette::WindowText);
    case 15: return pal.color(QPalette::Active, QPalette::Button);
    case 16: return pal.color(QPalette::Active, QPalette::Dark);
    case 17: return pal.color(QPalette::Disabled, QPalette::Text);
    case 20: return pal.color(QPalette::Active, QPalette::Light);
    default: return pal.color(QPalette::Active, QPalette::Window);
    }
}

} // namespace

TColor QColorToColor(const QColor &c)
{
    return static_cast<TColor>((c.blue() << 16) | (c.green() << 8) | c.red());
}

TColor ColorToRGB(TColor c)
{
    if (IsSystemColor(c))
        return QColorToColor(SystemPaletteColor(static_cast<int>(static_cast<std::uint32_t>(c) & 0xFFFFFFu)));
    return c & 0xFFFFFF;
}

QRgb ColorToQRgb(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

QColor ColorToQColor(TColor c)
{
    return QColor(ColorToQRgb(c));
}
