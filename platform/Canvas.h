#pragma once

/// @file
/// The drawing surface every control draws through: pen, brush, font and drawing commands over an image.

#include "Colors.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTransform>
#include <QVector>

#include <cmath>
#include <cstdint>
#include <memory>

class QPainter;
class QPainterPath;
class QBrush;
class QPen;

/// Dash pattern of the pen; psClear draws nothing, psInsideFrame is solid.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
/// How the pen combines with the surface: copy, XOR, inverting, or XOR of the inverse.
enum TPenMode { pmCopy, pmXor, pmNot, pmNotXor };
/// Fill of the brush: solid, none (bsClear) or a hatch pattern.
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
/// How Draw and StretchDraw combine a bitmap with the surface: copy, AND, OR, XOR.
enum TCopyMode { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert };

/// Style flags of a font, combined with | into TFontStyles.
enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
/// Set of TFontStyle flags (0: regular).
using TFontStyles = int;

/// The pen lines and outlines are drawn with.
struct TPen
{
    /// Colour (default clBlack).
    TColor Color = clBlack;
    /// Width in pixels, 1 or more (default 1).
    int Width = 1;
    /// Dash pattern (default psSolid).
    TPenStyle Style = psSolid;
    /// Combination with the surface (default pmCopy).
    TPenMode Mode = pmCopy;
};

/// The brush shapes are filled with.
struct TBrush
{
    /// Colour (default clWhite).
    TColor Color = clWhite;
    /// Fill pattern (default bsSolid).
    TBrushStyle Style = bsSolid;
};

/// A font by name and height; a negative height is a character height in pixels,
/// a positive one a cell height (taken as a pixel size as well here).
struct TFont
{
    /// Family name (default "MS Sans Serif"), resolved through fontconfig.
    QString Name = QStringLiteral("MS Sans Serif");
    /// Height (default -13: 13 pixels).
    int Height = -13;
    /// Colour of the text (default clWindowText).
    TColor Color = clWindowText;
    /// Style flags (default 0: regular).
    TFontStyles Style = 0;

    /// The size in pixels, from either sign of Height.
    int PixelSize() const;
    /// Sets the size in pixels (Height := -px).
    void SetPixelSize(int px) { Height = -px; }
    /// The Qt font of these settings.
    QFont ToQFont() const;
    /// Whether two fonts have the same settings.
    bool operator==(const TFont &o) const = default;
};

class TBitmap;

/// Drawing surface over a QImage (Format_RGB32) with these pixel rules:
/// - LineTo sets every pixel from the pen position up to, not including, the end
///   point, and leaves the pen there; a one-pixel solid line (copy or XOR pen,
///   one unit per pixel) steps one pixel along its longer axis at a time and
///   takes the pixel nearest the exact line across it, a tie going towards the
///   end point, so its pixels on the surface do not depend on where its ends lie;
/// - Polyline is one line through its points (dashes run on, thick lines are
///   joined), drawn like LineTo from the first point, pen left at the last;
/// - Rectangle/Ellipse take (x1, y1, x2, y2) with exclusive right and bottom and
///   are outlined with the pen and filled with the brush;
/// - Polygon is closed, outlined with the pen and filled with the brush;
/// - text background follows the brush style (solid: opaque, clear: transparent).
/// Pen, brush and font are plain settings read at each drawing call.
class TCanvas
{
public:
    /// A canvas over image, which must outlive it.
    explicit TCanvas(QImage *image);
    /// A canvas over a page (a printer, a PDF writer, a recorded picture): every
    /// call goes through the painter, there are no scan lines and Pixel reads -1.
    explicit TCanvas(QPaintDevice *page);
    /// A page drawn through a painter someone else began, in its coordinates
    /// as they are: the canvas never ends it and leaves restoring it to them.
    explicit TCanvas(QPainter &painter);
    /// Ends painting.
    ~TCanvas();
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;

    /// The pen of lines and outlines, read at each drawing call.
    TPen Pen;
    /// The brush of fills and of text backgrounds.
    TBrush Brush;
    /// The font of text output.
    TFont Font;
    /// How Draw and StretchDraw combine bitmaps with the surface (default cmSrcCopy).
    TCopyMode CopyMode = cmSrcCopy;
    /// Drawing routines built on the canvas may write pixels straight into the
    /// scan lines where that gives exactly the pixels of the drawing calls.
    /// False sends them through the calls (tests compare the two).
    bool AllowDirectPixels = true;

    /// Where the next LineTo starts, in pixels.
    QPoint PenPos() const { return m_penPos; }
    /// Moves the pen to (x, y) without drawing.
    void MoveTo(int x, int y) { m_penPos = QPoint(x, y); }
    /// A line from the pen position up to, not including, (x, y); the pen moves there.
    void LineTo(int x, int y);
    /// One line through points (see the class notes).
    void Polyline(const QVector<QPoint> &points) { Polyline(points.constData(), int(points.size())); }
    /// One line through count points from points.
    void Polyline(const QPoint *points, int count);
    /// Lines through points that need not lie on whole units: drawn as they
    /// are on a page, rounded to pixels on an image. The pen ends rounded.
    void LineF(QPointF from, QPointF to);
    /// Lines through count points, as LineF draws each.
    void PolylineF(const QPointF *points, int count);
    /// A closed polygon, outlined with the pen and filled with the brush.
    void Polygon(const QVector<QPoint> &points);
    /// A rectangle (x1, y1, x2, y2), right and bottom exclusive, outlined and filled.
    void Rectangle(int x1, int y1, int x2, int y2);
    /// A rectangle over the pixels of r, outlined and filled.
    void Rectangle(const QRect &r) { Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }
    /// The ellipse inside (x1, y1, x2, y2), right and bottom exclusive, outlined and filled.
    void Ellipse(int x1, int y1, int x2, int y2);
    /// Fills (x1, y1, x2, y2), right and bottom exclusive, with the brush; no outline.
    void FillRect(int x1, int y1, int x2, int y2);

    /// The colour at (x, y); -1 outside the surface or over a page.
    TColor Pixel(int x, int y) const; // -1 outside the surface
    /// Sets the pixel at (x, y) to c; nothing happens outside the surface.
    void SetPixel(int x, int y, TColor c);

    /// Writes text with its top left corner at (x, y), in the font, on the brush's background.
    void TextOut(int x, int y, const QString &text);
    /// Text clipped to (x1, y1, x2, y2); with a solid brush the box is filled first.
    void TextRect(int x1, int y1, int x2, int y2, int x, int y, const QString &text);
    /// Width of text in the current font, in pixels.
    int TextWidth(const QString &text) const;
    /// Height of a line of text in the current font, in pixels.
    int TextHeight(const QString &text) const;

    /// A clip rectangle that applies to text output only; an empty rect removes it.
    void SetTextClip(const QRect &r) { m_textClip = r; }
    /// The text clip rectangle; empty when none applies.
    QRect TextClip() const { return m_textClip; }

    /// Copies bmp with its top left corner at (x, y), combined by CopyMode.
    void Draw(int x, int y, const TBitmap &bmp);
    /// Copies bmp scaled into (x1, y1, x2, y2), right and bottom exclusive, combined by CopyMode.
    void StretchDraw(int x1, int y1, int x2, int y2, const TBitmap &bmp);

    /// True on paper (a printer's or PDF writer's page): figures drawn as pixel
    /// patterns elsewhere take their line forms there.
    bool IsPrinter() const { return m_paper; }
    /// True over a page of any kind: every call goes through a painter.
    bool IsPage() const { return m_page != nullptr; }
    /// Over a page: what lies wholly outside r (canvas units) is not drawn and
    /// what crosses its edge is cut there, by the painter where the device
    /// clips, else by cutting the shapes. An empty r removes the clip.
    void SetClip(const QRect &r) { m_clip = r; }
    /// Where a point of the canvas lands in the device's own units.
    QPointF DevicePoint(QPointF p) const { return m_device.map(p); }
    /// True over a page that shows more than whole units: a drawing, or an
    /// image with more than one pixel to a unit.
    bool SubUnits() const { return m_page && (!m_rasterPage || std::abs(m_device.determinant()) > 1.0001); }
    /// True when a unit is one pixel of the image, so scan lines may be written
    /// directly; not over a page or an image of a finer pixel ratio.
    bool DirectPixels() const { return !m_page && m_image->devicePixelRatio() == 1.0; }

    /// In units: over an image of a finer pixel ratio, each unit is ratio pixels
    /// wide; over a page, where the page ends in the canvas' units.
    int Width() const { return m_page ? m_extent.right() + 1 : qRound(m_image->width() / m_image->devicePixelRatio()); }
    /// Height in units (see Width()).
    int Height() const
    {
        return m_page ? m_extent.bottom() + 1 : qRound(m_image->height() / m_image->devicePixelRatio());
    }
    /// What may be drawn on: the surface, or the page within its clip.
    QRect ClipRect() const
    {
        if (m_page)
            return m_clip.isEmpty() ? m_extent : m_clip.intersected(m_extent);
        return QRect(0, 0, Width(), Height());
    }

    /// Direct access for fast pixel work; the pointer is valid until the next
    /// resize. Ends no painting: writes land in the same buffer the painter uses.
    std::uint32_t *ScanLine(int y);
    /// Distance in pixels from one scan line to the next.
    int ScanLineStride() const { return int(m_image->bytesPerLine() / 4); }
    /// Read-only view of the surface; finishes pending painting first.
    const QImage &Image() const;

    /// Ends the painter (done before the image is resized or handed out).
    void Release() const;

private:
    QPainter &P() const;
    // The painter's pen for Pen; shift: 1 lines through unit middles, 0 on
    // the corners, -1 the transform as it is.
    QPen QtPen(int &shift) const;
    void ApplyPen(QPainter &p) const;
    void Shift(QPainter &p, bool half) const;
    // Page drawing: Direct draws through the painter, Cut hands the areas the
    // drawing covers to a filler (shape, brush) when the canvas must cut them.
    template<class Direct, class Cut> void PageDraw(QRectF bounds, const QRect &clip, Direct direct, Cut cut);
    void PageLines(const QPointF *points, int count, bool closed);
    void PagePolygon(const QVector<QPoint> &points);
    void PageEllipse(const QRect &box);
    void PageText(int x, int y, const QString &text);
    QPainterPath StrokeOf(const QPainterPath &centre) const;
    QBrush QtBrush() const;
    void ApplyBrush(QPainter &p) const;
    void ApplyCompositionForPen(QPainter &p) const;
    void DrawImage(const QRect &dest, const QImage &src, const QRect &srcRect);
    /// The Qt font and metrics of the current Font, rebuilt only when it changes:
    /// labels measure and draw text on every repaint.
    const QFont &CurrentQFont() const;
    const QFontMetrics &CurrentMetrics() const;

    /// Nothing to draw on: a null image and no page.
    bool Blank() const { return !m_page && m_image->isNull(); }

    QImage *m_image;
    QPaintDevice *m_page = nullptr;
    QPainter *m_external = nullptr; // a painter someone else began
    bool m_paper = false;
    bool m_nativeClip = true; // the page's painter clips (an SVG writer's does not)
    bool m_rasterPage = false; // the page is an image: thin lines as on screen
    QTransform m_base, m_device; // canvas units to the painter's world, to the device
    QRect m_extent; // the page in canvas units
    QRect m_clip;
    QImage m_noImage; // what m_image points to over a page
    mutable std::unique_ptr<QPainter> m_painter;
    QPoint m_penPos;
    QRect m_textClip;
    mutable TFont m_fontKey;
    mutable std::unique_ptr<QFont> m_qfont;
    mutable std::unique_ptr<QFontMetrics> m_metrics;
};

/// Memory bitmap with its own canvas.
class TBitmap
{
public:
    /// An empty bitmap (0 x 0).
    TBitmap();
    /// A white bitmap of width x height pixels.
    TBitmap(int width, int height);
    /// Frees the image and its canvas.
    ~TBitmap();
    TBitmap(const TBitmap &) = delete;
    TBitmap &operator=(const TBitmap &) = delete;

    /// Width in units.
    int Width() const { return m_canvas->Width(); }
    /// Height in units.
    int Height() const { return m_canvas->Height(); }
    /// Resizes to width x height units (negative counts as 0); the contents are white afterwards.
    void SetSize(int width, int height); // contents are white afterwards
    /// Pixels per unit: at 2 every unit is 2 x 2 pixels, so lines and text are
    /// drawn finer for a scaled-up screen. Contents are white after a change.
    void SetPixelRatio(qreal ratio);
    /// Pixels per unit (default 1).
    qreal PixelRatio() const { return m_ratio; }
    /// Whether the bitmap has no pixels.
    bool Empty() const { return m_image.isNull() || m_image.width() == 0 || m_image.height() == 0; }

    /// Loads a bitmap file; false (and the bitmap unchanged) when it cannot be read.
    bool LoadFromFile(const QString &fileName);

    /// The canvas to draw on the bitmap with.
    TCanvas &Canvas() { return *m_canvas; }
    /// The canvas, for reading.
    const TCanvas &Canvas() const { return *m_canvas; }
    /// The pixels, pending painting finished first.
    const QImage &Image() const { return m_canvas->Image(); }

private:
    QImage m_image;
    qreal m_ratio = 1;
    std::unique_ptr<TCanvas> m_canvas;
};

/// The pixel ratio a painter draws at: its target's, which for a widget
/// rendered into a picture is the picture's, not the screen's.
qreal PaintRatio(const QPainter &painter);
