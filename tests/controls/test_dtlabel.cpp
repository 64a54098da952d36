// Date/time label settings: stored values and the change notification rules.
#include "Kesl_keslbase.h"

#include <QMetaProperty>
#include <QVariant>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct Counter
{
    int calls = 0;
    QObject *sender = nullptr;
};

void Bind(TDTLabel &l, Counter &c)
{
    l.OnChange = [&c](QObject *s) {
        ++c.calls;
        c.sender = s;
    };
}

TEST(DTLabel, DefaultsAreThoseOfAScale)
{
    const TDTLabel l;
    EXPECT_EQ(l.TimeFormat(), tfHHMMSS);
    EXPECT_EQ(l.DateSeparator(), QLatin1Char('-'));
    EXPECT_EQ(l.TimeSeparator(), QLatin1Char(':'));
    EXPECT_EQ(l.YearLength(), ylYYYY);
    EXPECT_TRUE(l.MonthName());
    EXPECT_EQ(l.DateOrder(), doDDMMYY);
    EXPECT_EQ(l.DateForTime(), dtOnePerDay);
    EXPECT_EQ(l.Settings(), TDTLabelSettings {});
}

// Each setter tells the owner of a real change only.
TEST(DTLabel, SettersNotifyOnlyOnRealChange)
{
    struct Case
    {
        const char *name;
        std::function<void(TDTLabel &)> setSame;
        std::function<void(TDTLabel &)> setOther;
        std::function<bool(const TDTLabel &)> stored;
    };
    const Case cases[] = {
        {"TimeFormat", [](TDTLabel &l) { l.SetTimeFormat(tfHHMMSS); }, [](TDTLabel &l) { l.SetTimeFormat(tfAMPM); },
         [](const TDTLabel &l) { return l.TimeFormat() == tfAMPM; }},
        {"DateOrder", [](TDTLabel &l) { l.SetDateOrder(doDDMMYY); }, [](TDTLabel &l) { l.SetDateOrder(doYYMMDD); },
         [](const TDTLabel &l) { return l.DateOrder() == doYYMMDD; }},
        {"DateSeparator", [](TDTLabel &l) { l.SetDateSeparator(QLatin1Char('-')); },
         [](TDTLabel &l) { l.SetDateSeparator(QLatin1Char('/')); },
         [](const TDTLabel &l) { return l.DateSeparator() == QLatin1Char('/'); }},
        {"TimeSeparator", [](TDTLabel &l) { l.SetTimeSeparator(QLatin1Char(':')); },
         [](TDTLabel &l) { l.SetTimeSeparator(QLatin1Char('.')); },
         [](const TDTLabel &l) { return l.TimeSeparator() == QLatin1Char('.'); }},
        {"YearLength", [](TDTLabel &l) { l.SetYearLength(ylYYYY); }, [](TDTLabel &l) { l.SetYearLength(ylNone); },
         [](const TDTLabel &l) { return l.YearLength() == ylNone; }},
        {"MonthName", [](TDTLabel &l) { l.SetMonthName(true); }, [](TDTLabel &l) { l.SetMonthName(false); },
         [](const TDTLabel &l) { return !l.MonthName(); }},
        {"DateForTime", [](TDTLabel &l) { l.SetDateForTime(dtOnePerDay); },
         [](TDTLabel &l) { l.SetDateForTime(dtAllTicks); },
         [](const TDTLabel &l) { return l.DateForTime() == dtAllTicks; }},
    };
    for (const Case &c : cases) {
        TDTLabel l;
        Counter n;
        Bind(l, n);
        c.setSame(l);
        EXPECT_EQ(n.calls, 0) << c.name << " with its current value";
        c.setOther(l);
        EXPECT_EQ(n.calls, 1) << c.name << " with a new value";
        EXPECT_EQ(n.sender, &l) << c.name;
        EXPECT_TRUE(c.stored(l)) << c.name;
    }
}

TEST(DTLabel, WithoutHandlerSettersOnlyStore)
{
    TDTLabel l;
    l.SetTimeFormat(tfHHhMM);
    l.SetDateSeparator(QLatin1Char('.'));
    EXPECT_EQ(l.TimeFormat(), tfHHhMM);
    EXPECT_EQ(l.DateSeparator(), QLatin1Char('.'));
}

TEST(DTLabel, SettingsCopyByValue)
{
    TDTLabel a;
    TDTLabelSettings s;
    s.TimeFormat = tfAMPM;
    s.DateSeparator = QLatin1Char('/');
    s.TimeSeparator = QLatin1Char('.');
    s.YearLength = ylYY;
    s.MonthName = false;
    s.DateOrder = doMMDDYY;
    s.DateForTime = dtAllTicks;
    a.SetSettings(s);
    EXPECT_EQ(a.Settings(), s);

    TDTLabel b;
    Counter n;
    Bind(b, n);
    b.SetSettings(a.Settings());
    EXPECT_EQ(b.Settings(), s);
    EXPECT_EQ(n.calls, 7); // every field differed from the defaults
    // The copy is independent of its source.
    a.SetDateSeparator(QLatin1Char('x'));
    EXPECT_EQ(b.DateSeparator(), QLatin1Char('/'));
    // Copying equal settings changes nothing and so tells nothing.
    n.calls = 0;
    b.SetSettings(s);
    EXPECT_EQ(n.calls, 0);
}

TEST(DTLabel, FieldsArePublishedProperties)
{
    TDTLabel l;
    const QMetaObject *mo = l.metaObject();
    EXPECT_STREQ(mo->className(), "TDTLabel");
    for (const char *name :
         {"TimeFormat", "DateSeparator", "TimeSeparator", "YearLength", "MonthName", "DateOrder", "DateForTime"}) {
        const int index = mo->indexOfProperty(name);
        ASSERT_GE(index, 0) << name;
        EXPECT_TRUE(mo->property(index).isWritable()) << name;
    }
    EXPECT_TRUE(l.setProperty("DateSeparator", QVariant::fromValue(QChar(QLatin1Char('/')))));
    EXPECT_EQ(l.DateSeparator(), QLatin1Char('/'));
    EXPECT_TRUE(l.setProperty("MonthName", false));
    EXPECT_FALSE(l.MonthName());
}

} // namespace
