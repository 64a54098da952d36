// hostlink_probe: a form with a label "LW_Greeting" and a host-link client.
//
//   hostlink_probe [--server] [--multistart] [--no-translate] [--timeout MS] [more parameters]
//
// Prints "started pid=<pid> label=<label text>" after the load step (or
// "load-error <message>"), then one line per event and per command read from
// standard input:
//   value KEY | path S | text S | lookup KEY | param I | count | ping
//   title T | handle H | file NAME | exec PROGRAM|PARAMETERS|MODE|WAIT | close
#include "Lingwa2000.h"
#include "QuarvisDemon.h"

#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

void Out(const QString &Line)
{
    std::fputs(qPrintable(Line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

QString Describe(const std::unique_ptr<TEntity> &Entity)
{
    if (!Entity)
        return QStringLiteral("entity none");
    return QStringLiteral("entity handle=%1 path=%2 title=%3")
        .arg(Entity->WindowHandle)
        .arg(Entity->StoredPath(), Entity->StoredTitle());
}

void Run(TvrxDemonClient *&Cli, const QString &Line)
{
    const qsizetype blank = Line.indexOf(QLatin1Char(' '));
    const QString cmd = blank < 0 ? Line : Line.left(blank);
    const QString arg = blank < 0 ? QString() : Line.mid(blank + 1);
    if (cmd == QLatin1String("ping")) {
        Out(QStringLiteral("pong"));
        return;
    }
    if (!Cli) {
        Out(QStringLiteral("error no client"));
        return;
    }
    try {
        if (cmd == QLatin1String("value"))
            Out(QStringLiteral("value=") + Cli->GetHostValue(arg));
        else if (cmd == QLatin1String("path"))
            Out(QStringLiteral("path=") + Cli->GetHostPath(arg));
        else if (cmd == QLatin1String("text"))
            Out(QStringLiteral("text=") + Cli->GetHostText(arg));
        else if (cmd == QLatin1String("lookup"))
            Out(QStringLiteral("lookup=") + Cli->Lingwa().LookupText(arg));
        else if (cmd == QLatin1String("param"))
            Out(QStringLiteral("param=") + Cli->ParamStr(arg.toInt()));
        else if (cmd == QLatin1String("count"))
            Out(QStringLiteral("count=%1").arg(Cli->ParamCount()));
        else if (cmd == QLatin1String("title"))
            Out(Describe(Cli->FindEntityByTitle(arg)));
        else if (cmd == QLatin1String("handle"))
            Out(Describe(Cli->FindEntityByHandle(arg.toUInt())));
        else if (cmd == QLatin1String("file")) {
            std::unique_ptr<QBuffer> s = Cli->GetHostFile(arg);
            Out(s ? QStringLiteral("file size=%1 text=%2").arg(s->size()).arg(QString::fromUtf8(s->data().left(40)))
                  : QStringLiteral("file none"));
        } else if (cmd == QLatin1String("exec")) {
            const QStringList p = arg.split(QLatin1Char('|'));
            if (p.size() != 4) {
                Out(QStringLiteral("error usage"));
                return;
            }
            Out(QStringLiteral("exec=%1").arg(
                Cli->ExecuteProgram(p[0], p[1], p[2].toInt(), p[3] == QLatin1String("1"))));
        } else if (cmd == QLatin1String("close")) {
            TvrxDemonClient *c = Cli;
            Cli = nullptr;
            delete c;
        } else {
            Out(QStringLiteral("error unknown command"));
        }
    } catch (const EKvento &e) {
        Out(QStringLiteral("error ") + QString::fromStdString(e.what()));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();

    QWidget form;
    form.setObjectName(QStringLiteral("FrmProbe"));
    auto *label = new QLabel(QStringLiteral("LW_Greeting"), &form);
    label->setObjectName(QStringLiteral("LabGreeting"));

    TvrxDemonClient *cli = nullptr;
    try {
        cli = new TvrxDemonClient(&form);
        cli->setObjectName(QStringLiteral("cliDemon"));
        cli->SetAutoTranslate(!args.contains(QStringLiteral("--no-translate")));
        cli->SetAutoCreateItlFile(false);
        cli->SetMultiStart(args.contains(QStringLiteral("--multistart")));
        cli->SetUseQuarvisServer(args.contains(QStringLiteral("--server")));
        if (const qsizetype at = args.indexOf(QStringLiteral("--timeout")); at > 0)
            cli->SetTimeoutMs(args.value(at + 1).toInt());
        cli->OnParamsChange = [&cli](QObject *) {
            Out(QStringLiteral("params count=%1 list=%2")
                    .arg(cli->ParamCount())
                    .arg(cli->Params().join(QLatin1Char('|'))));
        };
        cli->OnQuitMsgReceived = [](QObject *, bool ServerDown, bool &) {
            Out(QStringLiteral("quit-request down=%1").arg(ServerDown ? 1 : 0));
        };
        cli->OnGotAMessage = [](QObject *, TKventoMessageStream &Msg) {
            Out(QStringLiteral("message code=%1 bytes=%2").arg(Msg.Code).arg(Msg.size()));
        };
        cli->Loaded();
    } catch (const EKvento &e) {
        Out(QStringLiteral("load-error ") + QString::fromStdString(e.what()));
        return 2;
    }
    // A quit request frees the client; forget it then.
    QObject::connect(cli, &QObject::destroyed, &app, [&cli] { cli = nullptr; });
    Out(QStringLiteral("started pid=%1 label=%2").arg(QCoreApplication::applicationPid()).arg(label->text()));

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char chunk[512];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(chunk, n);
        qsizetype eol;
        while ((eol = pending.indexOf('\n')) >= 0) {
            Run(cli, QString::fromUtf8(pending.left(eol)).trimmed());
            pending.remove(0, eol + 1);
        }
    });

    const int rc = app.exec();
    Out(QStringLiteral("ended"));
    return rc;
}
