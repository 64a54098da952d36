// The file of missing keys written when the engine is destroyed.
#include "Lingwa2000.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Runs a test inside a fresh current directory and restores the old one.
class LingwaItlFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_old = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    }
    void TearDown() override { QDir::setCurrent(m_old); }

    QString ExpectedName() const
    {
        return m_dir.filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName() + ".itl");
    }

    QTemporaryDir m_dir;
    QString m_old;
};

TEST_F(LingwaItlFile, NamedLikeTheProgramInTheCurrentDirectory)
{
    EXPECT_EQ(QFileInfo(TLingwa2000::ItlFileName()).absoluteFilePath(), QFileInfo(ExpectedName()).absoluteFilePath());
}

TEST_F(LingwaItlFile, HoldsMissingKeysOnceThenTheLoadedEntries)
{
    {
        TLingwa2000 lw("App");
        lw.LoadTable("[Stop]=Anhalten|$$[ Two  Lines]=one\\ntwo <%appname%>|$$");
        lw.SetAutoCreateItlFile(true);
        EXPECT_EQ(lw.LookupText("Show Distribution"), "Show Distribution");
        EXPECT_EQ(lw.LookupText("STOP"), "Anhalten");
        EXPECT_EQ(lw.LookupText("Show Distribution"), "Show Distribution");
        EXPECT_EQ(lw.LookupText("show distribution"), "show distribution"); // another line: case kept
        EXPECT_EQ(lw.LookupText("bad]=key"), "bad]=key");
        EXPECT_EQ(lw.LookupText("line\r\nbreak"), "line\r\nbreak");
        EXPECT_FALSE(QFile::exists(ExpectedName()));
    }
    QFile f(ExpectedName());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(f.readAll());
    EXPECT_EQ(content,
              "[Show Distribution]=Show Distribution|$$\n"
              "[show distribution]=show distribution|$$\n"
              "[line  break]=line  break|$$\n"
              "[stop]=Anhalten|$$\n"
              "[two lines]=one\\ntwo App|$$\n");

    // The file loads back to the same texts.
    f.seek(0);
    TLingwa2000 back;
    back.LoadTable(f);
    EXPECT_EQ(back.LookupText("two lines"), "one\r\ntwo App");
    EXPECT_EQ(back.LookupText("stop"), "Anhalten");
    EXPECT_EQ(back.Count(), 5);
}

TEST_F(LingwaItlFile, NothingWrittenWithoutTheFlag)
{
    {
        TLingwa2000 lw;
        EXPECT_FALSE(lw.AutoCreateItlFile());
        lw.LookupText("missing");
        EXPECT_TRUE(lw.Missing().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(ExpectedName()));
    {
        TLingwa2000 lw;
        lw.SetAutoCreateItlFile(true);
        lw.LookupText("missing");
        lw.SetAutoCreateItlFile(false); // switched off again before the end
    }
    EXPECT_FALSE(QFile::exists(ExpectedName()));
}

TEST_F(LingwaItlFile, UnwritableDirectoryIsSilent)
{
    // A directory where the file should go: the save fails and nothing breaks.
    ASSERT_TRUE(QDir().mkpath(ExpectedName()));
    {
        TLingwa2000 lw;
        lw.SetAutoCreateItlFile(true);
        lw.LookupText("missing");
    }
    EXPECT_TRUE(QFileInfo(ExpectedName()).isDir());
}

TEST(LingwaItlPath, ExtensionReplacedOrAppended)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/x/bin/cauchy", "/x/bin/cauchy.itl"},
        {"/x/bin/cauchy.exe", "/x/bin/cauchy.itl"},
        {"/x/a.b/cauchy", "/x/a.b/cauchy.itl"},
        {"/x/.hidden", "/x/.hidden.itl"},
        {"cauchy.tar.gz", "cauchy.tar.itl"},
        {"", ".itl"},
        {"name.", "name.itl"},
    };
    for (const auto &[program, table] : cases)
        EXPECT_EQ(TLingwa2000::ItlPathFor(program), table) << program;
}

} // namespace
