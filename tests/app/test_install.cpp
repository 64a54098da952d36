// Installs the build into a temporary prefix once, then runs the installed
// program from elsewhere and builds a program of its own against the
// installed component library.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class Install : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        prefix = std::make_unique<QTemporaryDir>();
        elsewhere = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(prefix->isValid() && elsewhere->isValid());
        installed = Runs(qEnvironmentVariable("CAUCHY_CMAKE"),
                         {"--install", qEnvironmentVariable("CAUCHY_BUILD_DIR"), "--prefix", prefix->path()});
    }
    static void TearDownTestSuite()
    {
        prefix.reset();
        elsewhere.reset();
    }
    void SetUp() override { ASSERT_TRUE(installed); }

    // Runs a program in a directory of its own; a failure is reported with its output.
    static bool Runs(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.setWorkingDirectory(elsewhere->path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        env.remove("CAUCHY_LANGUAGE");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        const bool ok = p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        EXPECT_TRUE(ok) << program.toStdString() << ": " << p.readAll().toStdString();
        return ok;
    }
    static QString Prefix(const QString &file) { return prefix->path() + "/" + file; }
    static QImage Snapshot(const QString &program, const QString &name, QStringList args = {})
    {
        const QString shot = elsewhere->path() + "/" + name;
        Runs(program, QStringList {"--snapshot", shot, "--seed", "3"} + args);
        return QImage(shot);
    }

    static inline std::unique_ptr<QTemporaryDir> prefix, elsewhere;
    static inline bool installed = false;
};

} // namespace

TEST_F(Install, TheInstalledProgramFindsItsFilesFromAnyDirectory)
{
    for (const char *file :
         {"bin/cauchy", "share/cauchy/cauchy.itl", "share/cauchy/cauchy.png", "share/cauchy/translations/de/cauchy.itl",
          "share/cauchy/translations/en/cauchy.itl", "share/doc/cauchy/index.html", "share/doc/cauchy/index.de.html",
          "share/doc/cauchy/means.png", "share/applications/cauchy.desktop",
          "share/icons/hicolor/32x32/apps/cauchy.png"})
        EXPECT_TRUE(QFileInfo::exists(Prefix(file))) << file;
    EXPECT_FALSE(QFileInfo::exists(Prefix("bin/cauchy.itl")));

    // The installed program reads its table from share/: the build tree's picture.
    const QImage installedShot = Snapshot(Prefix("bin/cauchy"), "installed.png");
    ASSERT_FALSE(installedShot.isNull());
    EXPECT_EQ(installedShot, Snapshot(qEnvironmentVariable("CAUCHY_BIN_DIR") + "/cauchy", "built.png"));
    EXPECT_NE(installedShot, Snapshot(Prefix("bin/cauchy"), "german.png", {"--language", "de"}));

    // The same program without its files shows the bare keys: a different picture.
    QTemporaryDir bare;
    ASSERT_TRUE(QFile::copy(Prefix("bin/cauchy"), bare.path() + "/cauchy"));
    EXPECT_NE(installedShot, Snapshot(bare.path() + "/cauchy", "bare.png"));

    const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
    ASSERT_FALSE(validate.isEmpty()) << "desktop-file-validate is installed by the project's package step";
    EXPECT_TRUE(Runs(validate, {Prefix("share/applications/cauchy.desktop")}));
}

// The library's headers are installed without its internals, and every header
// it installs finds the project headers it includes beside it.
TEST_F(Install, OnlyPublicHeadersAreInstalled)
{
    const QDir include(Prefix("include/kesl"));
    const QStringList headers = include.entryList({"*.h"}, QDir::Files);
    ASSERT_TRUE(headers.contains("Kesl_kurvo.h"));
    for (const char *internal : {"PixelMath.h", "Kesl_setting.h", "SystemSettings.h", "RuntimeDirectory.h",
                                 "Kesl_ScaleTicksSink.h", "Kesl_DigrelDecimal.h", "MessageBox.h", "Theory.h"})
        EXPECT_FALSE(headers.contains(internal)) << internal;
    const QRegularExpression quoted(R"re(^\s*#\s*include\s+"([^"]+)")re", QRegularExpression::MultilineOption);
    for (const QString &h : headers) {
        EXPECT_FALSE(h.endsWith("_p.h")) << h.toStdString();
        QFile f(include.filePath(h));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << h.toStdString();
        for (const auto &m : quoted.globalMatch(QString::fromUtf8(f.readAll())))
            EXPECT_TRUE(headers.contains(m.captured(1)))
                << h.toStdString() << " includes " << m.captured(1).toStdString();
    }
}

TEST_F(Install, AProgramOfItsOwnBuildsAgainstTheInstalledLibrary)
{
    const QString cmake = qEnvironmentVariable("CAUCHY_CMAKE");
    const QString source = qEnvironmentVariable("CAUCHY_SOURCE_DIR") + "/tests/app/package_example";
    const QString build = elsewhere->path() + "/sine-build", shot = elsewhere->path() + "/sine.png";
    ASSERT_TRUE(Runs(cmake, {"-S", source, "-B", build, "-G", "Ninja", "-DCMAKE_PREFIX_PATH=" + prefix->path()}));
    ASSERT_TRUE(Runs(cmake, {"--build", build}));
    ASSERT_TRUE(Runs(build + "/sine", {shot}));

    // Red ink above the middle in the first half of the chart, below it in the second.
    const QImage img = QImage(shot).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), QSize(400, 300));
    int red[2][2] = {};
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == 0xFF0000)
                ++red[x >= img.width() / 2][y >= img.height() / 2];
    EXPECT_GT(red[0][0], 50);
    EXPECT_GT(red[1][1], 50);
    EXPECT_LT(red[0][1], red[0][0] / 4);
    EXPECT_LT(red[1][0], red[1][1] / 4);
}
