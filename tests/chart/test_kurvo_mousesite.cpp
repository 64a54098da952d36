// The chart wired to its mouse handler: cross-hairs in the picture, a pan
// through real pointer events.
#include "Kesl_kurvo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

namespace {

void Send(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST(KurvoMouseSite, CrossHairIsDrawnIntoThePicture)
{
    TKurvo k;
    k.SetAutoRedraw(true);
    k.SetLayerRange(0, 0, 0, 210, 140);
    k.CrossHair(1)->SetColor(clRed);
    k.CrossHair(1)->SetPosX(100);
    k.CrossHair(1)->SetPosY(70);
    k.CrossHair(1)->SetMode(chBoth);
    k.SetPaintSuppressed(false);
    const TCanvas &c = k.ControlBitmap().Canvas();
    EXPECT_EQ(c.Pixel(150, 60), clRed); // vertical line at x = 50 + 100
    EXPECT_EQ(c.Pixel(100, 90), clRed); // horizontal line at y = 160 - 70
    EXPECT_EQ(c.Pixel(151, 60), clWhite);
    k.CrossHair(1)->SetMode(chOff); // repaints: AutoRedraw is on
    EXPECT_EQ(c.Pixel(150, 60), clWhite);
}

TEST(KurvoMouseSite, DragPansLayerOne)
{
    TKurvo k;
    k.SetLayerRange(0, 0, 0, 210, 140);
    k.SetPaintSuppressed(false);
    k.SetMouseAction(maPan);
    Send(&k, QEvent::MouseButtonPress, {150, 90}, Qt::LeftButton, Qt::LeftButton);
    Send(&k, QEvent::MouseMove, {150, 90}, Qt::NoButton, Qt::LeftButton);
    Send(&k, QEvent::MouseMove, {160, 80}, Qt::NoButton, Qt::LeftButton);
    Send(&k, QEvent::MouseButtonRelease, {160, 80}, Qt::LeftButton, Qt::NoButton);
    EXPECT_NEAR(k.ScaleX(1)->RangeLow(), -10, 1e-9);
    EXPECT_NEAR(k.ScaleX(1)->RangeHigh(), 200, 1e-9);
    EXPECT_NEAR(k.ScaleY(1)->RangeLow(), -10, 1e-9); // content dragged up shows lower values
    EXPECT_DOUBLE_EQ(k.ScaleX(2)->RangeLow(), 0) << "only layer 1 follows the mouse";
}

} // namespace
