// Range arithmetic of the chart's mouse actions, checked without a widget.
#include "Kesl_kurvo_mouse.h"

#include <QCursor>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

using namespace KurvoMouse;

namespace {

// Data area 50..250 by 20..170: w = 200, h = 150.
TChartGeometry Geo()
{
    TChartGeometry g;
    g.Width = 260;
    g.Height = 200;
    g.MarginLeft = 50;
    g.MarginRight = 10;
    g.MarginTop = 20;
    g.MarginBottom = 30;
    return g;
}

// The chart's transform of one layer, written out independently.
TLayerMap MapFor(const TChartGeometry &g, const TAxisRange &x, const TAxisRange &y)
{
    TLayerMap m;
    m.LogX = x.Logarithmic;
    m.LogY = y.Logarithmic;
    m.FallbackX = x.Low;
    m.FallbackY = y.Low;
    long double L = x.Logarithmic ? std::log((long double)x.Low) : x.Low;
    long double H = x.Logarithmic ? std::log((long double)x.High) : x.High;
    if (g.W() > 0 && H != L) {
        m.kx = g.W() / (H - L);
        m.dx = (g.Left() * H - g.Right() * L) / (H - L);
    }
    L = y.Logarithmic ? std::log((long double)y.Low) : y.Low;
    H = y.Logarithmic ? std::log((long double)y.High) : y.High;
    if (g.H() > 0 && H != L) {
        m.ky = -g.H() / (H - L);
        m.dy = (g.Bottom() * H - g.Top() * L) / (H - L);
    }
    return m;
}

TAxisRange Lin(double lo, double hi, double minRange = 1e-10)
{
    return {lo, hi, false, minRange};
}

TAxisRange Log(double lo, double hi)
{
    return {lo, hi, true, 1e-10};
}

} // namespace

// ---- PixelToData ----

struct TInverseCase
{
    const char *name;
    TAxisRange x, y;
    int px, py;
    double ex, ey;
};

void PrintTo(const TInverseCase &c, std::ostream *os)
{
    *os << c.name;
}

class PixelToDataTable : public ::testing::TestWithParam<TInverseCase>
{
};

TEST_P(PixelToDataTable, InvertsTheLayerTransform)
{
    const TInverseCase &c = GetParam();
    const QPointF p = PixelToData(MapFor(Geo(), c.x, c.y), c.px, c.py);
    EXPECT_NEAR(p.x(), c.ex, 1e-9 * std::max(1.0, std::fabs(c.ex)));
    EXPECT_NEAR(p.y(), c.ey, 1e-9 * std::max(1.0, std::fabs(c.ey)));
}

INSTANTIATE_TEST_SUITE_P(Mouse, PixelToDataTable,
                         ::testing::Values(TInverseCase {"corners", Lin(0, 10), Lin(0, 10), 50, 170, 0, 0},
                                           TInverseCase {"opposite", Lin(0, 10), Lin(0, 10), 250, 20, 10, 10},
                                           TInverseCase {"middle", Lin(-20, 20), Lin(0, 0.5), 150, 95, 0, 0.25},
                                           TInverseCase {"reversed", Lin(10, 0), Lin(5, -5), 70, 35, 9, -4},
                                           TInverseCase {"outside", Lin(0, 10), Lin(0, 15), 0, 200, -2.5, -3},
                                           TInverseCase {"logarithmic", Log(1, 100), Log(1, 1000), 150, 70, 10, 100}),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(MousePixelToData, ZeroFactorGivesTheFallbackNotADivisionByZero)
{
    TChartGeometry g = Geo();
    g.Width = 40; // narrower than the margins: no data area
    g.Height = 30;
    const QPointF p = PixelToData(MapFor(g, Lin(3, 4), Lin(5, 6)), 17, 9);
    EXPECT_EQ(p.x(), 3.0);
    EXPECT_EQ(p.y(), 5.0);
}

TEST(MousePixelToData, FarPixelsOnHugeRangesSaturateToFiniteValues)
{
    // 1e-100 .. 1e300 logarithmic over 200 pixels: exp of pixels far right overflows.
    const TLayerMap m = MapFor(Geo(), Log(1e-100, 1e300), Lin(-1e308, 1e308));
    const QPointF far = PixelToData(m, 2000000000, -2000000000);
    EXPECT_TRUE(std::isfinite(far.x()));
    EXPECT_EQ(far.x(), DBL_MAX);
    EXPECT_TRUE(std::isfinite(far.y()));
    EXPECT_EQ(far.y(), DBL_MAX);
}

// ---- guards ----

struct TGuardCase
{
    const char *name;
    TAxisRange axis;
    double lo, hi;
    bool ok;
};

void PrintTo(const TGuardCase &c, std::ostream *os)
{
    *os << c.name;
}

class RangeGuardTable : public ::testing::TestWithParam<TGuardCase>
{
};

TEST_P(RangeGuardTable, AcceptsOnlyWholeValidRanges)
{
    const TGuardCase &c = GetParam();
    EXPECT_EQ(RangeAcceptable(c.axis, c.lo, c.hi), c.ok);
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, RangeGuardTable,
    ::testing::Values(TGuardCase {"plain", Lin(0, 1), -1, 9, true}, TGuardCase {"reversed", Lin(0, 1), 9, -1, true},
                      TGuardCase {"exactlyMinRange", Lin(0, 1, 0.5), 1, 1.5, true},
                      TGuardCase {"belowMinRange", Lin(0, 1, 0.5), 1, 1.4, false},
                      TGuardCase {"nan", Lin(0, 1), std::nan(""), 1, false},
                      TGuardCase {"infinite", Lin(0, 1), 0, std::numeric_limits<double>::infinity(), false},
                      TGuardCase {"logPositive", Log(1, 10), 0.5, 20, true},
                      TGuardCase {"logNegativeLow", Log(1, 10), -8, 19, false},
                      TGuardCase {"logZeroHigh", Log(1, 10), 10, 0, false},
                      TGuardCase {"logUnderFloor", Log(1, 10), 1e-101, 1, false},
                      TGuardCase {"logAtFloor", Log(1, 10), 1e-100, 1, true}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

// ---- pan ----

struct TPanCase
{
    const char *name;
    bool vertical;
    TRangePair start;
    TAxisRange current;
    int from, to, extent;
    double lo, hi;
};

void PrintTo(const TPanCase &c, std::ostream *os)
{
    *os << c.name;
}

class PanTable : public ::testing::TestWithParam<TPanCase>
{
};

TEST_P(PanTable, MovesTheStartRangeByTheDrag)
{
    const TPanCase &c = GetParam();
    const auto r = c.vertical ? PanY(c.start, c.current, c.from, c.to, c.extent)
                              : PanX(c.start, c.current, c.from, c.to, c.extent);
    ASSERT_TRUE(r.has_value());
    EXPECT_NEAR(r->Low, c.lo, 1e-9 * std::max(1.0, std::fabs(c.lo)));
    EXPECT_NEAR(r->High, c.hi, 1e-9 * std::max(1.0, std::fabs(c.hi)));
}

INSTANTIATE_TEST_SUITE_P(Mouse, PanTable,
                         ::testing::Values(
                             // 0..10 over 200 pixels dragged 20 pixels right: the data follows the pointer.
                             TPanCase {"rightTwenty", false, {0, 10}, Lin(0, 10), 100, 120, 200, -1, 9},
                             TPanCase {"leftForty", false, {0, 10}, Lin(0, 10), 120, 80, 200, 2, 12},
                             TPanCase {"reversedAxis", false, {10, 0}, Lin(10, 0), 100, 120, 200, 11, 1},
                             // The current width scales the step; the start range is what moves.
                             TPanCase {"currentWidthScales", false, {0, 10}, Lin(5, 25), 100, 120, 200, -2, 8},
                             TPanCase {"downThirty", true, {0, 10}, Lin(0, 10), 50, 80, 150, 2, 12},
                             TPanCase {"up", true, {0, 10}, Lin(0, 10), 80, 50, 150, -2, 8},
                             TPanCase {"logX", false, {1, 100}, Log(1, 100), 100, 200, 200, 0.1, 10},
                             TPanCase {"logY", true, {1, 100}, Log(1, 100), 50, 125, 150, 10, 1000},
                             TPanCase {"noMove", false, {3, 4}, Lin(3, 4), 7, 7, 200, 3, 4}),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(MousePan, RefusesWhereTheArithmeticHasNoMeaning)
{
    EXPECT_FALSE(PanX({0, 10}, Lin(0, 10), 0, 20, 0)); // no data area
    EXPECT_FALSE(PanY({0, 10}, Lin(0, 10), 0, 20, -5));
    EXPECT_FALSE(PanX({-1, 10}, Log(-1, 10), 0, 20, 200)); // a log axis must be positive to scale
    EXPECT_FALSE(PanX({0, 10}, Log(0, 10), 0, 20, 200));
}

TEST(MousePan, ExtremePixelsStayDefined)
{
    const auto r = PanX({0, 10}, Lin(0, 10), INT32_MIN, INT32_MAX, 1);
    ASSERT_TRUE(r);
    EXPECT_LT(r->Low, -1e9);
    // A log pan that underflows gives a range the guard refuses.
    const auto u = PanX({1, 10}, Log(1, 10), INT32_MIN + 1, INT32_MAX, 1);
    ASSERT_TRUE(u);
    EXPECT_FALSE(RangeAcceptable(Log(1, 10), u->Low, u->High));
}

// ---- drag zoom ----

struct TZoomCase
{
    const char *name;
    int sx, sy, X, Y, W, H;
    bool iso;
    std::optional<double> fx, fy;
};

void PrintTo(const TZoomCase &c, std::ostream *os)
{
    *os << c.name;
}

class DragZoomTable : public ::testing::TestWithParam<TZoomCase>
{
};

TEST_P(DragZoomTable, Factors)
{
    const TZoomCase &c = GetParam();
    const TZoomFactors f = DragZoomFactors(c.sx, c.sy, c.X, c.Y, c.W, c.H, c.iso);
    ASSERT_EQ(f.Fx.has_value(), c.fx.has_value());
    ASSERT_EQ(f.Fy.has_value(), c.fy.has_value());
    if (c.fx) {
        EXPECT_DOUBLE_EQ(*f.Fx, *c.fx);
    }
    if (c.fy) {
        EXPECT_DOUBLE_EQ(*f.Fy, *c.fy);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, DragZoomTable,
    ::testing::Values(TZoomCase {"hundredRight", 100, 50, 200, 50, 400, 300, false, 0.75, 1.0},
                      TZoomCase {"left", 200, 50, 100, 50, 400, 300, false, 1.25, 1.0},
                      TZoomCase {"down", 100, 50, 100, 200, 400, 300, false, 1.0, 1.5},
                      TZoomCase {"up", 100, 200, 100, 50, 400, 300, false, 1.0, 0.5},
                      TZoomCase {"isometric", 100, 50, 200, 200, 400, 300, true, 0.75, 0.75},
                      // Starting far outside the control would turn the axis over: refused.
                      TZoomCase {"overTheWidth", -500, 50, 300, 50, 400, 300, false, std::nullopt, 1.0},
                      TZoomCase {"exactlyTheWidth", 0, 50, 400, 50, 400, 300, false, std::nullopt, 1.0},
                      TZoomCase {"overTheHeight", 0, 500, 0, 100, 400, 300, false, 1.0, std::nullopt},
                      TZoomCase {"noControl", 0, 0, 10, 10, 0, 0, false, std::nullopt, std::nullopt}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(MouseDragZoom, ScalesAroundTheStartCentreKeepingDirection)
{
    const struct
    {
        TRangePair start;
        double f;
        TRangePair want;
    } rows[] = {
        {{0, 10}, 0.75, {1.25, 8.75}},
        {{10, 0}, 0.5, {7.5, 2.5}},
        {{-4, 4}, 2, {-8, 8}},
        {{1, 10}, 3, {-8, 19}}, // on a log axis the guard refuses this one
    };
    for (const auto &r : rows) {
        const TRangePair got = ZoomAxis(r.start, r.f);
        EXPECT_DOUBLE_EQ(got.Low, r.want.Low);
        EXPECT_DOUBLE_EQ(got.High, r.want.High);
    }
    EXPECT_FALSE(RangeAcceptable(Log(1, 10), -8, 19));
    // Zooming in below MinRange is refused as a whole.
    const TRangePair tiny = ZoomAxis({0, 1}, 1e-12);
    EXPECT_FALSE(RangeAcceptable(Lin(0, 1), tiny.Low, tiny.High));
}

// ---- rubber band ----

TEST(MouseBand, CornerIsClampedToTheDataArea)
{
    const TChartGeometry g = Geo();
    const QPoint s(100, 100);
    const struct
    {
        int X, Y;
        bool iso;
        QPoint want;
    } rows[] = {
        {120, 130, false, {120, 130}},  {-5000, 9000, false, {50, 170}}, {INT32_MAX, INT32_MIN, false, {250, 20}},
        {250, 20, false, {250, 20}},    {130, 140, true, {130, 130}},    {130, 60, true, {130, 70}},
        {70, 60, true, {70, 70}},       {70, 140, true, {70, 130}},      {250, 110, true, {250, 170}},
        {INT32_MIN, 0, true, {50, 50}},
    };
    for (const auto &r : rows)
        EXPECT_EQ(BandCorner(g, s, r.X, r.Y, r.iso), r.want) << r.X << "," << r.Y << " iso " << r.iso;
    // A data area turned inside out by a resize: still defined.
    TChartGeometry bad = g;
    bad.Width = 10;
    bad.Height = 10;
    const QPoint c = BandCorner(bad, s, 5, 5, false);
    EXPECT_GE(c.x(), bad.Right());
    EXPECT_LE(c.x(), bad.Left());
}

TEST(MouseBand, PairsFollowTheAxisDirection)
{
    const struct
    {
        double v1, v2;
        TAxisRange axis;
        TRangePair want;
    } rows[] = {
        {2, 8, Lin(0, 10), {2, 8}}, {8, 2, Lin(0, 10), {2, 8}}, {2, 8, Lin(10, 0), {8, 2}},
        {8, 2, Lin(10, 0), {8, 2}}, {5, 5, Lin(0, 10), {5, 5}},
    };
    for (const auto &r : rows)
        EXPECT_EQ(FollowAxisDirection(r.v1, r.v2, r.axis), r.want) << r.v1 << " " << r.v2;
}

TEST(MouseBand, IsometricHeightFollowsTheWidth)
{
    const TChartGeometry g = Geo(); // wb 201, hb 151
    const TRangePair y = IsometricY(0, 201, 10, 30, g, 1.0);
    EXPECT_DOUBLE_EQ(y.Low, 20 - 75.5);
    EXPECT_DOUBLE_EQ(y.High, 20 + 75.5);
    const TRangePair r = IsometricY(201, 0, 10, 30, g, 2.0); // reversed x, doubled aspect
    EXPECT_DOUBLE_EQ(r.Low, 20 + 151);
    EXPECT_DOUBLE_EQ(r.High, 20 - 151);
}

// ---- grabbing ----

TEST(MouseGrab, CrossHairNearestByItsLines)
{
    using S = TCrossHairSpot;
    const struct
    {
        const char *name;
        std::array<S, 4> spots;
        int X, Y, want;
    } rows[] = {
        {"allOff", {S {chOff, {10, 10}}, S {chOff, {100, 100}}, S {chOff, {}}, S {chOff, {}}}, 100, 100, 1},
        {"vertNearest", {S {chVert, {10, 0}}, S {chVert, {95, 0}}, S {chVert, {300, 0}}, S {}}, 100, 0, 2},
        {"horizNearest", {S {chHoriz, {0, 10}}, S {chHoriz, {0, 50}}, S {chHoriz, {0, 98}}, S {}}, 0, 100, 3},
        // A horizontal line near the pointer beats a vertical one further away.
        {"bothKinds", {S {chVert, {140, 0}}, S {chOff, {}}, S {chOff, {}}, S {chHoriz, {0, 103}}}, 100, 100, 4},
        // chBoth counts whichever of its lines is nearer; x far, y near.
        {"bothLines", {S {chVert, {110, 0}}, S {chBoth, {500, 101}}, S {}, S {}}, 100, 100, 2},
        // Ties keep the earlier one.
        {"tie", {S {chVert, {90, 0}}, S {chVert, {110, 0}}, S {}, S {}}, 100, 0, 1},
        {"offIgnored", {S {chOff, {100, 100}}, S {chVert, {300, 0}}, S {}, S {}}, 100, 100, 2},
        {"saturated", {S {chVert, {INT32_MAX, 0}}, S {chVert, {-INT32_MAX, 0}}, S {}, S {}}, -5, 0, 2},
    };
    for (const auto &r : rows)
        EXPECT_EQ(PickCrossHair(r.spots, r.X, r.Y), r.want) << r.name;
}

TEST(MouseGrab, TextLabelNearestCountingAnchor)
{
    std::array<TTextLabelSpot, 30> spots {};
    EXPECT_EQ(PickTextLabel(spots, 5, 5), 1); // none counts
    spots[4] = {true, {100, 100}};
    spots[9] = {true, {120, 90}};
    spots[12] = {false, {118, 92}}; // hidden: never picked
    EXPECT_EQ(PickTextLabel(spots, 119, 91), 10);
    EXPECT_EQ(PickTextLabel(spots, 0, 0), 5);
}

TEST(MouseGrab, TextLabelAnchorAndDragByAttachMode)
{
    const QPoint mapped(333, 444);
    const QPointF data(1.5, -2.5);
    const struct
    {
        TTxtLblAttachMode mode;
        QPoint anchor;
        QPointF dragged;
    } rows[] = {
        {tlamNone, {12, 8}, {70, 80}},
        {tlamXOnly, {333, 8}, {1.5, 80}},
        {tlamYOnly, {12, 444}, {70, -2.5}},
        {tlamBoth, {333, 444}, {1.5, -2.5}},
    };
    for (const auto &r : rows) {
        // 12.5 rounds to the even 12, 7.5 to 8.
        EXPECT_EQ(TextLabelAnchor(r.mode, 12.5, 7.5, mapped), r.anchor) << r.mode;
        EXPECT_EQ(TextLabelDragPos(r.mode, 70, 80, data), r.dragged) << r.mode;
    }
    EXPECT_EQ(TextLabelAnchor(tlamNone, 1e300, std::nan(""), mapped), QPoint(2147483647, -2147483647));
}

// ---- pointer ----

TEST(MousePointer, ShapeByActionOverTheDataArea)
{
    const TChartPointer want[] = {cpCross,     cpHand,      cpHand,        cpHand,      cpDefault,
                                  cpUnchanged, cpZoomWind,  cpZoomWindPos, cpZoomDrag,  cpDefault,
                                  cpDefault,   cpUnchanged, cpUnchanged,   cpUnchanged, cpUnchanged};
    for (int a = maNone; a <= maRotZOnly; ++a) {
        const auto action = TMouseActMode(a);
        EXPECT_EQ(PointerFor(action, true, false), want[a]) << a;
        EXPECT_EQ(PointerFor(action, true, true), cpDefault) << a;
        EXPECT_EQ(PointerFor(action, false, false), cpDefault) << a;
    }
}

TEST(MousePointer, ZoomShapesAreOwnBitmapsAndDiffer)
{
    const QCursor hand = CursorFor(cpHand);
    EXPECT_EQ(hand.shape(), Qt::OpenHandCursor);
    EXPECT_EQ(CursorFor(cpCross).shape(), Qt::CrossCursor);
    EXPECT_EQ(CursorFor(cpDefault).shape(), Qt::ArrowCursor);
    const QImage a = CursorFor(cpZoomWind).pixmap().toImage();
    const QImage b = CursorFor(cpZoomDrag).pixmap().toImage();
    const QImage c = CursorFor(cpZoomWindPos).pixmap().toImage();
    EXPECT_EQ(CursorFor(cpZoomWind).shape(), Qt::BitmapCursor);
    ASSERT_FALSE(a.isNull());
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(b, c);
}

// ---- cross-hair lines ----

TEST(MouseCrossHair, LinesSpanTheDataAreaAndKeepOffItsBorder)
{
    const TChartGeometry g = Geo(); // x 50..250, y 20..170
    const struct
    {
        const char *name;
        TCrossHMode mode;
        QPoint p;
        int wid, ox, oy;
        bool horiz, vert;
        TCrossHairSegment h, v;
    } rows[] = {
        {"both", chBoth, {100, 60}, 1, 0, 0, true, true, {{51, 60}, {250, 60}}, {{100, 21}, {100, 170}}},
        {"offset", chBoth, {100, 60}, 1, 50, 20, true, true, {{1, 40}, {200, 40}}, {{50, 1}, {50, 150}}},
        {"horizOnly", chHoriz, {100, 60}, 1, 0, 0, true, false, {{51, 60}, {250, 60}}, {}},
        {"vertOnly", chVert, {100, 60}, 1, 0, 0, false, true, {}, {{100, 21}, {100, 170}}},
        {"onBorder", chBoth, {50, 20}, 1, 0, 0, false, false, {}, {}},
        {"justInside", chBoth, {51, 21}, 1, 0, 0, true, true, {{51, 21}, {250, 21}}, {{51, 21}, {51, 170}}},
        {"wideNearBorder", chBoth, {52, 22}, 5, 0, 0, false, false, {}, {}},
        {"wide", chBoth, {53, 23}, 5, 0, 0, true, true, {{53, 23}, {248, 23}}, {{53, 23}, {53, 168}}},
        {"outside", chBoth, {-3000, 9000}, 1, 0, 0, false, false, {}, {}},
        {"off", chOff, {100, 60}, 1, 0, 0, false, false, {}, {}},
    };
    for (const auto &r : rows) {
        const TCrossHairLines l = CrossHairLines(g, r.mode, r.p, r.wid, r.ox, r.oy);
        ASSERT_EQ(l.Horiz.has_value(), r.horiz) << r.name;
        ASSERT_EQ(l.Vert.has_value(), r.vert) << r.name;
        if (r.horiz) {
            EXPECT_EQ(l.Horiz->From, r.h.From) << r.name;
            EXPECT_EQ(l.Horiz->To, r.h.To) << r.name;
        }
        if (r.vert) {
            EXPECT_EQ(l.Vert->From, r.v.From) << r.name;
            EXPECT_EQ(l.Vert->To, r.v.To) << r.name;
        }
    }
}

// ---- band outline ----

namespace {

int CountColour(const QImage &img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
    return n;
}

} // namespace

TEST(MouseBandOutline, InvertsEachOutlinePixelOnceAndUndoesItself)
{
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    const QImage white = img.copy();
    // Dragged from lower right to upper left: the same outline as the other way.
    KurvoMouse::XorBandOutline(img, QPoint(30, 20), QPoint(10, 5));
    // 20 x 15 rectangle, right and bottom exclusive: outline 2*20 + 2*13 pixels.
    EXPECT_EQ(CountColour(img, 0x000000), 66);
    EXPECT_EQ(img.pixel(10, 5) & 0xFFFFFF, 0u);
    EXPECT_EQ(img.pixel(29, 19) & 0xFFFFFF, 0u);
    EXPECT_EQ(img.pixel(30, 20) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(20, 12) & 0xFFFFFF, 0xFFFFFFu); // the inside is untouched
    KurvoMouse::XorBandOutline(img, QPoint(10, 5), QPoint(30, 20));
    EXPECT_EQ(img, white);
}

TEST(MouseBandOutline, ThinZeroAndClippedBands)
{
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    const QImage white = img.copy();
    KurvoMouse::XorBandOutline(img, QPoint(5, 5), QPoint(5, 15)); // zero width: nothing
    KurvoMouse::XorBandOutline(img, QPoint(5, 5), QPoint(15, 5)); // zero height: nothing
    EXPECT_EQ(img, white);
    KurvoMouse::XorBandOutline(img, QPoint(5, 5), QPoint(6, 9)); // one pixel wide: each pixel once
    EXPECT_EQ(CountColour(img, 0x000000), 4);
    KurvoMouse::XorBandOutline(img, QPoint(5, 5), QPoint(6, 9));
    EXPECT_EQ(img, white);
    // Mostly outside the image: only the visible part changes, nothing is written outside.
    KurvoMouse::XorBandOutline(img, QPoint(-100, -100), QPoint(10, 10));
    EXPECT_EQ(CountColour(img, 0x000000), 19);
    KurvoMouse::XorBandOutline(img, QPoint(INT32_MIN + 2, INT32_MIN + 2), QPoint(INT32_MAX - 2, INT32_MAX - 2));
    QImage none;
    KurvoMouse::XorBandOutline(none, QPoint(0, 0), QPoint(5, 5));
    EXPECT_TRUE(none.isNull());
}
