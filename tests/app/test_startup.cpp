// Start-up pieces of the program entry: the snapshot file, the bytes of its
// name, and a start that throws.
#include "MessageBox.h"
#include "Startup.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// By the bytes of the name, which a QString might not keep.
QByteArray Read(const QByteArray &Path)
{
    std::ifstream in(Path.constData(), std::ios::binary);
    return QByteArray::fromStdString({std::istreambuf_iterator<char>(in), {}});
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
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4); // no temporary file is left

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
