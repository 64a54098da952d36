// Construction, the scale property objects and their scale objects, margins,
// the standard layouts and the appearance setters.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_guard_p.h"
#include "Kesl_kurvo_layers_p.h"
#include "Kesl_kurvo_layout_p.h"
#include "Kesl_kurvo_p.h"
#include "Kesl_kurvo_site_p.h"
#include "Kesl_kurvo_store_p.h"

#include <QPaintEvent>

namespace {

constexpr TColor kLayerColors[16] = {clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
                                     clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};

} // namespace

TCustomKurvo::TCustomKurvo(QWidget *parent) : TControl(parent), d(std::make_unique<PrivateData>(*this))
{
    d->classVisible.fill(true);
    d->layerVisible.fill(true);
    d->site = std::make_unique<TSite>(*this);
    d->mouse = std::make_unique<TKurvoMouse>(*d->site, this);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);

    d->joint = new TJointLayers(this);
    d->joint->setObjectName(QStringLiteral("JointLayers"));
    d->joint->OnJoined = [this](QObject *, int layer, bool xAxis) { OnLayerJoined(layer, xAxis); };
    d->joint->OnChange = [this](QObject *) { Changed(); };

    d->bkImg = new TBakGndImg(this);
    d->bkImg->setObjectName(QStringLiteral("BackGroundImg"));
    d->bkImg->OnChange = [this](QObject *) { Changed(); };

    CreateLayerScales();
    CreateTextLabels();

    d->imgBmp.SetSize(10, 10);

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
        s->SetExternalCanvas(&d->ctrlBmp.Canvas(), 0, 0);
        s->SetTransparent(true);
        s->SetColorBackGnd(d->windColor);
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
        d->propsX[std::size_t(i)] = px;
        d->propsY[std::size_t(i)] = py;
        d->scaleX[std::size_t(i)] = new TScale(nullptr);
        d->scaleY[std::size_t(i)] = new TScale(nullptr);
        hostScale(d->scaleX[std::size_t(i)], QStringLiteral("KurvoScaleX%1").arg(n));
        hostScale(d->scaleY[std::size_t(i)], QStringLiteral("KurvoScaleY%1").arg(n));
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
        l->SetFont(d->font);
        l->SetVisible(false);
        l->SetMode(tlOff);
        l->OnChange = [this](QObject *) { Changed(); };
        d->labels[std::size_t(i)] = l;
    }
}

TCustomKurvo::~TCustomKurvo()
{
    if (d->owner) {
        LeaveGroup();
    } else {
        // The sharers keep what they displayed.
        for (int i = 0; i < d->sharerCount; ++i) {
            TCustomKurvo *s = d->sharers[std::size_t(i)];
            s->d->owner = nullptr;
            s->d->store = std::make_shared<TKurvoItemStore>(*d->store);
        }
        d->sharerCount = 0;
    }
    for (int i = 0; i < kLayers; ++i) {
        delete d->scaleX[std::size_t(i)];
        delete d->scaleY[std::size_t(i)];
    }
}

void TCustomKurvo::Loaded()
{
    TControl::Loaded();
    for (int i = 0; i < kLayers; ++i) {
        d->propsX[std::size_t(i)]->Loaded();
        d->propsY[std::size_t(i)]->Loaded();
    }
    ApplyAllScaleProps();
    UpdateScaleMargins();
    CalcTransforms();
    Paint();
}

void TCustomKurvo::Changed()
{
    if (d->autoRedraw)
        Paint();
}

TTextLabel *TCustomKurvo::TextLabel(int index) const
{
    if (index < 1 || index > kTextLabels)
        return nullptr;
    return d->labels[std::size_t(index - 1)];
}

void TCustomKurvo::ApplyScaleProps(int li)
{
    const int W = width(), H = height();
    const TScaleProps *props[2] = {d->propsX[std::size_t(li)], d->propsY[std::size_t(li)]};
    TScale *scales[2] = {d->scaleX[std::size_t(li)], d->scaleY[std::size_t(li)]};
    for (int a = 0; a < 2; ++a) {
        const TScaleProps *p = props[a];
        TScale *s = scales[a];
        const int m = d->layout->ScaleSideMargin(p->ScaleType(), p->ScalePos(), W, H);
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
    const TKurvoLayout &L = *d->layout;
    for (int i = 0; i < kLayers; ++i) {
        TScale *sx = d->scaleX[std::size_t(i)];
        TScale *sy = d->scaleY[std::size_t(i)];
        sx->SetColorBackGnd(d->windColor);
        sy->SetColorBackGnd(d->windColor);
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
    if (d->inPropsChange)
        return;
    ReapplyScaleProps();
    Paint();
}

void TCustomKurvo::ReapplyScaleProps()
{
    const TFlagScope props(d->inPropsChange, true), paint(d->paintSuppressed, true);
    ApplyAllScaleProps();
    // Joined axes follow the ranges their controllers now have.
    for (int l = 1; l <= kLayers; ++l)
        ApplyFollowers(l, false);
    CalcTransforms();
}

// Every write lays the chart out anew and repaints, an equal value included.
void TCustomKurvo::SetMargin(int &field, int v)
{
    if (!TStoreAlways::Store(field, v))
        return;
    Relayout();
    if (d->layers->Isometric()) {
        // The recentred ranges went through the scale property setters, whose
        // change repaints whatever AutoRedraw says.
        OnPropsChanged();
        return;
    }
    Changed();
}

int TCustomKurvo::MarginLeft() const
{
    return d->layout->left;
}

int TCustomKurvo::MarginRight() const
{
    return d->layout->right;
}

int TCustomKurvo::MarginTop() const
{
    return d->layout->top;
}

int TCustomKurvo::MarginBottom() const
{
    return d->layout->bottom;
}

void TCustomKurvo::SetMarginLeft(int v)
{
    SetMargin(d->layout->left, v);
}

void TCustomKurvo::SetMarginRight(int v)
{
    SetMargin(d->layout->right, v);
}

void TCustomKurvo::SetMarginTop(int v)
{
    SetMargin(d->layout->top, v);
}

void TCustomKurvo::SetMarginBottom(int v)
{
    SetMargin(d->layout->bottom, v);
}

int TCustomKurvo::ShadowWidth() const
{
    return d->layout->shadow;
}

TrcLayout TCustomKurvo::StandardLayout() const
{
    return d->layout->kind;
}

void TCustomKurvo::SetShadowWidth(int v)
{
    if (TStoreAlways::Store(d->layout->shadow, std::clamp(v, 0, TKurvoLayout::kMaxShadow))) {
        Relayout();
        Changed();
    }
}

void TCustomKurvo::SetStandardLayout(TrcLayout k)
{
    const TLayoutRow *row = TKurvoLayout::Row(k);
    if (!row)
        return;
    d->layout->Apply(k, *row);
    const bool saved = d->paintSuppressed;
    {
        const TFlagScope paint(d->paintSuppressed, true);
        {
            const TFlagScope props(d->inPropsChange, true); // one copy at the end instead of one per setter
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
    d->captionPosX = row.capX;
    d->captionPosY = row.capY;
    d->captionAlignment = row.align;
    d->captionAnchorH = row.anchorH;
    d->captionAnchorV = row.anchorV;
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
        place(d->propsX[std::size_t(i)], row.x[i]);
        place(d->propsY[std::size_t(i)], row.y[i]);
    }
    for (int i = 4; i < kLayers; ++i) {
        d->propsX[std::size_t(i)]->SetVisible(false);
        d->propsY[std::size_t(i)]->SetVisible(false);
    }
}

// Everything that follows the data area's size and place: the data bitmap, the
// isometric ranges, the scales (joined axes included) and the mapping.
void TCustomKurvo::Relayout()
{
    ResizeDataBitmap(false);
    if (d->layers->Isometric())
        RecentreIsometric();
    ReapplyScaleProps();
    UpdateScaleMargins();
    CalcTransforms();
    d->laidOutSize = size();
    d->composed = false;
}

// ---- appearance setters: every write repaints when AutoRedraw is set ----

void TCustomKurvo::SetWindColor(TColor c)
{
    if (TStoreAlways::Store(d->windColor, c)) {
        UpdateScaleMargins();
        Changed();
    }
}

void TCustomKurvo::SetChartColor(TColor c)
{
    d->Set<TStoreAlways>(d->chartColor, c);
}

void TCustomKurvo::SetChartFrameColor(TColor c)
{
    d->Set<TStoreAlways>(d->chartFrameColor, c);
}

void TCustomKurvo::SetShadowStyle(TShadowStyle s)
{
    d->SetEnum(d->shadowStyle, s, ssBox);
}

void TCustomKurvo::SetShadowColor(TColor c)
{
    d->Set<TStoreAlways>(d->shadowColor, c);
}

void TCustomKurvo::SetShadowBakColor(TColor c)
{
    d->Set<TStoreAlways>(d->shadowBakColor, c);
}

void TCustomKurvo::SetCaption(const QString &s)
{
    d->Set<TStoreAlways>(d->caption, s);
}

void TCustomKurvo::SetCaptionPosX(int v)
{
    d->Set<TStoreAlways>(d->captionPosX, v);
}

void TCustomKurvo::SetCaptionPosY(int v)
{
    d->Set<TStoreAlways>(d->captionPosY, v);
}

void TCustomKurvo::SetCaptionAlignment(TAlignment a)
{
    d->SetEnum(d->captionAlignment, a, taCenter);
}

void TCustomKurvo::SetCaptionAnchorHoriz(TCaptionAnchorHoriz a)
{
    d->SetEnum(d->captionAnchorH, a, cahControlRight);
}

void TCustomKurvo::SetCaptionAnchorVert(TCaptionAnchorVert a)
{
    d->SetEnum(d->captionAnchorV, a, cavControlBottom);
}

void TCustomKurvo::SetGridStyle(GridStyleType g)
{
    d->SetEnum(d->gridStyle, g, gsDotLines);
}

void TCustomKurvo::SetGridColor(TColor c)
{
    d->Set<TStoreAlways>(d->gridColor, c);
}

void TCustomKurvo::SetGridDx(double v)
{
    d->Set<TStoreAlways>(d->gridDx, v >= -3 ? v : d->gridDx); // also refuses NaN
}

void TCustomKurvo::SetGridDy(double v)
{
    d->Set<TStoreAlways>(d->gridDy, v >= -3 ? v : d->gridDy);
}

void TCustomKurvo::SetChartFont(const TFont &f)
{
    d->Set<TStoreAlways>(d->font, f);
}

bool TCustomKurvo::VisibleSetting() const
{
    return !(testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden));
}
