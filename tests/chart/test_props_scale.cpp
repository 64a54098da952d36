#include "Kesl_kurvo_scaleprops.h"

#include <QMetaProperty>
#include <QVariant>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

struct Recorder
{
    std::vector<QObject *> senders;
    TNotifyEvent Handler()
    {
        return [this](QObject *s) { senders.push_back(s); };
    }
    int Count() const { return int(senders.size()); }
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A scale property object as the chart has it after reading its stored form.
struct LoadedProps : TScalePropsHoriz
{
    LoadedProps() { Loaded(); }
};

void SetRange(TScaleProps &p, double low, double high)
{
    // Widen first so that neither write is pulled along by MinRange.
    p.SetRangeHigh(std::max(high, 1e300));
    p.SetRangeLow(low);
    p.SetRangeHigh(high);
}

TEST(ScaleProps, Defaults)
{
    TScalePropsHoriz p;
    EXPECT_TRUE(p.Caption().isEmpty());
    EXPECT_EQ(p.CaptionPosX(), 0);
    EXPECT_EQ(p.CaptionPosY(), 0);
    EXPECT_EQ(p.CaptionAlignment(), taCenter);
    EXPECT_EQ(p.CaptionAnchor(), uaSclTopLft);
    EXPECT_EQ(p.DecPlaces(), -2);
    EXPECT_EQ(p.Font(), TFont());
    EXPECT_FALSE(p.Logarithmic());
    EXPECT_EQ(p.LabelType(), ftNum);
    EXPECT_EQ(p.MinTicks(), 3);
    EXPECT_EQ(p.MinRange(), 1e-10);
    EXPECT_EQ(p.RangeLow(), 0);
    EXPECT_EQ(p.RangeHigh(), 1);
    EXPECT_TRUE(p.ShortTicks());
    EXPECT_TRUE(p.ScaleInscript().isEmpty());
    EXPECT_EQ(p.ScalePos(), 0);
    EXPECT_TRUE(p.UserTickText().isEmpty());
    EXPECT_FALSE(p.Visible());
    EXPECT_TRUE(p.IsLoading());

    ASSERT_NE(p.DateFormat(), nullptr);
    EXPECT_EQ(p.DateFormat()->parent(), &p);
    EXPECT_EQ(p.DateFormat()->TimeFormat(), tfHHMMSS);
    EXPECT_EQ(p.DateFormat()->DateSeparator(), QLatin1Char('-'));
    EXPECT_EQ(p.DateFormat()->TimeSeparator(), QLatin1Char(':'));
    EXPECT_EQ(p.DateFormat()->YearLength(), ylYYYY);
    EXPECT_TRUE(p.DateFormat()->MonthName());
    EXPECT_EQ(p.DateFormat()->DateOrder(), doDDMMYY);
    EXPECT_EQ(p.DateFormat()->DateForTime(), dtOnePerDay);
}

TEST(ScaleProps, LocationSetsTheScaleType)
{
    TScalePropsHoriz x;
    TScalePropsVert y;
    EXPECT_EQ(x.ScaleLocation(), slBottom);
    EXPECT_EQ(x.ScaleType(), sctXT);
    EXPECT_EQ(y.ScaleLocation(), slLeft);
    EXPECT_EQ(y.ScaleType(), sctYR);

    x.SetScaleLocation(slTop);
    EXPECT_EQ(x.ScaleType(), sctXB);
    x.SetScaleLocation(slBottom);
    EXPECT_EQ(x.ScaleType(), sctXT);
    y.SetScaleLocation(slRight);
    EXPECT_EQ(y.ScaleType(), sctYL);
    y.SetScaleLocation(slLeft);
    EXPECT_EQ(y.ScaleType(), sctYR);

    // The chart's per-layer default may differ from the location; writing the
    // location again brings the type back in line, and that is a change.
    Recorder rec;
    x.OnChange = rec.Handler();
    x.SetScaleType(sctXB);
    EXPECT_EQ(rec.Count(), 0);
    x.SetScaleLocation(slBottom);
    EXPECT_EQ(x.ScaleType(), sctXT);
    EXPECT_EQ(rec.Count(), 1);
}

TEST(ScaleProps, CaptionAndOtherTextsArePublishedStrings)
{
    TScalePropsVert p;
    const QMetaObject *mo = p.metaObject();
    for (const char *name : {"Caption", "ScaleInscript", "UserTickText"}) {
        const int i = mo->indexOfProperty(name);
        ASSERT_GE(i, 0) << name;
        EXPECT_EQ(mo->property(i).metaType(), QMetaType::fromType<QString>()) << name;
        EXPECT_TRUE(mo->property(i).isWritable()) << name;
    }
    // The translation walk recognises these objects by class name.
    EXPECT_TRUE(mo->inherits(&TScaleProps::staticMetaObject));
    EXPECT_STREQ(TScaleProps::staticMetaObject.className(), "TScaleProps");
    EXPECT_GE(mo->indexOfProperty("ScaleLocation"), 0);
    EXPECT_GE(mo->indexOfProperty("DateFormat"), 0);
}

TEST(ScaleProps, DecPlacesIsClamped)
{
    const std::pair<int, int> cases[] = {
        {20, 12}, {-5, -3}, {12, 12}, {-3, -3}, {0, 0}, {13, 12}, {-4, -3}, {-2147483647 - 1, -3}, {2147483647, 12}};
    for (const auto &[in, stored] : cases) {
        TScalePropsHoriz p;
        p.SetDecPlaces(in);
        EXPECT_EQ(p.DecPlaces(), stored) << in;
    }
}

TEST(ScaleProps, LabelTypeRules)
{
    TScalePropsHoriz p;
    p.SetLabelType(ftTime);
    EXPECT_EQ(p.DecPlaces(), 4);
    p.SetDecPlaces(2);
    EXPECT_EQ(p.DecPlaces(), 2);
    EXPECT_EQ(p.LabelType(), ftTime);

    LoadedProps q;
    SetRange(q, 1, 10);
    q.SetLogarithmic(true);
    ASSERT_TRUE(q.Logarithmic());
    Recorder rec;
    q.OnChange = rec.Handler();
    q.SetLabelType(ftDateTime);
    EXPECT_FALSE(q.Logarithmic());
    EXPECT_EQ(q.LabelType(), ftDateTime);
    EXPECT_EQ(rec.Count(), 1); // both changes, one notification
    q.SetLogarithmic(true);
    EXPECT_FALSE(q.Logarithmic());

    // Other label types leave the decimals and the logarithmic flag alone.
    q.SetLabelType(ftNum);
    q.SetLogarithmic(true);
    q.SetDecPlaces(7);
    q.SetLabelType(ftUserText);
    EXPECT_TRUE(q.Logarithmic());
    EXPECT_EQ(q.DecPlaces(), 7);
}

TEST(ScaleProps, LogarithmicAcceptance)
{
    struct Case
    {
        bool loading;
        double low, high;
        TFigType labels;
        bool accepted;
    };
    const Case cases[] = {
        {true, 0, 1, ftNum, true}, // while loading, no check
        {false, 0, 1, ftNum, false},       {false, 0.1, 1, ftNum, true},     {false, 1e-100, 1, ftNum, true},
        {false, 1e-101, 1, ftNum, false},  {false, 1, 1e-101, ftNum, false}, {false, -5, -1, ftNum, false},
        {false, 10, 1, ftNum, true}, // reversed but positive
        {false, 1, 10, ftDateTime, false}, {false, 1, 10, ftTime, true},     {true, 1, 10, ftDateTime, true},
    };
    for (const Case &c : cases) {
        TScalePropsHoriz p;
        SetRange(p, c.low, c.high);
        p.SetLabelType(c.labels);
        if (!c.loading)
            p.Loaded();
        Recorder rec;
        p.OnChange = rec.Handler();
        p.SetLogarithmic(true);
        EXPECT_EQ(p.Logarithmic(), c.accepted) << c.low << ".." << c.high << " loading " << c.loading;
        EXPECT_EQ(rec.Count(), 1); // refused or not
        p.SetLogarithmic(false);
        EXPECT_FALSE(p.Logarithmic());
    }
}

TEST(ScaleProps, MinRange)
{
    struct Case
    {
        double low, high, minRange;
        double expLow, expHigh, expMin;
    };
    const Case cases[] = {
        {0, 0.5, 1, -0.25, 0.75, 1}, // widened around the centre
        {0, 2, 1, 0, 2, 1}, // wide enough already
        {0, 1, 1, 0, 1, 1}, // exactly as wide
        {3, 2.5, 1, 2.25, 3.25, 1}, // reversed range widens the normal way
        {0, 0.5, 1e-100, 0, 0.5, 1e-10}, // at the floor: ignored
        {0, 0.5, -1, 0, 0.5, 1e-10}, // negative: ignored
        {0, 0.5, kNaN, 0, 0.5, 1e-10}, // not a number: ignored
        {0, 0.5, kInf, 0, 0.5, 1e-10}, // infinite: ignored
        {1e308, 1.5e308, 1e308, 1.25e308 - 0.5e308, 1.25e308 + 0.5e308, 1e308},
    };
    for (const Case &c : cases) {
        TScalePropsHoriz p;
        SetRange(p, c.low, c.high);
        p.SetMinRange(c.minRange);
        EXPECT_DOUBLE_EQ(p.RangeLow(), c.expLow) << c.minRange;
        EXPECT_DOUBLE_EQ(p.RangeHigh(), c.expHigh) << c.minRange;
        EXPECT_EQ(p.MinRange(), c.expMin) << c.minRange;
    }
}

TEST(ScaleProps, MinRangeOnALogarithmicAxisWidensOnlyAboveZero)
{
    LoadedProps p;
    SetRange(p, 1, 2);
    p.SetLogarithmic(true);
    ASSERT_TRUE(p.Logarithmic());
    p.SetMinRange(10); // centred widening would give -3.5..6.5
    EXPECT_EQ(p.MinRange(), 10);
    EXPECT_EQ(p.RangeLow(), 1);
    EXPECT_EQ(p.RangeHigh(), 2);
    p.SetMinRange(2); // 0.5..2.5 is fine
    EXPECT_EQ(p.RangeLow(), 0.5);
    EXPECT_EQ(p.RangeHigh(), 2.5);
    p.SetMinRange(1.5e-100);
    SetRange(p, 2e-100, 4e-100);
    p.SetMinRange(5.9e-100); // widened to below the floor, still above zero
    EXPECT_NEAR(p.RangeLow(), 5e-102, 1e-115);
    EXPECT_DOUBLE_EQ(p.RangeHigh(), 5.95e-100);
}

TEST(ScaleProps, MinRangeThatWouldOverflowTheRangeKeepsTheRange)
{
    TScalePropsHoriz p;
    SetRange(p, 1.7e308, 1.75e308);
    const double low = p.RangeLow(), high = p.RangeHigh();
    p.SetMinRange(1e308);
    EXPECT_EQ(p.MinRange(), 1e308);
    EXPECT_EQ(p.RangeLow(), low);
    EXPECT_EQ(p.RangeHigh(), high);
    EXPECT_TRUE(std::isfinite(p.RangeLow()) && std::isfinite(p.RangeHigh()));
}

TEST(ScaleProps, RangeEnds)
{
    enum End { Low, High };
    struct Case
    {
        bool log;
        double low, high, minRange;
        End end;
        double v;
        double expLow, expHigh;
    };
    const Case cases[] = {
        {false, 0, 1, 0.1, Low, 0.99, 0.99, 1.09}, // too close: the other end moves
        {false, 0, 1, 0.1, High, 0.05, -0.05, 0.05}, // the same from the other end
        {false, 0, 1, 0.5, Low, 0.5, 0.5, 1}, // exactly MinRange apart is fine
        {false, 0, 1, 0.1, Low, 5, 5, 1}, // reversed axis is allowed
        {false, 0, 1, 0.1, High, -3, 0, -3},
        {false, 0, 1, 0.1, Low, -1e300, -1e300, 1},
        {false, 0, 1, 0.1, Low, kNaN, 0, 1}, // non-finite ends are ignored
        {false, 0, 1, 0.1, High, kInf, 0, 1},
        {false, 0, 1, 0.1, Low, -kInf, 0, 1},
        {true, 1, 10, 0.1, Low, 0, 1, 10}, // below the log floor: ignored
        {true, 1, 10, 0.1, Low, -1, 1, 10},
        {true, 1, 10, 0.1, High, 1e-101, 1, 10},
        {true, 1, 10, 0.1, Low, 1e-100, 1e-100, 10},
        {true, 1, 10, 0.1, High, 100, 1, 100},
        {true, 1, 10, 0.1, Low, 9.95, 9.95, 10.05}, // the other end pulled along
        {true, 1, 10, 5, High, 2, 1, 10}, // would pull low to -3: ignored
        {true, 1, 10, 5, High, 5.5, 0.5, 5.5}, // pulled low stays above the floor
        {true, 1, 10, 5, Low, 1e-101, 1, 10}, // not close, below the floor
        {true, 5, 1, 4, Low, 1e-120, 1e-120, 4}, // pulled: stored below the floor
        {true, 5, 1, 4, Low, 0, 5, 1}, // pulled, but without a logarithm: ignored
    };
    for (const Case &c : cases) {
        LoadedProps p;
        SetRange(p, c.low, c.high);
        p.SetMinRange(c.minRange);
        if (c.log) {
            p.SetLogarithmic(true);
            ASSERT_TRUE(p.Logarithmic());
        }
        if (c.end == Low)
            p.SetRangeLow(c.v);
        else
            p.SetRangeHigh(c.v);
        EXPECT_DOUBLE_EQ(p.RangeLow(), c.expLow) << (c.end == Low ? "low " : "high ") << c.v;
        EXPECT_DOUBLE_EQ(p.RangeHigh(), c.expHigh) << (c.end == Low ? "low " : "high ") << c.v;
    }
}

TEST(ScaleProps, RangeEndWhoseNeighbourWouldOverflowIsIgnored)
{
    TScalePropsHoriz p;
    p.SetMinRange(1e308);
    SetRange(p, 0, 1e308);
    p.SetRangeLow(1.7e308); // would need RangeHigh = 2.7e308
    EXPECT_EQ(p.RangeLow(), 0);
    EXPECT_EQ(p.RangeHigh(), 1e308);
}

// Each action, done on a fresh object, must report exactly the expected number
// of notifications: one per setter, whether the value is new, equal or
// refused; the date/time object itself reports real changes only.
TEST(ScaleProps, EverySetterNotifiesOnce)
{
    using Action = std::function<void(TScalePropsHoriz &)>;
    struct Case
    {
        const char *what;
        Action act;
        int notifications;
    };
    TFont bigFont;
    bigFont.Height = -30;
    TDTLabel otherDates;
    otherDates.SetDateOrder(doYYMMDD);
    otherDates.SetYearLength(ylYY);
    const Case cases[] = {
        {"caption", [](auto &p) { p.SetCaption(QStringLiteral("x")); }, 1},
        {"caption equal", [](auto &p) { p.SetCaption(QString()); }, 1},
        {"caption pos x", [](auto &p) { p.SetCaptionPosX(5); }, 1},
        {"caption pos y equal", [](auto &p) { p.SetCaptionPosY(0); }, 1},
        {"alignment", [](auto &p) { p.SetCaptionAlignment(taLeftJustify); }, 1},
        {"alignment beyond the last, ignored", [](auto &p) { p.SetCaptionAlignment(static_cast<TAlignment>(3)); }, 0},
        {"anchor", [](auto &p) { p.SetCaptionAnchor(uaSclBotRgt); }, 1},
        {"colour", [](auto &p) { p.SetColorScale(clRed); }, 1},
        {"colour equal", [](auto &p) { p.SetColorScale(clBlack); }, 1},
        {"decimals", [](auto &p) { p.SetDecPlaces(3); }, 1},
        {"decimals clamped to equal", [](auto &p) { p.SetDecPlaces(-2); }, 1},
        {"font", [&](auto &p) { p.SetFont(bigFont); }, 1},
        {"font equal", [](auto &p) { p.SetFont(TFont()); }, 1},
        {"label type", [](auto &p) { p.SetLabelType(ftNoFigs); }, 1},
        {"label type equal", [](auto &p) { p.SetLabelType(ftNum); }, 1},
        {"time labels", [](auto &p) { p.SetLabelType(ftTime); }, 1},
        {"min ticks", [](auto &p) { p.SetMinTicks(5); }, 1},
        {"min range", [](auto &p) { p.SetMinRange(0.5); }, 1},
        {"min range ignored", [](auto &p) { p.SetMinRange(0); }, 1},
        {"min range widening", [](auto &p) { p.SetMinRange(3); }, 1},
        {"low", [](auto &p) { p.SetRangeLow(-1); }, 1},
        {"low equal", [](auto &p) { p.SetRangeLow(0); }, 1},
        {"low moving both ends", [](auto &p) { p.SetRangeLow(1); }, 1},
        {"high NaN", [](auto &p) { p.SetRangeHigh(kNaN); }, 1},
        {"short ticks", [](auto &p) { p.SetShortTicks(false); }, 1},
        {"inscript", [](auto &p) { p.SetScaleInscript(QStringLiteral("& %")); }, 1},
        {"scale pos", [](auto &p) { p.SetScalePos(30); }, 1},
        {"user ticks", [](auto &p) { p.SetUserTickText(QStringLiteral("a|b")); }, 1},
        {"visible", [](auto &p) { p.SetVisible(true); }, 1},
        {"visible equal", [](auto &p) { p.SetVisible(false); }, 1},
        {"location", [](auto &p) { p.SetScaleLocation(slTop); }, 1},
        {"location equal", [](auto &p) { p.SetScaleLocation(slBottom); }, 1},
        {"logarithmic refused", [](auto &p) { p.Loaded(), p.SetLogarithmic(true); }, 1},
        {"date separator", [](auto &p) { p.DateFormat()->SetDateSeparator(QLatin1Char('.')); }, 1},
        {"date separator equal", [](auto &p) { p.DateFormat()->SetDateSeparator(QLatin1Char('-')); }, 0},
        {"date format copied", [&](auto &p) { p.SetDateFormat(&otherDates); }, 1},
        {"date format copied from itself", [](auto &p) { p.SetDateFormat(p.DateFormat()); }, 1},
        {"date format nil", [](auto &p) { p.SetDateFormat(nullptr); }, 1},
    };
    for (const Case &c : cases) {
        TScalePropsHoriz p;
        Recorder rec;
        p.OnChange = rec.Handler();
        c.act(p);
        EXPECT_EQ(rec.Count(), c.notifications) << c.what;
        for (QObject *s : rec.senders)
            EXPECT_EQ(s, &p) << c.what;
    }
}

TEST(ScaleProps, WritingEveryPropertyWithItsOwnValueNotifiesOnce)
{
    TScalePropsVert p;
    p.Loaded();
    Recorder rec;
    p.OnChange = rec.Handler();
    const QMetaObject *mo = p.metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < mo->propertyCount(); ++i) {
        const QMetaProperty prop = mo->property(i);
        const int before = rec.Count();
        EXPECT_TRUE(prop.write(&p, prop.read(&p))) << prop.name();
        EXPECT_EQ(rec.Count(), before + 1) << prop.name();
    }
}

TEST(ScaleProps, DateFormatCopyTakesValuesNotTheObject)
{
    TScalePropsHoriz p;
    TDTLabel other;
    other.SetMonthName(false);
    other.SetTimeFormat(tfAMPM);
    other.SetTimeSeparator(QLatin1Char('.'));
    TDTLabel *own = p.DateFormat();
    p.SetDateFormat(&other);
    EXPECT_EQ(p.DateFormat(), own);
    EXPECT_EQ(own->Settings(), other.Settings());
    other.SetMonthName(true);
    EXPECT_FALSE(own->MonthName());
}

TEST(ScaleProps, DestroyedWithoutCallingBack)
{
    Recorder rec;
    {
        TScalePropsHoriz p;
        p.OnChange = rec.Handler();
    }
    EXPECT_EQ(rec.Count(), 0);
}

} // namespace
