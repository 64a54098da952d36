#include "Kesl_Digrel.h"

#include <QFontInfo>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

// Keeps field arithmetic far from the integer limits, whatever width or left
// space was set (a left space set while loading is not yet cut to the width).
constexpr int kMaxExtent = 1 << 20;

// Text height is measured on this probe: parentheses, a digit, descenders,
// brackets, braces and accented capitals.
const QString &HeightProbe()
{
    static const QString probe = QString::fromLatin1("(8g]}\xDC\xC4\xA7");
    return probe;
}

TFont CanvasFont(const QFont &qf)
{
    TFont f;
    f.Name = qf.family();
    int px = qf.pixelSize();
    if (px <= 0)
        px = QFontInfo(qf).pixelSize();
    f.SetPixelSize(std::max(1, px));
    f.Style = (qf.bold() ? fsBold : 0) | (qf.italic() ? fsItalic : 0) | (qf.underline() ? fsUnderline : 0) |
        (qf.strikeOut() ? fsStrikeOut : 0);
    return f;
}

int AlignedX(TAlignment a, int left, int right, int center)
{
    switch (a) {
    case taLeftJustify: return left;
    case taRightJustify: return right;
    case taCenter: break;
    }
    return center;
}

// Writes an outside text: plain when enabled, embossed grey when not. The white
// copy of a right-justified text sits one pixel to the left.
void OutsideText(TCanvas &c, bool enabled, TColor color, int x, int y0, const QString &text, int whiteDx)
{
    if (enabled) {
        c.Font.Color = color;
        c.TextOut(x, y0, text);
        return;
    }
    c.Brush.Style = bsClear;
    c.Font.Color = clWhite;
    c.TextOut(x + whiteDx, y0 + 1, text);
    c.Font.Color = clGray;
    c.TextOut(x, y0, text);
}

// The field frame's top-left and bottom-right colours.
std::pair<TColor, TColor> FieldBevel(TFrameStyle style, TColor highlight, TColor shadow, TColor darkShadow)
{
    switch (style) {
    case fsRaised: return {highlight, darkShadow};
    case fsEmbossed: return {shadow, shadow};
    case fsEngraved: return {highlight, highlight};
    default: return {darkShadow, highlight};
    }
}

} // namespace

TColor TDigrel::FieldUnderlayColor() const
{
    return m_colorLabText != 0 ? clWhite : m_colorLabBakG;
}

QRect TDigrel::FieldUnderlayRect() const
{
    const int s = std::clamp(m_leftSpace, 0, kMaxExtent);
    const int l = std::clamp(m_labelWidth, 0, kMaxExtent);
    const int x1 = std::min(s + 2, s + l), x2 = std::max(s + 2, s + l);
    const int y1 = std::min(2, height() - 2), y2 = std::max(2, height() - 2);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

void TDigrel::RenderBitmap(TBitmap &bmp)
{
    const int W = std::max(0, width());
    const int H = std::max(0, height());
    const int S = std::clamp(m_leftSpace, 0, kMaxExtent);
    const int L = std::clamp(m_labelWidth, 0, kMaxExtent);
    bmp.SetSize(W, H);
    TCanvas &c = bmp.Canvas();
    c.Font = CanvasFont(font());
    const int y0 = (H - c.TextHeight(HeightProbe())) / 2;

    // Background; white is what a transparent label leaves to its parent.
    c.Pen.Color = c.Brush.Color = m_transparent ? clWhite : m_colorOutBakG;
    c.Brush.Style = bsSolid;
    c.Rectangle(0, 0, W, H);

    const int w = c.TextWidth(m_leftText);
    OutsideText(c, m_enabled, m_colorOutText, AlignedX(m_leftTextAlignment, 7, S - w - 5, (S - w) / 2), y0, m_leftText,
                1);
    const int w2 = c.TextWidth(m_rightText);
    OutsideText(c, m_enabled, m_colorOutText,
                AlignedX(m_rightTextAlignment, S + L + 7, W - w2 - 6, S + L + 1 + (W - S - L - w2) / 2), y0,
                m_rightText, m_rightTextAlignment == taRightJustify ? -1 : 1);

    // The field with its frame.
    c.Pen.Color = m_frameStyle == fsNone ? m_colorLabBakG : m_frameStyle == fsEmbossed ? m_highlight : m_shadow;
    c.Brush.Color = m_colorLabBakG;
    // A disabled label keeps the clear brush of its grey captions, so its field
    // is outlined but not filled: the background shows through it.
    c.Brush.Style = m_enabled ? bsSolid : bsClear;
    if (m_frameStyle == fsNone || m_frameStyle == fsSimple) {
        c.Rectangle(S, 0, S + L + 2, H);
    } else {
        c.Rectangle(S, 0, S + L + 2, H - 1);
        const auto [a, b] = FieldBevel(m_frameStyle, m_highlight, m_shadow, m_darkShadow);
        c.Pen.Color = a;
        c.Polyline({{S + 1, H - 3}, {S + 1, 1}, {S + L + 1, 1}});
        c.Pen.Color = b;
        c.Polyline({{S + 1, H - 1}, {S + L + 2, H - 1}, {S + L + 2, 0}});
    }

    m_lastFieldText.clear();
    if (m_empty)
        return;
    QString text = ValueText();
    if (OnBeforeDisplay)
        OnBeforeDisplay(this, text);
    int tw = c.TextWidth(text);
    if (DigrelTextOverflows(tw, L, m_format.DisplayType)) {
        text = m_format.OverflowIndicator;
        // Placed by its own width, so the indicator is seen whatever it replaced.
        tw = c.TextWidth(text);
    }
    c.Font.Color = m_enabled ? m_colorLabText : clGray;
    c.Brush.Style = m_enabled ? bsSolid : bsClear;
    const int x = AlignedX(m_alignment, S + 4, S + L - 2 - tw, S + 2 + (L - tw) / 2);
    c.TextRect(S + 3, 2, S + L - 1, H - 3, x, y0, text);
    m_lastFieldText = text;
}

void TDigrel::PaintOn(TCanvas &target)
{
    if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide))
        return;
    TBitmap bmp;
    RenderBitmap(bmp);
    if (m_transparent) {
        // Under the field the picture must win over the parent: white (or the
        // field colour for black text) keeps it through the AND.
        target.Pen.Color = target.Brush.Color = FieldUnderlayColor();
        target.Brush.Style = bsSolid;
        const QRect r = FieldUnderlayRect();
        target.Rectangle(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
        target.CopyMode = cmSrcAnd;
    } else {
        target.CopyMode = cmSrcCopy;
    }
    target.Draw(0, 0, bmp);
}

void TDigrel::paintEvent(QPaintEvent *)
{
    TBitmap bmp;
    bmp.SetPixelRatio(devicePixelRatio());
    RenderBitmap(bmp);
    if (bmp.Empty())
        return;
    QPainter p(this);
    if (m_transparent) {
        p.fillRect(FieldUnderlayRect(), ColorToQColor(FieldUnderlayColor()));
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    } else {
        p.setCompositionMode(QPainter::CompositionMode_Source);
    }
    p.drawImage(0, 0, bmp.Image());
}
