// What another program may have put where a file is expected is never waited
// on; a long path is shown by its ends.
#include "FileGuards.h"
#include "SystemSettings.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(FileGuards, ALongPathIsShownByItsEnds)
{
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
