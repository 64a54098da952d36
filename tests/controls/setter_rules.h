// Table tests of setter rules: each row writes its property's current value and
// then a new one; the notifications counted must follow the rule it quotes.
#pragma once

#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Counts the paint events a widget receives.
class TPaintCounter : public QObject
{
public:
    TPaintCounter(QWidget *w, int &count) : QObject(w), m_count(count) { w->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        m_count += e->type() == QEvent::Paint;
        return false;
    }

private:
    int &m_count;
};

template<class T> struct TRuleRow
{
    const char *name, *rule; // rule: "always" or "on change"
    std::function<void(T &)> same, other;
};
#define RULE_ROW(T, rule, Set, cur, next)                                                                              \
    TRuleRow<T>                                                                                                        \
    {                                                                                                                  \
#Set, rule, [](T & o) { o.Set(cur); }, [](T & o) { o.Set(next); }                                              \
    }

// fresh(count) makes an object whose notifications add to count; settle()
// delivers what a write left pending.
template<class T, class Fresh>
void ExpectRules(
    const std::vector<TRuleRow<T>> &rows, Fresh fresh, const std::function<void()> &settle = [] {})
{
    for (const TRuleRow<T> &r : rows) {
        int count = 0;
        auto o = fresh(count);
        settle();
        count = 0;
        r.same(*o);
        settle();
        const int always = std::string(r.rule) == "always";
        EXPECT_EQ(count, always) << r.name << " with its current value";
        r.other(*o);
        settle();
        EXPECT_EQ(count, always + 1) << r.name << " with a new value";
    }
}
