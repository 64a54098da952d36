// Frame and payload coding of the message channel and the host-link wire
// format: pure functions, no sockets.
#include "MessageChannel.h"
#include "QuarvisDemonWire.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTime>

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(std::initializer_list<int> Values)
{
    QByteArray out;
    for (int v : Values)
        out.append(char(v));
    return out;
}

QByteArray Header(quint32 Sender, quint32 Code, quint32 Count)
{
    QByteArray h = EncodeFrame(Sender, Code, QByteArray());
    h[8] = char(Count & 0xff);
    h[9] = char((Count >> 8) & 0xff);
    h[10] = char((Count >> 16) & 0xff);
    h[11] = char((Count >> 24) & 0xff);
    return h;
}

} // namespace

TEST(ChannelFrames, EncodeIsLittleEndianHeaderThenData)
{
    EXPECT_EQ(EncodeFrame(0x04030201, 4097, "ab"), Bytes({1, 2, 3, 4, 0x01, 0x10, 0, 0, 2, 0, 0, 0, 'a', 'b'}));
    EXPECT_EQ(EncodeDoneFrame(0xA1B2C3D4), Bytes({0xD4, 0xC3, 0xB2, 0xA1, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(EncodeDoneFrame(1, -2).right(4), Bytes({0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(ChannelFrames, ParseClassifiesBuffers)
{
    const QByteArray full = EncodeFrame(77, 4106, "hello");
    struct Case
    {
        const char *name;
        QByteArray buffer;
        TFrameStatus status;
        qsizetype consumed;
    };
    const Case cases[] = {
        {"empty", QByteArray(), TFrameStatus::Incomplete, 0},
        {"header minus one", full.left(11), TFrameStatus::Incomplete, 0},
        {"data minus one", full.left(full.size() - 1), TFrameStatus::Incomplete, 0},
        {"exact", full, TFrameStatus::Complete, full.size()},
        {"with following bytes", full + "xyz", TFrameStatus::Complete, full.size()},
        {"empty data", EncodeFrame(1, 2, QByteArray()), TFrameStatus::Complete, 12},
        {"count at the limit, data missing", Header(1, 2, KventoChannel::MaxFrameBytes) + "abc",
         TFrameStatus::Incomplete, 0},
        {"count one over the limit", Header(1, 2, KventoChannel::MaxFrameBytes + 1), TFrameStatus::TooLarge, 0},
        {"count with the top bit set", Header(1, 2, 0x80000000u), TFrameStatus::TooLarge, 0},
        {"count all ones", Header(1, 2, 0xFFFFFFFFu) + QByteArray(20, 'x'), TFrameStatus::TooLarge, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TFrameParse parse = ParseFrame(c.buffer);
        EXPECT_EQ(parse.Status, c.status);
        EXPECT_EQ(parse.Consumed, c.consumed);
        if (parse.Status != TFrameStatus::Complete) {
            EXPECT_EQ(parse.Frame.Data.capacity(), 0); // nothing allocated for a frame not yet there
        }
    }
    const TFrameParse parse = ParseFrame(full + "tail");
    EXPECT_EQ(parse.Frame.Sender, 77u);
    EXPECT_EQ(parse.Frame.Code, 4106u);
    EXPECT_EQ(parse.Frame.Data, QByteArray("hello"));
}

TEST(ChannelFrames, DecoderYieldsFramesWhateverTheChunking)
{
    const QList<TFrame> sent = {
        {1, 4097, "first"}, {2, 0, QByteArray(4, '\0')}, {3, 4103, QByteArray(3000, 'z')}, {4, 9, QByteArray()}};
    QByteArray stream;
    for (const TFrame &f : sent)
        stream += EncodeFrame(f.Sender, f.Code, f.Data);

    QRandomGenerator rng(1234);
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        TFrameDecoder decoder;
        QList<TFrame> got;
        qsizetype pos = 0;
        while (pos < stream.size()) {
            const qsizetype n = round == 0 ? 1 : qsizetype(rng.bounded(1, 700));
            decoder.Append(QByteArrayView(stream).sliced(pos, qMin(n, stream.size() - pos)));
            pos += n;
            TFrame f;
            while (decoder.Next(f))
                got.append(f);
        }
        ASSERT_EQ(got.size(), sent.size());
        for (qsizetype i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(got[i].Sender, sent[i].Sender);
            EXPECT_EQ(got[i].Code, sent[i].Code);
            EXPECT_EQ(got[i].Data, sent[i].Data);
        }
        EXPECT_EQ(decoder.Pending(), 0);
        EXPECT_FALSE(decoder.Failed());
    }
}

TEST(ChannelFrames, DecoderFailsOnOversizedCountAndStaysFailed)
{
    TFrameDecoder decoder;
    decoder.Append(EncodeFrame(1, 4097, "ok") + Header(1, 4097, KventoChannel::MaxFrameBytes + 1));
    decoder.Append(EncodeFrame(1, 4097, "after"));
    TFrame f;
    ASSERT_TRUE(decoder.Next(f));
    EXPECT_EQ(f.Data, QByteArray("ok"));
    EXPECT_FALSE(decoder.Next(f));
    EXPECT_TRUE(decoder.Failed());
    EXPECT_FALSE(decoder.Next(f));
    EXPECT_EQ(decoder.Pending(), 0);
}

TEST(ChannelFrames, DecoderAllocatesAFrameOnceAtItsByteCount)
{
    TFrameDecoder decoder;
    decoder.Append(Header(1, 4097, 300000));
    for (int i = 0; i < 10; ++i)
        decoder.Append(QByteArray(100, 'x'));
    TFrame f;
    EXPECT_FALSE(decoder.Next(f));
    EXPECT_FALSE(decoder.Failed());
    EXPECT_EQ(decoder.Pending(), 12 + 1000);
    EXPECT_EQ(decoder.Capacity(), 300000); // filled in place, never grown
}

TEST(PayloadCoding, WriterLayout)
{
    TPayloadWriter w;
    w.WriteByte(2).WriteInt32(-2).WriteString(QStringLiteral("h\u00e9")).WriteString(QString());
    EXPECT_EQ(w.Data(), Bytes({2, 0xFE, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 'h', 0xC3, 0xA9, 0, 0, 0, 0}));
}

TEST(PayloadCoding, StringReadsTable)
{
    struct Case
    {
        const char *name;
        QByteArray data;
        bool ok;
        QString value;
        qsizetype remaining;
    };
    const Case cases[] = {
        {"plain", Bytes({3, 0, 0, 0, 'a', 'b', 'c', '!'}), true, "abc", 1},
        {"zero length", Bytes({0, 0, 0, 0, 'x'}), true, "", 1},
        {"negative length reads empty", Bytes({0xFB, 0xFF, 0xFF, 0xFF, 'x'}), true, "", 1},
        {"most negative length", Bytes({0, 0, 0, 0x80}), true, "", 0},
        {"length beyond the data", Bytes({10, 0, 0, 0, 'a', 'b', 'c'}), false, "", 0},
        {"huge length", Bytes({0xFF, 0xFF, 0xFF, 0x7F, 'a'}), false, "", 0},
        {"length truncated", Bytes({3, 0, 0}), false, "", 0},
        {"nothing", QByteArray(), false, "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPayloadReader r(c.data);
        QString s = QStringLiteral("previous");
        EXPECT_EQ(r.ReadString(s), c.ok);
        EXPECT_EQ(s, c.value);
        EXPECT_EQ(r.Failed(), !c.ok);
        EXPECT_EQ(r.Remaining(), c.remaining);
    }
}

TEST(PayloadCoding, FailedReaderStaysFailed)
{
    const QByteArray data = Bytes({1, 2, 3, 4, 5, 6});
    TPayloadReader r(data);
    qint32 v = 0;
    EXPECT_TRUE(r.ReadInt32(v));
    EXPECT_EQ(v, 0x04030201);
    EXPECT_FALSE(r.ReadInt32(v));
    EXPECT_EQ(v, 0);
    quint8 b = 9;
    EXPECT_FALSE(r.ReadByte(b)); // two bytes are left, but the reader has failed
    EXPECT_EQ(b, 0);
    EXPECT_TRUE(r.ReadRest().isEmpty());
}

TEST(HostWire, TimeStampCountsDaysFromYearOne)
{
    EXPECT_EQ(TTimeStamp::FromDateTime(QDateTime(QDate(1, 1, 1), QTime(0, 0))), (TTimeStamp {0, 1}));
    EXPECT_EQ(TTimeStamp::FromDateTime(QDateTime(QDate(1899, 12, 30), QTime(12, 0, 0, 5))),
              (TTimeStamp {43200005, 693594}));
    EXPECT_EQ((TTimeStamp {86399999, 10}).Next(), (TTimeStamp {0, 11}));
    EXPECT_EQ((TTimeStamp {5, 10}).Next(), (TTimeStamp {6, 10}));
    EXPECT_TRUE((TTimeStamp {86399999, 10}) < (TTimeStamp {0, 11}));
    EXPECT_FALSE((TTimeStamp {3, 11}) < (TTimeStamp {3, 11}));
}

TEST(HostWire, MessageDataIsStampThenPayload)
{
    const QByteArray data = EncodeMessageData({0x01020304, 0x0A0B0C0D}, "xy");
    EXPECT_EQ(data, Bytes({4, 3, 2, 1, 0x0D, 0x0C, 0x0B, 0x0A, 'x', 'y'}));
    const auto decoded = DecodeMessageData(data);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Stamp, (TTimeStamp {0x01020304, 0x0A0B0C0D}));
    EXPECT_EQ(decoded->Payload, QByteArray("xy"));
    EXPECT_FALSE(DecodeMessageData(data.left(7)));
    ASSERT_TRUE(DecodeMessageData(data.left(8)));
    EXPECT_TRUE(DecodeMessageData(data.left(8))->Payload.isEmpty());
}

TEST(HostWire, EntityRecordLayoutAndRoundTrip)
{
    const TEntityRecord record {0x11223344, 1, QStringLiteral("/p/x"), QStringLiteral("T")};
    const QByteArray bytes = EncodeEntityRecord(record);
    EXPECT_EQ(bytes, Bytes({0x44, 0x33, 0x22, 0x11, 1, 0, 0, 0, 4, 0, 0, 0, '/', 'p', '/', 'x', 1, 0, 0, 0, 'T'}));
    EXPECT_EQ(DecodeEntityReply(bytes), record);
    EXPECT_EQ(DecodeEntityReply(bytes + "trailing"), record);
    // Any truncation is no entity, never a partial one.
    for (qsizetype n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(DecodeEntityReply(bytes.left(n))) << n;
    // Negative string lengths read as empty strings.
    const QByteArray negative = Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80});
    EXPECT_EQ(DecodeEntityReply(negative), (TEntityRecord {5, 0, QString(), QString()}));
}

TEST(HostWire, RepliesTable)
{
    EXPECT_FALSE(DecodeFileReply(QByteArray()));
    EXPECT_FALSE(DecodeFileReply(Bytes({0})));
    EXPECT_FALSE(DecodeFileReply(Bytes({0, 'x'})));
    ASSERT_TRUE(DecodeFileReply(Bytes({1})));
    EXPECT_TRUE(DecodeFileReply(Bytes({1}))->isEmpty());
    EXPECT_EQ(DecodeFileReply(Bytes({7, 'a', 'b'})), QByteArray("ab"));

    EXPECT_EQ(DecodeProcessIdReply(Bytes({0x39, 0x30, 0, 0})), 12345);
    EXPECT_EQ(DecodeProcessIdReply(Bytes({0x39, 0x30, 0})), 0);
    EXPECT_EQ(DecodeProcessIdReply(QByteArray()), 0);

    EXPECT_EQ(DecodeStringReply(EncodeStringPayload(QStringLiteral("v\u00e4l"))), QStringLiteral("v\u00e4l"));
    EXPECT_EQ(DecodeStringReply(Bytes({9, 0, 0, 0, 'a'})), QString());
    EXPECT_EQ(DecodeStringReply(QByteArray()), QString());
}

TEST(HostWire, RequestLayouts)
{
    EXPECT_EQ(EncodeFindByHandle(0x01020304), Bytes({1, 4, 3, 2, 1}));
    EXPECT_EQ(EncodeFindByTitle("ab"), Bytes({2, 2, 0, 0, 0, 'a', 'b'}));
    EXPECT_EQ(EncodeExecute("p", "-x", true, 3), Bytes({1, 0, 0, 0, 'p', 2, 0, 0, 0, '-', 'x', 1, 3, 0, 0, 0}));
    EXPECT_EQ(EncodeExecute("", "", false, -1), Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(HostWire, ParamLinesTable)
{
    struct Case
    {
        const char *name;
        QByteArray text;
        QStringList lines;
    };
    const Case cases[] = {
        {"CR LF terminated", "a\r\nb\r\n", {"a", "b"}},
        {"last line open", "a\r\nb", {"a", "b"}},
        {"LF only", "a\nb\n", {"a", "b"}},
        {"CR only", "a\rb", {"a", "b"}},
        {"empty line kept", "a\r\n\r\nb", {"a", "", "b"}},
        {"lone break", "\r\n", {""}},
        {"nothing", "", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DecodeParamLines(c.text), c.lines) << c.name;
    const QStringList list = {"/bin/prog", "b\u00e4r", "", "x y"};
    EXPECT_EQ(EncodeParamLines(list), QByteArray("/bin/prog\r\nb\xC3\xA4r\r\n\r\nx y\r\n"));
    EXPECT_EQ(DecodeParamLines(EncodeParamLines(list)), list);
}
