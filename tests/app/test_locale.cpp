// Numbers read the same whatever the user's locale: tick labels always use
// "." and the program's pictures do not change under a German locale.
#include "Kesl_ScaleTicks.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

// LC_NUMERIC German, as Qt leaves it for a German user, for the lifetime of
// the object. The locale is compiled into the build folder when the system
// has none (LocPath then names it).
struct GermanNumbers
{
    GermanNumbers()
    {
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
            LocPath = qEnvironmentVariable("CAUCHY_BUILD_DIR") + QStringLiteral("/locale");
            const QString target = LocPath + QStringLiteral("/de_DE.UTF-8");
            if (!QDir(target).exists() && QDir().mkpath(LocPath))
                QProcess::execute(QStringLiteral("localedef"), {"-i", "de_DE", "-f", "UTF-8", target});
            qputenv("LOCPATH", LocPath.toLocal8Bit());
        }
        Active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && *std::localeconv()->decimal_point == ',';
    }
    ~GermanNumbers() { std::setlocale(LC_NUMERIC, Saved.c_str()); }

    const std::string Saved = std::setlocale(LC_NUMERIC, nullptr);
    bool Active = false;
    QString LocPath;
};

} // namespace

TEST(Locale, TickLabelsAndSnapshotsIgnoreTheDecimalComma)
{
    GermanNumbers german;
    if (!german.Active)
        GTEST_SKIP() << "no German locale and no localedef to compile one";
    EXPECT_EQ(FormatTickNumber(0.3L, 2), QStringLiteral("0.30"));
    EXPECT_EQ(FormatTickNumber(1000, -1), QStringLiteral(" 1.0E+03"));

    const QString program = qEnvironmentVariable("CAUCHY_BIN_DIR") + QStringLiteral("/cauchy");
    QTemporaryDir run;
    ASSERT_TRUE(run.isValid());
    QFile::setPermissions(run.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    auto snapshot = [&](const QString &locale, const QStringList &args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run.path());
        for (const char *var : {"LC_ALL", "LANG", "LANGUAGE"})
            env.insert(QLatin1String(var), locale);
        if (!german.LocPath.isEmpty())
            env.insert(QStringLiteral("LOCPATH"), german.LocPath);
        const QString file = run.path() + QStringLiteral("/view.png");
        QFile::remove(file);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, QStringList {"--snapshot", file, "--seed", "7"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    for (const QStringList &args : {QStringList {"--view", "distribution", "--width", "0.35"},
                                    QStringList {"--view", "means", "--samples", "20"}}) {
        const QByteArray c = snapshot(QStringLiteral("C"), args);
        ASSERT_FALSE(c.isEmpty());
        EXPECT_TRUE(c == snapshot(QStringLiteral("de_DE.UTF-8"), args)) << args.join(' ').toStdString();
    }
}
