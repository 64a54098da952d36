#pragma once

/// @file
/// The host link's message codes and the layout of its messages.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

/// Message codes of the host link.
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

/// Time stamp of a message: milliseconds since midnight and the day number
/// counted from 1 January of year 1 as day 1.
struct TTimeStamp
{
    /// Milliseconds since midnight, 0..86399999.
    qint32 Time = 0;
    /// Day number, 1 January of year 1 being day 1.
    qint32 Date = 0;

    /// The stamp of a local date and time.
    static TTimeStamp FromDateTime(const QDateTime &When);
    /// One millisecond later, rolling over to the next day.
    TTimeStamp Next() const;
    /// Whether both fields are equal.
    bool operator==(const TTimeStamp &Other) const = default;
    /// Whether this stamp is earlier than Other.
    bool operator<(const TTimeStamp &Other) const { return Date != Other.Date ? Date < Other.Date : Time < Other.Time; }
};

/// The data bytes of a message frame: the time stamp, then the payload.
struct TMessageData
{
    /// The message's time stamp; a reply carries that of its request.
    TTimeStamp Stamp;
    /// The bytes after the stamp.
    QByteArray Payload;
};

/// The data bytes of a message: Stamp (time, then date, little-endian), then Payload.
QByteArray EncodeMessageData(const TTimeStamp &Stamp, QByteArrayView Payload);
/// None when the data is shorter than the time stamp. Given the bytes
/// themselves, the payload keeps their buffer (no copy).
///@{
std::optional<TMessageData> DecodeMessageData(QByteArrayView Data);
std::optional<TMessageData> DecodeMessageData(QByteArray &&Data);
///@}

/// Entity record: window handle, instance lock handle, program path, title.
struct TEntityRecord
{
    /// The entity's window handle (its process id here).
    quint32 WindowHandle = 0;
    /// Handle of its instance lock (0: none).
    quint32 MutexHandle = 0;
    /// Full path of its program.
    QString Path;
    /// Title of its main window.
    QString Title;
    /// Whether every field is equal.
    bool operator==(const TEntityRecord &Other) const = default;
};

/// The payload of a register or unregister request for Record.
QByteArray EncodeEntityRecord(const TEntityRecord &Record);

/// @name Replies
/// Malformed replies read as "nothing": no entity, no file, an empty string,
/// process id 0.
///@{

/// The entity record of a find reply; none when the host found none.
std::optional<TEntityRecord> DecodeEntityReply(QByteArrayView Payload);
/// The file's bytes of a get-file reply; none when the host has no such file.
std::optional<QByteArray> DecodeFileReply(QByteArrayView Payload);
/// As DecodeFileReply(QByteArrayView), keeping the payload's buffer.
std::optional<QByteArray> DecodeFileReply(QByteArray &&Payload);
/// The string of a get-path, get-text or get-value reply.
QString DecodeStringReply(QByteArrayView Payload);
/// The process id of an execute reply.
qint32 DecodeProcessIdReply(QByteArrayView Payload);
///@}

/// @name Request payloads
///@{

/// The payload of a string request (get-path, get-text, get-value) for Value.
QByteArray EncodeStringPayload(const QString &Value);
/// A find request by window handle.
QByteArray EncodeFindByHandle(quint32 Handle);
/// A find request by window title.
QByteArray EncodeFindByTitle(const QString &Title);
/// An execute request: the program, its parameters, whether the host waits
/// for it to end, and the window mode to start it in.
QByteArray EncodeExecute(const QString &Program, const QString &Parameters, bool Wait, qint32 Mode);

/// A parameter list as text lines: every line followed by CR LF. Decoding
/// accepts CR LF, LF or CR as line ends; a final line without one still counts.
///@}
QByteArray EncodeParamLines(const QStringList &Lines);
/// The lines of a parameter payload (see EncodeParamLines()).
QStringList DecodeParamLines(QByteArrayView Payload);
/// How many lines DecodeParamLines would give, without making them.
qsizetype CountParamLines(QByteArrayView Payload);
