#pragma once

#include <QPlainTextEdit>
#include <QStringList>

// A multi-line text box whose contents are a string-list property, so that
// translation treats each line as an entry. A line may itself hold line
// breaks (CR LF or LF); they show as separate lines.
class TMemo : public QPlainTextEdit
{
    Q_OBJECT
    Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)

public:
    explicit TMemo(QWidget *parent = nullptr);

    QStringList Lines() const { return m_lines; }
    void SetLines(const QStringList &lines);

private:
    QStringList m_lines;
};
