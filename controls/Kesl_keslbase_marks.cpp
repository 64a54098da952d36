#include "Kesl_keslbase.h"
#include "Kesl_keslbase_markmasks.h"
#include "PixelMath.h"

#include <QString>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace {

// No figure reaches further than this from its centre.
constexpr int kFigureReach = 9;

struct Offset
{
    int dx, dy;
};

// Draws a figure given in offsets from the centre. A figure that cannot touch
// the canvas is not handed to the canvas at all (that also keeps centre plus
// offset from overflowing); its line segments still leave the pen where they
// would have ended.
class MarkPen
{
public:
    MarkPen(TCanvas &c, int x, int y) : m_c(c), m_x(x), m_y(y)
    {
        const QRect r = c.ClipRect();
        m_visible = std::int64_t(x) + kFigureReach >= r.left() && std::int64_t(x) - kFigureReach <= r.right() &&
            std::int64_t(y) + kFigureReach >= r.top() && std::int64_t(y) - kFigureReach <= r.bottom();
    }

    void Segment(int dx1, int dy1, int dx2, int dy2) { Path({{dx1, dy1}, {dx2, dy2}}); }

    void Path(std::initializer_list<Offset> pts)
    {
        if (!m_visible) {
            const Offset &last = *(pts.end() - 1);
            m_c.MoveTo(X(last.dx), Y(last.dy));
            return;
        }
        const Offset *p = pts.begin();
        m_c.MoveTo(X(p->dx), Y(p->dy));
        for (++p; p != pts.end(); ++p)
            m_c.LineTo(X(p->dx), Y(p->dy));
    }

    void Dot(int dx, int dy)
    {
        if (m_visible)
            m_c.SetPixel(X(dx), Y(dy), m_c.Pen.Color);
    }

    void Rect(int dx1, int dy1, int dx2, int dy2)
    {
        if (m_visible)
            m_c.Rectangle(X(dx1), Y(dy1), X(dx2), Y(dy2));
    }

    void Ellipse(int dx1, int dy1, int dx2, int dy2)
    {
        if (m_visible)
            m_c.Ellipse(X(dx1), Y(dy1), X(dx2), Y(dy2));
    }

    void Polygon(std::initializer_list<Offset> pts)
    {
        if (!m_visible)
            return;
        QVector<QPoint> v;
        v.reserve(int(pts.size()));
        for (const Offset &o : pts)
            v.append(QPoint(X(o.dx), Y(o.dy)));
        m_c.Polygon(v);
    }

    // Seven rows from y-3 down; bit 6 is column x-3, bit 0 column x+3.
    void Pattern(const std::uint8_t *rows)
    {
        if (!m_visible)
            return;
        for (int r = 0; r < 7; ++r)
            for (int b = 0; b < 7; ++b)
                if (rows[r] & (1u << b))
                    Dot(3 - b, r - 3);
    }

private:
    int X(int dx) const { return PixelMath::SatInt(std::int64_t(m_x) + dx); }
    int Y(int dy) const { return PixelMath::SatInt(std::int64_t(m_y) + dy); }

    TCanvas &m_c;
    int m_x, m_y;
    bool m_visible;
};

enum class Fill { Lines, Filled, Open };

// Per figure 0..51: F filled (a blot in the pen colour), O open (outlined over
// a clear brush), - lines and pixels only.
constexpr char kFillKinds[] = "-------FFF----FFOO------F-"
                              "FOFFFOOOFOF--OOFOFOFOFOO--";
static_assert(sizeof(kFillKinds) == 53);

Fill FillOf(int shape)
{
    switch (kFillKinds[shape]) {
    case 'F': return Fill::Filled;
    case 'O': return Fill::Open;
    default: return Fill::Lines;
    }
}

// The line figures a printer gets instead of the pixel patterns.
void DrawPrinterFigure(MarkPen &m, int shape)
{
    switch (shape) {
    case 1:
    case 2:
    case 3: {
        const int a = shape + 1;
        m.Segment(-a, 0, a, 0);
        m.Segment(0, -a, 0, a);
        break;
    }
    case 4:
    case 5:
    case 6: {
        const int a = shape - 2;
        m.Segment(-a, -a, a, a);
        m.Segment(-a, a, a, -a);
        break;
    }
    case 18:
        for (int j = -3; j <= 3; ++j)
            for (int i = -3; i <= 3; ++i)
                if ((i + j) % 2 == 0)
                    m.Dot(i, j);
        break;
    case 25:
        m.Segment(-3, -3, 3, 3);
        m.Segment(-3, -2, 2, 3);
        m.Segment(-2, -3, 3, 2);
        m.Segment(-3, 3, 3, -3);
        m.Segment(-3, 2, 2, -3);
        m.Segment(-2, 3, 3, -2);
        break;
    default: break;
    }
}

// Dots, pixel patterns (also 25), squares, diamonds and circles (0..19).
void DrawBoxFigure(TCanvas &c, MarkPen &m, int shape)
{
    switch (shape) {
    case 0: m.Dot(0, 0); break;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 18:
    case 25:
        if (c.IsPrinter())
            DrawPrinterFigure(m, shape);
        else
            m.Pattern(MarkPatternRows(shape));
        break;
    case 7: m.Rect(-1, -1, 2, 2); break;
    case 8: m.Rect(-2, -2, 3, 3); break;
    case 9: m.Rect(-3, -3, 4, 4); break;
    case 10:
    case 11:
    case 12: {
        const int a = shape - 9;
        m.Path({{-a, -a}, {-a, a}, {a, a}, {a, -a}, {-a, -a}});
        break;
    }
    case 13:
        m.Path({{-3, 0}, {0, 3}, {3, 0}, {0, -3}, {-3, 0}});
        m.Dot(0, 0);
        break;
    case 14: m.Polygon({{-2, 0}, {0, 2}, {2, 0}, {0, -2}}); break;
    case 15: m.Polygon({{-3, 0}, {0, 3}, {3, 0}, {0, -3}}); break;
    case 16: m.Ellipse(-2, -2, 3, 3); break;
    case 17: m.Ellipse(-3, -3, 4, 4); break;
    case 19: m.Path({{-3, 0}, {0, 3}, {3, 0}, {0, -3}, {-3, 0}}); break;
    default: break;
    }
}

// Wedges, circles and triangles (20..36).
void DrawPointerFigure(MarkPen &m, int shape)
{
    switch (shape) {
    case 20:
    case 21: {
        const int a = shape - 17;
        m.Segment(0, 0, -a, a);
        m.Segment(0, 0, a, a);
        break;
    }
    case 22:
    case 23: {
        const int a = shape - 19;
        m.Segment(0, 0, -a, -a);
        m.Segment(0, 0, a, -a);
        break;
    }
    case 24: m.Ellipse(-3, -3, 4, 4); break;
    case 26: m.Ellipse(-2, -2, 3, 3); break;
    case 27:
    case 28: m.Ellipse(-2, -2, 2, 2); break;
    case 29:
    case 31: m.Polygon({{-2, 0}, {0, 2}, {2, 0}}); break;
    case 30:
    case 32: m.Polygon({{-3, 0}, {0, 3}, {3, 0}}); break;
    case 33:
    case 34: m.Polygon({{-4, -3}, {0, 4}, {4, -3}}); break;
    case 35:
    case 36: m.Polygon({{-4, 3}, {0, -4}, {4, 3}}); break;
    default: break;
    }
}

// Arrows, bars and crossed figures (37..51).
void DrawCrossedFigure(MarkPen &m, int shape)
{
    switch (shape) {
    case 37:
        m.Segment(-3, 0, 4, 0);
        m.Segment(0, 0, 0, -8);
        break;
    case 38:
        m.Segment(-3, -2, 4, -2);
        m.Segment(-3, 2, 4, 2);
        m.Segment(0, -2, 0, 2);
        break;
    case 39:
        m.Ellipse(-3, -3, 4, 4);
        m.Segment(-3, 0, 4, 0);
        m.Segment(0, -3, 0, 4);
        break;
    case 40:
    case 41: m.Polygon({{3, -2}, {-2, 0}, {3, 2}}); break;
    case 42:
    case 43: m.Polygon({{4, -3}, {-3, 0}, {4, 3}}); break;
    case 44:
    case 45: m.Polygon({{-3, -2}, {2, 0}, {-3, 2}}); break;
    case 46:
    case 47: m.Polygon({{-4, -3}, {3, 0}, {-4, 3}}); break;
    case 48:
        m.Rect(-3, -3, 4, 4);
        m.Segment(-3, 0, 4, 0);
        m.Segment(0, -3, 0, 4);
        break;
    case 49:
        m.Rect(-2, -2, 3, 3);
        m.Segment(-4, 0, 5, 0);
        m.Segment(0, -4, 0, 5);
        break;
    case 50:
        m.Segment(-4, 0, 5, 0);
        m.Segment(0, -4, 0, 5);
        m.Segment(-3, -3, 4, 4);
        m.Segment(-3, 3, 4, -4);
        break;
    case 51:
        m.Segment(-4, 0, 5, 0);
        m.Segment(0, -4, 0, 5);
        m.Segment(-1, -3, 2, -3);
        m.Segment(-1, 3, 2, 3);
        m.Segment(-3, -1, -3, 2);
        m.Segment(3, -1, 3, 2);
        break;
    default: break;
    }
}

void DrawFigure(TCanvas &c, MarkPen &m, int shape)
{
    // 25 is a pixel pattern like 1..6 and 18, so it goes with those.
    if (shape < 20 || shape == 25)
        DrawBoxFigure(c, m, shape);
    else if (shape < 37)
        DrawPointerFigure(m, shape);
    else
        DrawCrossedFigure(m, shape);
}

// Character codes are those of the Western (Windows-1252) character set, so
// that 128..159 give the printable symbols (bullet, dagger, ...) rather than
// control characters; the five codes it leaves unused stay as they are.
QChar MarkCharacter(std::uint8_t code)
{
    static constexpr char16_t k80to9F[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    if (code >= 0x80 && code <= 0x9F)
        return QChar(k80to9F[code - 0x80]);
    return QChar(char16_t(code));
}

void DrawCharacterMark(TCanvas &c, std::uint8_t shape, int x, int y)
{
    const QString text(MarkCharacter(shape));
    const int w = c.TextWidth(text);
    const int h = c.TextHeight(text);
    const std::int64_t left = std::int64_t(x) - w / 2;
    const std::int64_t top = std::int64_t(y) - h / 2;
    // A margin of one text height covers glyphs that overhang their box.
    const QRect r = c.ClipRect();
    if (left + w + h < r.left() || left - h > r.right() || top + 2 * h < r.top() || top - h > r.bottom()) {
        // Off the canvas: only the pen moves, as the text output would move it.
        c.MoveTo(PixelMath::SatInt(left + w), PixelMath::SatInt(top));
        return;
    }
    c.TextOut(int(left), int(top), text);
}

// True when the figure went straight into the scan lines.
bool DrawFast(TCanvas &c, std::uint8_t shape, int x, int y)
{
    const TMarkMask *mask = DirectMarkMask(c, shape);
    if (!mask)
        return false;
    if (c.Width() > 0 && c.Height() > 0)
        WriteMaskClipped(c.ScanLine(0), c.ScanLineStride(), c.Width(), c.Height(), *mask, x, y,
                         ColorToQRgb(c.Pen.Color));
    return true;
}

} // namespace

const TMarkMask *DirectMarkMask(const TCanvas &c, int shape)
{
    if (!c.AllowDirectPixels || !c.DirectPixels())
        return nullptr;
    const TMarkMask *mask = FastMarkMask(shape);
    if (!mask)
        return nullptr;
    // Dots and patterns are single pixels set in the pen colour whatever the
    // pen; the filled figures need the pen and brush the masks were made for.
    if (FillOf(shape) == Fill::Filled &&
        (c.Pen.Mode != pmCopy || c.Pen.Style != psSolid || c.Pen.Width > 1 || c.Brush.Style != bsSolid))
        return nullptr;
    return mask;
}

TMarkRun::TMarkRun(TCanvas &canvas, std::uint8_t shape)
    : m_canvas(&canvas), m_shape(shape), m_mask(shape <= 51 ? DirectMarkMask(canvas, shape) : nullptr)
{
    if (!m_mask || canvas.Width() == 0 || canvas.Height() == 0) {
        m_mask = nullptr;
        return;
    }
    m_bits = canvas.ScanLine(0);
    m_stride = canvas.ScanLineStride();
    m_width = canvas.Width();
    m_height = canvas.Height();
    m_pixel = ColorToQRgb(canvas.Pen.Color);
}

void TMarkRun::DrawSlow(int x, int y)
{
    DrawMark(*m_canvas, m_shape, x, y);
}

void DrawMark(TCanvas &canvas, std::uint8_t shape, int x, int y)
{
    if (shape > 51) {
        DrawCharacterMark(canvas, shape, x, y);
        return;
    }
    if (DrawFast(canvas, shape, x, y))
        return;

    const TColor keepBrush = canvas.Brush.Color;
    const Fill fill = FillOf(shape);
    if (fill == Fill::Filled)
        canvas.Brush.Color = canvas.Pen.Color;
    else if (fill == Fill::Open)
        canvas.Brush.Style = bsClear;
    MarkPen m(canvas, x, y);
    DrawFigure(canvas, m, shape);
    if (fill == Fill::Open || shape == 50 || shape == 51)
        canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = keepBrush;
}
