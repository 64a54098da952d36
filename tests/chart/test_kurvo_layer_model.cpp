// The layer model and the layout without a chart: followers of joined axes,
// transforms of an area, the history ring, data bitmap sizes.
#include "Kesl_kurvo_layers_p.h"
#include "Kesl_kurvo_layout_p.h"

#include <QPoint>

#include <gtest/gtest.h>

namespace {

// Controller per layer, 0 meaning the layer itself.
struct FakeJoints
{
    int x[17] = {}, y[17] = {};
    int XControlledBy(int l) const { return x[l] ? x[l] : l; }
    int YControlledBy(int l) const { return y[l] ? y[l] : l; }
};

TEST(KurvoLayerModel, FollowersAreTheLayersJoinedOnEitherAxis)
{
    FakeJoints j;
    j.x[2] = 1;
    j.y[16] = 1;
    j.x[5] = 3;
    EXPECT_EQ(TKurvoLayers::Followers(j, 1), (1u << 1) | (1u << 15));
    EXPECT_EQ(TKurvoLayers::Followers(j, 3), 1u << 4);
    EXPECT_EQ(TKurvoLayers::Followers(j, 2), 0u); // a layer never follows itself
}

TEST(KurvoLayerModel, TransformPutsRangeEndsOnAreaEdgesAndEmptyAreaOnCentre)
{
    TKurvoLayers m;
    const TChartGeometry area {300, 200, 50, 50, 20, 30, 0}; // x 50..250, y 20..170
    m.Calculate(4, area, {-1, 1, false}, {1, 100, true});
    int px, py;
    m.Map(4, 1, 10, px, py);
    EXPECT_EQ(QPoint(px, py), QPoint(250, 95)); // halfway in decades
    m.Calculate(4, {300, 200, 50, 250, 20, 180, 0}, {-1, 1, false}, {1, 100, true});
    m.Map(4, 1, 10, px, py);
    EXPECT_EQ(QPoint(px, py), QPoint(150, 100));
}

TEST(KurvoLayerModel, HistoryRingWrapsAfterSixteenRecords)
{
    TKurvoLayers m;
    std::array<TKurvoLayers::TRangeRecord, 16> r {};
    for (int i = 1; i <= 17; ++i) {
        r[2] = {double(i), 0, 0, 0};
        m.Record(r);
    }
    EXPECT_EQ(m.HistoryIndex(), 2);
    EXPECT_EQ(m.HistoryEntry(3, 1)[0], 17);
    EXPECT_EQ(m.HistoryEntry(3, 2)[0], 2);
    EXPECT_EQ(m.HistoryEntry(17, 1)[0], 0); // no such layer
}

} // namespace

TEST(KurvoLayoutModel, EveryStandardLayoutGivesADataBitmapOnePixelBeyondItsArea)
{
    for (int k = rcl_X1Bottom_Y1Left; k <= rcl_X2Both_Y2Both + 1; ++k) {
        const TLayoutRow *row = TKurvoLayout::Row(TrcLayout(k));
        ASSERT_EQ(row == nullptr, k > rcl_X2Both_Y2Both);
        TKurvoLayout L;
        L.shadow = 7;
        if (row)
            L.Apply(TrcLayout(k), *row);
        const QSize least = L.MinimumSize();
        const TChartGeometry a = L.Area(least.width(), least.height());
        EXPECT_EQ(L.DataSize(least.width(), least.height(), false), QSize(a.W() + 1, a.H() + 1));
        EXPECT_EQ(L.DataSize(least.width(), least.height(), true), QSize(80, 20));
        EXPECT_EQ(L.DataSize(10, 10, true), QSize(0, 0)); // too small: empty, never negative
    }
}
