// The mouse on a real chart, driven by QTest and mouse events: pans, zooms,
// bands, double clicks, cross-hairs, reports and the band picture.
#include "Kesl_kurvo.h"

#include "../controls/setter_rules.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTest>
#include <QVariant>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// 270 x 200 with the standard margins 50, 20, 20, 40: data area x 50..250
// (200 pixels) and y 20..160 (140 pixels); every layer 0..10 both ways.
class MouseChart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        k.SetBounds(0, 0, 270, 200);
        k.show();
        k.SetPaintSuppressed(false);
        k.SetLayerRange(0, 0, 0, 10, 10);
        k.Mouse().OnMouseMoveInChart = [this](QObject *, bool in, TMouseShift, double x, double y) {
            reports.push_back({in, x, y});
        };
        k.Mouse().OnZoomPan = [this](QObject *) { ++zoomPans; };
    }
    void TearDown() override
    {
        // QTest remembers pressed buttons across tests.
        QTestPrivate::qtestMouseButtons = Qt::NoButton;
    }

    void Move(int x, int y, Qt::MouseButtons held = Qt::NoButton)
    {
        const QPointF p(x, y);
        QMouseEvent e(QEvent::MouseMove, p, k.mapToGlobal(p), Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(&k, &e);
    }
    void Drag(QPoint from, QPoint to, int steps = 4)
    {
        QTest::mousePress(&k, Qt::LeftButton, {}, from);
        Move(from.x(), from.y(), Qt::LeftButton);
        for (int i = 1; i <= steps; ++i)
            Move(from.x() + (to.x() - from.x()) * i / steps, from.y() + (to.y() - from.y()) * i / steps,
                 Qt::LeftButton);
    }
    std::array<double, 4> Ranges(int layer) const
    {
        return {k.ScaleX(layer)->RangeLow(), k.ScaleX(layer)->RangeHigh(), k.ScaleY(layer)->RangeLow(),
                k.ScaleY(layer)->RangeHigh()};
    }
    void ExpectRanges(int layer, double xl, double xh, double yl, double yh, const char *what)
    {
        const auto r = Ranges(layer);
        EXPECT_NEAR(r[0], xl, 1e-9) << what;
        EXPECT_NEAR(r[1], xh, 1e-9) << what;
        EXPECT_NEAR(r[2], yl, 1e-9) << what;
        EXPECT_NEAR(r[3], yh, 1e-9) << what;
    }

    struct TReport
    {
        bool in;
        double x, y;
    };
    TKurvo k;
    std::vector<TReport> reports;
    int zoomPans = 0;
};

} // namespace

TEST_F(MouseChart, NoActionOnlyReportsMoves)
{
    int moves = 0;
    k.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int, int) { ++moves; };
    EXPECT_TRUE(k.hasMouseTracking()); // moves without a button are reported too
    Move(10, 10);
    Move(150, 90);
    Drag({150, 90}, {200, 120});
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(200, 120));
    ExpectRanges(1, 0, 10, 0, 10, "maNone leaves ranges");
    EXPECT_EQ(moves, 7);
    ASSERT_EQ(reports.size(), 7u);
    EXPECT_FALSE(reports[0].in); // over the margin
    EXPECT_TRUE(reports[1].in);
    EXPECT_NEAR(reports[1].x, 5, 1e-9);
    EXPECT_NEAR(reports[1].y, 5, 1e-9);
    EXPECT_EQ(zoomPans, 0);
    EXPECT_EQ(k.cursor().shape(), Qt::ArrowCursor);
    k.SetMouseCursorFixed(false);
    Move(150, 90);
    EXPECT_EQ(k.cursor().shape(), Qt::CrossCursor);
    Move(5, 90);
    EXPECT_EQ(k.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MouseChart, PanTwentyPixelsRightOnlyMovesLayerOne)
{
    k.SetMouseAction(maPan);
    const int historyBefore = k.RangeHistoryIndex();
    Drag({150, 90}, {170, 90});
    ExpectRanges(1, -1, 9, 0, 10, "after the pan");
    for (int l = 2; l <= 16; ++l)
        ExpectRanges(l, 0, 10, 0, 10, "other layers stay");
    EXPECT_EQ(zoomPans, 4);
    EXPECT_EQ(k.RangeHistoryIndex(), historyBefore); // the steps record no history
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(170, 90));
    const int entry = historyBefore;
    EXPECT_EQ(k.RangeHistoryIndex(), historyBefore % 16 + 1);
    const auto h = k.RangeHistoryEntry(1, entry);
    EXPECT_NEAR(h[0], -1, 1e-9);
    EXPECT_NEAR(h[2], 9, 1e-9);
    // The picture follows: the x = 0 grid of the data now sits 20 pixels right.
    int px, py;
    k.DataToPixel(1, 0, 0, px, py);
    EXPECT_EQ(px, 70);
}

TEST_F(MouseChart, PanFollowsJoinedLayers)
{
    k.JointLayers()->SetL02xControlledBy(1);
    k.SetMouseAction(maPanHoriz);
    Drag({150, 90}, {170, 60});
    ExpectRanges(1, -1, 9, 0, 10, "layer 1 horizontal only");
    ExpectRanges(2, -1, 9, 0, 10, "layer 2 follows layer 1's x");
    ExpectRanges(3, 0, 10, 0, 10, "layer 3 stays");
}

TEST_F(MouseChart, DragZoomOnAFourHundredPixelControl)
{
    k.SetBounds(0, 0, 400, 300);
    k.SetMouseAction(maZoomDrag);
    Drag({100, 100}, {200, 100});
    ExpectRanges(1, 1.25, 8.75, 0, 10, "three quarters around the centre");
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(200, 100));
}

TEST_F(MouseChart, WindowZoomDirections)
{
    // Pixel x 200 is 7.5, 100 is 2.5; pixel y 130 is 15/7, 40 is 60/7.
    const struct
    {
        TMouseActMode mode;
        double xl, xh, yl, yh;
    } rows[] = {
        {maZoomWind, 7.5, 2.5, 15.0 / 7, 60.0 / 7},
        {maZoomWindPos, 2.5, 7.5, 15.0 / 7, 60.0 / 7},
    };
    for (const auto &r : rows) {
        k.SetLayerRange(0, 0, 0, 10, 10);
        k.SetMouseAction(r.mode);
        Drag({200, 130}, {100, 40}); // lower right to upper left
        QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(100, 40));
        ExpectRanges(1, r.xl, r.xh, r.yl, r.yh, r.mode == maZoomWind ? "reversed" : "kept");
        ExpectRanges(2, 0, 10, 0, 10, "layer 2 stays");
    }
}

TEST_F(MouseChart, RightButtonReleaseLeavesRangesAndRemovesTheBand)
{
    k.SetMouseAction(maZoomWind);
    Drag({100, 40}, {200, 130});
    QTest::mouseRelease(&k, Qt::RightButton, {}, QPoint(200, 130));
    ExpectRanges(1, 0, 10, 0, 10, "right release");
    EXPECT_EQ(zoomPans, 0);
    const QImage shown = k.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, k.ControlBitmap().Image().convertToFormat(QImage::Format_RGB32));
}

TEST_F(MouseChart, BandIsDrawnOverTheFinishedPictureWithoutRepaintingItems)
{
    for (int i = 0; i < 2000; ++i)
        k.AddMark(i % 10, (i * 7) % 10, 1);
    k.SetPaintSuppressed(true);
    k.SetPaintSuppressed(false);
    k.SetMouseAction(maZoomWindPos);
    const int paints = k.PaintCount();
    const QImage finished = k.ControlBitmap().Image().copy();
    Drag({100, 40}, {200, 130}, 10);
    EXPECT_EQ(k.PaintCount(), paints); // the items were not drawn again
    EXPECT_EQ(k.ControlBitmap().Image(), finished);
    const QImage shown = k.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The band's outline is the finished picture inverted; elsewhere the picture is as it was.
    const QRgb f = finished.pixel(150, 40), s = shown.pixel(150, 40);
    EXPECT_EQ(s & 0xFFFFFF, (f ^ 0xFFFFFF) & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(100, 80) & 0xFFFFFF, (finished.pixel(100, 80) ^ 0xFFFFFF) & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(150, 80), finished.pixel(150, 80));
    EXPECT_EQ(shown.pixel(99, 80), finished.pixel(99, 80));
    // A repaint while the band is dragged: the band stays on the new picture.
    k.SetChartColor(clYellow);
    const QImage repainted = k.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(repainted.pixel(150, 80) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(repainted.pixel(150, 40) & 0xFFFFFF, (k.ControlBitmap().Image().pixel(150, 40) ^ 0xFFFFFF) & 0xFFFFFF);
    const int afterColour = k.PaintCount();
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(200, 130));
    EXPECT_EQ(k.PaintCount(), afterColour + 1); // one repaint for the zoom
    const QImage done = k.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(done, k.ControlBitmap().Image().convertToFormat(QImage::Format_RGB32)); // the band is gone
}

TEST_F(MouseChart, DoubleClickPressStartsNoBand)
{
    int dbl = 0;
    k.OnDblClick = [&](QObject *) { ++dbl; };
    k.SetMouseAction(maZoomWind);
    QTest::mousePress(&k, Qt::LeftButton, {}, QPoint(100, 40));
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(100, 40));
    QTest::mouseDClick(&k, Qt::LeftButton, {}, QPoint(100, 40));
    Move(200, 130, Qt::LeftButton);
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(200, 130));
    EXPECT_EQ(dbl, 1);
    ExpectRanges(1, 0, 10, 0, 10, "no band from the double click");
    // The next press is an ordinary one again.
    Drag({100, 40}, {200, 130});
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(200, 130));
    EXPECT_NEAR(k.ScaleX(1)->RangeLow(), 2.5, 1e-9);
}

TEST_F(MouseChart, CrossHairGrabPicksTheNearestLine)
{
    TCrossHair *c1 = k.CrossHair(1), *c2 = k.CrossHair(2);
    c1->SetMode(chVert);
    c1->SetPosX(2); // pixel x 90
    c2->SetLayer(1);
    c2->SetMode(chHoriz);
    c2->SetPosY(8); // pixel y 48
    TCrossHair *moved = nullptr;
    k.Mouse().OnCrossHairMove = [&](QObject *, TCrossHair *c) { moved = c; };
    k.SetMouseAction(maDragCrossH);
    Drag({150, 50}, {150, 90}, 1); // the horizontal line is nearer than the vertical one
    EXPECT_EQ(moved, c2);
    EXPECT_NEAR(c2->PosY(), 5, 1e-9);
    EXPECT_NEAR(c1->PosX(), 2, 1e-9);
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(150, 90));
    ExpectRanges(1, 0, 10, 0, 10, "cross-hairs move no range");
}

TEST_F(MouseChart, CrossHairOnLayerTwoUsesLayerTwosRanges)
{
    k.SetLayerRange(2, 0, 0, 100, 100);
    k.SetChartColor(clWhite);
    TCrossHair *c = k.CrossHair(2); // layer 2 by default
    c->SetColor(clRed);
    c->SetMode(chBoth);
    c->SetPosX(25); // pixel 100 on layer 2 (25 would be off the chart on layer 1)
    c->SetPosY(75); // pixel 55
    const TBitmap &bmp = k.ControlBitmap();
    EXPECT_EQ(bmp.Canvas().Pixel(100, 120), clRed);
    EXPECT_EQ(bmp.Canvas().Pixel(200, 55), clRed);
    EXPECT_EQ(bmp.Canvas().Pixel(101, 120), clWhite);
    EXPECT_EQ(bmp.Canvas().Pixel(200, 56), clWhite);
    // Dragged: positions come back in layer 2's coordinates.
    k.SetMouseAction(maDragCrossH);
    Drag({102, 120}, {150, 90}, 1);
    EXPECT_NEAR(c->PosX(), 50, 1e-9);
    EXPECT_NEAR(c->PosY(), 50, 1e-9);
    EXPECT_EQ(k.ControlBitmap().Canvas().Pixel(150, 120), clRed);
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(150, 90));
}

TEST_F(MouseChart, AllCrossHairsOffDragTheFirst)
{
    k.SetMouseAction(maDragCrossH);
    Drag({60, 150}, {150, 90}, 1);
    EXPECT_NEAR(k.CrossHair(1)->PosX(), 5, 1e-9);
    EXPECT_NEAR(k.CrossHair(1)->PosY(), 5, 1e-9);
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(150, 90));
}

TEST_F(MouseChart, TextLabelDragsByItsAttachMode)
{
    TTextLabel *t = k.TextLabel(4);
    t->SetCaption(QStringLiteral("peak"));
    t->SetMode(tlBox);
    t->SetVisible(true);
    t->SetPosX(5); // tlamBoth by default: pixel 150, 90
    t->SetPosY(5);
    TCustomTextLabel *moved = nullptr;
    k.Mouse().OnTextLabelMove = [&](QObject *, TCustomTextLabel *l) { moved = l; };
    k.SetMouseAction(maDragLabel);
    Drag({152, 88}, {100, 160}, 1);
    EXPECT_EQ(moved, t);
    EXPECT_NEAR(t->PosX(), 2.5, 1e-9);
    EXPECT_NEAR(t->PosY(), 0, 1e-9);
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(100, 160));
}

TEST_F(MouseChart, BadDragsKeepRangesValid)
{
    // Far outside the control: pans and drag zooms act only inside the data area.
    k.SetMouseAction(maPan);
    Drag({150, 90}, {-200000, 300000}, 2);
    ExpectRanges(1, 0, 10, 0, 10, "pan far outside");
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(0, 0));
    k.SetMouseAction(maZoomDrag);
    Move(0, 0);
    Drag({-100000, 90}, {240, 90}, 1); // would turn the x axis over
    ExpectRanges(1, 0, 10, 0, 10, "drag zoom from far outside");
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(240, 90));

    // A logarithmic axis zoomed out past zero keeps its whole range.
    k.ScaleX(1)->SetLogarithmic(true);
    k.SetLayerRange(1, 1, 0, 10, 10);
    Move(0, 0);
    Drag({200, 90}, {60, 90}, 1); // factor about 1.52: the low end would fall below zero
    EXPECT_NEAR(k.ScaleX(1)->RangeLow(), 1, 1e-12);
    EXPECT_NEAR(k.ScaleX(1)->RangeHigh(), 10, 1e-12);
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(60, 90));
    // Panned, it stays positive.
    k.SetMouseAction(maPan);
    Move(0, 0);
    Drag({100, 90}, {250, 90}, 3);
    EXPECT_GT(k.ScaleX(1)->RangeLow(), 0);
    EXPECT_LT(k.ScaleX(1)->RangeLow(), k.ScaleX(1)->RangeHigh());
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(250, 90));
}

TEST_F(MouseChart, BandsBelowMinRangeOrOfZeroSizeChangeNothing)
{
    k.ScaleX(1)->SetMinRange(1);
    k.SetMouseAction(maZoomWindPos);
    Drag({100, 40}, {110, 130}); // 0.5 wide in x: x refused, y taken
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(110, 130));
    ExpectRanges(1, 0, 10, 15.0 / 7, 60.0 / 7, "x below MinRange");
    k.SetLayerRange(1, 0, 0, 10, 10);
    zoomPans = 0;
    Drag({100, 40}, {100, 130}); // zero width
    QApplication::processEvents();
    int paints = 0;
    new TPaintCounter(&k, paints);
    QTest::mouseRelease(&k, Qt::LeftButton, {}, QPoint(100, 130));
    QApplication::processEvents();
    ExpectRanges(1, 0, 10, 0, 10, "zero width");
    EXPECT_EQ(zoomPans, 0);
    EXPECT_EQ(paints, 0); // nothing happens, not even erasing the band
}

TEST_F(MouseChart, PixelToDataInvertsDataToPixel)
{
    const struct
    {
        double xl, xh, yl, yh;
        bool logX, logY;
    } rows[] = {
        {0, 10, 0, 10, false, false},
        {-20, 20, 0, 0.5, false, false},
        {10, -10, 5, -5, false, false},
        {1, 1000, 0.01, 100, true, true},
    };
    for (const auto &r : rows) {
        k.ScaleX(3)->SetLogarithmic(r.logX);
        k.ScaleY(3)->SetLogarithmic(r.logY);
        k.SetLayerRange(3, r.xl, r.yl, r.xh, r.yh);
        for (int px = 50; px <= 250; px += 7)
            for (int py = 20; py <= 160; py += 11) {
                const QPointF d = k.Mouse().PixelToData(3, px, py);
                EXPECT_EQ(k.DataToPixel(3, d.x(), d.y()), QPoint(px, py)) << r.xl << " " << px << "," << py;
            }
    }
}
TEST_F(MouseChart, PublishedDefaults)
{
    EXPECT_EQ(k.property("MouseAction").value<TMouseActMode>(), maNone);
    EXPECT_TRUE(k.property("MouseCursorFixed").toBool());
    for (int i = 1; i <= 4; ++i) {
        TCrossHair *c = k.CrossHair(i);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->parent(), &k);
        EXPECT_EQ(c->Layer(), i);
        EXPECT_EQ(c->Mode(), chOff);
    }
    EXPECT_EQ(k.property("CrossHair3").value<TCrossHair *>(), k.CrossHair(3));
    k.setProperty("MouseAction", QVariant::fromValue(maZoomDrag));
    EXPECT_EQ(k.MouseAction(), maZoomDrag);
    k.setProperty("MouseCursorFixed", false);
    EXPECT_FALSE(k.MouseCursorFixed());
    double x = 0, y = 0;
    k.PixelToData(1, 150, 90, x, y);
    EXPECT_NEAR(x, 5, 1e-9);
    EXPECT_NEAR(y, 5, 1e-9);
    EXPECT_NEAR(k.PixelToData(1, 250, 20).x(), 10, 1e-9);
}

TEST_F(MouseChart, EnterAndLeaveAreReported)
{
    int enters = 0, leaves = 0;
    k.Mouse().OnMouseEnter = [&](QObject *s) {
        EXPECT_EQ(s, &k);
        ++enters;
    };
    k.Mouse().OnMouseLeave = [&](QObject *) { ++leaves; };
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), k.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&k, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&k, &leave);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}
