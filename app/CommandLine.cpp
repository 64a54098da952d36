#include "CommandLine.h"

#include <QCoreApplication>

#include <cmath>

namespace {

// A value the scroll bar can take: value * scale is a whole number in [min, max].
std::optional<int> ScrollPosition(const QString &text, double scale, int min, int max)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    const double scaled = v * scale;
    const double rounded = std::round(scaled);
    if (std::fabs(scaled - rounded) > 1e-6 || rounded < min || rounded > max)
        return std::nullopt;
    return static_cast<int>(rounded);
}

// Switches QApplication takes for itself; "true" where a value follows as
// the next argument unless given with "=".
struct TQtSwitch
{
    const char *name;
    bool takesValue;
};
constexpr TQtSwitch kQtSwitches[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"style", true},
    {"stylesheet", true},      {"session", true},
    {"display", true},         {"geometry", true},
    {"reverse", false},        {"widgetcount", false},
    {"nograb", false},         {"dograb", false},
    {"sync", false},
};

// The Qt switch named by an argument ("-name" or "--name", maybe "=value").
const TQtSwitch *QtSwitch(const QString &arg)
{
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    name = name.left(name.indexOf(QLatin1Char('=')));
    for (const TQtSwitch &s : kQtSwitches)
        if (name == QLatin1String(s.name))
            return &s;
    return nullptr;
}

std::optional<QString> LanguageValue(const QString &value)
{
    if (value == QLatin1String("de") || value == QLatin1String("en"))
        return value;
    return std::nullopt;
}

// The switch of a teaching extra, or null for any other name.
bool *ExtraSwitch(TTeachingExtras &extras, const QString &name)
{
    if (name == QLatin1String("--theory"))
        return &extras.DensityCurve;
    if (name == QLatin1String("--outside"))
        return &extras.ShareOutside;
    if (name == QLatin1String("--median"))
        return &extras.RunningMedian;
    return nullptr;
}

} // namespace

QString VersionText()
{
    return QStringLiteral("Cauchy Distribution 1.0");
}

void SetProgramIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("cauchy"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
}

QString HelpText()
{
    return QStringLiteral(
        "Usage: cauchy [options]\n"
        "Compares the normal and the Cauchy distribution.\n"
        "\n"
        "Options:\n"
        "  -h, --help                   show this help and exit\n"
        "  --version                    show the version and exit\n"
        "  --snapshot FILE.png          render the window after start-up to FILE.png, show nothing, exit\n"
        "  --view distribution|means    the view to start with (default: distribution)\n"
        "  --distribution normal|cauchy the distribution to start with (default: cauchy)\n"
        "  --location L                 location, -10 to 10 in steps of 0.1 (default: 0)\n"
        "  --width W                    width, 0.01 to 5 in steps of 0.01 (default: 1)\n"
        "  --samples N                  for the means view: run N of the 500 steps at once (1 to 500)\n"
        "  --seed S                     start the random numbers from S (0 to 4294967295) instead of the clock\n"
        "  --language de|en             use the German or English texts shipped with the program\n"
        "                               (default: CAUCHY_LANGUAGE, else the table beside the program)\n"
        "  --theory                     draw the exact density over the histogram\n"
        "  --outside                    show the share of samples beyond -20 ... 20, counted and exact\n"
        "  --median                     draw the running median beside the running mean\n");
}

TParseResult ParseCommandLine(const QStringList &arguments, const QString &environmentLanguage)
{
    TParseResult result;
    TStartOptions &o = result.Options;
    auto fail = [&](const QString &message) {
        result.Error = message;
        return result;
    };

    for (int i = 1; i < arguments.size(); ++i) {
        const QString arg = arguments[i];
        if (arg == QLatin1String("-h")) {
            o.Help = true;
            continue;
        }
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-"))
            continue; // host switches and forwarded parameters
        if (const TQtSwitch *qt = QtSwitch(arg)) {
            if (qt->takesValue && !arg.contains(QLatin1Char('=')))
                ++i;
            continue;
        }
        if (!arg.startsWith(QLatin1String("--")))
            return fail(QStringLiteral("unknown option \"%1\"").arg(arg));
        QString name = arg;
        QString value;
        bool hasValue = false;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq > 0) {
            name = arg.left(eq);
            value = arg.mid(eq + 1);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue)
                return true;
            if (i + 1 >= arguments.size())
                return false;
            value = arguments[++i];
            return true;
        };

        if (name == QLatin1String("--help") && !hasValue) {
            o.Help = true;
        } else if (name == QLatin1String("--version") && !hasValue) {
            o.Version = true;
        } else if (bool *extra = ExtraSwitch(o.Extras, name); extra && !hasValue) {
            *extra = true;
        } else if (name == QLatin1String("--snapshot")) {
            if (!takeValue() || value.isEmpty())
                return fail(QStringLiteral("--snapshot needs a file name"));
            o.Snapshot = value;
        } else if (name == QLatin1String("--view")) {
            if (!takeValue())
                return fail(QStringLiteral("--view needs distribution or means"));
            if (value == QLatin1String("distribution"))
                o.StartView = TStartOptions::View::Distribution;
            else if (value == QLatin1String("means"))
                o.StartView = TStartOptions::View::Means;
            else
                return fail(QStringLiteral("--view must be distribution or means, not \"%1\"").arg(value));
        } else if (name == QLatin1String("--distribution")) {
            if (!takeValue())
                return fail(QStringLiteral("--distribution needs normal or cauchy"));
            if (value == QLatin1String("normal"))
                o.DistributionIndex = 0;
            else if (value == QLatin1String("cauchy"))
                o.DistributionIndex = 1;
            else
                return fail(QStringLiteral("--distribution must be normal or cauchy, not \"%1\"").arg(value));
        } else if (name == QLatin1String("--location")) {
            if (!takeValue() || !(o.LocationPosition = ScrollPosition(value, 10, -100, 100)))
                return fail(QStringLiteral("--location must be a number from -10 to 10 in steps of 0.1, not \"%1\"")
                                .arg(value));
        } else if (name == QLatin1String("--width")) {
            if (!takeValue() || !(o.WidthPosition = ScrollPosition(value, 100, 1, 500)))
                return fail(
                    QStringLiteral("--width must be a number from 0.01 to 5 in steps of 0.01, not \"%1\"").arg(value));
        } else if (name == QLatin1String("--samples")) {
            bool ok = false;
            const int n = takeValue() ? value.toInt(&ok) : 0;
            if (!ok || n < 1 || n > 500)
                return fail(QStringLiteral("--samples must be a whole number from 1 to 500, not \"%1\"").arg(value));
            o.Samples = n;
        } else if (name == QLatin1String("--seed")) {
            bool ok = false;
            const qulonglong s = takeValue() ? value.toULongLong(&ok) : 0;
            if (!ok || s > 0xFFFFFFFFull)
                return fail(
                    QStringLiteral("--seed must be a whole number from 0 to 4294967295, not \"%1\"").arg(value));
            o.Seed = static_cast<std::uint32_t>(s);
        } else if (name == QLatin1String("--language")) {
            const std::optional<QString> language = takeValue() ? LanguageValue(value) : std::nullopt;
            if (!language)
                return fail(QStringLiteral("--language must be de or en, not \"%1\"").arg(value));
            o.Language = *language;
        } else {
            return fail(QStringLiteral("unknown option \"%1\"").arg(name));
        }
    }
    if (o.Samples && o.StartView != TStartOptions::View::Means)
        return fail(QStringLiteral("--samples needs --view means"));
    if (o.Language.isEmpty() && !environmentLanguage.isEmpty()) {
        const std::optional<QString> language = LanguageValue(environmentLanguage);
        if (!language)
            return fail(QStringLiteral("CAUCHY_LANGUAGE must be de or en, not \"%1\"").arg(environmentLanguage));
        o.Language = *language;
    }
    return result;
}
