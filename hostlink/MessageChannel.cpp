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

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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
    qsizetype pos = 0;
    Fill(
        [&](char *Where, qsizetype Count) {
            const qsizetype n = qMin(Count, Bytes.size() - pos);
            if (n > 0)
                std::memcpy(Where, Bytes.data() + pos, size_t(n));
            pos += n;
            return n;
        },
        false);
}

void TFrameDecoder::ReadFrom(QIODevice &Device)
{
    Fill([&](char *Where, qsizetype Count) { return qsizetype(Device.read(Where, Count)); }, true);
}

void TFrameDecoder::Fill(const std::function<qsizetype(char *, qsizetype)> &Read, bool StopAtFrame)
{
    while (!m_failed && !(StopAtFrame && !m_ready.empty())) {
        const bool inHeader = m_headerFill < HeaderSize;
        const qsizetype want = inHeader ? HeaderSize - m_headerFill : m_current.Data.size() - m_dataFill;
        qsizetype got = 0;
        if (want > 0 &&
            (got = Read(inHeader ? m_header + m_headerFill : m_current.Data.data() + m_dataFill, want)) <= 0)
            return;
        if (inHeader) {
            m_headerFill += got;
            if (m_headerFill < HeaderSize || !BeginData())
                continue;
        } else {
            m_dataFill += got;
        }
        if (m_dataFill == m_current.Data.size()) {
            m_ready.push_back(std::move(m_current));
            m_current = TFrame();
            m_headerFill = 0;
            m_dataFill = 0;
        }
    }
}

bool TFrameDecoder::BeginData()
{
    const quint32 count = ReadU32(m_header + 8);
    if (count > m_limit) {
        Fail();
        return false;
    }
    m_current.Sender = ReadU32(m_header);
    m_current.Code = ReadU32(m_header + 4);
    m_current.Data = QByteArray(qsizetype(count), Qt::Uninitialized);
    m_dataFill = 0;
    return true;
}

void TFrameDecoder::Fail()
{
    // Frames completed before the bad header can still be taken.
    m_failed = true;
    m_current = TFrame();
    m_headerFill = 0;
    m_dataFill = 0;
}

bool TFrameDecoder::Next(TFrame &Frame)
{
    if (m_ready.empty())
        return false;
    Frame = std::move(m_ready.front());
    m_ready.pop_front();
    return true;
}

qsizetype TFrameDecoder::Pending() const
{
    qsizetype bytes = m_headerFill + m_dataFill;
    for (const TFrame &frame : m_ready)
        bytes += HeaderSize + frame.Data.size();
    return bytes;
}

qsizetype TFrameDecoder::Capacity() const
{
    qsizetype bytes = m_current.Data.capacity();
    for (const TFrame &frame : m_ready)
        bytes += frame.Data.capacity();
    return bytes;
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

bool EndpointListens(const QString &Name)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(EndpointPath(Name));
    if (Name.isEmpty() || path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true; // cannot tell: never call a live endpoint dead
    const int rc = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    const int error = errno;
    ::close(fd);
    return rc == 0 || (error != ECONNREFUSED && error != ENOENT && error != ENOTSOCK && error != ENOTDIR);
}

int RemoveStaleProgramEndpoints()
{
    const QString dir = ChannelDirectory();
    if (dir.isEmpty())
        return 0;
    const QString prefix = ProgramEndpointName(0).chopped(1);
    int removed = 0;
    const QStringList names = QDir(dir).entryList({prefix + QLatin1Char('*')}, QDir::System | QDir::Hidden);
    for (const QString &name : names) {
        bool ok = false;
        const qint64 pid = name.mid(prefix.size()).toLongLong(&ok);
        struct stat st = {};
        const QByteArray path = QFile::encodeName(EndpointPath(name));
        if (!ok || pid <= 0 || name != ProgramEndpointName(quint32(pid)) || ::lstat(path.constData(), &st) != 0 ||
            !S_ISSOCK(st.st_mode))
            continue;
        // A live process may be between creating its socket and listening on it.
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH || EndpointListens(name))
            continue;
        if (::unlink(path.constData()) == 0)
            ++removed;
    }
    return removed;
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
                      const std::function<void(TFrame &)> &OnFrame, int TimeoutMs, qint32 *DoneResult)
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
            decoder.ReadFrom(socket);
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
    // Bytes the frame being assembled holds.
    qsizetype Buffered() const { return m_decoder.Capacity(); }

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
            m_socket->skip(m_socket->bytesAvailable()); // one message per connection; the rest is ignored
            return;
        }
        if (m_endpoint)
            m_decoder.SetLimit(m_endpoint->FrameBudget(this));
        m_decoder.ReadFrom(*m_socket);
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
        // A live endpoint keeps its name (even one too busy to take a
        // connection now); a socket file nobody listens on is stale.
        if (EndpointListens(Name)) {
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
        QLocalSocket *socket = m_server->nextPendingConnection();
        if (!socket)
            continue;
        if (Connections().size() >= m_connectionLimit) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        new TEndpointConnection(this, socket);
    }
}

QList<TEndpointConnection *> TMessageEndpoint::Connections() const
{
    QList<TEndpointConnection *> list;
    for (QObject *kid : children()) {
        if (auto *connection = dynamic_cast<TEndpointConnection *>(kid))
            list.append(connection);
    }
    return list;
}

void TMessageEndpoint::SetLimits(qsizetype BufferBytes, int Connections)
{
    m_bufferLimit = BufferBytes > 0 ? BufferBytes : KventoChannel::EndpointBufferBytes;
    m_connectionLimit = Connections > 0 ? Connections : KventoChannel::EndpointConnections;
}

qsizetype TMessageEndpoint::BufferedBytes() const
{
    qsizetype bytes = 0;
    for (const TEndpointConnection *connection : Connections())
        bytes += connection->Buffered();
    return bytes;
}

quint32 TMessageEndpoint::FrameBudget(const TEndpointConnection *Asking) const
{
    const qsizetype left = m_bufferLimit - (BufferedBytes() - Asking->Buffered());
    return quint32(qBound(qsizetype(SmallFrameBytes), left, qsizetype(MaxFrameBytes)));
}

void TMessageEndpoint::Dispatch(TFrame &Frame, const TFrameReply &Reply)
{
    if (m_handler) {
        // A copy, so a handler that replaces itself does not destroy the running one.
        const TFrameHandler handler = m_handler;
        handler(Frame, Reply);
    }
}
