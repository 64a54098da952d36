#include "CommandLine.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

namespace {
TParseResult Parse(QStringList args, const QString &environmentLanguage = QString())
{
    args.prepend("cauchy");
    return ParseCommandLine(args, environmentLanguage);
}
} // namespace

TEST(CommandLine, AcceptedValuesBecomeScrollPositions)
{
    struct Case
    {
        QStringList args;
        std::optional<int> dist, loc, wid, samples;
        std::optional<std::uint32_t> seed;
        TStartOptions::View view;
    } cases[] = {
        {{}, {}, {}, {}, {}, {}, TStartOptions::View::Distribution},
        {{"--distribution", "normal"}, 0, {}, {}, {}, {}, TStartOptions::View::Distribution},
        {{"--distribution=cauchy"}, 1, {}, {}, {}, {}, TStartOptions::View::Distribution},
        {{"--location", "-10"}, {}, -100, {}, {}, {}, TStartOptions::View::Distribution},
        {{"--location", "0.3"}, {}, 3, {}, {}, {}, TStartOptions::View::Distribution},
        {{"--location=10"}, {}, 100, {}, {}, {}, TStartOptions::View::Distribution},
        {{"--width", "0.01"}, {}, {}, 1, {}, {}, TStartOptions::View::Distribution},
        {{"--width", "5"}, {}, {}, 500, {}, {}, TStartOptions::View::Distribution},
        {{"--width", "1.23"}, {}, {}, 123, {}, {}, TStartOptions::View::Distribution},
        {{"--view", "means", "--samples", "500"}, {}, {}, {}, 500, {}, TStartOptions::View::Means},
        {{"--samples", "1", "--view=means", "--seed", "4294967295"},
         {},
         {},
         {},
         1,
         4294967295u,
         TStartOptions::View::Means},
        {{"/serverhandle=abc", "file.txt", "-"}, {}, {}, {}, {}, {}, TStartOptions::View::Distribution},
        // Qt's own switches are left to the application object, values and all.
        {{"-platform", "offscreen", "--style=fusion", "-reverse", "--width", "2"},
         {},
         {},
         200,
         {},
         {},
         TStartOptions::View::Distribution},
    };
    for (const Case &c : cases) {
        const TParseResult r = Parse(c.args);
        const QString what = c.args.join(' ');
        ASSERT_TRUE(r.Error.isEmpty()) << what.toStdString() << ": " << r.Error.toStdString();
        EXPECT_EQ(r.Options.DistributionIndex, c.dist) << what.toStdString();
        EXPECT_EQ(r.Options.LocationPosition, c.loc) << what.toStdString();
        EXPECT_EQ(r.Options.WidthPosition, c.wid) << what.toStdString();
        EXPECT_EQ(r.Options.Samples, c.samples) << what.toStdString();
        EXPECT_EQ(r.Options.Seed, c.seed) << what.toStdString();
        EXPECT_EQ(r.Options.StartView, c.view) << what.toStdString();
    }
}

TEST(CommandLine, BadValuesAndUnknownOptionsAreRefusedWithAMessage)
{
    const QStringList bad[] = {
        {"--bogus"},
        {"--location", "10.1"},
        {"--location", "0.05"},
        {"--location", "nan"},
        {"--location"},
        {"--width", "0"},
        {"--width", "0.005"},
        {"--width", "5.01"},
        {"--width", "inf"},
        {"--samples", "0"},
        {"--samples", "501"},
        {"--samples", "x"},
        {"--seed", "-1"},
        {"--seed", "4294967296"},
        {"--view", "chart"},
        {"--distribution", "gauss"},
        {"--snapshot"},
        {"--help=yes"},
        {"-help"},
        {"--hepl"},
        {"-x"},
        {"--samples", "5"},
        {"--language", "fr"},
        {"--language"},
    };
    for (const QStringList &args : bad) {
        const TParseResult r = Parse(args);
        EXPECT_FALSE(r.Error.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(r.Error.contains('\n')) << args.join(' ').toStdString();
    }
    EXPECT_TRUE(Parse({"--bogus"}).Error.contains("--bogus"));
    EXPECT_TRUE(Parse({"-help"}).Error.contains("-help"));
    EXPECT_TRUE(Parse({}, "fr").Error.contains("CAUCHY_LANGUAGE"));
}

TEST(CommandLine, TheLanguageComesFromTheOptionElseTheEnvironment)
{
    struct Case
    {
        QStringList args;
        const char *environment, *language;
    } cases[] = {
        {{}, "", ""},
        {{"--language", "de"}, "", "de"},
        {{"--language=en"}, "de", "en"},
        {{}, "de", "de"},
    };
    for (const Case &c : cases) {
        const TParseResult r = Parse(c.args, QLatin1String(c.environment));
        ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
        EXPECT_EQ(r.Options.Language, c.language) << c.args.join(' ').toStdString();
    }
}

TEST(CommandLine, HelpNamesEveryOption)
{
    const QString help = HelpText();
    for (const char *opt : {"-h,", "--help", "--version", "--snapshot", "--view", "--distribution", "--location",
                            "--width", "--samples", "--seed", "--language"})
        EXPECT_TRUE(help.contains(QLatin1String(opt))) << opt;
    EXPECT_TRUE(Parse({"--help"}).Options.Help);
    EXPECT_TRUE(Parse({"-h"}).Options.Help);
    EXPECT_TRUE(Parse({"--version"}).Options.Version);
    EXPECT_TRUE(VersionText().endsWith("1.0"));
}
