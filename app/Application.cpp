#include "Application.h"

#include "CommandLine.h"
#include "MessageBox.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QtMessageHandler PreviousHandler = nullptr;

struct THeldMessage
{
    QtMsgType Type;
    QByteArray File, Function, Category;
    int Line;
    QString Text;
};
QList<THeldMessage> HeldMessages;

void HoldStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fputs("cauchy: no display found; to get a picture of the window instead, run: cauchy --snapshot "
                   "FILE.png\n",
                   stderr);
        std::fflush(nullptr);
        ::_exit(1);
    }
    HeldMessages.append({type, context.file, context.function, context.category, context.line, text});
}

// The write end of the self-pipe; the handler does nothing else, which is all
// a signal handler may safely do.
int SignalPipe[2] = {-1, -1};

void OnTerminationSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(SignalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

ApplicationDetail::TDisplayGuard::TDisplayGuard()
{
    PreviousHandler = qInstallMessageHandler(HoldStartMessage);
}

void ApplicationDetail::TDisplayGuard::Release()
{
    qInstallMessageHandler(PreviousHandler);
    for (const THeldMessage &m : std::as_const(HeldMessages)) {
        const QMessageLogContext context(m.File.constData(), m.Line, m.Function.constData(), m.Category.constData());
        qt_message_output(m.Type, context, m.Text);
    }
    HeldMessages.clear();
}

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    Release();
    SetProgramIdentity();
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ShowMessageBox(mtError, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowMessageBox(mtError, QStringLiteral("Unknown error"));
    }
    return false;
}

void TApplication::QuitOnTerminationSignals()
{
    if (SignalPipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, SignalPipe) != 0)
        return; // the signals keep their default action
    auto *notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(SignalPipe[0], bytes, sizeof bytes) > 0) { }
        m_terminationRequested = true;
        exit(0); // every loop, modal dialogs included
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}
