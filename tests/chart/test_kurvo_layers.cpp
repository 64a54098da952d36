// Layers, ranges, joints, isometric mode, history and the pixel mapping.
#include "Kesl_kurvo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct RangeCase
{
    const char *name;
    double minRange; // x MinRange before the request
    double xl, yl, xh, yh; // request for layer 1
    double expXl, expXh, expYl, expYh;
};

// Layer 1 starts at x -20..20 and y 0..1 in every case.
const RangeCase kRangeCases[] = {
    {"plain", 1e-10, -5, 2, 5, 3, -5, 5, 2, 3},
    {"reversed axis kept as given", 1e-10, 5, 0, -5, 1, 5, -5, 0, 1},
    {"equal ends widened by MinRange", 1, 5, 0, 5, 1, 4.5, 5.5, 0, 1},
    {"narrower than MinRange refused", 1e-10, 0, 0, 1e-11, 1, -20, 20, 0, 1},
    {"NaN end refused", 1e-10, std::nan(""), 0, 3, 1, -20, 20, 0, 1},
    {"infinite end refused", 1e-10, -std::numeric_limits<double>::infinity(), 0, 3, 1, -20, 20, 0, 1},
};

class KurvoRange : public ::testing::TestWithParam<RangeCase>
{
};

TEST_P(KurvoRange, SetLayerRangeStoresOrRefuses)
{
    const RangeCase &c = GetParam();
    TKurvo k;
    k.SetLayerRange(1, -20, 0, 20, 1);
    k.ScaleX(1)->SetMinRange(c.minRange);
    k.SetLayerRange(1, c.xl, c.yl, c.xh, c.yh);
    EXPECT_DOUBLE_EQ(k.ScaleX(1)->RangeLow(), c.expXl);
    EXPECT_DOUBLE_EQ(k.ScaleX(1)->RangeHigh(), c.expXh);
    EXPECT_DOUBLE_EQ(k.ScaleY(1)->RangeLow(), c.expYl);
    EXPECT_DOUBLE_EQ(k.ScaleY(1)->RangeHigh(), c.expYh);
}

INSTANTIATE_TEST_SUITE_P(Table, KurvoRange, ::testing::ValuesIn(kRangeCases), [](const auto &testInfo) {
    std::string s = testInfo.param.name;
    for (char &ch : s)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return s;
});

TEST(KurvoLayers, LayerZeroSetsAllSixteenAndMapsEndsToDataAreaEdges)
{
    TKurvo k; // 280 x 200, margins 50, 20, 20, 40
    k.SetLayerRange(kAllLayers, -20, 0, 20, 0.5);
    for (int l = 1; l <= 16; ++l) {
        SCOPED_TRACE(l);
        EXPECT_DOUBLE_EQ(k.ScaleX(l)->RangeLow(), -20);
        EXPECT_DOUBLE_EQ(k.ScaleX(l)->RangeHigh(), 20);
        EXPECT_DOUBLE_EQ(k.ScaleY(l)->RangeLow(), 0);
        EXPECT_DOUBLE_EQ(k.ScaleY(l)->RangeHigh(), 0.5);
        EXPECT_EQ(k.DataToPixel(l, -20, 0), QPoint(50, 160));
        EXPECT_EQ(k.DataToPixel(l, 20, 0.5), QPoint(260, 20));
    }
}

// A number outside 1..16 is ignored by the setters, answered as "none" by the
// queries and taken as the nearest layer by the accessors and the mapping.
TEST(KurvoLayers, LayerNumbersOutsideTheRange)
{
    TKurvo k;
    k.SetLayerRange(3, 0, 0, 10, 10);
    for (const int bad : {-1, 0, 17}) {
        SCOPED_TRACE(bad);
        const int nearest = bad < 1 ? 1 : 16;
        k.SetCurrentLayer(bad);
        EXPECT_EQ(k.CurrentLayer(), 1);
        k.SetLayerVisible(bad, false);
        EXPECT_FALSE(k.LayerVisible(bad));
        EXPECT_TRUE(k.LayerVisible(nearest));
        EXPECT_EQ(k.ScaleX(bad), k.ScaleX(nearest));
        EXPECT_EQ(k.ScaleObjectY(bad), k.ScaleObjectY(nearest));
        EXPECT_EQ(k.DataToPixel(bad, 0.5, 0.5), k.DataToPixel(nearest, 0.5, 0.5));
        EXPECT_EQ(k.JointLayers()->XControlledBy(bad), 0);
        EXPECT_THROW(k.JointLayers()->SetYControlledBy(bad, 2), EKeslKurvoError);
    }
    const double before = k.ScaleX(16)->RangeHigh();
    k.SetLayerRange(17, 5, 5, 6, 6);
    k.SetLayerRange(-1, 5, 5, 6, 6);
    for (int l = 1; l <= 16; ++l)
        EXPECT_DOUBLE_EQ(k.ScaleX(l)->RangeHigh(), l == 3 ? 10 : before) << l;
}

TEST(KurvoLayers, MappingTable)
{
    TKurvo k;
    k.SetLayerRange(0, 0, 0, 210, 140); // one unit per pixel on both axes
    struct
    {
        int layer;
        double x, y;
        QPoint expected;
    } cases[] = {
        {1, 0.5, 0, {50, 160}}, // half rounds to the even pixel
        {1, 1.5, 0, {52, 160}},
        {1, 2.5, 0.5, {52, 160}}, // 159.5 -> 160
        {1, 0, 1.5, {50, 158}}, // 158.5 -> 158
        {0, 10, 10, {60, 150}}, // layer below 1 maps as layer 1
        {17, 10, 10, {60, 150}}, // above 16 as 16
        {1, 1e308, -1e308, {2147483647, 2147483647}},
        {1, -std::numeric_limits<double>::infinity(), 0, {-2147483647, 160}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(k.DataToPixel(c.layer, c.x, c.y), c.expected);
    }
}

TEST(KurvoLayers, LogarithmicFloorKeepsLowEndAndMapsNonPositiveToEdge)
{
    TKurvo k;
    k.ScaleX(1)->SetLogarithmic(true); // accepted: a chart not read from a form
    k.SetLayerRange(1, 1, 0, 10, 1);
    k.SetLayerRange(1, -1, 0, 100, 1);
    EXPECT_DOUBLE_EQ(k.ScaleX(1)->RangeLow(), 1);
    EXPECT_DOUBLE_EQ(k.ScaleX(1)->RangeHigh(), 100);
    EXPECT_EQ(k.DataToPixel(1, 0, 0).x(), 0);
    EXPECT_EQ(k.DataToPixel(1, 1, 0).x(), 50);
    EXPECT_EQ(k.DataToPixel(1, 10, 0).x(), 155); // halfway in decades
    EXPECT_EQ(k.DataToPixel(1, 100, 0).x(), 260);
    // A reversed logarithmic axis puts non-positive values at the far edge.
    k.SetLayerRange(1, 100, 0, 1, 1);
    EXPECT_EQ(k.DataToPixel(1, -3, 0).x(), 280);
}

TEST(KurvoLayers, LogarithmicYNonPositiveGoesToBottomEdge)
{
    TKurvo k;
    k.ScaleY(1)->SetLogarithmic(true);
    k.SetLayerRange(1, 0, 1, 1, 1000);
    EXPECT_EQ(k.DataToPixel(1, 0, 0).y(), 200);
    EXPECT_EQ(k.DataToPixel(1, 0, 1).y(), 160);
    EXPECT_EQ(k.DataToPixel(1, 0, 1000).y(), 20);
}

TEST(KurvoLayers, JoinedXAxisFollowsItsController)
{
    TKurvo k;
    k.JointLayers()->SetL02xControlledBy(1);
    k.SetLayerRange(1, -5, 0, 5, 1);
    EXPECT_DOUBLE_EQ(k.ScaleX(2)->RangeLow(), -5);
    EXPECT_DOUBLE_EQ(k.ScaleX(2)->RangeHigh(), 5);
    // Layer 2's own x cannot be set; its y can.
    k.SetLayerRange(2, 100, 3, 200, 4);
    EXPECT_DOUBLE_EQ(k.ScaleX(2)->RangeLow(), -5);
    EXPECT_DOUBLE_EQ(k.ScaleX(2)->RangeHigh(), 5);
    EXPECT_DOUBLE_EQ(k.ScaleY(2)->RangeLow(), 3);
    EXPECT_DOUBLE_EQ(k.ScaleY(2)->RangeHigh(), 4);
    // Joining copies the controller's range at once.
    k.SetLayerRange(3, 7, 0, 9, 1);
    k.JointLayers()->SetL03yControlledBy(2);
    EXPECT_DOUBLE_EQ(k.ScaleY(3)->RangeLow(), 3);
    EXPECT_DOUBLE_EQ(k.ScaleX(3)->RangeLow(), 7);
    // A range property changed directly reaches the followers as well.
    k.ScaleX(1)->SetRangeHigh(50);
    EXPECT_DOUBLE_EQ(k.ScaleX(2)->RangeHigh(), 50);
}

TEST(KurvoLayers, InvalidJoinsRaiseTheirMessagesAndChangeNothing)
{
    TKurvo k;
    k.JointLayers()->SetL02xControlledBy(1);
    struct
    {
        void (TJointLayers::*set)(int);
        int value;
        const char *message;
    } cases[] = {
        {&TJointLayers::SetL01xControlledBy, 3, "Layer 1 is joined by other layers (2)"},
        {&TJointLayers::SetL03xControlledBy, 2, "Destination layer 2 is already joined"},
        {&TJointLayers::SetL03xControlledBy, 17, "Destination layer 17 is out of range"},
        {&TJointLayers::SetL03yControlledBy, 0, "Destination layer 0 is out of range"},
    };
    for (const auto &c : cases) {
        try {
            (k.JointLayers()->*c.set)(c.value);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EKeslKurvoError &e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(k.JointLayers()->L01xControlledBy(), 1);
    EXPECT_EQ(k.JointLayers()->L03xControlledBy(), 3);
    EXPECT_EQ(k.JointLayers()->L02xControlledBy(), 1);
}

TEST(KurvoLayers, IsometricRecentresYOnTheDataBitmapAspect)
{
    TKurvo k; // data bitmap 211 x 141
    k.SetLayerRange(0, -10, 0, 10, 1);
    k.SetIsometric(true);
    const double half = 20.0 * 141 / 211 / 2;
    for (int l : {1, 9, 16}) {
        EXPECT_NEAR(k.ScaleY(l)->RangeLow(), 0.5 - half, 1e-12);
        EXPECT_NEAR(k.ScaleY(l)->RangeHigh(), 0.5 + half, 1e-12);
    }
    // Later requests keep the y centre and take the height from x.
    k.SetLayerRange(1, 0, 4, 40, 6);
    EXPECT_NEAR(k.ScaleY(1)->RangeLow(), 5 - 2 * half, 1e-9);
    EXPECT_NEAR(k.ScaleY(1)->RangeHigh(), 5 + 2 * half, 1e-9);
    // Equal pixel lengths for equal units.
    const QPoint o = k.DataToPixel(1, 20, 5), dx = k.DataToPixel(1, 30, 5), dy = k.DataToPixel(1, 20, 15);
    EXPECT_NEAR(dx.x() - o.x(), o.y() - dy.y(), 1);
}

TEST(KurvoLayers, ReappliedRangeIsRecordedToo)
{
    TKurvo k;
    k.SetLayerRange(1, 0, 0, 1, 1); // the range it has
    EXPECT_EQ(k.RangeHistoryIndex(), 3);
}

TEST(KurvoLayers, HistoryIsARingOfSixteen)
{
    TKurvo k;
    EXPECT_EQ(k.RangeHistoryIndex(), 2);
    const auto first = k.RangeHistoryEntry(1, 1);
    EXPECT_EQ(first, (std::array<double, 4> {0, 1, 1, 0}));
    k.SetLayerRange(1, 2, 3, 4, 5);
    EXPECT_EQ(k.RangeHistoryEntry(1, 2), (std::array<double, 4> {2, 5, 4, 3}));
    EXPECT_EQ(k.RangeHistoryEntry(2, 2), (std::array<double, 4> {0, 1, 1, 0})); // other layers recorded too
    EXPECT_EQ(k.RangeHistoryIndex(), 3);
    // A refused request records nothing.
    k.SetLayerRange(1, 2, 3, 2 + 1e-12, 3 + 1e-12);
    EXPECT_EQ(k.RangeHistoryIndex(), 3);
    for (int i = 1; i <= 15; ++i)
        k.SetLayerRange(1, i, 0, i + 10, 1);
    EXPECT_EQ(k.RangeHistoryIndex(), 2);
    EXPECT_EQ(k.RangeHistoryEntry(1, 1), (std::array<double, 4> {15, 1, 25, 0}));
    EXPECT_EQ(k.RangeHistoryEntry(1, 0), (std::array<double, 4> {0, 0, 0, 0}));
}

TEST(KurvoLayers, ZeroDataAreaPutsEveryPointOnTheCentreLine)
{
    TKurvo k;
    k.SetBounds(0, 0, 283, 200);
    k.SetMarginLeft(200);
    k.SetMarginRight(200); // wider than the control
    k.SetLayerRange(1, 0, 0, 10, 10);
    EXPECT_EQ(k.Kx(1), 0);
    EXPECT_EQ(k.DataToPixel(1, 3, 0).x(), 142); // 141.5, the half to the even pixel
    EXPECT_EQ(k.DataToPixel(1, -1e300, 0).x(), 142);
}

} // namespace

TEST(KurvoLayerPaints, SettingAllLayersPaintsOnce)
{
    TKurvo k;
    k.resize(300, 200);
    k.SetPaintSuppressed(false);
    k.SetAutoRedraw(true);
    const int before = k.PaintCount();
    k.SetLayerRange(0, -5, -5, 5, 5);
    EXPECT_EQ(k.PaintCount(), before + 1);
    for (int l = 1; l <= 16; ++l)
        EXPECT_DOUBLE_EQ(k.ScaleX(l)->RangeHigh(), 5.0) << l;
    k.SetPaintSuppressed(true);
    k.SetLayerRange(0, -6, -6, 6, 6);
    EXPECT_EQ(k.PaintCount(), before + 1);
    k.SetPaintSuppressed(false);
    EXPECT_EQ(k.PaintCount(), before + 2);
    k.SetLayerRange(3, 0, 0, 1, 1);
    EXPECT_EQ(k.PaintCount(), before + 3);
    k.SetLayerRange(17, 0, 0, 1, 1);
    EXPECT_EQ(k.PaintCount(), before + 3);
}

// Recentred through the scale property setters: repainted as a scale setting
// is, whatever AutoRedraw says, once; a new layout or shadow recentres too.
TEST(KurvoLayerPaints, IsometricRecentringRepaintsAndFollowsTheLayout)
{
    TKurvo k;
    k.SetPaintSuppressed(false);
    k.SetAutoRedraw(false);
    k.SetLayerRange(0, -10, 0, 10, 1);
    const int before = k.PaintCount();
    k.SetIsometric(true);
    k.SetMarginTop(30);
    EXPECT_EQ(k.PaintCount(), before + 2);
    k.SetStandardLayout(rcl_X1Bottom_Y2Both);
    const auto span = [&] { return 20.0 * k.DataBitmap().Height() / k.DataBitmap().Width(); };
    EXPECT_NEAR(k.ScaleY(16)->RangeHigh() - k.ScaleY(16)->RangeLow(), span(), 1e-12);
    k.SetShadowWidth(12);
    EXPECT_NEAR(k.ScaleY(16)->RangeHigh() - k.ScaleY(16)->RangeLow(), span(), 1e-12);
}

TEST(KurvoLayerPaints, TheBoundsItHasStillRecentreAnIsometricChart)
{
    TKurvo k; // data bitmap 211 x 141
    k.SetPaintSuppressed(false);
    k.SetLayerRange(0, -10, 0, 10, 1);
    k.SetIsometric(true);
    k.ScaleY(1)->SetRangeHigh(15); // a scale setting is not recentred by itself
    k.SetBounds(k.x(), k.y(), k.width(), k.height());
    EXPECT_NEAR(k.ScaleY(1)->RangeHigh() - k.ScaleY(1)->RangeLow(), 20.0 * 141 / 211, 1e-9);
}

// Resized while hidden, so without a resize event: the scales still follow.
TEST(KurvoLayerPaints, HiddenChartResizedDrawsAtItsNewSize)
{
    TKurvo resized, fresh;
    resized.SetPaintSuppressed(false);
    resized.resize(400, 300);
    resized.SetLayerRange(0, 0, 0, 10, 10);
    fresh.SetBounds(0, 0, 400, 300);
    fresh.SetPaintSuppressed(false);
    fresh.SetLayerRange(0, 0, 0, 10, 10);
    EXPECT_EQ(resized.ControlBitmap().Image(), fresh.ControlBitmap().Image());
}
