// The real program, started as separate processes.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "MessageChannel.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <utility>

namespace {

class Program : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_run.isValid());
        QFile::setPermissions(m_run.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_program = qEnvironmentVariable("CAUCHY_BIN_DIR") + QStringLiteral("/cauchy");
        ASSERT_TRUE(QFileInfo(m_program).isExecutable()) << m_program.toStdString();
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_run.path());
        m_env.insert(QStringLiteral("XDG_CONFIG_DIRS"), m_run.path() + QStringLiteral("/etc"));
        m_env.insert(QStringLiteral("TMPDIR"), m_run.path());
    }

    void Start(QProcess &p)
    {
        p.setProcessEnvironment(m_env);
        p.setProgram(m_program);
        p.start();
        ASSERT_TRUE(p.waitForStarted(5000));
    }

    bool WaitFor(const std::function<bool()> &condition, int ms)
    {
        for (int waited = 0; waited < ms; waited += 20) {
            if (condition())
                return true;
            QTest::qWait(20);
        }
        return condition();
    }

    QString Endpoint(const QProcess &p) const { return m_run.path() + QStringLiteral("/kvento-%1").arg(p.processId()); }

    // Whether the program, once its endpoint exists, answers a message there.
    // The answer is written from its event loop, so from then on its start-up
    // decisions are made and a signal ends it as "Exit" does.
    bool LoopAnswers(const QProcess &p)
    {
        if (!WaitFor([&] { return QFileInfo::exists(Endpoint(p)); }, 15000))
            return false;
        QLocalSocket s;
        s.connectToServer(Endpoint(p));
        return s.waitForConnected(15000) && s.write(EncodeFrame(0, 0, {})) > 0 && s.waitForReadyRead(30000);
    }

    QString LockFile() const { return m_run.path() + QStringLiteral("/KV_cauchy.lock"); }

    // Runs the program to its end: the exit code (-1 when it did not exit) and what it wrote to stderr.
    std::pair<int, QByteArray> Run(const QStringList &args, const QProcessEnvironment &env,
                                   const std::function<void()> &inChild = {})
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setChildProcessModifier(inChild);
        p.start(m_program, args);
        EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
    }

    QTemporaryDir m_run;
    QString m_program;
    QProcessEnvironment m_env;
};

} // namespace

TEST_F(Program, ASecondStartEndsAtOnceAndTheFirstKeepsRunning)
{
    QProcess first;
    Start(first);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(LockFile()); }, 15000)) << "first start never took its lock";

    const auto [code, err] = Run({}, m_env);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(err.contains(QStringLiteral("already running (process %1)").arg(first.processId()).toUtf8()));

    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);

    // Once the first is gone, a new start runs again.
    QProcess third;
    Start(third);
    EXPECT_TRUE(LoopAnswers(third));
    EXPECT_EQ(third.state(), QProcess::Running);
    third.kill();
    third.waitForFinished(5000);
}

TEST_F(Program, SnapshotsAreRepeatableWithASeedAndShowTheChosenView)
{
    auto snapshot = [&](const QStringList &args, const QString &file) {
        const auto [code, err] = Run(QStringList {"--snapshot", m_run.path() + "/" + file} + args, m_env);
        EXPECT_EQ(code, 0) << err.toStdString();
        return QImage(m_run.path() + "/" + file);
    };
    const QImage a = snapshot({"--seed", "7"}, "a.png");
    const QImage b = snapshot({"--seed", "7"}, "b.png");
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a.size(), QSize(752, 384));
    EXPECT_EQ(a, b);
    EXPECT_NE(snapshot({"--seed", "7", "--view", "means", "--samples", "20"}, "m.png"), a);
    // Qt's own switches do not reach a picture run: "--snapshot" is no platform's name.
    EXPECT_EQ(Run({"-platform", "--snapshot", m_run.path() + "/p.png", "--seed", "7"}, m_env).first, 0);
    EXPECT_EQ(QImage(m_run.path() + "/p.png"), a);

    const auto [badCode, badErr] = Run({"--snapshot", m_run.path() + "/no/such/dir/x.png"}, m_env);
    EXPECT_NE(badCode, 0);
    EXPECT_TRUE(badErr.contains("cannot write"));
    const auto [unknownCode, unknownErr] = Run({"--frobnicate"}, m_env);
    EXPECT_EQ(unknownCode, 2);
    EXPECT_TRUE(unknownErr.contains("--help"));
}

TEST_F(Program, ExportWritesTheChartAloneInTheTypeItsNameAsks)
{
    const QString d = m_run.path() + "/";
    for (const QString &arg :
         {"--export=" + d + "c.png", "--export=" + d + "c.svg", "--export=" + d + "c.pdf", "--snapshot=" + d + "w.png"})
        ASSERT_EQ(Run({arg, "--seed", "7", "--theory", "--language", "de"}, m_env).first, 0) << arg.toStdString();
    const QImage png = QImage(d + "c.png").convertToFormat(QImage::Format_RGB32);
    const QImage window = QImage(d + "w.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_LT(png.height(), window.height()); // the chart, not the window: a band of the snapshot
    bool found = false;
    for (int y = 0; y + png.height() <= window.height() && !found; ++y)
        found = window.copy(0, y, png.width(), png.height()) == png;
    EXPECT_TRUE(found);
    // The pages carry the window's title and what the chart shows above it.
    EXPECT_EQ(QSvgRenderer(d + "c.svg").viewBox().size(), png.size() + QSize(0, 40));
    QFile svg(d + "c.svg");
    EXPECT_TRUE(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("Zufallszahlen, Startwert 7"));
    QFile pdf(d + "c.pdf");
    EXPECT_TRUE(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
    const auto [code, err] = Run({"--export", d + "c.gif", "--language", "de"}, m_env);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(err.contains("Unbekannte Bildart „c.gif“")) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(d + "c.gif"));
    EXPECT_EQ(Run({"--export", d + "a.png", "--snapshot", d + "b.png"}, m_env).first, 2);
}

TEST_F(Program, EndsCleanlyOnSignalsAndStartsOverBrokenLocks)
{
    // Signal, what is left where the lock goes, and whether the start warns.
    const std::tuple<int, std::function<void()>, bool> cases[] = {
        {SIGTERM, [] {}, false},
        {SIGHUP, [] {}, false},
        {SIGINT, [&] { QFile(LockFile()).open(QIODevice::WriteOnly); }, false},
        {SIGTERM, [&] { QDir().mkpath(LockFile() + "/x"); }, true},
    };
    for (const auto &[signal, plant, warns] : cases) {
        SCOPED_TRACE(signal);
        plant();
        QProcess p;
        Start(p);
        const QString endpoint = Endpoint(p);
        ASSERT_TRUE(LoopAnswers(p)) << "the start stepped aside";
        ::kill(pid_t(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(15000));
        EXPECT_EQ(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, 0);
        EXPECT_FALSE(QFileInfo::exists(endpoint) || QFileInfo(LockFile()).isFile());
        EXPECT_EQ(p.readAllStandardError().contains("running without the single-instance rule"), warns);
        QDir(LockFile()).removeRecursively();
    }
}

TEST_F(Program, WithoutDisplayOrRuntimeDirectoryItSaysSoInsteadOfAborting)
{
    const QString tooLong = m_run.path() + QLatin1Char('/') + QString(100, QLatin1Char('r'));
    QDir().mkpath(tooLong);
    QFile::setPermissions(tooLong, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString file = m_run.path() + QStringLiteral("/file"), snap = m_run.path() + QStringLiteral("/s.png");
    QFile(file).open(QIODevice::WriteOnly); // nothing can be made below it
    const QStringList noDisplay {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    const QStringList elsewhere {"TMPDIR", "HOME", "XDG_CACHE_HOME"};
    // Variables removed, runtime directory, variables pointed below the file, arguments, exit code, message.
    const std::tuple<QStringList, QString, QStringList, QStringList, int, const char *> cases[] = {
        {noDisplay, m_run.path(), {}, {}, 1, "no display found; to get a picture of the window instead, run: cauchy"},
        {{}, tooLong, {}, {"--snapshot", snap}, 0, "running without the host link"},
        {{}, file + "/run", elsewhere, {"--snapshot", snap}, 0, "no private runtime directory"},
    };
    for (const auto &[unset, runtime, blocked, args, exitCode, says] : cases) {
        SCOPED_TRACE(says);
        QProcessEnvironment env = m_env;
        for (const QString &v : unset)
            env.remove(v);
        for (const QString &v : blocked)
            env.insert(v, file);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        const auto [code, err] = Run(args, env);
        EXPECT_EQ(code, exitCode);
        EXPECT_TRUE(err.contains(says) && err.count("cauchy:") == 1) << err.toStdString();
    }
}

namespace {
// Sets or clears the flag that keeps even root from making anything in a folder.
bool SetImmutable(const QString &folder, bool on)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    const bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
        (flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    ::close(fd);
    return ok;
}
} // namespace

TEST_F(Program, AHostileMachineStillGetsASnapshotOrOneMessage)
{
    const QString d = m_run.path(), keep = d + "/keep.png", folder = d + "/ro", locked = d + "/locked";
    // A FIFO for the host settings, a runtime folder of the wrong mode, one where nothing can be made.
    QDir().mkpath(d + "/etc/Ostrel");
    ASSERT_EQ(::mkfifo(QFile::encodeName(d + "/etc/Ostrel/quarvis.ini").constData(), 0600), 0);
    ASSERT_EQ(::mkdir(QFile::encodeName(folder), 0500) | ::mkdir(QFile::encodeName(locked), 0700), 0);
    const bool immutable = SetImmutable(locked, true);
    QFile old(keep);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush());
    const rlimit small {4096, 4096};
    const std::function<void()> limitFileSize = [&small] { ::setrlimit(RLIMIT_FSIZE, &small); };
    // Variable set, snapshot file, file-size limit, exit code, the one line said.
    const std::tuple<QString, QString, bool, int, const char *> cases[] = {
        {"QT_SCALE_FACTOR=0", "/s.png", false, 0, "QT_SCALE_FACTOR must be a number from 1 to 4"},
        {"XDG_RUNTIME_DIR=" + folder, "/s.png", false, 0, "wrong permissions on runtime directory"},
        {"XDG_RUNTIME_DIR=" + locked, "/s.png", false, 0, immutable ? "running without the host link" : ""},
        {"QT_FONT_DPI=4000", "/keep.png", true, 1, std::strerror(EFBIG)}}; // "File too large"
    for (const auto &[variable, file, limited, exitCode, says] : cases) {
        SCOPED_TRACE(says);
        QProcessEnvironment env = m_env;
        env.insert(variable.section('=', 0, 0), variable.section('=', 1));
        const auto [code, err] = Run({"--snapshot", d + file}, env, limited ? limitFileSize : nullptr);
        EXPECT_EQ(code, exitCode) << err.toStdString();
        EXPECT_TRUE(!*says || err.count(says) == 1) << err.toStdString();
    }
    SetImmutable(locked, false);
    EXPECT_EQ(QFileInfo(keep).size(), 3);
    EXPECT_EQ(QDir(d).entryList({"keep.png*"}, QDir::Files), QStringList {"keep.png"});
}

TEST_F(Program, ClosedStandardOutputAndErrorAreNoQuitSignal)
{
    QProcess p;
    m_env.insert(QStringLiteral("CAUCHY_LANGUAGE"), QStringLiteral("fr")); // a warning on standard error
    p.setChildProcessModifier([] { ::close(1), ::close(2); });
    Start(p);
    ASSERT_TRUE(LoopAnswers(p) && LoopAnswers(p)); // still running
    ::kill(pid_t(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(15000));
    EXPECT_EQ(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, 0);
}

TEST_F(Program, ExportKeepsTheBytesOfItsName)
{
    const QString program = std::exchange(m_program, QStringLiteral("/bin/sh"));
    const QByteArray d = QFile::encodeName(m_run.path()) + "/x/";
    QDir().mkpath(m_run.path() + "/x");
    QProcessEnvironment env = m_env;
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    // The name as printf writes it, and its bytes.
    for (const auto &[written, name] : {std::pair {"a\\377\\376.png", "a\xff\xfe.png"}, {"c\\351.svg", "c\xe9.svg"}}) {
        const auto [code, err] = Run({"-c", R"sh(exec "$0" --export "$(printf "$1")")sh", program, d + written}, env);
        EXPECT_EQ(code, 0) << err.toStdString();
        EXPECT_EQ(::unlink(d + name), 0);
    }
    EXPECT_TRUE(
        QDir(m_run.path() + "/x").isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
}

TEST_F(Program, LimitsAndScalesEndInOneLineOrAPictureOfBoundedSize)
{
    const QString snap = m_run.path() + QStringLiteral("/s.png");
    // Descriptors free beside those inherited (ulimit -n 4, 10, 16, 39 for a
    // shell's child; 0: no limit), variables set, exit code, the one line said.
    const std::tuple<rlim_t, QStringList, int, const char *> cases[] = {
        {1, {}, 1, "ulimit -n"},
        {7, {}, 1, "ulimit -n"},
        {13, {}, 1, "ulimit -n"},
        {36, {}, 0, ""},
        {0, {"QT_QPA_PLATFORM=linuxfb:fb=/nonexistent", "DISPLAY="}, 1, "no display found"},
        {0, {"QT_SCREEN_SCALE_FACTORS=11"}, 0, "drawn at most 8192 pixels a side"}};
    for (const auto &[files, variables, exitCode, says] : cases) {
        SCOPED_TRACE(says);
        QProcessEnvironment env = m_env;
        for (const QString &v : variables)
            env.insert(v.section('=', 0, 0), v.section('=', 1));
        const bool window = variables.join(' ').contains("linuxfb");
        const auto [code, err] = Run(window ? QStringList() : QStringList {"--snapshot", snap}, env, [free = files] {
            rlimit limit {free, free};
            for (int fd = 0; fd < 1024 && free; ++fd)
                limit.rlim_cur = limit.rlim_max += ::fcntl(fd, F_GETFD) >= 0 && !(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
            if (free)
                ::setrlimit(RLIMIT_NOFILE, &limit);
        });
        EXPECT_EQ(code, exitCode) << err.toStdString();
        EXPECT_TRUE(!*says || (err.count(says) == 1 && err.count("cauchy:") == 1)) << err.toStdString();
        EXPECT_LE(QImageReader(snap).size().width(), 8192); // the longer side
    }
}
