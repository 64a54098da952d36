// Scale drawing: mapping, tick lines, label boxes, the tick list, notifications
// and captions, checked by pixels on a bitmap.
#include "test_scale_support.h"

#include "Kesl_keslbase_dtlabel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace scaletest;

namespace {

// Expected box of a label drawn centred on a horizontal tick at p (the rule
// that keeps labels 2 px inside a control of width W).
int HorizLabelLeft(int p, int w, int W)
{
    const int hw = w / 2;
    return p + hw < W - 2 ? p - std::min(hw, p - 2) : W - 2 * hw - 2;
}

// Checks that a red label box starts at (left, top) and ends just before
// left + w: the pixels on both sides outside it are not red.
void ExpectBox(const TCanvas &c, int left, int top, int w, const char *what)
{
    EXPECT_EQ(c.Pixel(left, top), kLabelBox) << what << " first column " << left;
    EXPECT_EQ(c.Pixel(left + w - 1, top), kLabelBox) << what << " last column " << left + w - 1;
    EXPECT_NE(c.Pixel(left - 1, top), kLabelBox) << what << " before the box";
    EXPECT_NE(c.Pixel(left + w, top), kLabelBox) << what << " after the box";
}

} // namespace

TEST(ScaleMapping, DefaultHorizontalAndVertical)
{
    auto s = MakeScale(sctXB);
    EXPECT_DOUBLE_EQ(s->MapFactor(), 359.0 / 100.0);
    EXPECT_EQ(s->ValueToPixel(0), 20);
    EXPECT_EQ(s->ValueToPixel(100), 379);
    EXPECT_EQ(s->ValueToPixel(20), 92); // 91.8
    EXPECT_EQ(s->ValueToPixel(60), 235); // 235.4

    s->SetScaleType(sctYL);
    EXPECT_EQ(s->ValueToPixel(100), 20);
    EXPECT_EQ(s->ValueToPixel(0), 379);
}

TEST(ScaleMapping, RoundsHalfToEvenAndClampsFarValues)
{
    auto s = MakeScale(sctXB);
    s->SetMarginLeft(0);
    s->SetMarginRight(0);
    s->SetRangeHigh(399); // k = 1, offset 0
    EXPECT_EQ(s->ValueToPixel(2.5), 2);
    EXPECT_EQ(s->ValueToPixel(3.5), 4);
    EXPECT_EQ(s->ValueToPixel(1e300), 2147483647);
    EXPECT_EQ(s->ValueToPixel(-1e300), -2147483647);
    EXPECT_EQ(s->ValueToPixel(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(ScaleMapping, LogarithmicEndsAndFloor)
{
    auto s = MakeScale(sctXB);
    s->SetRangeLow(1);
    s->SetRangeHigh(1000);
    s->SetLogarithmic(true);
    EXPECT_EQ(s->ValueToPixel(1), 20);
    EXPECT_EQ(s->ValueToPixel(1000), 379);
    EXPECT_EQ(s->ValueToPixel(std::sqrt(1000.0)), 200); // 199.5 -> even

    // An end of 0 keeps the previous mapping; values at the floor map to 0.
    const double k = s->MapFactor(), off = s->MapOffset();
    s->SetRangeLow(0);
    EXPECT_EQ(s->MapFactor(), k);
    EXPECT_EQ(s->MapOffset(), off);
    EXPECT_EQ(s->ValueToPixel(1e-100), 0);
    EXPECT_EQ(s->ValueToPixel(-5), 0);
    // Reversed: the floor maps to the far side.
    s->SetRangeLow(2000);
    EXPECT_EQ(s->ValueToPixel(0), 400);
}

TEST(ScaleMapping, NoUsableLengthMapsToTheMiddle)
{
    auto s = MakeScale(sctXB);
    s->SetMarginLeft(200);
    s->SetMarginRight(199); // L = 0
    EXPECT_EQ(s->MapFactor(), 0.0);
    EXPECT_EQ(s->ValueToPixel(-7), 200);
    EXPECT_EQ(s->ValueToPixel(1e9), 200);
    // Ends whose difference underflows give no factor either.
    auto t = MakeScale(sctYL);
    t->SetRangeLow(0);
    t->SetRangeHigh(4.9e-324);
    EXPECT_EQ(t->MapFactor(), 0.0);
    EXPECT_EQ(t->ValueToPixel(0), 200);
}

// The default scale painted on its own surface: background, frame, base line,
// ticks of both lengths, labels above the line.
TEST(ScalePaint, DefaultScalePixels)
{
    auto s = MakeScale(sctXB);
    s->ForcePaint();
    const QImage &img = s->Surface();
    ASSERT_EQ(img.size(), QSize(400, 400));
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(SurfacePixel(img, 200, 200), face);
    // Lowered frame: shadow, dark, then the light side.
    EXPECT_EQ(SurfacePixel(img, 0, 200), clGray);
    EXPECT_EQ(SurfacePixel(img, 1, 200), clBlack);
    EXPECT_EQ(SurfacePixel(img, 399, 200), clWhite);
    EXPECT_EQ(SurfacePixel(img, 398, 200), clSilver);
    // Base line at y = 379 from x = 20, its end point left out.
    EXPECT_EQ(SurfacePixel(img, 19, 379), face);
    for (int x = 20; x <= 378; ++x)
        ASSERT_EQ(SurfacePixel(img, x, 379), clBlack) << x;
    EXPECT_EQ(SurfacePixel(img, 380, 379), face);
    EXPECT_EQ(SurfacePixel(img, 200, 380), face);
    // Long ticks every 20: 7 px up from the base line.
    for (int v : {0, 20, 40, 60, 80, 100}) {
        const int x = s->ValueToPixel(v);
        EXPECT_EQ(SurfacePixel(img, x, 373), clBlack) << v;
        EXPECT_EQ(SurfacePixel(img, x, 372), face) << v;
    }
    // Short ticks every 5: 4 px.
    for (int v : {5, 10, 15, 25, 95}) {
        const int x = s->ValueToPixel(v);
        EXPECT_EQ(SurfacePixel(img, x, 376), clBlack) << v;
        EXPECT_EQ(SurfacePixel(img, x, 375), face) << v;
    }
    // Nothing below the line, labels (some ink) above the ticks only.
    TCanvas probe(const_cast<QImage *>(&img));
    probe.Font = s->Font();
    const int h = probe.TextHeight("40");
    int ink = 0;
    for (int y = 372 - h; y < 372; ++y)
        for (int x = 150; x < 180; ++x)
            ink += SurfacePixel(img, x, y) != face;
    EXPECT_GT(ink, 5) << "label 40 above its tick";
    for (int y = 22; y < 372 - h; ++y)
        for (int x = 22; x < 378; ++x)
            ASSERT_EQ(SurfacePixel(img, x, y), face) << x << "," << y;
}

// The four sides: tick direction and length, label box position.
struct SideCase
{
    TScaleType type;
    int longDx, longDy; // last pixel of a long tick relative to its start
    int shortDx, shortDy;
};

class ScaleSides : public ::testing::TestWithParam<SideCase>
{
};

TEST_P(ScaleSides, TicksAndLabelBoxes)
{
    const SideCase c = GetParam();
    auto s = MakeScale(c.type);
    auto bmp = LabelCanvas();
    TCanvas &cv = bmp->Canvas();
    cv.Font = s->Font();
    const int B = DefaultBase(*s);
    DrawAt(*s, cv, B);
    const bool vertical = c.type == sctYL || c.type == sctYR;

    auto at = [&](int p, int dx, int dy) { return vertical ? cv.Pixel(B + dx, p + dy) : cv.Pixel(p + dx, B + dy); };
    const int pl = s->ValueToPixel(40);
    EXPECT_EQ(at(pl, 0, 0), clBlack);
    EXPECT_EQ(at(pl, c.longDx, c.longDy), clBlack);
    // Just past the tick: background, or the label box where it starts there (sctXT).
    EXPECT_NE(at(pl, c.longDx + (c.longDx > 0) - (c.longDx < 0), c.longDy + (c.longDy > 0) - (c.longDy < 0)), clBlack);
    EXPECT_EQ(at(pl, -((c.longDx > 0) - (c.longDx < 0)), -((c.longDy > 0) - (c.longDy < 0))), clWhite)
        << "nothing on the far side of the base line";
    const int ps = s->ValueToPixel(5);
    EXPECT_EQ(at(ps, c.shortDx, c.shortDy), clBlack);
    EXPECT_EQ(at(ps, c.shortDx + (c.shortDx > 0) - (c.shortDx < 0), c.shortDy + (c.shortDy > 0) - (c.shortDy < 0)),
              clWhite);

    const QString label = "40";
    const int w = cv.TextWidth(label);
    const int h = cv.TextHeight(label);
    int left = 0, top = 0;
    switch (c.type) {
    case sctXB:
        left = HorizLabelLeft(pl, w, 400);
        top = B - h - 7;
        break;
    case sctXT:
        left = HorizLabelLeft(pl, w, 400);
        top = B + 7;
        break;
    case sctYL:
        left = B + 8;
        top = pl - cv.TextHeight("0") / 2;
        break;
    case sctYR:
        left = B - 8 - w;
        top = pl - cv.TextHeight("0") / 2;
        break;
    }
    ExpectBox(cv, left, top, w, "label 40");
    EXPECT_EQ(cv.Pixel(left, top - 1), clWhite);
    EXPECT_EQ(cv.Pixel(left, top + h - 1), kLabelBox);
    EXPECT_EQ(cv.Pixel(left, top + h), clWhite);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, ScaleSides,
                         ::testing::Values(SideCase {sctXB, 0, -6, 0, -3}, SideCase {sctXT, 0, 6, 0, 3},
                                           SideCase {sctYL, 5, 0, 3, 0}, SideCase {sctYR, -5, 0, -3, 0}));

TEST(ScaleLabels, KeptTwoPixelsInsideBothEdges)
{
    auto s = MakeScale(sctXB);
    s->SetMarginLeft(5);
    s->SetMarginRight(5);
    s->SetScaleInscript("&ab");
    auto bmp = LabelCanvas();
    TCanvas &cv = bmp->Canvas();
    cv.Font = s->Font();
    s->DrawHorizScale(cv, 379);
    ASSERT_EQ(s->ValueToPixel(0), 5);
    ASSERT_EQ(s->ValueToPixel(100), 394);

    const int w0 = cv.TextWidth("0ab");
    ASSERT_GT(w0 / 2, 3);
    const int top = 379 - cv.TextHeight("0") - 7;
    ExpectBox(cv, 2, top, w0, "label at x = 5");

    const int w1 = cv.TextWidth("100ab");
    const int left = 400 - 2 * (w1 / 2) - 2;
    ExpectBox(cv, left, top, w1, "label at the right edge");
    // The box ends at x = 398 (even widths) or takes that column too (odd ones).
    EXPECT_EQ(cv.Pixel(397, top), kLabelBox);
    EXPECT_EQ(cv.Pixel(399, top), clWhite);
}

// NumTicks and the tick list: linear ticks count twice on vertical scales.
struct CountCase
{
    TScaleType type;
    bool shortTicks;
    int expected;
};

class ScaleTickCount : public ::testing::TestWithParam<CountCase>
{
};

TEST_P(ScaleTickCount, RecordingRules)
{
    const CountCase c = GetParam();
    auto s = MakeScale(c.type);
    s->SetShortTicks(c.shortTicks);
    TBitmap bmp(400, 400);
    DrawAt(*s, bmp.Canvas(), DefaultBase(*s));
    EXPECT_EQ(s->NumTicks(), c.expected);
    EXPECT_EQ(s->TickValue(0), 0.0);
    EXPECT_EQ(s->TickValue(s->NumTicks() + 1), 0.0);
    EXPECT_EQ(s->TickValue(s->NumTicks()), 100.0);
    EXPECT_EQ(s->TickValue(2), c.shortTicks ? 5.0 : 20.0);
}

INSTANTIATE_TEST_SUITE_P(Orientations, ScaleTickCount,
                         ::testing::Values(CountCase {sctXB, true, 21}, CountCase {sctXT, true, 21},
                                           CountCase {sctYL, true, 27}, CountCase {sctYR, true, 27},
                                           CountCase {sctXB, false, 6}, CountCase {sctYL, false, 6}));

TEST(ScaleTickList, HoldsTheFirst250AndIsRewrittenByEachDrawing)
{
    auto s = MakeScale(sctYL);
    s->SetMinTicks(0);
    s->SetRangeHigh(400); // a tick per unit: 401 short and 401 long
    TBitmap bmp(400, 400);
    std::vector<double> seen;
    s->OnScaleTickDrawn = [&](QObject *, TCanvas &, TScaleType, double v, int, int) { seen.push_back(v); };
    s->DrawVertScale(bmp.Canvas(), 20);
    EXPECT_EQ(s->NumTicks(), 250);
    EXPECT_EQ(s->TickValue(250), 249.0);
    EXPECT_EQ(seen.size(), 802u) << "ticks beyond the list are still drawn";

    s->SetRangeHigh(10);
    s->SetMinTicks(2); // 10 / 2 = 5 lies on the step-2 side of the tolerance
    s->SetShortTicks(false);
    s->DrawVertScale(bmp.Canvas(), 20);
    EXPECT_EQ(s->NumTicks(), 6);
    EXPECT_EQ(s->TickValue(6), 10.0);
}

TEST(ScaleTickList, LogarithmicCandidatesByOrientation)
{
    struct Case
    {
        TScaleType type;
        bool shortTicks;
        int recorded; // 1..1000 dense: 10 labelled (1 2 5 x 3 decades + 1000), 18 others
        int notified;
    } cases[] = {
        {sctXB, true, 28, 28},
        {sctXB, false, 10, 28}, // not drawn, not recorded, still notified
        {sctYL, true, 28, 28},
        {sctYL, false, 10, 10}, // not visited at all
    };
    for (const Case &c : cases) {
        auto s = MakeScale(c.type);
        s->SetRangeLow(1);
        s->SetRangeHigh(1000);
        s->SetLogarithmic(true);
        s->SetMinTicks(10);
        s->SetShortTicks(c.shortTicks);
        auto bmp = LabelCanvas();
        int notified = 0;
        s->OnScaleTickDrawn = [&](QObject *, TCanvas &, TScaleType, double, int, int) { ++notified; };
        const int B = DefaultBase(*s);
        DrawAt(*s, bmp->Canvas(), B);
        EXPECT_EQ(s->NumTicks(), c.recorded) << c.type << c.shortTicks;
        EXPECT_EQ(notified, c.notified) << c.type << c.shortTicks;
        const int p3 = s->ValueToPixel(3);
        const bool vertical = c.type == sctYL;
        const TColor tickEnd = vertical ? bmp->Canvas().Pixel(B + 5, p3) : bmp->Canvas().Pixel(p3, B - 3);
        // Vertical scales draw the intermediate candidates with the long length.
        EXPECT_EQ(tickEnd, c.shortTicks ? clBlack : clWhite) << c.type << c.shortTicks;
    }
}

// The notification comes after the tick line; before the label in the linear
// and logarithmic passes of vertical scales and the logarithmic pass of
// horizontal ones, after it otherwise.
TEST(ScaleNotification, OrderAgainstLineAndLabel)
{
    struct Case
    {
        TScaleType type;
        bool log;
        TFigType labels;
        bool labelFirst;
    } cases[] = {
        {sctXB, false, ftNum, true},      {sctYL, false, ftNum, false},     {sctYR, true, ftNum, false},
        {sctXT, true, ftNum, false},      {sctXB, false, ftTime, true},     {sctYL, false, ftTime, true},
        {sctXT, false, ftDateTime, true}, {sctYR, false, ftDateTime, true},
    };
    for (const Case &c : cases) {
        auto s = MakeScale(c.type);
        s->SetRangeLow(1);
        s->SetRangeHigh(c.log ? 1000 : 3601);
        s->SetLogarithmic(c.log);
        s->SetLabelType(c.labels);
        auto bmp = LabelCanvas();
        TCanvas &cv = bmp->Canvas();
        cv.Font = s->Font();
        const int B = DefaultBase(*s);
        const bool vertical = c.type == sctYL || c.type == sctYR;
        const int hz = cv.TextHeight("0");
        int redSeen = 0;
        s->OnScaleTickDrawn = [&](QObject *sender, TCanvas &canvas, TScaleType type, double v, int x, int y) {
            EXPECT_EQ(sender, s.get());
            EXPECT_EQ(&canvas, &cv);
            EXPECT_EQ(type, c.type);
            const int p = s->ValueToPixel(v);
            EXPECT_EQ(x, vertical ? B : p);
            EXPECT_EQ(y, vertical ? p : B);
            EXPECT_EQ(canvas.Pixel(x, y), clBlack) << "line drawn first";
            // A pixel inside the box this tick's label gets, on its edge.
            int px = x, py = y;
            switch (type) {
            case sctXB: py = B - 8; break;
            case sctXT: py = B + 7; break;
            case sctYL:
                px = B + 8;
                py = y - hz / 2;
                break;
            case sctYR:
                px = B - 9;
                py = y - hz / 2;
                break;
            }
            redSeen += canvas.Pixel(px, py) == kLabelBox;
        };
        DrawAt(*s, cv, B);
        SCOPED_TRACE(testing::Message() << "type " << c.type << " log " << c.log << " labels " << c.labels);
        if (c.labelFirst)
            EXPECT_GT(redSeen, 0);
        else
            EXPECT_EQ(redSeen, 0);
    }
}

// Captions for each anchor and alignment on both orientations.
TEST(ScaleCaption, AnchorsAndAlignments)
{
    const QString caption = "mass";
    for (TScaleType type : {sctXB, sctYL}) {
        for (TScaleUnitAnchor anchor : {uaSclTopLft, uaSclCenter, uaSclBotRgt}) {
            for (TAlignment align : {taLeftJustify, taRightJustify, taCenter}) {
                auto s = MakeScale(type);
                s->SetLabelType(ftNoFigs);
                s->SetCaption(caption);
                s->SetCaptionAnchor(anchor);
                s->SetCaptionAlignment(align);
                s->SetCaptionPosX(6);
                s->SetCaptionPosY(3);
                s->SetMarginLeft(30);
                s->SetMarginTop(40);
                auto bmp = LabelCanvas(500, 500); // room for captions past the scale's edge
                TCanvas &cv = bmp->Canvas();
                cv.Font = s->Font();
                const int B = type == sctXB ? 300 : 50;
                DrawAt(*s, cv, B);
                const int w = cv.TextWidth(caption);
                int x, y;
                if (type == sctXB) {
                    y = B + 3;
                    x = 6 + (anchor == uaSclTopLft ? 30 : anchor == uaSclCenter ? 30 + (400 - 30 - 20) / 2 : 380);
                } else {
                    x = B + 6;
                    y = 3 + (anchor == uaSclTopLft ? 40 : anchor == uaSclCenter ? 40 + (400 - 40 - 20) / 2 : 380);
                }
                x -= align == taLeftJustify ? 0 : align == taRightJustify ? w : w / 2;
                SCOPED_TRACE(testing::Message() << "type " << type << " anchor " << anchor << " align " << align);
                ExpectBox(cv, x, y, w, "caption");
                EXPECT_EQ(cv.Pixel(x, y - 1), clWhite);
            }
        }
    }
}

TEST(ScaleCaption, TransparentScaleLeavesTheBackground)
{
    auto s = MakeScale(sctXB);
    s->SetTransparent(true);
    s->SetCaption("mass");
    auto bmp = LabelCanvas();
    s->DrawHorizScale(bmp->Canvas(), 300);
    int red = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            red += bmp->Canvas().Pixel(x, y) == kLabelBox;
    EXPECT_EQ(red, 0);
}

// Date/time scales: date lines beside time labels and the two messages.
TEST(ScaleDateTime, DateLineAboveTheTimeLabels)
{
    auto s = MakeScale(sctXB);
    s->SetLabelType(ftDateTime);
    s->SetRangeLow(46000.0);
    s->SetRangeHigh(46001.0); // one day from midnight
    s->SetMinTicks(4);
    auto bmp = LabelCanvas();
    TCanvas &cv = bmp->Canvas();
    cv.Font = s->Font();
    const int h = cv.TextHeight("0");
    int firstTicks = 0;
    s->OnScaleTickDrawn = [&](QObject *, TCanvas &c, TScaleType, double v, int x, int) {
        if (v != 46000.0)
            return;
        ++firstTicks;
        EXPECT_EQ(c.Pixel(std::max(x, 4), 379 - h - 7 - 1), kLabelBox) << "date line before the notification";
    };
    s->DrawHorizScale(cv, 379);
    EXPECT_EQ(firstTicks, 1);
    // Two rows of boxes above the first tick: the time label, and the date line
    // h higher; the date line is absent above the middle ticks.
    const int p0 = s->ValueToPixel(46000.0);
    const int pm = s->ValueToPixel(46000.5);
    EXPECT_EQ(cv.Pixel(std::max(p0, 4), 379 - 7 - 1), kLabelBox);
    EXPECT_EQ(cv.Pixel(std::max(p0, 4), 379 - h - 7 - 1), kLabelBox);
    EXPECT_EQ(cv.Pixel(pm, 379 - 7 - 1), kLabelBox);
    EXPECT_EQ(cv.Pixel(pm, 379 - h - 7 - 1), clWhite);
    EXPECT_EQ(s->NumTicks(), 13); // every 2 hours, all recorded
}

TEST(ScaleDateTime, VerticalDateLineOneLineAboveTheLabel)
{
    for (TScaleType type : {sctYL, sctYR}) {
        auto s = MakeScale(type);
        s->SetLabelType(ftDateTime);
        s->SetRangeLow(46000.25);
        s->SetRangeHigh(46000.75);
        s->SetMinTicks(4); // hours pass, a date line at the first long tick only
        auto bmp = LabelCanvas();
        TCanvas &cv = bmp->Canvas();
        cv.Font = s->Font();
        const int B = DefaultBase(*s);
        s->DrawVertScale(cv, B);
        const int h = cv.TextHeight("0");
        SCOPED_TRACE(testing::Message() << "type " << type);
        const int p = s->ValueToPixel(46000.25);
        const int pm = s->ValueToPixel(46000.5);
        const int x = type == sctYL ? B + 8 : B - 9;
        EXPECT_EQ(cv.Pixel(x, p - h / 2), kLabelBox) << "time label";
        EXPECT_EQ(cv.Pixel(x, p - 3 * (h / 2)), kLabelBox) << "date line";
        EXPECT_EQ(cv.Pixel(x, p - 3 * (h / 2) - 1), clWhite);
        EXPECT_EQ(cv.Pixel(x, pm - h / 2), kLabelBox);
        EXPECT_EQ(cv.Pixel(x, pm - 3 * (h / 2)), clWhite) << "same day: no second date line";
    }
}

TEST(ScaleDateTime, MessagesAroundTheMiddle)
{
    struct Case
    {
        TScaleType type;
        double low, high;
    } cases[] = {
        {sctXB, 46001.0, 46000.0}, // reversed: invalid
        {sctXB, 46000.0, 46000.0 + 2.0 / 86400}, // below one second
        {sctYL, 46001.0, 46000.0},
        {sctYR, 46001.0, 46000.0},
    };
    for (const Case &c : cases) {
        auto s = MakeScale(c.type);
        s->SetLabelType(ftDateTime);
        s->SetRangeLow(c.low);
        s->SetRangeHigh(c.high);
        auto bmp = LabelCanvas();
        TCanvas &cv = bmp->Canvas();
        cv.Font = s->Font();
        const int B = DefaultBase(*s);
        DrawAt(*s, cv, B);
        EXPECT_EQ(s->NumTicks(), 0);
        const int p = s->ValueToPixel((c.low + c.high) / 2);
        const int h = cv.TextHeight("T");
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        if (c.type == sctXB) {
            const QString text = c.low > c.high ? QStringLiteral("invalid DateTime scale")
                                                : QStringLiteral("DateTime range is below 1 second");
            const int w = cv.TextWidth(text);
            ExpectBox(cv, p - w / 2, B + 7, w, "message");
        } else {
            const QStringList lines = {"invalid", "DateTime", "scale"};
            for (int i = 0; i < 3; ++i) {
                const int w = cv.TextWidth(lines[i]);
                const int left = c.type == sctYL ? B + 2 : B - 2 - w;
                ExpectBox(cv, left, p + (i - 1) * h, w, "message line");
            }
        }
    }
}

// Drawings of unusable input end, keep the base coordinate sane and record
// at most the list's room.
TEST(ScaleBadInput, EveryDrawingCompletes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        double low, high;
        bool log;
        TFigType labels;
        int minTicks;
    } cases[] = {
        {nan, nan, false, ftNum, 3},
        {-inf, inf, false, ftNum, 3},
        {1e-300, 2e-300, false, ftNum, 3},
        {-1e300, 1e300, false, ftNum, 3},
        {0, 1e300, false, ftNum, 0},
        {1e300, 1e300, false, ftNum, 3},
        {1e20, 1.0000000001e20, false, ftNum, 0},
        {0, 100, true, ftNum, 3},
        {-5, 100, true, ftNum, 10},
        {1e-320, 10, true, ftNum, 10},
        {0, 3600, false, ftTime, 0},
        {0, 10, false, ftDateTime, 0},
        {-800000, -700000, false, ftDateTime, 3},
        {2958000, 3000000, false, ftDateTime, 3},
        {-693593, 2958465, false, ftDateTime, 3},
    };
    for (const Case &c : cases) {
        for (TScaleType type : {sctXB, sctYR}) {
            auto s = MakeScale(type);
            s->SetMinTicks(c.minTicks);
            s->SetLabelType(c.labels);
            s->SetRangeLow(c.low);
            s->SetRangeHigh(c.high);
            s->SetLogarithmic(c.log); // a scale made at run time accepts it
            EXPECT_TRUE(std::isfinite(s->RangeLow()) && std::isfinite(s->RangeHigh()));
            EXPECT_NE(s->RangeLow(), s->RangeHigh());
            TBitmap bmp(400, 400);
            s->SetHosted(true);
            s->SetExternalCanvas(&bmp.Canvas(), 0, 0);
            s->SetTransparent(true);
            s->ForcePaint();
            SCOPED_TRACE(testing::Message() << c.low << " .. " << c.high << " type " << type);
            EXPECT_LE(s->NumTicks(), TScale::TickListCapacity);
            // The base line is there whatever the range.
            if (type == sctXB)
                EXPECT_EQ(bmp.Canvas().Pixel(200, 379), clBlack);
            else
                EXPECT_EQ(bmp.Canvas().Pixel(379, 200), clBlack);
        }
    }
}
