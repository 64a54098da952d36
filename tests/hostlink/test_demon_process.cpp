// The host-link client in real processes: the probe program against the test
// host, each test with its own runtime and configuration directories.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

// A child process whose standard output is read line by line.
class TChild
{
public:
    explicit TChild(const QProcessEnvironment &Env) { P.setProcessEnvironment(Env); }
    ~TChild()
    {
        if (P.state() != QProcess::NotRunning) {
            P.kill();
            P.waitForFinished(3000);
        }
    }

    void Start(const QString &Program, const QStringList &Args)
    {
        P.setProcessChannelMode(QProcess::SeparateChannels);
        P.setReadChannel(QProcess::StandardOutput);
        P.start(Program, Args);
        EXPECT_TRUE(P.waitForStarted(5000)) << qPrintable(Program);
        Pid = P.processId();
    }

    void Write(const QString &Line)
    {
        P.write(Line.toUtf8() + '\n');
        P.waitForBytesWritten(1000);
    }

    // The next line (after those already taken) that starts with one of the prefixes.
    std::optional<QString> WaitLine(const QStringList &Prefixes, int Ms = 8000)
    {
        QElapsedTimer t;
        t.start();
        for (;;) {
            while (m_cursor < m_lines.size()) {
                const QString line = m_lines[m_cursor++];
                for (const QString &p : Prefixes)
                    if (line.startsWith(p))
                        return line;
            }
            const qint64 left = Ms - t.elapsed();
            if (left <= 0)
                return std::nullopt;
            if (P.state() == QProcess::NotRunning && P.bytesAvailable() == 0)
                return std::nullopt;
            P.waitForReadyRead(int(qMin<qint64>(left, 200)));
            m_partial += P.readAllStandardOutput();
            qsizetype eol;
            while ((eol = m_partial.indexOf('\n')) >= 0) {
                m_lines.append(QString::fromUtf8(m_partial.left(eol)));
                m_partial.remove(0, eol + 1);
            }
        }
    }
    std::optional<QString> WaitLine(const QString &Prefix, int Ms = 8000) { return WaitLine(QStringList {Prefix}, Ms); }

    std::optional<QString> Ask(const QString &Command, const QString &Prefix, int Ms = 8000)
    {
        Write(Command);
        return WaitLine(QStringList {Prefix, QStringLiteral("error ")}, Ms);
    }

    // Exit code once ended within Ms, else nothing.
    std::optional<int> WaitExit(int Ms = 8000)
    {
        if (P.state() != QProcess::NotRunning && !P.waitForFinished(Ms))
            return std::nullopt;
        if (P.exitStatus() != QProcess::NormalExit)
            return -1;
        return P.exitCode();
    }

    QProcess P;
    qint64 Pid = 0; // kept after the process has ended

private:
    QStringList m_lines;
    qsizetype m_cursor = 0;
    QByteArray m_partial;
};

class DemonProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *sub : {"run", "etc/Ostrel", "app", "data"})
            ASSERT_TRUE(QDir().mkpath(Path(sub)));
        QFile::setPermissions(Path("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Path("run"));
        m_env.insert(QStringLiteral("XDG_CONFIG_DIRS"), Path("etc"));
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QString bin = qEnvironmentVariable("CAUCHY_BIN_DIR");
        if (bin.isEmpty())
            bin = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
        m_bin = bin;
        ASSERT_TRUE(QFile::exists(m_bin + QStringLiteral("/hostlink_probe"))) << qPrintable(m_bin);
        ASSERT_TRUE(QFile::exists(m_bin + QStringLiteral("/testhost")));
    }

    QString Path(const char *Sub) const { return m_dir.path() + QLatin1Char('/') + QLatin1String(Sub); }

    // A copy of the probe under its own name in the app directory.
    QString Probe(const QString &Name = QStringLiteral("probe"))
    {
        const QString target = Path("app") + QLatin1Char('/') + Name;
        if (!QFile::exists(target)) {
            EXPECT_TRUE(QFile::copy(m_bin + QStringLiteral("/hostlink_probe"), target));
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ExeOwner);
        }
        return target;
    }

    void WriteFile(const QString &Name, const QByteArray &Bytes)
    {
        QFile f(Name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
    }

    std::unique_ptr<TChild> StartHost(const QString &Suffix, QStringList Args = {})
    {
        auto host = std::make_unique<TChild>(m_env);
        Args << QStringLiteral("--suffix") << Suffix << QStringLiteral("--log") << LogPath();
        host->Start(m_bin + QStringLiteral("/testhost"), Args);
        EXPECT_TRUE(host->WaitLine(QStringLiteral("ready")));
        return host;
    }

    // Starts the probe and waits until it has loaded (or failed, or ended).
    std::unique_ptr<TChild> StartProbe(const QString &Program, const QStringList &Args,
                                       std::optional<QString> *First = nullptr)
    {
        auto probe = std::make_unique<TChild>(m_env);
        probe->Start(Program, Args);
        const auto line = probe->WaitLine({QStringLiteral("started"), QStringLiteral("load-error")});
        if (First)
            *First = line;
        return probe;
    }

    QString LogPath() const { return Path("data") + QStringLiteral("/host.log"); }
    QStringList Log() const
    {
        QFile f(LogPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QStringList LogOf(int Code) const
    {
        QStringList lines;
        for (const QString &l : Log())
            if (l.startsWith(QString::number(Code) + QLatin1Char(' ')))
                lines.append(l);
        return lines;
    }

    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QString m_bin;
};

qint64 Pid(const std::unique_ptr<TChild> &Child)
{
    return Child->Pid;
}

} // namespace

TEST_F(DemonProcess, RegistersFetchesTheTableAndUnregisters)
{
    const QString probe = Probe();
    WriteFile(Path("data") + QStringLiteral("/book.itl"), "[Greeting]=Hallo|$$");
    auto host =
        StartHost(QStringLiteral("book1"),
                  {"--path", probe + "=/virtual/sims/probe", "--file",
                   "/virtual/sims/probe.itl=" + Path("data") + "/book.itl", "--value", "QuarvisWorkArea=/books/one/"});
    std::optional<QString> first;
    auto p = StartProbe(probe, {"--server", "/serverhandle=BOOK1"}, &first);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, QStringLiteral("started pid=%1 label=Hallo").arg(Pid(p)));

    EXPECT_EQ(p->Ask("value QuarvisWorkArea", "value="), QStringLiteral("value=/books/one/"));
    EXPECT_EQ(p->Ask("value Unknown", "value="), QStringLiteral("value="));
    EXPECT_EQ(p->Ask("title probe", "entity"),
              QStringLiteral("entity handle=%1 path=%2 title=probe").arg(Pid(p)).arg(probe));
    EXPECT_EQ(p->Ask("title nobody", "entity"), QStringLiteral("entity none"));
    EXPECT_EQ(p->Ask("file /virtual/sims/probe.itl", "file"), QStringLiteral("file size=19 text=[Greeting]=Hallo|$$"));
    p->Ask("close", "ended");
    EXPECT_EQ(p->WaitExit(), 0);

    const QString pid = QString::number(Pid(p));
    EXPECT_EQ(LogOf(4098),
              QStringList {QStringLiteral("4098 %1 handle=%1 mutex=0 path=%2 title=probe").arg(pid, probe)});
    EXPECT_EQ(LogOf(4104), QStringList {QStringLiteral("4104 %1 value=%2").arg(pid, probe)});
    EXPECT_EQ(LogOf(4103).value(0), QStringLiteral("4103 %1 name=/virtual/sims/probe.itl").arg(pid));
    EXPECT_EQ(LogOf(4099),
              QStringList {QStringLiteral("4099 %1 handle=%1 mutex=1 path=%2 title=probe").arg(pid, probe)});
    // Registration comes first and unregistration last.
    EXPECT_TRUE(Log().first().startsWith(QStringLiteral("4098 ")));
    EXPECT_TRUE(Log().last().startsWith(QStringLiteral("4099 ")));
}

TEST_F(DemonProcess, ExecuteProgramThroughTheHost)
{
    auto host = StartHost(QStringLiteral("ex"));
    auto p = StartProbe(Probe(), {"--server", "/serverhandle=ex"});
    const auto noWait = p->Ask("exec /bin/sh|-c \"exit 3\"|5|0", "exec=");
    ASSERT_TRUE(noWait);
    ASSERT_TRUE(noWait->startsWith(QStringLiteral("exec=")));
    const qint64 started = noWait->mid(5).toLongLong();
    EXPECT_GT(started, 0);
    EXPECT_TRUE(LogOf(4102).value(0).endsWith(QStringLiteral("wait=0 mode=5 pid=%1").arg(started)));

    QElapsedTimer t;
    t.start();
    EXPECT_EQ(p->Ask("exec /bin/sh|-c \"sleep 0.4; exit 3\"|0|1", "exec="), QStringLiteral("exec=3"));
    EXPECT_GE(t.elapsed(), 350);
    EXPECT_EQ(p->Ask("exec /no/such/program||0|0", "exec="),
              QStringLiteral("error Could not execute \"/no/such/program.\""));
    EXPECT_EQ(p->Ask("ping", "pong"), QStringLiteral("pong"));
}

TEST_F(DemonProcess, QuitRequestEndsTheProgram)
{
    for (const int down : {0, 1}) {
        SCOPED_TRACE(down);
        QFile::remove(LogPath());
        auto host = StartHost(QStringLiteral("q"));
        auto p = StartProbe(Probe(), {"--server", "/serverhandle=q"});
        host->Write(QStringLiteral("quit %1 %2").arg(Pid(p)).arg(down));
        EXPECT_EQ(p->WaitLine("quit-request"), QStringLiteral("quit-request down=%1").arg(down));
        EXPECT_TRUE(p->WaitLine("ended"));
        EXPECT_EQ(p->WaitExit(), 0);
        // A host going down gets no unregistration.
        EXPECT_EQ(LogOf(4099).size(), down ? 0 : 1);
    }
}

TEST_F(DemonProcess, LateReplyGivesUpAtTheLimitAndStaysResponsive)
{
    // The host answers long after the client's (shortened) deadline: the client gives up.
    auto host = StartHost(QStringLiteral("late"), {"--late", "4106=600000", "--value", "k=v"});
    auto p = StartProbe(Probe(), {"--server", "/serverhandle=late", "--timeout", "300"});
    EXPECT_EQ(p->Ask("value k", "value="), QStringLiteral("value="));
    EXPECT_EQ(p->Ask("ping", "pong"), QStringLiteral("pong"));
}

TEST_F(DemonProcess, MisbehavingHostsGiveEmptyReplies)
{
    struct Case
    {
        const char *name;
        QStringList hostArgs;
        const char *command;
        const char *expected;
    };
    const Case cases[] = {
        {"dies mid-reply", {"--die", "4106"}, "value k", "value="},
        {"frame beyond 64 MiB", {"--garbage", "4106=huge"}, "value k", "value="},
        {"random bytes", {"--garbage", "4106=noise"}, "value k", "value="},
        {"string past its data", {"--garbage", "4106=payload"}, "value k", "value="},
        {"entity past its data", {"--garbage", "4100=payload"}, "title probe", "entity none"},
        {"file past its data", {"--garbage", "4103=payload"}, "file x", "file none"},
        {"wrong time stamps", {"--garbage", "4106=stamp"}, "value k", "value="},
        {"flood, then the reply", {"--garbage", "4106=flood"}, "value k", "value=v"},
    };
    // The probe finds the host by name at each request, so hosts can change under it.
    // None of these waits for the deadline, which is far beyond the wait for an answer.
    auto host = StartHost(QStringLiteral("bad"));
    auto p = StartProbe(Probe(), {"--server", "/serverhandle=bad", "--timeout", "600000"});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        host.reset();
        host = StartHost(QStringLiteral("bad"),
                         QStringList(c.hostArgs) << "--value"
                                                 << "k=v"
                                                 << "--file"
                                                 << "x=" + LogPath());
        EXPECT_EQ(p->Ask(QString::fromUtf8(c.command), QString::fromUtf8(c.expected).section(QLatin1Char('='), 0, 0)),
                  QString::fromUtf8(c.expected));
        if (c.hostArgs.first() == QLatin1String("--die")) {
            EXPECT_EQ(host->WaitExit(), 3);
        }
        EXPECT_EQ(p->Ask("ping", "pong"), QStringLiteral("pong"));
    }
    EXPECT_EQ(host->WaitExit(0), std::nullopt); // the last host still runs
    EXPECT_EQ(p->P.state(), QProcess::Running);
}

TEST_F(DemonProcess, SecondStartEndsAtOnce)
{
    const QString probe = Probe();
    auto a = StartProbe(probe, {});
    std::optional<QString> first;
    auto b = StartProbe(probe, {}, &first);
    EXPECT_FALSE(first);
    EXPECT_EQ(b->WaitExit(), 0);
    EXPECT_EQ(a->Ask("ping", "pong"), QStringLiteral("pong"));
    // Another program name is another instance lock.
    auto c = StartProbe(Probe(QStringLiteral("other")), {}, &first);
    EXPECT_TRUE(first && first->startsWith(QStringLiteral("started")));
}

TEST_F(DemonProcess, SimultaneousStartsLeaveExactlyOne)
{
    const QString probe = Probe();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        TChild a(m_env), b(m_env);
        a.Start(probe, {});
        b.Start(probe, {});
        const bool aRuns = a.WaitLine("started").has_value();
        const bool bRuns = b.WaitLine("started").has_value();
        EXPECT_NE(aRuns, bRuns);
        TChild &stopped = aRuns ? b : a;
        EXPECT_EQ(stopped.WaitExit(), 0);
        TChild &running = aRuns ? a : b;
        EXPECT_EQ(running.Ask("ping", "pong"), QStringLiteral("pong"));
    }
}

TEST_F(DemonProcess, KilledInstanceDoesNotBlockTheNextStart)
{
    const QString probe = Probe();
    auto a = StartProbe(probe, {});
    a->P.kill(); // SIGKILL: no clean-up at all
    EXPECT_EQ(a->WaitExit(), -1);
    std::optional<QString> first;
    auto b = StartProbe(probe, {}, &first);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->startsWith(QStringLiteral("started")));
}

TEST_F(DemonProcess, SecondStartForwardsItsParametersThroughTheHost)
{
    const QString probe = Probe();
    auto host = StartHost(QStringLiteral("fw"));
    auto a = StartProbe(probe, {"--server", "/serverhandle=fw"});
    std::optional<QString> first;
    auto b = StartProbe(probe, {"--server", "/serverhandle=fw", "alpha", "beta gamma"}, &first);
    EXPECT_FALSE(first);
    EXPECT_EQ(b->WaitExit(), 0);
    EXPECT_EQ(a->WaitLine("params"), QStringLiteral("params count=3 list=%1|--server|alpha|beta gamma").arg(probe));
    EXPECT_EQ(a->Ask("param 2", "param="), QStringLiteral("param=alpha"));
    // The second start left no registration behind.
    const QString bPid = QString::number(Pid(b));
    EXPECT_EQ(LogOf(4098).filter(QStringLiteral("handle=") + bPid).size(), 1);
    EXPECT_EQ(LogOf(4099).filter(QStringLiteral("handle=") + bPid).size(), 1);
}

TEST_F(DemonProcess, WithoutHost)
{
    const QString probe = Probe();
    WriteFile(probe + QStringLiteral(".itl"), "[Greeting]=Hallo aus der Datei|$$");
    std::optional<QString> first;
    auto p = StartProbe(probe, {"one", "/serverhandle=ABC", "two"}, &first);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->endsWith(QStringLiteral("label=Hallo aus der Datei")));
    EXPECT_EQ(p->Ask("value QuarvisWorkArea", "value="), QStringLiteral("value=") + Path("app") + QLatin1Char('/'));
    EXPECT_EQ(p->Ask("value quarvisworkarea", "value="), QStringLiteral("value="));
    EXPECT_EQ(p->Ask("count", "count="), QStringLiteral("count=2"));
    EXPECT_EQ(p->Ask("param 2", "param="), QStringLiteral("param=two"));
    EXPECT_EQ(p->Ask("param 3", "param="), QStringLiteral("error Illegal \"ParamStr\" parameter: 3"));
    EXPECT_EQ(p->Ask("param 0", "param="), QStringLiteral("param=") + probe);
}

TEST_F(DemonProcess, HostNamedBySettingsOrSwitch)
{
    struct Case
    {
        const char *name;
        const char *viewerHandle; // nullptr: no settings file
        const char *hostSuffix;
        QStringList args;
        bool starts;
    };
    const Case cases[] = {
        {"switch, lower-cased", nullptr, "abc", {"--server", "/serverhandle=ABC"}, true},
        {"settings value, case kept", "Xyz", "Xyz", {"--server"}, true},
        {"settings value wins over the switch", "Xyz", "q", {"--server", "/serverhandle=q"}, false},
        {"zero settings value falls back to the switch", "00000000", "q", {"--server", "/serverhandle=Q"}, true},
        {"no host at all", nullptr, "elsewhere", {"--server"}, false},
    };
    const QString ini = Path("etc") + QStringLiteral("/Ostrel/quarvis.ini");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(ini);
        if (c.viewerHandle)
            WriteFile(ini, QByteArray("[demon]\nViewerHandle=") + c.viewerHandle + "\n");
        auto host = StartHost(QString::fromUtf8(c.hostSuffix));
        std::optional<QString> first;
        auto p = StartProbe(Probe(), c.args, &first);
        ASSERT_TRUE(first);
        if (c.starts) {
            EXPECT_TRUE(first->startsWith(QStringLiteral("started")));
            p->Ask("close", "ended");
        } else {
            EXPECT_EQ(*first, QStringLiteral("load-error Kvento server application is not running"));
        }
        EXPECT_EQ(p->WaitExit(), c.starts ? 0 : 2);
    }
}
