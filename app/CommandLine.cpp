#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <cmath>

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

// A whole number from min to max, written in decimal.
std::optional<qulonglong> WholeNumber(const QString &text, qulonglong min, qulonglong max)
{
    bool ok = IsBare(text);
    const qulonglong v = ok ? text.toULongLong(&ok) : 0;
    if (!ok || v < min || v > max)
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

// In any letter case ("DE" as well as "de").
std::optional<QString> LanguageValue(const QString &value)
{
    const QString lower = value.toLower();
    if (lower == QLatin1String("de") || lower == QLatin1String("en"))
        return lower;
    return std::nullopt;
}

// Every option once, in the order of the help: its names, its value's name
// ("a|b": one of these words), the help line, what a missing value should
// have been and what a given one must be (for words: one of them). Qt's own
// switches have no help line; they are known so that their values are not
// read as options.
struct TOption
{
    const char *Names; // a letter or words, separated by ","
    const char *Value = ""; // empty for a switch
    const char *Help = "";
    const char *Needs = "";
    const char *Rule = "";

    QStringList NameList() const { return QString::fromLatin1(Names).split(QLatin1Char(',')); }
    QStringList Words() const { return QString::fromLatin1(Value).split(QLatin1Char('|')); }
    bool TakesValue() const { return *Value; }
    bool IsQt() const { return !*Help; }
};

constexpr TOption kOptions[] = {
    {"h,help", "", "show this help and exit"},
    {"version", "", "show the version and exit"},
    {"snapshot", "FILE.png", "render the window after start-up to FILE.png, show nothing, exit", "a file name"},
    {"export", "FILE", "write the chart's picture to FILE (.svg, .pdf or .png), show nothing, exit", "a file name"},
    {"view", "distribution|means|mean-of-n", "the view to start with (default: distribution)"},
    {"distribution", "normal|cauchy", "the distribution to start with (default: cauchy)"},
    {"location", "L", "location, -10 to 10 in steps of 0.1 (default: 0)", "a number",
     "a number from -10 to 10 in steps of 0.1"},
    {"width", "W", "width, 0.01 to 5 in steps of 0.01 (default: 1)", "a number",
     "a number from 0.01 to 5 in steps of 0.01"},
    {"samples", "N", "for the means view: run N of the 500 steps at once (1 to 500)", "a number",
     "a whole number from 1 to 500"},
    {"n", "N", "for the mean-of-n view: the histogram of means of N samples (1 to 100)", "a number",
     "a whole number from 1 to 100"},
    {"seed", "S", "start the random numbers from S (0 to 4294967295) instead of the clock", "a number",
     "a whole number from 0 to 4294967295"},
    {"scale", "F", "draw the window F times as large, 1 to 4, for a projector\n(default: QT_SCALE_FACTOR, else 1)",
     "a number", "a number from 1 to 4"},
    {"language", "de|en",
     "use the German or English texts shipped with the program\n"
     "(default: CAUCHY_LANGUAGE, else the table beside the program)"},
    {"theory", "", "draw the exact density over the histogram"},
    {"outside", "", "show the share of samples beyond -20 ... 20, counted and exact"},
    {"median", "", "draw the running median beside the running mean"},
    {"log-y", "", "draw the histogram on a logarithmic y axis, to show the tails"},
    {"compare", "", "draw the other distribution's density beside this one's"},
    // QApplication's and the platforms', written with one dash or two.
    {"platform,platformpluginpath,platformtheme,plugin,qwindowgeometry,qwindowicon,qwindowtitle,style,stylesheet,"
     "session,display,geometry",
     "value"},
    {"reverse,widgetcount,nograb,dograb,sync"},
};

const TOption *Find(const QString &name)
{
    for (const TOption &option : kOptions)
        if (option.NameList().contains(name))
            return &option;
    return nullptr;
}

// How a name of the program's is written: one dash for a letter standing for
// a word (-h for --help), two for a word and for a letter alone (--n).
QString Written(const QString &name)
{
    const TOption *option = Find(name);
    const bool shortForm = name.size() == 1 && option && option->NameList().size() > 1;
    return (shortForm ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The parser reads "-name" as "--name" and "--h" as "-h". Here the program's
// options are written as Written gives and take a value only if they have one;
// Qt's switches are written either way (as Qt reads them). The index of the
// first argument that is no option so written, or the count. Values are
// stepped over as the parser takes them.
qsizetype FirstUnknown(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-"))
            continue; // host switches and forwarded parameters
        const QString written = arg.section(QLatin1Char('='), 0, 0);
        const QString name = written.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        const TOption *option = Find(name);
        const bool hasValue = arg.contains(QLatin1Char('='));
        if (!option || (!option->IsQt() && (written != Written(name) || (!option->TakesValue() && hasValue))))
            return i;
        if (option->TakesValue() && !hasValue)
            ++i;
    }
    return arguments.size();
}

// Puts the value of the option Name into O; false when it is not usable.
bool Take(const QString &name, const QString &value, TStartOptions &o)
{
    const qsizetype word = Find(name)->Words().indexOf(value);
    const std::optional<QString> language = LanguageValue(value);
    if (name == QLatin1String("h") || name == QLatin1String("help"))
        o.Help = true;
    else if (name == QLatin1String("version"))
        o.Version = true;
    else if (name == QLatin1String("theory"))
        o.Extras.DensityCurve = true;
    else if (name == QLatin1String("outside"))
        o.Extras.ShareOutside = true;
    else if (name == QLatin1String("median"))
        o.Extras.RunningMedian = true;
    else if (name == QLatin1String("compare"))
        o.Extras.CompareOther = true;
    else if (name == QLatin1String("log-y"))
        o.Extras.LogY = true;
    else if (name == QLatin1String("snapshot"))
        o.Snapshot = value;
    else if (name == QLatin1String("export"))
        o.Export = value;
    else if (name == QLatin1String("view") && word >= 0)
        o.StartView = word == 1 ? TStartOptions::View::Means
            : word == 2         ? TStartOptions::View::MeanOfN
                                : TStartOptions::View::Distribution;
    else if (name == QLatin1String("distribution") && word >= 0)
        o.DistributionIndex = int(word);
    else if (name == QLatin1String("language") && language)
        o.Language = *language;
    else if (name == QLatin1String("location"))
        return bool(o.LocationPosition = ScrollPosition(value, 10, -100, 100));
    else if (name == QLatin1String("width"))
        return bool(o.WidthPosition = ScrollPosition(value, 100, 1, 500));
    else if (name == QLatin1String("samples"))
        return bool(o.Samples = WholeNumber(value, 1, 500));
    else if (name == QLatin1String("n"))
        return bool(o.MeanOf = WholeNumber(value, 1, 100));
    else if (name == QLatin1String("seed"))
        return bool(o.Seed = WholeNumber(value, 0, 0xFFFFFFFFull));
    else if (name == QLatin1String("scale"))
        return bool(o.Scale = ScaleValue(value));
    else
        return false; // not one of the option's words
    return true;
}

// What one option found on the command line does; the message when its value
// is missing or not usable.
QString Apply(const QString &name, const std::optional<QString> &value, TStartOptions &o)
{
    const TOption &option = *Find(name);
    if (option.IsQt()) // Qt would take the next option as the value ("-platform --snapshot x.png").
        return option.TakesValue() && (!value || value->startsWith(QLatin1Char('-')))
            ? QStringLiteral("-%1 needs a value").arg(name)
            : QString();
    const QString words = option.Words().join(QStringLiteral(" or "));
    // An empty number or file name counts as none; an empty word is not one of the words.
    if (option.TakesValue() && (!value || (value->isEmpty() && *option.Needs)))
        return QStringLiteral("%1 needs %2").arg(Written(name), *option.Needs ? QLatin1String(option.Needs) : words);
    if (!Take(name, value.value_or(QString()), o))
        return QStringLiteral("%1 must be %2, not \"%3\"")
            .arg(Written(name), *option.Rule ? QLatin1String(option.Rule) : words, Shown(*value));
    return {};
}

// The command line into O; the message for the first fault, or nothing.
QString ParseOptions(const QStringList &arguments, TStartOptions &o)
{
    // The options before an unknown one are read first: their faults come first.
    const qsizetype unknown = FirstUnknown(arguments);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const TOption &option : kOptions)
        parser.addOption(QCommandLineOption(option.NameList(), QString(), QLatin1String(option.Value)));
    // Its complaints are of a value missing at the end, found below, and of a
    // value given to a switch of Qt's, which Qt leaves alone.
    parser.parse(unknown > 0 ? arguments.first(unknown) : QStringList {QString()});
    QHash<const TOption *, qsizetype> seen; // values taken, per option
    for (const QString &name : parser.optionNames()) {
        const QStringList values = parser.values(name);
        const qsizetype n = seen[Find(name)]++;
        const QString error = Apply(name, n < values.size() ? std::optional(values[n]) : std::nullopt, o);
        if (!error.isEmpty())
            return error;
    }
    if (unknown < arguments.size())
        return QStringLiteral("unknown option \"%1\"").arg(Shown(arguments[unknown].section(QLatin1Char('='), 0, 0)));
    if (!o.Snapshot.isEmpty() && !o.Export.isEmpty())
        return QStringLiteral("--export and --snapshot cannot be used together");
    if (o.Samples && o.StartView != TStartOptions::View::Means)
        return QStringLiteral("--samples needs --view means");
    if (o.MeanOf && o.StartView != TStartOptions::View::MeanOfN)
        return QStringLiteral("--n needs --view mean-of-n");
    if (!o.MeanOf && o.StartView == TStartOptions::View::MeanOfN)
        return QStringLiteral("--view mean-of-n needs --n");
    return {};
}

// The language, scale and font resolution the environment asks for.
void ReadEnvironment(const TStartEnvironment &environment, TParseResult &result)
{
    TStartOptions &o = result.Options;
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
    if (!environment.FontDpi.isEmpty() && !WholeNumber(environment.FontDpi, kMinFontDpi, kMaxFontDpi)) {
        result.DropFontDpi = true;
        result.Warnings << QStringLiteral("QT_FONT_DPI must be a whole number from %1 to %2, not \"%3\"; ignored")
                               .arg(kMinFontDpi)
                               .arg(kMaxFontDpi)
                               .arg(Shown(environment.FontDpi));
    }
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
    QString text = QStringLiteral("Usage: cauchy [options]\n"
                                  "Compares the normal and the Cauchy distribution.\n"
                                  "\n"
                                  "Options:\n");
    // Names and value in a column of 28, the text after it; its further lines under it.
    constexpr qsizetype kColumn = 28;
    const QString under = QLatin1Char('\n') + QString(kColumn + 3, QLatin1Char(' '));
    for (const TOption &option : kOptions) {
        if (option.IsQt())
            continue;
        QStringList names;
        for (const QString &name : option.NameList())
            names << Written(name);
        QString left = names.join(QStringLiteral(", "));
        if (option.TakesValue())
            left += QLatin1Char(' ') + QLatin1String(option.Value);
        text += QStringLiteral("  ") + left.leftJustified(kColumn) + QLatin1Char(' ') +
            QString::fromLatin1(option.Help).replace(QLatin1Char('\n'), under) + QLatin1Char('\n');
    }
    return text;
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
    result.Error = ParseOptions(arguments, result.Options);
    if (result.Error.isEmpty())
        ReadEnvironment(environment, result);
    return result;
}
