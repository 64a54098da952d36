// Damaged and hostile tables: none may crash, hang or load rubbish entries.
#include "Lingwa2000.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <random>

namespace {

// Counts what the engine reads, to see that it stops at the end of the input.
class TCountingBuffer : public QBuffer
{
public:
    explicit TCountingBuffer(QByteArray *data) : QBuffer(data) { }
    qint64 reads = 0;
    qint64 largestRead = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        ++reads;
        largestRead = qMax(largestRead, maxSize);
        return QBuffer::readData(data, maxSize);
    }
};

struct BadCase
{
    const char *name;
    QByteArray data;
    QStringList keys; // what must load
};

QByteArray Binary(int size, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray b(size, '\0');
    for (char &c : b)
        c = char(rng() & 0xff);
    return b;
}

TEST(LingwaBadInput, MalformedTablesLoadOnlyTheirSoundRecords)
{
    const BadCase cases[] = {
        {"empty", QByteArray(), {}},
        {"only a terminator", "|$$", {}},
        {"terminators only", "|$$|$$|$$$$||$", {}},
        {"no terminator", "[a]=1\r\n[b]=2\r\n", {}},
        {"half a terminator at the end", "[a]=1|$", {}},
        {"without ]=", "[a]1|$$[b]=2|$$", {"b"}},
        {"]= before [", "]=[a|$$", {}},
        {"without [", "a]=1|$$[b]=2|$$", {"b"}},
        {"whitespace key", "[ \t\r\n ]=x|$$[k]=v|$$", {"k"}},
        {"empty key", "[]=x|$$", {}},
        {"nul bytes", QByteArray("[a\0b]=\0|$$", 10), {QString("a") + QChar(0) + "b"}},
        {"brackets only", QByteArray(5000, '['), {}},
        {"nested records", "[a]=[b]=c|$$", {"a"}},
    };
    for (const BadCase &c : cases) {
        TLingwa2000 lw;
        lw.LoadTable(c.data);
        EXPECT_EQ(lw.Keys(), c.keys) << c.name;
        EXPECT_EQ(lw.Keys().size(), lw.Texts().size()) << c.name;
    }
}

TEST(LingwaBadInput, BinaryDataNeverYieldsEmptyKeysOrCrashes)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        QByteArray data = Binary(64 * 1024, seed);
        // Sprinkle record syntax so that some records do form.
        std::mt19937 rng(seed);
        for (int i = 0; i < 200; ++i) {
            const char *tokens[] = {"[", "]=", "|$$", "\\n", "<%APPNAME%>", "\r\n"};
            const QByteArray t = tokens[rng() % 6];
            data.replace(int(rng() % (data.size() - 12)), t.size(), t);
        }
        TLingwa2000 lw("app");
        lw.LoadTable(data);
        ASSERT_EQ(lw.Keys().size(), lw.Texts().size());
        for (int i = 0; i < lw.Count(); ++i) {
            EXPECT_FALSE(lw.Keys()[i].isEmpty());
            EXPECT_FALSE(lw.Keys()[i].startsWith(' '));
            EXPECT_FALSE(lw.Keys()[i].contains(QLatin1String("  ")));
            // Each key leads to the text of its first occurrence.
            EXPECT_EQ(lw.LookupText(lw.Keys()[i]), lw.Texts()[lw.Keys().indexOf(lw.Keys()[i])]);
        }
    }
}

TEST(LingwaBadInput, TenMegabyteRecordIsReadOnceAndCut)
{
    const int size = 10 * 1024 * 1024;
    QByteArray data = "[big]=";
    data += QByteArray(size, 'x');
    data += "|$$[small]=s|$$";
    TCountingBuffer buf(&data);
    ASSERT_TRUE(buf.open(QIODevice::ReadOnly));
    TLingwa2000 lw;
    lw.LoadTable(buf);
    ASSERT_EQ(lw.Count(), 2);
    EXPECT_EQ(lw.Texts()[0], QString(TLingwa2000::MaxLineLength, u'x'));
    EXPECT_EQ(lw.LookupText("small"), "s");
    // Blocks of 256 bytes, and the stream is read once.
    EXPECT_EQ(buf.largestRead, 256);
    EXPECT_LE(buf.reads, data.size() / 256 + 3);
}

TEST(LingwaBadInput, TenMegabyteRecordWithoutTerminatorLoadsNothing)
{
    QByteArray data = "[a]=1|$$[big]=";
    // Almost terminators: every one of them must be passed over once.
    while (data.size() < 10 * 1024 * 1024)
        data += "|$|$x$$|";
    TLingwa2000 lw;
    lw.LoadTable(data);
    EXPECT_EQ(lw.Keys(), QStringList({"a"}));
}

TEST(LingwaBadInput, TenMegabyteKeyOfWhitespaceIsDropped)
{
    QByteArray data = "[";
    const char ws[] = {' ', '\t', '\r', '\n'};
    for (int i = 0; i < 10 * 1024 * 1024; ++i)
        data += ws[i % 4];
    data += "]=x|$$[k]=v|$$";
    TLingwa2000 lw;
    lw.LoadTable(data);
    EXPECT_EQ(lw.Keys(), QStringList({"k"}));
}

// Mutations of a sound table: the records left intact still load, in order.
TEST(LingwaBadInput, MutatedTablesKeepTheirIntactRecords)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        QByteArray data;
        QStringList keys;
        const int n = 1 + int(rng() % 20);
        for (int i = 0; i < n; ++i) {
            const QByteArray k = "key" + QByteArray::number(i);
            data += "\r\n[" + k + "]=" + QByteArray(int(rng() % 600), char('a' + i % 26)) + "|$$";
            keys << QString::fromLatin1(k);
        }
        // Truncate at a random point: records that end before it survive.
        const int cut = int(rng() % (data.size() + 1));
        const QByteArray head = data.left(cut);
        QStringList expected;
        for (const QString &k : keys) {
            const int start = head.indexOf("[" + k.toLatin1() + "]=");
            if (start >= 0 && head.indexOf("|$$", start) >= 0)
                expected << k;
        }
        TLingwa2000 lw;
        lw.LoadTable(head);
        EXPECT_EQ(lw.Keys(), expected) << "cut " << cut;
    }
}

} // namespace

TEST(LingwaBadInput, HugeTextsAreCutToWhatAWindowCanUse)
{
    const qsizetype line = TLingwa2000::MaxLineLength;
    const QByteArray lines = (QByteArray(5000, 'a') + "\\n").repeated(40);
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray("\xc3\xa9").repeated(3'000'000), QString(line, u'\u00e9')}, // UTF-8 cut inside a character
        {QByteArray(line - 1, 'a') +
             "\xf0\x9f\x98\x80"
             "b",
         QString(line - 1, u'a')}, // a surrogate pair is not split
        {lines, (QString(line, u'a') + "\r\n").repeated(40).left(TLingwa2000::MaxTextLength)},
    };
    for (const auto &[text, expected] : cases) {
        TLingwa2000 engine;
        engine.LoadTable("[k]=" + text + "|$$[" + QByteArray(5 * line, 'k') + "]=long key|$$[after]=ok|$$");
        EXPECT_EQ(engine.LookupText("k"), expected);
        EXPECT_EQ(engine.Keys(), QStringList({"k", "after"}));
    }
}

TEST(LingwaBadInput, ATableIsReadOnlyUpToItsCapsInBytesAndRecords)
{
    // Records beyond the cap; a sparse file's worth of zeros before a record.
    QByteArray many = QByteArray("[k]=v|$$").repeated(TLingwa2000::MaxTableRecords) + "[late]=x|$$";
    QByteArray sparse = QByteArray(TLingwa2000::MaxTableBytes, '\0') + "[late]=x|$$";
    for (QByteArray *data : {&many, &sparse}) {
        TCountingBuffer buf(data);
        ASSERT_TRUE(buf.open(QIODevice::ReadOnly));
        TLingwa2000 lw;
        lw.LoadTable(buf);
        EXPECT_EQ(lw.Count(), data == &many ? TLingwa2000::MaxTableRecords : 0);
        EXPECT_EQ(lw.LookupText("late"), "late");
        EXPECT_LE(buf.pos(), TLingwa2000::MaxTableBytes);
    }
}
