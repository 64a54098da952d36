#include "Lingwa2000.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

const QByteArray kTerminator = QByteArrayLiteral("|$$");
constexpr qint64 kBlockSize = 256;
// No window needs more of a text; a longer one would only cost time and memory.
constexpr qsizetype kMaxLineChars = TLingwa2000::MaxLineLength;
constexpr qsizetype kMaxTextChars = TLingwa2000::MaxTextLength;
constexpr qsizetype kMaxKeyChars = TLingwa2000::MaxLineLength;
// Enough bytes for the longest text or key in any of the table's encodings.
constexpr qsizetype kMaxTextBytes = 4 * kMaxTextChars;
constexpr qsizetype kMaxKeyBytes = 4 * kMaxKeyChars;
// A record is kept up to this many bytes from its "["; the rest is skipped.
constexpr qsizetype kMaxRecordBytes = kMaxKeyBytes + kMaxTextBytes + 16;

// The first Limit bytes, without a UTF-8 sequence cut in two.
QByteArrayView LeadingBytes(QByteArrayView Bytes, qsizetype Limit)
{
    if (Bytes.size() <= Limit)
        return Bytes;
    qsizetype n = Limit;
    while (n > 0 && (static_cast<unsigned char>(Bytes[n]) & 0xC0) == 0x80)
        --n;
    return Bytes.first(n);
}

// At most kMaxLineChars per line and kMaxTextChars in all; a surrogate pair is
// kept whole or dropped whole.
void CapText(QString &Text)
{
    if (Text.size() <= kMaxLineChars)
        return;
    QString out;
    qsizetype line = 0;
    for (qsizetype i = 0; i < Text.size() && out.size() < kMaxTextChars; ++i) {
        const QChar c = Text[i];
        const bool pair = c.isHighSurrogate() && i + 1 < Text.size() && Text[i + 1].isLowSurrogate();
        const qsizetype width = pair ? 2 : 1;
        line = (c == u'\r' || c == u'\n') ? 0 : line + width;
        if (line <= kMaxLineChars && out.size() + width <= kMaxTextChars)
            out.append(Text.constData() + i, width);
        i += width - 1;
    }
    Text = out;
}

// Keeps a record that grows past kMaxRecordBytes without a terminator at its
// head (from its first "[") and the bytes a straddling terminator needs.
void SqueezeRecord(QByteArray &Buffer)
{
    const qsizetype tail = kTerminator.size() - 1;
    const qsizetype open = Buffer.indexOf('[');
    QByteArray kept = open < 0 ? QByteArray() : Buffer.mid(open, kMaxRecordBytes);
    kept.append(Buffer.right(tail));
    Buffer = kept;
}

// Code points of 0x80..0x9F in Windows-1252; the five unassigned bytes keep
// their Latin-1 control code so that nothing is lost.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeBytes(QByteArrayView Bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(Bytes);
    if (!utf8.hasError())
        return text;
    text.resize(Bytes.size());
    QChar *out = text.data();
    for (qsizetype i = 0; i < Bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(Bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

// Only A-Z: keys from either side must compare the same whatever the locale.
QString LowerAscii(const QString &S)
{
    QString r = S;
    for (QChar &c : r) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + 32));
    }
    return r;
}

QString NormaliseKey(const QString &Raw)
{
    QString r;
    r.reserve(Raw.size());
    bool lastBlank = true; // drops leading blanks
    for (QChar c : Raw) {
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
        if (c == u' ') {
            if (lastBlank)
                continue;
            lastBlank = true;
        } else {
            lastBlank = false;
        }
        r.append(c);
    }
    return LowerAscii(r);
}

// Replaces "<%j%>" by Args[j-1] in a single left-to-right pass, so inserted
// text is never searched again.
QString ReplacePlaceholders(const QString &Text, const QStringList &Args)
{
    if (Args.isEmpty() || !Text.contains(u"<%"))
        return Text;
    QString out;
    out.reserve(Text.size());
    qsizetype pos = 0;
    while (pos < Text.size()) {
        const qsizetype open = Text.indexOf(u"<%", pos);
        if (open < 0)
            break;
        qsizetype p = open + 2;
        qint64 number = 0;
        int digits = 0;
        while (p < Text.size() && Text[p].unicode() >= u'0' && Text[p].unicode() <= u'9' && digits < 10) {
            number = number * 10 + (Text[p].unicode() - u'0');
            ++p;
            ++digits;
        }
        const bool closed = p + 1 < Text.size() && Text[p] == u'%' && Text[p + 1] == u'>';
        const bool valid = closed && digits > 0 && Text[open + 2] != u'0' && number >= 1 && number <= Args.size();
        if (valid) {
            out.append(QStringView(Text).mid(pos, open - pos));
            out.append(Args[int(number - 1)]);
            pos = p + 2;
        } else {
            // Keep "<" and look again from the next character.
            out.append(QStringView(Text).mid(pos, open + 1 - pos));
            pos = open + 1;
        }
    }
    out.append(QStringView(Text).mid(pos));
    return out;
}

} // namespace

TLingwa2000::TLingwa2000(const QString &AppName) : m_prefix(QStringLiteral("LW_")), m_appName(AppName) { }

TLingwa2000::~TLingwa2000()
{
    if (m_autoCreateItlFile)
        WriteItlFile();
}

void TLingwa2000::LoadTable(const QByteArray &Data)
{
    QByteArray copy = Data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    LoadTable(buffer);
}

void TLingwa2000::LoadTable(QIODevice &Stream)
{
    m_keys.clear();
    m_texts.clear();
    m_index.clear();
    if (!Stream.isOpen() || !Stream.isReadable())
        return;
    if (!Stream.isSequential())
        Stream.seek(0);

    QByteArray buffer;
    qsizetype searchFrom = 0; // everything before this is known to hold no terminator
    char block[kBlockSize];
    qint64 total = 0;
    for (qsizetype records = 0; records < MaxTableRecords; ++records) {
        qsizetype end = buffer.indexOf(kTerminator, searchFrom);
        while (end < 0) {
            const qint64 n = total < MaxTableBytes ? Stream.read(block, qMin(kBlockSize, MaxTableBytes - total)) : 0;
            if (n <= 0)
                return; // no further terminator: the rest is ignored
            total += n;
            if (buffer.size() > 2 * kMaxRecordBytes)
                SqueezeRecord(buffer);
            // A terminator may straddle the old end of the buffer.
            searchFrom = qMax<qsizetype>(0, buffer.size() - (kTerminator.size() - 1));
            buffer.append(block, n);
            end = buffer.indexOf(kTerminator, searchFrom);
        }
        const qsizetype recordEnd = end + kTerminator.size();
        AddRecord(buffer.left(recordEnd));
        buffer.remove(0, recordEnd);
        searchFrom = 0;
    }
}

void TLingwa2000::AddRecord(const QByteArray &Record)
{
    const qsizetype open = Record.indexOf('[');
    if (open < 0)
        return;
    const qsizetype assign = Record.indexOf("]=", open + 1);
    if (assign < 0)
        return;
    const qsizetype textStart = assign + 2;
    const qsizetype textEnd = Record.size() - kTerminator.size();
    if (textEnd < textStart)
        return; // "]=" overlaps the terminator, as in "[k]=|$$" written as "[k]|$$"
    if (assign - open - 1 > kMaxKeyBytes)
        return; // no window asks for such a key
    const QString key = NormaliseKey(DecodeBytes(QByteArrayView(Record).sliced(open + 1, assign - open - 1)));
    if (key.isEmpty() || key.size() > kMaxKeyChars)
        return;
    QString text =
        DecodeBytes(LeadingBytes(QByteArrayView(Record).sliced(textStart, textEnd - textStart), kMaxTextBytes));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    text.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    text.replace(QStringLiteral("<%APPNAME%>"), m_appName, Qt::CaseInsensitive);
    CapText(text);
    if (!m_index.contains(key))
        m_index.insert(key, int(m_keys.size()));
    m_keys.append(key);
    m_texts.append(text);
}

QString TLingwa2000::LookupText(const QString &Key, const QStringList &Args)
{
    const auto it = m_index.constFind(LowerAscii(Key));
    if (it != m_index.constEnd()) {
        QString result = ReplacePlaceholders(m_texts[*it], Args);
        if (OnTextTranslated)
            OnTextTranslated(this, Key, result);
        return result;
    }
    if (m_autoCreateItlFile) {
        // A key that holds the record syntax could never be found in a table.
        if (!Key.contains(QLatin1String("]=")) && !Key.contains(QLatin1String("|$$"))) {
            QString k = Key;
            k.replace(u'\r', u' ');
            k.replace(u'\n', u' ');
            const QString line = u'[' + k + QLatin1String("]=") + k + QLatin1String("|$$");
            if (!m_missingSet.contains(line)) {
                m_missingSet.insert(line);
                m_missing.append(line);
            }
        }
    }
    return ReplacePlaceholders(Key, Args);
}

QString TLingwa2000::ItlPathFor(const QString &ProgramPath)
{
    const qsizetype slash = ProgramPath.lastIndexOf(u'/');
    const qsizetype dot = ProgramPath.lastIndexOf(u'.');
    // A dot in a directory name or leading a hidden file's name is no extension.
    if (dot > slash + 1)
        return ProgramPath.left(dot) + QLatin1String(".itl");
    return ProgramPath + QLatin1String(".itl");
}

QString TLingwa2000::ItlFileName()
{
    QString program;
    if (QCoreApplication::instance())
        program = QCoreApplication::applicationFilePath();
    if (program.isEmpty())
        program = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    QString name = QFileInfo(program).fileName();
    if (name.isEmpty())
        name = QStringLiteral("program");
    return QDir::current().filePath(ItlPathFor(name));
}

void TLingwa2000::WriteItlFile()
{
    QStringList lines = m_missing;
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        // Line breaks go back to "\n" so that the file loads to the same texts.
        QString text = m_texts[i];
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
        text.replace(u'\r', u' ');
        text.replace(u'\n', u' ');
        lines.append(u'[' + m_keys[i] + QLatin1String("]=") + text + QLatin1String("|$$"));
    }
    QSaveFile file(ItlFileName());
    if (!file.open(QIODevice::WriteOnly))
        return; // never reported: the engine works without its file
    for (const QString &line : std::as_const(lines)) {
        file.write(line.toUtf8());
        file.write("\n");
    }
    file.commit();
}
