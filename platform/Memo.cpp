#include "Memo.h"

TMemo::TMemo(QWidget *parent) : QPlainTextEdit(parent) { }

void TMemo::SetLines(const QStringList &lines)
{
    m_lines = lines;
    QString text = lines.join('\n');
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace('\r', '\n');
    setPlainText(text);
}
