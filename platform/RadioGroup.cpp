#include "RadioGroup.h"

#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>

#include <algorithm>

TRadioGroup::TRadioGroup(QWidget *parent) : QGroupBox(parent), m_group(new QButtonGroup(this))
{
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (id == m_itemIndex)
            return;
        m_itemIndex = id;
        if (OnClick)
            OnClick(this);
    });
    connect(m_group, &QButtonGroup::idToggled, this, &TRadioGroup::MoveTabStop);
}

// The group is one stop of the Tab key, on the checked item (the first when
// none is), and the arrow keys move within it. Qt leaves the stop on the item
// that last had the focus, also after a shortcut or the program checked another.
void TRadioGroup::MoveTabStop()
{
    const int stop = std::max(0, int(m_group->checkedId()));
    for (int i = 0; i < m_buttons.size(); ++i) {
        const Qt::FocusPolicy p = m_buttons[i]->focusPolicy();
        m_buttons[i]->setFocusPolicy(i == stop ? Qt::FocusPolicy(p | Qt::TabFocus)
                                               : Qt::FocusPolicy(p & ~Qt::TabFocus));
    }
}

void TRadioGroup::SetItems(const QStringList &items)
{
    // Same count: only the texts change (translation), the selection stays.
    if (items.size() == m_buttons.size()) {
        m_items = items;
        for (int i = 0; i < items.size(); ++i)
            m_buttons[i]->setText(items[i]);
        return;
    }
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_items = items;
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        b->setObjectName(QString());
        m_group->addButton(b, i);
        m_buttons.append(b);
        b->show();
    }
    if (m_itemIndex >= m_items.size())
        m_itemIndex = -1;
    SetItemIndex(m_itemIndex);
    MoveTabStop();
    Arrange();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < 0 || index >= m_buttons.size()) {
        m_itemIndex = -1;
        // An exclusive group cannot show "none" while one button is checked.
        m_group->setExclusive(false);
        for (QRadioButton *b : m_buttons)
            b->setChecked(false);
        m_group->setExclusive(true);
        MoveTabStop();
        return;
    }
    m_itemIndex = index;
    m_buttons[index]->setChecked(true);
}

QRadioButton *TRadioGroup::Button(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    Arrange();
}

void TRadioGroup::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Arrange();
}

void TRadioGroup::Arrange()
{
    // Items share the height below the caption evenly, one per row.
    if (m_buttons.isEmpty())
        return;
    const int top = fontMetrics().height() + 2;
    const int avail = std::max(0, height() - top - 4);
    const int row = avail / int(m_buttons.size());
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setGeometry(8, top + i * row, std::max(0, width() - 16), std::max(row, 1));
}
