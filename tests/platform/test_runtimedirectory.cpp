#include "RuntimeDirectory.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(RuntimeDirectory, PrivateDirectoryIsOwnerOnly)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QFileDevice::Permissions others = QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther |
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup;

    // Created fresh.
    const QString fresh = PrivateDirectory(base.path(), "fresh");
    ASSERT_EQ(fresh, base.path() + "/fresh");
    EXPECT_FALSE(QFileInfo(fresh).permissions() & others);

    // Left open to everyone: closed again before use.
    QDir(base.path()).mkdir("open");
    QFile::setPermissions(base.path() + "/open", QFileDevice::Permissions(0x7777));
    const QString open = PrivateDirectory(base.path(), "open");
    ASSERT_FALSE(open.isEmpty());
    EXPECT_FALSE(QFileInfo(open).permissions() & others);

    // A file or a link in its place is refused.
    QFile f(base.path() + "/file");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(PrivateDirectory(base.path(), "file").isEmpty());
    ASSERT_TRUE(QFile::link(fresh, base.path() + "/link"));
    EXPECT_TRUE(PrivateDirectory(base.path(), "link").isEmpty());
    EXPECT_TRUE(PrivateDirectory(QString(), "x").isEmpty());
}

TEST(RuntimeDirectory, IsNeverWritableByOthers)
{
    const QString dir = RuntimeDirectory();
    ASSERT_FALSE(dir.isEmpty());
    EXPECT_TRUE(QFileInfo(dir).isDir());
    EXPECT_FALSE(QFileInfo(dir).permissions() & (QFileDevice::WriteOther | QFileDevice::WriteGroup));
}
