#include "CommandLine.h"

#include "ViewRules.h"

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

// Every option once, in the order of the help: its names (a letter standing
// for a word, or words), its value's name in the help (none for a switch),
// its help line's table key; for a value, the words it may be, else what a
// missing one should have been and what a given one must be; for a switch,
// the extra it switches on.
struct TOption
{
    const char *Names;
    const char *Value = "";
    const char *Help = "";
    const char *Words = ""; // "a|b": one of these
    const char *Needs = "";
    const char *Rule = "";
    std::optional<TExtra> Extra = std::nullopt;

    QStringList NameList() const { return QString::fromLatin1(Names).split(QLatin1Char(',')); }
    QStringList WordList() const { return QString::fromLatin1(Words).split(QLatin1Char('|')); }
    bool TakesValue() const { return *Value; }
};

constexpr TOption kOptions[] = {
    {.Names = "h,help", .Help = "show this help and exit"},
    {.Names = "version", .Help = "show the version and exit"},
    {.Names = "snapshot",
     .Value = "FILE.png",
     .Help = "render the window after start-up to FILE.png, show nothing, exit",
     .Needs = "a file name"},
    {.Names = "export",
     .Value = "FILE",
     .Help = "write the chart to FILE, show nothing, exit: its picture (.svg, .pdf or .png) or its samples (.csv)",
     .Needs = "a file name"},
    {.Names = "view",
     .Value = "VIEW",
     .Help = "the view to start with: distribution, means or mean-of-n (default: distribution)",
     .Words = "distribution|means|mean-of-n"},
    {.Names = "distribution",
     .Value = "NAME",
     .Help = "the distribution to start with: normal or cauchy (default: cauchy)",
     .Words = "normal|cauchy"},
    {.Names = "location",
     .Value = "L",
     .Help = "location, -10 to 10 in steps of 0.1 (default: 0)",
     .Needs = "a number",
     .Rule = "a number from -10 to 10 in steps of 0.1"},
    {.Names = "width",
     .Value = "W",
     .Help = "width, 0.01 to 5 in steps of 0.01 (default: 1)",
     .Needs = "a number",
     .Rule = "a number from 0.01 to 5 in steps of 0.01"},
    {.Names = "samples",
     .Value = "N",
     .Help = "for the means view: run N of the 500 steps at once (1 to 500)",
     .Needs = "a number",
     .Rule = "a whole number from 1 to 500"},
    {.Names = "n",
     .Value = "N",
     .Help = "for the mean-of-n view: the histogram of means of N samples (1 to 100)",
     .Needs = "a number",
     .Rule = "a whole number from 1 to 100"},
    {.Names = "seed",
     .Value = "S",
     .Help = "start the random numbers from S (0 to 4294967295) instead of the clock",
     .Needs = "a number",
     .Rule = "a whole number from 0 to 4294967295"},
    {.Names = "scale",
     .Value = "F",
     .Help = "draw the window F times as large, 1 to 4, for a projector (default: QT_SCALE_FACTOR, else 1)",
     .Needs = "a number",
     .Rule = "a number from 1 to 4"},
    {.Names = "language",
     .Value = "de|en",
     .Help = "use the German or English texts shipped with the program (default: CAUCHY_LANGUAGE, else the "
             "table beside the program)",
     .Words = "de|en"},
    {.Names = "theory", .Help = "draw the exact density over the histogram", .Extra = TExtra::DensityCurve},
    {.Names = "outside",
     .Help = "show the share of samples beyond -20 ... 20, counted and exact",
     .Extra = TExtra::ShareOutside},
    {.Names = "median", .Help = "draw the running median beside the running mean", .Extra = TExtra::RunningMedian},
    {.Names = "log-y", .Help = "draw the histogram on a logarithmic y axis, to show the tails", .Extra = TExtra::LogY},
    {.Names = "compare",
     .Help = "draw the other distribution's density beside this one's",
     .Extra = TExtra::CompareOther},
};

const TOption *Find(const QString &name)
{
    for (const TOption &option : kOptions)
        if (option.NameList().contains(name))
            return &option;
    return nullptr;
}

const TOption *FindExtra(TExtra extra)
{
    for (const TOption &option : kOptions)
        if (option.Extra == extra)
            return &option;
    return nullptr;
}

// The arguments that name the option Name, whole, up to a "--" that ends the
// options. The parser reads "-name" as "--name" and keeps neither; a message
// shows what was typed.
QStringList Naming(const QStringList &arguments, const QString &name)
{
    QStringList out;
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        const QString written = arguments[i].section(QLatin1Char('='), 0, 0);
        if (written == QLatin1Char('-') + name || written == QLatin1String("--") + name)
            out << arguments[i];
    }
    return out;
}

// Qt writes its switches with one dash and a word.
bool WrittenAsQt(const QString &argument)
{
    const QString written = argument.section(QLatin1Char('='), 0, 0);
    return written.size() > 2 && !written.startsWith(QLatin1String("--"));
}

// Puts the value of the option into O; false when it is not usable.
bool Take(const TOption &option, const QString &value, TStartOptions &o)
{
    const QString name = option.NameList().constLast();
    const qsizetype word = option.WordList().indexOf(value);
    if (option.Extra)
        SetExtraOn(o.Extras, *option.Extra, true);
    else if (name == QLatin1String("help"))
        o.Help = true;
    else if (name == QLatin1String("version"))
        o.Version = true;
    else if (name == QLatin1String("snapshot"))
        o.Snapshot = value;
    else if (name == QLatin1String("export"))
        o.Export = value;
    else if (name == QLatin1String("view") && word >= 0)
        o.StartView = TStartOptions::View(word); // in the order of the words
    else if (name == QLatin1String("distribution") && word >= 0)
        o.DistributionIndex = int(word);
    else if (name == QLatin1String("language") && LanguageValue(value))
        o.Language = *LanguageValue(value);
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
QString Apply(const TOption &option, const std::optional<QString> &value, TStartOptions &o)
{
    const QString name = QLatin1String("--") + option.NameList().constLast();
    const QString words = option.WordList().join(QStringLiteral(" or "));
    // An empty number or file name counts as none; an empty word is not one of the words.
    if (option.TakesValue() && (!value || (value->isEmpty() && *option.Needs)))
        return QStringLiteral("%1 needs %2").arg(name, *option.Needs ? QLatin1String(option.Needs) : words);
    if (!Take(option, value.value_or(QString()), o))
        return QStringLiteral("%1 must be %2, not \"%3\"")
            .arg(name, *option.Rule ? QLatin1String(option.Rule) : words, Shown(*value));
    return {};
}

// The faults the parser found besides the values: a value given to a switch,
// an option the program does not know that is not written as Qt's.
QString WordingFault(const QCommandLineParser &parser, const QStringList &arguments)
{
    for (const QString &name : parser.optionNames())
        if (!Find(name)->TakesValue())
            for (const QString &argument : Naming(arguments, name))
                if (argument.contains(QLatin1Char('=')))
                    return QStringLiteral("%1 takes no value").arg(argument.section(QLatin1Char('='), 0, 0));
    for (const QString &name : parser.unknownOptionNames())
        for (const QString &argument : Naming(arguments, name))
            if (!WrittenAsQt(argument))
                return QStringLiteral("unknown option \"%1\"").arg(Shown(argument.section(QLatin1Char('='), 0, 0)));
    return {};
}

// The options that do not go together; the extras the start view shows are
// the model's to say.
QString CombinationFault(const TStartOptions &o)
{
    if (!o.Snapshot.isEmpty() && !o.Export.isEmpty())
        return QStringLiteral("--export and --snapshot cannot be used together");
    if (o.Samples && o.StartView != TStartOptions::View::Means)
        return QStringLiteral("--samples needs --view means");
    if (o.MeanOf && o.StartView != TStartOptions::View::MeanOfN)
        return QStringLiteral("--n needs --view mean-of-n");
    if (!o.MeanOf && o.StartView == TStartOptions::View::MeanOfN)
        return QStringLiteral("--view mean-of-n needs --n");
    constexpr TView kModelView[] = {TView::Histogram, TView::RunningMeans, TView::MeansOfN}; // by TStartOptions::View
    const std::optional<TExtra> extra = ForbiddenExtra(kModelView[int(o.StartView)], o.Extras);
    if (!extra)
        return {};
    const QString view = Find(QStringLiteral("view"))->WordList().at(int(o.StartView));
    return FillPlaceholders(
        QStringLiteral("<%1%> cannot be used with <%2%>"),
        {QLatin1String("--") + QLatin1String(FindExtra(*extra)->Names), QStringLiteral("--view ") + view});
}

// The command line into O; the message for the first fault, or nothing. All
// of it is read even then, so that the language is known.
QString ParseOptions(const QStringList &arguments, TStartOptions &o)
{
    QCommandLineParser parser;
    // "-name" is "--name", as Qt reads its own switches.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const TOption &option : kOptions)
        parser.addOption(QCommandLineOption(option.NameList(), QString(), QLatin1String(option.Value)));
    const bool clean = parser.parse(arguments.isEmpty() ? QStringList {QString()} : arguments);
    QString error;
    QHash<const TOption *, qsizetype> seen; // values taken, per option
    for (const QString &name : parser.optionNames()) {
        const TOption &option = *Find(name);
        const QStringList values = parser.values(name);
        const qsizetype n = seen[&option]++;
        const QString fault = Apply(option, n < values.size() ? std::optional(values[n]) : std::nullopt, o);
        if (error.isEmpty())
            error = fault;
    }
    // The parser's own complaints are of a value missing at the end, found
    // above, and of the faults below; its texts are not the program's.
    if (error.isEmpty() && !clean)
        error = WordingFault(parser, arguments);
    return error.isEmpty() ? CombinationFault(o) : error;
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

QString HelpText(const TTextLookup &text)
{
    const auto tr = [&text](const char *key) {
        const QString k = QString::fromUtf8(key);
        return text ? text(k, {}) : k;
    };
    QCommandLineParser parser;
    for (const TOption &option : kOptions)
        parser.addOption(QCommandLineOption(option.NameList(), tr(option.Help), QLatin1String(option.Value)));
    // Qt aligns the column and wraps the texts in the table's language. Its
    // first three lines (usage, a blank, "Options:") name the program by the
    // path it was started with, in Qt's language: those are the table's.
    return tr("Usage: cauchy [options]") + QLatin1Char('\n') + tr("Compares the normal and the Cauchy distribution.") +
        QStringLiteral("\n\n") + tr("Options:") + QLatin1Char('\n') + parser.helpText().section(QLatin1Char('\n'), 3);
}

QStringList ArgumentList(int argc, char **argv)
{
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

QByteArray FileArgumentBytes(int argc, char **argv, const QByteArray &Option, const QString &Parsed)
{
    QByteArray raw;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == Option && i + 1 < argc)
            raw = argv[++i];
        else if (arg.startsWith(Option + '='))
            raw = arg.mid(Option.size() + 1);
    }
    // Only when it is the name the parser took; otherwise its own encoding.
    return QString::fromLocal8Bit(raw) == Parsed ? raw : QFile::encodeName(Parsed);
}

QByteArray SnapshotPathBytes(int argc, char **argv, const QString &Parsed)
{
    return FileArgumentBytes(argc, argv, QByteArrayLiteral("--snapshot"), Parsed);
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
    else if (result.Options.Language.isEmpty()) // the fault is said in the environment's language
        result.Options.Language = LanguageValue(environment.Language).value_or(QString());
    return result;
}
