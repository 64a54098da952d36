// Number, user-text, inscription and date/time label texts of the scales.
#include "Kesl_ScaleTicks.h"
#include "qt_printers.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <limits>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Month names come from the locale; the tests read English ones.
class ScaleDateFormat : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

TEST(ScaleFormat, FormatTickNumber)
{
    struct Case
    {
        long double value;
        int decimals;
        const char *expected;
    };
    const Case cases[] = {
        {20, 0, "20"},
        {0.2L, 2, "0.20"},
        {-3.14159L, 3, "-3.142"},
        {-0.001L, 2, "-0.00"}, // rounds to zero, keeps its sign
        {-0.0L, 2, "0.00"}, // a negative zero is no negative value
        {-0.0L, -1, " 0.0E+00"},
        {1234567.0L, 1, "1234567.0"},
        {1000, -1, " 1.0E+03"},
        {-0.000025L, -1, "-2.5E-05"},
        {500000, -1, " 5.0E+05"},
        {0, -1, " 0.0E+00"},
        {9.96e99L, -1, "********"}, // rounds up to a three-digit exponent
        {1e100L, -1, "********"},
        {-1e-100L, -1, "********"},
        {9.9e99L, -1, " 9.9E+99"},
        {kInf, -1, "********"},
        {kNaN, -1, "********"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatTickNumber(c.value, c.decimals), QString::fromLatin1(c.expected))
            << double(c.value) << " with " << c.decimals;
}

TEST(ScaleFormat, FormatTickNumberHugeFixedKeepsAllDigits)
{
    // 1e300 with 12 decimals is 313 characters; nothing is cut here (labels
    // cut to 14 later) and nothing overflows.
    const QString text = FormatTickNumber(1e300L, 12);
    EXPECT_EQ(text.size(), 301 + 1 + 12);
    EXPECT_TRUE(text.startsWith(QLatin1String("1000000000")));
}

TEST(ScaleFormat, AutoDecimals)
{
    struct Case
    {
        int decPlaces;
        long double width;
        int expected;
    };
    const Case cases[] = {
        {-2, 50, 0},     {-2, 20, 1},       {-2, 10, 1},       {-2, 5, 1},       {-2, 1, 2},
        {-2, 0.5L, 2},   {-2, 0.1L, 3},     {-2, 0.01L, 4},    {-2, 0.0002L, 5}, {-2, 100, 0},
        {-2, 999999, 0}, {-2, 1000000, -1}, {-2, 0.0001L, -1}, {-3, 20, 1},      {4, 20, 4},
        {-1, 20, -1},    {0, 0.01L, 0},     {-2, kInf, -1},    {-2, kNaN, -1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(AutoDecimals(c.decPlaces, c.width, 0), c.expected) << double(c.width) << " " << c.decPlaces;
        // Reversed ranges use the same width.
        EXPECT_EQ(AutoDecimals(c.decPlaces, 0, c.width), c.expected) << double(c.width) << " reversed";
    }
}

TEST(ScaleFormat, AutoLogDecimals)
{
    struct Case
    {
        int decPlaces;
        long double a, b;
        int expected;
    };
    const Case cases[] = {
        {-2, 0.5L, 10, 1},  {-2, 0.2L, 10, 2}, {-2, 0.01L, 10, 3}, {-2, 0.001L, 10, 4},
        {-2, 10, 0.01L, 3}, {-2, 1, 1000, 0},  {-2, 1, 2e6L, -1},  {-3, 0.01L, 10, -3},
        {-1, 1, 10, -1},    {5, 1, 10, 5},     {-2, 0, 10, -1}, // no decade below zero to count from
    };
    for (const Case &c : cases)
        EXPECT_EQ(AutoLogDecimals(c.decPlaces, c.a, c.b), c.expected) << double(c.a) << ".." << double(c.b);
}

TEST(ScaleFormat, UserTickItem)
{
    struct Case
    {
        const char *texts;
        int index;
        const char *expected;
    };
    const Case cases[] = {
        {"a|b|c", 1, "a"}, {"a|b|c", 2, "b"}, {"a|b|c", 3, "c"}, {"a|b|c", 4, "c"}, {"a|b|c", 5, "c"},
        {"a|b|", 3, ""},   {"a|b|", 7, ""},   {"", 1, ""},       {"", 3, ""},       {"solo", 2, "solo"},
        {"|x", 1, ""},     {"|x", 2, "x"},    {"a|b", 0, "a"},   {"a|b", -5, "a"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(UserTickItem(QString::fromUtf8(c.texts), c.index), QString::fromUtf8(c.expected))
            << c.texts << " #" << c.index;
}

TEST(ScaleFormat, ApplyInscript)
{
    struct Case
    {
        const char *number, *inscript, *expected;
    };
    const Case cases[] = {
        {"12", "& kg", "12 kg"}, {"12", "$", "$12"},      {"20", "& %", "20 %"}, {"20", "", "20"},
        {"", "& kg", ""},        {"5", "a&b&c", "a5b&c"}, {"5", "&", "5"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ApplyInscript(QString::fromUtf8(c.number), QString::fromUtf8(c.inscript)),
                  QString::fromUtf8(c.expected));
}

TEST(ScaleFormat, TimeLabel)
{
    struct Case
    {
        double value;
        bool ms;
        const char *expected;
    };
    const Case cases[] = {
        {3723, false, " 01:02:03"},
        {1.25, true, " 00:00:01.250"},
        {-30, false, "-00:00:30"},
        {0, true, " 00:00:00.000"},
        {360000, false, " 100:00:00"},
        {1199.9999999999, false, " 00:20:00"},
        {59.9994, true, " 00:00:59.999"},
        {0.2, true, " 00:00:00.200"},
        {0.0625, true, " 00:00:00.062"}, // ties to even
        {kNaN, true, ""},
        {kInf, false, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TimeLabel(c.value, c.ms), QString::fromLatin1(c.expected)) << c.value;
}

TEST_F(ScaleDateFormat, FormatDateTimeValue)
{
    struct Case
    {
        const char *pattern;
        double value;
        const char *expected;
        bool hundredths = false;
    };
    // 14:05:09.250 on 6 December 2026 is day 46362.
    const double t = 46362 + (14 * 3600 + 5 * 60 + 9.25) / 86400.0;
    const Case cases[] = {
        {"dd\"-\"mmm\"-\"yyyy", t, "06-Dec-2026"},
        {"yyyy\"/\"mm\"/\"dd", t, "2026/12/06"},
        {"yy", t, "26"},
        {"hh\":\"nn\":\"ss", t, "14:05:09"},
        {"hh\":\"nn\":\"ss.zz", t, "14:05:09.250"},
        {"h\"h\"nn", t, "14h05"},
        {"ham/pm", t, "2pm"},
        {"h\":\"nn\".\"ssam/pm", t, "2:05.09pm"},
        {"ham/pm", 46362.0, "12am"},
        {"ham/pm", 46362.5, "12pm"},
        {"hh", 46362.0, "00"},
        {"\"dd mm\" dd", t, "dd mm 06"}, // quoted text is literal
        {"'nn' nn", t, "nn 05"},
        {"x-y", t, "x-y"}, // other characters are copied
        {"dd.mm.yyyy", 0.0, "30.12.1899"},
        {"dd.mm.yyyy", -693593.0, "01.01.0001"},
        {"dd.mm.yyyy", 2958465.5, "31.12.9999"},
        // Negative values: the day that contains the value, time counted forward from its midnight.
        {"dd.mm.yyyy hh:nn", -1.25, "28.12.1899 18:00"},
        {"dd.mm.yyyy hh:nn", -1.0, "29.12.1899 00:00"},
        {"dd.mm.yyyy hh:nn", -0.5, "29.12.1899 12:00"},
        {"dd", 1e-9, "30"},
        {"ss.zz", 0.996 / 86400, "01.00", true}, // rounded to hundredths first, then split
        {"ss.zz", 0.25 / 86400, "00.250"},
        {"hh:nn:ss.zz", 1 - 1e-12, "23:59:59.999"}, // stays in the day that contains it
        {"dd", kNaN, ""},
        {"dd", 1e300, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatDateTimeValue(QString::fromUtf8(c.pattern), c.value, c.hundredths),
                  QString::fromUtf8(c.expected))
            << c.pattern << " @ " << c.value;
}

TEST_F(ScaleDateFormat, DateLinePattern)
{
    struct Case
    {
        bool monthName;
        TYearLength year;
        TDateOrder order;
        char sep;
        const char *expected; // the pattern applied to 6 December 2026
    };
    const Case cases[] = {
        {true, ylYYYY, doDDMMYY, '-', "06-Dec-2026"}, {false, ylYYYY, doDDMMYY, '.', "06.12.2026"},
        {true, ylYY, doMMDDYY, '/', "Dec/06/26"},     {false, ylNone, doMMDDYY, '/', "12/06"},
        {false, ylYYYY, doYYMMDD, '-', "2026-12-06"}, {true, ylNone, doYYMMDD, '-', "Dec-06"},
        {true, ylNone, doDDMMYY, ' ', "06 Dec"},      {false, ylYY, doDDMMYY, 'd', "06d12d26"},
        {false, ylYY, doDDMMYY, '"', "06\"12\"26"}, // a quote as separator stays literal
    };
    for (const Case &c : cases) {
        const QString p = DateLinePattern(c.monthName, c.year, c.order, QLatin1Char(c.sep));
        EXPECT_EQ(FormatDateTimeValue(p, 46362.75), QString::fromUtf8(c.expected)) << p.toStdString();
    }
}

} // namespace
