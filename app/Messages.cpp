#include "Messages.h"

#include "CommandLine.h"
#include "DataFiles.h"
#include "Lingwa2000.h"
#include "QuarvisDemon.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QTranslator>

#include <functional>
#include <memory>
#include <optional>

namespace {

const QRegularExpression &PlaceholderPattern()
{
    static const QRegularExpression re(QStringLiteral("<%(\\d+)%>"));
    return re;
}

// A key with placeholders as a pattern of the whole message; the numbers of
// the placeholders in the order they stand.
QRegularExpression KeyPattern(const QString &key, QList<int> &numbers)
{
    QString pattern = QStringLiteral("^");
    qsizetype from = 0;
    for (auto it = PlaceholderPattern().globalMatch(key); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        pattern += QRegularExpression::escape(key.mid(from, m.capturedStart() - from)) + QStringLiteral("(.*)");
        numbers.append(m.captured(1).toInt());
        from = m.capturedEnd();
    }
    pattern += QRegularExpression::escape(key.mid(from)) + QLatin1Char('$');
    return QRegularExpression(
        pattern, QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

std::optional<QString> Matching(TLingwa2000 &table, const QString &key, const QString &message)
{
    QList<int> numbers;
    const QRegularExpressionMatch m = KeyPattern(key, numbers).match(message);
    if (numbers.isEmpty() || !m.hasMatch())
        return std::nullopt;
    QStringList args;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const int n = numbers[i];
        if (n < 1 || n > 9)
            return std::nullopt;
        while (args.size() < n)
            args.append(QString());
        args[n - 1] = m.captured(int(i) + 1);
    }
    return table.LookupText(key, args);
}

bool Has(const TLingwa2000 &table, const QString &key)
{
    return table.Keys().contains(key.toLower().simplified());
}

// What Make says with the table of Language, before the window exists.
QString WithProgramTable(int &argc, char **argv, const QString &language,
                         const std::function<QString(TLingwa2000 &)> &make)
{
    std::unique_ptr<QCoreApplication> core;
    if (!QCoreApplication::instance())
        core = std::make_unique<QCoreApplication>(argc, argv);
    TLingwa2000 table;
    LoadProgramTable(table, language);
    return make(table);
}

} // namespace

QString TranslateMessage(TLingwa2000 &table, const QString &message)
{
    if (message.isEmpty())
        return message;
    if (Has(table, message))
        return table.LookupText(message);
    // Of the keys that fit, the one with the most fixed text: "cannot write
    // the snapshot <%1%>: <%2%>" before "Cannot write <%1%>: <%2%>".
    std::optional<QString> best;
    qsizetype bestFixed = -1;
    for (const QString &key : table.Keys()) {
        if (!key.contains(QLatin1String("<%")))
            continue;
        const qsizetype fixed = QString(key).remove(PlaceholderPattern()).size();
        if (fixed <= bestFixed)
            continue;
        if (std::optional<QString> text = Matching(table, key, message)) {
            best = std::move(text);
            bestFixed = fixed;
        }
    }
    return best.value_or(message);
}

QString TranslateMessage(TvrxDemonClient *client, const QString &message)
{
    return client ? TranslateMessage(client->Lingwa(), message) : message;
}

void LoadProgramTable(TLingwa2000 &table, const QString &language)
{
    const QString name = QFileInfo(TLingwa2000::ItlPathFor(QCoreApplication::applicationFilePath())).fileName();
    const QString path = language.isEmpty()
        ? FindDataFile(name, kDataFolder)
        : FindDataFile(QStringLiteral("translations/%1/%2").arg(language, name), kDataFolder);
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly))
        table.LoadTable(file);
}

QString CommandLineText(int &argc, char **argv, const QString &language, const QString &text)
{
    return WithProgramTable(argc, argv, language, [&text](TLingwa2000 &table) {
        QStringList lines = text.split(QLatin1Char('\n')); // each line a message
        for (QString &line : lines)
            line = TranslateMessage(table, line);
        return lines.join(QLatin1Char('\n'));
    });
}

QString CommandLineHelp(int &argc, char **argv, const QString &language)
{
    return WithProgramTable(argc, argv, language, [](TLingwa2000 &table) {
        return HelpText(
            [&table](const QString &key, const QStringList &arguments) { return table.LookupText(key, arguments); });
    });
}

bool UseQtTranslation(const QString &languageTag)
{
    static QPointer<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    const QString tag = languageTag.toLower();
    const QString locale = tag == QLatin1String("lggerman") ? QStringLiteral("de") : QString();
    if (locale.isEmpty() || !QCoreApplication::instance())
        return false;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}
