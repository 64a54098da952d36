// Start-up pieces of the program entry: writing the snapshot file, the raw
// bytes of its name, and a start that throws.
#include "MessageBox.h"
#include "Startup.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// By the bytes of the name, which a QString might not keep.
QByteArray Read(const QByteArray &Path)
{
    QByteArray bytes;
    if (FILE *f = std::fopen(Path.constData(), "rb")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
            bytes.append(chunk, qsizetype(n));
        std::fclose(f);
    }
    return bytes;
}

} // namespace

TEST(Snapshot, WrittenWholeInItsFormatOrNotAtAll)
{
    QTemporaryDir dir;
    const QByteArray d = QFile::encodeName(dir.path()) + '/';
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_EQ(::mkfifo(d + "fifo.png", 0600), 0);
    QDir(dir.path()).mkdir(QStringLiteral("dir.png"));
    const struct
    {
        const char *name;
        QByteArray file;
        QByteArray starts; // the written file's first bytes; empty: refused
        const char *says;
    } cases[] = {
        {"PNG", "a.png", "\x89PNG", ""},
        {"JPEG by its extension, any case", "a.JPG", "\xff\xd8", ""},
        {"BMP", "a.bmp", "BM", ""},
        {"no extension", "plain", "\x89PNG", ""},
        {"name that is not UTF-8", "\xff\xfe.png", "\x89PNG", ""},
        {"unknown format", "a.xyz", "", "unknown picture format \".xyz\""},
        {"a FIFO", "fifo.png", "", "not a regular file"},
        {"a directory", "dir.png", "", "not a regular file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_EQ(WriteSnapshotImage(picture, d + c.file, error), !c.starts.isEmpty());
        if (c.starts.isEmpty())
            EXPECT_TRUE(error.contains(QLatin1String(c.says))) << error.toStdString();
        else
            EXPECT_TRUE(Read(d + c.file).startsWith(c.starts));
    }
    const QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(names.filter(QRegularExpression(QStringLiteral("\\.\\w{6}$"))).isEmpty()) << "temporary file left";
    ::unlink(d + "\xff\xfe.png");

    // A file that cannot be written whole leaves the old picture as it was.
    const QByteArray old = Read(d + "a.png");
    QImage big(2000, 2000, QImage::Format_RGB32);
    big.fill(Qt::white);
    for (int y = 0; y < big.height(); ++y)
        big.setPixel(y, y, qRgb(y % 256, 7, 9));
    rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small {4096, saved.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool written = WriteSnapshotImage(big, d + "a.png", error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << error.toStdString();
    EXPECT_EQ(Read(d + "a.png"), old);
}

TEST(Snapshot, FileNameKeepsItsBytes)
{
    char prog[] = "cauchy", opt[] = "--snapshot", name[] = "\xff\xfe.png", joined[] = "--snapshot=\xfe.png";
    char *separate[] = {prog, opt, name};
    char *together[] = {prog, joined};
    EXPECT_EQ(SnapshotPathBytes(3, separate, QString::fromLocal8Bit(name)), QByteArray(name));
    EXPECT_EQ(SnapshotPathBytes(2, together, QString::fromLocal8Bit("\xfe.png")), QByteArray("\xfe.png"));
}

TEST(StartFailure, OneLineOrAMessageBoxThenExitOne)
{
    for (const bool snapshot : {true, false}) {
        QStringList shown;
        const TMessageBoxHandler previous =
            SetMessageBoxHandler([&](TMsgDlgType, const QString &, const QString &Text) { shown << Text; });
        int argc = 1;
        char prog[] = "cauchy";
        char *argv[] = {prog, nullptr};
        EXPECT_EQ(ReportStartFailure(argc, argv, snapshot, QStringLiteral("Could not create window handle")), 1);
        SetMessageBoxHandler(previous);
        EXPECT_EQ(shown, snapshot ? QStringList() : QStringList {QStringLiteral("Could not create window handle")});
    }
}
