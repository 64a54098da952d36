// The tools' own help: what each of their modes does, without needing a display.
#include <QProcess>
#include <gtest/gtest.h>

TEST(TestHost, HelpDescribesItsModes)
{
    QProcess p;
    p.start(qEnvironmentVariable("CAUCHY_BIN_DIR") + "/testhost", {"--help"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString help = QString::fromUtf8(p.readAllStandardOutput());
    for (const char *text :
         {"--suffix", "--garbage <CODE=KIND>", "noise", "--die <CODE>", "half a reply", "quit HANDLE"})
        EXPECT_TRUE(help.contains(QLatin1String(text))) << text << "\n" << help.toStdString();
}

TEST(Demos, HelpNamesTheScreenshotWithoutOpeningAWindow)
{
    for (const char *demo : {"chartdemo", "scaledemo"}) {
        QProcess p;
        p.setProcessEnvironment(QProcessEnvironment()); // no display, no platform
        p.start(qEnvironmentVariable("CAUCHY_BIN_DIR") + "/" + demo, {"-h"});
        ASSERT_TRUE(p.waitForFinished(30000)) << demo;
        EXPECT_EQ(p.exitCode(), 0) << demo;
        EXPECT_TRUE(p.readAllStandardOutput().contains("--screenshot FILE.png")) << demo;
    }
}
