#include "Kesl_hreflet.h"

#include "Kesl_setting.h"
#include "Shell.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {

// Every write repaints, an equal value included.
using Setting = TSettingStore<TNotifyRule::EveryWrite>;

// Blanks and control characters at either end are dropped, so a value of
// blanks only becomes empty.
QString Trimmed(const QString &s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && s.at(last - 1).unicode() <= 0x20)
        --last;
    return s.mid(first, last - first);
}

// Breaks one paragraph at blanks so that each line fits the width; a word
// wider than the width stands on a line of its own.
void WrapParagraph(const TCanvas &c, const QString &paragraph, int width, QStringList &out)
{
    const QStringList words = paragraph.split(QLatin1Char(' '));
    QString line;
    for (const QString &word : words) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && c.TextWidth(candidate) > width) {
            out << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    out << line;
}

} // namespace

THreflet::THreflet(QWidget *parent) : TControl(parent)
{
    setMouseTracking(true); // moves without a button reach OnMouseMove too
    // A new label shows the platform's default font; the active font starts
    // as a copy of it and the normal font as the platform's defaults.
    m_fontActive = m_font;
    m_fontNormal = TFont();
}

THreflet::~THreflet() = default;

void THreflet::Changed()
{
    if (isVisible())
        update();
}

void THreflet::SetCaption(const QString &Value)
{
    if (Setting::Store(m_caption, Value))
        Changed();
}

void THreflet::SetURL(const QString &Value)
{
    if (Setting::Store(m_url, Trimmed(Value)))
        Changed();
}

void THreflet::SetTaskParams(const QString &Value)
{
    if (Setting::Store(m_taskParams, Trimmed(Value)))
        Changed();
}

void THreflet::SetFont(const TFont &Value)
{
    if (Setting::Store(m_font, Value))
        Changed();
}

void THreflet::SetFontActive(const TFont &Value)
{
    if (Setting::Store(m_fontActive, Value))
        Changed();
}

void THreflet::SetAlignment(TAlignment Value)
{
    if (Setting::StoreEnum(m_alignment, Value, taCenter))
        Changed();
}

void THreflet::SetLayout(TTextLayout Value)
{
    if (Setting::StoreEnum(m_layout, Value, tlBottom))
        Changed();
}

void THreflet::SetWordWrap(bool Value)
{
    if (Setting::Store(m_wordWrap, Value))
        Changed();
}

void THreflet::SetTransparent(bool Value)
{
    if (Setting::Store(m_transparent, Value))
        Changed();
}

void THreflet::SetColor(TColor Value)
{
    if (Setting::Store(m_color, Value))
        Changed();
}

void THreflet::Loaded()
{
    TControl::Loaded();
    m_fontNormal = m_font;
}

void THreflet::enterEvent(QEnterEvent *event)
{
    TControl::enterEvent(event);
    const QPointer<THreflet> self(this);
    if (OnMouseEnter)
        OnMouseEnter(this);
    if (self && isEnabled())
        SetFont(m_fontActive);
}

void THreflet::leaveEvent(QEvent *event)
{
    TControl::leaveEvent(event);
    const QPointer<THreflet> self(this);
    if (OnMouseLeave)
        OnMouseLeave(this);
    if (self && isEnabled())
        SetFont(m_fontNormal);
}

void THreflet::changeEvent(QEvent *event)
{
    TControl::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        Changed();
}

void THreflet::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const QPointer<THreflet> self(this);
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->modifiers(), p.x(), p.y());
    if (self && event->button() == Qt::LeftButton && rect().contains(p))
        Click();
}

void THreflet::Fail(const QString &what) const
{
    throw EKeslHrefletError(
        (QStringLiteral("Component \"") + objectName() + QStringLiteral("\": ") + what).toStdString());
}

void THreflet::OpenWebAddress()
{
    // The busy cursor is shown before the browser takes its time to appear.
    const bool ownCursor = testAttribute(Qt::WA_SetCursor);
    const QCursor saved = cursor();
    const QString url = m_url;
    const QPointer<THreflet> self(this);
    setCursor(Qt::BusyCursor);
    QCoreApplication::processEvents();
    ShellOpen(url); // a browser that fails to open is not detected
    if (!self)
        return;
    if (ownCursor)
        setCursor(saved);
    else
        unsetCursor();
}

void THreflet::StartProgram()
{
    const int result = ShellOpen(m_url, m_taskParams, QStringLiteral("open"));
    if (result <= 32 && result != -1)
        Fail(QStringLiteral("Cannot start executable (errnum=%1)").arg(result));
}

void THreflet::Click()
{
    if (!m_url.isEmpty()) {
        switch (LinkTargetKind(m_url)) {
        case TLinkTarget::WebAddress: OpenWebAddress(); break;
        case TLinkTarget::Program: StartProgram(); break;
        case TLinkTarget::None: Fail(QStringLiteral("URL of Hreflet is invalid"));
        }
    }
    if (OnClick)
        OnClick(this);
}

QStringList THreflet::Lines(const TCanvas &c) const
{
    QString text = m_caption;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    if (!m_wordWrap)
        return paragraphs;
    QStringList out;
    for (const QString &paragraph : paragraphs)
        WrapParagraph(c, paragraph, width(), out);
    return out;
}

void THreflet::PaintOn(TCanvas &target) const
{
    const int W = width();
    const int H = height();
    if (W <= 0 || H <= 0)
        return;
    if (!m_transparent) {
        target.Brush.Style = bsSolid;
        target.Brush.Color = m_color;
        target.FillRect(0, 0, W, H);
    }
    target.Font = m_font;
    const QStringList lines = Lines(target);
    const int lineHeight = target.TextHeight(QStringLiteral("Ag"));
    const int total = lineHeight * int(lines.size());
    int y = 0;
    if (m_layout == tlCenter)
        y = (H - total) / 2;
    else if (m_layout == tlBottom)
        y = H - total;

    const QRect keepClip = target.TextClip();
    target.SetTextClip(QRect(0, 0, W, H));
    target.Brush.Style = bsClear;
    for (const QString &line : lines) {
        const int w = target.TextWidth(line);
        int x = 0;
        if (m_alignment == taRightJustify)
            x = W - w;
        else if (m_alignment == taCenter)
            x = (W - w) / 2;
        if (isEnabled()) {
            target.Font.Color = m_font.Color;
            target.TextOut(x, y, line);
        } else {
            // Disabled: embossed grey, a white copy one pixel down and right.
            target.Font.Color = clBtnHighlight;
            target.TextOut(x + 1, y + 1, line);
            target.Font.Color = clBtnShadow;
            target.TextOut(x, y, line);
        }
        y += lineHeight;
    }
    target.SetTextClip(keepClip);
}

void THreflet::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    // Drawn on a see-through picture, so a transparent label shows its parent.
    QImage img(size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(devicePixelRatio());
    img.fill(Qt::transparent);
    {
        TCanvas c(&img);
        PaintOn(c);
        c.Release();
    }
    QPainter p(this);
    p.drawImage(0, 0, img);
}
