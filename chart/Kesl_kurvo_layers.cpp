// Layers: ranges with joint propagation, isometric mode, the range history,
// transforms and the mapping of chart coordinates to pixels.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_guard_p.h"
#include "Kesl_kurvo_map_p.h"

#include <cmath>
#include <limits>

void TCustomKurvo::CalcTransforms()
{
    if (IsLoading())
        return;
    const int W = width(), H = height();
    const long double right = W - m_marginRight - m_shadowWidth;
    const long double bottom = H - m_marginBottom - m_shadowWidth;
    const long double w = right - m_marginLeft;
    const long double h = bottom - m_marginTop;
    for (int i = 0; i < kLayers; ++i) {
        TTransform &t = m_tf[std::size_t(i)];
        const TScaleProps *px = m_propsX[std::size_t(i)];
        const TScaleProps *py = m_propsY[std::size_t(i)];
        t.logX = px->Logarithmic();
        t.logY = py->Logarithmic();
        t.revX = px->RangeHigh() < px->RangeLow();
        t.revY = py->RangeHigh() < py->RangeLow();
        t.w = W;
        t.h = H;
        long double L = px->RangeLow(), Hi = px->RangeHigh();
        if (t.logX) {
            L = std::log(L);
            Hi = std::log(Hi);
        }
        if (w <= 0 || Hi == L) {
            t.kx = 0;
            t.dx = W / 2;
        } else {
            t.kx = w / (Hi - L);
            t.dx = (m_marginLeft * Hi - right * L) / (Hi - L);
        }
        L = py->RangeLow();
        Hi = py->RangeHigh();
        if (t.logY) {
            L = std::log(L);
            Hi = std::log(Hi);
        }
        if (h <= 0 || Hi == L) {
            t.ky = 0;
            t.dy = H / 2;
        } else {
            t.ky = -h / (Hi - L);
            t.dy = (bottom * Hi - m_marginTop * L) / (Hi - L);
        }
        t.fkx = double(t.kx);
        t.fdx = double(t.dx);
        t.fky = double(t.ky);
        t.fdy = double(t.dy);
    }
}

void TCustomKurvo::DataToPixel(int layer, double x, double y, int &px, int &py) const
{
    MapFast(Li(layer) + 1, x, y, px, py);
}

QPoint TCustomKurvo::DataToPixel(int layer, double x, double y) const
{
    int px, py;
    DataToPixel(layer, x, y, px, py);
    return QPoint(px, py);
}

void TCustomKurvo::SetLayerRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh)
{
    if (layer < 0 || layer > kLayers)
        return; // no such layer: nothing to set
    // Every layer is set before the one repaint: the picture is the same as
    // after a repaint per layer, at a sixteenth of the cost.
    const bool saved = m_paintSuppressed;
    {
        const TFlagScope paint(m_paintSuppressed, true);
        const int first = layer == 0 ? 1 : layer, last = layer == 0 ? kLayers : layer;
        for (int l = first; l <= last; ++l)
            SetRange(l, XLow, YLow, XHigh, YHigh);
    }
    if (!saved)
        Paint();
    else if (!IsLoading())
        Changed();
}

// Half of the y range that keeps one x unit as long as one y unit on screen.
double TCustomKurvo::IsoHalf(double xLow, double xHigh) const
{
    const double wb = width() - m_marginLeft - m_marginRight - m_shadowWidth + 1;
    const double hb = height() - m_marginTop - m_marginBottom - m_shadowWidth + 1;
    if (wb <= 0)
        return 0;
    return (xHigh - xLow) * hb / wb * m_aspectY / m_aspectX / 2;
}

void TCustomKurvo::SetRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh)
{
    const int li = layer - 1;
    TScaleProps *px = m_propsX[std::size_t(li)];
    TScaleProps *py = m_propsY[std::size_t(li)];
    if (XLow == XHigh) {
        if (px->Logarithmic()) {
            XLow /= 1.1L;
            XHigh *= 1.1L;
        } else {
            XLow -= px->MinRange() / 2;
            XHigh += px->MinRange() / 2;
        }
    }
    if (YLow == YHigh) {
        if (py->Logarithmic()) {
            YLow /= 1.1L;
            YHigh *= 1.1L;
        } else {
            YLow -= py->MinRange() / 2;
            YHigh += py->MinRange() / 2;
        }
    }
    if (m_isometric) {
        const long double mid = (YHigh + YLow) / 2;
        const long double half = IsoHalf(double(XLow), double(XHigh));
        YHigh = mid + half;
        YLow = mid - half;
    }
    PropagateRange(layer, XLow, YLow, XHigh, YHigh, true);
}

void TCustomKurvo::PropagateRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh,
                                  bool history)
{
    if (layer < 1 || layer > kLayers)
        return;
    const TScaleProps *px = m_propsX[std::size_t(layer - 1)];
    const TScaleProps *py = m_propsY[std::size_t(layer - 1)];
    const bool saved = m_paintSuppressed;
    {
        const TFlagScope paint(m_paintSuppressed, true);
        // A joined axis follows its controller and cannot be set directly.
        if (m_joint->XControlledBy(layer) != layer) {
            XLow = px->RangeLow();
            XHigh = px->RangeHigh();
        }
        if (m_joint->YControlledBy(layer) != layer) {
            YLow = py->RangeLow();
            YHigh = py->RangeHigh();
        }
        ApplyRange(layer, XLow, YLow, XHigh, YHigh, history);
        for (int k = 1; k <= kLayers; ++k) {
            if (k == layer)
                continue;
            const int cx = m_joint->XControlledBy(k), cy = m_joint->YControlledBy(k);
            if (cx != layer && cy != layer)
                continue;
            const TScaleProps *sx = m_propsX[std::size_t(cx - 1)];
            const TScaleProps *sy = m_propsY[std::size_t(cy - 1)];
            ApplyRange(k, sx->RangeLow(), sy->RangeLow(), sx->RangeHigh(), sy->RangeHigh(), history);
        }
    }
    if (!saved)
        Paint();
}

void TCustomKurvo::ApplyRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh,
                              bool history)
{
    const int li = layer - 1;
    TScaleProps *p[2] = {m_propsX[std::size_t(li)], m_propsY[std::size_t(li)]};
    const long double lo[2] = {XLow, YLow}, hi[2] = {XHigh, YHigh};
    bool changed = false;
    {
        const TFlagScope props(m_inPropsChange, true); // the setters' notifications are this change itself
        for (int a = 0; a < 2; ++a) {
            const double l = double(lo[a]), h = double(hi[a]);
            // NaN ends fail every comparison below and leave the range alone.
            if (!(std::fabs(lo[a] - hi[a]) >= p[a]->MinRange()))
                continue;
            if (!std::isfinite(l) || !std::isfinite(h))
                continue;
            const double oldL = p[a]->RangeLow(), oldH = p[a]->RangeHigh();
            if (p[a]->Logarithmic()) {
                if (l >= kLogFloor)
                    p[a]->SetRangeLow(l);
                if (h >= kLogFloor)
                    p[a]->SetRangeHigh(h);
            } else {
                p[a]->SetRangeLow(l);
                p[a]->SetRangeHigh(h);
            }
            changed = changed || oldL != p[a]->RangeLow() || oldH != p[a]->RangeHigh();
        }
    }
    ApplyScaleProps(li);
    if (history && changed)
        RecordHistory();
    CalcTransforms();
}

void TCustomKurvo::RecordHistory()
{
    const std::size_t idx = std::size_t(m_historyIndex - 1);
    for (int i = 0; i < kLayers; ++i) {
        const TScaleProps *px = m_propsX[std::size_t(i)];
        const TScaleProps *py = m_propsY[std::size_t(i)];
        m_history[std::size_t(i)][idx] = {px->RangeLow(), py->RangeHigh(), px->RangeHigh(), py->RangeLow()};
    }
    m_historyIndex = m_historyIndex >= 16 ? 1 : m_historyIndex + 1;
}

std::array<double, 4> TCustomKurvo::RangeHistoryEntry(int layer, int entry) const
{
    if (entry < 1 || entry > 16)
        return {0, 0, 0, 0};
    return m_history[std::size_t(Li(layer))][std::size_t(entry - 1)];
}

// Sets every layer's y range through its scale property setters; the caller
// answers their notifications once, when everything else is in place.
void TCustomKurvo::RecentreIsometric()
{
    const TFlagScope props(m_inPropsChange, true);
    for (int i = 0; i < kLayers; ++i) {
        TScaleProps *px = m_propsX[std::size_t(i)];
        TScaleProps *py = m_propsY[std::size_t(i)];
        const double mid = (py->RangeHigh() + py->RangeLow()) / 2;
        const double half = IsoHalf(px->RangeLow(), px->RangeHigh());
        py->SetRangeHigh(mid + half);
        py->SetRangeLow(mid - half);
    }
}

void TCustomKurvo::SetIsometric(bool v)
{
    m_isometric = v;
    if (!v)
        return;
    RecentreIsometric();
    ReapplyScaleProps();
    RecordHistory();
    // The ranges went through the scale property setters, whose change
    // repaints whatever AutoRedraw says.
    Paint();
}

void TCustomKurvo::OnLayerJoined(int layer, bool xAxis)
{
    const int li = layer - 1;
    if (li < 0 || li >= kLayers)
        return;
    const TScaleProps *ox = m_propsX[std::size_t(li)];
    const TScaleProps *oy = m_propsY[std::size_t(li)];
    const int c = xAxis ? m_joint->XControlledBy(layer) : m_joint->YControlledBy(layer);
    if (c < 1 || c > kLayers)
        return;
    if (xAxis) {
        const TScaleProps *s = m_propsX[std::size_t(c - 1)];
        ApplyRange(layer, s->RangeLow(), oy->RangeLow(), s->RangeHigh(), oy->RangeHigh(), false);
    } else {
        const TScaleProps *s = m_propsY[std::size_t(c - 1)];
        ApplyRange(layer, ox->RangeLow(), s->RangeLow(), ox->RangeHigh(), s->RangeHigh(), false);
    }
}
