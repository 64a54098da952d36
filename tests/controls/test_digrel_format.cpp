#include "Kesl_DigrelFormat.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

// Readable failure output.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const QString kDeg = QString(QChar(0xB0));

struct Case
{
    TDisplay type;
    int precision;
    double value;
    QString expected;
    bool comma = false;
    bool plus = false;
};

QString Text(const Case &c)
{
    TDigrelFormat f;
    f.DisplayType = c.type;
    f.Precision = c.precision;
    f.Comma = c.comma;
    f.ForcePlusSign = c.plus;
    return DigrelValueText(c.value, f);
}

void RunTable(const std::vector<Case> &cases)
{
    for (const Case &c : cases)
        EXPECT_EQ(Text(c), c.expected) << "type " << c.type << " P " << c.precision << " value " << c.value << " comma "
                                       << c.comma << " plus " << c.plus;
}

// Month names follow the default locale; the tests read them in English.
class DigrelDateText : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_keep = QLocale();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override { QLocale::setDefault(m_keep); }

private:
    QLocale m_keep;
};

} // namespace

TEST(DigrelText, FixedPointWithSignsSeparatorsAndRounding)
{
    RunTable({
        {dtFixP, 2, 1.0, "1.00"},
        {dtFixP, 2, 1.0, "1,00", true},
        {dtFixP, 2, 1.0, "+1.00", false, true},
        {dtFixP, 2, -2.5, "-2.50"},
        {dtFixP, 2, 0.0, "0.00", false, true},
        {dtFixP, 2, -10.0, "-10.00"}, // SBarLoc at -100
        {dtFixP, 2, 0.01, "0.01"}, // SBarWid at 1
        {dtFixP, 0, 7.0, "7"}, // no decimal point at all
        {dtFixP, 0, 2.5, "3"}, // decimal halves round away from zero
        {dtFixP, 2, 2.675, "2.68"}, // as written, not as stored in binary
        {dtFixP, 2, -0.001, "0.00"}, // a value that shows as zero has no sign
        {dtFixP, 3, 9.9996, "10.000"}, // carry into a new digit
        {dtFixP, 15, 0.1, "0.100000000000000"},
        {dtFixP, 20, 1.5, "1.500000000000000"}, // precision beyond 15 reads as 15
        {dtFixP, 1, 1e20, "100000000000000000000.0"},
        {dtFixP, 2, 1234.5, "1234,50", true},
        {dtFixP, 2, 3.0, "+3,00", true, true},
    });
}

TEST(DigrelText, NonFiniteValuesInTheDecimalForms)
{
    for (TDisplay t : {dtFloat, dtFixP, dtExp}) {
        RunTable({
            {t, 2, kInf, "INF"},
            {t, 2, -kInf, "-INF"},
            {t, 2, kNaN, "NAN"},
        });
    }
}

TEST(DigrelText, GeneralForm)
{
    RunTable({
        {dtFloat, 2, 1.5e20, "1.5E20"},
        {dtFloat, 2, 1e-5, "1E-5"},
        {dtFloat, 2, 0.0, "0"},
        {dtFloat, 2, 1234.5, "1.2E3"}, // E = 4 exceeds the digits
        {dtFloat, 2, 10.0, "10"}, // E = 2 still plain
        {dtFloat, 2, 100.0, "1E2"},
        {dtFloat, 4, 12.34, "12.34"},
        {dtFloat, 2, 0.0015, "0.0015"},
        {dtFloat, 2, 0.00015, "0.00015"}, // E = -3 still plain
        {dtFloat, 2, 0.000015, "1.5E-5"},
        {dtFloat, 0, 123.0, "1.2E2"}, // at least two digits
        {dtFloat, 1, 0.25, "0.25"},
        {dtFloat, 3, -0.5, "-0.5"},
        {dtFloat, 2, 1.5, "1,5", true},
        {dtFloat, 2, 1.5, "+1.5", false, true},
        {dtFloat, 15, 1.0 / 3.0, "0.333333333333333"},
        {dtFloat, 3, 99.96, "100"}, // rounding carries into E
        {dtFloat, 2, 1e300, "1E300"},
    });
}

TEST(DigrelText, ExponentForm)
{
    RunTable({
        {dtExp, 2, 1234.5, "1.2E+003"},
        {dtExp, 2, 0.0, "0.0E+000"},
        {dtExp, 3, -0.00012345, "-1.23E-004"},
        {dtExp, 2, 1e100, "1.0E+100"},
        {dtExp, 2, 9.96, "1.0E+001"},
        {dtExp, 4, 2.0, "2.000E+000"},
        {dtExp, 1, 5.0, "5.0E+000"}, // one digit is raised to two
        {dtExp, 2, 1234.5, "1,2E+003", true},
        {dtExp, 2, 1234.5, "+1.2E+003", false, true},
        {dtExp, 2, 1e-300, "1.0E-300"},
    });
}

TEST(DigrelText, IntegerForms)
{
    RunTable({
        {dtInt, 2, 2.5, "2"},
        {dtInt, 2, 3.5, "4"},
        {dtInt, 2, -2.5, "-2"},
        {dtInt, 2, -0.4, "0"},
        {dtInt, 0, 3.4, "+3", false, true},
        {dtInt, 0, 1e19, "10000000000000000000"}, // beyond 64 bits: still every digit
        {dtInt, 0, -9.5e18, "-9500000000000000000"},
        {dtZeroInt, 3, -7.0, "-007"},
        {dtZeroInt, 3, 42.0, "042"},
        {dtZeroInt, 3, 12345.0, "12345"},
        {dtZeroInt, 0, 0.0, "0"},
        {dtZeroInt, 3, 3e9, "*********"},
        {dtZeroInt, 3, 2147483647.0, "2147483647"},
        {dtZeroInt, 3, -2147483648.0, "-2147483648"},
        {dtZeroInt, 3, 2147483647.6, "*********"},
        {dtZeroInt, 3, 5.0, "+005", false, true},
    });
}

TEST(DigrelText, HexBinaryAndOctal)
{
    RunTable({
        {dtHex, 4, 255.0, "00FF"},
        {dtHex, 4, -1.0, "FFFF"},
        {dtHex, 4, 4294967296.0, "*********"},
        {dtHex, 4, -2147483649.0, "*********"},
        {dtHex, 0, 255.0, ""},
        {dtHex, 8, 4294967295.0, "FFFFFFFF"},
        {dtHex, 15, -2.0, "FFFFFFFE"}, // at most eight digits
        {dtHex, 4, 2.5, "0002"}, // halves to the even neighbour
        {dtHex, 2, 0xABC, "BC"}, // the last digits only
        {dtHex, 4, 255.0, "00FF", true, true}, // no separator or sign rules
        {dtBin, 4, 5.0, "0101"},
        {dtBin, 0, 5.0, ""},
        {dtBin, 4, 18.0, "0010"},
        {dtBin, 15, -1.0, QString(15, QLatin1Char('1'))},
        {dtBin, 40, 1.0, QString(14, QLatin1Char('0')) + "1"}, // precision stops at 15
        {dtBin, 4, 5.0, "0101", false, true},
        {dtBin, 4, 4294967295.5, "*********"},
        {dtOct, 3, 8.0, "010"},
        {dtOct, 11, -1.0, "37777777777"},
        {dtOct, 15, 8.0, "00000000010"},
        {dtOct, 2, 8.0, "+10", false, true}, // octal takes the plus sign
        {dtOct, 0, 8.0, ""},
    });
}

TEST(DigrelText, DegreeForms)
{
    RunTable({
        {dtDeg, 2, 12.5, "12.50" + kDeg},
        {dtDeg, 12, 12.5, "12.50000000" + kDeg}, // at most eight decimals
        {dtDeg, 1, -0.5, "-0.5" + kDeg},
        {dtDeg, 1, 12.25, "12,3" + kDeg, true},
        {dtDegMin, 2, 12.5, "12" + kDeg + " 30.00'"},
        {dtDegMin, 0, 12.5, "12" + kDeg + "  30'"}, // minutes right-aligned to D + 3
        {dtDegMin, 2, -0.5, "-0" + kDeg + " 30.00'"}, // the sign survives a zero degree part
        {dtDegMin, 2, 12.999999999, "13" + kDeg + "  0.00'"}, // a full 60 minutes is the next degree
        {dtDegMin, 2, 4.999999999999, "5" + kDeg + "  0.00'"}, // snapped to the whole degree
        {dtDegMin, 2, 12.5, "+12" + kDeg + " 30,00'", true, true},
        {dtDegMinSec, 1, 12.5125, "12" + kDeg + " 30' 45.0\""},
        {dtDegMinSec, 0, 1.0, "1" + kDeg + "  0'   0\""},
        {dtDegMinSec, 0, 1.0 + 59.0 / 60 + 59.9 / 3600, "2" + kDeg + "  0'   0\""}, // seconds carry twice
        {dtDegMinSec, 2, -10.25, "-10" + kDeg + " 15'  0.00\""},
    });
}

// Minutes and seconds are rounded before they are written; a rounding up to a
// full 60 carries into the next unit instead of showing 60.
TEST(DigrelText, DegreeFormsCarryRoundedMinutesAndSeconds)
{
    RunTable({
        {dtDegMin, 2, 12.9999999, "13" + kDeg + "  0.00'"},
        {dtDegMin, 2, 12.99992, "13" + kDeg + "  0.00'"}, // 59.9952 rounds up
        {dtDegMin, 2, 12.9999, "12" + kDeg + " 59.99'"}, // 59.994 stays
        {dtDegMin, 8, 12.9999999, "12" + kDeg + " 59.99999400'"}, // enough decimals: no carry
        {dtDegMin, 0, 12.995, "13" + kDeg + "   0'"}, // 59.7 rounds to 60
        {dtDegMin, 0, 12.99, "12" + kDeg + "  59'"},
        {dtDegMin, 2, -12.9999999, "-13" + kDeg + "  0.00'"},
        {dtDegMin, 2, -0.9999999, "-1" + kDeg + "  0.00'"},
        {dtDegMin, 2, 0.9999999, "1" + kDeg + "  0.00'"},
        {dtDegMin, 2, 359.9999999, "360" + kDeg + "  0.00'"},
        {dtDegMin, 2, 12.9999999, "+13" + kDeg + "  0,00'", true, true},
        {dtDegMinSec, 1, 12.9999999, "13" + kDeg + "  0'  0.0\""}, // seconds carry into minutes into degrees
        {dtDegMinSec, 1, 12.9999, "12" + kDeg + " 59' 59.6\""},
        {dtDegMinSec, 1, 12.5 + 59.99 / 3600, "12" + kDeg + " 31'  0.0\""}, // seconds carry into minutes only
        {dtDegMinSec, 2, 12.5 + 59.99 / 3600, "12" + kDeg + " 30' 59.99\""},
        {dtDegMinSec, 0, 12.99999, "13" + kDeg + "  0'   0\""},
        {dtDegMinSec, 1, -12.9999999, "-13" + kDeg + "  0'  0.0\""},
        {dtDegMinSec, 1, 359.9999999, "360" + kDeg + "  0'  0.0\""},
    });
}

// The overflow indicator is shown exactly as set, whatever the sign and
// separator settings do to ordinary value texts.
TEST(DigrelText, OverflowIndicatorIsNeverPostProcessed)
{
    struct Row
    {
        TDisplay type;
        double value;
        QString indicator;
        bool comma;
        bool plus;
        QString expected;
    };
    const Row rows[] = {
        {dtZeroInt, 3000000000.0, "*********", false, true, "*********"},
        {dtZeroInt, 3000000000.0, "1.5", true, true, "1.5"},
        {dtZeroInt, 3000000000.0, "1,5", false, false, "1,5"},
        {dtZeroInt, 2147483647.0, "*********", false, true, "+2147483647"}, // last value that fits
        {dtZeroInt, 5.0, "5", false, true, "+005"}, // a value text equal to the indicator is still signed
        {dtOct, 5e9, "o.v", true, true, "o.v"},
        {dtOct, 8.0, "o.v", true, true, "+010"},
        {dtInt, kInf, "i.n,f", true, true, "i.n,f"},
        {dtInt, 2.5, "i.n,f", true, true, "+2"},
        {dtDeg, kInf, "d.g", true, true, "d.g"},
        {dtDegMin, kNaN, "d.g", true, false, "d.g"},
        {dtDegMinSec, kInf, "d,g", false, true, "d,g"},
        {dtEEng, kInf, "e.e", true, true, "e.e"},
        {dtEEngNoDP, kInf, "e.e", true, true, "e.e"},
        {dtEEng, 4700.0, "e.e", true, true, "+4,70k"},
        {dtHex, 5e9, "h.x", true, true, "h.x"},
        {dtBin, 5e9, "b.n", true, true, "b.n"},
    };
    for (const Row &r : rows) {
        TDigrelFormat f;
        f.DisplayType = r.type;
        f.Precision = 3;
        f.OverflowIndicator = r.indicator;
        f.Comma = r.comma;
        f.ForcePlusSign = r.plus;
        EXPECT_EQ(DigrelValueText(r.value, f), r.expected)
            << "type " << r.type << " value " << r.value << " comma " << r.comma << " plus " << r.plus;
    }
}

TEST(DigrelText, EngineeringForms)
{
    RunTable({
        {dtEEng, 2, 4700.0, "4.7k"},
        {dtEEngNoDP, 2, 4700.0, "4k7"},
        {dtEEng, 2, 47000.0, "47k"},
        {dtEEngNoDP, 2, 47000.0, "47k"},
        {dtEEng, 2, 0.0047, "4.7m"},
        {dtEEngNoDP, 2, 0.0047, "4m7"},
        {dtEEng, 2, 4.7, "4.7"},
        {dtEEng, 2, 0.0, "0.0"},
        {dtEEng, 0, 0.0, "0"},
        {dtEEng, 2, -4700.0, "-4.7k"},
        {dtEEng, 3, 2.2e-9, "2.20n"},
        {dtEEng, 2, 1e15, "1000T"}, // no prefix beyond tera
        {dtEEng, 2, 1e-20, "0.010a"}, // none below atto
        {dtEEng, 15, 4700.0, "4.70000000k"}, // precision beyond 9 reads as 9
        {dtEEng, 2, 4700.0, "4,7k", true},
        {dtEEng, 2, 4700.0, "+4.7k", false, true},
        {dtEEng, 2, kInf, "*********"},
        {dtEEngNoDP, 2, kNaN, "*********"},
    });
}

TEST(DigrelText, StateTextAndOverflowIndicatorAreTheSettings)
{
    TDigrelFormat f;
    f.DisplayType = dtState;
    f.StateText = "on.off,x";
    f.Comma = true;
    f.ForcePlusSign = true;
    EXPECT_EQ(DigrelValueText(5.0, f), "on.off,x");
    EXPECT_EQ(DigrelValueText(kNaN, f), "on.off,x");
    f.DisplayType = dtZeroInt;
    f.OverflowIndicator = "#.#";
    EXPECT_EQ(DigrelValueText(1e12, f), "#.#"); // neither "+" nor "," reaches the indicator
}

TEST(DigrelText, OverflowByWidth)
{
    struct W
    {
        int text, label;
        TDisplay type;
        bool overflows;
    };
    for (const W &w : std::vector<W> {{49, 55, dtFixP, false},
                                      {50, 55, dtFixP, true},
                                      {500, 55, dtState, false},
                                      {0, 0, dtInt, true},
                                      {10, std::numeric_limits<int>::min(), dtHex, true},
                                      {std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), dtExp, true}})
        EXPECT_EQ(DigrelTextOverflows(w.text, w.label, w.type), w.overflows) << w.text << " " << w.label;
}

TEST_F(DigrelDateText, DefaultPatternAndOthers)
{
    TDigrelFormat f;
    f.DisplayType = dtDateTime;
    EXPECT_EQ(DigrelValueText(0.0, f), "Dec-30, 1899");
    EXPECT_EQ(DigrelValueText(45000.0, f), "Mar-15, 2023");
    EXPECT_EQ(DigrelValueText(-693593.0, f), "Jan-01, 0001");
    EXPECT_EQ(DigrelValueText(2958465.99, f), "Dec-31, 9999");
    for (double bad : {-693594.0, 2958466.0, kNaN, kInf, -kInf, 1e300})
        EXPECT_EQ(DigrelValueText(bad, f), "*********") << bad;

    struct P
    {
        double value;
        QString pattern, expected;
    };
    for (const P &p : std::vector<P> {
             {45000.75, "yyyy-mm-dd hh:nn:ss", "2023-03-15 18:00:00"},
             {45000.75, "hh:mm", "18:00"}, // m after an hour is the minute
             {-1.25, "yyyy-mm-dd hh:nn", "1899-12-29 06:00"},
             {45000.75, "h:nn am/pm", "6:00 pm"},
             {45000.25, "h:nn AM/PM", "6:00 AM"},
             {45000.0, "d.m.yy", "15.3.23"},
             {45000.0, "mmmm d, dddd", "March 15, Wednesday"},
             {45000.0, "'day' d", "day 15"},
             {45000.5 + 1.5 / 86400, "ss.zzz", "01.500"},
         }) {
        f.DTFormat = p.pattern;
        f.Comma = true; // date texts keep their own separators
        EXPECT_EQ(DigrelValueText(p.value, f), p.expected) << p.pattern.toStdString();
    }
}

TEST(DigrelText, BadInputNeverLeaksRawNumbers)
{
    const double values[] = {kNaN,
                             kInf,
                             -kInf,
                             1e300,
                             -1e300,
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(),
                             9.3e18,
                             -9.3e18,
                             std::numeric_limits<double>::denorm_min(),
                             -0.0};
    for (int t = dtFloat; t <= dtEEngNoDP; ++t) {
        for (int p : {-5, 0, 1, 15, 16, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
            for (double v : values) {
                TDigrelFormat f;
                f.DisplayType = static_cast<TDisplay>(t);
                f.Precision = p;
                const QString s = DigrelValueText(v, f);
                EXPECT_FALSE(s.contains("nan") || s.contains("inf") || s.contains("e+") || s.contains("e-"))
                    << t << " " << p << " " << v << " " << s.toStdString();
                const bool decimalForm = t == dtFloat || t == dtFixP || t == dtExp || t == dtState;
                if (!std::isfinite(v) && !decimalForm) {
                    EXPECT_EQ(s, f.OverflowIndicator) << t << " " << p << " " << v;
                }
            }
        }
    }
}
