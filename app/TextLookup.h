// How app code asks for a text of the loaded table: by its key, with the
// arguments that replace <%1%>, <%2%>, … in it.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

using TTextLookup = std::function<QString(const QString &key, const QStringList &arguments)>;

// The key with its placeholders filled: the text where no table is loaded.
inline QString FillPlaceholders(QString text, const QStringList &arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i)
        text.replace(QStringLiteral("<%%1%>").arg(i + 1), arguments[i]);
    return text;
}
