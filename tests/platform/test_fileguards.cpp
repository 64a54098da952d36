// What another program may have put where a file is expected: read only when
// it is a regular file, and never waited on.
#include "FileGuards.h"
#include "SystemSettings.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(FileGuards, OnlyARegularFileOfItsSizeIsRead)
{
    QTemporaryDir dir;
    const QByteArray d = QFile::encodeName(dir.path()) + '/';
    QFile file(d + "f");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("1234") == 4);
    file.close();
    ASSERT_EQ(::mkfifo(d + "fifo", 0600) | ::symlink(d + "f", d + "link"), 0);
    // Path, the limit, links followed, what is read.
    const std::tuple<QByteArray, qint64, bool, std::optional<QByteArray>> cases[] = {
        {"f", 4, true, "1234"},           {"f", 3, true, std::nullopt},    {"link", 4, true, "1234"},
        {"link", 4, false, std::nullopt}, {"fifo", 4, true, std::nullopt}, {"", 4, true, std::nullopt}};
    for (const auto &[path, limit, follow, read] : cases)
        EXPECT_EQ(ReadRegularFile(d + path, limit, follow), read) << path.toStdString();
    const QString path = QStringLiteral("/") + QString(4096, QLatin1Char('p')) + QStringLiteral("/end.png");
    EXPECT_TRUE(ShownPath(path).startsWith(path.left(20)) && ShownPath(path).endsWith(QStringLiteral("end.png")));
    EXPECT_LT(ShownPath(path).size(), 100);
}

TEST(FileGuards, QtDialogsNeverWaitOnAFifoForTheirSettings)
{
    QTemporaryDir home;
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    const QString conf = home.filePath(QStringLiteral("QtProject.conf"));
    // A FIFO stays as it is; a regular file gets what the dialog changed.
    for (const bool fifo : {true, false}) {
        ASSERT_TRUE(fifo ? ::mkfifo(QFile::encodeName(conf), 0600) == 0 : QFile(conf).open(QIODevice::WriteOnly));
        {
            const TPrivateQtSettings copy;
            QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
            settings.setValue(QStringLiteral("FileDialog/history"), fifo);
        }
        EXPECT_EQ(ReadRegularFile(QFile::encodeName(conf), 4096).value_or("").contains("history="), !fifo);
        QFile::remove(conf);
    }
    qputenv("XDG_CONFIG_HOME", old);
}
