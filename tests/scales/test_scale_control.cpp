// The scale control: setter rules, loading, repaint rules, hosting and Assign.
#include "test_scale_support.h"

#include "../controls/setter_rules.h"

#include "KeslError.h"
#include "Kesl_keslbase_dtlabel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace scaletest;

TEST(ScaleSetters, ClampTable)
{
    struct Case
    {
        const char *what;
        void (TScale::*set)(int);
        int (TScale::*get)() const;
        int in, out;
    } cases[] = {
        {"MinTicks 0 stays", &TScale::SetMinTicks, &TScale::MinTicks, 0, 0},
        {"MinTicks 1", &TScale::SetMinTicks, &TScale::MinTicks, 1, 2},
        {"MinTicks -4", &TScale::SetMinTicks, &TScale::MinTicks, -4, 2},
        {"MinTicks 11", &TScale::SetMinTicks, &TScale::MinTicks, 11, 10},
        {"MinTicks 7", &TScale::SetMinTicks, &TScale::MinTicks, 7, 7},
        {"DecPlaces -4", &TScale::SetDecPlaces, &TScale::DecPlaces, -4, -3},
        {"DecPlaces 13", &TScale::SetDecPlaces, &TScale::DecPlaces, 13, 12},
        {"DecPlaces -1", &TScale::SetDecPlaces, &TScale::DecPlaces, -1, -1},
        {"MarginTop -1", &TScale::SetMarginTop, &TScale::MarginTop, -1, 0},
        {"MarginBottom -9", &TScale::SetMarginBottom, &TScale::MarginBottom, -9, 0},
        {"MarginLeft -2", &TScale::SetMarginLeft, &TScale::MarginLeft, -2, 0},
        {"MarginRight -3", &TScale::SetMarginRight, &TScale::MarginRight, -3, 0},
        {"MarginRight 33", &TScale::SetMarginRight, &TScale::MarginRight, 33, 33},
    };
    for (const Case &c : cases) {
        auto s = MakeScale();
        (s.get()->*c.set)(c.in);
        EXPECT_EQ((s.get()->*c.get)(), c.out) << c.what;
    }
}

TEST(ScaleSetters, Defaults)
{
    TScale s;
    EXPECT_EQ(s.width(), 400);
    EXPECT_EQ(s.height(), 400);
    EXPECT_EQ(s.ScaleType(), sctXB);
    EXPECT_EQ(s.RangeLow(), 0.0);
    EXPECT_EQ(s.RangeHigh(), 100.0);
    EXPECT_EQ(s.MinTicks(), 3);
    EXPECT_EQ(s.DecPlaces(), -2);
    EXPECT_TRUE(s.ShortTicks());
    EXPECT_EQ(s.LabelType(), ftNum);
    EXPECT_EQ(s.CaptionPosX(), 4);
    EXPECT_EQ(s.CaptionAlignment(), taCenter);
    EXPECT_EQ(s.CaptionAnchor(), uaSclTopLft);
    EXPECT_EQ(s.ColorBackGnd(), clBtnFace);
    EXPECT_EQ(s.FrameStyle(), fsLowered);
    EXPECT_TRUE(s.PaintLocked());
    const TDTLabelSettings d = s.DateFormat()->Settings();
    EXPECT_EQ(d.TimeFormat, tfHHMMSS);
    EXPECT_EQ(d.DateSeparator, QChar('-'));
    EXPECT_EQ(d.TimeSeparator, QChar(':'));
    EXPECT_EQ(d.YearLength, ylYYYY);
    EXPECT_TRUE(d.MonthName);
    EXPECT_EQ(d.DateForTime, dtOnePerDay);
    EXPECT_EQ(d.DateOrder, doDDMMYY);
}

TEST(ScaleSetters, EqualEndsAreNeverKept)
{
    auto s = MakeScale();
    s->SetRangeHigh(0); // equal to RangeLow: a reversed scale 1 .. 0
    EXPECT_EQ(s->RangeLow(), 1.0);
    EXPECT_EQ(s->RangeHigh(), 0.0);
    EXPECT_EQ(s->ValueToPixel(1), 20);
    EXPECT_EQ(s->ValueToPixel(0), 379);

    s->SetRangeLow(0); // equal to RangeHigh again
    EXPECT_EQ(s->RangeHigh(), 1.0);

    // Where adding 1 changes nothing the other end still moves.
    s->SetRangeLow(1e300);
    s->SetRangeHigh(1e300);
    EXPECT_EQ(s->RangeHigh(), 1e300);
    EXPECT_GT(s->RangeLow(), 1e300);
}

TEST(ScaleSetters, EndsThatAreNoNumbersAreIgnored)
{
    auto s = MakeScale();
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
        s->SetRangeLow(bad);
        s->SetRangeHigh(bad);
    }
    EXPECT_EQ(s->RangeLow(), 0.0);
    EXPECT_EQ(s->RangeHigh(), 100.0);
}

TEST(ScaleSetters, LogarithmicSwitch)
{
    struct Case
    {
        const char *what;
        bool loaded;
        double low, high;
        TFigType labels;
        bool result;
    } cases[] = {
        {"loaded, 0..100", true, 0, 100, ftNum, false},
        {"loaded, 1..100", true, 1, 100, ftNum, true},
        {"loaded, tiny low end", true, 1e-101, 100, ftNum, false},
        {"loaded, at the floor", true, 1e-100, 100, ftNum, true},
        {"loaded, negative high end", true, 1, -100, ftNum, false},
        {"run time, 0..100", false, 0, 100, ftNum, true},
    };
    for (const Case &c : cases) {
        auto s = MakeScale();
        s->SetLabelType(c.labels);
        s->SetRangeLow(c.low);
        s->SetRangeHigh(c.high);
        if (c.loaded) {
            s->BeginLoading();
            s->Loaded();
        }
        s->SetLogarithmic(true);
        EXPECT_EQ(s->Logarithmic(), c.result) << c.what;
    }
    // Date/time labels refuse it after loading and switch it off at once.
    auto s = MakeScale();
    s->SetRangeLow(1);
    s->Loaded();
    s->SetLogarithmic(true);
    ASSERT_TRUE(s->Logarithmic());
    EXPECT_DOUBLE_EQ(s->MapFactor(), 359.0 / std::log(100.0));
    s->SetLabelType(ftDateTime);
    EXPECT_FALSE(s->Logarithmic());
    EXPECT_DOUBLE_EQ(s->MapFactor(), 359.0 / 99.0) << "remapped linearly at once";
    s->SetLogarithmic(true);
    EXPECT_FALSE(s->Logarithmic());
}

TEST(ScaleSetters, TimeLabelsSetFourDecimalsAndColourSchemeOnlyTheFrame)
{
    auto s = MakeScale();
    s->SetLabelType(ftTime);
    EXPECT_EQ(s->DecPlaces(), 4);

    const TColor dark = s->DarkColor();
    s->SetColorScheme(csSystem);
    EXPECT_EQ(s->ShadowColor(), clBtnShadow);
    EXPECT_EQ(s->HighlightColor(), clBtnHighlight);
    EXPECT_EQ(s->DarkColor(), dark);
    EXPECT_EQ(s->ColorBackGnd(), clBtnFace);
    s->ForcePaint();
    EXPECT_EQ(SurfacePixel(s->Surface(), 0, 200), ColorToRGB(clBtnShadow));
    EXPECT_EQ(SurfacePixel(s->Surface(), 399, 200), ColorToRGB(clBtnHighlight));
    s->SetColorScheme(csBWG);
    EXPECT_EQ(s->ShadowColor(), clGray);
    EXPECT_EQ(s->HighlightColor(), clWhite);
}

TEST(ScaleLoading, NothingIsMappedOrPaintedWhileLoading)
{
    auto s = MakeScale();
    int paints = 0;
    s->OnBeforeScaleRendered = [&](QObject *, TCanvas &) { ++paints; };
    s->BeginLoading();
    s->SetRangeHigh(50);
    s->SetMarginLeft(0);
    s->ForcePaint();
    EXPECT_EQ(paints, 0);
    EXPECT_EQ(s->ValueToPixel(0), 20) << "mapping of before the loading";
    s->Loaded();
    EXPECT_EQ(s->ValueToPixel(0), 0);
    EXPECT_EQ(s->ValueToPixel(50), 379);
}

// Opaque scales paint at once; transparent ones wait for the paint event.
TEST(ScaleRepaint, OpaquePaintsAtOnceTransparentIsInvalidated)
{
    QWidget parent;
    parent.resize(500, 500);
    auto *s = new TScale(&parent);
    int paints = 0;
    s->OnBeforeScaleRendered = [&](QObject *, TCanvas &) { ++paints; };
    s->SetCaption("before the window");
    EXPECT_EQ(paints, 0) << "locked until the scale has a window";
    parent.show();
    QApplication::processEvents();
    EXPECT_FALSE(s->PaintLocked());

    paints = 0;
    s->SetCaption("opaque");
    EXPECT_EQ(paints, 1);

    s->SetTransparent(true);
    QApplication::processEvents();
    paints = 0;
    s->SetCaption("transparent");
    EXPECT_EQ(paints, 0);
    s->repaint();
    EXPECT_GE(paints, 1);

    // The parent shows through a transparent scale's surface.
    EXPECT_EQ(qAlpha(s->Surface().pixel(200, 200)), 0);
    EXPECT_EQ(qAlpha(s->Surface().pixel(200, 379)), 255);
}

// A stand-alone scale redraws on every write, except for the settings that
// redraw only when they change.
TEST(ScaleRepaint, EachSetterRedrawsByItsRule)
{
    const char *A = "always", *C = "on change";
    // clang-format off
    const std::initializer_list<TRuleRow> rows = {
        {"ScaleType", C, V(sctYL)}, {"RangeLow", A, 10}, {"RangeHigh", A, 50}, {"Logarithmic", A, true},
        {"MinTicks", A, 5}, {"DecPlaces", A, 2}, {"ShortTicks", C, false}, {"ShowBaseLine", A, false},
        {"LabelType", A, V(ftTime), Beyond(ftUserText)}, {"UserTickText", A, "a"}, {"ScaleInscript", A, "b"},
        {"Caption", A, "c"},
        {"CaptionPosX", A, 9}, {"CaptionPosY", A, 9}, {"CaptionAlignment", A, V(taLeftJustify)},
        {"CaptionAnchor", A, V(uaSclCenter), Beyond(uaSclBotRgt)}, {"MarginTop", A, 5}, {"MarginBottom", A, 5},
        {"MarginLeft", A, 5},
        {"MarginRight", A, 5}, {"ColorBackGnd", C, clRed}, {"ColorScale", C, clRed}, {"ColorScheme", C, V(csSystem)},
        {"FrameStyle", C, V(fsRaised), Beyond(fsEngraved)},
    };
    // clang-format on
    ExpectRules(rows, [](int &count) {
        auto s = MakeScale();
        s->SetPaintLock(false);
        s->OnBeforeScaleRendered = [&count](QObject *, TCanvas &) { ++count; };
        return s;
    });
}

TEST(ScaleRepaint, ChangingTheDateFormatRedraws)
{
    auto s = MakeScale();
    s->SetPaintLock(false);
    int paints = 0;
    s->OnBeforeScaleRendered = [&](QObject *, TCanvas &) { ++paints; };
    s->DateFormat()->SetDateSeparator('/');
    EXPECT_EQ(paints, 1);
    TDTLabel other;
    other.SetYearLength(ylYY);
    other.SetMonthName(false);
    s->SetDateFormat(&other);
    EXPECT_EQ(paints, 2) << "one redraw for the whole copy";
    EXPECT_EQ(s->DateFormat()->YearLength(), ylYY);
    EXPECT_FALSE(s->DateFormat()->MonthName());
    EXPECT_NE(s->DateFormat(), &other);
}

// The way a chart hosts its scales: no window, its bitmap, ForcePaint.
TEST(ScaleHosting, DrawsOntoTheExternalCanvasOnlyWhenForced)
{
    QWidget chart;
    chart.resize(300, 200);
    auto *s = new TScale(&chart);
    s->SetPaintLock(true);
    s->SetHosted(true);
    TBitmap bmp(300, 200);
    s->SetExternalCanvas(&bmp.Canvas(), 0, 0);
    s->SetTransparent(true);
    s->SetColorBackGnd(clWindow);
    s->SetFrameStyle(fsNone);
    s->SetBounds(0, 0, 300, 200);
    s->SetColorScale(clBlue);
    chart.show();
    QApplication::processEvents();
    EXPECT_FALSE(s->isVisible()) << "a hosted scale never shows a window";
    EXPECT_TRUE(s->PaintLocked());
    EXPECT_EQ(bmp.Canvas().Pixel(150, 179), clWhite) << "nothing drawn before ForcePaint";

    s->ForcePaint();
    EXPECT_TRUE(s->PaintLocked()) << "the lock comes back";
    EXPECT_EQ(bmp.Canvas().Pixel(150, 179), clBlue);
    EXPECT_EQ(bmp.Canvas().Pixel(150, 100), clWhite) << "transparent: no background";
    EXPECT_EQ(s->NumTicks(), 21);

    s->SetVisible(false);
    TBitmap again(300, 200);
    s->SetExternalCanvas(&again.Canvas(), 0, 0);
    s->ForcePaint();
    EXPECT_EQ(again.Canvas().Pixel(150, 179), clWhite) << "an invisible scale draws nothing";
    s->SetVisible(true);
    s->ForcePaint();
    EXPECT_EQ(again.Canvas().Pixel(150, 179), clBlue);
}

TEST(ScaleHosting, OffsetsMoveTheWholeDrawing)
{
    for (bool transparent : {true, false}) {
        auto s = MakeScale(sctXB);
        s->SetHosted(true);
        s->SetBounds(0, 0, 200, 100);
        s->SetTransparent(transparent);
        s->SetFrameStyle(fsNone);
        s->SetShortTicks(false);
        s->SetLabelType(ftNoFigs);
        TBitmap bmp(400, 300);
        s->SetExternalCanvas(&bmp.Canvas(), 50, 70);
        s->ForcePaint();
        SCOPED_TRACE(transparent ? "transparent" : "opaque");
        const int base = 70 + 100 - 20 - 1;
        EXPECT_EQ(bmp.Canvas().Pixel(50 + 20, base), clBlack);
        EXPECT_EQ(bmp.Canvas().Pixel(50 + 19, base - 6), transparent ? clWhite : ColorToRGB(clBtnFace));
        EXPECT_EQ(bmp.Canvas().Pixel(50 + 20, base - 6), clBlack) << "tick at the low end";
        EXPECT_EQ(bmp.Canvas().Pixel(50 + 179, base - 6), clBlack) << "tick at the high end";
        EXPECT_EQ(bmp.Canvas().Pixel(20, 179), clWhite);
    }
}

TEST(ScaleAssign, CopiesSettingsAndDateFormatByValue)
{
    auto a = MakeScale(sctYR);
    a->SetRangeLow(5);
    a->SetRangeHigh(7);
    a->SetMinTicks(8);
    a->SetCaption("length");
    a->SetColorScheme(csSystem);
    a->SetMarginTop(33);
    a->SetUserTickText("a|b");
    a->DateFormat()->SetTimeFormat(tfAMPM);
    bool called = false;
    a->OnScaleTickDrawn = [&](QObject *, TCanvas &, TScaleType, double, int, int) { called = true; };
    TFont f;
    f.Height = -20;
    a->SetFont(f);

    auto b = MakeScale();
    b->resize(200, 100);
    b->Assign(a.get());
    EXPECT_EQ(b->ScaleType(), sctYR);
    EXPECT_EQ(b->RangeLow(), 5.0);
    EXPECT_EQ(b->RangeHigh(), 7.0);
    EXPECT_EQ(b->MinTicks(), 8);
    EXPECT_EQ(b->Caption(), "length");
    EXPECT_EQ(b->ColorScheme(), csSystem);
    EXPECT_EQ(b->ShadowColor(), clBtnShadow);
    EXPECT_EQ(b->MarginTop(), 33);
    EXPECT_EQ(b->UserTickText(), "a|b");
    EXPECT_EQ(b->DateFormat()->TimeFormat(), tfAMPM);
    EXPECT_NE(b->Font(), a->Font()) << "fonts are not copied";
    EXPECT_EQ(b->width(), 200) << "nor the size";
    // The mapping fits the receiver's own size.
    EXPECT_EQ(b->ValueToPixel(7), 33);
    EXPECT_EQ(b->ValueToPixel(5), 100 - 20 - 1);
    ASSERT_TRUE(b->OnScaleTickDrawn);
    TBitmap bmp(10, 10);
    b->OnScaleTickDrawn(b.get(), bmp.Canvas(), sctYR, 0, 0, 0);
    EXPECT_TRUE(called);

    a->DateFormat()->SetTimeFormat(tfHHhMM);
    a->DateFormat()->SetDateSeparator('.');
    EXPECT_EQ(b->DateFormat()->TimeFormat(), tfAMPM);
    EXPECT_EQ(b->DateFormat()->DateSeparator(), QChar('-'));
    EXPECT_NE(b->DateFormat(), a->DateFormat());

    // AssignTo hands over to the destination's Assign.
    auto c = MakeScale();
    a->AssignTo(c.get());
    EXPECT_EQ(c->Caption(), "length");
}

TEST(ScaleAssign, OtherSourcesAreRefused)
{
    auto s = MakeScale();
    QObject plain;
    EXPECT_THROW(s->Assign(&plain), EKeslError);
    EXPECT_THROW(s->Assign(nullptr), EKeslError);
    EXPECT_THROW(s->AssignTo(&plain), EKeslError);
    EXPECT_EQ(s->RangeHigh(), 100.0);
}

// The scale passes every mouse movement on, also without a button held.
TEST(ScaleMouse, MovesWithoutAButtonReachOnMouseMove)
{
    TScale s;
    QPoint got;
    s.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int x, int y) { got = {x, y}; };
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 40), QPointF(30, 40), Qt::NoButton, {}, Qt::NoModifier);
    QApplication::sendEvent(&s, &move);
    EXPECT_EQ(got, QPoint(30, 40));
}
