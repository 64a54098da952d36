#include "Kesl_Digrel.h"

#include "KeslError.h"
#include "Kesl_setting.h"

#include <QMouseEvent>

#include <algorithm>

TDigrel::TDigrel(QWidget *parent) : TControl(parent)
{
    resize(160, 28);
    setMouseTracking(true);
    UpdateOpaqueness();
}

void TDigrel::UpdateOpaqueness()
{
    // An opaque label covers every pixel of its rectangle, so whatever lies
    // beneath (a gradient, the parent) need not be painted first each time the
    // value changes; a transparent one needs exactly that.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
}

TDigrel::~TDigrel() = default;

void TDigrel::PaintNow()
{
    if (!IsLoading())
        repaint();
}

void TDigrel::Loaded()
{
    // The width is known only now; the left space must not exceed it.
    m_leftSpace = std::min(m_leftSpace, std::max(0, width()));
    TLoadable::Loaded();
    update();
}

void TDigrel::SetLeftSpace(int v)
{
    if (v < 0)
        return;
    if (!IsLoading())
        v = std::min(v, std::max(0, width()));
    if (TStoreOnChange::Store(m_leftSpace, v))
        PaintNow();
}

void TDigrel::SetEmpty(bool v)
{
    if (TStoreOnChange::Store(m_empty, v))
        PaintNow();
}

void TDigrel::SetLabelWidth(int v)
{
    if (TStoreOnChange::Store(m_labelWidth, v))
        PaintNow();
}

void TDigrel::SetPrecision(int v)
{
    if (v < 0)
        return;
    if (TStoreOnChange::Store(m_format.Precision, std::min(v, 15)))
        PaintNow();
}

void TDigrel::SetComma(bool v)
{
    if (TStoreOnChange::Store(m_format.Comma, v))
        PaintNow();
}

void TDigrel::SetForcePlusSign(bool v)
{
    if (TStoreOnChange::Store(m_format.ForcePlusSign, v))
        PaintNow();
}

void TDigrel::SetTransparent(bool v)
{
    if (!TStoreOnChange::Store(m_transparent, v))
        return;
    UpdateOpaqueness();
    if (IsLoading())
        return;
    // Becoming transparent needs the parent's picture beneath first.
    if (v)
        update();
    else
        repaint();
}

void TDigrel::SetLeftText(const QString &v)
{
    if (TStoreOnChange::Store(m_leftText, v))
        PaintNow();
}

void TDigrel::SetRightText(const QString &v)
{
    if (TStoreOnChange::Store(m_rightText, v))
        PaintNow();
}

void TDigrel::SetFrameStyle(TFrameStyle v)
{
    if (TStoreOnChange::StoreEnum(m_frameStyle, v, fsEngraved))
        PaintNow();
}

void TDigrel::SetStateText(const QString &v)
{
    if (TStoreOnChange::Store(m_format.StateText, v))
        PaintNow();
}

void TDigrel::SetAlignment(TAlignment v)
{
    if (TStoreOnChange::StoreEnum(m_alignment, v, taCenter))
        PaintNow();
}

void TDigrel::SetLeftTextAlignment(TAlignment v)
{
    if (TStoreOnChange::StoreEnum(m_leftTextAlignment, v, taCenter))
        PaintNow();
}

void TDigrel::SetRightTextAlignment(TAlignment v)
{
    if (TStoreOnChange::StoreEnum(m_rightTextAlignment, v, taCenter))
        PaintNow();
}

void TDigrel::SetOverflowIndicator(const QString &v)
{
    if (TStoreOnChange::Store(m_format.OverflowIndicator, v))
        PaintNow();
}

void TDigrel::SetValue(double v)
{
    // Compared as numbers: a NaN is never equal, so it always repaints.
    if (TStoreOnChange::Store(m_value, v))
        PaintNow();
}

void TDigrel::SetEnabled(bool v)
{
    // Stored and refreshed on every write, the current value included.
    setEnabled(v);
    if (TStoreAlways::Store(m_enabled, v))
        PaintNow();
}

void TDigrel::SetColorLabBakG(TColor v)
{
    if (TStoreOnChange::Store(m_colorLabBakG, v))
        PaintNow();
}

void TDigrel::SetColorLabText(TColor v)
{
    if (TStoreOnChange::Store(m_colorLabText, v))
        PaintNow();
}

void TDigrel::SetColorOutBakG(TColor v)
{
    if (TStoreOnChange::Store(m_colorOutBakG, v))
        PaintNow();
}

void TDigrel::SetColorOutText(TColor v)
{
    if (TStoreOnChange::Store(m_colorOutText, v))
        PaintNow();
}

void TDigrel::SetColorScheme(TColorScheme v)
{
    // Every write sets the frame colours anew and repaints.
    if (!InEnumRange(v, csSystem))
        return;
    const bool news = TStoreAlways::Store(m_colorScheme, v);
    if (v == csSystem) {
        m_shadow = clBtnShadow;
        m_highlight = clBtnHighlight;
    } else {
        m_shadow = clGray;
        m_highlight = clWhite;
    }
    if (news)
        PaintNow();
}

void TDigrel::SetDisplayType(TDisplay v)
{
    if (TStoreOnChange::StoreEnum(m_format.DisplayType, v, dtEEngNoDP))
        PaintNow();
}

void TDigrel::SetDTFormat(const QString &v)
{
    if (TStoreOnChange::Store(m_format.DTFormat, v))
        PaintNow();
}

QString TDigrel::ValueText() const
{
    return DigrelValueText(m_value, m_format);
}

void TDigrel::Assign(const QObject *source)
{
    const auto *src = qobject_cast<const TDigrel *>(source);
    if (!src) {
        const char *name = source ? source->metaObject()->className() : "nil";
        throw EKeslError(std::string("Cannot assign a ") + name + " to a TDigrel");
    }
    if (src == this)
        return;
    m_leftSpace = src->m_leftSpace;
    m_empty = src->m_empty;
    m_labelWidth = src->m_labelWidth;
    m_format.Precision = src->m_format.Precision;
    m_leftText = src->m_leftText;
    m_rightText = src->m_rightText;
    m_frameStyle = src->m_frameStyle;
    m_alignment = src->m_alignment;
    m_rightTextAlignment = src->m_rightTextAlignment;
    m_leftTextAlignment = src->m_leftTextAlignment;
    m_format.OverflowIndicator = src->m_format.OverflowIndicator;
    m_value = src->m_value;
    m_format.StateText = src->m_format.StateText;
    m_transparent = src->m_transparent;
    UpdateOpaqueness();
    m_colorLabBakG = src->m_colorLabBakG;
    m_colorLabText = src->m_colorLabText;
    m_colorOutBakG = src->m_colorOutBakG;
    m_colorOutText = src->m_colorOutText;
    m_darkShadow = src->m_darkShadow;
    m_shadow = src->m_shadow;
    m_highlight = src->m_highlight;
    m_colorScheme = src->m_colorScheme;
    m_format.DisplayType = src->m_format.DisplayType;
    PaintNow();
}

void TDigrel::AssignTo(QObject *destination) const
{
    auto *dest = qobject_cast<TDigrel *>(destination);
    if (!dest) {
        const char *name = destination ? destination->metaObject()->className() : "nil";
        throw EKeslError(std::string("Cannot assign a TDigrel to a ") + name);
    }
    dest->Assign(this);
}
