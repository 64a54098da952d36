// Reading tables and looking texts up.
#include "Lingwa2000.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

QByteArray Rec(const QByteArray &Key, const QByteArray &Text)
{
    return "[" + Key + "]=" + Text + "|$$\r\n";
}

TEST(LingwaLookup, WithoutTableEveryKeyIsItsOwnText)
{
    TLingwa2000 lw;
    EXPECT_EQ(lw.Count(), 0);
    EXPECT_EQ(lw.LookupText("AppIconName"), "AppIconName");
    EXPECT_EQ(lw.LookupText("STOP"), "STOP"); // case kept
    EXPECT_EQ(lw.LookupText(""), "");
    EXPECT_TRUE(lw.Missing().isEmpty()); // collected only with AutoCreateItlFile
}

TEST(LingwaLookup, KeysIgnoreTheCaseOfAtoZ)
{
    TLingwa2000 lw;
    lw.LoadTable(Rec("Stop", "Anhalten"));
    for (const char *key : {"STOP", "stop", "Stop", "sTOP"})
        EXPECT_EQ(lw.LookupText(key), "Anhalten") << key;
    EXPECT_EQ(lw.LookupText("Stopp"), "Stopp");
}

struct KeyCase
{
    const char *raw; // as written between "[" and "]="
    const char *lookup; // what a caller asks for
    bool found;
};

class LingwaKeyNormalisation : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(LingwaKeyNormalisation, FindsTheNormalisedKey)
{
    const KeyCase &c = GetParam();
    TLingwa2000 lw;
    lw.LoadTable(Rec(c.raw, "T"));
    ASSERT_EQ(lw.Count(), 1);
    EXPECT_EQ(lw.LookupText(c.lookup), c.found ? QString("T") : QString(c.lookup));
}

INSTANTIATE_TEST_SUITE_P(Keys, LingwaKeyNormalisation,
                         ::testing::Values(KeyCase {" Select a  \r\nDistribution", "select a distribution", true},
                                           KeyCase {"Select\ta\nDistribution", "SELECT A DISTRIBUTION", true},
                                           KeyCase {"\r\n\t   lead", "lead", true},
                                           KeyCase {"a \r\n \t b", "a b", true},
                                           // Trailing blanks stay, and the caller's key is not normalised.
                                           KeyCase {"Stop ", "stop", false}, KeyCase {"Stop ", "stop ", true},
                                           KeyCase {"a b", "a  b", false},
                                           // Only A-Z are folded, so the same key matches whatever the locale.
                                           KeyCase {"\xc3\x84rger", "\xc3\x84rger", true},
                                           KeyCase {"\xc3\x84rger", "\xc3\xa4rger", false}));

struct TextCase
{
    const char *raw;
    const char *expected;
};

class LingwaTextTransform : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(LingwaTextTransform, LoadsAsExpected)
{
    const TextCase &c = GetParam();
    TLingwa2000 lw("Cauchy");
    lw.LoadTable(Rec("k", c.raw));
    EXPECT_EQ(lw.LookupText("k"), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, LingwaTextTransform,
                         ::testing::Values(TextCase {"one\\ntwo", "one\r\ntwo"}, TextCase {"a\r\nb", "a  b"},
                                           TextCase {"a\rb\nc", "a b c"}, TextCase {"\\n\\n", "\r\n\r\n"},
                                           TextCase {"a\\\\nb", "a\\\r\nb"}, TextCase {"<%APPNAME%> 1", "Cauchy 1"},
                                           TextCase {"<%appname%>/<%AppName%>", "Cauchy/Cauchy"}, TextCase {"", ""},
                                           TextCase {"[x]=y", "[x]=y"}, TextCase {" padded ", " padded "}));

TEST(LingwaTextTransform, ApplicationNameIsInsertedLastAndNotRescanned)
{
    TLingwa2000 lw("A\\nB <%APPNAME%>");
    lw.LoadTable(Rec("k", "<%APPNAME%>"));
    EXPECT_EQ(lw.LookupText("k"), "A\\nB <%APPNAME%>");
}

TEST(LingwaTable, IgnoresTextBeforeTheBracketAndAfterTheLastTerminator)
{
    TLingwa2000 lw;
    lw.LoadTable("comment line ]= |\r\n[a]=1|$$ junk\r\n[b]=2|$$\r\n[c]=3");
    EXPECT_EQ(lw.Keys(), QStringList({"a", "b"}));
    EXPECT_EQ(lw.LookupText("a"), "1");
    EXPECT_EQ(lw.LookupText("b"), "2");
    EXPECT_EQ(lw.LookupText("c"), "c");
}

TEST(LingwaTable, KeyRunsToTheFirstBracketEquals)
{
    TLingwa2000 lw;
    lw.LoadTable("[a]=b]=c|$$[[x]=y|$$");
    EXPECT_EQ(lw.LookupText("a"), "b]=c");
    EXPECT_EQ(lw.LookupText("[x"), "y");
}

TEST(LingwaTable, FirstMatchWins)
{
    TLingwa2000 lw;
    lw.LoadTable(Rec("Key", "first") + Rec("KEY", "second") + Rec(" key", "third"));
    EXPECT_EQ(lw.Count(), 3); // every record is kept, in file order
    EXPECT_EQ(lw.Texts(), QStringList({"first", "second", "third"}));
    EXPECT_EQ(lw.LookupText("key"), "first");
}

TEST(LingwaTable, LoadingReplacesTheWholeTable)
{
    TLingwa2000 lw;
    lw.LoadTable(Rec("a", "1") + Rec("b", "2"));
    lw.LoadTable(Rec("c", "3"));
    EXPECT_EQ(lw.Count(), 1);
    EXPECT_EQ(lw.LookupText("a"), "a");
    EXPECT_EQ(lw.LookupText("c"), "3");
    lw.LoadTable(QByteArray());
    EXPECT_EQ(lw.Count(), 0);
    EXPECT_EQ(lw.LookupText("c"), "c");
}

TEST(LingwaTable, ReadsFromTheStartOfASeekableStream)
{
    QByteArray data = Rec("a", "1");
    QBuffer buf(&data);
    ASSERT_TRUE(buf.open(QIODevice::ReadOnly));
    buf.seek(data.size());
    TLingwa2000 lw;
    lw.LoadTable(buf);
    EXPECT_EQ(lw.LookupText("a"), "1");
}

TEST(LingwaTable, ClosedStreamGivesAnEmptyTable)
{
    QByteArray data = Rec("a", "1");
    QBuffer buf(&data);
    TLingwa2000 lw;
    lw.LoadTable(Rec("b", "2"));
    lw.LoadTable(buf); // not open
    EXPECT_EQ(lw.Count(), 0);
}

// A stream that hands out at most a few bytes per read, like a pipe.
class TTrickleDevice : public QIODevice
{
public:
    TTrickleDevice(QByteArray data, qint64 chunk) : m_data(std::move(data)), m_chunk(chunk)
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = qMin(qMin(maxSize, m_chunk), qint64(m_data.size()) - m_pos);
        if (n <= 0)
            return -1;
        memcpy(data, m_data.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_chunk;
    qint64 m_pos = 0;
};

TEST(LingwaTable, ShortReadsFromASequentialStreamLoadTheSame)
{
    const QByteArray data = Rec("alpha", "1") + Rec("beta", QByteArray(700, 'b')) + Rec("gamma", "3");
    for (qint64 chunk : {1, 2, 3, 7, 255, 256, 1000}) {
        TTrickleDevice dev(data, chunk);
        TLingwa2000 lw;
        lw.LoadTable(dev);
        EXPECT_EQ(lw.Keys(), QStringList({"alpha", "beta", "gamma"})) << chunk;
        EXPECT_EQ(lw.LookupText("beta"), QString(700, 'b')) << chunk;
    }
}

// A record whose key, "]=", text or terminator straddles a 256-byte boundary
// loads like any other: the padding shifts the record across every offset
// around the boundaries of the first two blocks.
TEST(LingwaTable, RecordsAcrossBlockBoundariesLoad)
{
    for (int pad = 200; pad <= 530; ++pad) {
        QByteArray data(pad, ' ');
        data += Rec("first key", "first text");
        data += QByteArray(pad % 37, '\n');
        data += Rec("Second", "x\\ny");
        TLingwa2000 lw;
        lw.LoadTable(data);
        ASSERT_EQ(lw.Count(), 2) << pad;
        EXPECT_EQ(lw.LookupText("first key"), "first text") << pad;
        EXPECT_EQ(lw.LookupText("second"), "x\r\ny") << pad;
    }
}

struct EncodingCase
{
    QByteArray raw;
    QString expected;
};

TEST(LingwaTable, EightBitTextIsUtf8WhenValidElseWindows1252)
{
    const EncodingCase cases[] = {
        {"Gr\xc3\xb6\xc3\x9f"
         "e",
         QString::fromUtf8("Größe")},
        {"Gr\xf6\xdf"
         "e",
         QString::fromUtf8("Größe")},
        {"\x80 \x93x\x94 \x9f", QString::fromUtf8("€ “x” Ÿ")},
        {"\x81\x8d", QString(QChar(0x81)) + QChar(0x8d)}, // unassigned bytes keep their code
        {"\xc3", QString(QChar(0xc3))}, // truncated UTF-8
    };
    for (const EncodingCase &c : cases) {
        TLingwa2000 lw;
        lw.LoadTable(Rec(c.raw, c.raw));
        ASSERT_EQ(lw.Count(), 1);
        EXPECT_EQ(lw.Texts().first(), c.expected) << c.raw.toHex().constData();
        EXPECT_EQ(lw.LookupText(c.expected), c.expected);
    }
}

struct PlaceholderCase
{
    const char *text;
    QStringList args;
    const char *expected;
};

TEST(LingwaLookup, PlaceholdersAreReplacedInOnePass)
{
    const PlaceholderCase cases[] = {
        {"<%1%> and <%2%>", {"A", "B"}, "A and B"},
        {"<%1%><%1%>", {"x"}, "xx"},
        // Inserted text is never searched again, even for later arguments.
        {"<%1%> and <%2%>", {"<%2%>", "B"}, "<%2%> and B"},
        {"<%1%>", {"<%1%>"}, "<%1%>"},
        {"<%3%> <%0%> <%01%> <%-1%>", {"a", "b"}, "<%3%> <%0%> <%01%> <%-1%>"},
        {"<%1", {"a"}, "<%1"},
        {"<%<%1%>%>", {"a"}, "<%a%>"},
        {"<%10%>", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"}, "ten"},
        {"<%99999999999999999999%>", {"a"}, "<%99999999999999999999%>"},
        {"none", {"a"}, "none"},
        {"<%1%>", {}, "<%1%>"},
    };
    for (const PlaceholderCase &c : cases) {
        TLingwa2000 lw;
        lw.LoadTable(Rec("k", c.text));
        EXPECT_EQ(lw.LookupText("k", c.args), c.expected) << c.text;
        // A key without translation gets its placeholders replaced as well.
        EXPECT_EQ(lw.LookupText(c.text, c.args), c.expected) << c.text;
    }
}

TEST(LingwaLookup, CallbackSeesEveryFoundTextAndMayChangeIt)
{
    TLingwa2000 lw;
    lw.LoadTable(Rec("Stop", "Anhalten"));
    QStringList seen;
    lw.OnTextTranslated = [&](TLingwa2000 *sender, const QString &key, QString &text) {
        EXPECT_EQ(sender, &lw);
        seen << key + "=" + text;
        text += "!";
    };
    EXPECT_EQ(lw.LookupText("STOP"), "Anhalten!");
    EXPECT_EQ(lw.LookupText("missing"), "missing"); // no callback without a match
    EXPECT_EQ(seen, QStringList({"STOP=Anhalten"}));
}

} // namespace
