#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// Message codes of the host link.
enum TKventoCode : qint32 {
    kvQuit = 4096, // host -> client: 1 byte "server down"
    kvReply = 4097, // answer to a request, same time stamp
    kvRegister = 4098, // client -> host: own entity record
    kvUnregister = 4099, // client -> host: own entity record
    kvFindEntity = 4100, // 1 byte 1 + handle, or 1 byte 2 + title
    kvParams = 4101, // instance -> instance: parameter lines
    kvExecute = 4102, // program, parameters, wait byte, mode
    kvGetFile = 4103, // file name -> found byte + bytes
    kvGetPath = 4104, // string -> string
    kvGetText = 4105, // string -> string
    kvGetValue = 4106, // key -> value
};

// Time stamp of a message: milliseconds since midnight and the day number
// counted from 1 January of year 1 as day 1.
struct TTimeStamp
{
    qint32 Time = 0;
    qint32 Date = 0;

    static TTimeStamp FromDateTime(const QDateTime &When);
    // One millisecond later, rolling over to the next day.
    TTimeStamp Next() const;
    bool operator==(const TTimeStamp &Other) const = default;
    bool operator<(const TTimeStamp &Other) const { return Date != Other.Date ? Date < Other.Date : Time < Other.Time; }
};

// The data bytes of a message frame: the time stamp, then the payload.
struct TMessageData
{
    TTimeStamp Stamp;
    QByteArray Payload;
};

QByteArray EncodeMessageData(const TTimeStamp &Stamp, QByteArrayView Payload);
// None when the data is shorter than the time stamp. Given the bytes
// themselves, the payload keeps their buffer (no copy).
std::optional<TMessageData> DecodeMessageData(QByteArrayView Data);
std::optional<TMessageData> DecodeMessageData(QByteArray &&Data);

// Entity record: window handle, instance lock handle, program path, title.
struct TEntityRecord
{
    quint32 WindowHandle = 0;
    quint32 MutexHandle = 0;
    QString Path;
    QString Title;
    bool operator==(const TEntityRecord &Other) const = default;
};

QByteArray EncodeEntityRecord(const TEntityRecord &Record);

// Reply decoding. Malformed replies read as "nothing": no entity, no file, an
// empty string, process id 0.
std::optional<TEntityRecord> DecodeEntityReply(QByteArrayView Payload);
std::optional<QByteArray> DecodeFileReply(QByteArrayView Payload);
std::optional<QByteArray> DecodeFileReply(QByteArray &&Payload);
QString DecodeStringReply(QByteArrayView Payload);
qint32 DecodeProcessIdReply(QByteArrayView Payload);

// Request payloads.
QByteArray EncodeStringPayload(const QString &Value);
QByteArray EncodeFindByHandle(quint32 Handle);
QByteArray EncodeFindByTitle(const QString &Title);
QByteArray EncodeExecute(const QString &Program, const QString &Parameters, bool Wait, qint32 Mode);

// A parameter list as text lines: every line followed by CR LF. Decoding
// accepts CR LF, LF or CR as line ends; a final line without one still counts.
QByteArray EncodeParamLines(const QStringList &Lines);
QStringList DecodeParamLines(QByteArrayView Payload);
// How many lines DecodeParamLines would give, without making them.
qsizetype CountParamLines(QByteArrayView Payload);
