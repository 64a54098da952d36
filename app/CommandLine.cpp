#include "CommandLine.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr int kMinFontDpi = 24, kMaxFontDpi = 480;

// A value as a message shows it: on one line, and not a screenful.
QString Shown(const QString &value)
{
    constexpr qsizetype kMaxShown = 64;
    QString out = value.left(kMaxShown);
    for (QChar &c : out)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char('?');
    return value.size() > kMaxShown ? out + QStringLiteral("...") : out;
}

// A number as typed, without the blanks around it that Qt's conversions skip.
bool IsBare(const QString &text)
{
    return !text.isEmpty() && !text.front().isSpace() && !text.back().isSpace();
}

std::optional<double> FiniteNumber(const QString &text)
{
    bool ok = false;
    const double v = IsBare(text) ? text.toDouble(&ok) : 0;
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// A value the scroll bar can take: value * scale is a whole number in [min, max].
std::optional<int> ScrollPosition(const QString &text, double scale, int min, int max)
{
    const std::optional<double> v = FiniteNumber(text);
    if (!v)
        return std::nullopt;
    const double scaled = *v * scale;
    const double rounded = std::round(scaled);
    if (std::fabs(scaled - rounded) > 1e-6 || rounded < min || rounded > max)
        return std::nullopt;
    return static_cast<int>(rounded);
}

// The rule for --scale and QT_SCALE_FACTOR alike: larger factors take
// gigabytes, smaller ones or none draw nothing usable.
std::optional<double> ScaleValue(const QString &text)
{
    const std::optional<double> f = FiniteNumber(text);
    if (!f || *f < 1 || *f > 4)
        return std::nullopt;
    return f;
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

// In any letter case ("DE" as well as "de").
std::optional<QString> LanguageValue(const QString &value)
{
    const QString lower = value.toLower();
    if (lower == QLatin1String("de") || lower == QLatin1String("en"))
        return lower;
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

// One "--name[=value]" argument; a value not given with "=" is the next argument.
struct TOptionArgs
{
    const QStringList &Arguments;
    int &Index;
    QString Name, Value;
    bool HasValue;

    bool Take()
    {
        if (HasValue)
            return true;
        if (Index + 1 >= Arguments.size())
            return false;
        Value = Arguments[++Index];
        return true;
    }
};

// The option-appliers below answer nothing for a name that is not theirs, an
// empty text when the option was taken, else the message for its bad value.

// Switches and options whose values are words.
std::optional<QString> ApplyWordOption(TOptionArgs &a, TStartOptions &o)
{
    const QString &name = a.Name;
    if (name == QLatin1String("--help") && !a.HasValue) {
        o.Help = true;
    } else if (name == QLatin1String("--version") && !a.HasValue) {
        o.Version = true;
    } else if (bool *extra = ExtraSwitch(o.Extras, name); extra && !a.HasValue) {
        *extra = true;
    } else if (name == QLatin1String("--snapshot")) {
        if (!a.Take() || a.Value.isEmpty())
            return QStringLiteral("--snapshot needs a file name");
        o.Snapshot = a.Value;
    } else if (name == QLatin1String("--view")) {
        if (!a.Take())
            return QStringLiteral("--view needs distribution or means");
        if (a.Value == QLatin1String("distribution"))
            o.StartView = TStartOptions::View::Distribution;
        else if (a.Value == QLatin1String("means"))
            o.StartView = TStartOptions::View::Means;
        else
            return QStringLiteral("--view must be distribution or means, not \"%1\"").arg(Shown(a.Value));
    } else if (name == QLatin1String("--distribution")) {
        if (!a.Take())
            return QStringLiteral("--distribution needs normal or cauchy");
        if (a.Value == QLatin1String("normal"))
            o.DistributionIndex = 0;
        else if (a.Value == QLatin1String("cauchy"))
            o.DistributionIndex = 1;
        else
            return QStringLiteral("--distribution must be normal or cauchy, not \"%1\"").arg(Shown(a.Value));
    } else if (name == QLatin1String("--language")) {
        if (!a.Take())
            return QStringLiteral("--language needs de or en");
        const std::optional<QString> language = LanguageValue(a.Value);
        if (!language)
            return QStringLiteral("--language must be de or en, not \"%1\"").arg(Shown(a.Value));
        o.Language = *language;
    } else {
        return std::nullopt;
    }
    return QString();
}

// Options whose values are numbers.
std::optional<QString> ApplyNumberOption(TOptionArgs &a, TStartOptions &o)
{
    const QString &name = a.Name;
    static const QLatin1String kNumberOptions[] = {QLatin1String("--location"), QLatin1String("--width"),
                                                   QLatin1String("--samples"), QLatin1String("--seed"),
                                                   QLatin1String("--scale")};
    if (std::find(std::begin(kNumberOptions), std::end(kNumberOptions), name) == std::end(kNumberOptions))
        return std::nullopt;
    if (!a.Take() || a.Value.isEmpty())
        return QStringLiteral("%1 needs a number").arg(name);
    const QString value = a.Value, shown = Shown(value);
    bool ok = IsBare(value);
    if (name == QLatin1String("--location")) {
        if (!(o.LocationPosition = ScrollPosition(value, 10, -100, 100)))
            return QStringLiteral("--location must be a number from -10 to 10 in steps of 0.1, not \"%1\"").arg(shown);
    } else if (name == QLatin1String("--width")) {
        if (!(o.WidthPosition = ScrollPosition(value, 100, 1, 500)))
            return QStringLiteral("--width must be a number from 0.01 to 5 in steps of 0.01, not \"%1\"").arg(shown);
    } else if (name == QLatin1String("--samples")) {
        const int n = ok ? value.toInt(&ok) : 0;
        if (!ok || n < 1 || n > 500)
            return QStringLiteral("--samples must be a whole number from 1 to 500, not \"%1\"").arg(shown);
        o.Samples = n;
    } else if (name == QLatin1String("--seed")) {
        const qulonglong seed = ok ? value.toULongLong(&ok) : 0;
        if (!ok || seed > 0xFFFFFFFFull)
            return QStringLiteral("--seed must be a whole number from 0 to 4294967295, not \"%1\"").arg(shown);
        o.Seed = static_cast<std::uint32_t>(seed);
    } else if (!(o.Scale = ScaleValue(value))) {
        return QStringLiteral("--scale must be a number from 1 to 4, not \"%1\"").arg(shown);
    }
    return QString();
}

} // namespace

QString VersionText()
{
    return QStringLiteral("Cauchy Distribution " CAUCHY_VERSION);
}

void SetProgramIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("cauchy"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CAUCHY_VERSION));
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
        "  --scale F                    draw the window F times as large, 1 to 4, for a projector\n"
        "                               (default: QT_SCALE_FACTOR, else 1)\n"
        "  --language de|en             use the German or English texts shipped with the program\n"
        "                               (default: CAUCHY_LANGUAGE, else the table beside the program)\n"
        "  --theory                     draw the exact density over the histogram\n"
        "  --outside                    show the share of samples beyond -20 ... 20, counted and exact\n"
        "  --median                     draw the running median beside the running mean\n");
}

QStringList ArgumentList(int argc, char **argv)
{
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

QByteArray SnapshotPathBytes(int argc, char **argv, const QString &Parsed)
{
    static const QByteArray option = QByteArrayLiteral("--snapshot");
    QByteArray raw;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == option && i + 1 < argc)
            raw = argv[++i];
        else if (arg.startsWith(option + '='))
            raw = arg.mid(option.size() + 1);
    }
    // Only when it is the name the parser took; otherwise its own encoding.
    return QString::fromLocal8Bit(raw) == Parsed ? raw : QFile::encodeName(Parsed);
}

TStartEnvironment TStartEnvironment::FromProcess()
{
    return {qEnvironmentVariable("CAUCHY_LANGUAGE"), qEnvironmentVariable("QT_SCALE_FACTOR"),
            qEnvironmentVariable("QT_FONT_DPI")};
}

TParseResult ParseCommandLine(const QStringList &arguments, const TStartEnvironment &environment)
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
            if (qt->takesValue && !arg.contains(QLatin1Char('='))) {
                // Qt would take the next option as the value ("-platform --snapshot x.png").
                if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QLatin1Char('-')))
                    return fail(QStringLiteral("%1 needs a value").arg(Shown(arg)));
                ++i;
            }
            continue;
        }
        if (!arg.startsWith(QLatin1String("--")))
            return fail(QStringLiteral("unknown option \"%1\"").arg(Shown(arg)));
        TOptionArgs a {arguments, i, arg, QString(), false};
        if (const qsizetype eq = arg.indexOf(QLatin1Char('=')); eq > 0) {
            a.Name = arg.left(eq);
            a.Value = arg.mid(eq + 1);
            a.HasValue = true;
        }
        std::optional<QString> error = ApplyWordOption(a, o);
        if (!error)
            error = ApplyNumberOption(a, o);
        if (!error)
            return fail(QStringLiteral("unknown option \"%1\"").arg(Shown(a.Name)));
        if (!error->isEmpty())
            return fail(*error);
    }
    if (o.Samples && o.StartView != TStartOptions::View::Means)
        return fail(QStringLiteral("--samples needs --view means"));
    if (o.Language.isEmpty() && !environment.Language.isEmpty()) {
        if (const std::optional<QString> language = LanguageValue(environment.Language))
            o.Language = *language;
        else
            result.Warnings << QStringLiteral("CAUCHY_LANGUAGE must be de or en, not \"%1\"; using the table beside "
                                              "the program")
                                   .arg(Shown(environment.Language));
    }
    if (!environment.ScaleFactor.isEmpty()) {
        const std::optional<double> factor = ScaleValue(environment.ScaleFactor);
        result.DropScaleFactor = !factor;
        if (!factor && !o.Scale)
            result.Warnings << QStringLiteral("QT_SCALE_FACTOR must be a number from 1 to 4, not \"%1\"; ignored")
                                   .arg(Shown(environment.ScaleFactor));
        if (!o.Scale)
            o.Scale = factor;
    }
    // Qt draws every text at this resolution; far above a projector's it
    // takes gigabytes and minutes.
    bool ok = IsBare(environment.FontDpi);
    const int dpi = ok ? environment.FontDpi.toInt(&ok) : 0;
    if (!environment.FontDpi.isEmpty() && (!ok || dpi < kMinFontDpi || dpi > kMaxFontDpi)) {
        result.DropFontDpi = true;
        result.Warnings << QStringLiteral("QT_FONT_DPI must be a whole number from %1 to %2, not \"%3\"; ignored")
                               .arg(kMinFontDpi)
                               .arg(kMaxFontDpi)
                               .arg(Shown(environment.FontDpi));
    }
    return result;
}
