#include "CommandLine.h"
#include "Simulation.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

namespace {
// The arguments after the program's name, written as one line.
TParseResult Parse(const char *line, const QString &environmentLanguage = QString())
{
    return ParseCommandLine(QStringList {"cauchy"} + QString::fromUtf8(line).split(' ', Qt::SkipEmptyParts),
                            {environmentLanguage, {}, {}});
}
} // namespace

TEST(CommandLine, AcceptedValuesBecomeScrollPositions)
{
    constexpr auto D = TStartOptions::View::Distribution, M = TStartOptions::View::Means;
    struct Case
    {
        const char *args;
        std::optional<int> dist, loc, wid, samples;
        std::optional<std::uint32_t> seed;
        TStartOptions::View view;
    } cases[] = {
        {"", {}, {}, {}, {}, {}, D},
        {"--distribution normal", 0, {}, {}, {}, {}, D},
        {"--distribution=cauchy", 1, {}, {}, {}, {}, D},
        {"--location -10", {}, -100, {}, {}, {}, D},
        {"--location 0.3", {}, 3, {}, {}, {}, D},
        {"--location=10", {}, 100, {}, {}, {}, D},
        {"--width 0.01", {}, {}, 1, {}, {}, D},
        {"--width 5", {}, {}, 500, {}, {}, D},
        {"--width 1.23", {}, {}, 123, {}, {}, D},
        {"--view means --samples 500", {}, {}, {}, 500, {}, M},
        {"--samples 1 --view=means --seed 4294967295", {}, {}, {}, 1, 4294967295u, M},
        {"/serverhandle=abc file.txt -", {}, {}, {}, {}, {}, D},
        // Qt's own switches are left to the application object, values and all.
        {"-platform offscreen -style=fusion -reverse --width 2", {}, {}, 200, {}, {}, D},
        {"-seed 7 -h", {}, {}, {}, {}, 7u, D}, // one dash or two, as Qt's parser reads them
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args);
        const TParseResult r = Parse(c.args);
        ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
        EXPECT_EQ(r.Options.DistributionIndex, c.dist);
        EXPECT_EQ(r.Options.LocationPosition, c.loc);
        EXPECT_EQ(r.Options.WidthPosition, c.wid);
        EXPECT_EQ(r.Options.Samples, c.samples);
        EXPECT_EQ(r.Options.Seed, c.seed);
        EXPECT_EQ(r.Options.StartView, c.view);
    }
}

TEST(CommandLine, BadValuesAndUnknownOptionsAreRefusedWithAMessage)
{
    for (const char *args : {"--bogus",     "--location 10.1",   "--location 0.05", "--location nan",
                             "--location",  "--width 0",         "--width 0.005",   "--width 5.01",
                             "--width inf", "--samples 0",       "--samples 501",   "--samples x",
                             "--seed -1",   "--seed 4294967296", "--view chart",    "--distribution gauss",
                             "--snapshot",  "--help=yes",        "--style=x",       "--hepl",
                             "-x",          "--samples 5",       "--language fr",   "--language"}) {
        const TParseResult r = Parse(args);
        EXPECT_FALSE(r.Error.isEmpty()) << args;
        EXPECT_FALSE(r.Error.contains('\n')) << args;
    }
    EXPECT_TRUE(Parse("--bogus").Error.contains("--bogus"));
    EXPECT_TRUE(Parse("-x=1").Error.contains("\"-x\""));
    // Arguments (split at "|") > what the message says: blanks around a number, a
    // missing number, the first fault before an unknown option, an empty word, a
    // value given to a switch.
    const QString exact = QStringLiteral(
        "--seed| 1>not \" 1\";--samples=2 |--view|means>not \"2 \";--scale|\t2>not \"?2\";--location>--location "
        "needs a number;--width=>--width needs a number;--location|99|--bogus>not \"99\";--view=>not \"\";"
        "--log-y=1>--log-y takes no value;-compare=>-compare takes no value");
    for (const QString &c : exact.split(';'))
        EXPECT_TRUE(ParseCommandLine(QStringList {"cauchy"} + c.section('>', 0, 0).split('|'))
                        .Error.contains(c.section('>', 1)))
            << c.toStdString();
}

TEST(CommandLine, UnusableEnvironmentValuesAreWarnedAboutOnceAndIgnored)
{
    // Arguments, CAUCHY_LANGUAGE, QT_SCALE_FACTOR, QT_FONT_DPI; language and scale used; warnings.
    using E =
        std::tuple<const char *, const char *, const char *, const char *, const char *, std::optional<double>, int>;
    for (const auto &[args, language, scale, dpi, used, factor, warnings] :
         {E {"", "fr", "", "144", "", {}, 1}, E {"--help", "DE", "2.5", "", "de", 2.5, 0},
          E {"--language En", "fr", "0", "", "en", {}, 1}, E {"", "", "nan", "0", "", {}, 2},
          E {"", "", "100", "x", "", {}, 2}, E {"", "", " 2", "4000", "", {}, 2},
          E {"--scale 3", "", "-1", " 96", "", 3.0, 1}}) {
        SCOPED_TRACE(std::string(args) + "|" + language + "|" + scale + "|" + dpi);
        const TParseResult r = ParseCommandLine(QStringList {"cauchy"} + QString(args).split(' ', Qt::SkipEmptyParts),
                                                {language, scale, dpi});
        ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
        EXPECT_EQ(r.Options.Language, used);
        EXPECT_EQ(r.Options.Scale, factor);
        EXPECT_EQ(r.Warnings.size(), warnings);
        EXPECT_EQ(r.DropScaleFactor, *scale && QLatin1String(scale) != "2.5");
        EXPECT_EQ(r.DropFontDpi, *dpi && QLatin1String(dpi) != "144");
    }
}

TEST(CommandLine, TheLanguageComesFromTheOptionElseTheEnvironmentAlsoForAFault)
{
    // Arguments, the environment's language, the language used.
    const std::tuple<const char *, const char *, const char *> cases[] = {{"", "", ""},
                                                                          {"--language de", "", "de"},
                                                                          {"--language=en", "de", "en"},
                                                                          {"", "de", "de"},
                                                                          {"--bad --language=de", "en", "de"},
                                                                          {"--location 99 --language de", "", "de"},
                                                                          {"--language fr", "en", "en"}};
    for (const auto &[args, environment, language] : cases)
        EXPECT_EQ(Parse(args, QLatin1String(environment)).Options.Language, language) << args;
}

TEST(CommandLine, ExtrasTheStartViewDoesNotShowAreRefusedByTheModelsRule)
{
    const std::pair<const char *, TView> views[] = {{"--view distribution", TView::Histogram},
                                                    {"--view means", TView::RunningMeans},
                                                    {"--view mean-of-n", TView::MeansOfN}};
    const std::pair<const char *, TExtra> extras[] = {{"--theory", TExtra::DensityCurve},
                                                      {"--outside", TExtra::ShareOutside},
                                                      {"--median", TExtra::RunningMedian},
                                                      {"--log-y", TExtra::LogY},
                                                      {"--compare", TExtra::CompareOther}};
    for (const auto &[view, model] : views)
        for (const auto &[extra, which] : extras) {
            const QString line = QString::fromUtf8(view) + ' ' + extra + (model == TView::MeansOfN ? " --n 5" : "");
            const QString error = Parse(line.toUtf8().constData()).Error;
            EXPECT_EQ(error.isEmpty(), ExtraAllowed(model, which)) << line.toStdString();
            if (!error.isEmpty()) {
                EXPECT_EQ(error, QString::fromUtf8(extra) + " cannot be used with " + view);
            }
        }
}

TEST(CommandLine, HelpNamesEveryOption)
{
    const QString help = HelpText();
    for (const char *opt : {"-h,", "--help", "--version", "--snapshot", "--view", "--distribution", "--location",
                            "--width", "--samples", "--seed", "--language"})
        EXPECT_TRUE(help.contains(QLatin1String(opt))) << opt;
    EXPECT_TRUE(Parse("--help").Options.Help);
    EXPECT_TRUE(Parse("-h").Options.Help);
    EXPECT_TRUE(Parse("--version").Options.Version);
    EXPECT_TRUE(VersionText().endsWith("1.0"));
}
