// testhost: plays the textbook host over the message channel, for tests.
//
//   testhost --suffix S [--log FILE] [--file NAME=PATH]... [--path FROM=TO]...
//            [--text KEY=VALUE]... [--value KEY=VALUE]...
//            [--late CODE=MS]... [--garbage CODE=KIND]... [--die CODE]...
//
// Listens on "ThisIsTheKventoServerComponentWindowClass" + S and answers:
//   4098/4099  keeps the list of registered programs
//   4100       the first registered program with that handle or title
//   4102       starts the program, answers its process id (0 when it fails);
//              the value "$exitcode$:<pid>" later gives its exit code
//   4103       the file mapped to the name by --file (found flag + bytes)
//   4104       the path mapped by --path, else the path itself
//   4105       the text mapped by --text, else the text itself
//   4106       the value mapped by --value, else empty
// Every message received is appended to the log as one line:
//   "<code> <sender> <details>".
// Misbehaviour, per request code:
//   --late CODE=MS      answer only after MS milliseconds
//   --garbage CODE=KIND answer garbage: huge (a frame header announcing
//                       256 MiB), noise (random bytes, then close), payload
//                       (a reply whose string length runs past its data),
//                       stamp (replies with wrong time stamps only), flood
//                       (200 unmatched replies, then the right one)
//   --die CODE          write half a reply frame and end the process
//   --trickle CODE=MS   write a stray reply every MS milliseconds, never done
// Commands on standard input, one per line:
//   quit HANDLE DOWN          send 4096 with the byte DOWN to program HANDLE
//   send HANDLE CODE TEXT     send CODE with the string TEXT
// Prints "ready" once it listens.
#include "MessageChannel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMap>
#include <QPointer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QThread>
#include <QTime>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

struct TRecord
{
    qint32 Handle = 0;
    qint32 Mutex = 0;
    QString Path;
    QString Title;
};

struct TStamp
{
    qint32 Time = 0;
    qint32 Date = 0;
};

QByteArray StampBytes(const TStamp &Stamp)
{
    return TPayloadWriter().WriteInt32(Stamp.Time).WriteInt32(Stamp.Date).Data();
}

TStamp Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    return {now.time().msecsSinceStartOfDay(), qint32(QDate(1, 1, 1).daysTo(now.date()) + 1)};
}

QMap<QString, QString> PairOptions(const QStringList &Values)
{
    QMap<QString, QString> map;
    for (const QString &v : Values) {
        const qsizetype eq = v.indexOf(QLatin1Char('='));
        if (eq > 0)
            map.insert(v.left(eq), v.mid(eq + 1));
    }
    return map;
}

class THost : public QObject
{
public:
    THost(const QCommandLineParser &Args)
    {
        m_log = Args.value(QStringLiteral("log"));
        m_files = PairOptions(Args.values(QStringLiteral("file")));
        m_paths = PairOptions(Args.values(QStringLiteral("path")));
        m_texts = PairOptions(Args.values(QStringLiteral("text")));
        m_values = PairOptions(Args.values(QStringLiteral("value")));
        const auto late = PairOptions(Args.values(QStringLiteral("late")));
        for (auto it = late.begin(); it != late.end(); ++it)
            m_late.insert(it.key().toInt(), it.value().toInt());
        const auto garbage = PairOptions(Args.values(QStringLiteral("garbage")));
        for (auto it = garbage.begin(); it != garbage.end(); ++it)
            m_garbage.insert(it.key().toInt(), it.value());
        const auto trickle = PairOptions(Args.values(QStringLiteral("trickle")));
        for (auto it = trickle.begin(); it != trickle.end(); ++it)
            m_trickle.insert(it.key().toInt(), it.value().toInt());
        for (const QString &c : Args.values(QStringLiteral("die")))
            m_die.insert(c.toInt(), true);
    }

    bool Listen(const QString &Name)
    {
        const QString path = EndpointPath(Name);
        QLocalServer::removeServer(path);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        if (!m_server.listen(path))
            return false;
        connect(&m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *s = m_server.nextPendingConnection())
                Accept(s);
        });
        return true;
    }

    void Command(const QString &Line)
    {
        const QStringList parts = Line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() >= 3 && parts[0] == QLatin1String("quit")) {
            const QByteArray data = StampBytes(Now()) + QByteArray(1, char(parts[2].toInt()));
            const TSendResult r = SendFrame(ProgramEndpointName(parts[1].toUInt()), Self(), 4096, data, nullptr);
            Log(QStringLiteral("sent 4096 to %1 result=%2").arg(parts[1]).arg(int(r)));
        } else if (parts.size() >= 3 && parts[0] == QLatin1String("send")) {
            const QString text = parts.mid(3).join(QLatin1Char(' '));
            const QByteArray data = StampBytes(Now()) + TPayloadWriter().WriteString(text).Data();
            const TSendResult r =
                SendFrame(ProgramEndpointName(parts[1].toUInt()), Self(), parts[2].toUInt(), data, nullptr);
            Log(QStringLiteral("sent %1 to %2 result=%3").arg(parts[2], parts[1]).arg(int(r)));
        }
    }

private:
    static quint32 Self() { return quint32(QCoreApplication::applicationPid()); }

    void Log(const QString &Line)
    {
        if (m_log.isEmpty())
            return;
        QFile f(m_log);
        if (f.open(QIODevice::Append | QIODevice::Text))
            f.write(Line.toUtf8() + '\n');
    }

    void Accept(QLocalSocket *Socket)
    {
        auto decoder = std::make_shared<TFrameDecoder>();
        connect(Socket, &QLocalSocket::disconnected, Socket, &QObject::deleteLater);
        connect(Socket, &QLocalSocket::readyRead, this, [this, Socket, decoder] {
            decoder->Append(Socket->readAll());
            TFrame frame;
            if (decoder->Next(frame)) {
                Handle(Socket, frame);
                return;
            }
            if (decoder->Failed())
                Socket->abort();
        });
    }

    void Handle(QLocalSocket *Socket, const TFrame &Frame)
    {
        TPayloadReader head(Frame.Data);
        TStamp stamp;
        head.ReadInt32(stamp.Time);
        head.ReadInt32(stamp.Date);
        const QByteArray payload = head.ReadRest();
        const int code = int(Frame.Code);
        TPayloadReader in(payload);
        QByteArray answer;
        bool answers = true;
        QString details;

        switch (code) {
        case 4098:
        case 4099: {
            TRecord r = ReadRecord(in);
            details =
                QStringLiteral("handle=%1 mutex=%2 path=%3 title=%4").arg(r.Handle).arg(r.Mutex).arg(r.Path, r.Title);
            m_registry.removeIf([&](const TRecord &x) { return x.Handle == r.Handle; });
            if (code == 4098)
                m_registry.append(r);
            answers = false;
            break;
        }
        case 4100: {
            quint8 sub = 0;
            in.ReadByte(sub);
            const TRecord *found = nullptr;
            if (sub == 1) {
                qint32 h = 0;
                in.ReadInt32(h);
                details = QStringLiteral("handle=%1").arg(h);
                for (const TRecord &r : m_registry)
                    if (!found && r.Handle == h)
                        found = &r;
            } else {
                QString t;
                in.ReadString(t);
                details = QStringLiteral("title=%1").arg(t);
                for (const TRecord &r : m_registry)
                    if (!found && r.Title == t)
                        found = &r;
            }
            if (found)
                answer = TPayloadWriter()
                             .WriteInt32(found->Handle)
                             .WriteInt32(found->Mutex)
                             .WriteString(found->Path)
                             .WriteString(found->Title)
                             .Data();
            break;
        }
        case 4102: {
            QString program, params;
            quint8 wait = 0;
            qint32 mode = 0;
            in.ReadString(program);
            in.ReadString(params);
            in.ReadByte(wait);
            in.ReadInt32(mode);
            const qint64 pid = Start(program, params);
            details = QStringLiteral("program=%1 params=%2 wait=%3 mode=%4 pid=%5")
                          .arg(program, params)
                          .arg(wait)
                          .arg(mode)
                          .arg(pid);
            answer = TPayloadWriter().WriteInt32(qint32(pid)).Data();
            break;
        }
        case 4103: {
            QString name;
            in.ReadString(name);
            details = QStringLiteral("name=%1").arg(name);
            QFile f(m_files.value(name));
            if (m_files.contains(name) && f.open(QIODevice::ReadOnly))
                answer = QByteArray(1, 1) + f.readAll();
            else
                answer = QByteArray(1, 0);
            break;
        }
        case 4104:
        case 4105:
        case 4106: {
            QString key;
            in.ReadString(key);
            details = QStringLiteral("value=%1").arg(key);
            QString value;
            if (code == 4104)
                value = m_paths.value(key, key);
            else if (code == 4105)
                value = m_texts.value(key, key);
            else if (key.startsWith(QLatin1String("$exitcode$:")))
                value = ExitCode(key.mid(11).toLongLong());
            else
                value = m_values.value(key);
            answer = TPayloadWriter().WriteString(value).Data();
            break;
        }
        default:
            details = QStringLiteral("bytes=%1").arg(payload.size());
            answers = false;
            break;
        }
        Log(QStringLiteral("%1 %2 %3").arg(code).arg(Frame.Sender).arg(details));

        if (m_die.contains(code)) {
            const QByteArray frame = EncodeFrame(Self(), 4097, StampBytes(stamp) + answer);
            Socket->write(frame.left(frame.size() / 2));
            Socket->flush();
            Socket->waitForBytesWritten(1000);
            std::fflush(nullptr);
            ::_exit(3);
        }
        if (m_late.contains(code))
            QThread::msleep(m_late.value(code));
        if (m_trickle.contains(code)) {
            auto *timer = new QTimer(Socket);
            connect(timer, &QTimer::timeout, Socket, [this, Socket, stamp] {
                Socket->write(EncodeFrame(Self(), 4097, StampBytes({stamp.Time ^ 1, stamp.Date + 1})));
                Socket->flush();
            });
            timer->start(m_trickle.value(code));
            return;
        }

        const QString garbage = m_garbage.value(code);
        if (garbage == QLatin1String("huge")) {
            QByteArray header = EncodeFrame(Self(), 4097, QByteArray());
            header[8] = 0, header[9] = 0, header[10] = 0, header[11] = 0x10; // 256 MiB
            Socket->write(header + QByteArray(64, 'x'));
        } else if (garbage == QLatin1String("noise")) {
            QByteArray noise(97, Qt::Uninitialized);
            for (char &c : noise)
                c = char(QRandomGenerator::global()->bounded(256));
            Socket->write(noise);
            Socket->flush();
            Socket->disconnectFromServer();
            return;
        } else if (garbage == QLatin1String("payload")) {
            // A string announcing far more bytes than the reply carries.
            const QByteArray bad = TPayloadWriter().WriteInt32(0x7fffff00).WriteBytes("abc").Data();
            Socket->write(EncodeFrame(Self(), 4097, StampBytes(stamp) + bad));
        } else if (garbage == QLatin1String("stamp") || garbage == QLatin1String("flood")) {
            const int count = garbage == QLatin1String("flood") ? 200 : 1;
            for (int i = 0; i < count; ++i) {
                TStamp wrong {stamp.Time ^ (i + 1), stamp.Date + 1};
                Socket->write(EncodeFrame(Self(), 4097, StampBytes(wrong) + answer));
            }
            if (garbage == QLatin1String("flood"))
                Socket->write(EncodeFrame(Self(), 4097, StampBytes(stamp) + answer));
        } else if (answers) {
            Socket->write(EncodeFrame(Self(), 4097, StampBytes(stamp) + answer));
        }
        Socket->write(EncodeDoneFrame(Self()));
        Socket->flush();
        Socket->disconnectFromServer();
    }

    static TRecord ReadRecord(TPayloadReader &In)
    {
        TRecord r;
        In.ReadInt32(r.Handle);
        In.ReadInt32(r.Mutex);
        In.ReadString(r.Path);
        In.ReadString(r.Title);
        return r;
    }

    qint64 Start(const QString &Program, const QString &Params)
    {
        auto *process = new QProcess(this);
        process->setProgram(Program);
        process->setArguments(QProcess::splitCommand(Params));
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start();
        if (!process->waitForStarted(5000)) {
            delete process;
            return 0;
        }
        const qint64 pid = process->processId();
        m_processes.insert(pid, process);
        return pid;
    }

    QString ExitCode(qint64 Pid)
    {
        QProcess *process = m_processes.value(Pid);
        if (!process)
            return QString();
        if (process->state() != QProcess::NotRunning)
            process->waitForFinished(5000);
        if (process->state() != QProcess::NotRunning || process->exitStatus() != QProcess::NormalExit)
            return QString();
        return QString::number(process->exitCode());
    }

    QLocalServer m_server;
    QString m_log;
    QMap<QString, QString> m_files, m_paths, m_texts, m_values;
    QMap<int, int> m_late, m_trickle;
    QMap<int, QString> m_garbage;
    QMap<int, bool> m_die;
    QList<TRecord> m_registry;
    QMap<qint64, QProcess *> m_processes;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays the textbook host for tests: listens on the host's endpoint with the given suffix and answers\n"
        "register/unregister (4098/4099), find (4100), start a program (4102), file (4103), path (4104),\n"
        "text (4105) and value (4106) requests. Prints \"ready\" once it listens. Commands on standard input:\n"
        "  quit HANDLE DOWN       send 4096 with the byte DOWN to program HANDLE\n"
        "  send HANDLE CODE TEXT  send CODE with the string TEXT"));
    parser.addHelpOption();
    struct TOption
    {
        const char *name, *value, *description;
    };
    const TOption options[] = {
        {"suffix", "S", "endpoint suffix the programs find the host by"},
        {"log", "FILE", "append every message received as \"<code> <sender> <details>\""},
        {"file", "NAME=PATH", "answer a file request for NAME with the bytes of PATH"},
        {"path", "FROM=TO", "answer a path request for FROM with TO (else the path itself)"},
        {"text", "KEY=VALUE", "answer a text request for KEY with VALUE (else the text itself)"},
        {"value", "KEY=VALUE", "answer a value request for KEY with VALUE (else empty)"},
        {"late", "CODE=MS", "answer requests with CODE only after MS milliseconds"},
        {"garbage", "CODE=KIND", "answer CODE with garbage: huge, noise, payload, stamp or flood"},
        {"die", "CODE", "write half a reply frame to CODE and end the process"},
        {"trickle", "CODE=MS", "answer CODE with a stray reply every MS milliseconds, never the real one"},
    };
    for (const TOption &o : options)
        parser.addOption(
            QCommandLineOption(QLatin1String(o.name), QLatin1String(o.description), QLatin1String(o.value)));
    parser.process(app);

    THost host(parser);
    const QString name =
        QStringLiteral("ThisIsTheKventoServerComponentWindowClass") + parser.value(QStringLiteral("suffix"));
    if (!host.Listen(name)) {
        std::fprintf(stderr, "testhost: cannot listen on %s\n", qPrintable(EndpointPath(name)));
        return 1;
    }

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char chunk[512];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            input.setEnabled(false); // end of input: keep serving
            return;
        }
        pending.append(chunk, n);
        qsizetype eol;
        while ((eol = pending.indexOf('\n')) >= 0) {
            host.Command(QString::fromUtf8(pending.left(eol)).trimmed());
            pending.remove(0, eol + 1);
        }
    });

    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
