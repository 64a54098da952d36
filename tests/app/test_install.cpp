// Installs the program into a temporary prefix and runs it from elsewhere.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int RunTool(const QString &program, const QStringList &args, const QString &cwd, QString *output = nullptr)
{
    QProcess p;
    p.setWorkingDirectory(cwd);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return -1;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

TEST(Install, TheInstalledProgramFindsItsTableFromAnyDirectory)
{
    QTemporaryDir prefix, elsewhere, bare;
    ASSERT_TRUE(prefix.isValid() && elsewhere.isValid() && bare.isValid());
    QString out;
    ASSERT_EQ(RunTool(qEnvironmentVariable("CAUCHY_CMAKE"),
                      {"--install", qEnvironmentVariable("CAUCHY_BUILD_DIR"), "--prefix", prefix.path()},
                      elsewhere.path(), &out),
              0)
        << out.toStdString();

    for (const char *file : {"bin/cauchy", "bin/cauchy.itl", "bin/cauchy.png", "bin/translations/cauchy.itl",
                             "share/applications/cauchy.desktop", "share/icons/hicolor/32x32/apps/cauchy.png"})
        EXPECT_TRUE(QFileInfo::exists(prefix.path() + "/" + file)) << file;

    const QString installed = prefix.path() + "/bin/cauchy";
    const QString shot = elsewhere.path() + "/installed.png";
    ASSERT_EQ(RunTool(installed, {"--snapshot", shot, "--seed", "3"}, elsewhere.path(), &out), 0) << out.toStdString();
    const QImage installedShot(shot);
    ASSERT_FALSE(installedShot.isNull());

    // The build tree's program has the English table beside it: the same picture.
    const QString built = qEnvironmentVariable("CAUCHY_BIN_DIR") + "/cauchy";
    ASSERT_EQ(RunTool(built, {"--snapshot", elsewhere.path() + "/built.png", "--seed", "3"}, elsewhere.path()), 0);
    EXPECT_EQ(installedShot, QImage(elsewhere.path() + "/built.png"));

    // The same program without a table shows the bare keys: a different picture.
    ASSERT_TRUE(QFile::copy(installed, bare.path() + "/cauchy"));
    ASSERT_EQ(RunTool(bare.path() + "/cauchy", {"--snapshot", elsewhere.path() + "/bare.png", "--seed", "3"},
                      elsewhere.path()),
              0);
    EXPECT_NE(installedShot, QImage(elsewhere.path() + "/bare.png"));

    const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
    ASSERT_FALSE(validate.isEmpty()) << "desktop-file-validate is installed by the project's package step";
    EXPECT_EQ(RunTool(validate, {prefix.path() + "/share/applications/cauchy.desktop"}, elsewhere.path(), &out), 0)
        << out.toStdString();
    EXPECT_TRUE(QFile(prefix.path() + "/share/applications/cauchy.desktop").open(QIODevice::ReadOnly));
}
