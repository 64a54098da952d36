// Rule tables of setters: each row writes a published property's current value
// and then `next`; the notifications counted must follow the rule it quotes.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QVariant>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

struct TRuleRow
{
    const char *prop, *rule; // "always" or "on change"
    QVariant next, beyond = {}; // beyond: an enumeration value past the last, dropped silently
};
template<class E> QVariant V(E e)
{
    return QVariant::fromValue(e);
}
template<class E> QVariant Beyond(E last)
{
    return V(static_cast<E>(last + 1));
}

// fresh(count) makes an object whose notifications add to count; settle()
// delivers what a write left pending.
template<class Fresh>
void ExpectRules(
    std::initializer_list<TRuleRow> rows, Fresh fresh, const std::function<void()> &settle = [] {})
{
    for (const TRuleRow &r : rows) {
        int count = 0;
        auto o = fresh(count);
        const int always = std::string(r.rule) == "always";
        settle();
        count = 0;
        EXPECT_TRUE(o->setProperty(r.prop, o->property(r.prop))) << r.prop;
        settle();
        EXPECT_EQ(count, always) << r.prop << " with its current value: " << r.rule;
        EXPECT_TRUE(o->setProperty(r.prop, r.next)) << r.prop;
        settle();
        EXPECT_EQ(count, always + 1) << r.prop << " with a new value";
        if (r.beyond.isValid()) {
            EXPECT_TRUE(o->setProperty(r.prop, r.beyond) && o->property(r.prop) == r.next) << r.prop;
            settle();
            EXPECT_EQ(count, always + 1) << r.prop << " beyond its last value";
        }
    }
}

// Counts the paint events a widget receives.
class TPaintCounter : public QObject
{
    int &m_count;
    bool eventFilter(QObject *, QEvent *e) override { return m_count += e->type() == QEvent::Paint, false; }

public:
    TPaintCounter(QWidget *w, int &count) : QObject(w), m_count(count) { w->installEventFilter(this); }
};

// The widget shown, its paint events counted.
template<class W> std::unique_ptr<W> ShownCounted(std::unique_ptr<W> w, int &count)
{
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    new TPaintCounter(w.get(), count);
    return w;
}
inline void Settle()
{
    QApplication::processEvents();
}
