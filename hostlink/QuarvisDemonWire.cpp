#include "QuarvisDemonWire.h"

#include "MessageChannel.h"

#include <QDate>
#include <QTime>

namespace {

constexpr qint32 MsPerDay = 24 * 60 * 60 * 1000;

} // namespace

TTimeStamp TTimeStamp::FromDateTime(const QDateTime &When)
{
    TTimeStamp stamp;
    stamp.Time = When.time().msecsSinceStartOfDay();
    stamp.Date = qint32(QDate(1, 1, 1).daysTo(When.date()) + 1);
    return stamp;
}

TTimeStamp TTimeStamp::Next() const
{
    TTimeStamp next = *this;
    if (++next.Time >= MsPerDay) {
        next.Time = 0;
        ++next.Date;
    }
    return next;
}

QByteArray EncodeMessageData(const TTimeStamp &Stamp, QByteArrayView Payload)
{
    TPayloadWriter writer;
    writer.WriteInt32(Stamp.Time).WriteInt32(Stamp.Date).WriteBytes(Payload);
    return writer.Data();
}

std::optional<TMessageData> DecodeMessageData(QByteArrayView Data)
{
    return DecodeMessageData(Data.toByteArray());
}

std::optional<TMessageData> DecodeMessageData(QByteArray &&Data)
{
    TPayloadReader reader(Data);
    TMessageData message;
    if (!reader.ReadInt32(message.Stamp.Time) || !reader.ReadInt32(message.Stamp.Date))
        return std::nullopt;
    message.Payload = std::move(Data);
    message.Payload.remove(0, 8); // moves the start of an unshared buffer, copies nothing
    return message;
}

QByteArray EncodeEntityRecord(const TEntityRecord &Record)
{
    TPayloadWriter writer;
    writer.WriteInt32(qint32(Record.WindowHandle))
        .WriteInt32(qint32(Record.MutexHandle))
        .WriteString(Record.Path)
        .WriteString(Record.Title);
    return writer.Data();
}

std::optional<TEntityRecord> DecodeEntityReply(QByteArrayView Payload)
{
    if (Payload.isEmpty())
        return std::nullopt;
    TPayloadReader reader(Payload);
    qint32 window = 0;
    qint32 mutex = 0;
    TEntityRecord record;
    if (!reader.ReadInt32(window) || !reader.ReadInt32(mutex) || !reader.ReadString(record.Path) ||
        !reader.ReadString(record.Title))
        return std::nullopt;
    record.WindowHandle = quint32(window);
    record.MutexHandle = quint32(mutex);
    return record;
}

std::optional<QByteArray> DecodeFileReply(QByteArrayView Payload)
{
    return DecodeFileReply(Payload.toByteArray());
}

std::optional<QByteArray> DecodeFileReply(QByteArray &&Payload)
{
    if (Payload.isEmpty() || Payload[0] == 0)
        return std::nullopt;
    QByteArray bytes = std::move(Payload);
    bytes.remove(0, 1);
    return bytes;
}

QString DecodeStringReply(QByteArrayView Payload)
{
    TPayloadReader reader(Payload);
    QString value;
    reader.ReadString(value); // a failed read leaves it empty
    return value;
}

qint32 DecodeProcessIdReply(QByteArrayView Payload)
{
    TPayloadReader reader(Payload);
    qint32 pid = 0;
    reader.ReadInt32(pid);
    return pid;
}

QByteArray EncodeStringPayload(const QString &Value)
{
    return TPayloadWriter().WriteString(Value).Data();
}

QByteArray EncodeFindByHandle(quint32 Handle)
{
    return TPayloadWriter().WriteByte(1).WriteInt32(qint32(Handle)).Data();
}

QByteArray EncodeFindByTitle(const QString &Title)
{
    return TPayloadWriter().WriteByte(2).WriteString(Title).Data();
}

QByteArray EncodeExecute(const QString &Program, const QString &Parameters, bool Wait, qint32 Mode)
{
    return TPayloadWriter()
        .WriteString(Program)
        .WriteString(Parameters)
        .WriteByte(Wait ? 1 : 0)
        .WriteInt32(Mode)
        .Data();
}

QByteArray EncodeParamLines(const QStringList &Lines)
{
    QByteArray out;
    for (const QString &line : Lines) {
        out.append(line.toUtf8());
        out.append("\r\n", 2);
    }
    return out;
}

qsizetype CountParamLines(QByteArrayView Payload)
{
    qsizetype lines = 0;
    for (qsizetype i = 0; i < Payload.size(); ++i) {
        // A CR LF pair ends one line.
        if (Payload[i] == '\n' || (Payload[i] == '\r' && (i + 1 == Payload.size() || Payload[i + 1] != '\n')))
            ++lines;
    }
    const char last = Payload.isEmpty() ? '\n' : Payload.back();
    return lines + (last != '\n' && last != '\r' ? 1 : 0);
}

QStringList DecodeParamLines(QByteArrayView Payload)
{
    QStringList lines;
    lines.reserve(CountParamLines(Payload));
    qsizetype i = 0;
    const qsizetype n = Payload.size();
    while (i < n) {
        const qsizetype start = i;
        while (i < n && Payload[i] != '\r' && Payload[i] != '\n')
            ++i;
        lines.append(QString::fromUtf8(Payload.sliced(start, i - start)));
        if (i < n && Payload[i] == '\r')
            ++i;
        if (i < n && Payload[i] == '\n')
            ++i;
    }
    return lines;
}
