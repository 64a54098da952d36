// Fuzzes what arrives from another process: frame decoding (at once and in
// chunks), the time-stamped message data and every reply payload of the host
// link. Decoding must never crash, hang or allocate beyond a frame's byte
// count, and what decodes must survive a round trip.
#include "MessageChannel.h"
#include "QuarvisDemonWire.h"

#include <cstddef>
#include <cstdint>

namespace {

void Check(bool Condition)
{
    if (!Condition)
        __builtin_trap();
}

void InspectPayload(QByteArrayView Payload)
{
    if (const std::optional<TEntityRecord> record = DecodeEntityReply(Payload)) {
        const QByteArray again = EncodeEntityRecord(*record);
        const std::optional<TEntityRecord> back = DecodeEntityReply(again);
        Check(back && *back == *record);
    }
    if (const std::optional<QByteArray> file = DecodeFileReply(Payload))
        Check(file->size() == Payload.size() - 1);
    const QString text = DecodeStringReply(Payload);
    Check(text.size() <= Payload.size()); // never more characters than bytes
    DecodeProcessIdReply(Payload);
    const QStringList lines = DecodeParamLines(Payload);
    Check(lines.size() <= Payload.size());

    // Any sequence of primitive reads, chosen by the payload itself.
    TPayloadReader reader(Payload);
    qsizetype step = 0;
    while (!reader.Failed() && !reader.AtEnd() && step < Payload.size()) {
        const qsizetype before = reader.Remaining();
        QString s;
        qint32 i = 0;
        quint8 b = 0;
        switch (quint8(Payload[step++]) % 3) {
        case 0:
            reader.ReadString(s);
            Check(s.size() <= before);
            break;
        case 1: reader.ReadInt32(i); break;
        default: reader.ReadByte(b); break;
        }
        Check(reader.Failed() || reader.Remaining() < before);
    }
}

void InspectFrame(const TFrame &Frame)
{
    Check(Frame.Data.size() <= qsizetype(KventoChannel::MaxFrameBytes));
    if (const std::optional<TMessageData> message = DecodeMessageData(Frame.Data)) {
        Check(message->Payload.size() == Frame.Data.size() - 8);
        InspectPayload(message->Payload);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(Data), qsizetype(Size));

    // One frame at the front: it re-encodes to exactly the bytes it took.
    const TFrameParse parse = ParseFrame(input);
    if (parse.Status == TFrameStatus::Complete) {
        Check(parse.Consumed <= input.size());
        Check(EncodeFrame(parse.Frame.Sender, parse.Frame.Code, parse.Frame.Data) == input.first(parse.Consumed));
        InspectFrame(parse.Frame);
    } else {
        Check(parse.Frame.Data.isEmpty() && parse.Consumed == 0);
    }

    // The same bytes as a stream arriving in chunks of a size the input picks.
    const qsizetype chunk = Size ? qsizetype(Data[0] % 61) + 1 : 1;
    TFrameDecoder decoder;
    decoder.SetLimit(quint32(input.size())); // a larger frame could never complete here
    qsizetype taken = 0;
    for (qsizetype pos = 0; pos < input.size(); pos += chunk) {
        decoder.Append(input.sliced(pos, qMin(chunk, input.size() - pos)));
        Check(decoder.Capacity() <= 2 * input.size()); // frames that arrived, and the one under way
        TFrame frame;
        while (decoder.Next(frame)) {
            taken += KventoChannel::HeaderSize + frame.Data.size();
            InspectFrame(frame);
        }
    }
    if (!decoder.Failed())
        Check(taken + decoder.Pending() == input.size());

    // The raw bytes as a payload of every kind.
    InspectPayload(input);
    return 0;
}
