#include "Memo.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

TMemo::TMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TMemo::SetLines(const QStringList &lines)
{
    m_lines = lines;
    QString text = lines.join('\n');
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace('\r', '\n');
    setPlainText(text);
    updateGeometry();
}

int TMemo::heightForWidth(int width) const
{
    // Laid out apart, line by line as the box's own plain-text layout does,
    // at the width its text has without a vertical bar: the box's own layout
    // follows the bars that show at the moment.
    const QTextDocument *doc = document();
    const qreal margin = doc->documentMargin();
    const int frame = 2 * frameWidth();
    const qreal lineWidth = std::max<qreal>(1, width - frame - 2 * margin);
    int height = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QTextLayout layout(b.text(), doc->defaultFont());
        layout.setTextOption(doc->defaultTextOption());
        layout.beginLayout();
        qreal y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(lineWidth);
            line.setPosition(QPointF(margin, y));
            y += line.height() + std::min<qreal>(0, std::ceil(line.leading()));
        }
        layout.endLayout();
        // Whole pixels per block, the last one with the bottom margin, as the box counts them.
        height += int(layout.boundingRect().bottom() + (b.next().isValid() ? 0 : margin));
    }
    // The box wants one pixel and the top margin to spare below its lines.
    return height + int(std::ceil(margin)) + 1 + frame;
}
