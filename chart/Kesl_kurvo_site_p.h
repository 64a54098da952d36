// The chart's side of the mouse handler: private to the chart's sources.
#pragma once

#include "Kesl_kurvo.h"

// What the mouse handler needs from its chart.
class TCustomKurvo::TSite : public TKurvoMouseSite
{
public:
    explicit TSite(TCustomKurvo &k) : m_k(k) { }
    QWidget *MouseWidget() override { return &m_k; }
    TChartGeometry Geometry() const override;
    TAxisRange AxisX(int layer) const override;
    TAxisRange AxisY(int layer) const override;
    TLayerMap LayerMap(int layer) const override;
    QPoint MapToPixel(int layer, double x, double y) const override { return m_k.DataToPixel(layer, x, y); }
    void ApplyMouseRange(int layer, double XLow, double YLow, double XHigh, double YHigh, bool history) override
    {
        m_k.PropagateRange(layer, XLow, YLow, XHigh, YHigh, history);
    }
    void RecordRangeHistory() override { m_k.RecordHistory(); }
    bool IsPaintSuppressed() const override { return m_k.PaintSuppressed(); }
    void SuppressPaint(bool v) override { m_k.SetPaintSuppressed(v); }
    void Repaint() override { m_k.Paint(); }
    void SettingChanged() override { m_k.Changed(); }
    bool IsIsometric() const override { return m_k.Isometric(); }
    double PixelAspect() const override;
    int DrawingLayer() const override { return m_k.CurrentLayer(); }
    TColor DataAreaColor() const override { return m_k.ChartColor(); }
    TCustomTextLabel *MouseTextLabel(int index) const override { return m_k.TextLabel(index); }
    int TextLabelCount() const override { return kTextLabels; }

private:
    TCustomKurvo &m_k;
};
