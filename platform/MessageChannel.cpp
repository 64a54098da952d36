#include "MessageChannel.h"
#include "RuntimeDirectory.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <cstring>

#include <sys/un.h>

using namespace KventoChannel;

namespace {

quint32 ReadU32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

void AppendU32(QByteArray &out, quint32 value)
{
    char raw[4];
    qToLittleEndian<quint32>(value, raw);
    out.append(raw, 4);
}

} // namespace

// ---------------------------------------------------------------- frames

TFrameParse ParseFrame(QByteArrayView Buffer)
{
    TFrameParse result;
    if (Buffer.size() < HeaderSize)
        return result;
    const char *p = Buffer.data();
    const quint32 count = ReadU32(p + 8);
    if (count > MaxFrameBytes) {
        result.Status = TFrameStatus::TooLarge;
        return result;
    }
    if (Buffer.size() - HeaderSize < qsizetype(count))
        return result;
    result.Status = TFrameStatus::Complete;
    result.Consumed = HeaderSize + qsizetype(count);
    result.Frame.Sender = ReadU32(p);
    result.Frame.Code = ReadU32(p + 4);
    result.Frame.Data = QByteArray(p + HeaderSize, qsizetype(count));
    return result;
}

QByteArray EncodeFrame(quint32 Sender, quint32 Code, QByteArrayView Data)
{
    QByteArray out;
    out.reserve(HeaderSize + Data.size());
    AppendU32(out, Sender);
    AppendU32(out, Code);
    AppendU32(out, quint32(Data.size()));
    out.append(Data.data(), Data.size());
    return out;
}

QByteArray EncodeDoneFrame(quint32 Sender, qint32 Result)
{
    QByteArray data;
    AppendU32(data, quint32(Result));
    return EncodeFrame(Sender, DoneCode, data);
}

void TFrameDecoder::Append(QByteArrayView Bytes)
{
    if (m_failed || Bytes.isEmpty())
        return;
    // Drop what was already taken before growing, so the buffer never holds
    // more than the unconsumed bytes plus the new ones.
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    m_buffer.append(Bytes.data(), Bytes.size());
}

bool TFrameDecoder::Next(TFrame &Frame)
{
    if (m_failed)
        return false;
    const TFrameParse parse = ParseFrame(QByteArrayView(m_buffer).sliced(m_pos));
    switch (parse.Status) {
    case TFrameStatus::Incomplete: return false;
    case TFrameStatus::TooLarge:
        m_failed = true;
        m_buffer.clear();
        m_pos = 0;
        return false;
    case TFrameStatus::Complete: break;
    }
    m_pos += parse.Consumed;
    if (m_pos == m_buffer.size()) {
        m_buffer.clear();
        m_pos = 0;
    }
    Frame = parse.Frame;
    return true;
}

// ---------------------------------------------------------------- payloads

TPayloadWriter &TPayloadWriter::WriteByte(quint8 Value)
{
    m_data.append(char(Value));
    return *this;
}

TPayloadWriter &TPayloadWriter::WriteInt32(qint32 Value)
{
    AppendU32(m_data, quint32(Value));
    return *this;
}

TPayloadWriter &TPayloadWriter::WriteString(const QString &Value)
{
    const QByteArray bytes = Value.toUtf8();
    WriteInt32(qint32(bytes.size()));
    m_data.append(bytes);
    return *this;
}

TPayloadWriter &TPayloadWriter::WriteBytes(QByteArrayView Bytes)
{
    m_data.append(Bytes.data(), Bytes.size());
    return *this;
}

bool TPayloadReader::Take(qsizetype Count, const char *&Where)
{
    if (m_failed || Count < 0 || m_data.size() - m_pos < Count) {
        m_failed = true;
        return false;
    }
    Where = m_data.data() + m_pos;
    m_pos += Count;
    return true;
}

bool TPayloadReader::ReadByte(quint8 &Value)
{
    Value = 0;
    const char *p = nullptr;
    if (!Take(1, p))
        return false;
    Value = quint8(*p);
    return true;
}

bool TPayloadReader::ReadInt32(qint32 &Value)
{
    Value = 0;
    const char *p = nullptr;
    if (!Take(4, p))
        return false;
    Value = qint32(ReadU32(p));
    return true;
}

bool TPayloadReader::ReadString(QString &Value)
{
    Value.clear();
    qint32 length = 0;
    if (!ReadInt32(length))
        return false;
    if (length <= 0)
        return true;
    const char *p = nullptr;
    if (!Take(length, p))
        return false;
    Value = QString::fromUtf8(p, length);
    return true;
}

QByteArray TPayloadReader::ReadRest()
{
    if (m_failed)
        return {};
    QByteArray rest(m_data.data() + m_pos, m_data.size() - m_pos);
    m_pos = m_data.size();
    return rest;
}

// ---------------------------------------------------------------- endpoints by name

QString ChannelDirectory()
{
    return RuntimeDirectory();
}

QString EndpointPath(const QString &Name)
{
    // Without a private directory there is no endpoint path, and nothing listens or connects.
    const QString dir = ChannelDirectory();
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + Name;
}

QString ProgramEndpointName(quint32 Handle)
{
    return QStringLiteral("kvento-%1").arg(Handle);
}

bool EndpointPossible(const QString &Name)
{
    const QString path = EndpointPath(Name);
    return !path.isEmpty() && qsizetype(QFile::encodeName(path).size()) < qsizetype(sizeof(sockaddr_un::sun_path));
}

bool EndpointAccepts(const QString &Name, int TimeoutMs)
{
    if (Name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(EndpointPath(Name));
    const bool ok = socket.waitForConnected(TimeoutMs);
    socket.abort();
    return ok;
}

TSendResult SendFrame(const QString &Name, quint32 Sender, quint32 Code, QByteArrayView Data,
                      const std::function<void(const TFrame &)> &OnFrame, int TimeoutMs, qint32 *DoneResult)
{
    if (DoneResult)
        *DoneResult = 0;
    if (Name.isEmpty() || qsizetype(Data.size()) > qsizetype(MaxFrameBytes))
        return TSendResult::NoReceiver;

    // One deadline for everything: frames that keep trickling in never extend it.
    const QDeadlineTimer deadline(TimeoutMs > 0 ? TimeoutMs : FrameTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(EndpointPath(Name));
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return TSendResult::NoReceiver;

    socket.write(EncodeFrame(Sender, Code, Data));
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired()) {
            socket.abort();
            return TSendResult::TimedOut;
        }
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())) &&
            socket.state() != QLocalSocket::ConnectedState)
            return TSendResult::Broken;
    }

    TFrameDecoder decoder;
    for (;;) {
        TFrame frame;
        while (decoder.Next(frame)) {
            if (frame.Code == DoneCode) {
                if (DoneResult && frame.Data.size() >= 4)
                    *DoneResult = qint32(ReadU32(frame.Data.constData()));
                socket.abort();
                return TSendResult::Done;
            }
            if (OnFrame)
                OnFrame(frame);
        }
        if (decoder.Failed()) {
            socket.abort();
            return TSendResult::Broken;
        }
        if (socket.bytesAvailable() > 0) {
            decoder.Append(socket.readAll());
            continue;
        }
        if (socket.state() != QLocalSocket::ConnectedState)
            return TSendResult::Broken;
        if (deadline.hasExpired()) {
            socket.abort();
            return TSendResult::TimedOut;
        }
        socket.waitForReadyRead(int(deadline.remainingTime()));
    }
}

// ---------------------------------------------------------------- receiving side

// One incoming connection: collects its frame, hands it to the endpoint,
// answers with the done frame and closes.
class TEndpointConnection : public QObject
{
public:
    TEndpointConnection(TMessageEndpoint *Endpoint, QLocalSocket *Socket)
        : QObject(Endpoint), m_endpoint(Endpoint), m_socket(Socket)
    {
        m_socket->setParent(this);
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (!m_handled)
                Drop();
        });
        connect(m_socket, &QLocalSocket::readyRead, this, [this] { ReadFrames(); });
        connect(m_socket, &QLocalSocket::disconnected, this, [this] { deleteLater(); });
        m_timer.start(Endpoint->FrameTimeoutMs());
        if (m_socket->bytesAvailable() > 0)
            ReadFrames();
    }

    // True while the endpoint's handler runs for this connection's message.
    bool Dispatching() const { return m_dispatching; }

private:
    void Drop()
    {
        m_timer.stop();
        m_handled = true;
        m_socket->abort();
        deleteLater();
    }

    void ReadFrames()
    {
        if (m_handled) {
            m_socket->readAll(); // one message per connection; the rest is ignored
            return;
        }
        m_decoder.Append(m_socket->readAll());
        TFrame frame;
        if (!m_decoder.Next(frame)) {
            if (m_decoder.Failed())
                Drop();
            return;
        }
        m_handled = true;
        m_timer.stop();

        const quint32 handle = m_endpoint ? m_endpoint->Handle() : 0;
        QPointer<QLocalSocket> socket(m_socket);
        const TFrameReply reply = [socket, handle](quint32 Code, QByteArrayView Data) {
            if (!socket || socket->state() != QLocalSocket::ConnectedState)
                return false;
            if (Code == DoneCode || Data.size() > qsizetype(MaxFrameBytes))
                return false;
            socket->write(EncodeFrame(handle, Code, Data));
            return true;
        };
        QPointer<TEndpointConnection> self(this);
        if (m_endpoint && frame.Code != DoneCode) {
            m_dispatching = true;
            m_endpoint->Dispatch(frame, reply);
            m_dispatching = false;
        }
        if (!self || !socket)
            return;
        if (socket->state() == QLocalSocket::ConnectedState) {
            socket->write(EncodeDoneFrame(handle));
            socket->flush();
            socket->disconnectFromServer(); // after the pending bytes are written
        }
        if (socket->state() == QLocalSocket::UnconnectedState)
            deleteLater();
    }

    QPointer<TMessageEndpoint> m_endpoint;
    QLocalSocket *m_socket;
    TFrameDecoder m_decoder;
    QTimer m_timer;
    bool m_handled = false;
    bool m_dispatching = false;
};

TMessageEndpoint::TMessageEndpoint(QObject *parent) : QObject(parent) { }

TMessageEndpoint::~TMessageEndpoint()
{
    Close();
    // A handler may destroy the endpoint while it handles a message. That
    // connection is still inside its socket's signal: it finishes on its own,
    // answers with the done frame and then deletes itself.
    const QObjectList kids = children();
    for (QObject *kid : kids) {
        auto *connection = dynamic_cast<TEndpointConnection *>(kid);
        if (connection && connection->Dispatching())
            connection->setParent(nullptr);
    }
}

bool TMessageEndpoint::Listen(const QString &Name)
{
    Close();
    m_error.clear();
    if (Name.isEmpty() || Name.contains(QLatin1Char('/'))) {
        m_error = QStringLiteral("Invalid endpoint name");
        return false;
    }
    const QString path = EndpointPath(Name);
    if (path.isEmpty()) {
        m_error = QStringLiteral("No private runtime directory for the endpoint");
        return false;
    }
    if (QFileInfo::exists(path)) {
        // A live endpoint keeps its name; a socket file nobody listens on is stale.
        if (EndpointAccepts(Name, 200)) {
            m_error = QStringLiteral("Endpoint is in use");
            return false;
        }
        QLocalServer::removeServer(path);
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        m_error = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return false;
    }
    m_name = Name;
    connect(m_server, &QLocalServer::newConnection, this, &TMessageEndpoint::AcceptConnections);
    return true;
}

void TMessageEndpoint::Close()
{
    if (!m_server)
        return;
    m_server->close(); // also removes the socket file
    delete m_server;
    m_server = nullptr;
    m_name.clear();
}

bool TMessageEndpoint::IsListening() const
{
    return m_server && m_server->isListening();
}

void TMessageEndpoint::AcceptConnections()
{
    while (m_server && m_server->hasPendingConnections()) {
        if (QLocalSocket *socket = m_server->nextPendingConnection())
            new TEndpointConnection(this, socket);
    }
}

void TMessageEndpoint::Dispatch(const TFrame &Frame, const TFrameReply &Reply)
{
    if (m_handler) {
        // A copy, so a handler that replaces itself does not destroy the running one.
        const TFrameHandler handler = m_handler;
        handler(Frame, Reply);
    }
}
