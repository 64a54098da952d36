// Construction, the scale property objects and their scale objects, margins,
// the standard layouts and the appearance setters.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_guard_p.h"
#include "Kesl_kurvo_layers_p.h"
#include "Kesl_kurvo_layout_p.h"
#include "Kesl_kurvo_site_p.h"
#include "Kesl_kurvo_store_p.h"

#include <QPaintEvent>

namespace {

constexpr TColor kLayerColors[16] = {clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
                                     clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};

} // namespace

TCustomKurvo::TCustomKurvo(QWidget *parent)
    : TControl(parent),
      m_store(std::make_shared<TKurvoItemStore>()),
      m_layers(std::make_unique<TKurvoLayers>()),
      m_layout(std::make_unique<TKurvoLayout>())
{
    m_classVisible.fill(true);
    m_layerVisible.fill(true);
    m_site = std::make_unique<TSite>(*this);
    m_mouse = std::make_unique<TKurvoMouse>(*m_site, this);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);

    m_joint = new TJointLayers(this);
    m_joint->setObjectName(QStringLiteral("JointLayers"));
    m_joint->OnJoined = [this](QObject *, int layer, bool xAxis) { OnLayerJoined(layer, xAxis); };
    m_joint->OnChange = [this](QObject *) { Changed(); };

    m_bkImg = new TBakGndImg(this);
    m_bkImg->setObjectName(QStringLiteral("BackGroundImg"));
    m_bkImg->OnChange = [this](QObject *) { Changed(); };

    CreateLayerScales();
    CreateTextLabels();

    m_imgBmp.SetSize(10, 10);

    setGeometry(0, 0, 280, 200);
    SetStandardLayout(rcl_X1Bottom_Y1Left);
    UpdateScaleMargins();
    CalcTransforms();
    RecordHistory();
}

// Each layer's scale properties and the hosted scale objects they drive.
void TCustomKurvo::CreateLayerScales()
{
    // A hosted scale has no window; it draws onto the control bitmap when the
    // chart forces it to.
    auto hostScale = [this](TScale *s, const QString &name) {
        s->setObjectName(name);
        s->SetPaintLock(true);
        s->SetHosted(true);
        s->SetExternalCanvas(&m_ctrlBmp.Canvas(), 0, 0);
        s->SetTransparent(true);
        s->SetColorBackGnd(m_windColor);
        s->SetFrameStyle(fsNone);
        s->OnScaleTickDrawn = [this](QObject *, TCanvas &c, TScaleType t, double v, int x, int y) {
            if (OnScaleTickDrawn)
                OnScaleTickDrawn(this, c, t, v, x, y);
        };
    };
    for (int i = 0; i < kLayers; ++i) {
        const int n = i + 1;
        auto *px = new TScalePropsHoriz(this);
        auto *py = new TScalePropsVert(this);
        px->setObjectName(QStringLiteral("Scale%1X").arg(n));
        py->setObjectName(QStringLiteral("Scale%1Y").arg(n));
        px->SetColorScale(kLayerColors[i]);
        py->SetColorScale(kLayerColors[i]);
        px->SetScalePos(((n - 1) / 2) * 30);
        py->SetScalePos(((n - 1) / 2) * 50);
        const bool odd = n % 2 == 1;
        px->SetScaleType(odd ? sctXT : sctXB);
        py->SetScaleType(odd ? sctYR : sctYL);
        px->OnChange = [this](QObject *) { OnPropsChanged(); };
        py->OnChange = [this](QObject *) { OnPropsChanged(); };
        m_propsX[std::size_t(i)] = px;
        m_propsY[std::size_t(i)] = py;
        m_scaleX[std::size_t(i)] = new TScale(nullptr);
        m_scaleY[std::size_t(i)] = new TScale(nullptr);
        hostScale(m_scaleX[std::size_t(i)], QStringLiteral("KurvoScaleX%1").arg(n));
        hostScale(m_scaleY[std::size_t(i)], QStringLiteral("KurvoScaleY%1").arg(n));
    }
}

void TCustomKurvo::CreateTextLabels()
{
    for (int i = 0; i < kTextLabels; ++i) {
        auto *l = new TTextLabel(this);
        l->setObjectName(QStringLiteral("TextLabel%1").arg(i + 1));
        l->SetPosX(0);
        l->SetPosY(0);
        l->SetLayer(1);
        l->SetAttachToData(tlamBoth);
        l->SetAlignment(taCenter);
        l->SetVerticalAlignment(vaBottom);
        l->SetColorBkg(clWhite);
        l->SetColorBorder(clBlack);
        l->SetShadowDx(3);
        l->SetShadowDy(3);
        l->SetColorShadow(clGray);
        l->SetTransparent(false);
        l->SetFont(m_font);
        l->SetVisible(false);
        l->SetMode(tlOff);
        l->OnChange = [this](QObject *) { Changed(); };
        m_labels[std::size_t(i)] = l;
    }
}

TCustomKurvo::~TCustomKurvo()
{
    if (m_owner) {
        LeaveGroup();
    } else {
        // The sharers keep what they displayed.
        for (int i = 0; i < m_sharerCount; ++i) {
            TCustomKurvo *s = m_sharers[std::size_t(i)];
            s->m_owner = nullptr;
            s->m_store = std::make_shared<TKurvoItemStore>(*m_store);
        }
        m_sharerCount = 0;
    }
    for (int i = 0; i < kLayers; ++i) {
        delete m_scaleX[std::size_t(i)];
        delete m_scaleY[std::size_t(i)];
    }
}

void TCustomKurvo::Loaded()
{
    TControl::Loaded();
    for (int i = 0; i < kLayers; ++i) {
        m_propsX[std::size_t(i)]->Loaded();
        m_propsY[std::size_t(i)]->Loaded();
    }
    ApplyAllScaleProps();
    UpdateScaleMargins();
    CalcTransforms();
    Paint();
}

void TCustomKurvo::Changed()
{
    if (m_autoRedraw)
        Paint();
}

TTextLabel *TCustomKurvo::TextLabel(int index) const
{
    if (index < 1 || index > kTextLabels)
        return nullptr;
    return m_labels[std::size_t(index - 1)];
}

void TCustomKurvo::ApplyScaleProps(int li)
{
    const int W = width(), H = height();
    const TScaleProps *props[2] = {m_propsX[std::size_t(li)], m_propsY[std::size_t(li)]};
    TScale *scales[2] = {m_scaleX[std::size_t(li)], m_scaleY[std::size_t(li)]};
    for (int a = 0; a < 2; ++a) {
        const TScaleProps *p = props[a];
        TScale *s = scales[a];
        const int m = m_layout->ScaleSideMargin(p->ScaleType(), p->ScalePos(), W, H);
        s->SetScaleType(p->ScaleType());
        switch (p->ScaleType()) {
        case sctXB: s->SetMarginBottom(m); break;
        case sctXT: s->SetMarginTop(m); break;
        case sctYL: s->SetMarginLeft(m); break;
        case sctYR: s->SetMarginRight(m); break;
        }
        s->SetRangeLow(p->RangeLow());
        s->SetRangeHigh(p->RangeHigh());
        s->SetVisible(p->Visible());
        s->SetCaption(p->Caption());
        s->SetCaptionPosX(p->CaptionPosX());
        s->SetCaptionPosY(p->CaptionPosY());
        s->SetCaptionAlignment(p->CaptionAlignment());
        s->SetCaptionAnchor(p->CaptionAnchor());
        s->SetColorScale(p->ColorScale());
        s->SetDecPlaces(p->DecPlaces());
        s->SetLogarithmic(p->Logarithmic());
        s->SetLabelType(p->LabelType());
        s->SetShortTicks(p->ShortTicks());
        s->SetMinTicks(p->MinTicks());
        s->SetScaleInscript(p->ScaleInscript());
        s->SetUserTickText(p->UserTickText());
        s->SetFont(p->Font());
        s->SetDateFormat(p->DateFormat());
    }
}

void TCustomKurvo::ApplyAllScaleProps()
{
    for (int i = 0; i < kLayers; ++i)
        ApplyScaleProps(i);
}

void TCustomKurvo::UpdateScaleMargins()
{
    const TKurvoLayout &L = *m_layout;
    for (int i = 0; i < kLayers; ++i) {
        TScale *sx = m_scaleX[std::size_t(i)];
        TScale *sy = m_scaleY[std::size_t(i)];
        sx->SetColorBackGnd(m_windColor);
        sy->SetColorBackGnd(m_windColor);
        sx->SetBounds(0, 0, width(), height());
        sy->SetBounds(0, 0, width(), height());
        sx->SetMarginLeft(L.left);
        sx->SetMarginRight(L.right + L.shadow - 1);
        sy->SetMarginTop(L.top);
        sy->SetMarginBottom(L.bottom + L.shadow - 1);
    }
}

void TCustomKurvo::OnPropsChanged()
{
    if (m_inPropsChange)
        return;
    ReapplyScaleProps();
    Paint();
}

void TCustomKurvo::ReapplyScaleProps()
{
    const TFlagScope props(m_inPropsChange, true), paint(m_paintSuppressed, true);
    ApplyAllScaleProps();
    // Joined axes follow the ranges their controllers now have.
    for (int l = 1; l <= kLayers; ++l)
        ApplyFollowers(l, false);
    CalcTransforms();
}

void TCustomKurvo::SetMargin(int &field, int v)
{
    field = v;
    Relayout();
    if (m_layers->Isometric()) {
        // The recentred ranges went through the scale property setters, whose
        // change repaints whatever AutoRedraw says.
        OnPropsChanged();
        return;
    }
    Changed();
}

int TCustomKurvo::MarginLeft() const
{
    return m_layout->left;
}

int TCustomKurvo::MarginRight() const
{
    return m_layout->right;
}

int TCustomKurvo::MarginTop() const
{
    return m_layout->top;
}

int TCustomKurvo::MarginBottom() const
{
    return m_layout->bottom;
}

void TCustomKurvo::SetMarginLeft(int v)
{
    SetMargin(m_layout->left, v);
}

void TCustomKurvo::SetMarginRight(int v)
{
    SetMargin(m_layout->right, v);
}

void TCustomKurvo::SetMarginTop(int v)
{
    SetMargin(m_layout->top, v);
}

void TCustomKurvo::SetMarginBottom(int v)
{
    SetMargin(m_layout->bottom, v);
}

int TCustomKurvo::ShadowWidth() const
{
    return m_layout->shadow;
}

TrcLayout TCustomKurvo::StandardLayout() const
{
    return m_layout->kind;
}

void TCustomKurvo::SetShadowWidth(int v)
{
    m_layout->shadow = std::clamp(v, 0, TKurvoLayout::kMaxShadow);
    Relayout();
    Changed();
}

void TCustomKurvo::SetStandardLayout(TrcLayout k)
{
    const TLayoutRow *row = TKurvoLayout::Row(k);
    if (!row)
        return;
    m_layout->Apply(k, *row);
    const bool saved = m_paintSuppressed;
    {
        const TFlagScope paint(m_paintSuppressed, true);
        {
            const TFlagScope props(m_inPropsChange, true); // one copy at the end instead of one per setter
            ApplyLayout(*row);
        }
        Relayout();
    }
    if (!saved)
        Paint();
}

// The caption and scale places of a standard layout.
void TCustomKurvo::ApplyLayout(const TLayoutRow &row)
{
    m_captionPosX = row.capX;
    m_captionPosY = row.capY;
    m_captionAlignment = row.align;
    m_captionAnchorH = row.anchorH;
    m_captionAnchorV = row.anchorV;
    const auto place = [](auto *p, const TLayoutScale &s) {
        p->SetScaleLocation(decltype(p->ScaleLocation())(s.location));
        p->SetCaptionPosX(s.capX);
        p->SetCaptionPosY(s.capY);
        p->SetCaptionAlignment(s.align);
        p->SetCaptionAnchor(s.anchor);
        p->SetScalePos(s.pos);
        p->SetVisible(s.visible);
    };
    for (int i = 0; i < 4; ++i) {
        place(m_propsX[std::size_t(i)], row.x[i]);
        place(m_propsY[std::size_t(i)], row.y[i]);
    }
    for (int i = 4; i < kLayers; ++i) {
        m_propsX[std::size_t(i)]->SetVisible(false);
        m_propsY[std::size_t(i)]->SetVisible(false);
    }
}

// Everything that follows the data area's size and place: the data bitmap, the
// isometric ranges, the scales (joined axes included) and the mapping.
void TCustomKurvo::Relayout()
{
    ResizeDataBitmap(false);
    if (m_layers->Isometric())
        RecentreIsometric();
    ReapplyScaleProps();
    UpdateScaleMargins();
    CalcTransforms();
    m_laidOutSize = size();
    m_composed = false;
}

// ---- appearance setters: store, then repaint when AutoRedraw is set ----

void TCustomKurvo::SetWindColor(TColor c)
{
    m_windColor = c;
    UpdateScaleMargins();
    Changed();
}

void TCustomKurvo::SetChartColor(TColor c)
{
    m_chartColor = c;
    Changed();
}

void TCustomKurvo::SetChartFrameColor(TColor c)
{
    m_chartFrameColor = c;
    Changed();
}

void TCustomKurvo::SetShadowStyle(TShadowStyle s)
{
    m_shadowStyle = s == ssBox ? ssBox : ssFlying;
    Changed();
}

void TCustomKurvo::SetShadowColor(TColor c)
{
    m_shadowColor = c;
    Changed();
}

void TCustomKurvo::SetShadowBakColor(TColor c)
{
    m_shadowBakColor = c;
    Changed();
}

void TCustomKurvo::SetCaption(const QString &s)
{
    m_caption = s;
    Changed();
}

void TCustomKurvo::SetCaptionPosX(int v)
{
    m_captionPosX = v;
    Changed();
}

void TCustomKurvo::SetCaptionPosY(int v)
{
    m_captionPosY = v;
    Changed();
}

void TCustomKurvo::SetCaptionAlignment(TAlignment a)
{
    if (a >= taLeftJustify && a <= taCenter)
        m_captionAlignment = a;
    Changed();
}

void TCustomKurvo::SetCaptionAnchorHoriz(TCaptionAnchorHoriz a)
{
    if (a >= cahControlLeft && a <= cahControlRight)
        m_captionAnchorH = a;
    Changed();
}

void TCustomKurvo::SetCaptionAnchorVert(TCaptionAnchorVert a)
{
    if (a >= cavControlTop && a <= cavControlBottom)
        m_captionAnchorV = a;
    Changed();
}

void TCustomKurvo::SetGridStyle(GridStyleType g)
{
    if (g >= gsNone && g <= gsDotLines)
        m_gridStyle = g;
    Changed();
}

void TCustomKurvo::SetGridColor(TColor c)
{
    m_gridColor = c;
    Changed();
}

void TCustomKurvo::SetGridDx(double v)
{
    if (v >= -3) // also refuses NaN
        m_gridDx = v;
    Changed();
}

void TCustomKurvo::SetGridDy(double v)
{
    if (v >= -3)
        m_gridDy = v;
    Changed();
}

void TCustomKurvo::SetChartFont(const TFont &f)
{
    m_font = f;
    Changed();
}

bool TCustomKurvo::VisibleSetting() const
{
    return !(testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden));
}
