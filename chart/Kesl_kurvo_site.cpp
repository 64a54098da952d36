// The chart's side of the mouse handling: geometry, ranges and mapping for
// the handler, and the pointer events handed on to it; the key events.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_layers_p.h"
#include "Kesl_kurvo_p.h"
#include "Kesl_kurvo_site_p.h"

#include <QKeyEvent>
#include <QMouseEvent>

TChartGeometry TCustomKurvo::TSite::Geometry() const
{
    return m_k.DataArea();
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
    const TLayerTransform &t = m_k.d->layers->Transform(KurvoLayer::Nearest(layer));
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

double TCustomKurvo::TSite::PixelAspect() const
{
    return m_k.d->layers->PixelAspect();
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
    if (d->mouse->ConsumeDoubleClick())
        return;
    TControl::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    d->mouse->MouseDown(event->button(), ShiftOf(event), p.x(), p.y());
}

void TCustomKurvo::mouseReleaseEvent(QMouseEvent *event)
{
    if (d->mouse->ConsumeDoubleClick())
        return;
    TControl::mouseReleaseEvent(event);
    const QPoint p = event->position().toPoint();
    d->mouse->MouseUp(event->button(), ShiftOf(event), p.x(), p.y());
}

void TCustomKurvo::mouseDoubleClickEvent(QMouseEvent *event)
{
    TControl::mouseDoubleClickEvent(event);
    d->mouse->DoubleClick();
}

void TCustomKurvo::mouseMoveEvent(QMouseEvent *event)
{
    TControl::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    d->mouse->MouseMove(ShiftOf(event), p.x(), p.y());
}

namespace {

// Whether the dialog code asks for the key: 1 the arrow keys, 2 Tab.
bool Wanted(int dialogCode, int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: return dialogCode & 1;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return dialogCode & 2;
    default: return false;
    }
}

} // namespace

void TCustomKurvo::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    // A control that keeps Tab lets Ctrl+Tab and Ctrl+Shift+Tab move on, so
    // the keyboard never stays caught in it.
    const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier) && (DialogCode() & 2)) {
        const bool next = key == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
        if (TControl::focusNextPrevChild(next)) {
            event->accept();
            return;
        }
    }
    if (OnKeyDown)
        OnKeyDown(this, key, event->modifiers());
    if (OnKeyPress)
        for (QChar c : event->text()) {
            QChar ch = c;
            OnKeyPress(this, ch);
        }
    if (Wanted(DialogCode(), event->key()))
        event->accept();
    else
        TControl::keyPressEvent(event);
}

void TCustomKurvo::keyReleaseEvent(QKeyEvent *event)
{
    int key = event->key();
    if (OnKeyUp)
        OnKeyUp(this, key, event->modifiers());
    if (Wanted(DialogCode(), event->key()))
        event->accept();
    else
        TControl::keyReleaseEvent(event);
}

// Tab and Backtab stay with the chart when its dialog code asks for them.
bool TCustomKurvo::focusNextPrevChild(bool next)
{
    if (DialogCode() & 2)
        return false;
    return TControl::focusNextPrevChild(next);
}
