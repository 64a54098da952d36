// The scale as a control: settings, repaint rules, hosting and copying.
#include "Kesl_Scale.h"

#include "KeslError.h"
#include "Kesl_keslbase_dtlabel.h"
#include "Kesl_setting.h"
#include "PixelMath.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>

#include <algorithm>
#include <cmath>

namespace {

// Each setter names its rule: most redraw on every write; the scale type,
// short ticks, the colours and the frame style only when they change (writing
// the scheme it has keeps colours set after it).

// Range ends must stay apart: the other end moves to v + 1, or to the next
// representable number where adding 1 changes nothing (ends beyond 2^53).
double EndAbove(double v)
{
    const double up = v + 1.0;
    return up != v ? up : std::nextafter(v, HUGE_VAL);
}

} // namespace

TScale::TScale(QWidget *parent) : TControl(parent)
{
    resize(400, 400);
    setMouseTracking(true); // moves without a button reach OnMouseMove too
    m_dateFormat = new TDTLabel(this);
    m_dateFormat->OnChange = [this](QObject *) { OnDateFormatChanged(); };
    ApplyColorScheme();
    UpdateMapping();
}

TScale::~TScale()
{
    // The settings object is a child and goes with the widget; its handler must
    // not reach a half-destroyed scale.
    if (m_dateFormat)
        m_dateFormat->OnChange = nullptr;
}

void TScale::OnDateFormatChanged()
{
    Redraw();
}

void TScale::ApplyColorScheme()
{
    m_darkColor = clBlack;
    if (m_colorScheme == csSystem) {
        m_shadowColor = clBtnShadow;
        m_highlightColor = clBtnHighlight;
    } else {
        m_shadowColor = clGray;
        m_highlightColor = clWhite;
    }
}

void TScale::SetScaleType(TScaleType v)
{
    if (!TStoreOnChange::StoreEnum(m_scaleType, v, sctYR))
        return;
    UpdateMapping();
    Redraw();
}

void TScale::SetRangeLow(double v)
{
    // A range end that is no number cannot be drawn or mapped: ignored.
    if (!std::isfinite(v))
        return;
    m_rangeLow = v;
    if (m_rangeLow == m_rangeHigh)
        m_rangeHigh = EndAbove(v);
    UpdateMapping();
    Redraw();
}

void TScale::SetRangeHigh(double v)
{
    if (!std::isfinite(v))
        return;
    m_rangeHigh = v;
    if (m_rangeHigh == m_rangeLow)
        m_rangeLow = EndAbove(v);
    UpdateMapping();
    Redraw();
}

void TScale::SetLogarithmic(bool v)
{
    if (!v || m_constructing)
        m_logarithmic = v;
    else if (PixelMath::LogEndAccepted(m_rangeLow) && PixelMath::LogEndAccepted(m_rangeHigh) &&
             m_labelType != ftDateTime)
        m_logarithmic = true;
    UpdateMapping();
    Redraw();
}

void TScale::SetMinTicks(int v)
{
    if (TStoreAlways::Store(m_minTicks, v == 0 ? 0 : std::clamp(v, 2, 10)))
        Redraw();
}

void TScale::SetDecPlaces(int v)
{
    if (!TStoreAlways::Store(m_decPlaces, std::clamp(v, -3, 12)))
        return;
    UpdateMapping();
    Redraw();
}

void TScale::SetShortTicks(bool v)
{
    if (!TStoreOnChange::Store(m_shortTicks, v))
        return;
    Redraw();
}

void TScale::SetShowBaseLine(bool v)
{
    if (TStoreAlways::Store(m_showBaseLine, v))
        Redraw();
}

void TScale::SetTransparent(bool v)
{
    if (!TStoreAlways::Store(m_transparent, v))
        return;
    m_surfaceFresh = false;
    Redraw();
}

void TScale::SetLabelType(TFigType v)
{
    if (!InEnumRange(v, ftUserText))
        return;
    m_labelType = v;
    if (v == ftDateTime) {
        m_logarithmic = false;
        UpdateMapping();
    } else if (v == ftTime) {
        m_decPlaces = 4;
    }
    Redraw();
}

void TScale::SetDateFormat(const TDTLabel *v)
{
    if (!v || v == m_dateFormat)
        return;
    // One redraw for the whole copy rather than one per field.
    TNotifyEvent keep = std::move(m_dateFormat->OnChange);
    m_dateFormat->OnChange = nullptr;
    m_dateFormat->SetSettings(v->Settings());
    m_dateFormat->OnChange = std::move(keep);
    Redraw();
}

void TScale::SetUserTickText(const QString &v)
{
    if (TStoreAlways::Store(m_userTickText, v))
        Redraw();
}

void TScale::SetScaleInscript(const QString &v)
{
    if (TStoreAlways::Store(m_scaleInscript, v))
        Redraw();
}

void TScale::SetCaption(const QString &v)
{
    if (TStoreAlways::Store(m_caption, v))
        Redraw();
}

void TScale::SetCaptionPosX(int v)
{
    if (TStoreAlways::Store(m_captionPosX, v))
        Redraw();
}

void TScale::SetCaptionPosY(int v)
{
    if (TStoreAlways::Store(m_captionPosY, v))
        Redraw();
}

void TScale::SetCaptionAlignment(TAlignment v)
{
    if (TStoreAlways::StoreEnum(m_captionAlignment, v, taCenter))
        Redraw();
}

void TScale::SetCaptionAnchor(TScaleUnitAnchor v)
{
    if (TStoreAlways::StoreEnum(m_captionAnchor, v, uaSclBotRgt))
        Redraw();
}

void TScale::SetMarginTop(int v)
{
    if (!TStoreAlways::Store(m_marginTop, std::max(v, 0)))
        return;
    UpdateMapping();
    Redraw();
}

void TScale::SetMarginBottom(int v)
{
    if (!TStoreAlways::Store(m_marginBottom, std::max(v, 0)))
        return;
    UpdateMapping();
    Redraw();
}

void TScale::SetMarginLeft(int v)
{
    if (!TStoreAlways::Store(m_marginLeft, std::max(v, 0)))
        return;
    UpdateMapping();
    Redraw();
}

void TScale::SetMarginRight(int v)
{
    if (!TStoreAlways::Store(m_marginRight, std::max(v, 0)))
        return;
    UpdateMapping();
    Redraw();
}

void TScale::SetColorBackGnd(TColor v)
{
    if (!TStoreOnChange::Store(m_colorBackGnd, v))
        return;
    Redraw();
}

void TScale::SetColorScale(TColor v)
{
    if (!TStoreOnChange::Store(m_colorScale, v))
        return;
    Redraw();
}

void TScale::SetColorScheme(TColorScheme v)
{
    if (!TStoreOnChange::StoreEnum(m_colorScheme, v, csSystem))
        return;
    ApplyColorScheme();
    Redraw();
}

void TScale::SetFrameStyle(TFrameStyle v)
{
    if (!TStoreOnChange::StoreEnum(m_frameStyle, v, fsEngraved))
        return;
    Redraw();
}

void TScale::SetFont(const TFont &v)
{
    if (!TStoreOnChange::Store(m_font, v))
        return;
    Redraw();
}

// --- Repaint and hosting ---

void TScale::Redraw()
{
    if (!m_transparent || m_hosted) {
        Paint();
        if (!m_hosted)
            update();
    } else {
        m_surfaceFresh = false;
        update();
    }
}

void TScale::SetPaintLock(bool locked)
{
    if (locked == m_paintLock)
        return;
    m_paintLock = locked;
    if (!locked)
        Redraw();
}

void TScale::ForcePaint()
{
    const bool keep = m_paintLock;
    m_paintLock = false;
    Redraw();
    m_paintLock = keep;
}

void TScale::SetHosted(bool v)
{
    if (v == m_hosted)
        return;
    if (v) {
        // Hidden explicitly, so that showing a parent widget never shows it.
        QWidget::setVisible(false);
        m_hostedVisible = true;
    }
    if (TStoreOnChange::Store(m_hosted, v))
        Redraw();
}

void TScale::SetExternalCanvas(TCanvas *canvas, int x, int y)
{
    m_extCanvas = canvas;
    m_extX = x;
    m_extY = y;
}

void TScale::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, std::max(width, 0), std::max(height, 0));
    UpdateMapping();
    m_surfaceFresh = false;
    Redraw();
}

bool TScale::Visible() const
{
    if (m_hosted)
        return m_hostedVisible;
    return !(isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide));
}

void TScale::SetVisible(bool v)
{
    setVisible(v);
}

void TScale::setVisible(bool visible)
{
    if (m_hosted) {
        m_hostedVisible = visible;
        return;
    }
    QWidget::setVisible(visible);
}

void TScale::Assign(const QObject *source)
{
    const auto *src = qobject_cast<const TScale *>(source);
    if (!src) {
        const char *name = source ? source->metaObject()->className() : "nil";
        throw EKeslError(std::string("Cannot assign a ") + name + " to a TScale");
    }
    if (src == this)
        return;
    m_frameStyle = src->m_frameStyle;
    m_colorBackGnd = src->m_colorBackGnd;
    m_colorScale = src->m_colorScale;
    m_darkColor = src->m_darkColor;
    m_shadowColor = src->m_shadowColor;
    m_highlightColor = src->m_highlightColor;
    m_colorScheme = src->m_colorScheme;
    OnScaleTickDrawn = src->OnScaleTickDrawn;
    m_logarithmic = src->m_logarithmic;
    m_k = src->m_k;
    m_offset = src->m_offset;
    m_rangeHigh = src->m_rangeHigh;
    m_rangeLow = src->m_rangeLow;
    m_shortTicks = src->m_shortTicks;
    m_ticks = src->m_ticks;
    m_minTicks = src->m_minTicks;
    m_decPlaces = src->m_decPlaces;
    m_showBaseLine = src->m_showBaseLine;
    m_transparent = src->m_transparent;
    m_labelType = src->m_labelType;
    {
        // The settings by value: the two scales keep objects of their own.
        TNotifyEvent keep = std::move(m_dateFormat->OnChange);
        m_dateFormat->OnChange = nullptr;
        m_dateFormat->SetSettings(src->m_dateFormat->Settings());
        m_dateFormat->OnChange = std::move(keep);
    }
    m_marginTop = src->m_marginTop;
    m_marginBottom = src->m_marginBottom;
    m_marginLeft = src->m_marginLeft;
    m_marginRight = src->m_marginRight;
    m_captionPosX = src->m_captionPosX;
    m_captionPosY = src->m_captionPosY;
    m_userTickText = src->m_userTickText;
    m_scaleInscript = src->m_scaleInscript;
    m_caption = src->m_caption;
    m_captionAnchor = src->m_captionAnchor;
    m_captionAlignment = src->m_captionAlignment;
    m_extCanvas = src->m_extCanvas;
    m_extX = src->m_extX;
    m_extY = src->m_extY;
    m_scaleType = src->m_scaleType;
    m_paintLock = src->m_paintLock;
    // The copied mapping belongs to the source's size; remap for our own.
    UpdateMapping();
    m_surfaceFresh = false;
    Redraw();
}

void TScale::AssignTo(QObject *dest) const
{
    auto *d = qobject_cast<TScale *>(dest);
    if (!d) {
        const char *name = dest ? dest->metaObject()->className() : "nil";
        throw EKeslError(std::string("Cannot assign a TScale to a ") + name);
    }
    d->Assign(this);
}

void TScale::Loaded()
{
    TControl::Loaded();
    UpdateMapping();
    m_constructing = false;
    Redraw();
}

// --- Widget events ---

void TScale::showEvent(QShowEvent *event)
{
    TControl::showEvent(event);
    if (!m_hosted && !m_windowCreated) {
        // The first time the scale has a window it may paint.
        m_windowCreated = true;
        m_paintLock = false;
        m_surfaceFresh = false;
    }
}

void TScale::resizeEvent(QResizeEvent *event)
{
    TControl::resizeEvent(event);
    UpdateMapping();
    m_surfaceFresh = false;
    if (!m_hosted)
        Redraw();
}

void TScale::paintEvent(QPaintEvent *)
{
    if (m_hosted)
        return;
    if (m_transparent || !m_surfaceFresh || m_surface.size() != size())
        Paint();
    if (m_surface.isNull())
        return;
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}
