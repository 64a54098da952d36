// The real program on an X server of its own, each table at scales 1, 2 and 4 (lowered): settled, it idles.
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// CPU time of all the threads of a process, in milliseconds.
double CpuMs(qint64 pid)
{
    double ns = 0;
    const QString tasks = QStringLiteral("/proc/%1/task/").arg(pid);
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFile f(tasks + task + "/schedstat"); f.open(QIODevice::ReadOnly))
            ns += f.readAll().split(' ').value(0).toDouble();
    }
    return ns / 1e6;
}

double CpuWhileWaiting(qint64 pid, int ms)
{
    const double before = CpuMs(pid);
    QTest::qWait(ms); // the parent's polling costs the program nothing
    return CpuMs(pid) - before;
}
} // namespace

TEST(WindowIdle, EachTableAtScalesOneTwoAndFour)
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        GTEST_SKIP() << "needs Xvfb (the package xvfb)";
    QProcess server; // -displayfd: it picks a free display and names it once it is ready
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1920x1080x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForReadyRead(30000));
    QTemporaryDir run; // made for its owner alone
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", ':' + QString::fromLatin1(server.readAllStandardOutput()).trimmed());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_RUNTIME_DIR", run.path());
    for (const char *language : {"en", "de"}) {
        for (const char *scale : {"1", "2", "4"}) {
            QProcess program;
            program.setProcessEnvironment(env);
            program.start(qEnvironmentVariable("CAUCHY_BIN_DIR") + "/cauchy",
                          {"--language", language, "--scale", scale});
            ASSERT_TRUE(program.waitForStarted());
            // Settled: 0.3 s in a row without 1 ms of CPU, within 10 s (a start may wait for the X server).
            for (int slice = 0, quiet = 0; slice < 100 && quiet < 3; ++slice)
                quiet = CpuWhileWaiting(program.processId(), 100) > 1 ? 0 : quiet + 1;
            EXPECT_LT(CpuWhileWaiting(program.processId(), 1000), 5.0) << language << " x" << scale;
            program.terminate();
            EXPECT_TRUE(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit &&
                        program.exitCode() == 0); // ran till the signal, and ended as on Exit
            EXPECT_EQ(program.readAllStandardError().contains("2.5"), scale[0] == '4') << language << " x" << scale;
        }
    }
}
