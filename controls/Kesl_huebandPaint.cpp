#include "Kesl_hueband.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// a * b / c with a 64-bit intermediate, rounded half away from zero; c != 0.
int Scale(long long a, long long b, long long c)
{
    const long long n = a * b;
    long long q = n / c;
    const long long r = n % c;
    if (2 * std::llabs(r) >= std::llabs(c))
        q += ((n < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(q);
}

int RoundEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

int Channel(TColor c, int shift)
{
    return (c >> shift) & 0xFF;
}

} // namespace

TColor HuebandStep(TColor first, TColor last, int i, int n)
{
    TColor out = 0;
    for (int shift : {0, 8, 16}) {
        const int c0 = Channel(first, shift);
        const int v = (c0 + Scale(i, Channel(last, shift) - c0, n)) % 256;
        out |= ((v + 256) % 256) << shift;
    }
    return out;
}

namespace {

// Draws the patterns of a W x H hue band with N steps from first to last.
struct TBandPainter
{
    TCanvas &c;
    int W, H;
    TColor first, last;
    int N;
    int cx = W / 2, cy = H / 2;

    // A zero divisor (one colour, or a raster too small) leaves the step at the first colour.
    TColor Step(int i, int n) const { return n == 0 ? first : HuebandStep(first, last, i, n); }

    TColor MidBand(int i) const
    {
        const int h = N / 2;
        return i <= h ? Step(i, h) : Step(N - 1 - i, h);
    }

    void Fill(TColor col, int x1, int y1, int x2, int y2)
    {
        c.Brush.Style = bsSolid;
        c.Brush.Color = col;
        c.FillRect(x1, y1, x2, y2);
    }

    void OutlineAndFill(TColor col)
    {
        c.Pen.Color = col;
        c.Brush.Color = col;
        c.Brush.Style = bsSolid;
    }

    void Line(int x1, int y1, int x2, int y2)
    {
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    }

    // N bands across the height (horizontal) or the width, coloured by step or mid band.
    void Bands(bool horiz, bool mid)
    {
        for (int i = 0; i < N; ++i) {
            const TColor col = mid ? MidBand(i) : Step(i, N);
            if (horiz)
                Fill(col, 0, Scale(i, H, N), W, Scale(i + 1, H, N));
            else
                Fill(col, Scale(i, W, N), 0, Scale(i + 1, W, N), H);
        }
    }

    // Nested shapes from the outermost (step N-1) in to the centre (step 0).
    void Centred(int rx, int ry, bool ellipse)
    {
        for (int i = N - 1; i >= 0; --i) {
            const int a = N > 1 ? Scale(i, rx, N - 1) : rx;
            const int b = N > 1 ? Scale(i, ry, N - 1) : ry;
            OutlineAndFill(Step(i, N));
            if (ellipse)
                c.Ellipse(cx - a, cy - b, cx + a, cy + b);
            else
                c.Rectangle(cx - a, cy - b, cx + a + 1, cy + b + 1);
        }
    }

    void Radial()
    {
        // The chords of the outer triangles miss slivers at the corners; those
        // take the colour of the step whose sector holds the corner.
        const double sector = std::numbers::pi / N;
        auto cornerStep = [&](int y) {
            const double t = std::atan2(double(W - 1 - cx), double(y - cy));
            return Step(std::clamp(static_cast<int>(t / sector), 0, N - 1), N);
        };
        Fill(cornerStep(0), 0, 0, W, cy);
        Fill(cornerStep(H - 1), 0, cy, W, H);
        const double R = std::nearbyint(0.5 * std::sqrt(double(W) * W + double(H) * H));
        for (int i = 0; i < N; ++i) {
            const double t0 = std::numbers::pi * i / N, t1 = std::numbers::pi * (i + 1) / N;
            const int sx0 = RoundEven(R * std::sin(t0)), sy0 = cy + RoundEven(R * std::cos(t0));
            const int sx1 = RoundEven(R * std::sin(t1)), sy1 = cy + RoundEven(R * std::cos(t1));
            OutlineAndFill(Step(i, N));
            c.Polygon({{cx, cy}, {cx + sx0, sy0}, {cx + sx1, sy1}});
            c.Polygon({{cx, cy}, {cx - sx0, sy0}, {cx - sx1, sy1}});
        }
    }

    void DiagGrid()
    {
        Fill(first, 0, 0, W, H / 2);
        Fill(last, 0, H / 2, W, H);
        const int q = H / 4;
        for (int i = 0; i <= q; ++i) {
            c.Pen.Color = Step(i, q);
            Line(0, 2 * i, W, 2 * i);
        }
        for (int i = 0; i <= q; ++i) {
            c.Pen.Color = Step(i, q);
            Line(0, 2 * i + 2 * q - 1, W, 2 * i + 2 * q - 1);
        }
        const int p = W / 2;
        for (int i = 0; i <= p; ++i) {
            c.Pen.Color = Step(i, p);
            Line(2 * i, 0, 2 * i, H);
        }
    }

    void Pattern(TGradType type)
    {
        switch (type) {
        case gtHoriz: Bands(true, false); break;
        case gtVert: Bands(false, false); break;
        case gtMidBandHoriz: Bands(true, true); break;
        case gtMidBandVert: Bands(false, true); break;
        case gtRect: Centred(cx, cy, false); break;
        case gtEllipticFit:
            OutlineAndFill(last);
            c.Rectangle(0, 0, W, H);
            Centred(cx, cy, true);
            break;
        case gtEllipticFull:
            // The outermost ellipse encloses the corners; on tiny controls it may not
            // reach every pixel, which then keeps its colour too.
            Fill(Step(N - 1, N), 0, 0, W, H);
            Centred(RoundEven(std::numbers::sqrt2 * cx) + 1, RoundEven(std::numbers::sqrt2 * cy) + 1, true);
            break;
        case gtRadial: Radial(); break;
        case gtDiagGrid: DiagGrid(); break;
        }
    }

    void Grid(TGridMode mode, TColor color)
    {
        c.Pen.Color = color;
        if (mode == gmVert || mode == gmBoth)
            for (int i = 0; i <= W / 2; ++i)
                Line(2 * i, 0, 2 * i, H);
        if (mode == gmHoriz || mode == gmBoth)
            for (int i = 0; i <= H / 2; ++i)
                Line(0, 2 * i, W, 2 * i);
    }
};

} // namespace

void THueband::DrawPicture(TCanvas &c, int W, int H) const
{
    if (W <= 0 || H <= 0)
        return;
    TBandPainter band {c, W, H, ColorToRGB(m_colorFirst), ColorToRGB(m_colorLast), m_nrColors};
    c.Pen.Width = 1;
    c.Pen.Style = psSolid;
    c.Pen.Mode = pmCopy;
    band.Pattern(m_fillType);
    band.Grid(m_gridMode, m_gridColor);
    DrawFrame(c, m_frameStyle, 0, 0, W - 1, H - 1, clWhite, clSilver, clGray, clBlack, clBlack);
}

void THueband::PaintOn(TCanvas &target)
{
    TBitmap bmp(width(), height());
    DrawPicture(bmp.Canvas(), bmp.Width(), bmp.Height());
    target.CopyMode = cmSrcCopy;
    target.Draw(0, 0, bmp);
    if (OnPaint)
        OnPaint(this);
}

THueband::TPictureKey THueband::PictureKey() const
{
    return {width(),
            height(),
            devicePixelRatio(),
            m_nrColors,
            m_fillType,
            ColorToRGB(m_colorFirst),
            ColorToRGB(m_colorLast),
            ColorToRGB(m_gridColor),
            m_gridMode,
            m_frameStyle};
}

const QImage &THueband::Picture()
{
    const TPictureKey key = PictureKey();
    if (m_picture.isNull() || key != m_pictureKey) {
        TBitmap bmp;
        bmp.SetPixelRatio(key.Ratio);
        bmp.SetSize(key.Width, key.Height);
        DrawPicture(bmp.Canvas(), bmp.Width(), bmp.Height());
        m_picture = bmp.Empty() ? QImage() : bmp.Image();
        m_pictureKey = key;
    }
    return m_picture;
}

void THueband::paintEvent(QPaintEvent *event)
{
    const QImage &picture = Picture();
    if (!picture.isNull()) {
        // Only the part asked for: beneath a label that is a small rectangle.
        const qreal ratio = picture.devicePixelRatio();
        const QRect r = event->rect().intersected(QRect(QPoint(), picture.deviceIndependentSize().toSize()));
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        if (ratio == 1.0)
            p.drawImage(r.topLeft(), picture, r);
        else
            p.drawImage(QRectF(r), picture, QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
    }
    if (OnPaint)
        OnPaint(this);
}
