// Date/time label settings: stored values and the change notification rules.
#include "Kesl_keslbase.h"
#include "setter_rules.h"

#include <QMetaProperty>
#include <QVariant>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

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

TEST(DTLabel, EachSetterNotifiesByItsRule)
{
    const char *A = "always", *C = "on change";
    // clang-format off
    const std::initializer_list<TRuleRow> rows = {
        {"TimeFormat", A, V(tfAMPM), Beyond(tfAMPM)}, {"DateOrder", A, V(doYYMMDD)}, {"DateSeparator", C, QChar(u'/')},
        {"TimeSeparator", C, QChar(u'.')}, {"YearLength", C, V(ylNone), Beyond(ylYYYY)}, {"MonthName", C, false},
        {"DateForTime", C, V(dtAllTicks)},
    };
    // clang-format on
    ExpectRules(rows, [](int &count) {
        auto l = std::make_unique<TDTLabel>();
        l->OnChange = [&count, p = l.get()](QObject *s) { count += s == p; };
        return l;
    });
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
    // Copying equal settings notifies only through the always-notifying fields.
    n.calls = 0;
    b.SetSettings(s);
    EXPECT_EQ(n.calls, 2);
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
