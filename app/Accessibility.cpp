#include "Accessibility.h"

#include "ChartPrint.h"
#include "DataFiles.h"
#include "FocusMark.h"
#include "Kesl_Digrel.h"
#include "Kesl_hreflet.h"
#include "Kesl_kurvo.h"
#include "Kesl_vector.h"
#include "Lingwa2000.h"
#include "MainParts.h"
#include "Memo.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ModelTexts.h"
#include "QuarvisDemon.h"
#include "RadioGroup.h"
#include "Shell.h"
#include "Simulation.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusFrame>
#include <QHash>
#include <QPaintEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

// Scroll bars whose positions stand for a value shown elsewhere: positions per unit.
QHash<const QObject *, int> &ValueScales()
{
    static QHash<const QObject *, int> scales;
    return scales;
}

QString Fixed(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

// A control read by its shown value: a scroll bar as its readout shows it, a
// readout as it shows it, a link by its caption.
class TShownValueAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    TShownValueAccessible(QWidget *w, QAccessible::Role role) : QAccessibleWidget(w, role) { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return ValueText();
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            if (auto *link = qobject_cast<const THreflet *>(widget()))
                return link->Caption();
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface && Bar())
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return Bar() ? Bar()->value() / Scale() : QVariant(); }
    void setCurrentValue(const QVariant &value) override
    {
        if (Bar())
            Bar()->setValue(int(std::lround(value.toDouble() * Scale())));
    }
    QVariant maximumValue() const override { return Bar() ? Bar()->maximum() / Scale() : QVariant(); }
    QVariant minimumValue() const override { return Bar() ? Bar()->minimum() / Scale() : QVariant(); }
    QVariant minimumStepSize() const override { return 1.0 / Scale(); }

private:
    QScrollBar *Bar() const { return qobject_cast<QScrollBar *>(widget()); }
    double Scale() const { return ValueScales().value(widget(), 1); }
    QString ValueText() const
    {
        if (const QScrollBar *bar = Bar())
            return Fixed(bar->value() / Scale(), 2);
        if (auto *readout = qobject_cast<const TDigrel *>(widget()))
            return readout->ValueText();
        if (auto *link = qobject_cast<const THreflet *>(widget()))
            return link->URL();
        return QString();
    }
};

QAccessibleInterface *AccessibleFactory(const QString &, QObject *object)
{
    auto *w = qobject_cast<QWidget *>(object);
    if (!w)
        return nullptr;
    if (ValueScales().contains(object))
        return new TShownValueAccessible(w, QAccessible::ScrollBar);
    if (qobject_cast<TDigrel *>(object))
        return new TShownValueAccessible(w, QAccessible::StaticText);
    if (qobject_cast<THreflet *>(object))
        return new TShownValueAccessible(w, QAccessible::Link);
    if (qobject_cast<TCustomKurvo *>(object))
        return new QAccessibleWidget(w, QAccessible::Chart);
    return nullptr;
}

void InstallFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(AccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

// A control may have been given Qt's own interface already (a value change
// while it was built); the next query makes the one above.
void RenewInterface(QObject *o)
{
    if (QAccessibleInterface *i = QAccessible::queryAccessibleInterface(o))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(i));
}

void ShowValueOf(QScrollBar *bar, int positionsPerUnit)
{
    ValueScales().insert(bar, positionsPerUnit);
    QObject::connect(bar, &QObject::destroyed, [bar] { ValueScales().remove(bar); });
    RenewInterface(bar);
}

// The focus frame below lies over its control, not under it, and covers it exactly.
class TOverlayStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override
    {
        return hint == SH_FocusFrame_AboveWidget ? 1 : QProxyStyle::styleHint(hint, option, widget, data);
    }
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Scroll bars and the description draw no focus of their own: a frame laid
// over the one that has it marks it. Qt leaves such a frame out of the
// accessible tree and out of mouse clicks.
class TFocusMark : public QFocusFrame
{
public:
    TFocusMark(QWidget *parent, QList<QWidget *> marked) : QFocusFrame(parent), m_marked(std::move(marked))
    {
        auto *style = new TOverlayStyle;
        style->setParent(this);
        setStyle(style);
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget *, QWidget *now) { setWidget(m_marked.contains(now) ? now : nullptr); });
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!widget() || !TFocusMarkHidden::Wanted(widget()))
            return;
        QPainter p(this);
        DrawFocusMark(p, rect(), widget()->palette());
    }

private:
    QList<QWidget *> m_marked;
};

// A control disabled while it has the focus (a run disables the parameters)
// leaves the focus with the run's button, not wherever Qt's chain leads, and
// gets it back once enabled again, unless the focus was moved meanwhile.
class TFocusKeeper : public QObject
{
public:
    TFocusKeeper(QWidget *window, QWidget *keeper) : QObject(window), m_window(window), m_keeper(keeper)
    {
        connect(qApp, &QApplication::focusChanged, this, &TFocusKeeper::FocusChanged);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange && watched == m_lost && m_lost->isEnabled()) {
            QWidget *lost = Forget();
            if (QApplication::focusWidget() == m_keeper)
                lost->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }

private:
    void FocusChanged(QWidget *old, QWidget *now)
    {
        if (old && old != m_keeper && !old->isEnabled() && old->window() == m_window) {
            if (!m_lost) {
                m_lost = old;
                old->installEventFilter(this);
            }
            if (now != m_keeper && m_keeper->isEnabled())
                m_keeper->setFocus(Qt::OtherFocusReason);
        } else if (old == m_keeper) {
            Forget();
        }
    }
    QWidget *Forget()
    {
        QWidget *lost = m_lost;
        if (lost)
            lost->removeEventFilter(this);
        m_lost = nullptr;
        return lost;
    }

    QWidget *m_window;
    QWidget *m_keeper;
    QPointer<QWidget> m_lost;
};

void Describe(QWidget *w, const TMainParts &frm, const char *name, const char *description)
{
    if (name)
        w->setAccessibleName(frm.Translated(QString::fromUtf8(name)));
    w->setAccessibleDescription(frm.Translated(QString::fromUtf8(description)));
}

// A shortcut of the window that clicks a button, as a click would: not while it is disabled.
void ClickOn(TMainParts &frm, const QKeySequence &keys, QAbstractButton *button)
{
    auto *s = new QShortcut(keys, frm.Window);
    QObject::connect(s, &QShortcut::activated, button, [button] {
        if (button->isEnabled())
            button->click();
    });
}

// The description with its shortcut, as a tooltip shows it.
void ShowShortcut(QWidget *w, const QKeySequence &keys)
{
    const QString text =
        w->accessibleDescription() + QStringLiteral(" (%1)").arg(keys.toString(QKeySequence::NativeText));
    w->setToolTip(text);
    w->setAccessibleDescription(text);
}

} // namespace

// During a run the chart changes twenty times a second: the description is
// announced at most about twice a second then, and the last state always
// arrives (the run's end describes at once).
void DescribeChart(TMainParts &frm)
{
    constexpr int kQuietMs = 500;
    auto *pending = frm.RC->findChild<QTimer *>(QStringLiteral("DescriptionTimer"), Qt::FindDirectChildrenOnly);
    if (!pending) {
        pending = new QTimer(frm.RC);
        pending->setObjectName(QStringLiteral("DescriptionTimer"));
        pending->setSingleShot(true);
        pending->setInterval(kQuietMs);
        QObject::connect(pending, &QTimer::timeout, frm.RC, [&frm] { DescribeChartNow(frm); });
    }
    if (!frm.Model->Running()) {
        pending->stop();
        DescribeChartNow(frm);
    } else if (!pending->isActive()) {
        DescribeChartNow(frm);
        pending->start();
    }
}

void DescribeChartNow(TMainParts &frm)
{
    // With the way out and the menu: the chart keeps Tab for itself.
    const QString text = ChartDescription(*frm.Model, frm.Lookup) + QLatin1Char(' ') +
        frm.Translated(QStringLiteral("Menu: right click, Shift+F10 or the menu key. Leave with Ctrl+Tab.")) +
        QLatin1Char(' ') +
        frm.Translated(QStringLiteral("Print: <%1%>."), {PrintKeys().toString(QKeySequence::NativeText)});
    if (frm.RC->accessibleDescription() != text)
        frm.RC->setAccessibleDescription(text);
}

void NameControls(TMainParts &frm)
{
    InstallFactory();
    for (QObject *o :
         {static_cast<QObject *>(frm.NLabLoc), static_cast<QObject *>(frm.NLabWid), static_cast<QObject *>(frm.RC)})
        RenewInterface(o);
    ShowValueOf(frm.SBarLoc, 10);
    ShowValueOf(frm.SBarWid, 100);
    Describe(frm.SButShowDistri, frm, nullptr,
             "Draws the histogram of 100000 random numbers of the selected distribution.");
    Describe(frm.SButDrawSamples, frm, nullptr,
             "Draws 500 random numbers one by one with the mean of the first n of them; pressed again, stops.");
    Describe(frm.RGDistri, frm, "Select a Distribution", "The distribution the random numbers are drawn from.");
    Describe(frm.RGDistri->Button(0), frm, nullptr, "Its width is the standard deviation σ.");
    Describe(frm.RGDistri->Button(1), frm, nullptr,
             "Its width is the half-width γ: half the distribution lies within location ± γ.");
    Describe(frm.SBarLoc, frm, "Location", "Sets the location from −10 to 10 in steps of 0.1.");
    Describe(frm.SBarWid, frm, "Width", "Sets the width from 0.01 to 5 in steps of 0.01.");
    Describe(frm.NLabLoc, frm, "Location", "The location set with the scroll bar below.");
    Describe(frm.NLabWid, frm, "Width", "The width set with the scroll bar below.");
    Describe(frm.SButAbout, frm, nullptr,
             "Shows the program's name, version and links to its pages; F1 opens the documentation page.");
    frm.SButAbout->setToolTip(frm.SButAbout->accessibleDescription());
    Describe(frm.SButExit, frm, nullptr, "Ends the program.");
    Describe(frm.RC, frm, "Chart", "");
    Describe(frm.Memo1, frm, "Explanation", "What the two views show and why.");
    DescribeChart(frm);
}

void InstallKeyboardAccess(TMainParts &frm)
{
    const QList<QWidget *> order = {frm.RC,
                                    frm.SButShowDistri,
                                    frm.SButDrawSamples,
                                    frm.RGDistri->Button(0),
                                    frm.RGDistri->Button(1),
                                    frm.SBarLoc,
                                    frm.SBarWid,
                                    frm.SButAbout,
                                    frm.SButExit,
                                    frm.Memo1};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    const auto key = [](QKeyCombination k) { return QKeySequence(k); };
    const std::pair<QAbstractButton *, QKeySequence> buttons[] = {
        {frm.SButShowDistri, key(Qt::Key_F5)},
        {frm.SButDrawSamples, key(Qt::Key_F6)},
        {frm.SButExit, key(Qt::CTRL | Qt::Key_Q)},
        {frm.RGDistri->Button(0), key(Qt::ALT | Qt::Key_1)},
        {frm.RGDistri->Button(1), key(Qt::ALT | Qt::Key_2)},
    };
    for (const auto &[button, keys] : buttons) {
        ClickOn(frm, keys, button);
        ShowShortcut(button, keys);
    }
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), frm.Window);
    QObject::connect(help, &QShortcut::activated, frm.Window, [&frm] { OpenDocumentation(frm); });

    MarkFocus(frm.Window, {frm.SBarLoc, frm.SBarWid, frm.Memo1});
    new TFocusKeeper(frm.Window, frm.SButDrawSamples);
}

void MarkFocus(QWidget *owner, const QList<QWidget *> &controls)
{
    new TFocusMark(owner, controls);
}

void OpenDocumentation(TMainParts &frm)
{
    QString page = frm.Translated(QStringLiteral("HomePageURL"));
    if (!page.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) || page.contains(QLatin1Char(':')))
        page = QStringLiteral("index.html");
    const QString file = FindDocFile(page);
    QString problem;
    if (file.isEmpty())
        problem = QStringLiteral("The page \"%1\" is not installed with this program.").arg(page);
    else if (ShellOpen(QUrl::fromLocalFile(file).toString()) <= 32)
        problem = QStringLiteral("No program was found to show \"%1\".").arg(QUrl::fromLocalFile(file).toString());
    if (!problem.isEmpty())
        ShowMessageBox(mtError, problem, frm.Window);
}

void InstallAccessAids(TMainParts &frm, TvrxDemonClient *client)
{
    UseQtTranslation(frm.Translated(QStringLiteral("$dlglanguage$")));
    SetMessageTextFilter(
        [client = QPointer<TvrxDemonClient>(client)](const QString &text) { return TranslateMessage(client, text); });
    NameControls(frm);
    InstallKeyboardAccess(frm);
    // Qt's texts follow the window that asked for them, not a closed one.
    QObject::connect(frm.Window, &QObject::destroyed, [] { UseQtTranslation(QString()); });
}
