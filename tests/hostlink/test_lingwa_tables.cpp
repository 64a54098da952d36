// The program's own tables hold every key the program asks for.
#include "Lingwa2000.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Keys that the program's windows and code use, including the settings-like ones.
const QStringList kFixedKeys = {"Show Distribution",
                                "Calculate Means",
                                "Location",
                                "Width",
                                "About",
                                "Exit",
                                "Select a Distribution",
                                "Normal Distribution",
                                "Cauchy Distribution",
                                "Description",
                                "HomePage",
                                "OK",
                                "Stop",
                                "x",
                                "probability",
                                "number of random numbers n",
                                "random numbers (gray) and the mean as a function of n (blue)",
                                "AppIconName",
                                "HomePageURL",
                                "$dlglanguage$"};

QString SourceDir()
{
    return qEnvironmentVariable("CAUCHY_SOURCE_DIR");
}

// "LW_..." literals and the literal keys of LookupText(...) and Translated(...).
QStringList ScannedKeys()
{
    static const QRegularExpression marked(QStringLiteral(R"re("LW_([^"\\]*)")re"));
    static const QRegularExpression code(QStringLiteral(
        R"re(\b(?:LookupText|Translated)\s*\(\s*(?:QStringLiteral\s*\(\s*|QString\s*\(\s*|u)?"([^"\\]*)")re"));
    QStringList keys;
    QDirIterator it(SourceDir() + "/app", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString src = QString::fromUtf8(f.readAll());
        for (const QRegularExpression *re : {&marked, &code}) {
            auto m = re->globalMatch(src);
            while (m.hasNext())
                keys << m.next().captured(1);
        }
    }
    keys.removeDuplicates();
    return keys;
}

struct TableCase
{
    const char *path;
    const char *language;
};

class LingwaProgramTable : public ::testing::TestWithParam<TableCase>
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(SourceDir().isEmpty()) << "CAUCHY_SOURCE_DIR is not set";
        QFile f(SourceDir() + "/app/tables/" + GetParam().path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        lw.LoadTable(f);
    }
    TLingwa2000 lw;
};

TEST_P(LingwaProgramTable, HoldsEveryFixedAndScannedKey)
{
    QStringList wanted = kFixedKeys + ScannedKeys();
    wanted.removeDuplicates();
    for (const QString &key : std::as_const(wanted))
        EXPECT_TRUE(lw.Keys().contains(key.toLower())) << GetParam().path << ": " << key.toStdString();
}

TEST_P(LingwaProgramTable, KeysAreUniqueAndTextsFilled)
{
    QStringList keys = lw.Keys();
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), lw.Count());
    for (int i = 0; i < lw.Count(); ++i) {
        EXPECT_FALSE(lw.Texts()[i].trimmed().isEmpty()) << lw.Keys()[i].toStdString();
        EXPECT_FALSE(lw.Texts()[i].contains(QChar(0xFFFD))) << lw.Keys()[i].toStdString();
    }
}

TEST_P(LingwaProgramTable, LanguageTagAndIcon)
{
    EXPECT_EQ(lw.LookupText("$dlglanguage$").toLower(), GetParam().language);
    EXPECT_EQ(lw.LookupText("STOP"), lw.LookupText("Stop"));
    const QString icon = lw.LookupText("AppIconName");
    EXPECT_NE(icon, "AppIconName");
    EXPECT_TRUE(QFile::exists(SourceDir() + "/app/tables/" + icon)) << icon.toStdString();
    // The home page is the documentation shipped beside the program.
    const QString home = lw.LookupText("HomePageURL");
    EXPECT_TRUE(QFile::exists(SourceDir() + "/docs/" + home)) << home.toStdString();
    // The description is a paragraph with a line break, not the bare key.
    EXPECT_TRUE(lw.LookupText("Description").contains("\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Tables, LingwaProgramTable,
                         ::testing::Values(TableCase {"cauchy.itl", "lgenglish"},
                                           TableCase {"translations/cauchy.itl", "lggerman"}));

TEST(LingwaProgramTables, BothLanguagesHaveTheSameKeys)
{
    TLingwa2000 en, de;
    QFile fe(SourceDir() + "/app/tables/cauchy.itl"), fd(SourceDir() + "/app/tables/translations/cauchy.itl");
    ASSERT_TRUE(fe.open(QIODevice::ReadOnly));
    ASSERT_TRUE(fd.open(QIODevice::ReadOnly));
    en.LoadTable(fe);
    de.LoadTable(fd);
    QStringList ke = en.Keys(), kd = de.Keys();
    ke.sort();
    kd.sort();
    EXPECT_EQ(ke, kd);
    EXPECT_NE(en.LookupText("Show Distribution"), de.LookupText("Show Distribution"));
}

TEST(LingwaProgramTables, ScanFindsKeysInSource)
{
    // The scan itself must see the program's marked texts, or the check above is empty.
    const QStringList scanned = ScannedKeys();
    EXPECT_TRUE(scanned.contains("Show Distribution")) << scanned.join(", ").toStdString();
}

} // namespace
