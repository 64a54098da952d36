// Loads arbitrary bytes as a translation table and looks up what it holds.
#include "Lingwa2000.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TLingwa2000 lw(QStringLiteral("Fuzz <%1%> \\n"));
    {
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        lw.LoadTable(buf);
    }
    if (lw.Keys().size() != lw.Texts().size())
        abort();
    const QStringList args = {QStringLiteral("<%2%>"), QStringLiteral("two")};
    for (qsizetype i = 0; i < lw.Keys().size() && i < 64; ++i) {
        const QString &key = lw.Keys()[i];
        if (key.isEmpty() || key.startsWith(u' '))
            abort();
        // The first record with a key wins.
        const QString expected = lw.Texts()[lw.Keys().indexOf(key)];
        if (lw.LookupText(key) != expected)
            abort();
        lw.LookupText(key.toUpper(), args);
    }
    // The input itself as a key and as a text with placeholders.
    lw.LookupText(QString::fromUtf8(bytes.left(256)), args);
    return 0;
}
