#include "Kesl_Digrel.h"

#include "KeslError.h"
#include "Kesl_hueband.h"
#include "setter_rules.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr TColor kOutBack = 0x00AA00;
constexpr TColor kFieldBack = 0x00D0FF;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kParent = 0x5A8CBE;

QFont LabelFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(13);
    return f;
}

// A label of the default size (160 x 28, field from 35, 80 wide) in plain colours.
std::unique_ptr<TDigrel> MakeLabel()
{
    auto l = std::make_unique<TDigrel>();
    l->setFont(LabelFont());
    l->SetColorOutBakG(kOutBack);
    l->SetColorLabBakG(kFieldBack);
    return l;
}

void Fill(TBitmap &bmp, TColor c)
{
    bmp.Canvas().Brush.Style = bsSolid;
    bmp.Canvas().Brush.Color = c;
    bmp.Canvas().FillRect(0, 0, bmp.Width(), bmp.Height());
}

// Paints the label onto a surface that holds the parent's colour.
std::unique_ptr<TBitmap> Painted(TDigrel &l, TColor parent = kParent)
{
    auto bmp = std::make_unique<TBitmap>(l.width(), l.height());
    Fill(*bmp, parent);
    l.PaintOn(bmp->Canvas());
    return bmp;
}

// Bounding box of the pixels of one colour inside a region (inclusive); empty when none.
QRect Ink(const TBitmap &bmp, const QRect &region, TColor ink)
{
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (bmp.Canvas().Pixel(x, y) == ink)
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

bool Has(const TBitmap &bmp, const QRect &region, TColor c)
{
    return !Ink(bmp, region, c).isNull();
}

} // namespace

TEST(DigrelSetters, ClampingOfLeftSpaceAndPrecision)
{
    TDigrel l;
    l.SetLeftSpace(500);
    EXPECT_EQ(l.LeftSpace(), 160);
    l.SetLeftSpace(40);
    l.SetLeftSpace(-1);
    EXPECT_EQ(l.LeftSpace(), 40);
    l.SetLeftSpace(INT_MAX);
    EXPECT_EQ(l.LeftSpace(), 160);

    l.SetPrecision(20);
    EXPECT_EQ(l.Precision(), 15);
    l.SetPrecision(-1);
    EXPECT_EQ(l.Precision(), 15);
    l.SetPrecision(0);
    EXPECT_EQ(l.Precision(), 0);
    l.SetPrecision(INT_MAX);
    EXPECT_EQ(l.Precision(), 15);
    l.SetPrecision(INT_MIN);
    EXPECT_EQ(l.Precision(), 15);
}

TEST(DigrelSetters, LoadingStoresAndLoadedClampsToTheFinalWidth)
{
    TDigrel l;
    int paints = 0;
    l.OnBeforeDisplay = [&](QObject *, QString &) { ++paints; };
    l.BeginLoading();
    l.SetLeftSpace(300); // the width is not set yet
    l.SetValue(5);
    EXPECT_EQ(l.LeftSpace(), 300);
    l.resize(129, 25);
    l.Loaded();
    EXPECT_FALSE(l.IsLoading());
    EXPECT_EQ(l.LeftSpace(), 129);
    EXPECT_EQ(paints, 0);
}

TEST(DigrelSetters, ColorSchemeChoosesFrameColours)
{
    TDigrel l;
    l.SetColorScheme(csSystem);
    EXPECT_EQ(l.ShadowColor(), clBtnShadow);
    EXPECT_EQ(l.HighlightColor(), clBtnHighlight);
    EXPECT_EQ(l.DarkShadowColor(), clBlack);
    l.SetColorScheme(csBWG);
    EXPECT_EQ(l.ShadowColor(), clGray);
    EXPECT_EQ(l.HighlightColor(), clWhite);
}

TEST(DigrelSetters, PropertiesReachableByName)
{
    TDigrel l;
    ASSERT_TRUE(l.setProperty("LeftText", QStringLiteral("LW_Location")));
    EXPECT_EQ(l.LeftText(), "LW_Location");
    ASSERT_TRUE(l.setProperty("Value", 2.5));
    EXPECT_EQ(l.Value(), 2.5);
    EXPECT_EQ(l.property("Precision").toInt(), 2);
}

class DigrelRepaint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        label = MakeLabel();
        label->OnBeforeDisplay = [this](QObject *, QString &) { ++paints; };
        label->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(label.get()));
        QApplication::processEvents();
        paints = 0;
    }

    std::unique_ptr<TDigrel> label;
    int paints = 0;
};

TEST_F(DigrelRepaint, ValueSetToItselfDoesNotRepaint)
{
    label->SetValue(0.0);
    EXPECT_EQ(paints, 0);
    label->SetValue(-0.0); // compares equal
    EXPECT_EQ(paints, 0);
    label->SetValue(1.5);
    EXPECT_EQ(paints, 1); // at once, not later
    label->SetValue(1.5);
    EXPECT_EQ(paints, 1);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    label->SetValue(nan);
    label->SetValue(nan); // never equal to itself
    EXPECT_EQ(paints, 3);
}

TEST(DigrelRules, EachSetterRepaintsByItsRule)
{
    const char *A = "always", *C = "on change";
    // clang-format off
    const std::initializer_list<TRuleRow> rows = {
        {"LeftSpace", C, 40}, {"Empty", C, true}, {"LabelWidth", C, 90}, {"Precision", C, 3}, {"Comma", C, true},
        {"ForcePlusSign", C, true}, {"Transparent", C, true}, {"LeftText", C, "a"}, {"RightText", C, "b"},
        {"FrameStyle", C, V(fsRaised), Beyond(fsEngraved)}, {"StateText", C, "x"},
        {"Alignment", C, V(taLeftJustify), Beyond(taCenter)},
        {"LeftTextAlignment", C, V(taCenter)}, {"RightTextAlignment", C, V(taCenter)}, {"OverflowIndicator", C, "#"},
        {"Value", C, 1.5}, {"Enabled", A, false}, {"ColorLabBakG", C, kRed}, {"ColorLabText", C, kRed},
        {"ColorOutBakG", C, kRed}, {"ColorOutText", C, kRed}, {"ColorScheme", A, V(csSystem)},
        {"DisplayType", C, V(dtInt), Beyond(dtEEngNoDP)}, {"DTFormat", C, "yyyy"},
    };
    // clang-format on
    ExpectRules(
        rows, [](int &count) { return ShownCounted(MakeLabel(), count); }, Settle);
}

TEST_F(DigrelRepaint, BecomingTransparentWaitsForTheParent)
{
    label->SetTransparent(true);
    EXPECT_EQ(paints, 0);
    QTRY_VERIFY(paints >= 1);
    const int before = paints;
    label->SetTransparent(false);
    EXPECT_EQ(paints, before + 1);
}

TEST(DigrelAssign, CopiesTheLookButNotSeparatorSignFormatOrEnabled)
{
    // Property, value given to the source, and whether Assign copies it.
    struct P
    {
        const char *name;
        QVariant value;
        bool copied;
    };
    const P props[] = {
        {"LeftSpace", 50, true},          {"Empty", true, true},       {"LabelWidth", 60, true},
        {"Precision", 4, true},           {"LeftText", "L", true},     {"RightText", "R", true},
        {"OverflowIndicator", "!", true}, {"Value", 3.25, true},       {"StateText", "s", true},
        {"Transparent", true, true},      {"ColorLabBakG", 1, true},   {"ColorLabText", 2, true},
        {"ColorOutBakG", 3, true},        {"ColorOutText", 4, true},   {"Comma", true, false},
        {"ForcePlusSign", true, false},   {"DTFormat", "yyyy", false}, {"Enabled", false, false},
    };
    TDigrel src, dst;
    for (const P &p : props)
        ASSERT_TRUE(src.setProperty(p.name, p.value)) << p.name;
    src.SetFrameStyle(fsRaised);
    src.SetAlignment(taLeftJustify);
    src.SetRightTextAlignment(taCenter);
    src.SetLeftTextAlignment(taLeftJustify);
    src.SetColorScheme(csSystem);
    src.SetDisplayType(dtHex);

    dst.Assign(&src);
    for (const P &p : props)
        EXPECT_EQ(dst.property(p.name) == src.property(p.name), p.copied) << p.name;
    EXPECT_EQ(dst.FrameStyle(), fsRaised);
    EXPECT_EQ(dst.Alignment(), taLeftJustify);
    EXPECT_EQ(dst.RightTextAlignment(), taCenter);
    EXPECT_EQ(dst.LeftTextAlignment(), taLeftJustify);
    EXPECT_EQ(dst.ColorScheme(), csSystem);
    EXPECT_EQ(dst.ShadowColor(), clBtnShadow);
    EXPECT_EQ(dst.DisplayType(), dtHex);

    TDigrel third;
    dst.AssignTo(&third);
    EXPECT_EQ(third.Value(), 3.25);
    EXPECT_EQ(third.LeftText(), "L");
}

TEST(DigrelAssign, OtherSourcesAreRefused)
{
    TDigrel l;
    QWidget w;
    EXPECT_THROW(l.Assign(&w), EKeslError);
    EXPECT_THROW(l.Assign(nullptr), EKeslError);
    EXPECT_THROW(l.AssignTo(&w), EKeslError);
    EXPECT_THROW(l.AssignTo(nullptr), EKeslError);
    EXPECT_NO_THROW(l.Assign(&l));
}

TEST(DigrelPixels, FieldFrameByStyle)
{
    // Pixels: outer left column, inner left column, bottom row, column right of
    // the field, the row above the bottom, and the field's inside.
    struct Row
    {
        TFrameStyle style;
        TColor outer, inner, bottom, right, aboveBottom;
    };
    const TColor hi = clWhite, sh = clGray, dk = clBlack;
    const Row rows[] = {
        {fsNone, kFieldBack, kFieldBack, kFieldBack, kOutBack, kFieldBack},
        {fsSimple, sh, kFieldBack, sh, kOutBack, kFieldBack},
        {fsLowered, sh, dk, hi, hi, sh},
        {fsRaised, sh, hi, dk, dk, sh},
        {fsEmbossed, hi, sh, sh, sh, hi},
        {fsEngraved, sh, hi, hi, hi, sh},
    };
    for (const Row &r : rows) {
        auto l = MakeLabel();
        l->SetEmpty(true);
        l->SetFrameStyle(r.style);
        auto bmp = Painted(*l);
        const TCanvas &c = bmp->Canvas();
        const int S = 35, L = 80, H = 28;
        EXPECT_EQ(c.Pixel(S, 10), r.outer) << int(r.style);
        EXPECT_EQ(c.Pixel(S + 1, 10), r.inner) << int(r.style);
        EXPECT_EQ(c.Pixel(S + 10, H - 1), r.bottom) << int(r.style);
        EXPECT_EQ(c.Pixel(S + L + 2, 10), r.right) << int(r.style);
        EXPECT_EQ(c.Pixel(S + 10, H - 2), r.aboveBottom) << int(r.style);
        EXPECT_EQ(c.Pixel(S + 10, 10), kFieldBack) << int(r.style);
        EXPECT_EQ(c.Pixel(S - 1, 10), kOutBack) << int(r.style);
        EXPECT_EQ(c.Pixel(S + L + 3, 10), kOutBack) << int(r.style);
        EXPECT_EQ(c.CopyMode, cmSrcCopy);
    }
}

TEST(DigrelPixels, TransparentLabelShowsTheParentOutsideTheField)
{
    for (TColor text : {clBlack, kRed}) { // black text pre-fills with the field colour, others with white
        auto l = MakeLabel();
        l->SetEmpty(true);
        l->SetTransparent(true);
        l->SetColorLabText(text);
        auto bmp = Painted(*l);
        const TCanvas &c = bmp->Canvas();
        const int S = 35, L = 80, H = 28;
        EXPECT_EQ(c.Pixel(2, 2), kParent);
        EXPECT_EQ(c.Pixel(159, 27), kParent);
        EXPECT_EQ(c.Pixel(S + L + 3, 10), kParent);
        EXPECT_EQ(c.Pixel(S + 10, 10), kFieldBack);
        EXPECT_EQ(c.Pixel(S + 2, 2), kFieldBack);
        EXPECT_EQ(c.Pixel(S + L - 1, H - 3), kFieldBack);
        EXPECT_EQ(c.Pixel(S, 10), clGray & kParent); // frame lines are ANDed with the parent
        EXPECT_EQ(c.Pixel(S + 1, 10), clBlack);
        EXPECT_EQ(c.Pixel(S + 10, H - 1), kParent); // white highlight vanishes into it
        EXPECT_EQ(c.CopyMode, cmSrcAnd);
    }
}

TEST(DigrelPixels, TransparentLabelOnAWidgetParent)
{
    QWidget parent;
    parent.resize(200, 40);
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, ColorToQColor(kParent));
    parent.setPalette(pal);
    TDigrel *l = new TDigrel(&parent);
    l->setFont(LabelFont());
    l->move(10, 5);
    l->SetColorLabBakG(kFieldBack);
    l->SetEmpty(true);
    l->SetTransparent(true);
    const QImage img = parent.grab().toImage();
    auto at = [&](int x, int y) { return QColorToColor(img.pixelColor(x + 10, y + 5)); };
    EXPECT_EQ(at(2, 2), kParent);
    EXPECT_EQ(at(35 + 10, 10), kFieldBack);
    EXPECT_EQ(at(35, 10), clGray & kParent);
    EXPECT_EQ(at(36, 10), clBlack);

    l->SetTransparent(false);
    l->SetColorOutBakG(kOutBack);
    const QImage opaque = parent.grab().toImage();
    EXPECT_EQ(QColorToColor(opaque.pixelColor(12, 7)), kOutBack);
}

TEST(DigrelPixels, DisabledLookIsEmbossedGrey)
{
    auto l = MakeLabel();
    l->SetLeftText("MMMM");
    l->SetRightText("WW");
    l->SetColorLabText(kRed);
    l->SetValue(88.0);
    const QRect left(0, 0, 35, 28), right(118, 0, 42, 28), field(38, 2, 77, 23);

    auto on = Painted(*l);
    EXPECT_TRUE(Has(*on, left, clBlack));
    EXPECT_TRUE(Has(*on, right, clBlack));
    EXPECT_FALSE(Has(*on, left, clGray));
    EXPECT_TRUE(Has(*on, field, kRed));

    l->SetEnabled(false);
    EXPECT_FALSE(l->isEnabled());
    auto off = Painted(*l);
    for (const QRect &r : {left, right}) {
        EXPECT_TRUE(Has(*off, r, clGray));
        EXPECT_TRUE(Has(*off, r, clWhite));
        EXPECT_FALSE(Has(*off, r, clBlack));
    }
    // The white copy lies one pixel down from the grey one.
    EXPECT_EQ(Ink(*off, left, clWhite).bottom(), Ink(*off, left, clGray).bottom() + 1);
    EXPECT_TRUE(Has(*off, field, clGray));
    EXPECT_FALSE(Has(*off, field, kRed));
    // The field is outlined but no longer filled: the outside colour shows in it.
    EXPECT_TRUE(Has(*on, field, kFieldBack));
    EXPECT_FALSE(Has(*off, QRect(35, 0, 83, 28), kFieldBack));
    EXPECT_EQ(off->Canvas().Pixel(38, 2), kOutBack);
    EXPECT_EQ(off->Canvas().Pixel(35, 10), clGray);
    EXPECT_EQ(off->Canvas().Pixel(36, 10), clBlack);
    EXPECT_EQ(off->Canvas().Pixel(40, 27), clWhite);
}

TEST(DigrelPixels, HiddenLabelPaintsNothing)
{
    auto l = MakeLabel();
    l->hide();
    auto bmp = Painted(*l);
    EXPECT_FALSE(Has(*bmp, QRect(0, 0, 160, 28), kOutBack));
    l->setVisible(true);
    EXPECT_TRUE(Has(*Painted(*l), QRect(0, 0, 160, 28), kOutBack));
}

TEST(DigrelPixels, EmptyDrawsTextsAndFieldButNoValue)
{
    auto l = MakeLabel();
    l->SetColorLabText(kRed);
    l->SetLeftText("X");
    l->SetValue(8.0);
    const QRect field(38, 2, 77, 23);
    EXPECT_TRUE(Has(*Painted(*l), field, kRed));
    EXPECT_EQ(l->LastFieldText(), "8.00");
    l->SetEmpty(true);
    auto bmp = Painted(*l);
    EXPECT_FALSE(Has(*bmp, field, kRed));
    EXPECT_TRUE(Has(*bmp, QRect(0, 0, 35, 28), clBlack));
    EXPECT_EQ(bmp->Canvas().Pixel(45, 10), kFieldBack);
    EXPECT_TRUE(l->LastFieldText().isEmpty());
}

TEST(DigrelPixels, ValueTextAlignmentAndClipping)
{
    struct A
    {
        TAlignment a;
        int lo, hi; // where the ink of "8.00" must start (left) or end (right)
        bool atStart;
    };
    const int S = 35, L = 80;
    const QRect field(S, 0, L + 3, 28);
    for (const A &a : {A {taLeftJustify, S + 4, S + 6, true}, A {taRightJustify, S + L - 7, S + L - 3, false}}) {
        auto l = MakeLabel();
        l->SetColorLabText(kRed);
        l->SetValue(8.0);
        l->SetAlignment(a.a);
        const QRect ink = Ink(*Painted(*l), field, kRed);
        ASSERT_FALSE(ink.isNull());
        const int edge = a.atStart ? ink.left() : ink.right();
        EXPECT_GE(edge, a.lo) << a.a;
        EXPECT_LE(edge, a.hi) << a.a;
    }
    auto centred = MakeLabel();
    centred->SetColorLabText(kRed);
    centred->SetValue(8.0);
    const QRect ink = Ink(*Painted(*centred), field, kRed);
    EXPECT_NEAR((ink.left() + ink.right()) / 2.0, S + 2 + L / 2.0, 3.0);

    // A state text is never replaced, only clipped to the field's inside.
    auto state = MakeLabel();
    state->SetColorLabText(kRed);
    state->SetDisplayType(dtState);
    state->SetStateText(QString(60, QLatin1Char('W')));
    const QRect all = Ink(*Painted(*state), QRect(0, 0, 160, 28), kRed);
    EXPECT_EQ(state->LastFieldText(), QString(60, QLatin1Char('W')));
    EXPECT_GE(all.left(), S + 3);
    EXPECT_LE(all.right(), S + L - 2);
    EXPECT_GE(all.top(), 2);
    EXPECT_LE(all.bottom(), 28 - 4);
}

TEST(DigrelPixels, CaptionAlignment)
{
    const int S = 35, L = 80, W = 160;
    struct C
    {
        bool leftCaption;
        TAlignment a;
        int lo, hi;
        bool atStart;
    };
    for (const C &c :
         {C {true, taLeftJustify, 7, 9, true}, C {true, taRightJustify, S - 9, S - 6, false},
          C {false, taLeftJustify, S + L + 7, S + L + 9, true}, C {false, taRightJustify, W - 10, W - 7, false}}) {
        auto l = MakeLabel();
        l->SetEmpty(true);
        if (c.leftCaption) {
            l->SetLeftText("MM");
            l->SetLeftTextAlignment(c.a);
        } else {
            l->SetRightText("MM");
            l->SetRightTextAlignment(c.a);
        }
        const QRect area = c.leftCaption ? QRect(0, 0, S, 28) : QRect(S + L + 3, 0, W - S - L - 3, 28);
        const QRect ink = Ink(*Painted(*l), area, clBlack);
        ASSERT_FALSE(ink.isNull());
        const int edge = c.atStart ? ink.left() : ink.right();
        EXPECT_GE(edge, c.lo) << c.leftCaption << c.a;
        EXPECT_LE(edge, c.hi) << c.leftCaption << c.a;
    }
}

TEST(DigrelPixels, TooWideTextGivesWayToTheIndicator)
{
    auto l = MakeLabel();
    l->SetLabelWidth(20);
    l->SetValue(123456.78);
    l->SetColorLabText(kRed);
    Painted(*l);
    EXPECT_EQ(l->LastFieldText(), "*********");
    // The indicator is placed by its own width, so it is seen, not pushed out of the field.
    l->SetLabelWidth(80);
    l->SetValue(1e300);
    auto bmp = Painted(*l);
    EXPECT_EQ(l->LastFieldText(), "*********");
    EXPECT_TRUE(Has(*bmp, QRect(38, 2, 77, 23), kRed));

    l->OnBeforeDisplay = [](QObject *sender, QString &text) {
        EXPECT_NE(qobject_cast<TDigrel *>(sender), nullptr);
        text = "ok";
    };
    Painted(*l);
    EXPECT_EQ(l->LastFieldText(), "ok");
}

TEST(DigrelPixels, MainWindowLocationLabel)
{
    // NLabLoc: 129 x 25, field 55 wide from 64, transparent, two decimals.
    TDigrel l;
    l.setFont(LabelFont());
    l.resize(129, 25);
    l.SetLeftText("Location");
    l.SetLabelWidth(55);
    l.SetLeftSpace(64);
    l.SetTransparent(true);
    for (double v : {-10.0, 10.0, 0.0}) {
        l.SetValue(v);
        Painted(l);
        EXPECT_EQ(l.LastFieldText(), QString::number(v, 'f', 2)) << v;
    }
}

TEST(DigrelBadInput, SizesWidthsAndValuesAtTheirLimits)
{
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             1e300,
                             -1e300,
                             9.3e18,
                             -0.0};
    for (int t = dtFloat; t <= dtEEngNoDP; ++t) {
        for (double v : values) {
            auto l = MakeLabel();
            l->SetDisplayType(static_cast<TDisplay>(t));
            l->SetPrecision(15);
            l->SetValue(v);
            Painted(*l);
            EXPECT_FALSE(l->LastFieldText().isEmpty() && t != dtHex && t != dtBin && t != dtOct) << t << " " << v;
        }
    }

    auto l = MakeLabel();
    l->SetValue(1.0);
    for (int w : {INT_MIN, -50, 0, 6}) {
        l->SetLabelWidth(w);
        Painted(*l);
        EXPECT_EQ(l->LastFieldText(), "*********") << w;
    }
    l->SetLabelWidth(INT_MAX);
    l->SetValue(-1e300);
    Painted(*l);
    EXPECT_EQ(l->LastFieldText().size(), 305); // "-1", 300 zeros and ".00" fit the huge field

    for (QSize s : {QSize(0, 0), QSize(1, 1), QSize(3, 200), QSize(400, 1)}) {
        l->resize(s);
        l->SetLeftSpace(INT_MAX);
        EXPECT_EQ(l->LeftSpace(), s.width());
        TBitmap target(10, 10);
        Fill(target, kParent);
        l->PaintOn(target.Canvas());
        if (s.isEmpty()) {
            EXPECT_EQ(target.Canvas().Pixel(5, 5), kParent);
        }
        const QImage img = l->grab().toImage();
        EXPECT_EQ(img.size(), s);
    }
}

TEST(DigrelBadInput, PaintedWhileLoadingWithTheLeftSpaceNotYetCut)
{
    // The width is unknown while loading, so the left space is kept as given;
    // a paint in that state (a grab, an early show) must not overflow.
    for (bool transparent : {false, true}) {
        auto l = MakeLabel();
        l->BeginLoading();
        l->SetLeftSpace(INT_MAX);
        l->SetLabelWidth(INT_MAX);
        l->SetTransparent(transparent);
        l->SetLeftText("M");
        l->SetRightText("M");
        l->SetRightTextAlignment(taCenter);
        l->SetValue(1.0);
        auto bmp = Painted(*l);
        // The field lies beyond the right edge: only the outside shows.
        const TColor outside = transparent ? kParent : kOutBack;
        EXPECT_EQ(bmp->Canvas().Pixel(0, 0), outside);
        EXPECT_EQ(bmp->Canvas().Pixel(159, 27), outside);
        EXPECT_FALSE(Has(*bmp, QRect(0, 0, 160, 28), kFieldBack));
        EXPECT_EQ(l->grab().size(), QSize(160, 28));
    }
}

TEST(DigrelPixels, TransparentLabelOverAGradientSiblingRepaintsCleanly)
{
    // As on the main window's panel: the label's AND must meet a freshly painted
    // gradient each time, or old digits would pile up in the field.
    QWidget top;
    top.resize(300, 73);
    auto *band = new THueband(&top);
    band->setGeometry(0, 0, 300, 73);
    band->SetColorFirst(clSilver);
    band->SetColorLast(clWhite);
    auto *l = new TDigrel(&top);
    l->setFont(LabelFont());
    l->setGeometry(20, 8, 129, 25);
    l->SetLabelWidth(55);
    l->SetLeftSpace(64);
    l->SetTransparent(true);
    l->SetColorLabBakG(kFieldBack);
    top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
    QApplication::processEvents();
    auto shown = [&] { return top.screen()->grabWindow(top.winId()).toImage(); };
    const QImage before = shown();
    EXPECT_EQ(QColorToColor(before.pixelColor(20 + 66, 8 + 2)), kFieldBack);
    // Row 10 lies in band 2 of the gradient, which shows around the field.
    EXPECT_EQ(QColorToColor(before.pixelColor(22, 10)), HuebandStep(clSilver, clWhite, 2, 16));

    l->SetValue(8.88);
    EXPECT_NE(shown(), before); // painted at once
    for (int i = 1; i <= 10; ++i)
        l->SetValue(i * 1.11);
    l->SetValue(0.0);
    QApplication::processEvents();
    EXPECT_EQ(shown(), before);
}

TEST(DigrelPixels, OnlyATransparentLabelHasTheGradientRepaintedBeneathIt)
{
    // Every scroll-bar step sets a value; an opaque label covers its whole
    // rectangle, so the gradient beneath must not be painted again for it.
    QWidget top;
    top.resize(300, 73);
    auto *band = new THueband(&top);
    band->setGeometry(0, 0, 300, 73);
    int bandPaints = 0;
    band->OnPaint = [&](QObject *) { ++bandPaints; };
    auto *l = new TDigrel(&top);
    l->setFont(LabelFont());
    l->setGeometry(20, 8, 129, 25);
    l->SetColorOutBakG(kOutBack);
    top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
    QApplication::processEvents();
    auto shown = [&] { return top.screen()->grabWindow(top.winId()).toImage(); };

    bandPaints = 0;
    for (int i = 1; i <= 5; ++i)
        l->SetValue(i);
    EXPECT_EQ(bandPaints, 0);
    const QImage opaque = shown();
    EXPECT_EQ(QColorToColor(opaque.pixelColor(22, 10)), kOutBack);

    l->SetTransparent(true);
    QApplication::processEvents();
    bandPaints = 0;
    l->SetValue(7.0);
    EXPECT_GE(bandPaints, 1);
    EXPECT_EQ(QColorToColor(shown().pixelColor(22, 10)), HuebandStep(clMaroon, clYellow, 2, 16));

    // Assign carries the transparency and with it the need for the gradient.
    TDigrel opaqueSource;
    l->Assign(&opaqueSource);
    QApplication::processEvents();
    bandPaints = 0;
    l->SetValue(3.0);
    EXPECT_EQ(bandPaints, 0);
}
