#include "Kesl_DateTimePattern_p.h"

#include <gtest/gtest.h>

namespace {

// The same pattern and value read by the numeric label's and the scales' options.
TEST(DateTimePattern, OptionsDecideWhereTheTwoUsesDiffer)
{
    const TDateTimePatternOptions label {.WideLetters = true};
    const TDateTimePatternOptions scale {.ContainingDay = true, .First = -1e8, .End = 1e8};
    const TDateTimePatternOptions hundredths {.ContainingDay = true, .Hundredths = true};
    const double t = 46362 + (14 * 3600 + 5 * 60 + 9.005) / 86400.0; // 2026-12-06 14:05:09.005
    struct Case
    {
        const char *pattern;
        double value;
        const TDateTimePatternOptions &options;
        const char *expected; // nullptr: no text
    } cases[] = {
        {"dd.mm.yyyy hh:nn:ss", t, label, "06.12.2026 14:05:09"},
        {"dd.mm.yyyy hh:nn:ss", t, scale, "06.12.2026 14:05:09"},
        {"DD.MM.YY H:mm", t, label, "06.12.26 14:05"},
        {"DD.MM.YY H:mm", t, scale, "DD.MM.YY H:12"},
        {"x-y ss.zz", t, label, "x-26 09.5"},
        {"x-y ss.zz", t, scale, "x-y 09.05"},
        {"ss.zz", 46362 + 9.006 / 86400.0, hundredths, "09.01"},
        {"h AM/PM a/p", t, label, "2 PM p"},
        {"h AM/PM a/p", t, scale, "2 pm a/p"},
        {"dd hh:nn", -1.25, label, "29 06:00"},
        {"dd hh:nn", -1.25, scale, "28 18:00"},
        {"'am/pm' hh", t, scale, "am/pm 14"},
        {"yyyy", 2958466.0, label, nullptr},
        {"yyyy", 2958466.0, scale, "10000"},
    };
    for (const Case &c : cases) {
        const std::optional<QString> text = FormatDateTimePattern(QString::fromLatin1(c.pattern), c.value, c.options);
        EXPECT_EQ(text, c.expected ? std::optional<QString>(QString::fromLatin1(c.expected)) : std::nullopt)
            << c.pattern << " @ " << c.value << ": " << text.value_or("(none)").toStdString();
    }
}

} // namespace
