#include "Application.h"

#include "CommandLine.h"
#include "MessageBox.h"

#include <QMutex>
#include <QSet>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
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

// Qt warns about a runtime directory it cannot use at every look-up; one
// line says it all.
void OnceForRuntimeDirectory(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    static QMutex mutex;
    static QSet<QString> said;
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths:"))) {
        const QMutexLocker lock(&mutex);
        if (said.contains(text))
            return;
        said.insert(text);
    }
    PreviousHandler ? PreviousHandler(type, context, text) : qt_message_output(type, context, text);
}

// Set up once by InstallProcessSignals(): the self-pipe the event loop
// watches, and the pipe that wakes the fallback thread. The handler only
// writes to them or restores the default action, which is all a signal
// handler may safely do.
int SignalPipe[2] = {-1, -1};
int FallbackPipe[2] = {-1, -1};
std::atomic<bool> LoopWatches {false};
std::atomic<bool> LoopEnded {false};
static_assert(std::atomic<bool>::is_always_lock_free);

// Ends the process by the signal's default action (status "killed by sig").
void DieBy(int sig)
{
    ::signal(sig, SIG_DFL);
    ::kill(::getpid(), sig);
}

void OnTerminationSignal(int sig)
{
    const int saved = errno;
    if (!LoopWatches.load()) {
        DieBy(sig); // delivered as soon as this handler returns
    } else {
        const char byte = char(sig);
        [[maybe_unused]] ssize_t n = ::write(SignalPipe[1], &byte, 1);
        n = ::write(FallbackPipe[1], &byte, 1);
    }
    errno = saved;
}

// Waits for the first signal the loop is to handle; when the loop has not
// ended within the grace time, ends the process itself. Once the loop has
// ended, the windows and the host link get a few seconds to close.
void *FallbackThread(void *)
{
    char sig = 0;
    while (::read(FallbackPipe[0], &sig, 1) != 1) { }
    ::poll(nullptr, 0, TerminationGraceMs);
    if (LoopEnded.load())
        ::poll(nullptr, 0, 10 * TerminationGraceMs);
    DieBy(sig);
    ::_exit(128 + sig);
}

} // namespace

ApplicationDetail::TDisplayGuard::TDisplayGuard()
{
    PreviousHandler = qInstallMessageHandler(HoldStartMessage);
}

void ApplicationDetail::TDisplayGuard::Release()
{
    qInstallMessageHandler(OnceForRuntimeDirectory);
    for (const THeldMessage &m : std::as_const(HeldMessages)) {
        const QMessageLogContext context(m.File.constData(), m.Line, m.Function.constData(), m.Category.constData());
        OnceForRuntimeDirectory(m.Type, context, m.Text);
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

void InstallProcessSignals()
{
    ::signal(SIGXFSZ, SIG_IGN);
    if (SignalPipe[0] >= 0)
        return;
    if (::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0 || ::pipe2(FallbackPipe, O_CLOEXEC) != 0)
        return; // the signals keep their default action
    // The fallback thread takes no signals; it inherits the mask it starts with.
    sigset_t all, previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    pthread_t thread;
    const bool started = ::pthread_create(&thread, nullptr, FallbackThread, nullptr) == 0;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (!started)
        return;
    ::pthread_detach(thread);
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

void QuitOnTerminationSignals(QCoreApplication &App, bool &Requested)
{
    if (SignalPipe[0] < 0 || LoopWatches.load())
        return;
    auto *notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, &App);
    QObject::connect(notifier, &QSocketNotifier::activated, &App, [&App, &Requested] {
        char bytes[16];
        while (::read(SignalPipe[0], bytes, sizeof bytes) > 0) { }
        Requested = true;
        App.exit(0); // every loop, modal dialogs included
    });
    QObject::connect(notifier, &QObject::destroyed, [] { LoopWatches = false; });
    QObject::connect(&App, &QCoreApplication::aboutToQuit, [] { LoopEnded = true; });
    LoopWatches = true;
}
