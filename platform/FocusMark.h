#pragma once

#include <QPainter>
#include <QPalette>
#include <QRect>
#include <QWidget>

// The mark of a control that has the keyboard focus and draws none of its
// own: a frame two pixels wide just inside its edge, in the highlight colour,
// so that it shows on grey bars and white plots alike.
inline void DrawFocusMark(QPainter &p, const QRect &rect, const QPalette &palette)
{
    const QColor c = palette.color(QPalette::Active, QPalette::Highlight);
    const QRect r = rect.adjusted(0, 0, -1, -1);
    p.fillRect(QRect(r.left(), r.top(), r.width() + 1, 2), c);
    p.fillRect(QRect(r.left(), r.bottom() - 1, r.width() + 1, 2), c);
    p.fillRect(QRect(r.left(), r.top(), 2, r.height() + 1), c);
    p.fillRect(QRect(r.right() - 1, r.top(), 2, r.height() + 1), c);
}

// A picture made of a control (an export, a copy) shows its content, not the
// keyboard's place: while this lives, the control draws no focus mark.
class TFocusMarkHidden
{
public:
    explicit TFocusMarkHidden(QWidget *w) : m_widget(w) { m_widget->setProperty(Name, true); }
    ~TFocusMarkHidden() { m_widget->setProperty(Name, QVariant()); }
    TFocusMarkHidden(const TFocusMarkHidden &) = delete;
    TFocusMarkHidden &operator=(const TFocusMarkHidden &) = delete;

    static bool Wanted(const QWidget *w) { return w->hasFocus() && !w->property(Name).toBool(); }

private:
    static constexpr const char *Name = "focusMarkHidden";
    QWidget *m_widget;
};
