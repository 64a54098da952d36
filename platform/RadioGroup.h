#pragma once

#include "Component.h"

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A framed group of radio buttons made from a list of item texts. Items is a
// string-list property so that translation reaches every line.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)

public:
    explicit TRadioGroup(QWidget *parent = nullptr);

    QStringList Items() const { return m_items; }
    void SetItems(const QStringList &items);
    // -1 means no item selected; values outside the items select nothing.
    int ItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index);

    QRadioButton *Button(int index) const;

    // Fired when the user picks an item.
    TNotifyEvent OnClick;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Arrange();
    void MoveTabStop();

    QStringList m_items;
    int m_itemIndex = -1;
    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
};
