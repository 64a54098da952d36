// The canvas over a page: lines through points between pixels, and what
// lies outside the clip left out or cut at its edge.
#include "Canvas.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

void TCanvas::LineF(QPointF from, QPointF to)
{
    const QPointF ends[2] = {from, to};
    PolylineF(ends, 2);
}

void TCanvas::PolylineF(const QPointF *points, int count)
{
    if (count <= 0)
        return;
    if (!m_page) {
        QVector<QPoint> r(count);
        std::transform(points, points + count, r.begin(), [](QPointF p) { return p.toPoint(); });
        Polyline(r);
        return;
    }
    m_penPos = points[count - 1].toPoint();
    if (!Blank() && Pen.Style != psClear)
        PageLines(points, count, false);
}

// Bounds are the drawing's extent (lines and outlines with their pen);
// nothing of it outside `clip` is drawn.
template<class Direct, class Cut> void TCanvas::PageDraw(QRectF bounds, const QRect &clip, Direct direct, Cut cut)
{
    const QRectF c(clip);
    if (clip.isEmpty() || !bounds.intersects(c))
        return;
    QPainter &p = P();
    if (c.contains(bounds)) {
        direct(p);
        return;
    }
    if (m_nativeClip) {
        p.save();
        Shift(p, false);
        p.setClipRect(clip, Qt::IntersectClip);
        direct(p);
        p.restore();
        return;
    }
    // A writer without clipping gets the covered areas cut at the edge.
    QPainterPath edge;
    edge.addRect(c);
    cut([&](const QPainterPath &shape, const QBrush &brush) {
        const QPainterPath inside = shape.intersected(edge);
        if (inside.isEmpty())
            return;
        Shift(p, false);
        p.setPen(Qt::NoPen);
        p.fillPath(inside, brush);
    });
}

QPainterPath TCanvas::StrokeOf(const QPainterPath &centre) const
{
    int shift;
    const QPen pen = QtPen(shift);
    if (pen.style() == Qt::NoPen)
        return {};
    QPainterPathStroker stroker(pen);
    return stroker.createStroke(shift == 1 ? centre.translated(0.5, 0.5) : centre);
}

void TCanvas::PageLines(const QPointF *points, int count, bool closed)
{
    if (count < 2 || Pen.Style == psClear)
        return;
    QPointF lo = points[0], hi = points[0];
    for (int i = 1; i < count; ++i) {
        lo = QPointF(std::min(lo.x(), points[i].x()), std::min(lo.y(), points[i].y()));
        hi = QPointF(std::max(hi.x(), points[i].x()), std::max(hi.y(), points[i].y()));
    }
    const QRectF b(lo, hi);
    const qreal m = std::max(Pen.Width, 1) + 1; // the pen, its joins and the half-unit shift
    QRectF reach = b.adjusted(-m, -m, m, m);
    const QPointF along = count == 2 ? points[1] - points[0] : QPointF();
    if (!along.isNull()) {
        // One segment ends flat at its ends: only its width reaches across it
        // (so a bar standing on the data area's edge stays within it).
        int shift;
        QtPen(shift);
        const qreal half = std::max(Pen.Width, 1) / 2.0, len = std::hypot(along.x(), along.y());
        const qreal ax = std::abs(along.y()) / len * half, ay = std::abs(along.x()) / len * half;
        const qreal s = shift == 1 ? 0.5 : 0;
        reach = b.translated(s, s).adjusted(-ax, -ay, ax, ay);
    }
    const QRectF clip(ClipRect());
    if (!m_nativeClip && count > 2 && !clip.contains(reach)) {
        // Cut by hand, a line that crosses the edge is cut segment by
        // segment; the runs of segments within stay lines.
        QVector<QPointF> pts(points, points + count);
        if (closed)
            pts.append(points[0]);
        qsizetype from = 0;
        for (qsizetype i = 1; i <= pts.size(); ++i) {
            const bool within =
                i < pts.size() && clip.contains(QRectF(pts[i - 1], pts[i]).normalized().adjusted(-m, -m, m, m));
            if (within)
                continue;
            if (i - 1 > from) // within, so drawn as it is
                PageLines(pts.constData() + from, int(i - from), false);
            if (i < pts.size())
                PageLines(pts.constData() + i - 1, 2, false);
            from = i;
        }
        return;
    }
    PageDraw(
        reach, ClipRect(),
        [&](QPainter &p) {
            ApplyPen(p);
            ApplyCompositionForPen(p);
            if (closed) {
                p.setBrush(Qt::NoBrush);
                p.drawPolygon(points, count);
            } else {
                p.drawPolyline(points, count);
            }
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        },
        [&](auto fill) {
            QPainterPath path(points[0]);
            for (int i = 1; i < count; ++i)
                path.lineTo(points[i]);
            if (closed)
                path.closeSubpath();
            fill(StrokeOf(path), QBrush(ColorToQColor(Pen.Color)));
        });
}

void TCanvas::PagePolygon(const QVector<QPoint> &points)
{
    // Filled with the half-unit shift of the screen, outlined as one closed path.
    const QPolygonF poly {QPolygon(points)};
    if (Brush.Style != bsClear) {
        const QRectF b = poly.boundingRect().adjusted(-1, -1, 2, 2);
        const QBrush brush = QtBrush();
        PageDraw(
            b, ClipRect(),
            [&](QPainter &p) {
                p.setPen(Qt::NoPen);
                p.setBrush(brush);
                Shift(p, true);
                p.drawPolygon(poly);
            },
            [&](auto fill) {
                QPainterPath path;
                path.addPolygon(poly.translated(0.5, 0.5));
                path.closeSubpath();
                fill(path, brush);
            });
    }
    if (Pen.Style != psClear)
        PageLines(poly.constData(), int(poly.size()), true);
}

void TCanvas::PageEllipse(const QRect &box)
{
    const qreal m = std::max(Pen.Width, 1) + 1;
    PageDraw(
        QRectF(box).adjusted(-m, -m, m, m), ClipRect(),
        [&](QPainter &p) {
            ApplyPen(p);
            ApplyBrush(p);
            p.drawEllipse(box);
        },
        [&](auto fill) {
            int shift;
            QtPen(shift);
            QPainterPath path;
            path.addEllipse(QRectF(box));
            if (Brush.Style != bsClear)
                fill(shift == 1 ? path.translated(0.5, 0.5) : path, QtBrush());
            fill(StrokeOf(path), QBrush(ColorToQColor(Pen.Color)));
        });
}

void TCanvas::PageText(int x, int y, const QString &text)
{
    const QFont &f = CurrentQFont();
    const QFontMetrics &fm = CurrentMetrics();
    const QRect box(x, y, fm.horizontalAdvance(text), fm.height());
    const QRect clip = m_textClip.isValid() ? ClipRect().intersected(m_textClip) : ClipRect();
    PageDraw(
        QRectF(box).adjusted(-1, -1, 1, 1), clip,
        [&](QPainter &p) {
            Shift(p, false);
            if (Brush.Style != bsClear)
                p.fillRect(box, ColorToQColor(Brush.Color));
            p.setFont(f);
            p.setPen(ColorToQColor(Font.Color));
            p.drawText(QPoint(x, y + fm.ascent()), text);
        },
        [&](auto fill) {
            if (Brush.Style != bsClear) {
                QPainterPath back;
                back.addRect(box);
                fill(back, QBrush(ColorToQColor(Brush.Color)));
            }
            QPainterPath glyphs;
            glyphs.addText(QPointF(x, y + fm.ascent()), f, text);
            fill(glyphs, QBrush(ColorToQColor(Font.Color)));
        });
}
