#pragma once

#include <QPlainTextEdit>
#include <QStringList>

// A multi-line text box whose contents are a string-list property, so that
// translation treats each line as an entry. A line may itself hold line
// breaks (CR LF or LF); they show as separate lines.
//
// Its lines wrap at the box's width, so it never has a horizontal scroll bar:
// with two scroll bars that each take room from the other's direction, a text
// near the size of the box can make them switch each other on and off
// without end. A vertical bar shows only when the text is taller than the box.
class TMemo : public QPlainTextEdit
{
    Q_OBJECT
    Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)

public:
    explicit TMemo(QWidget *parent = nullptr);

    QStringList Lines() const { return m_lines; }
    void SetLines(const QStringList &lines);

    // The height that shows every line at this width without a scroll bar,
    // frame and inner margins included. It does not depend on which scroll
    // bars show now, so a window that sizes the box by it settles at once.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

private:
    QStringList m_lines;
};
