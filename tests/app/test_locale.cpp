// Numbers read the same whatever the user's locale: tick labels always use
// "." and the program's pictures do not change under a German locale.
#include "Kesl_ScaleTicks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <optional>
#include <string>

namespace {

const char *const kGerman = "de_DE.UTF-8";

// Makes a German locale loadable and returns the LOCPATH it needs (empty when
// the system has one). Compiles it into the build folder when it has none;
// nothing when that cannot be done either.
std::optional<QString> GermanLocalePath()
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const bool system = std::setlocale(LC_NUMERIC, kGerman) != nullptr;
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (system)
        return QString();
    const QString dir = qEnvironmentVariable("CAUCHY_BUILD_DIR") + QStringLiteral("/locale");
    const QString target = dir + QStringLiteral("/") + QLatin1String(kGerman);
    if (!QFileInfo::exists(target)) {
        QDir().mkpath(dir);
        QProcess::execute(QStringLiteral("localedef"), {"-i", "de_DE", "-f", "UTF-8", target});
    }
    if (!QFileInfo::exists(target))
        return std::nullopt;
    return dir;
}

// LC_NUMERIC German for the lifetime of the object (as Qt leaves it when the
// user's locale is German), with the C library's own decimal comma checked.
class GermanNumbers
{
public:
    explicit GermanNumbers(const QString &locPath) : m_saved(std::setlocale(LC_NUMERIC, nullptr))
    {
        if (!locPath.isEmpty())
            qputenv("LOCPATH", locPath.toLocal8Bit());
        Active = std::setlocale(LC_NUMERIC, kGerman) != nullptr;
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 0.5);
        Active = Active && std::string(probe) == "0,5";
    }
    ~GermanNumbers() { std::setlocale(LC_NUMERIC, m_saved.c_str()); }

    bool Active = false;

private:
    std::string m_saved;
};

class Locale : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::optional<QString> path = GermanLocalePath();
        if (!path)
            GTEST_SKIP() << "no German locale and no localedef to compile one";
        m_locPath = *path;
    }

    QString m_locPath;
};

} // namespace

TEST_F(Locale, TickLabelsKeepTheDecimalPoint)
{
    GermanNumbers german(m_locPath);
    ASSERT_TRUE(german.Active);
    EXPECT_EQ(FormatTickNumber(0.3L, 2), QStringLiteral("0.30"));
    EXPECT_EQ(FormatTickNumber(-20, 1), QStringLiteral("-20.0"));
    EXPECT_EQ(FormatTickNumber(1000, -1), QStringLiteral(" 1.0E+03"));

    // Automatic logarithmic labels lose their trailing zeros.
    TScaleTickSettings s;
    s.RangeLow = 0.01;
    s.RangeHigh = 10;
    s.Logarithmic = true;
    QStringList labels;
    for (const TScaleTick &t : LogTickPass(s).Ticks)
        labels << t.Label;
    EXPECT_EQ(labels, QStringList({"0.01", "0.1", "1", "10"}));
}

TEST_F(Locale, SnapshotsUnderAGermanLocaleEqualThoseUnderC)
{
    const QString program = qEnvironmentVariable("CAUCHY_BIN_DIR") + QStringLiteral("/cauchy");
    ASSERT_TRUE(QFileInfo(program).isExecutable()) << program.toStdString();
    QTemporaryDir run;
    ASSERT_TRUE(run.isValid());
    QFile::setPermissions(run.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    auto snapshot = [&](const char *locale, const QStringList &args, const QString &name) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run.path());
        for (const char *var : {"LC_ALL", "LANG", "LANGUAGE"})
            env.insert(QLatin1String(var), QLatin1String(locale));
        if (!m_locPath.isEmpty())
            env.insert(QStringLiteral("LOCPATH"), m_locPath);
        const QString file = run.path() + QStringLiteral("/") + name;
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, QStringList {"--snapshot", file, "--seed", "7"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QStringList views[] = {
        {"--view", "distribution", "--width", "0.35"},
        {"--view", "means", "--samples", "20"},
    };
    for (const QStringList &args : views) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const QByteArray c = snapshot("C", args, QStringLiteral("c.png"));
        const QByteArray german = snapshot(kGerman, args, QStringLiteral("de.png"));
        ASSERT_FALSE(c.isEmpty());
        EXPECT_TRUE(c == german) << "the picture differs under " << kGerman;
    }
}
