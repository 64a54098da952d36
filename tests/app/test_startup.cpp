// Start-up pieces of the program entry: the snapshot file, the bytes of its
// name, a start that throws, and files written while signals come.
#include "Application.h"
#include "ChartExport.h"
#include "ChartPrint.h"
#include "FileReplace.h"
#include "Kesl_kurvo.h"
#include "MessageBox.h"
#include "Startup.h"
#include "mainfrm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// By the bytes of the name, which a QString might not keep.
QByteArray Read(const QByteArray &Path)
{
    std::ifstream in(Path.constData(), std::ios::binary);
    return QByteArray::fromStdString({std::istreambuf_iterator<char>(in), {}});
}

// The wait status of Body run in a child process; Parent runs with the child's
// id once Body has written to the descriptor it gets. A hang ends by SIGALRM.
int InChild(const std::function<int(int)> &Body, const std::function<void(pid_t)> &Parent = {})
{
    int ready[2], status = -1;
    char byte;
    if (::pipe(ready) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(60);
        ::_exit(Body(ready[1]));
    }
    if (Parent && ::read(ready[0], &byte, 1) == 1)
        Parent(pid);
    ::waitpid(pid, &status, 0);
    ::close(ready[0]), ::close(ready[1]);
    return status;
}

} // namespace

TEST(Snapshot, WrittenWholeInItsFormatOrNotAtAll)
{
    QTemporaryDir dir;
    const QByteArray d = QFile::encodeName(dir.path()) + '/';
    QImage picture(64, 64, QImage::Format_RGB32); // more than the 4096 bytes allowed below as a BMP
    picture.fill(Qt::darkCyan);
    ASSERT_EQ(::mkfifo(d + "fifo.png", 0600), 0);
    QDir(dir.path()).mkdir(QStringLiteral("dir.png"));
    // File name, first bytes written (none: refused), message.
    const std::tuple<QByteArray, QByteArray, const char *> cases[] = {
        {"a.png", "\x89PNG", ""},
        {"a.JPG", "\xff\xd8", ""},
        {"a.bmp", "BM", ""},
        {"plain", "\x89PNG", ""},
        {"\xff\xfe.png", "\x89PNG", ""}, // not UTF-8
        {QByteArray(251, 'n') + ".png", "\x89PNG", ""}, // as long as a name may be
        {"a.xyz", "", "unknown picture format \".xyz\""},
        {"fifo.png", "", "not a regular file"},
        {"dir.png", "", "not a regular file"},
    };
    for (const auto &[file, starts, says] : cases) {
        SCOPED_TRACE(file.toStdString());
        QString error;
        EXPECT_EQ(WriteSnapshotImage(picture, d + file, error), !starts.isEmpty());
        EXPECT_TRUE(starts.isEmpty() ? error.contains(QLatin1String(says)) : Read(d + file).startsWith(starts));
    }
    ::unlink(d + "\xff\xfe.png");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5); // no temporary file is left

    // A file that cannot be written whole leaves the old picture as it was.
    const QByteArray old = Read(d + "a.bmp");
    rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small {4096, saved.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool written = WriteSnapshotImage(picture, d + "a.bmp", error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << error.toStdString();
    EXPECT_EQ(Read(d + "a.bmp"), old);
}

TEST(Snapshot, FileNameKeepsItsBytes)
{
    char prog[] = "cauchy", opt[] = "--snapshot", name[] = "\xff.png", joined[] = "--snapshot=\xff.png";
    char *separate[] = {prog, opt, name}, *together[] = {prog, joined};
    EXPECT_EQ(SnapshotPathBytes(3, separate, QString::fromLocal8Bit(name)), QByteArray(name));
    EXPECT_EQ(SnapshotPathBytes(2, together, QString::fromLocal8Bit(name)), QByteArray(name));
}

TEST(StartFailure, OneLineOrAMessageBoxThenExitOne)
{
    for (const bool snapshot : {true, false}) {
        QStringList shown;
        const TMessageBoxHandler previous =
            SetMessageBoxHandler([&](TMsgDlgType, const QString &, const QString &Text) { shown << Text; });
        int argc = 1;
        char prog[] = "cauchy", *argv[] = {prog, nullptr};
        EXPECT_EQ(ReportStartFailure(argc, argv, snapshot, QStringLiteral("failed")), 1);
        SetMessageBoxHandler(previous);
        EXPECT_EQ(shown, snapshot ? QStringList() : QStringList {QStringLiteral("failed")});
    }
}

TEST(Snapshot, AWriteProtectedFileIsKeptAndAFileSizeLimitReported)
{
    QTemporaryDir dir;
    const QByteArray d = QFile::encodeName(dir.path()), keep = d + "/keep.png";
    QFile(keep).open(QIODevice::WriteOnly);
    constexpr uid_t kNobody = 65534; // a writer whom file modes bind
    ASSERT_EQ(::chown(d, kNobody, kNobody) | ::chown(keep, kNobody, kNobody) | ::chmod(keep, 0444), 0);
    const std::vector<double> values(10000, 0.125);
    // As another user than root, and the window's "Save samples…" past the file-size limit.
    const int status = InChild([&](int) {
        QString e;
        const bool refused = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 &&
            !WriteSnapshotImage(QImage(8, 8, QImage::Format_RGB32), keep, e) && e.endsWith(strerror(EACCES));
        InstallProcessSignals();
        const rlimit small {4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        e = SaveSamplesCsv(dir.filePath("s.csv"), values.data(), qsizetype(values.size()));
        return refused && e.endsWith(strerror(EFBIG)) ? 0 : 1;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(Read(keep).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"keep.png"});
}

TEST(Signals, EndTheProgramWhenNoLoopComesRound)
{
    // Watched by a loop that never comes round: blocked in a call, as in an open() of a FIFO.
    for (const int signal : {SIGTERM, SIGINT}) {
        const int status = InChild(
            [](int ready) {
                InstallProcessSignals();
                bool requested = false;
                QuitOnTerminationSignals(*QCoreApplication::instance(), requested);
                int never[2];
                char byte;
                return ::pipe(never) == 0 && ::write(ready, "r", 1) == 1 ? int(::read(never[0], &byte, 1)) : 1;
            },
            [signal](pid_t pid) { ::kill(pid, signal); });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << " " << status;
    }
}

TEST(StartView, StepsRunAtOnceAreDrawnOnce)
{
    TFrmMain frm(nullptr, false);
    frm.FormShow();
    TStartOptions options;
    options.StartView = TStartOptions::View::Means;
    options.Samples = 40;
    const int before = frm.RC->PaintCount();
    ApplyStartView(frm, options);
    EXPECT_EQ(frm.Model->RunCount(), 40);
    EXPECT_LE(frm.RC->PaintCount() - before, 2);
    EXPECT_FALSE(frm.RC->isHidden());
}

TEST(Snapshot, TheModeDecidesForRootTooAndOwnerGroupAndModeStay)
{
    QTemporaryDir dir;
    const QByteArray d = QFile::encodeName(dir.path()) + '/';
    for (const char *name : {"prot", "hard", "theirs"})
        QFile(d + name).open(QIODevice::WriteOnly);
    constexpr uid_t kNobody = 65534;
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(::chmod(d + "prot", 0444) | ::symlink(d + "prot", d + "link") | ::link(d + "hard", d + "hard2") |
                  ::chmod(d + "theirs", 0640) | (root ? ::chown(d + "theirs", kNobody, kNobody) : 0),
              0);
    // File, replaced, the message.
    const std::tuple<QByteArray, bool, QString> cases[] = {{"prot", false, strerror(EACCES)},
                                                           {"link", false, strerror(EACCES)},
                                                           {"hard", false, "hard links"},
                                                           {"theirs", true, ""}};
    for (const auto &[file, replaced, says] : cases) {
        SCOPED_TRACE(file.toStdString());
        QString error;
        EXPECT_EQ(WriteSnapshotImage(QImage(8, 8, QImage::Format_RGB32), d + file, error), replaced);
        EXPECT_TRUE(error.contains(says) && Read(d + file).isEmpty() != replaced) << error.toStdString();
    }
    struct stat st = {};
    ASSERT_EQ(::stat(d + "theirs", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(!root || (st.st_uid == kNobody && st.st_gid == kNobody));
}

TEST(Signals, AFileBeingWrittenIsFinishedFirst)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir dir;
        const QByteArray file = QFile::encodeName(dir.filePath("f.svg"));
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(dir.path()), IN_CREATE), 0);
        // Headless, the signal comes as the temporary file appears.
        const int status = InChild(
            [&](int ready) {
                InstallProcessSignals();
                QString e;
                return ::write(ready, "r", 1) == 1 && ReplaceFile(file, QByteArray(64 << 20, 'x'), e) ? 0 : 1;
            },
            [&](pid_t pid) {
                char event[4096];
                pollfd created {watch, POLLIN, 0};
                if (::poll(&created, 1, 60000) == 1 && ::read(watch, event, sizeof event) > 0)
                    ::kill(pid, signal);
            });
        ::close(watch);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"f.svg"});
        EXPECT_EQ(QFileInfo(dir.filePath("f.svg")).size(), 64 << 20);
    }
    // In the window, a write longer than the watcher's grace is finished too.
    QTemporaryDir dir;
    InChild(
        [&](int ready) {
            InstallProcessSignals();
            bool requested = false;
            QuitOnTerminationSignals(*QCoreApplication::instance(), requested);
            const TTerminationDeferred writing;
            const bool told = ::write(ready, "r", 1) == 1;
            std::this_thread::sleep_for(std::chrono::milliseconds(3 * TerminationGraceMs)); // goes on after the signal
            return told && QFile(dir.filePath("done")).open(QIODevice::WriteOnly) ? 0 : 1;
        },
        [](pid_t pid) { ::kill(pid, SIGTERM); });
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("done")));
}

TEST(Print, ToAFileKeepsTheOldOneWhenTheNewCannotBeWritten)
{
    TFrmMain frm(nullptr, false);
    frm.FormShow();
    QTemporaryDir dir;
    const QString file = dir.filePath("p.pdf");
    std::ofstream(QFile::encodeName(file).constData()) << "old";
    const int status = InChild([&](int) {
        InstallProcessSignals();
        const rlimit small {2048, 2048};
        ::setrlimit(RLIMIT_FSIZE, &small);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return PrintChart(frm, &printer).isEmpty() ? 1 : 0;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Read(QFile::encodeName(file)), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"p.pdf"});
}
