// The real program on an X server of its own (whose screen it keeps in a
// file), worked by keys pressed through xdotool.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(KeysX11, ALessonByKeysInTheRealWindow)
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "needs Xvfb and xdotool (the packages xvfb and xdotool)";
    QTemporaryDir dir;
    QProcess server, program, other, second;
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-fbdir", dir.path()});
    ASSERT_TRUE(server.waitForReadyRead(30000));
    // For the programs this test starts; the test itself stays off screen.
    qputenv("DISPLAY", ':' + server.readAllStandardOutput().trimmed());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    const auto xdo = [&](const QStringList &arguments) {
        QProcess p;
        p.start("xdotool", arguments);
        p.waitForFinished(10000);
        return QString::fromLatin1(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    };
    const auto screen = [&] {
        QFile f(dir.filePath("Xvfb_screen0"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    // Once the screen stays as it is, presses a key: true when the screen changes then.
    const auto changes = [&](const QString &key) {
        QByteArray last;
        (void)QTest::qWaitFor([&] { return QTest::qWait(300), std::exchange(last, screen()) == last; }, 10000);
        xdo({"key", key});
        return QTest::qWaitFor([&] { return screen() != last; }, 10000);
    };
    program.start(qEnvironmentVariable("CAUCHY_BIN_DIR") + "/cauchy", {"--language", "en"});
    const QString pid = QString::number(program.waitForStarted() ? program.processId() : 0);
    const auto windows = [&] { return xdo({"search", "--onlyvisible", "--pid", pid}); };
    const auto focus = [&] { return xdo({"getwindowfocus"}).value(0); };
    // Return closes the start-up dialog, then presses "Show Distribution" (fresh samples).
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows().size() == 2; }, 10000));
    ASSERT_TRUE(changes("Return"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows().size() == 1 && focus() == windows()[0]; }, 10000));
    const QString main = focus();
    EXPECT_TRUE(changes("Return"));
    // From every stop of Tab (the chart last: it keeps Tab) the menu keys open the chart's
    // menu in the middle of the window, not a control's own at the pointer (at the corner).
    const QStringList at = xdo({"getwindowgeometry", "--shell", main}); // WINDOW=id, X=x, Y=y, WIDTH=w, ...
    xdo({"mousemove", at.value(1).mid(2), at.value(2).mid(2)});
    for (int stop = 0; stop < 9; ++stop) {
        EXPECT_TRUE(changes(stop % 2 ? "Menu" : "shift+F10"));
        const QStringList shown =
            xdo({"getwindowgeometry", "--shell", windows().filter(QRegularExpression("^(?!" + main + "$)")).value(0)});
        EXPECT_NEAR(shown.value(1).mid(2).toInt(), at.value(1).mid(2).toInt() + at.value(3).mid(6).toInt() / 2, 2);
        EXPECT_TRUE(changes("Escape"));
        xdo({"key", "Tab"});
    }
    // Tab lands on the checked distribution (Down then checks the other);
    // F6 twice leaves the focus on the scroll bar (Right moves the location).
    xdo({"key", "--delay", "100", "ctrl+Tab", "alt+1", "Tab", "Tab"});
    EXPECT_TRUE(changes("Down"));
    xdo({"key", "--delay", "100", "Tab", "F6", "F6"});
    EXPECT_TRUE(changes("Right"));
    // A second start steps aside and brings the window forward from behind another program's.
    other.start("xmessage", {"-timeout", "60", "another program"});
    xdo({"windowfocus", "--sync", xdo({"search", "--sync", "--onlyvisible", "--class", "xmessage"}).value(0)});
    second.start(program.program(), program.arguments());
    EXPECT_TRUE(second.waitForFinished(30000) && second.exitCode() == 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return focus() == main; }, 10000));
    EXPECT_TRUE(changes("ctrl+q")); // Exit
}
