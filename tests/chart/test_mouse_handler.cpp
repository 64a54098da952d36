// The chart's mouse handler driven against a stand-in chart: which ranges it
// asks for, when it repaints, the events, the band picture and the cross-hairs.
#include "Kesl_kurvo_mouse.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

const TMouseShift kLeft {Qt::NoModifier, Qt::LeftButton};
const TMouseShift kNone {};

TAxisRange Lin(double lo, double hi, double minRange = 1e-10)
{
    return {lo, hi, false, minRange};
}

// A chart reduced to what the handler uses. Data area 50..250 by 20..170
// (w 200, h 150) unless a test changes the geometry.
class TFakeSite : public TKurvoMouseSite
{
public:
    struct TApply
    {
        int layer;
        double xl, yl, xh, yh;
        bool history;
    };

    TFakeSite()
    {
        geo.Width = 260;
        geo.Height = 200;
        geo.MarginLeft = 50;
        geo.MarginRight = 10;
        geo.MarginTop = 20;
        geo.MarginBottom = 30;
        // A loop, not fill(): GCC 12 at -O3 warns falsely about fill() here.
        for (std::size_t i = 0; i < ax.size(); ++i)
            ax[i] = ay[i] = Lin(0, 10);
    }

    QWidget *MouseWidget() override { return widget; }
    TChartGeometry Geometry() const override { return geo; }
    TAxisRange AxisX(int layer) const override { return ax[std::size_t(layer - 1)]; }
    TAxisRange AxisY(int layer) const override { return ay[std::size_t(layer - 1)]; }
    TLayerMap LayerMap(int layer) const override
    {
        const TAxisRange &x = ax[std::size_t(layer - 1)], &y = ay[std::size_t(layer - 1)];
        TLayerMap m;
        m.FallbackX = x.Low;
        m.FallbackY = y.Low;
        m.kx = geo.W() / ((long double)x.High - x.Low);
        m.dx = (geo.Left() * (long double)x.High - geo.Right() * (long double)x.Low) / ((long double)x.High - x.Low);
        m.ky = -geo.H() / ((long double)y.High - y.Low);
        m.dy = (geo.Bottom() * (long double)y.High - geo.Top() * (long double)y.Low) / ((long double)y.High - y.Low);
        return m;
    }
    QPoint MapToPixel(int layer, double x, double y) const override
    {
        const TLayerMap m = LayerMap(layer);
        return QPoint(int(std::nearbyint(double(m.kx * x + m.dx))), int(std::nearbyint(double(m.ky * y + m.dy))));
    }
    void ApplyMouseRange(int layer, double XLow, double YLow, double XHigh, double YHigh, bool history) override
    {
        applies.push_back({layer, XLow, YLow, XHigh, YHigh, history});
        ax[std::size_t(layer - 1)].Low = XLow;
        ax[std::size_t(layer - 1)].High = XHigh;
        ay[std::size_t(layer - 1)].Low = YLow;
        ay[std::size_t(layer - 1)].High = YHigh;
    }
    void RecordRangeHistory() override { ++historyRecords; }
    bool IsPaintSuppressed() const override { return suppressed; }
    void SuppressPaint(bool v) override
    {
        if (suppressed && !v)
            ++repaints;
        suppressed = v;
    }
    void Repaint() override
    {
        if (!suppressed)
            ++repaints;
    }
    void SettingChanged() override
    {
        ++settingChanges;
        Repaint();
    }
    bool IsIsometric() const override { return iso; }
    double PixelAspect() const override { return 1.0; }
    int DrawingLayer() const override { return drawingLayer; }
    TColor DataAreaColor() const override { return chartColor; }
    TCustomTextLabel *MouseTextLabel(int index) const override
    {
        return index >= 1 && index <= int(labels.size()) ? labels[std::size_t(index - 1)].get() : nullptr;
    }
    int TextLabelCount() const override { return int(labels.size()); }

    TChartGeometry geo;
    std::array<TAxisRange, 16> ax, ay;
    std::vector<TApply> applies;
    std::vector<std::unique_ptr<TCustomTextLabel>> labels;
    QWidget *widget = nullptr;
    bool suppressed = false, iso = false;
    int repaints = 0, historyRecords = 0, settingChanges = 0, drawingLayer = 1;
    TColor chartColor = clWhite;
};

struct TEvents
{
    int zoomPan = 0;
    std::vector<std::array<double, 5>> bands; // layer, lox, loy, hix, hiy
    std::vector<TCrossHair *> crossMoves;
    std::vector<TCustomTextLabel *> labelMoves;
    struct TMove
    {
        bool inChart;
        double x, y;
    };
    std::vector<TMove> moves;

    void Bind(TKurvoMouse &m)
    {
        m.OnZoomPan = [this](QObject *) { ++zoomPan; };
        m.OnRubberBand = [this](QObject *, int l, double a, double b, double c, double d) {
            bands.push_back({double(l), a, b, c, d});
        };
        m.OnCrossHairMove = [this](QObject *, TCrossHair *c) { crossMoves.push_back(c); };
        m.OnTextLabelMove = [this](QObject *, TCustomTextLabel *t) { labelMoves.push_back(t); };
        m.OnMouseMoveInChart = [this](QObject *, bool in, TMouseShift, double x, double y) {
            moves.push_back({in, x, y});
        };
    }
};

class MouseHandler : public ::testing::Test
{
protected:
    MouseHandler() : mouse(site, nullptr) { ev.Bind(mouse); }

    void ExpectApply(const TFakeSite::TApply &a, int layer, double xl, double yl, double xh, double yh, bool history)
    {
        EXPECT_EQ(a.layer, layer);
        EXPECT_NEAR(a.xl, xl, 1e-9);
        EXPECT_NEAR(a.yl, yl, 1e-9);
        EXPECT_NEAR(a.xh, xh, 1e-9);
        EXPECT_NEAR(a.yh, yh, 1e-9);
        EXPECT_EQ(a.history, history);
    }

    TFakeSite site;
    TKurvoMouse mouse;
    TEvents ev;
};

} // namespace

TEST_F(MouseHandler, Defaults)
{
    EXPECT_EQ(mouse.MouseAction(), maNone);
    EXPECT_TRUE(mouse.MouseCursorFixed());
    for (int i = 1; i <= 4; ++i) {
        const TCrossHair *c = mouse.CrossHair(i);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Layer(), i);
        EXPECT_EQ(c->Mode(), chOff);
        EXPECT_EQ(c->Color(), clBlack);
        EXPECT_EQ(c->LineType(), psSolid);
        EXPECT_EQ(c->LineWid(), 1);
        EXPECT_EQ(c->PosX(), 0.0);
    }
    EXPECT_EQ(mouse.CrossHair(0), nullptr);
    EXPECT_EQ(mouse.CrossHair(5), nullptr);
    EXPECT_TRUE(mouse.LayerMouseActive(1));
    for (int l = 2; l <= 16; ++l)
        EXPECT_FALSE(mouse.LayerMouseActive(l));
    mouse.SetMouseAction(TMouseActMode(99));
    EXPECT_EQ(mouse.MouseAction(), maNone);
    // A cross-hair change reaches the chart.
    mouse.CrossHair(2)->SetColor(clRed);
    EXPECT_EQ(site.settingChanges, 1);
}

TEST_F(MouseHandler, PanModesMoveLayerOneOnlyWithoutHistory)
{
    const struct
    {
        TMouseActMode mode;
        double xl, yl, xh, yh;
    } rows[] = {
        // Dragged 20 right and 30 down: x by -1 (10 * 20 / 200), y by +2 (10 * 30 / 150).
        {maPan, -1, 2, 9, 12},
        {maPanHoriz, -1, 0, 9, 10},
        {maPanVert, 0, 2, 10, 12},
    };
    for (const auto &r : rows) {
        site.ax.fill(Lin(0, 10));
        site.ay.fill(Lin(0, 10));
        site.applies.clear();
        site.repaints = 0;
        ev.zoomPan = 0;
        mouse.SetMouseAction(r.mode);
        mouse.MouseMove(kNone, 0, 0); // ends any earlier drag
        mouse.MouseMove(kLeft, 150, 100); // records the start only
        EXPECT_TRUE(site.applies.empty()) << r.mode;
        mouse.MouseMove(kLeft, 170, 130);
        ASSERT_EQ(site.applies.size(), 1u) << r.mode;
        ExpectApply(site.applies[0], 1, r.xl, r.yl, r.xh, r.yh, false);
        EXPECT_EQ(ev.zoomPan, 1);
        EXPECT_EQ(site.repaints, 1); // one repaint for the whole step
        EXPECT_FALSE(site.suppressed);
        // The next step starts again from the recorded start, not from the last step.
        mouse.MouseMove(kLeft, 170, 130);
        ExpectApply(site.applies.back(), 1, r.xl, r.yl, r.xh, r.yh, false);
    }
    EXPECT_EQ(site.ax[1].Low, 0.0); // layer 2 untouched
}

TEST_F(MouseHandler, PanNeedsTheButtonAndTheDataArea)
{
    mouse.SetMouseAction(maPan);
    mouse.MouseMove(kLeft, 150, 100);
    EXPECT_TRUE(mouse.Dragging());
    mouse.MouseMove(kLeft, 10, 100); // over the margin: nothing moves
    mouse.MouseMove(kLeft, -100000, 999999);
    EXPECT_TRUE(site.applies.empty());
    EXPECT_EQ(ev.zoomPan, 0);
    mouse.MouseMove(kNone, 170, 100); // button released: the drag ends
    EXPECT_FALSE(mouse.Dragging());
    mouse.MouseMove(kLeft, 200, 100); // a new start, no step
    EXPECT_TRUE(site.applies.empty());
    // A mouse-up records the history whatever the button; it does not end the drag.
    mouse.MouseUp(Qt::RightButton, kNone, 0, 0);
    EXPECT_EQ(site.historyRecords, 1);
    EXPECT_TRUE(mouse.Dragging());
}

TEST_F(MouseHandler, PanKeepsPaintingSuppressedWhenTheOwnerSuppressedIt)
{
    site.suppressed = true;
    mouse.SetMouseAction(maPan);
    mouse.MouseMove(kLeft, 150, 100);
    mouse.MouseMove(kLeft, 170, 100);
    EXPECT_EQ(site.applies.size(), 1u);
    EXPECT_TRUE(site.suppressed);
    EXPECT_EQ(site.repaints, 0);
}

TEST_F(MouseHandler, DragZoomOnAFourHundredPixelControl)
{
    site.geo.Width = 400; // data area 50..390
    mouse.SetMouseAction(maZoomDrag);
    mouse.MouseMove(kLeft, 100, 100);
    mouse.MouseMove(kLeft, 200, 100);
    ASSERT_EQ(site.applies.size(), 1u);
    // 3/4 of the width around the start centre; y unchanged.
    ExpectApply(site.applies[0], 1, 1.25, 0, 8.75, 10, false);
    EXPECT_EQ(ev.zoomPan, 1);
    mouse.MouseUp(Qt::LeftButton, kNone, 200, 100);
    EXPECT_EQ(site.historyRecords, 1);
}

TEST_F(MouseHandler, ZoomsThatWouldBreakAnAxisLeaveItAlone)
{
    site.geo.Width = 400;
    mouse.SetMouseAction(maZoomDrag);
    // Logarithmic x 1..10 zoomed out by 1.5 would reach -1.25: x stays, y zooms.
    site.ax[0] = {1, 10, true, 1e-10};
    mouse.MouseMove(kLeft, 300, 100);
    mouse.MouseMove(kLeft, 100, 130); // fx 1.5, fy 1.15
    ASSERT_EQ(site.applies.size(), 1u);
    ExpectApply(site.applies[0], 1, 1, 5 - 5 * 1.15, 10, 5 + 5 * 1.15, false);
    // Below MinRange: x 0..10 with MinRange 1 zoomed to 1/20 stays.
    site.applies.clear();
    site.ax[0] = Lin(0, 10, 1);
    site.ay[0] = Lin(0, 10);
    mouse.MouseMove(kNone, 0, 0);
    mouse.MouseMove(kLeft, 5, 100);
    mouse.MouseMove(kLeft, 385, 100);
    ASSERT_EQ(site.applies.size(), 1u);
    ExpectApply(site.applies[0], 1, 0, 0, 10, 10, false);
    // Started far outside the control: the axis would turn over; it stays.
    site.applies.clear();
    mouse.MouseMove(kNone, 0, 0);
    mouse.MouseMove(kLeft, -5000, 100);
    mouse.MouseMove(kLeft, 300, 100);
    ASSERT_EQ(site.applies.size(), 1u);
    ExpectApply(site.applies[0], 1, 0, 0, 10, 10, false);
}

TEST_F(MouseHandler, WindowZoomDirections)
{
    // Ranges 0..10: pixel x 200 is 7.5, 100 is 2.5; pixel y 150 is 4/3, 50 is 8.
    const struct
    {
        const char *name;
        TMouseActMode mode;
        QPoint from, to;
        double xl, yl, xh, yh;
    } rows[] = {
        {"windUpLeftReversesX", maZoomWind, {200, 150}, {100, 50}, 7.5, 4.0 / 3, 2.5, 8},
        {"windDownRightReversesY", maZoomWind, {100, 50}, {200, 150}, 2.5, 8, 7.5, 4.0 / 3},
        {"windPosKeeps", maZoomWindPos, {200, 150}, {100, 50}, 2.5, 4.0 / 3, 7.5, 8},
        {"windPosKeepsOtherWay", maZoomWindPos, {100, 50}, {200, 150}, 2.5, 4.0 / 3, 7.5, 8},
    };
    for (const auto &r : rows) {
        site.ax.fill(Lin(0, 10));
        site.ay.fill(Lin(0, 10));
        site.applies.clear();
        site.repaints = 0;
        ev.zoomPan = 0;
        mouse.SetMouseAction(r.mode);
        mouse.MouseDown(Qt::LeftButton, kLeft, r.from.x(), r.from.y());
        ASSERT_TRUE(mouse.BandActive()) << r.name;
        mouse.MouseMove(kLeft, r.to.x(), r.to.y());
        EXPECT_EQ(mouse.BandCorner(), r.to) << r.name;
        mouse.MouseUp(Qt::LeftButton, kNone, r.to.x(), r.to.y());
        EXPECT_FALSE(mouse.BandActive());
        ASSERT_EQ(site.applies.size(), 1u) << r.name;
        ExpectApply(site.applies[0], 1, r.xl, r.yl, r.xh, r.yh, true);
        EXPECT_EQ(ev.zoomPan, 1);
        EXPECT_EQ(site.repaints, 1);
        EXPECT_EQ(site.historyRecords, 0); // the range setting records it, not the mouse-up
    }
}

TEST_F(MouseHandler, WindowZoomOnAReversedAxisKeepsItReversed)
{
    site.ax[0] = Lin(10, 0);
    mouse.SetMouseAction(maZoomWindPos);
    mouse.MouseDown(Qt::LeftButton, kLeft, 100, 50);
    mouse.MouseMove(kLeft, 200, 150);
    mouse.MouseUp(Qt::LeftButton, kNone, 200, 150);
    ASSERT_EQ(site.applies.size(), 1u);
    ExpectApply(site.applies[0], 1, 7.5, 4.0 / 3, 2.5, 8, true);
}

TEST_F(MouseHandler, BandsThatChangeNothing)
{
    mouse.SetMouseAction(maZoomWind);
    // Right-button release: the band goes, the ranges stay.
    mouse.MouseDown(Qt::LeftButton, kLeft, 100, 50);
    mouse.MouseMove(kLeft, 200, 150);
    mouse.MouseUp(Qt::RightButton, kNone, 200, 150);
    EXPECT_FALSE(mouse.BandActive());
    // Zero width and zero height.
    mouse.MouseDown(Qt::LeftButton, kLeft, 100, 50);
    mouse.MouseMove(kLeft, 100, 150);
    mouse.MouseUp(Qt::LeftButton, kNone, 100, 150);
    mouse.MouseDown(Qt::LeftButton, kLeft, 100, 50);
    mouse.MouseMove(kLeft, 180, 50);
    mouse.MouseUp(Qt::LeftButton, kNone, 180, 50);
    // Started over the margin, or with the right button: no band at all.
    mouse.MouseDown(Qt::LeftButton, kLeft, 10, 10);
    EXPECT_FALSE(mouse.BandActive());
    mouse.MouseDown(Qt::RightButton, kNone, 100, 100);
    EXPECT_FALSE(mouse.BandActive());
    EXPECT_TRUE(site.applies.empty());
    EXPECT_EQ(ev.zoomPan, 0);
    EXPECT_EQ(site.repaints, 0);
}

TEST_F(MouseHandler, BandCornerFarOutsideIsClamped)
{
    mouse.SetMouseAction(maZoomWindPos);
    mouse.MouseDown(Qt::LeftButton, kLeft, 100, 50);
    mouse.MouseMove(kLeft, 2000000000, -2000000000);
    EXPECT_EQ(mouse.BandCorner(), QPoint(250, 20));
    mouse.MouseUp(Qt::LeftButton, kNone, 2000000000, -2000000000);
    ASSERT_EQ(site.applies.size(), 1u);
    ExpectApply(site.applies[0], 1, 2.5, 8, 10, 10, true);
}

TEST_F(MouseHandler, RubberBandReportsAndChangesNoRange)
{
    mouse.SetMouseAction(maRubberBand);
    mouse.MouseDown(Qt::LeftButton, kLeft, 200, 50);
    mouse.MouseMove(kLeft, 100, 150);
    mouse.MouseUp(Qt::LeftButton, kNone, 100, 150);
    EXPECT_TRUE(site.applies.empty());
    ASSERT_EQ(ev.bands.size(), 1u);
    const auto &b = ev.bands[0];
    EXPECT_EQ(b[0], 1.0);
    EXPECT_NEAR(b[1], 2.5, 1e-9); // ordered like the axes
    EXPECT_NEAR(b[2], 4.0 / 3, 1e-9);
    EXPECT_NEAR(b[3], 7.5, 1e-9);
    EXPECT_NEAR(b[4], 8, 1e-9);
    EXPECT_EQ(ev.zoomPan, 1);
}

TEST_F(MouseHandler, EnterLeaveAndTracking)
{
    QWidget w;
    site.widget = &w;
    QObject sender;
    TKurvoMouse m(site, &sender);
    EXPECT_TRUE(w.hasMouseTracking());
    std::vector<std::pair<QObject *, char>> seen;
    m.OnMouseEnter = [&](QObject *s) { seen.push_back({s, 'e'}); };
    m.OnMouseLeave = [&](QObject *s) { seen.push_back({s, 'l'}); };
    m.MouseEnter();
    m.MouseLeave();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(&sender, 'e'));
    EXPECT_EQ(seen[1], std::make_pair(&sender, 'l'));
    EXPECT_EQ(m.CrossHair(1)->parent(), &sender);
    // Layers outside 1..16 are taken as the nearest one.
    site.ax[15] = Lin(0, 100);
    EXPECT_DOUBLE_EQ(m.PixelToData(99, 150, 95).x(), 50);
    EXPECT_DOUBLE_EQ(m.PixelToData(-3, 150, 95).x(), 5);
}

TEST_F(MouseHandler, DoubleClickSwallowsTheNextPressOrRelease)
{
    EXPECT_FALSE(mouse.ConsumeDoubleClick());
    mouse.DoubleClick();
    EXPECT_TRUE(mouse.ConsumeDoubleClick());
    EXPECT_FALSE(mouse.ConsumeDoubleClick());
}

TEST_F(MouseHandler, CrossHairGrabPicksTheNearestAndDragsWithItsLayer)
{
    TCrossHair *c1 = mouse.CrossHair(1), *c2 = mouse.CrossHair(2), *c3 = mouse.CrossHair(3);
    c1->SetMode(chVert);
    c1->SetPosX(2); // pixel x 90
    site.ay[1] = Lin(0, 100);
    c2->SetMode(chHoriz);
    c2->SetPosY(5); // layer 2: pixel y 162
    c3->SetMode(chBoth);
    c3->SetPosX(8); // pixel 210, 50
    c3->SetPosY(8);
    mouse.SetMouseAction(maDragCrossH);
    site.repaints = site.settingChanges = 0;

    mouse.MouseMove(kLeft, 95, 100); // grab: nothing moves yet
    EXPECT_EQ(mouse.GrabbedCrossHair(), 1);
    EXPECT_EQ(c1->PosX(), 2.0);
    EXPECT_TRUE(ev.crossMoves.empty());
    mouse.MouseMove(kLeft, 120, 80);
    EXPECT_DOUBLE_EQ(c1->PosX(), 3.5);
    EXPECT_DOUBLE_EQ(c1->PosY(), 6);
    ASSERT_EQ(ev.crossMoves.size(), 1u);
    EXPECT_EQ(ev.crossMoves[0], c1);
    EXPECT_EQ(site.repaints, 1); // both coordinates, one repaint
    EXPECT_EQ(site.settingChanges, 2);

    mouse.MouseMove(kNone, 0, 0);
    mouse.MouseMove(kLeft, 60, 160); // nearest is cross-hair 2's line at 162
    EXPECT_EQ(mouse.GrabbedCrossHair(), 2);
    mouse.MouseMove(kLeft, 150, 95);
    EXPECT_DOUBLE_EQ(c2->PosY(), 50); // layer 2's y range 0..100
    EXPECT_DOUBLE_EQ(c2->PosX(), 5);

    mouse.MouseMove(kNone, 0, 0);
    mouse.MouseMove(kLeft, 205, 52); // cross-hair 3 by both lines
    EXPECT_EQ(mouse.GrabbedCrossHair(), 3);
    EXPECT_TRUE(site.applies.empty()); // dragging a cross-hair changes no range
}

TEST_F(MouseHandler, AllCrossHairsOffStillMovesTheFirst)
{
    mouse.SetMouseAction(maDragCrossH);
    mouse.MouseMove(kLeft, 100, 100);
    mouse.MouseMove(kLeft, 250, 20);
    EXPECT_DOUBLE_EQ(mouse.CrossHair(1)->PosX(), 10);
    EXPECT_DOUBLE_EQ(mouse.CrossHair(1)->PosY(), 10);
    // Far outside the control the position is still a finite number.
    mouse.MouseMove(kLeft, 2147483647, -2147483647);
    EXPECT_TRUE(std::isfinite(mouse.CrossHair(1)->PosX()));
    EXPECT_TRUE(std::isfinite(mouse.CrossHair(1)->PosY()));
    EXPECT_EQ(mouse.CrossHair(2)->PosX(), 0.0);
}

TEST_F(MouseHandler, TextLabelGrabAndDragByAttachMode)
{
    for (int i = 0; i < 30; ++i) {
        site.labels.push_back(std::make_unique<TCustomTextLabel>());
        site.labels.back()->SetMode(tlOff);
    }
    TCustomTextLabel *pixelLabel = site.labels[6].get();
    pixelLabel->SetMode(tlBox);
    pixelLabel->SetAttachToData(tlamNone);
    pixelLabel->SetPosX(200);
    pixelLabel->SetPosY(60);
    TCustomTextLabel *dataLabel = site.labels[2].get();
    dataLabel->SetMode(tlsimple);
    dataLabel->SetAttachToData(tlamBoth);
    dataLabel->SetPosX(5); // pixel 150, 95
    dataLabel->SetPosY(5);
    TCustomTextLabel *hidden = site.labels[8].get();
    hidden->SetMode(tlBox);
    hidden->SetVisible(false);
    hidden->SetPosX(152);
    hidden->SetPosY(97);
    hidden->SetAttachToData(tlamNone);

    mouse.SetMouseAction(maDragLabel);
    mouse.MouseMove(kLeft, 152, 97);
    EXPECT_EQ(mouse.GrabbedTextLabel(), 3);
    mouse.MouseMove(kLeft, 100, 50);
    EXPECT_DOUBLE_EQ(dataLabel->PosX(), 2.5);
    EXPECT_DOUBLE_EQ(dataLabel->PosY(), 8);
    ASSERT_EQ(ev.labelMoves.size(), 1u);
    EXPECT_EQ(ev.labelMoves[0], dataLabel);

    mouse.MouseMove(kNone, 0, 0);
    mouse.MouseMove(kLeft, 198, 62);
    EXPECT_EQ(mouse.GrabbedTextLabel(), 7);
    mouse.MouseMove(kLeft, 210, 70);
    EXPECT_EQ(pixelLabel->PosX(), 210.0);
    EXPECT_EQ(pixelLabel->PosY(), 70.0);
    EXPECT_EQ(hidden->PosX(), 152.0);
}

TEST_F(MouseHandler, EveryMoveIsReportedInTheDrawingLayersCoordinates)
{
    QWidget w;
    site.widget = &w;
    mouse.MouseMove(kNone, 10, 10);
    mouse.MouseMove(kNone, 150, 95);
    site.drawingLayer = 2;
    site.ax[1] = Lin(0, 100);
    mouse.MouseMove(kNone, 150, 95);
    ASSERT_EQ(ev.moves.size(), 3u);
    EXPECT_FALSE(ev.moves[0].inChart);
    EXPECT_TRUE(ev.moves[1].inChart);
    EXPECT_DOUBLE_EQ(ev.moves[1].x, 5);
    EXPECT_DOUBLE_EQ(ev.moves[1].y, 5);
    EXPECT_DOUBLE_EQ(ev.moves[2].x, 50);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor); // MouseCursorFixed
    mouse.SetMouseCursorFixed(false);
    mouse.MouseMove(kNone, 150, 95);
    EXPECT_EQ(w.cursor().shape(), Qt::CrossCursor);
    mouse.MouseMove(kNone, 5, 95);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    mouse.SetMouseAction(maPanVert);
    mouse.MouseMove(kNone, 150, 95);
    EXPECT_EQ(w.cursor().shape(), Qt::OpenHandCursor);
    mouse.SetMouseAction(maZoomDrag);
    mouse.MouseMove(kNone, 150, 95);
    EXPECT_EQ(w.cursor().shape(), Qt::BitmapCursor);
    mouse.SetMouseAction(maRotate); // leaves the pointer as it was
    mouse.MouseMove(kNone, 150, 95);
    EXPECT_EQ(w.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(ev.moves.size(), 8u);
}

// ---- pictures ----

namespace {

int CountRgb(const QImage &img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
    return n;
}

} // namespace

TEST_F(MouseHandler, BandIsDrawnOnACopyOfTheFinishedPicture)
{
    QImage finished(260, 200, QImage::Format_RGB32);
    finished.fill(qRgb(255, 255, 255));
    EXPECT_EQ(&mouse.ShownPicture(finished), &finished); // no band: the picture itself

    mouse.SetMouseAction(maZoomWind);
    mouse.MouseDown(Qt::LeftButton, kLeft, 100, 50);
    mouse.MouseMove(kLeft, 140, 80);
    const QImage &shown = mouse.ShownPicture(finished);
    EXPECT_NE(&shown, &finished);
    EXPECT_EQ(CountRgb(shown, 0x000000), 2 * 40 + 2 * 28);
    EXPECT_EQ(shown.pixel(100, 50) & 0xFFFFFF, 0u);
    EXPECT_EQ(CountRgb(finished, 0x000000), 0); // the finished picture is untouched

    mouse.MouseMove(kLeft, 120, 60); // the old band is erased, the new one drawn
    const QImage &moved = mouse.ShownPicture(finished);
    EXPECT_EQ(CountRgb(moved, 0x000000), 2 * 20 + 2 * 8);
    EXPECT_EQ(moved.pixel(139, 79) & 0xFFFFFF, 0xFFFFFFu);

    // A new finished picture (the chart repainted) carries the band too.
    finished.fill(qRgb(0, 0, 255));
    const QImage &fresh = mouse.ShownPicture(finished);
    EXPECT_EQ(CountRgb(fresh, qRgb(255, 255, 0)), 2 * 20 + 2 * 8); // blue inverted is yellow
    EXPECT_EQ(CountRgb(fresh, qRgb(0, 0, 255)), 260 * 200 - 56);

    mouse.MouseUp(Qt::RightButton, kNone, 120, 60);
    EXPECT_EQ(&mouse.ShownPicture(finished), &finished);
}

TEST_F(MouseHandler, CrossHairsAreDrawnWithTheirLayersAndLeaveThePenAlone)
{
    TBitmap bmp(260, 200);
    const QImage blank = bmp.Image().copy();
    mouse.DrawCrossHairs(bmp, 0, 0); // all off: nothing
    EXPECT_EQ(bmp.Image(), blank);

    TCrossHair *c1 = mouse.CrossHair(1), *c2 = mouse.CrossHair(2);
    c1->SetMode(chBoth);
    c1->SetColor(clRed);
    c1->SetPosX(5); // pixel 150, 95
    c1->SetPosY(5);
    site.ax[1] = Lin(0, 100);
    c2->SetMode(chVert);
    c2->SetColor(clBlue);
    c2->SetPosX(25); // layer 2: pixel 100
    bmp.Canvas().Pen.Color = clGreen;
    bmp.Canvas().Pen.Width = 3;
    mouse.DrawCrossHairs(bmp, 0, 0);
    const QImage &img = bmp.Image();
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    EXPECT_EQ(img.pixel(150, 21), red);
    EXPECT_EQ(img.pixel(150, 169), red);
    EXPECT_EQ(img.pixel(150, 20), white);
    EXPECT_EQ(img.pixel(150, 170), white);
    EXPECT_EQ(img.pixel(51, 95), red);
    EXPECT_EQ(img.pixel(249, 95), red);
    EXPECT_EQ(img.pixel(50, 95), white);
    EXPECT_EQ(img.pixel(250, 95), white);
    EXPECT_EQ(img.pixel(100, 60), blue);
    // The blue line is drawn last and covers one pixel of the red horizontal one.
    EXPECT_EQ(img.pixel(100, 95), blue);
    EXPECT_EQ(CountRgb(img, red), 199 + 149 - 1 - 1);
    EXPECT_EQ(CountRgb(img, blue), 149);
    EXPECT_EQ(bmp.Canvas().Pen.Color, clGreen);
    EXPECT_EQ(bmp.Canvas().Pen.Width, 3);
}

TEST_F(MouseHandler, BrokenCrossHairLinesFillTheirGapsWithTheChartColour)
{
    TBitmap bmp(260, 200);
    site.chartColor = clYellow;
    TCrossHair *c = mouse.CrossHair(1);
    c->SetMode(chHoriz);
    c->SetLineType(psDash);
    c->SetPosY(5);
    mouse.DrawCrossHairs(bmp, 0, 0);
    const QImage &img = bmp.Image();
    int black = 0, yellow = 0;
    for (int x = 51; x < 250; ++x) {
        black += img.pixel(x, 95) == qRgb(0, 0, 0);
        yellow += img.pixel(x, 95) == qRgb(255, 255, 0);
    }
    EXPECT_GT(black, 20);
    EXPECT_GT(yellow, 20);
    EXPECT_EQ(black + yellow, 199);
}
