#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class QIODevice;
class QLocalServer;
class TEndpointConnection;

// Same-machine message channel between programs.
//
// Every participant owns an endpoint: a local socket in the user's runtime
// directory, reachable only by that user. A message is one frame written on a
// new connection to the receiver's endpoint:
//
//   sender handle (u32) | code (u32) | byte count n (u32) | n data bytes
//
// all integers little-endian. The receiver may write answer frames on the same
// connection; it ends the exchange with a done frame (code 0, n = 4, a 32-bit
// result). The sender reads frames until the done frame and hands every other
// frame to its callback at once, while the send is still in progress.

namespace KventoChannel {
constexpr quint32 DoneCode = 0;
constexpr qsizetype HeaderSize = 12;
// Larger frames are refused by both sides before anything is allocated for them.
constexpr quint32 MaxFrameBytes = 64u * 1024u * 1024u;
// Longest wait for a frame to complete (receiver) and for a whole exchange
// (sender), however many frames keep arriving: a receiver that trickles frames
// cannot hold the sender longer.
constexpr int FrameTimeoutMs = 5000;
// What the frames being assembled on all connections of one endpoint may
// hold together, and how many connections it keeps open at once. A frame of
// up to SmallFrameBytes is always taken, so a large one in progress never
// shuts out a short message.
constexpr qsizetype EndpointBufferBytes = MaxFrameBytes;
constexpr int EndpointConnections = 64;
constexpr quint32 SmallFrameBytes = 64u * 1024u;
} // namespace KventoChannel

struct TFrame
{
    quint32 Sender = 0;
    quint32 Code = 0;
    QByteArray Data;
};

enum class TFrameStatus {
    Incomplete, // more bytes are needed
    Complete, // one frame was decoded
    TooLarge, // the byte count exceeds the limit; the stream cannot go on
};

struct TFrameParse
{
    TFrameStatus Status = TFrameStatus::Incomplete;
    qsizetype Consumed = 0; // bytes the frame took from the front of the buffer
    TFrame Frame;
};

// Decodes the frame at the front of Buffer. Pure; copies only the bytes that
// are present, never more than the frame's byte count.
TFrameParse ParseFrame(QByteArrayView Buffer);
QByteArray EncodeFrame(quint32 Sender, quint32 Code, QByteArrayView Data);
QByteArray EncodeDoneFrame(quint32 Sender, qint32 Result = 0);

// Assembles frames from received bytes. Once a frame's header has arrived
// its data buffer is allocated once, at exactly its byte count, and the bytes
// go straight into it; the finished frame takes that buffer over, so a frame
// is never copied and never costs more than its byte count. A header
// announcing more than the limit fails the decoder.
class TFrameDecoder
{
public:
    void Append(QByteArrayView Bytes);
    // Reads from Device until a frame is complete or Device has nothing more.
    void ReadFrom(QIODevice &Device);
    // Takes the next complete frame; false when none is complete.
    bool Next(TFrame &Frame);
    bool Failed() const { return m_failed; }
    // Bytes received but not yet taken as a frame.
    qsizetype Pending() const;
    // Bytes allocated for frames not yet taken.
    qsizetype Capacity() const;
    // Largest byte count accepted for a frame whose header has not arrived
    // yet (never above the channel's limit).
    void SetLimit(quint32 Bytes) { m_limit = qMin(Bytes, KventoChannel::MaxFrameBytes); }

private:
    // Moves bytes from Read (fills at most n bytes at a place, returns how
    // many) into frames; stops early once a frame is ready when asked to.
    void Fill(const std::function<qsizetype(char *, qsizetype)> &Read, bool StopAtFrame);
    bool BeginData();
    void Fail();

    char m_header[KventoChannel::HeaderSize] = {};
    qsizetype m_headerFill = 0;
    TFrame m_current;
    qsizetype m_dataFill = 0;
    std::deque<TFrame> m_ready;
    quint32 m_limit = KventoChannel::MaxFrameBytes;
    bool m_failed = false;
};

// Payload primitives: 32-bit little-endian integers, single bytes and strings
// written as a 32-bit signed length followed by that many UTF-8 bytes.
class TPayloadWriter
{
public:
    TPayloadWriter &WriteByte(quint8 Value);
    TPayloadWriter &WriteInt32(qint32 Value);
    TPayloadWriter &WriteString(const QString &Value);
    TPayloadWriter &WriteBytes(QByteArrayView Bytes);
    const QByteArray &Data() const { return m_data; }

private:
    QByteArray m_data;
};

// Reads a payload front to back. A read past the end fails, leaves the output
// at its empty value and marks the reader failed; later reads fail as well.
// A string length of zero or less reads as empty; a length beyond the
// remaining bytes is a failure (nothing is allocated for it).
class TPayloadReader
{
public:
    explicit TPayloadReader(QByteArrayView Data) : m_data(Data) { }

    bool ReadByte(quint8 &Value);
    bool ReadInt32(qint32 &Value);
    bool ReadString(QString &Value);
    // Everything not read yet.
    QByteArray ReadRest();

    qsizetype Remaining() const { return m_failed ? 0 : m_data.size() - m_pos; }
    bool AtEnd() const { return Remaining() == 0; }
    bool Failed() const { return m_failed; }

private:
    bool Take(qsizetype Count, const char *&Where);

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

// Directory of the endpoints (the user's runtime directory), created if needed.
QString ChannelDirectory();
// Full socket path of an endpoint name.
QString EndpointPath(const QString &Name);
// Endpoint name of a program with the given handle: "kvento-<handle>".
QString ProgramEndpointName(quint32 Handle);
// True when an endpoint of that name can exist here: there is a private
// directory and the socket path fits a local socket address.
bool EndpointPossible(const QString &Name);
// True when an endpoint of that name exists and accepts a connection.
bool EndpointAccepts(const QString &Name, int TimeoutMs = 1000);
// True unless the endpoint's socket is missing or refuses connections; a
// listener too busy to take one more still counts. Never waits.
bool EndpointListens(const QString &Name);
// Removes the "kvento-<pid>" sockets of programs that ended without closing
// them: the process is gone and the socket refuses connections. Returns how
// many were removed.
int RemoveStaleProgramEndpoints();

enum class TSendResult {
    Done, // the receiver handled the message and sent its done frame
    NoReceiver, // no endpoint of that name accepts connections
    TimedOut, // no next frame within the limit; the connection was closed
    Broken, // the connection ended early or carried an invalid frame
};

// Writes one frame to the endpoint Name on a new connection and reads frames
// until the done frame. Each other frame goes to OnFrame as soon as it has
// arrived. Blocks without running the event loop; the whole exchange, from
// connecting to the done frame, lasts at most TimeoutMs. DoneResult, when
// given, receives the done frame's result.
TSendResult SendFrame(const QString &Name, quint32 Sender, quint32 Code, QByteArrayView Data,
                      const std::function<void(TFrame &)> &OnFrame, int TimeoutMs = KventoChannel::FrameTimeoutMs,
                      qint32 *DoneResult = nullptr);

// Writes answer frames on the connection a message came in on; false when the
// connection is gone.
using TFrameReply = std::function<bool(quint32 Code, QByteArrayView Data)>;
// Handles one received message (and may take its data). Answer frames
// written through Reply go out before the done frame, which the endpoint
// writes when the handler returns.
using TFrameHandler = std::function<void(TFrame &Frame, const TFrameReply &Reply)>;

// The receiving side: a local server with user-only access. Each connection
// carries one message; the endpoint answers it with the done frame and closes
// the connection. A connection is dropped when a byte count exceeds the limit
// or a frame stays incomplete for longer than the frame timeout.
class TMessageEndpoint : public QObject
{
    Q_OBJECT

public:
    explicit TMessageEndpoint(QObject *parent = nullptr);
    ~TMessageEndpoint() override;

    // Listens on EndpointPath(Name). A socket file left by a process that no
    // longer listens is replaced; one that still accepts connections is not.
    bool Listen(const QString &Name);
    void Close();
    bool IsListening() const;
    QString Name() const { return m_name; }
    QString ErrorString() const { return m_error; }

    // Handle written as the sender of answer and done frames.
    quint32 Handle() const { return m_handle; }
    void SetHandle(quint32 Handle) { m_handle = Handle; }

    void SetHandler(TFrameHandler Handler) { m_handler = std::move(Handler); }

    int FrameTimeoutMs() const { return m_frameTimeoutMs; }
    void SetFrameTimeoutMs(int Ms) { m_frameTimeoutMs = Ms > 0 ? Ms : KventoChannel::FrameTimeoutMs; }

    // Limits over all connections together (see KventoChannel).
    void SetLimits(qsizetype BufferBytes, int Connections);
    // Bytes the frames being assembled hold now, over all connections.
    qsizetype BufferedBytes() const;

private:
    void AcceptConnections();
    friend class TEndpointConnection;
    void Dispatch(TFrame &Frame, const TFrameReply &Reply);
    QList<TEndpointConnection *> Connections() const;
    // Largest frame a connection may start now, beside what the others hold.
    quint32 FrameBudget(const TEndpointConnection *Asking) const;

    QLocalServer *m_server = nullptr;
    QString m_name;
    QString m_error;
    quint32 m_handle = 0;
    TFrameHandler m_handler;
    int m_frameTimeoutMs = KventoChannel::FrameTimeoutMs;
    qsizetype m_bufferLimit = KventoChannel::EndpointBufferBytes;
    int m_connectionLimit = KventoChannel::EndpointConnections;
};
