// The real program on an X server of its own, worked by the keys a person
// presses (xdotool): what the window system takes part in, the focus after
// the start-up dialog, the menu key's own event and a second start.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class TDisplay
{
public:
    TDisplay()
    {
        // The screen is kept in a file as well: the test reads what it shows.
        m_server.start("Xvfb",
                       {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-fbdir", m_dir.path()});
        m_ready = m_server.waitForReadyRead(30000);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("DISPLAY", ':' + QString::fromLatin1(m_server.readAllStandardOutput()).trimmed());
        m_env.insert("QT_QPA_PLATFORM", "xcb");
        m_env.insert("XDG_RUNTIME_DIR", m_dir.path());
    }
    ~TDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished(10000);
    }
    bool Ready() const { return m_ready; }

    void Start(QProcess &p, const QString &program, const QStringList &arguments) const
    {
        p.setProcessEnvironment(m_env);
        p.start(program, arguments);
        p.waitForStarted();
    }
    // xdotool's answer, one item a line.
    QStringList Xdo(const QStringList &arguments) const
    {
        QProcess p;
        Start(p, "xdotool", arguments);
        p.waitForFinished(10000);
        return QString::fromLatin1(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }
    // Waits (at most 10 s) until the test holds.
    static bool Until(const std::function<bool()> &test) { return QTest::qWaitFor(test, 10000); }
    // The visible windows of a process whose name matches.
    QStringList Windows(qint64 pid, const QString &name = ".*") const
    {
        return Xdo({"search", "--all", "--onlyvisible", "--pid", QString::number(pid), "--name", name});
    }
    QRect Geometry(const QString &window) const
    {
        const QString text = Xdo({"getwindowgeometry", window}).join(' ');
        const QRegularExpressionMatch m =
            QRegularExpression("Position: (\\d+),(\\d+).*Geometry: (\\d+)x(\\d+)").match(text);
        return m.hasMatch()
            ? QRect(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt())
            : QRect();
    }
    QString Focus() const { return Xdo({"getwindowfocus"}).value(0); }
    void Keys(const QStringList &keys) const { Xdo(QStringList {"key", "--delay", "50"} + keys); }
    // The screen's bytes (an XWD file of Xvfb's own).
    QByteArray Screen() const
    {
        QFile f(m_dir.filePath("Xvfb_screen0"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Waits until the screen stays as it is for a moment.
    QByteArray Settled() const
    {
        QByteArray last = Screen();
        Until([&] {
            QTest::qWait(300);
            const QByteArray now = Screen();
            return std::exchange(last, now) == now;
        });
        return last;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QProcessEnvironment m_env;
    bool m_ready = false;
};

const QString kProgram = qEnvironmentVariable("CAUCHY_BIN_DIR") + "/cauchy";

} // namespace

TEST(KeysX11, ALessonByKeysInTheRealWindow)
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "needs Xvfb and xdotool (the packages xvfb and xdotool)";
    const TDisplay x;
    ASSERT_TRUE(x.Ready());
    QProcess program;
    const std::unique_ptr<QProcess, void (*)(QProcess *)> stop(&program, [](QProcess *p) {
        p->kill();
        p->waitForFinished();
    });
    x.Start(program, kProgram, {"--language", "en"});
    const qint64 pid = program.processId();
    ASSERT_TRUE(x.Until([&] { return !x.Windows(pid, "^About$").isEmpty(); }));
    const QString main = x.Windows(pid, "^Cauchy Distribution$").value(0);
    const QString about = x.Windows(pid, "^About$").value(0);
    ASSERT_TRUE(x.Until([&] { return x.Focus() == about; }));

    // Return closes the start-up dialog (OK has the focus); the window is
    // active again with the focus on "Show Distribution", which Return presses:
    // fresh samples change the picture.
    x.Settled();
    x.Keys({"Return"});
    ASSERT_TRUE(x.Until([&] { return x.Windows(pid, "^About$").isEmpty() && x.Focus() == main; }));
    const QByteArray before = x.Settled();
    x.Keys({"Return"});
    EXPECT_TRUE(x.Until([&] { return x.Screen() != before; }));

    // From the location's scroll bar the menu key and Shift+F10 open the
    // chart's menu in the middle of the chart, not the scroll bar's own menu
    // at the pointer, which stands at the window's corner.
    const QRect window = x.Geometry(main);
    x.Xdo({"mousemove", QString::number(window.x() + 2), QString::number(window.y() + 2)});
    x.Keys({"Tab", "Tab", "Tab"});
    for (const char *key : {"Menu", "shift+F10"}) {
        x.Keys({key});
        QStringList popups;
        ASSERT_TRUE(x.Until([&] { return (popups = x.Windows(pid)).size() == 2; })) << key;
        popups.removeAll(main);
        const QRect menu = x.Geometry(popups.value(0));
        EXPECT_LE(std::abs(menu.x() - window.center().x()), 2) << key;
        EXPECT_TRUE(window.adjusted(0, window.height() / 4, 0, -window.height() / 4).contains(menu.topLeft())) << key;
        x.Keys({"Escape"});
        ASSERT_TRUE(x.Until([&] { return x.Windows(pid).size() == 1; })) << key;
    }
    // The focus is on the scroll bar still, also after F6 started and stopped
    // a run: Right moves the location, and the readout shows it.
    for (const QStringList &keys : {QStringList {}, QStringList {"F6", "F6"}}) {
        if (!keys.isEmpty())
            x.Keys(keys);
        const QByteArray shown = x.Settled();
        x.Keys({"Right"});
        EXPECT_TRUE(x.Until([&] { return x.Screen() != shown; })) << keys.join(' ').toStdString();
    }

    // A second start steps aside and brings the running window forward, from
    // behind another program's window that has the focus.
    QProcess other;
    x.Start(other, "xmessage", {"-geometry", "+0+0", "another program"});
    QString otherWindow;
    ASSERT_TRUE(x.Until([&] {
        return !(otherWindow = x.Xdo({"search", "--onlyvisible", "--class", "xmessage"}).value(0)).isEmpty();
    }));
    x.Xdo({"windowfocus", "--sync", otherWindow});
    ASSERT_EQ(x.Focus(), otherWindow);
    QProcess second;
    x.Start(second, kProgram, {"--language", "en"});
    EXPECT_TRUE(second.waitForFinished(30000) && second.exitCode() == 0);
    EXPECT_TRUE(x.Until([&] { return x.Focus() == main; }));
    other.kill();
    other.waitForFinished();

    program.terminate();
    EXPECT_TRUE(program.waitForFinished(10000) && program.exitCode() == 0);
}
