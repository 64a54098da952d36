#include "Application.h"

#include "CommandLine.h"
#include "MessageBox.h"

#include <QMutex>
#include <QSet>
#include <QSocketNotifier>
#include <QThreadPool>

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

// Ends a start the framework cannot make with one line: the hint for a
// missing display, or else the framework's own reason.
[[noreturn]] void EndStart(const QString &reason)
{
    const bool display = reason.isEmpty() || reason.contains(QLatin1String("platform plugin")) ||
        reason.contains(QLatin1String("display"), Qt::CaseInsensitive) ||
        reason.contains(QLatin1String("screen"), Qt::CaseInsensitive);
    if (display)
        std::fputs("cauchy: no display found; to get a picture of the window instead, run: cauchy --snapshot "
                   "FILE.png\n",
                   stderr);
    else
        std::fprintf(stderr, "cauchy: cannot start: %s\n", qPrintable(reason));
    std::fflush(nullptr);
    ::_exit(1);
}

void HoldStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg)
        EndStart(text);
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
// Files being written (TTerminationDeferred), and a signal that waits for them.
std::atomic<int> WritesInProgress {0};
std::atomic<int> WaitingSignal {0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr uint kPoolThreadStack = 1024 * 1024;

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
        // Stored before the count is read: a write that ends in between sees it.
        WaitingSignal = sig;
        if (WritesInProgress.load() == 0)
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
    const auto waitForWrites = [] {
        while (WritesInProgress.load() > 0)
            ::poll(nullptr, 0, 10);
    };
    while (::read(FallbackPipe[0], &sig, 1) != 1) { }
    ::poll(nullptr, 0, TerminationGraceMs);
    waitForWrites();
    if (LoopEnded.load())
        ::poll(nullptr, 0, 10 * TerminationGraceMs);
    waitForWrites();
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
    // A platform without a screen (a frame buffer that is not there) would
    // end the program at the first window.
    if (QGuiApplication::screens().isEmpty())
        EndStart(QString());
    Release();
    // Qt's pool splits large image scaling among its threads and waits for
    // them; a thread that cannot get its stack (a memory limit) never comes.
    QThreadPool::globalInstance()->setStackSize(kPoolThreadStack);
    SetProgramIdentity();
    m_qtSettings = std::make_unique<TPrivateQtSettings>();
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

void OpenStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number is fd itself, as the ones below are open.
        const int opened = ::open("/dev/null", O_RDWR | O_NOCTTY);
        if (opened >= 0 && opened != fd)
            ::close(opened);
    }
}

TTerminationDeferred::TTerminationDeferred()
{
    ++WritesInProgress;
}

TTerminationDeferred::~TTerminationDeferred()
{
    // A signal that came meanwhile and that no loop takes ends the process now.
    if (--WritesInProgress == 0 && !LoopWatches.load())
        if (const int sig = WaitingSignal.load())
            DieBy(sig);
}

void InstallProcessSignals()
{
    OpenStandardDescriptors();
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
    pthread_attr_t small;
    ::pthread_attr_init(&small);
    ::pthread_attr_setstacksize(&small, 64 * 1024); // it reads and waits, nothing more
    const bool started = ::pthread_create(&thread, &small, FallbackThread, nullptr) == 0;
    ::pthread_attr_destroy(&small);
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (!started)
        return;
    ::pthread_detach(thread);
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : kTerminationSignals)
        ::sigaction(sig, &action, nullptr);
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
