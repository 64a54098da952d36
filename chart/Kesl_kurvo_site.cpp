// The chart's side of the mouse handling: geometry, ranges and mapping for
// the handler, and the pointer events handed on to it.
#include "Kesl_kurvo.h"

#include <QMouseEvent>

TChartGeometry TCustomKurvo::TSite::Geometry() const
{
    TChartGeometry g;
    g.Width = m_k.width();
    g.Height = m_k.height();
    g.MarginLeft = m_k.m_marginLeft;
    g.MarginRight = m_k.m_marginRight;
    g.MarginTop = m_k.m_marginTop;
    g.MarginBottom = m_k.m_marginBottom;
    g.ShadowWidth = m_k.m_shadowWidth;
    return g;
}

namespace {

TAxisRange Axis(const TScaleProps *p)
{
    TAxisRange a;
    a.Low = p->RangeLow();
    a.High = p->RangeHigh();
    a.Logarithmic = p->Logarithmic();
    a.MinRange = p->MinRange();
    return a;
}

} // namespace

TAxisRange TCustomKurvo::TSite::AxisX(int layer) const
{
    return Axis(m_k.ScaleX(layer));
}

TAxisRange TCustomKurvo::TSite::AxisY(int layer) const
{
    return Axis(m_k.ScaleY(layer));
}

TLayerMap TCustomKurvo::TSite::LayerMap(int layer) const
{
    const TTransform &t = m_k.m_tf[std::size_t(Li(layer))];
    TLayerMap m;
    m.kx = t.kx;
    m.dx = t.dx;
    m.ky = t.ky;
    m.dy = t.dy;
    m.LogX = t.logX;
    m.LogY = t.logY;
    // An axis without extent maps everything to its centre line; back from
    // there it gives the middle of its range.
    m.FallbackX = (m_k.ScaleX(layer)->RangeLow() + m_k.ScaleX(layer)->RangeHigh()) / 2;
    m.FallbackY = (m_k.ScaleY(layer)->RangeLow() + m_k.ScaleY(layer)->RangeHigh()) / 2;
    return m;
}

namespace {

TMouseShift ShiftOf(const QMouseEvent *e)
{
    TMouseShift s;
    s.Keys = e->modifiers();
    s.Buttons = e->buttons();
    return s;
}

} // namespace

void TCustomKurvo::mousePressEvent(QMouseEvent *event)
{
    if (m_mouse->ConsumeDoubleClick())
        return;
    TControl::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    m_mouse->MouseDown(event->button(), ShiftOf(event), p.x(), p.y());
}

void TCustomKurvo::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_mouse->ConsumeDoubleClick())
        return;
    TControl::mouseReleaseEvent(event);
    const QPoint p = event->position().toPoint();
    m_mouse->MouseUp(event->button(), ShiftOf(event), p.x(), p.y());
}

void TCustomKurvo::mouseDoubleClickEvent(QMouseEvent *event)
{
    TControl::mouseDoubleClickEvent(event);
    m_mouse->DoubleClick();
}

void TCustomKurvo::mouseMoveEvent(QMouseEvent *event)
{
    TControl::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    m_mouse->MouseMove(ShiftOf(event), p.x(), p.y());
}
