#include "CommandLine.h"

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

} // namespace

QString VersionText()
{
    return QStringLiteral("Cauchy Distribution 1.0");
}

QString HelpText()
{
    return QStringLiteral(
        "Usage: cauchy [options]\n"
        "Compares the normal and the Cauchy distribution.\n"
        "\n"
        "Options:\n"
        "  --help                       show this help and exit\n"
        "  --version                    show the version and exit\n"
        "  --snapshot FILE.png          render the window after start-up to FILE.png, show nothing, exit\n"
        "  --view distribution|means    the view to start with (default: distribution)\n"
        "  --distribution normal|cauchy the distribution to start with (default: cauchy)\n"
        "  --location L                 location, -10 to 10 in steps of 0.1 (default: 0)\n"
        "  --width W                    width, 0.01 to 5 in steps of 0.01 (default: 1)\n"
        "  --samples N                  for the means view: run N of the 500 steps at once (1 to 500)\n"
        "  --seed S                     start the random numbers from S (0 to 4294967295) instead of the clock\n");
}

TParseResult ParseCommandLine(const QStringList &arguments)
{
    TParseResult result;
    TStartOptions &o = result.Options;
    auto fail = [&](const QString &message) {
        result.Error = message;
        return result;
    };

    for (int i = 1; i < arguments.size(); ++i) {
        const QString arg = arguments[i];
        if (!arg.startsWith(QLatin1String("--")))
            continue; // host switches and forwarded parameters
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
        } else {
            return fail(QStringLiteral("unknown option \"%1\"").arg(name));
        }
    }
    return result;
}
