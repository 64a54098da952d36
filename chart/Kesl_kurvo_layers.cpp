// The chart's side of its layers: ranges set through the scale properties with
// joint propagation, isometric mode, the range history and the mapping, all
// computed by the layer model.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_guard_p.h"
#include "Kesl_kurvo_layers_p.h"
#include "Kesl_kurvo_layout_p.h"
#include "Kesl_kurvo_map_p.h"
#include "Kesl_kurvo_p.h"

namespace {

TAxisSpan Span(const TScaleProps *p)
{
    return {p->RangeLow(), p->RangeHigh(), p->Logarithmic()};
}

} // namespace

TChartGeometry TCustomKurvo::DataArea() const
{
    return d->layout->Area(width(), height());
}

void TCustomKurvo::CalcTransforms()
{
    if (IsLoading())
        return;
    const TChartGeometry area = DataArea();
    for (int l = 1; l <= kLayers; ++l)
        d->layers->Calculate(l, area, Span(ScaleX(l)), Span(ScaleY(l)));
}

bool TCustomKurvo::Isometric() const
{
    return d->layers->Isometric();
}

int TCustomKurvo::RangeHistoryIndex() const
{
    return d->layers->HistoryIndex();
}

long double TCustomKurvo::Kx(int layer) const
{
    return d->layers->Transform(KurvoLayer::Nearest(layer)).kx;
}

long double TCustomKurvo::Dx(int layer) const
{
    return d->layers->Transform(KurvoLayer::Nearest(layer)).dx;
}

long double TCustomKurvo::Ky(int layer) const
{
    return d->layers->Transform(KurvoLayer::Nearest(layer)).ky;
}

long double TCustomKurvo::Dy(int layer) const
{
    return d->layers->Transform(KurvoLayer::Nearest(layer)).dy;
}

void TCustomKurvo::DataToPixel(int layer, double x, double y, int &px, int &py) const
{
    MapFast(KurvoLayer::Nearest(layer), x, y, px, py);
}

QPoint TCustomKurvo::DataToPixel(int layer, double x, double y) const
{
    int px, py;
    DataToPixel(layer, x, y, px, py);
    return QPoint(px, py);
}

void TCustomKurvo::SetLayerRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh)
{
    if (layer != kAllLayers && !KurvoLayer::Valid(layer))
        return; // no such layer: nothing to set
    // Every layer is set before the one repaint: the picture is the same as
    // after a repaint per layer, at a sixteenth of the cost.
    const bool saved = d->paintSuppressed;
    {
        const TFlagScope paint(d->paintSuppressed, true);
        const int first = layer == kAllLayers ? 1 : layer, last = layer == kAllLayers ? kLayers : layer;
        for (int l = first; l <= last; ++l)
            SetRange(l, XLow, YLow, XHigh, YHigh);
    }
    if (!saved)
        Paint();
    else if (!IsLoading())
        Changed();
}

void TCustomKurvo::SetRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh)
{
    const TScaleProps *px = ScaleX(layer), *py = ScaleY(layer);
    TKurvoLayers::WidenEmpty(XLow, XHigh, px->Logarithmic(), px->MinRange());
    TKurvoLayers::WidenEmpty(YLow, YHigh, py->Logarithmic(), py->MinRange());
    if (d->layers->Isometric()) {
        const long double mid = (YHigh + YLow) / 2;
        const long double half = d->layers->IsoHalf(DataArea(), double(XLow), double(XHigh));
        YHigh = mid + half;
        YLow = mid - half;
    }
    PropagateRange(layer, XLow, YLow, XHigh, YHigh, true);
}

// Every layer joined to `layer` takes its controllers' ranges.
void TCustomKurvo::ApplyFollowers(int layer, bool history)
{
    const std::uint32_t followers = TKurvoLayers::Followers(*d->joint, layer);
    for (int k = 1; k <= kLayers; ++k) {
        if (!(followers & (1u << (k - 1))))
            continue;
        const TScaleProps *sx = ScaleX(d->joint->XControlledBy(k));
        const TScaleProps *sy = ScaleY(d->joint->YControlledBy(k));
        ApplyRange(k, sx->RangeLow(), sy->RangeLow(), sx->RangeHigh(), sy->RangeHigh(), history);
    }
}

void TCustomKurvo::PropagateRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh,
                                  bool history)
{
    if (!KurvoLayer::Valid(layer))
        return;
    const TScaleProps *px = ScaleX(layer), *py = ScaleY(layer);
    const bool saved = d->paintSuppressed;
    {
        const TFlagScope paint(d->paintSuppressed, true);
        // A joined axis follows its controller and cannot be set directly.
        if (d->joint->XControlledBy(layer) != layer) {
            XLow = px->RangeLow();
            XHigh = px->RangeHigh();
        }
        if (d->joint->YControlledBy(layer) != layer) {
            YLow = py->RangeLow();
            YHigh = py->RangeHigh();
        }
        ApplyRange(layer, XLow, YLow, XHigh, YHigh, history);
        ApplyFollowers(layer, history);
    }
    if (!saved)
        Paint();
}

void TCustomKurvo::ApplyRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh,
                              bool history)
{
    const int li = layer - 1;
    TScaleProps *p[2] = {d->propsX[std::size_t(li)], d->propsY[std::size_t(li)]};
    const long double lo[2] = {XLow, YLow}, hi[2] = {XHigh, YHigh};
    bool changed = false;
    {
        const TFlagScope props(d->inPropsChange, true); // the setters' notifications are this change itself
        for (int a = 0; a < 2; ++a) {
            if (!TKurvoLayers::Acceptable(lo[a], hi[a], p[a]->MinRange()))
                continue;
            const double l = double(lo[a]), h = double(hi[a]);
            const bool log = p[a]->Logarithmic();
            // A stored value counts as a change, the current one included.
            if (!log || PixelMath::LogEndAccepted(l)) {
                p[a]->SetRangeLow(l);
                changed = true;
            }
            if (!log || PixelMath::LogEndAccepted(h)) {
                p[a]->SetRangeHigh(h);
                changed = true;
            }
        }
    }
    ApplyScaleProps(li);
    if (history && changed)
        RecordHistory();
    CalcTransforms();
}

std::array<TKurvoLayers::TRangeRecord, TCustomKurvo::kLayers> TCustomKurvo::CurrentRanges() const
{
    std::array<TKurvoLayers::TRangeRecord, kLayers> ranges;
    for (int i = 0; i < kLayers; ++i) {
        const TScaleProps *px = d->propsX[std::size_t(i)];
        const TScaleProps *py = d->propsY[std::size_t(i)];
        ranges[std::size_t(i)] = {px->RangeLow(), py->RangeHigh(), px->RangeHigh(), py->RangeLow()};
    }
    return ranges;
}

void TCustomKurvo::RecordHistory()
{
    d->layers->Record(CurrentRanges());
}

std::array<double, 4> TCustomKurvo::RangeHistoryEntry(int layer, int entry) const
{
    return d->layers->HistoryEntry(KurvoLayer::Nearest(layer), entry);
}

// Sets every layer's y range through its scale property setters; the caller
// answers their notifications once, when everything else is in place.
void TCustomKurvo::RecentreIsometric()
{
    const TFlagScope props(d->inPropsChange, true);
    const TChartGeometry area = DataArea();
    for (int i = 0; i < kLayers; ++i) {
        TScaleProps *px = d->propsX[std::size_t(i)];
        TScaleProps *py = d->propsY[std::size_t(i)];
        const double mid = (py->RangeHigh() + py->RangeLow()) / 2;
        const double half = d->layers->IsoHalf(area, px->RangeLow(), px->RangeHigh());
        py->SetRangeHigh(mid + half);
        py->SetRangeLow(mid - half);
    }
}

void TCustomKurvo::SetIsometric(bool v)
{
    d->layers->SetIsometric(v);
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
    if (!KurvoLayer::Valid(layer))
        return;
    const int c = xAxis ? d->joint->XControlledBy(layer) : d->joint->YControlledBy(layer);
    if (!KurvoLayer::Valid(c))
        return;
    const TScaleProps *sx = ScaleX(xAxis ? c : layer), *sy = ScaleY(xAxis ? layer : c);
    ApplyRange(layer, sx->RangeLow(), sy->RangeLow(), sx->RangeHigh(), sy->RangeHigh(), false);
}
