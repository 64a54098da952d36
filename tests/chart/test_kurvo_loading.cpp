// A chart in the loading state: settings wait for Loaded.
#include "Kesl_kurvo.h"

#include <gtest/gtest.h>

namespace {

TEST(KurvoLoading, LogarithmicIsCheckedOnlyAfterLoading)
{
    TKurvo rc;
    rc.BeginLoading();
    rc.ScaleX(2)->SetLogarithmic(true); // accepted while loading, whatever the range
    rc.Loaded();
    EXPECT_TRUE(rc.ScaleX(2)->Logarithmic());
    rc.ScaleX(1)->SetLogarithmic(true); // range 0..1 after loading: refused
    EXPECT_FALSE(rc.ScaleX(1)->Logarithmic());
    rc.ScaleX(1)->SetRangeLow(0.1);
    rc.ScaleX(1)->SetLogarithmic(true);
    EXPECT_TRUE(rc.ScaleX(1)->Logarithmic());
    EXPECT_TRUE(rc.ScaleObjectX(1)->Logarithmic());
}

TEST(KurvoLoading, NothingPaintsWhileLoading)
{
    TKurvo rc;
    rc.SetPaintSuppressed(false);
    const int before = rc.PaintCount();
    rc.BeginLoading();
    rc.SetCaption(QStringLiteral("x"));
    rc.Scale1X()->SetCaption(QStringLiteral("x"));
    rc.SetLayerRange(0, 1, 2, 3, 4);
    EXPECT_EQ(rc.PaintCount(), before);
    rc.Loaded();
    EXPECT_EQ(rc.PaintCount(), before + 1);
    EXPECT_EQ(rc.DataToPixel(1, 3, 4), QPoint(260, 20));
}

} // namespace
